#include "instrument/MotorInit.h"

#include <QString>

namespace qor {

int32_t setMotorSpeed(Kx10& kx, const InfoRecord& rec, int motorNumber, int32_t startPps,
                      int32_t maxPps, int32_t ramp, int32_t accelClass) {
    const int i = motorNumber - 1;
    return kx.KX10Motor_Set_Speed(1, moduleChar(rec.MotorHexSw[i]), axisChar(motorNumber), startPps,
                                  maxPps, ramp, 0, accelClass);
}

int initialiseMotors(const InfoRecord& rec, Kx10& kx, Alerts& alerts) {
    int failures = 0;
    for (int n = 1; n <= 8; ++n) {
        const int i = n - 1;
        if (rec.MotorEnabled[i] != 1) continue;
        if (setMotorSpeed(kx, rec, n, rec.MotorInitSpeed[i], rec.MotorMaxSpeed[i],
                          rec.MotorRampParam[i], rec.MotorAccelIndex[i]) < 0) {
            alerts.message(QStringLiteral("Motor#%1 init error").arg(n));
            ++failures;
        }
    }
    return failures;
}

}  // namespace qor
