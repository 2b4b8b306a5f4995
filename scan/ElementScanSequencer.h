#pragma once
// The element scan: one energy spectrum of a whole rectangle of the specimen, measured while the
// stage sweeps it in a zig-zag. X runs each stroke at the element-scan speed from X start to X end
// and back; between strokes Y steps by the Y step, X and Y starting together. The end test comes
// before the step, so the last stroke lies at the first Y beyond Y end. The MCA is cleared at the
// start, measures the whole sweep (the ordinary MCA page shows it growing) and is stopped at the
// end, when the stage returns to the start corner.
//
// A state machine advanced by one state per Timer2 tick while ScanMode is 3 (states 0, 10, 20,
// 30, 40/50 per stroke, 990 at the end). Widget-free: the tool-bar labels and the ErrView text
// are kept in ElementScanDisplay, which the element scan page shows after every call.

#include "app/AppState.h"
#include "app/Services.h"
#include "instrument/Kx10.h"
#include "instrument/McaControl.h"

#include <QString>
#include <cstdint>
#include <functional>

namespace qor {

struct ElementScanRun {
    int32_t ElemScanState = 0;
    int32_t ElemXStartPulses = 0;
    int32_t ElemXEndPulses = 0;
    double ElemY = 0.0;           // Y of the present stroke, logical units
    int32_t ElemYSteps = 0;       // Y steps since the first stroke
    int32_t ElemScanAtEnd = 0;    // 1 while the present stroke heads for X end
    int32_t BlinkTicks = 0;       // ticks since the running labels last swapped
    bool armed = false;           // from an accepted start to the end, a stop or a failure
};

struct ElementScanDisplay {
    bool runName1 = false;        // RunName1 shown
    bool runName2 = false;        // RunName2 shown
    char errView[16] = "";        // ErrView (2D SCAN page): the X status could not be read
    uint32_t errViewCount = 0;    // bumped each time errView is to be shown again
    int32_t timer2Interval = 250; // Timer2 period wanted
    uint32_t serial = 0;          // bumped on every change the page must show
};

class ElementScanSequencer {
public:
    // motorBusy(index 0..7): 1 moving, 0 still, -1 unknown (the stage control's MotorBusy).
    using MotorBusyFn = std::function<int(int motorIndex)>;

    ElementScanSequencer(AppState& st, Kx10& kx, Services& svc, MotorBusyFn motorBusy);

    // "上記範囲をモータースキャン中のMCA測定を開始": nothing while offline; refused while another
    // scan runs or with parameters the sweep cannot run on. Once armed (ScanMode 3, state 0)
    // `armed` runs (the page shows the MCA page and the running labels), then the MCAs taking
    // part are stopped and cleared and the pulse counter is set so that no pixel closes.
    // Returns true when the scan was armed.
    bool start(McaSelection sel, const std::function<void()>& armed);
    // "中止": idle at once, the running labels hidden, the MCAs taking part stopped. The motors
    // are not halted: a stroke under way runs to its end. Refused while the mapping scan runs.
    void stop(McaSelection sel);
    // One Timer2 tick (the caller runs it online, while ScanMode is 3 or the scan is armed): the
    // label blinking, then the state of ElemScanState. A scan whose ScanMode was set to idle by
    // another command (Stop SCAN) settles here: labels hidden, MCAs stopped.
    void tick(McaSelection sel);
    // "(Xstart,Ystart)へ移動 " / "(Xend,Yend)へ移動 ": X, then Y to the corner, only while Y
    // stands still.
    void moveToCorner(bool end);

    // Why the sweep cannot run on the present parameters; empty when it can. The rectangle, up
    // to the last stroke (the first Y beyond Y end), must lie inside the soft limits of X and Y.
    // A running sweep keeps the values it started with (a copy of the record taken at the start).
    QString parameterProblem() const;
    // The Y pulse address of the stroke at `y` logical units: truncated, as typed decimals are
    // not exact in binary after a margin far below a pulse that rounds away from zero.
    static int32_t strokeYPulses(int32_t pulsesPerUnit, double y);

    bool armed() const { return run_.armed; }
    const ElementScanRun& run() const { return run_; }
    const ElementScanDisplay& display() const { return disp_; }

    static constexpr int32_t kNoPixels = 99999999;   // pulse interval during the sweep

private:
    // Everything a stop settles before any message: idle, disarmed, labels hidden.
    void settle();
    // A stop with a message (empty: none) shown after the state has settled, then the MCAs.
    void stopWith(McaSelection sel, const QString& message);
    void blink();
    // The moves of state 0 and 990: X and Y to the start corner; false after a failure (shown).
    bool moveToStart(McaSelection sel);
    bool startMca(McaSelection sel);
    void moveFailed(int motor);   // beep, status "Motor#n Move error", state 990
    void setTimer2(int ms);
    void changed() { ++disp_.serial; }
    int32_t xPulses(double units) const;
    int32_t yPulses(double units) const;
    char xMotor() const;
    char yMotor() const;

    AppState& st_;
    InfoRecord scanRec_;   // the record as the running sweep started
    InfoRecord& r_;        // what the sweep reads: scanRec_
    Kx10& kx_;
    Services& svc_;
    MotorBusyFn motorBusy_;
    ElementScanRun run_;
    ElementScanDisplay disp_;
};

}  // namespace qor
