#pragma once
// Motor initialisation: sends the start speed, maximum speed, ramp value and acceleration class
// of every enabled motor to its controller. Used by the SETUP page's "現在の内容で、再設定する"
// button and by the connect sequence.

#include "app/InfoRecord.h"
#include "app/Services.h"
#include "instrument/Kx10.h"

namespace qor {

// Speed setting of one motor n (1..8) on its module and axis, with the given values.
int32_t setMotorSpeed(Kx10& kx, const InfoRecord& rec, int motorNumber, int32_t startPps,
                      int32_t maxPps, int32_t ramp, int32_t accelClass);

// For motor n = 1..8 whose MotorEnabled entry is 1, in order: KX10Motor_Set_Speed with the
// record's MotorInitSpeed, MotorMaxSpeed, MotorRampParam, 0 and MotorAccelIndex. A failing motor
// shows "Motor#n init error" and the next motor is still set. Returns the number of failures.
int initialiseMotors(const InfoRecord& rec, Kx10& kx, Alerts& alerts);

}  // namespace qor
