#include "instrument/MotorReadBack.h"

namespace qor {

void readMotorPositionsBack(InfoRecord& r, Kx10& kx, Alerts& alerts, bool modal) {
    for (int n = 1; n <= 8; ++n) {
        if (r.MotorEnabled[n - 1] != 1) continue;
        char reply[kPaddressReplySize + 1] = {};
        const int32_t res = kx.KX10Motor_Read_Paddress(1, moduleChar(r.MotorHexSw[n - 1]),
                                                       axisChar(n), reply, kPaddressReplySize);
        if (res < 0) {
            alerts.beep();
            const QString text = QStringLiteral("Read Paddrss timeover or error");
            if (modal) {
                alerts.message(text);
            } else {
                alerts.status(text);
            }
            continue;
        }
        parsePaddressReply(reply, r.MotorSavedPosition[n - 1]);
    }
}

}  // namespace qor
