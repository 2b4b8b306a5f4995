#include "instrument/Connection.h"

#include "app/TextCodec.h"
#include "instrument/MotorReadBack.h"

namespace qor {

const uint8_t kVersionRequest[7] = {0x24, 0x47, 0x03, 0x00, 0x24, 0x23, 0x0D};

namespace {
constexpr int kReceiveBuffer = 256;
constexpr int kVersionPolls = 1000;
}  // namespace

int discardPendingInput(Kx10& kx) {
    uint8_t buf[kReceiveBuffer];
    int pending = kx.KX10USB_ReadQsize(1);
    int dropped = 0;
    // The count is what the interface reported at the start; a failing read ends the discard.
    while (pending > 0) {
        const int chunk = pending < kReceiveBuffer ? pending : kReceiveBuffer;
        if (kx.KX10USB_Read(1, chunk, buf, kReceiveBuffer) < 0) break;
        pending -= chunk;
        dropped += chunk;
    }
    return dropped;
}

// Step 10, the position restore. The counters of this run are never overwritten: once this run
// has connected, the controllers hold the live positions. Otherwise each motor controller is
// asked first: one whose enabled axes all read 0 (or cannot be read) was switched off since the
// positions were saved and gets them back; one with any axis away from 0 kept its counters (the
// program ended without a close, or was disconnected) and is left alone, as the saved positions
// may be older than its counters.
void restoreMotorPositions(AppState& st, Kx10& kx, Alerts& alerts) {
    const InfoRecord& r = st.rec;
    bool kept[128] = {};   // by module character
    auto module = [&r](int n) { return moduleChar(r.MotorHexSw[n - 1]); };
    for (int n = 1; n <= 8; ++n) {
        if (r.MotorEnabled[n - 1] != 1) continue;
        char reply[kPaddressReplySize + 1] = {};
        int32_t pulses = 0;
        if (kx.KX10Motor_Read_Paddress(1, module(n), axisChar(n), reply, kPaddressReplySize) >= 0 &&
            parsePositionReply(reply, pulses) && pulses != 0)
            kept[static_cast<unsigned char>(module(n)) & 127] = true;
    }
    for (int n = 1; n <= 8; ++n) {
        if (r.MotorEnabled[n - 1] != 1) continue;
        if (kept[static_cast<unsigned char>(module(n)) & 127]) continue;
        if (kx.KX10Motor_Set_Pulse_Address(1, module(n), axisChar(n), r.MotorSavedPosition[n - 1]) < 0)
            alerts.beep();
    }
}

bool refuseDuringScan(const AppState& st, Alerts& alerts, const QString& text) {
    if (st.ScanMode == 0) return false;
    alerts.beep();
    alerts.message(text);
    return true;
}

void runConnectSequence(AppState& st, Kx10& kx, Alerts& alerts, Clock& clock,
                        const ConnectHooks& hooks) {
    InfoRecord& r = st.rec;
    // Mid-scan, a connect would set the start-up speeds of X under way and could overwrite the
    // position counters the scan runs on.
    if (refuseDuringScan(st, alerts,
                         QStringLiteral("スキャン中は接続できません。先にスキャンを止めてください")))
        return;
    auto lamp = [&hooks](bool on) { if (hooks.showLamp) hooks.showLamp(on); };

    // 1. Open the interface, only while allowed: a failed open is never retried.
    if (st.UsbOpenAllowed == 1) {
        char serial[sizeof r.UsbSerial + 1] = {};
        for (std::size_t i = 0; i < sizeof r.UsbSerial && r.UsbSerial[i]; ++i)
            serial[i] = r.UsbSerial[i];
        if (kx.KX10USB_Open(serial, 1, 1500, 1500) < 0) {
            st.Online = 0;
            st.UsbOpenAllowed = 0;
            alerts.message(QStringLiteral("OPEN Error"));
            lamp(false);
            return;
        }
    }
    // 2. Online.
    if (st.Online == 0) {
        st.Online = 1;
        lamp(true);
    }
    // 3. Drop whatever input is pending.
    discardPendingInput(kx);
    // 4. Version request.
    if (kx.KX10USB_Write(1, 7, kVersionRequest) < 0) alerts.beep();
    // 5. Wait for the 10-byte reply.
    clock.sleepMs(2);
    bool arrived = false;
    for (int poll = 0; poll < kVersionPolls; ++poll) {
        if (kx.KX10USB_ReadQsize(1) >= kVersionReplySize) {
            arrived = true;
            break;
        }
        clock.sleepMs(1);
    }
    if (!arrived) {
        alerts.beep();
        alerts.message(QStringLiteral("READ Version timeout error"));
        return;
    }
    // 6. Show the version text.
    uint8_t version[kVersionReplySize + 1] = {};
    kx.KX10USB_Read(1, kVersionReplySize, version, kVersionReplySize);
    alerts.status(fromSjis(reinterpret_cast<const char*>(version), kVersionReplySize));
    clock.sleepMs(2);
    // 7. Every enabled motor must answer (the port index is given as the axis number).
    for (int n = 1; n <= 8; ++n) {
        if (r.MotorEnabled[n - 1] != 1) continue;
        char status[kMotorStatusReplySize + 1] = {};
        if (kx.KX10Motor_Get_Status(1, moduleChar(r.MotorHexSw[n - 1]), r.MotorPort[n - 1],
                                    status, kMotorStatusReplySize) < 0) {
            alerts.beep();
            alerts.message(QString::fromUtf8("モータ#%1　応答がありません").arg(n));
            st.Online = 0;
            return;
        }
    }
    // 8-9. Motor initialisation.
    const bool countersOfThisRun = st.MotorsInitialised == 1;
    st.MotorsInitialised = 1;
    if (hooks.initialiseMotors) hooks.initialiseMotors();
    // 10. Restore the saved positions where the controller lost them.
    if (!countersOfThisRun) restoreMotorPositions(st, kx, alerts);
    // 11. MCA1 must answer.
    if (r.Mca1Enabled == 1) {
        char status[kMcaStatusReplySize + 1] = {};
        if (kx.KX10MCA_Status(1, moduleChar(r.Mca1HexSw), status, kMcaStatusReplySize) < 0) {
            alerts.beep();
            alerts.message(QStringLiteral("ＭＣＡから応答がありません"));
            st.Online = 0;
            return;
        }
    }
    // 12. COUNTER#1 must answer.
    if (r.CounterEnabled[0] == 1) {
        char status[kCounterStatusReplySize + 1] = {};
        if (kx.KX10SC24_Status(1, moduleChar(r.CounterHexSw[0]), status,
                               kCounterStatusReplySize) < 0) {
            alerts.beep();
            alerts.message(QStringLiteral("タイマースケーラーから応答がありません"));
            st.Online = 0;
            return;
        }
    }
}

bool runDisconnect(AppState& st, Kx10& kx, Alerts& alerts, const ConnectHooks& hooks) {
    if (st.ScanMode != 0) {
        alerts.beep();
        alerts.message(QStringLiteral("スキャン中は切断できません。先にスキャンを止めてください"));
        return false;
    }
    if (st.Online == 1 && st.MotorsInitialised == 1) {
        readMotorPositionsBack(st.rec, kx, alerts);
        st.MotorsInitialised = 0;
    }
    st.Online = 0;
    st.UsbOpenAllowed = 1;
    if (hooks.showLamp) hooks.showLamp(false);
    alerts.status(QStringLiteral("切断しました (オフライン)"));
    return true;
}

}  // namespace qor
