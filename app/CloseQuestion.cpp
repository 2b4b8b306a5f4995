#include "app/CloseQuestion.h"

namespace qor {

QString workUnderWay(const AppState& st, Kx10& kx) {
    if (st.ScanMode == 2) return QStringLiteral("二次元スキャン");
    if (st.ScanMode == 3) return QStringLiteral("元素スキャン");
    if (st.Online != 1) return QString();
    const InfoRecord& r = st.rec;
    const struct { uint8_t enabled; int32_t hexSw; } mcas[2] = {{r.Mca1Enabled, r.Mca1HexSw},
                                                                {r.Mca2Enabled, r.Mca2HexSw}};
    for (const auto& m : mcas) {
        if (m.enabled != 1) continue;
        char status[kMcaStatusReplySize + 1] = {};
        // Status character 1 is '1' while the MCA measures; an unreadable status asks nothing.
        if (kx.KX10MCA_Status(1, moduleChar(m.hexSw), status, kMcaStatusReplySize) >= 0 &&
            status[1] == '1')
            return QStringLiteral("MCA測定");
    }
    return QString();
}

QString closeQuestionCaption() { return QStringLiteral("終了の確認"); }

QString closeQuestionText(const QString& what) {
    return QStringLiteral("%1中です。プログラムを終了すると%1は中断されます。終了しますか?").arg(what);
}

}  // namespace qor
