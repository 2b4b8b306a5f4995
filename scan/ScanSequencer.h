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
#include "scan/StageControl.h"
#include "scan/ZPlanes.h"

#include <cstdint>
#include <functional>

namespace qor {

enum class QueueColour { White, Yellow, Red };

// How the last scan ended, for the status text of the page.
enum class ScanEnd { None, Finished, Stopped, Aborted };

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
    // Progress of the whole scan: pixels stored of pixels planned, elapsed time, time left.
    char progress[48] = "";
    int32_t progressPermille = 0;
    char elapsed[16] = "";
    char left[16] = "";
    // The end of the scan: how and the text that says so (empty while a scan runs).
    ScanEnd end = ScanEnd::None;
    QString endText;
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
    // Progress of the whole scan.
    int64_t PixelsStored = 0;      // pixels stored since the start
    int64_t PixelsPlanned = 0;
    int32_t PassesDone = 0;        // passes of every plane, for the end text
    int32_t FilesWritten = 0;
    int64_t StartMs = 0;           // clock at the confirmed start
    int64_t FirstLineMs = -1;      // clock at the start of the first line, -1 before it
    int64_t LastLineMs = -1;       // clock at the start of the latest line
    int64_t LinesStarted = 0;
};

class ScanSequencer {
public:
    // motorState(index 0..7): moving state and end switches (the stage control's motorState).
    using MotorStateFn = std::function<MotorState(int motorIndex)>;

    ScanSequencer(AppState& st, Kx10& kx, Services& svc, MotorStateFn motorState);

    // Start SCAN: the checks in order (the parameters and every target of the scan against the
    // maps, the counters and the soft limits among them), then `confirm` (the confirmation
    // dialog, true for OK). Returns true when the scan was armed.
    bool start(const std::function<bool()>& confirm);
    // Stop SCAN: idle at once; a running mapping scan leaves the scan hardware quiet (no pixel
    // pulses, 2D accumulation and MCA stopped); pixel store reset; X/Y/Z halted (enabled
    // motors only).
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

    // Ends a running scan as aborted: idle, the scan hardware quiet, the end shown, then the
    // message (the scan's own failures, and an instrument lost while the scan ran).
    void abort(const QString& message);

private:
    void step();   // the work of the state the scan is in
    void finish(ScanEnd how, const QString& text);
    void quietHardware();
    bool motorsStill();
    // True (and the scan aborted) when an end switch of a scan axis is active.
    bool limitReached();
    bool limitReached(int motorIndex, const MotorState& s);
    void updateProgress(bool ended = false);
    void lineStarted();
    // Sends X to `target`; false (and the scan aborted) when the target leaves the counters'
    // range or the move fails.
    bool moveX(int64_t target);
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
    MotorStateFn motorState_;
    ScanRun run_;
    ScanDisplay disp_;
    MapFileWriter files_;
    bool clearedForPass_ = false;
    // Progress figures shown last, so that the texts are rebuilt only when they change.
    int64_t shownStored_ = -1;
    int64_t shownElapsedS_ = -1;
    int64_t shownLeftS_ = -1;
};

// The twenty counts of a pixel frame: data begin at byte 1 when byte 0 is '$' and byte 129 'E'.
void unpackPixelFrame(const uint8_t* frame, int32_t counts[20]);

}  // namespace qor
