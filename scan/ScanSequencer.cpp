#include "scan/ScanSequencer.h"

#include "app/FieldText.h"
#include "instrument/Pulses.h"
#include "scan/PartialPass.h"
#include "scan/ScanConfig.h"
#include "scan/ScanProgress.h"
#include "scan/ScanTargets.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qor {

namespace {

constexpr int kNoMorePixels = 999999999;   // between two lines (state 51)
constexpr int kQuietInterval = 99999999;   // a scan that has ended: no pixel pulses at all
// A motor whose state cannot be read for this long in a row stops the scan.
constexpr int64_t kUnreadableMs = 10000;

// A duration in ms of `pulses` at `pps` (a speed below 1 counts as 1 pulse per second).
int64_t travelMs(int64_t pulses, int64_t pps) {
    return (pulses < 0 ? -pulses : pulses) * 1000 / (pps < 1 ? 1 : pps);
}

LineTime lineTimeOf(const QDateTime& now) {
    LineTime t;
    t.v[0] = now.date().year();
    t.v[1] = now.date().month();
    t.v[2] = now.date().day();
    t.v[3] = now.time().hour();
    t.v[4] = now.time().minute();
    t.v[5] = now.time().second();
    return t;
}

template <std::size_t N>
void setText(char (&dst)[N], const char* fmt, int a, int b) {
    std::snprintf(dst, N, fmt, a, b);
}

}  // namespace

void unpackPixelFrame(const uint8_t* frame, int32_t counts[20]) {
    const int first = (frame[0] == '$' && frame[kPixelFrameSize - 1] == 'E') ? 1 : 0;
    for (int k = 0; k < 20; ++k) {
        const uint8_t* p = frame + first + 4 * k;
        counts[k] = static_cast<int32_t>(static_cast<uint32_t>(p[0]) |
                                         (static_cast<uint32_t>(p[1]) << 8) |
                                         (static_cast<uint32_t>(p[2]) << 16) |
                                         (static_cast<uint32_t>(p[3]) << 24));
    }
}

ScanSequencer::ScanSequencer(AppState& st, Kx10& kx, Services& svc, MotorStateFn motorState)
    : st_(st), scanRec_(st.rec), r_(scanRec_), kx_(kx), svc_(svc),
      motorState_(std::move(motorState)) {}

// The stroke runs ScanXSteps pixels at the scan speed; twice that and 5 s more may pass before
// a stroke without any pixel counts as stalled.
int64_t ScanSequencer::strokeStallBoundMs(const InfoRecord& r) {
    const int64_t line = static_cast<int64_t>(r.ScanXSteps) * r.ScanXPixelPulses;
    return 2 * travelMs(line, r.ScanXSpeedPps) + 5000;
}

// The longest move of the scan (X over the line and its backlash, Y over the plane and its
// backlash, Z over its range) at the slowest speed of its motor, twice, and 10 s more.
int64_t ScanSequencer::motorWaitBoundMs(const InfoRecord& r) {
    const int64_t line = static_cast<int64_t>(r.ScanXSteps) * r.ScanXPixelPulses;
    const int64_t xs = std::min<int64_t>(r.MotorInitSpeed[0], r.ScanXSpeedPps);
    int64_t longest = travelMs(std::abs(line) + std::abs(static_cast<int64_t>(r.XBacklashPulses)), xs);
    const int64_t plane = static_cast<int64_t>(r.ScanYSteps) * r.ScanYPixelPulses;
    longest = std::max(longest, travelMs(std::abs(plane) + std::abs(static_cast<int64_t>(r.YBacklashPulses)),
                                         r.MotorInitSpeed[1]));
    if (r.ScanUseZ == 1) {
        const double z = std::fabs(r.ZEnd - r.ZStart) * r.MotorLogicalPulses[2];
        const int64_t zPulses = z < 1e12 ? static_cast<int64_t>(z) : int64_t{1000000000000};
        longest = std::max(longest, travelMs(zPulses, r.MotorInitSpeed[2]));
    }
    return 2 * longest + 10000;
}

int ScanSequencer::channelsOfMapIndex() const {
    static const int kChannels[5] = {256, 512, 1024, 2048, 4096};
    return (r_.MapChannelIndex >= 0 && r_.MapChannelIndex < 5) ? kChannels[r_.MapChannelIndex]
                                                                : 0;
}

// The MCA of the viewed slot; with WORK in view, MCA1.
char ScanSequencer::scanMca() const {
    return moduleChar(st_.spectrum.ViewSlot == 1 ? r_.Mca2HexSw : r_.Mca1HexSw);
}
char ScanSequencer::mca1() const { return moduleChar(r_.Mca1HexSw); }
char ScanSequencer::motor(int index) const { return moduleChar(r_.MotorHexSw[index]); }
char ScanSequencer::nonStop() const { return moduleChar(r_.NonStopHexSw); }

QString ScanSequencer::parameterProblem() const {
    const InfoRecord& r_ = st_.rec;   // the record as it is now, not the last scan's copy
    if (r_.ScanXSteps < 1 || r_.ScanXSteps > kMapSide || r_.ScanYSteps < 1 ||
        r_.ScanYSteps > kMapSide)
        return QStringLiteral("X・Y方向の測定点数は1～1024にしてください。二次元SCANを開始できません");
    if (r_.MapPixelsX != r_.ScanXSteps || r_.MapPixelsY != r_.ScanYSteps)
        return QStringLiteral("マップの大きさが測定点数と一致していません。測定点数を入力し直してください");
    if (r_.ScanXPixelPulses <= 0 || r_.ScanYPixelPulses <= 0)
        return QStringLiteral("X・Yの1ピクセルのパルス数は1以上にしてください。二次元SCANを開始できません");
    if (r_.ScanXSpeedPps <= 0)
        return QStringLiteral("X軸のスキャン速度は1pps以上にしてください。二次元SCANを開始できません");
    if (r_.MotorLogicalPulses[0] <= 0 || r_.MotorLogicalPulses[1] <= 0 ||
        (r_.ScanUseZ == 1 && r_.MotorLogicalPulses[2] <= 0))
        return QStringLiteral("モータの論理パルス数が0以下です。SETUPで設定してください。二次元SCANを開始できません");
    return scanTargetProblem(r_);
}

bool ScanSequencer::start(const std::function<bool()>& confirm) {
    run_.PixelEchoOn = 1;
    if (mapChannelCount(st_.rec.MapChannelIndex) != st_.rec.McaChannels[0]) {
        svc_.alerts.message(QStringLiteral("MCA測定と二次元SCAN時のMCAサイズが異なっています。"));
        return false;
    }
    if (st_.Online != 1) {
        svc_.alerts.beep();
        svc_.alerts.message(QStringLiteral("OffLineです。　OnLineにしてください"));
        return false;
    }
    if (st_.ScanMode != 0) {
        svc_.alerts.beep();
        svc_.alerts.message(QStringLiteral("すでに自動測定中なので実行できません"));
        return false;
    }
    const QString problem = parameterProblem();
    if (!problem.isEmpty()) {
        svc_.alerts.beep();
        svc_.alerts.message(problem);
        return false;
    }
    svc_.sounds.play(QStringLiteral("2dscanOK.wav"));
    bool ok = confirm();
    if (ok) {
        // Nothing is measured that could not be kept: without its journal the scan does not start.
        QString error;
        if (!journal_.create(st_.rec, lineTimeOf(svc_.clock.localDateTime()), error)) {
            svc_.alerts.beep();
            svc_.alerts.message(
                QStringLiteral("The scan journal cannot be created; the scan does not start.\n") +
                error);
            ok = false;
        }
    }
    if (ok) {
        scanRec_ = st_.rec;
        watchedState_ = -1;
        unreadableSinceMs_ = -1;
        clearMaps();
        files_.beginScan();
        st_.ScanMode = 2;
        run_.ScanState = 0;
        // A new scan starts with an empty error box and empty step labels, empty queue boxes,
        // no end text, and its progress at 0.
        disp_.errView[0] = '\0';
        disp_.stepX[0] = disp_.stepY[0] = disp_.stepZ[0] = '\0';
        disp_.queueCount = 0;
        disp_.queueAhead = 0;
        disp_.queueColour = QueueColour::White;
        disp_.end = ScanEnd::None;
        disp_.endText.clear();
        run_.PixelsStored = 0;
        run_.PixelsPlanned = plannedPixels(r_);
        run_.PassesDone = 0;
        run_.FilesWritten = 0;
        run_.LinesInPass = 0;
        run_.UnsavedPass = false;
        run_.StartMs = svc_.clock.nowMs();
        run_.FirstLineMs = run_.LastLineMs = -1;
        run_.LinesStarted = 0;
        shownStored_ = shownElapsedS_ = shownLeftS_ = -1;
        updateProgress();
    }
    run_.RedCount = 0;
    run_.YellowCount = 0;
    changed();
    return ok;
}

void ScanSequencer::stop() {
    // Only a mapping scan under way has scan hardware to quiet: pressed while idle (or during
    // a spectrum measurement), the button leaves the MCA alone.
    const bool scanning = st_.ScanMode == 2;
    // Idle, the button acts on the modules and motors as they are set now.
    if (!scanning) scanRec_ = st_.rec;
    st_.ScanMode = 0;
    if (scanning) quietHardware();
    kx_.KX10MCA_2DSCAN_OFFSET(1, mca1(), 0);
    // The motors as their SETUP check boxes say at the moment of the press.
    for (int i = 0; i < 3; ++i) {
        if (st_.rec.MotorEnabled[i] != 1) continue;
        if (kx_.KX10Motor_Halt(1, moduleChar(st_.rec.MotorHexSw[i]), axisChar(i + 1)) < 0) {
            svc_.alerts.beep();
            svc_.alerts.message(QStringLiteral("Motor#%1 access error").arg(i + 1));
        }
    }
    if (scanning) {
        QString failure;
        const QString kept = keepPartialPass(JournalEnd::Stopped, failure);
        finish(ScanEnd::Stopped, QStringLiteral("2D scan stopped by the operator") + kept);
        if (!failure.isEmpty()) svc_.alerts.message(failure);
    } else {
        finish(ScanEnd::None, QString());
    }
}

QString ScanSequencer::keepPartialPass(JournalEnd how, QString& failure) {
    PartialPass p;
    p.names = mapPassNames(r_);
    p.time = run_.lineTime;
    p.pass = run_.ScanPass;
    p.scanZ = run_.ScanZ;
    p.linesDone = run_.LinesInPass;
    p.linesPlanned = r_.ScanYSteps;
    // Rows run 0, 1, ... in a pass: the completed ones come first; the row under way may hold
    // some of its pixels, which are not kept.
    p.rowsKept = run_.LinesInPass;
    const MapFileWriter::Result files = writePartialPass(files_, p, st_.maps);
    run_.FilesWritten += static_cast<int32_t>(files.written.size());
    run_.LinesInPass = 0;
    QString error;
    if (files.openFailed) {
        run_.UnsavedPass = true;
        failure = QStringLiteral("測定データファイル Open ERROR\n") + files.error +
                  QStringLiteral("\nThe lines stay in the scan journal ") + journal_.path();
    } else if (p.linesDone > 0 && journal_.isOpen() &&
               !journal_.appendPassWritten(p.pass, p.scanZ, error)) {
        journalFailed(error);
    }
    endJournal(how);
    return keptLinesText(p, files);
}

// A scan whose every pass is in its map files ends its journal; one with a pass whose files
// failed leaves it unfinished, to be recovered.
void ScanSequencer::endJournal(JournalEnd how) {
    if (!journal_.isOpen()) return;
    if (run_.UnsavedPass) {
        journal_.close();
        return;
    }
    QString error;
    if (!journal_.finish(how, error)) svc_.alerts.status(error);
}

void ScanSequencer::lineCompleted() {
    ++run_.LinesInPass;
    if (!journal_.isOpen()) return;
    const int direction = r_.ScanMethod != 0 && run_.ScanForward == 0 ? 1 : 0;
    QString error;
    if (!journal_.appendLine(run_.ScanPass, run_.ScanZ, run_.ScanY, direction, run_.lineTime,
                             st_.maps, error))
        journalFailed(error);
}

// The scan goes on (its map files may still be written), the operator told once.
void ScanSequencer::journalFailed(const QString& error) {
    journal_.close();
    svc_.alerts.beep();
    svc_.alerts.message(
        QStringLiteral("The scan journal could not be written; the scan goes on without it.\n") +
        error);
}

void ScanSequencer::writePassFiles() {
    const MapFileWriter::Result files = files_.write(r_, st_.maps, run_.lineTime, run_.ScanZ);
    run_.FilesWritten += static_cast<int32_t>(files.written.size());
    ++run_.PassesDone;
    run_.LinesInPass = 0;
    QString error;
    if (files.openFailed) {
        run_.UnsavedPass = true;
        svc_.alerts.message(QStringLiteral("測定データファイル Open ERROR\n") + files.error +
                            (journal_.isOpen()
                                 ? QStringLiteral("\nThe pass stays in the scan journal ") +
                                       journal_.path()
                                 : QString()));
    } else if (journal_.isOpen() && !journal_.appendPassWritten(run_.ScanPass, run_.ScanZ, error)) {
        journalFailed(error);
    }
}

// No pixel pulses, no 2D accumulation, the MCA stopped: nothing of an ended scan can reach the
// pixel store of the next one. The scan MCA is MCA1 unless MCA2 is in view.
void ScanSequencer::quietHardware() {
    kx_.KX10Motor_Set_Interval_Pulse(1, nonStop(), '0', kQuietInterval);
    kx_.KX10MCA_2DSCAN_Stop(1, mca1());
    kx_.KX10MCA_Stop(1, mca1());
    if (scanMca() != mca1()) {
        kx_.KX10MCA_2DSCAN_Stop(1, scanMca());
        kx_.KX10MCA_Stop(1, scanMca());
    }
}

void ScanSequencer::finish(ScanEnd how, const QString& text) {
    // The map display is released and the tick period restored whenever a scan ends.
    st_.mapView.MapDrawHold = 0;
    setTimer2(250);
    if (how == ScanEnd::None) return;
    updateProgress(true);
    disp_.end = how;
    disp_.endText = text;
    svc_.alerts.status(text);
    changed();
}

// Idle and quiet first, then the message: the timers keep firing while the box is open.
void ScanSequencer::abort(const QString& message) {
    st_.ScanMode = 0;
    quietHardware();
    QString failure;
    const QString kept = keepPartialPass(JournalEnd::Aborted, failure);
    finish(ScanEnd::Aborted, message + kept);
    svc_.alerts.message(message);
    if (!failure.isEmpty()) svc_.alerts.message(failure);
}

void ScanSequencer::lineStarted() {
    const int64_t now = svc_.clock.nowMs();
    if (run_.FirstLineMs < 0) run_.FirstLineMs = now;
    run_.LastLineMs = now;
    ++run_.LinesStarted;
}

void ScanSequencer::updateProgress(bool ended) {
    const int64_t planned = run_.PixelsPlanned;
    const int64_t stored = run_.PixelsStored;
    const int64_t elapsed = svc_.clock.nowMs() - run_.StartMs;
    // The measured period of a line (from one line's start to the next one's) once a line has
    // been measured, the parameters' estimate before.
    const int64_t lineMs = run_.LinesStarted >= 2
                               ? (run_.LastLineMs - run_.FirstLineMs) / (run_.LinesStarted - 1)
                               : estimatedLineMs(r_);
    const int64_t left =
        ended ? 0 : timeLeftMs(std::max<int64_t>(planned - stored, 0), r_.ScanXSteps, lineMs);
    const int32_t permille =
        planned > 0 ? static_cast<int32_t>(std::min(1000.0, 1000.0 * stored / planned)) : 0;
    const int64_t elapsedS = elapsed / 1000;
    const int64_t leftS = left / 1000;
    if (stored == shownStored_ && elapsedS == shownElapsedS_ && leftS == shownLeftS_) return;
    shownStored_ = stored;
    shownElapsedS_ = elapsedS;
    shownLeftS_ = leftS;
    std::snprintf(disp_.progress, sizeof disp_.progress, "%lld / %lld px",
                  static_cast<long long>(stored), static_cast<long long>(planned));
    disp_.progressPermille = permille;
    formatDuration(elapsed, disp_.elapsed);
    formatDuration(left, disp_.left);
    changed();
}

// An end switch lit during the scan: the stage has run out of travel, and the lines that follow
// would be stored at places the stage never reached.
bool ScanSequencer::limitReached(int motorIndex, const MotorState& s) {
    if (!s.ccw && !s.cw) return false;
    static const char* const kAxis[3] = {"X", "Y", "Z"};
    abort(QStringLiteral("2D scan Motor#%1 (%2) stopped at the %3 end switch , Abort 2Dscan")
              .arg(motorIndex + 1)
              .arg(QLatin1String(kAxis[motorIndex]))
              .arg(s.ccw ? QStringLiteral("CCW") : QStringLiteral("CW")));
    return true;
}

bool ScanSequencer::limitReached() {
    const int count = r_.ScanUseZ == 1 ? 3 : 2;
    for (int i = 0; i < count; ++i)
        if (limitReached(i, motorState_(i))) return true;
    return false;
}

void ScanSequencer::setTimer2(int ms) {
    if (disp_.timer2Interval != ms) {
        disp_.timer2Interval = ms;
        changed();
    }
}

void ScanSequencer::clearMaps() { st_.maps.clear(); }

// Waits for X, Y (and Z when used); a lit end switch aborts the scan, which then waits no more.
bool ScanSequencer::motorsStill() {
    static const char* const kAxis[3] = {"X", "Y", "Z"};
    const int count = r_.ScanUseZ == 1 ? 3 : 2;
    int moving = -1, unreadable = -1;
    for (int i = 0; i < count; ++i) {
        const MotorState s = motorState_(i);
        if (limitReached(i, s)) return false;
        if (s.busy == 1 && moving < 0) moving = i;
        if (s.busy != 0 && s.busy != 1 && unreadable < 0) unreadable = i;
    }
    const int64_t now = svc_.clock.nowMs();
    if (unreadable < 0) {
        unreadableSinceMs_ = -1;
    } else if (unreadableSinceMs_ < 0) {
        unreadableSinceMs_ = now;
    } else if (now - unreadableSinceMs_ > kUnreadableMs) {
        abort(QStringLiteral("2D scan Motor#%1 (%2) status unreadable for %3 s, line %4/%5 , Abort 2Dscan")
                  .arg(unreadable + 1)
                  .arg(QLatin1String(kAxis[unreadable]))
                  .arg((now - unreadableSinceMs_) / 1000)
                  .arg(run_.ScanY + 1)
                  .arg(r_.ScanYSteps));
        return false;
    }
    if (moving < 0 && unreadable < 0) return true;
    const int64_t waited = now - watchSinceMs_;
    if (moving >= 0 && waited > motorWaitBoundMs(r_)) {
        abort(QStringLiteral("2D scan Motor#%1 (%2) still moving after %3 s, line %4/%5 , Abort 2Dscan")
                  .arg(moving + 1)
                  .arg(QLatin1String(kAxis[moving]))
                  .arg(waited / 1000)
                  .arg(run_.ScanY + 1)
                  .arg(r_.ScanYSteps));
    }
    return false;
}

bool ScanSequencer::strokeStalled(bool pixelArrived) {
    const int64_t now = svc_.clock.nowMs();
    if (pixelArrived) {
        watchSinceMs_ = now;
        return false;
    }
    const int64_t waited = now - watchSinceMs_;
    const int64_t bound = strokeStallBoundMs(r_);
    if (waited <= bound) return false;
    // X still running the stroke: a slow line, given more time; standing or unreadable, no
    // pixel can come any more.
    const MotorState x = motorState_(0);
    if (x.busy == 1 && waited <= 2 * bound) return false;
    abort(QStringLiteral("2D scan line %1/%2 stalled: %3 of %4 pixels received, no pixel for %5 s "
                         "(X %6) , Abort 2Dscan")
              .arg(run_.ScanY + 1)
              .arg(r_.ScanYSteps)
              .arg(run_.ScanX)
              .arg(r_.ScanXSteps)
              .arg(waited / 1000)
              .arg(x.busy == 1 ? QStringLiteral("moving")
                   : x.busy == 0 ? QStringLiteral("standing")
                                 : QStringLiteral("status unreadable")));
    return true;
}

// A state entered anew starts the watchdog's clock.
void ScanSequencer::enterState(int32_t state) {
    if (state == watchedState_) return;
    watchedState_ = state;
    watchSinceMs_ = svc_.clock.nowMs();
}

void ScanSequencer::setStepLabels() {
    setText(disp_.stepX, "%d/ %d", run_.ScanX, r_.ScanXSteps);
    setText(disp_.stepY, "%d/ %d", run_.ScanY, r_.ScanYSteps);
    if (r_.ScanUseZ == 1)
        setText(disp_.stepZ, "%d/ %d", run_.ScanZ, r_.ZCount);
    else
        std::snprintf(disp_.stepZ, sizeof disp_.stepZ, "-");
    changed();
}

void ScanSequencer::storePixel(const uint8_t* frame) {
    int32_t counts[20];
    unpackPixelFrame(frame, counts);
    const bool reversed = r_.ScanMethod != 0 && run_.ScanForward == 0;
    const int column = reversed ? r_.MapPixelsX - 1 - run_.ScanX : run_.ScanX;
    // The start checks keep column and row inside the maps; a record edited during the scan
    // must not push a pixel outside them either.
    if (column >= 0 && column < kMapSide && run_.ScanY >= 0 && run_.ScanY < kMapSide)
        for (int k = 0; k < 20; ++k) st_.maps.at(k, column, run_.ScanY) = counts[k];
    ++run_.PixelsStored;
    if (run_.PixelEchoOn == 1) {
        svc_.alerts.status(QString::asprintf("%d,%d,%d,%d", counts[0], counts[1], counts[2],
                                             counts[3]));
        if (counts[0] > 9999999) {
            svc_.alerts.beep();
            svc_.alerts.status(QString::asprintf("Big number ? .. %d,%d,%d,%d", counts[0],
                                                 counts[1], counts[2], counts[3]));
        }
    }
}

void ScanSequencer::readPixels() {
    char status[kScanStatusReplySize + 1] = {};
    if (kx_.KX10MCA_2DSCAN_Status(1, scanMca(), status, kScanStatusReplySize) < 0) {
        std::snprintf(disp_.errView, sizeof disp_.errView, "ERR ROI status");
        svc_.alerts.beep();
        changed();
    }
    status[3] = '\0';
    int32_t n = 0;
    if (!parseLeadingInt(status, n) || n < 0) n = 0;
    if (n > 16) {
        ++run_.StatusErrors;
        svc_.alerts.beep();
        setText(disp_.errView, "statER %d,%d", run_.StatusErrors, n);
    }
    disp_.queueCount = n;
    disp_.queueColour = QueueColour::White;
    if (n >= 9 && n <= 12) {
        disp_.queueColour = QueueColour::Yellow;
        ++run_.YellowCount;
    } else if (n >= 14) {
        disp_.queueColour = QueueColour::Red;
        ++run_.RedCount;
    }
    disp_.queueAhead = run_.ScanX + n;
    changed();

    uint8_t frame[kPixelFrameSize];
    for (int i = 0; i < n; ++i) {
        std::memset(frame, 0, sizeof frame);
        if (kx_.KX10MCA_2DSCAN_ReadROI(1, scanMca(), frame, kPixelFrameSize) < 0) {
            svc_.alerts.beep();
            ++run_.ReadErrors;
            std::snprintf(disp_.errView, sizeof disp_.errView, "Err Rread %d", run_.ReadErrors);
        }
        if (run_.ScanX >= r_.ScanXSteps) {
            svc_.alerts.beep();
            std::snprintf(disp_.errView, sizeof disp_.errView, "stepX %d", run_.ScanX + 1);
            run_.ScanState = 50;
            break;
        }
        storePixel(frame);
        ++run_.ScanX;
    }
    setText(disp_.stepX, "%d/%d", run_.ScanX, r_.ScanXSteps);
    if (run_.ScanX >= r_.ScanXSteps) {
        lineCompleted();
        run_.ScanState = 50;
    }
}

void ScanSequencer::yStep() {
    ++run_.ScanY;
    setText(disp_.stepY, "%d/%d", run_.ScanY, r_.ScanYSteps);
    changed();
    if (run_.ScanY < r_.ScanYSteps) {
        // A Y step that is not made would store the next line as the next row at the old Y.
        const int64_t target = scanLinePulses(r_, run_.ScanY);
        if (!fitsPulses(target) ||
            kx_.KX10Motor_MoveTo_PAddress(1, motor(1), '1', static_cast<int32_t>(target)) < 0)
            return abort(QStringLiteral("2D scan MotorY move error , Abort 2Dscan"));
        run_.ScanState = 60;
    } else {
        run_.ScanState = 100;
    }
}

bool ScanSequencer::moveX(int64_t target) {
    if (!fitsPulses(target)) {
        abort(QStringLiteral("2D scan MotorX target %1 out of range , Abort 2Dscan")
                  .arg(static_cast<qlonglong>(target)));
        return false;
    }
    if (kx_.KX10Motor_MoveTo_PAddress(1, motor(0), '0', static_cast<int32_t>(target)) < 0) {
        abort(QStringLiteral("2D scan MotorX move error , Abort 2Dscan"));
        return false;
    }
    return true;
}

void ScanSequencer::tick() {
    enterState(run_.ScanState);
    step();
    if (st_.ScanMode == 2) updateProgress();
}

void ScanSequencer::step() {
    const bool backAndForth = r_.ScanMethod != 0;
    const char mca = scanMca();
    const char x = motor(0), y = motor(1), z = motor(2);
    auto failed = [this](int32_t res, const char* op) {
        if (res >= 0) return false;
        abort(QStringLiteral("2D scan %1 error , Abort 2Dscan").arg(QLatin1String(op)));
        return true;
    };

    switch (run_.ScanState) {
        case 0: {
            if (kx_.KX10MCA_2DSCAN_PSET(1, mca, channelsOfMapIndex()) < 0)
                return abort(QStringLiteral("2D scan Pset error , Abort 2Dscan"));
            for (int i = 0; i < 20; ++i) {
                if (r_.MapRoiEnabled[i] != 1) continue;
                if (kx_.KX10MCA_2DSCAN_ROISET(1, mca, i, r_.RoiStart[0][i + 1],
                                              r_.RoiEnd[0][i + 1], r_.MapRoiKind[i]) < 0)
                    return abort(QStringLiteral("2D scan Set ROI error , Abort 2Dscan"));
            }
            if (r_.ScanUseZ == 1) {
                if (r_.MotorEnabled[2] != 1)
                    return abort(
                        QStringLiteral("Z軸を使う測定ですが、Z軸モータが選択されていない"));
                if (kx_.KX10Motor_MoveTo_PAddress(1, z, '2',
                                                  logicalToPulses(r_.MotorLogicalPulses[2], r_.ZStart)) < 0)
                    return abort(QStringLiteral("2D scan MotorZ move error , Abort 2Dscan"));
            }
            disp_.rangesChanged = true;
            run_.StatusErrors = 0;
            run_.ReadErrors = 0;
            run_.ScanZ = 0;
            if (backAndForth) run_.ScanForward = 0;
            changed();
            run_.ScanState = 10;
            return;
        }
        case 10: {
            if (backAndForth) setTimer2(100);
            if (r_.MotorEnabled[0] == 1 &&
                kx_.KX10Motor_Set_Speed(1, x, '0', r_.MotorInitSpeed[0], r_.MotorMaxSpeed[0],
                                        r_.MotorRampParam[0], 0, r_.MotorAccelIndex[0]) < 0)
                svc_.alerts.message(QStringLiteral("Motor#1 init error"));
            if (kx_.KX10Motor_MoveTo_PAddress(1, x, '0', 0) < 0)
                return abort(QStringLiteral("2D scan MotorX move error , Abort 2Dscan"));
            if (kx_.KX10Motor_MoveTo_PAddress(1, y, '1', 0) < 0)
                return abort(QStringLiteral("2D scan MotorY move error , Abort 2Dscan"));
            run_.ScanX = run_.ScanY = run_.ScanPass = 0;
            run_.LinesInPass = 0;
            if (backAndForth) {
                run_.ScanForward = 0;
                st_.mapView.MapDrawHold = 1;
                run_.ScanState = 11;
            } else {
                run_.ScanState = 20;
            }
            return;
        }
        case 11:
            if (motorsStill()) run_.ScanState = 12;
            return;
        case 12:
            if (kx_.KX10Motor_MoveTo_PAddress(1, x, '0', -r_.XBacklashPulses) < 0)
                return abort(QStringLiteral("Backlash (X-) move error"));
            if (kx_.KX10Motor_RelMove_PAddress(1, y, '1', -r_.YBacklashPulses) < 0)
                return abort(QStringLiteral("Backlash (Y-) move error"));
            run_.ScanState = 13;
            return;
        case 13:
            if (motorsStill()) run_.ScanState = 14;
            return;
        case 14:
            if (kx_.KX10Motor_MoveTo_PAddress(1, x, '0', 0) < 0)
                return abort(QStringLiteral("Backlash (X+) move error"));
            run_.ScanState = 15;
            if (kx_.KX10Motor_MoveTo_PAddress(1, y, '1', 0) < 0)
                return abort(QStringLiteral("Backlash (Y+) move error"));
            return;
        case 15:
            st_.mapView.MapDrawHold = 0;
            if (motorsStill()) run_.ScanState = 30;
            return;
        case 20:
            if (motorsStill()) run_.ScanState = 30;
            return;
        case 30: {
            run_.lineTime = lineTimeOf(svc_.clock.localDateTime());
            run_.ScanX = 0;
            setStepLabels();
            lineStarted();
            // Whatever closed before this line began (a pixel of a return or positioning move,
            // a leftover of a stopped scan) is thrown away before the stroke.
            if (failed(kx_.KX10MCA_2DSCAN_OFFSET(1, mca, 0), "KX10MCA_2DSCAN_OFFSET")) return;
            const int32_t speed = r_.ScanXSpeedPps;
            if (failed(kx_.KX10Motor_Set_Speed(1, x, '0', speed, speed, speed, 0, 0),
                       "KX10Motor_Set_Speed"))
                return;
            if (failed(kx_.KX10Motor_Set_Interval_Pulse(1, nonStop(), '0', r_.ScanXPixelPulses),
                       "KX10Motor_Set_Interval_Pulse"))
                return;
            int64_t target = scanLineEndPulses(r_);
            if (backAndForth) {
                if (run_.ScanForward == 1) {
                    target = -static_cast<int64_t>(r_.XBacklashPulses);
                    run_.ScanForward = 0;
                } else {
                    run_.ScanForward = 1;
                }
            } else if (!moveX(target)) {
                return;
            }
            if (failed(kx_.KX10MCA_Preset(1, mca, 1, 2048, 9999999), "KX10MCA_Preset")) return;
            if (failed(kx_.KX10MCA_Start(1, mca), "KX10MCA_Start")) return;
            if (failed(kx_.KX10MCA_2DSCAN_Start(1, mca), "KX10MCA_2DSCAN_Start")) return;
            if (backAndForth) {
                if (!moveX(target)) return;
                setTimer2(250);
            }
            run_.ScanState = 40;
            return;
        }
        case 40: {
            // X runs the stroke: an end switch here would leave the line waiting for ever, and
            // so would a stroke that stopped short.
            if (limitReached()) return;
            const int64_t stored = run_.PixelsStored;
            readPixels();
            if (st_.ScanMode == 2 && run_.ScanState == 40) strokeStalled(run_.PixelsStored != stored);
            return;
        }
        case 50:
            if (motorsStill()) run_.ScanState = 51;
            return;
        case 51: {
            if (failed(kx_.KX10Motor_Set_Interval_Pulse(1, nonStop(), '0', kNoMorePixels),
                       "KX10Motor_Set_Interval_Pulse"))
                return;
            if (failed(kx_.KX10Motor_Set_Speed(1, x, '0', r_.MotorInitSpeed[0],
                                               r_.MotorMaxSpeed[0], r_.ScanXSpeedPps, 0, 0),
                       "KX10Motor_Set_Speed"))
                return;
            int64_t target = 0;
            if (backAndForth) {
                char reply[kPaddressReplySize + 1] = {};
                if (kx_.KX10Motor_Read_Paddress(1, nonStop(), '0', reply, kPaddressReplySize) < 0) {
                    svc_.alerts.beep();
                    svc_.alerts.message(QStringLiteral("Read Paddrss timeover or error"));
                    return;   // the whole state runs again next tick
                }
                // A reply cut short still reports success: read strictly, as the next stroke
                // leaves from this position.
                int32_t position = 0;
                if (!parsePositionReply(reply, position)) {
                    QString shown;
                    for (int i = 0; i < 11 && reply[i]; ++i)
                        shown += (reply[i] >= 0x20 && reply[i] < 0x7F) ? QChar(reply[i]) : QChar('?');
                    return abort(QStringLiteral("2D scan MotorX position reply \"%1\" unreadable, "
                                                "line %2/%3 , Abort 2Dscan")
                                     .arg(shown)
                                     .arg(run_.ScanY + 1)
                                     .arg(r_.ScanYSteps));
                }
                // In 64 bits: a position near the counter's end plus the backlash must not wrap.
                target = run_.ScanForward == 1
                             ? static_cast<int64_t>(position) - r_.XBacklashPulses
                             : static_cast<int64_t>(position) + r_.XBacklashPulses;
            }
            if (!moveX(target)) return;
            yStep();
            return;
        }
        case 60:
            if (backAndForth) st_.mapView.MapDrawHold = 1;
            if (motorsStill()) run_.ScanState = 70;
            return;
        case 70:
            if (backAndForth) st_.mapView.MapDrawHold = 0;
            run_.ScanX = 0;
            run_.ScanState = 30;
            return;
        case 100: {
            writePassFiles();
            ++run_.ScanPass;
            if (run_.ScanPass >= r_.ScanRepeat) {
                run_.ScanState = 200;
                return;
            }
            if (r_.MotorEnabled[0] == 1 &&
                kx_.KX10Motor_Set_Speed(1, x, '0', r_.MotorInitSpeed[0], r_.MotorMaxSpeed[0],
                                        r_.MotorRampParam[0], 0, r_.MotorAccelIndex[0]) < 0)
                svc_.alerts.message(QStringLiteral("Motor#1 init error"));
            if (kx_.KX10Motor_MoveTo_PAddress(1, x, '0', 0) < 0)
                return abort(QStringLiteral("2D scan MotorX move error , Abort 2Dscan"));
            if (kx_.KX10Motor_MoveTo_PAddress(1, y, '1', 0) < 0)
                return abort(QStringLiteral("2D scan MotorY move error , Abort 2Dscan"));
            if (backAndForth) run_.ScanForward = 0;
            run_.ScanState = 110;
            clearedForPass_ = false;
            return;
        }
        case 110:
            run_.ScanX = 0;
            run_.ScanY = 0;
            // Nothing writes the maps while the stage returns: one clearing is enough.
            if (!clearedForPass_) {
                clearMaps();
                clearedForPass_ = true;
            }
            if (motorsStill()) run_.ScanState = 30;
            return;
        case 200:
            if (r_.ScanUseZ == 1) {
                svc_.sounds.play(QStringLiteral("2DnKaiEndZnext.WAV"));
                run_.ScanState = 210;
            } else {
                svc_.sounds.play(QStringLiteral("2DnKaiEnd.WAV"));
                run_.ScanState = 300;
            }
            return;
        case 210:
            ++run_.ScanZ;
            if (run_.ScanZ > r_.ZCount) {
                svc_.sounds.play(QStringLiteral("2DnKaiEnd.WAV"));
                run_.ScanState = 220;
                return;
            }
            if (kx_.KX10Motor_MoveTo_PAddress(1, z, '2', zPlanePulses(r_, run_.ScanZ)) < 0)
                return abort(QStringLiteral("2D scan MotorZ move error , Abort 2Dscan"));
            run_.ScanX = 0;
            run_.ScanY = 0;
            clearMaps();
            run_.ScanState = 10;
            return;
        case 220:
        case 300:
            run_.ScanState = 900;
            return;
        case 900: {
            st_.ScanMode = 0;
            quietHardware();
            endJournal(JournalEnd::Finished);
            const int32_t passes = run_.PassesDone;
            const int32_t files = run_.FilesWritten;
            finish(ScanEnd::Finished,
                   QStringLiteral("2D scan finished: %1 %2, %3 %4")
                       .arg(passes)
                       .arg(passes == 1 ? QStringLiteral("pass") : QStringLiteral("passes"))
                       .arg(files)
                       .arg(files == 1 ? QStringLiteral("map file") : QStringLiteral("map files")));
            return;
        }
        default:
            return;
    }
}

}  // namespace qor
