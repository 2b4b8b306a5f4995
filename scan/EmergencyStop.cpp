#include "scan/EmergencyStop.h"

namespace qor {

HaltOutcome haltEveryMotor(AppState& st, Kx10& kx, Alerts& alerts) {
    HaltOutcome out;
    if (st.Online != 1) return out;
    for (int n = 1; n <= 8; ++n) {
        if (st.rec.MotorEnabled[n - 1] != 1) continue;
        ++out.sent;
        if (kx.KX10Motor_Halt(1, moduleChar(st.rec.MotorHexSw[n - 1]), axisChar(n)) < 0) {
            ++out.failed;
            alerts.beep();
            alerts.status(QStringLiteral("Motor#%1 access error").arg(n));
        }
    }
    return out;
}

}  // namespace qor
