#pragma once
// The connect sequence of the tool-bar connect button: open the USB interface (while allowed),
// go online, drop pending input, ask the interface version, check that the enabled modules
// answer, initialise the motors and restore their positions.

#include "app/AppState.h"
#include "app/Services.h"
#include "instrument/Kx10.h"

#include <functional>

namespace qor {

// The 7-byte version request: "$G", the 16-bit little-endian length 3, then "$#\r".
extern const uint8_t kVersionRequest[7];

struct ConnectHooks {
    std::function<void(bool online)> showLamp;   // qorON / qorOFF
    std::function<void()> initialiseMotors;      // speed setting of every enabled motor
};

// Runs the whole sequence once; refused with a message while a scan runs (ScanMode != 0).
// The saved positions are restored only onto a controller that lost its counters (see
// restoreMotorPositions). Failures report as the connection rules say and leave `Online`
// as they say; the sequence never throws.
void runConnectSequence(AppState& st, Kx10& kx, Alerts& alerts, Clock& clock,
                        const ConnectHooks& hooks);

// The position restore of the connect: nothing once this run has connected (MotorsInitialised);
// else, per motor controller, the saved positions of its enabled axes are set only when every
// one of those axes reads 0 or cannot be read. A controller with any axis away from 0 kept its
// counters (a program that ended without a close, a disconnect) and is left as it is.
void restoreMotorPositions(AppState& st, Kx10& kx, Alerts& alerts);

// True (after a beep and the modal `text`) while a scan runs.
bool refuseDuringScan(const AppState& st, Alerts& alerts, const QString& text);

// The disconnect button. Refused with a message while a scan runs (ScanMode != 0). Online: the
// motor positions are read back into the record (a later connect restores them, and the close
// no longer needs the instrument), then the program goes offline with the lamp off and says so.
// In every case the next connect opens the interface again. Returns false when refused.
bool runDisconnect(AppState& st, Kx10& kx, Alerts& alerts, const ConnectHooks& hooks);

// Reads and drops every pending input byte, in pieces no larger than the receive buffer.
// Returns the number of bytes dropped.
int discardPendingInput(Kx10& kx);

}  // namespace qor
