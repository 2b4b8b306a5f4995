#pragma once
// The mapping scan: a state machine advanced by one state per Timer2 tick. X runs each line
// without stopping while the analyser closes a pixel every ScanXPixelPulses pulses; the finished
// pixels are read back into the map arrays; Y steps between lines; map files are written after
// every pass; repeats and Z planes follow. Two methods: one way, and back and forth with backlash.
//
// Widget-free: what the 2D SCAN page shows is kept in ScanDisplay (fixed-size texts), which the
// page copies into its controls after every tick.

#include "app/AppState.h"
#include "app/Services.h"
#include "instrument/Kx10.h"
#include "scan/MapFileWriter.h"

#include <cstdint>
#include <functional>

namespace qor {

enum class QueueColour { White, Yellow, Red };

struct ScanDisplay {
    char stepX[32] = "";   // LBstepX
    char stepY[32] = "";   // LBstepY
    char stepZ[32] = "";   // LBstepZ
    char errView[48] = ""; // ErrView
    int32_t queueCount = 0;            // Edit149
    QueueColour queueColour = QueueColour::White;
    int32_t queueAhead = 0;            // Edit147: ScanX + waiting pixels
    bool rangesChanged = false;        // Edit129..Edit139 to refresh from the record
    int32_t timer2Interval = 250;      // Timer2 period wanted by the sequencer
    uint32_t serial = 0;               // bumped on every change the page must show
};

struct ScanRun {
    int32_t ScanState = 0;
    int32_t ScanX = 0;
    int32_t ScanY = 0;
    int32_t ScanZ = 0;
    int32_t ScanPass = 0;
    int32_t ScanForward = 0;
    int32_t RedCount = 0;
    int32_t YellowCount = 0;
    int32_t StatusErrors = 0;
    int32_t ReadErrors = 0;
    uint8_t PixelEchoOn = 0;
    LineTime lineTime;
};

class ScanSequencer {
public:
    // motorBusy(index 0..7): 1 moving, 0 still, -1 unknown (the stage control's MotorBusy).
    using MotorBusyFn = std::function<int(int motorIndex)>;

    ScanSequencer(AppState& st, Kx10& kx, Services& svc, MotorBusyFn motorBusy);

    // Start SCAN: the checks in order, then `confirm` (the confirmation dialog, true for OK).
    // Returns true when the scan was armed.
    bool start(const std::function<bool()>& confirm);
    // Stop SCAN: idle at once, pixel store reset, X/Y/Z halted (enabled motors only).
    void stop();
    // One Timer2 tick of the mapping scan (the caller runs it only online with ScanMode 2).
    void tick();

    const ScanRun& run() const { return run_; }
    ScanRun& run() { return run_; }
    const ScanDisplay& display() const { return disp_; }
    // The page has shown the scan ranges that state 0 announced.
    void rangesShown() { disp_.rangesChanged = false; }
    bool redErrorCommentVisible() const { return run_.RedCount != 0; }

    // Checks the scan parameters against the map arrays and the motor scale; an empty text
    // means they are fine.
    QString parameterProblem() const;

private:
    void abort(const QString& message);
    void finish();
    bool motorsStill();
    void setStepLabels();
    void readPixels();
    void yStep();
    void storePixel(const uint8_t* frame);
    void clearMaps();
    void setTimer2(int ms);
    void changed() { ++disp_.serial; }
    int channelsOfMapIndex() const;
    char scanMca() const;
    char mca1() const;
    char motor(int index) const;
    char nonStop() const;

    AppState& st_;
    InfoRecord& r_;
    Kx10& kx_;
    Services& svc_;
    MotorBusyFn motorBusy_;
    ScanRun run_;
    ScanDisplay disp_;
    MapFileWriter files_;
    bool clearedForPass_ = false;
};

// The Z plane target of plane `scanZ` in pulses, computed in single precision: + 0.5 on a rising
// range, - 0.5 on a falling or empty one.
int32_t zPlanePulses(const InfoRecord& r, int scanZ);

// The twenty counts of a pixel frame: data begin at byte 1 when byte 0 is '$' and byte 129 'E'.
void unpackPixelFrame(const uint8_t* frame, int32_t counts[20]);

}  // namespace qor
