#pragma once
// Manual stage control: the position read-back of the motor axes, their moving state, and the
// operator's jog, set-counter, go-to and halt commands. Free of widgets; the Setup SCAN, 2D SCAN
// and element scan pages and the scan sequencers call it.
//
// Motor n (1..8) is reached at device 1, the module character of its HEX-SW setting and the
// axis character '0' + ((n - 1) mod 4). Every command is an absolute pulse address (or a halt)
// sent at once; nothing waits for a motion to end.
//
// Commands return silently while the instrument is offline, and act on a motor only while it is
// enabled on the SETUP page. A failed driver call gives the alert beep and a message: a status-bar
// text for jogs and position reads, a modal message ("Motor#n access error") for the rest.

#include "app/AppState.h"
#include "app/InfoRecord.h"
#include "app/Services.h"
#include "instrument/Kx10.h"

#include <QString>
#include <cstdint>

namespace qor {

// The moving state and the two end-of-travel switches of a motor, from one status read.
struct MotorState {
    int busy = -1;      // 1 moving, 0 standing, -1 unreadable
    bool ccw = false;   // the CCW (minus side) end switch is active
    bool cw = false;    // the CW (plus side) end switch is active
};

class StageControl {
public:
    StageControl(InfoRecord& rec, MotorStatusReadout& last, const int32_t& online, Kx10& kx,
                 Alerts& alerts, const int32_t* scanMode = nullptr)
        : rec_(rec), last_(last), online_(online), kx_(kx), alerts_(alerts), scanMode_(scanMode) {}
    StageControl(AppState& st, Kx10& kx, Alerts& alerts)
        : StageControl(st.rec, st.LastMotorStatus, st.Online, kx, alerts, &st.ScanMode) {}

    // Reads the position of motor `index` (0..7) in logical units and its state into
    // LastMotorStatus (pulses, busy, CCW and CW limits). A failed read beeps and puts
    // "Motor#n Read PAddr error" into the status bar; `ok` (when given) then tells it. A motor
    // without a positive pulses-per-unit count reads as position 0. Does not look at Online.
    double ReadMotorPosition(int index, bool* ok = nullptr);
    // 1 while motor `index` (0..7) moves, 0 when it stands, -1 for an unreadable state. Silent.
    int MotorBusy(int index);
    // The moving state and the end switches of motor `index` (0..7) from one status read; an
    // index outside 0..7 reads as unreadable with no switch active. Silent.
    MotorState motorState(int index);

    // Operator commands on motor n (1..8).
    // Jog: present position + `delta` logical units. Not sent when the position read failed.
    void jog(int n, double delta);
    // Redefines the present position as `logical` without moving (EDIT).
    void setCounter(int n, double logical);
    // Makes the present position the origin (Set 0, "座標を(0,0)にする").
    void setCounterZero(int n);
    // Moves to `logical` (GOTO of a motor row).
    void moveTo(int n, double logical);
    // Moves to pulse address 0 (GOTO (0,0) and GOTO (0,0,0)).
    void moveToZero(int n);
    void halt(int n);

    // While a scan runs (online), the scan axes X, Y and Z (motors #1..#3) take no command from
    // the stage pages: a move, a halt or a new counter value would leave the scan's lines at
    // the wrong places or stall its stroke; Stop SCAN stops the scan. True, after a beep and
    // one modal message, when a command on motors first..last is refused so.
    bool scanLocks(int first, int last);
    static QString scanLockText();

    bool online() const { return online_ == 1; }
    bool enabled(int n) const { return n >= 1 && n <= 8 && rec_.MotorEnabled[n - 1] == 1; }

    static QString motorText(int n, const char* what);  // "Motor#3 access error" and the like

private:
    char module(int n) const { return moduleChar(rec_.MotorHexSw[n - 1]); }
    // True when the motor's pulses-per-unit count allows logical values; otherwise the command
    // is refused with a beep and a status-bar text naming the motor.
    bool hasScale(int n);
    void accessError(int n);
    bool mayCommand(int n) { return online() && !scanLocks(n, n) && enabled(n); }

    InfoRecord& rec_;
    MotorStatusReadout& last_;
    const int32_t& online_;
    Kx10& kx_;
    Alerts& alerts_;
    const int32_t* scanMode_;   // AppState::ScanMode, when known
};

}  // namespace qor
