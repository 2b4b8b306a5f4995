#include "instrument/McaControl.h"

namespace qor {

namespace {

char mca1(const InfoRecord& r) { return moduleChar(r.Mca1HexSw); }
char mca2(const InfoRecord& r) { return moduleChar(r.Mca2HexSw); }

using McaCommand = int32_t (Kx10::*)(int32_t, char);

// STOP or CLEAR on each selected MCA; both report with the stop messages.
void onSelected(AppState& st, Kx10& kx, Alerts& alerts, McaSelection sel, McaCommand cmd) {
    if (sel.mca1 && (kx.*cmd)(1, mca1(st.rec)) < 0)
        alerts.message(QStringLiteral("MCA#1 STOP Error"));
    if (sel.mca2 && (kx.*cmd)(1, mca2(st.rec)) < 0)
        alerts.message(QStringLiteral("MCA#2 STOP error"));
}

}  // namespace

QString presetTextProblem(const QString& text) {
    const QString t = text.trimmed();
    bool digits = !t.isEmpty();
    for (QChar c : t) digits = digits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (digits) return QString();
    return QStringLiteral("プリセット値「%1」を読めません。整数 (10 ms 単位、100 = 1 秒) で"
                          "入力してください。START しませんでした")
        .arg(t);
}

void mcaStart(AppState& st, Kx10& kx, Alerts& alerts, McaSelection sel) {
    if (st.Online == 0) {
        alerts.status(QStringLiteral("オフラインです。ツールバーの接続の後に START してください"));
        return;
    }
    if (!sel.mca1) {
        alerts.status(QStringLiteral("MCA1 が選ばれていません。MCA1 にチェックを入れてから "
                                     "START してください"));
        return;
    }
    const InfoRecord& r = st.rec;
    const char m = mca1(r);
    if (kx.KX10MCA_2DSCAN_OFFSET(1, m, 0) < 0) {
        alerts.beep();
        alerts.message(QStringLiteral("MCA Offset error"));
        return;
    }
    if (kx.KX10MCA_Preset(1, m, r.McaPresetMode[0], r.McaChannels[0], r.McaPresetValue[0]) < 0) {
        alerts.beep();
        alerts.message(QStringLiteral("MCA Preset error"));
        return;
    }
    st.Mca1PresetSent = {true, false, r.McaPresetValue[0]};
    if (kx.KX10MCA_Start(1, m) < 0) {
        alerts.beep();
        alerts.message(QStringLiteral("MCA Start error"));
        return;
    }
    kx.KX10MCA_2DSCAN_OFFSET(1, m, 0);
}

void mcaStop(AppState& st, Kx10& kx, Alerts& alerts, McaSelection sel) {
    if (st.Online == 0) {
        alerts.message(QStringLiteral("Offline!!"));
        return;
    }
    onSelected(st, kx, alerts, sel, &Kx10::KX10MCA_Stop);
}

void mcaClear(AppState& st, Kx10& kx, Alerts& alerts, McaSelection sel) {
    if (st.Online == 0) {
        alerts.message(QStringLiteral("Offline!!"));
        return;
    }
    onSelected(st, kx, alerts, sel, &Kx10::KX10MCA_Clear);
}

void mcaStopRoutine(AppState& st, Kx10& kx, Alerts& alerts, McaSelection sel) {
    st.ScanMode = 0;
    onSelected(st, kx, alerts, sel, &Kx10::KX10MCA_Stop);
}

McaTickResult mcaAcquisitionTick(AppState& st, Kx10& kx, Alerts& alerts) {
    McaTickResult res;
    const InfoRecord& r = st.rec;
    const int s = st.spectrum.ViewSlot;
    const bool enabled = (s == 0 && r.Mca1Enabled) || (s == 1 && r.Mca2Enabled);
    if (s < 0 || s >= kSlotWork || !enabled) {
        res.action = McaTick::RedrawOnly;
        return res;
    }
    if (st.Online == 0) return res;
    const char m = s == 0 ? mca1(r) : mca2(r);
    // Channel counts outside 256..4096 are held inside the slot.
    int blocks = r.McaChannels[s] / kMcaBlockChannels;
    if (blocks > kSlotChannels / kMcaBlockChannels) blocks = kSlotChannels / kMcaBlockChannels;
    for (int k = 0; k < blocks; ++k) {
        int32_t* dest = &st.spectrum.slot[s][k * kMcaBlockChannels];
        if (kx.KX10MCA_ReadSEQ(1, m, k * kMcaBlockChannels, dest) < 0) {
            alerts.beep();
            st.Online = 0;
            alerts.message(QStringLiteral("MCA Read error"));
            break;
        }
    }
    char status[kMcaStatusReplySize + 1] = {};
    if (kx.KX10MCA_Status(1, m, status, kMcaStatusReplySize) < 0) {
        alerts.beep();
        st.Online = 0;
        alerts.message(QStringLiteral("MCA Read Status error"));
        return res;
    }
    res.measuring = status[1] == '1';
    res.action = McaTick::Redraw;
    return res;
}

}  // namespace qor
