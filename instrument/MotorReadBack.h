#pragma once
// Reads the pulse address of every enabled motor back into MotorSavedPosition, so that the
// next connect restores where the stage really is. Used by the close and by the disconnect.

#include "app/InfoRecord.h"
#include "app/Services.h"
#include "instrument/Kx10.h"

namespace qor {

// A motor whose read fails beeps, shows "Read Paddrss timeover or error" and keeps its stored
// value (the reply holds no position); the others are still read. With `modal` false (a record
// written while the program runs on) the text goes to the status bar instead of a message box.
void readMotorPositionsBack(InfoRecord& r, Kx10& kx, Alerts& alerts, bool modal = true);

}  // namespace qor
