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
#include "scan/ScanJournal.h"
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
    int32_t LinesInPass = 0;       // lines completed in the pass under way (in the journal)
    bool UnsavedPass = false;      // a pass's map files failed: its data is only in the journal
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
    // dialog, true for OK), then the scan journal is created in the save folder (a journal that
    // cannot be created refuses the start). Returns true when the scan was armed.
    //
    // A running scan keeps the values it started with: the record is copied when the start is
    // confirmed and the scan reads only that copy, so no edit made while it runs can send a
    // motor to a place the start checks did not see, or put pixels of two sizes into one map.
    bool start(const std::function<bool()>& confirm);
    // Stop SCAN: idle at once; a running mapping scan leaves the scan hardware quiet (no pixel
    // pulses, 2D accumulation and MCA stopped); pixel store reset; X/Y/Z halted (enabled
    // motors only). The lines completed in the pass under way are written as partial map files.
    void stop();
    // One Timer2 tick of the mapping scan (the caller runs it only online with ScanMode 2).
    void tick();

    const ScanRun& run() const { return run_; }
    ScanRun& run() { return run_; }
    const ScanDisplay& display() const { return disp_; }
    // The page has shown the scan ranges that state 0 announced.
    void rangesShown() { disp_.rangesChanged = false; }
    bool redErrorCommentVisible() const { return run_.RedCount != 0; }
    // The journal of the scan under way (closed once the scan has ended).
    const ScanJournal& journal() const { return journal_; }

    // Checks the scan parameters of the record against the map arrays and the motor scale; an
    // empty text means they are fine.
    QString parameterProblem() const;

    // The values the running (or last) scan works with.
    const InfoRecord& scanRecord() const { return r_; }

    // How long a stroke may go without a pixel while X stands still, and how long the motors may
    // take to come to rest in a waiting state, before the scan is taken as stalled (ms).
    static int64_t strokeStallBoundMs(const InfoRecord& r);
    static int64_t motorWaitBoundMs(const InfoRecord& r);

private:
    void abort(const QString& message);
    void step();   // the work of the state the scan is in
    void finish(ScanEnd how, const QString& text);
    // A stopped or aborted scan: the pass under way as partial map files, the journal ended.
    // Returns the sentence the end text gets.
    // A text in `failure` when the files could not be written (shown after the end's message).
    QString keepPartialPass(JournalEnd how, QString& failure);
    void endJournal(JournalEnd how);
    // A line's pixels are all stored: into the journal, on the disk, before the next stroke.
    void lineCompleted();
    void writePassFiles();
    void journalFailed(const QString& error);
    void quietHardware();
    // True when X, Y (and Z when used) read as standing; an unreadable state is not standing
    // (the wait goes on next tick). A wait longer than its bound aborts the scan.
    bool motorsStill();
    // State 40: aborts the scan (true) when the stroke has stalled: no pixel for longer than
    // its bound while X does not read as moving, or for twice as long whatever X reads.
    bool strokeStalled(bool pixelArrived);
    void enterState(int32_t state);
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
    InfoRecord scanRec_;   // the record as the running scan started
    InfoRecord& r_;        // what the scan reads: scanRec_
    Kx10& kx_;
    Services& svc_;
    MotorStateFn motorState_;
    ScanRun run_;
    ScanDisplay disp_;
    MapFileWriter files_;
    ScanJournal journal_;
    bool clearedForPass_ = false;
    // The stall watchdog: the state the clock below belongs to, and when that state was entered
    // (state 40: when the stroke began or its latest pixel arrived).
    int32_t watchedState_ = -1;
    int64_t watchSinceMs_ = 0;
    int64_t unreadableSinceMs_ = -1;   // since when a motor's state cannot be read, -1: it can
    // Progress figures shown last, so that the texts are rebuilt only when they change.
    int64_t shownStored_ = -1;
    int64_t shownElapsedS_ = -1;
    int64_t shownLeftS_ = -1;
};

// The twenty counts of a pixel frame: data begin at byte 1 when byte 0 is '$' and byte 129 'E'.
void unpackPixelFrame(const uint8_t* frame, int32_t counts[20]);

}  // namespace qor
