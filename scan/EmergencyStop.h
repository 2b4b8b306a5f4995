#pragma once
// The operator's emergency stop (the Esc key): every enabled motor halted at once. Free of
// widgets. Unlike the stage pages' halt buttons it never waits on a message box: a failed halt
// beeps and names the motor on the status bar, and the other motors are halted all the same.

#include "app/AppState.h"
#include "app/Services.h"
#include "instrument/Kx10.h"

namespace qor {

struct HaltOutcome {
    int sent = 0;
    int failed = 0;
};

// Halts motors #1..#8, each while it is enabled on the SETUP page, in motor order; nothing while
// offline.
HaltOutcome haltEveryMotor(AppState& st, Kx10& kx, Alerts& alerts);

}  // namespace qor
