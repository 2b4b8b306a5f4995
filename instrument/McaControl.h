#pragma once
// MCA acquisition control (START, STOP, CLEAR, the stop routine) and the spectrum read of the
// acquisition tick. Widget-free: the MCA page passes the state of its MCA selection boxes.

#include "app/AppState.h"
#include "app/Services.h"
#include "instrument/Kx10.h"

namespace qor {

struct McaSelection {
    bool mca1 = false;   // "MCA1 " selection box checked
    bool mca2 = false;   // "MCA2 " selection box checked
};

// START: presets and starts MCA1 with its stored mode, channel count and preset value. Offline
// or without MCA1 selected it sends nothing and the status bar says why.
void mcaStart(AppState& st, Kx10& kx, Alerts& alerts, McaSelection sel);
// Why START refuses the preset box's text (anything but a whole number, blanks aside: "4.5s"
// would preset 4), or empty when the text is a preset.
QString presetTextProblem(const QString& text);
// STOP and CLEAR on the selected MCAs ("Offline!!" while offline).
void mcaStop(AppState& st, Kx10& kx, Alerts& alerts, McaSelection sel);
void mcaClear(AppState& st, Kx10& kx, Alerts& alerts, McaSelection sel);
// The stop routine of the element scan: idle scan mode, then STOP on the selected MCAs whether
// online or not. The caller hides the RunName labels.
void mcaStopRoutine(AppState& st, Kx10& kx, Alerts& alerts, McaSelection sel);

// What the MCA page does after the spectrum read of one acquisition tick.
enum class McaTick {
    RedrawOnly,   // WORK viewed or the viewed MCA not enabled: redraw, nothing read
    Nothing,      // offline, or the status read failed: no redraw
    Redraw,       // spectrum and status read: colour the preset box, redraw
};

struct McaTickResult {
    McaTick action = McaTick::Nothing;
    bool measuring = false;   // status character 1 was '1'
};

// Reads McaChannels / 256 blocks of the viewed MCA into its slot, then its status. A block read
// error takes the program offline ("MCA Read error") and skips the remaining blocks; a status
// read error takes it offline ("MCA Read Status error") and asks for no redraw.
McaTickResult mcaAcquisitionTick(AppState& st, Kx10& kx, Alerts& alerts);

}  // namespace qor
