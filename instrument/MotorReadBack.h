#pragma once
// Reads the pulse address of every enabled motor back into MotorSavedPosition, so that the
// next connect restores where the stage really is. Used by the close and by the disconnect.

#include "app/InfoRecord.h"
#include "app/Services.h"
#include "instrument/Kx10.h"

namespace qor {

// A motor whose read fails beeps, shows "Read Paddrss timeover or error" and keeps its stored
// value (the reply holds no position); the others are still read.
void readMotorPositionsBack(InfoRecord& r, Kx10& kx, Alerts& alerts);

}  // namespace qor
