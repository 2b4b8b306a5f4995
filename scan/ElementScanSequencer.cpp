#include "scan/ElementScanSequencer.h"

#include "app/FieldText.h"
#include "instrument/MotorInit.h"
#include "instrument/Pulses.h"
#include "scan/ScanTargets.h"
#include "scan/StageControl.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qor {

namespace {

constexpr int32_t kSweepPresetTicks = 100000;   // 1000 s: the sweep ends the measurement
constexpr int32_t kIdleTimer2Ms = 250;
// Far below any step or pulse fraction that means something, far above the rounding error of
// decimal values in binary.
constexpr double kDecimalSlack = 1e-9;   // of a Y step
constexpr double kPulseSlack = 1e-6;     // of a pulse

QString motorMessage(int motor, const char* what) {
    return QStringLiteral("Motor#%1 %2").arg(motor).arg(QLatin1String(what));
}

}  // namespace

ElementScanSequencer::ElementScanSequencer(AppState& st, Kx10& kx, Services& svc,
                                           MotorBusyFn motorBusy)
    : st_(st), scanRec_(st.rec), r_(scanRec_), kx_(kx), svc_(svc), motorBusy_(std::move(motorBusy)) {}

char ElementScanSequencer::xMotor() const { return moduleChar(r_.MotorHexSw[0]); }
char ElementScanSequencer::yMotor() const { return moduleChar(r_.MotorHexSw[1]); }

int32_t ElementScanSequencer::xPulses(double units) const {
    return logicalToPulses(r_.MotorLogicalPulses[0], units);
}

int32_t ElementScanSequencer::yPulses(double units) const {
    return logicalToPulses(r_.MotorLogicalPulses[1], units);
}

int32_t ElementScanSequencer::strokeYPulses(int32_t pulsesPerUnit, double y) {
    const double v = static_cast<double>(pulsesPerUnit) * y;
    return truncToInt32(v + std::copysign(kPulseSlack, v));
}

QString ElementScanSequencer::parameterProblem() const {
    const InfoRecord& r_ = st_.rec;   // the record as it is now, not the last sweep's copy
    const double values[] = {r_.ElemScanXStart, r_.ElemScanYStart, r_.ElemScanXEnd,
                             r_.ElemScanYEnd, r_.ElemScanYStep};
    for (double v : values)
        if (!std::isfinite(v))
            return QStringLiteral("座標の値が数値ではありません。元素SCANを開始できません");
    // A step of 0 or less would never reach Y end.
    if (r_.ElemScanYStep <= 0.0)
        return QStringLiteral("Y軸ステップ座標量は0より大きくしてください。元素SCANを開始できません");
    if (r_.ElemScanYEnd < r_.ElemScanYStart)
        return QStringLiteral("YendはYstart以上にしてください。元素SCANを開始できません");
    if (r_.ElemScanXEnd == r_.ElemScanXStart)
        return QStringLiteral("XstartとXendが同じです。元素SCANを開始できません");
    if (r_.ElemScanSpeedPps < 1 || r_.ElemScanSpeedPps > r_.MotorMaxSpeed[0])
        return QStringLiteral("Ｘ軸モーターの回転速度は1～%1ppsにしてください。元素SCANを開始できません")
            .arg(r_.MotorMaxSpeed[0]);
    if (r_.MotorLogicalPulses[0] <= 0 || r_.MotorLogicalPulses[1] <= 0)
        return QStringLiteral("モータの論理パルス数が0以下です。SETUPで設定してください。元素SCANを開始できません");
    // The strokes lie at Y start + n x step for n = 0 .. N, N the first with Y beyond Y end
    // (the end test of state 50, with its margin).
    const double steps = std::floor((r_.ElemScanYEnd - r_.ElemScanYStart) / r_.ElemScanYStep +
                                    kDecimalSlack);
    const double lastY = r_.ElemScanYStart + (steps + 1.0) * r_.ElemScanYStep;
    const QString tail = QStringLiteral("元素SCANを開始できません");
    const struct { int motor; double lo, hi; } travel[2] = {
        {1, std::min(r_.ElemScanXStart, r_.ElemScanXEnd), std::max(r_.ElemScanXStart, r_.ElemScanXEnd)},
        {2, r_.ElemScanYStart, lastY}};
    for (const auto& t : travel) {
        // Every target must fit the controllers' 32-bit counters.
        const double ppu = r_.MotorLogicalPulses[t.motor - 1];
        if (!(std::fabs(ppu * t.lo) < 2147483647.0 && std::fabs(ppu * t.hi) < 2147483647.0))
            return QStringLiteral("%1軸 (Motor#%2) の移動先 %3 ～ %4 がモータの範囲を超えます。%5")
                .arg(QLatin1String(t.motor == 1 ? "X" : "Y"))
                .arg(t.motor)
                .arg(formatGeneral(t.lo), formatGeneral(t.hi), tail);
        const QString p = softLimitProblem(r_, t.motor, t.lo, t.hi, tail);
        if (!p.isEmpty()) return p;
    }
    return QString();
}

bool ElementScanSequencer::start(McaSelection sel, const std::function<void()>& armed) {
    if (st_.Online != 1) return false;
    if (st_.ScanMode != 0) {
        svc_.alerts.message(QStringLiteral("他の自動測定中ですから実行できません"));
        return false;
    }
    const QString problem = parameterProblem();
    if (!problem.isEmpty()) {
        svc_.alerts.beep();
        svc_.alerts.message(problem);
        return false;
    }
    st_.ScanMode = 3;
    scanRec_ = st_.rec;
    run_ = ElementScanRun{};
    disp_.runName1 = disp_.runName2 = false;
    setTimer2(kIdleTimer2Ms);
    changed();
    if (armed) armed();
    // The message boxes of these calls let Timer2 fire: the states run only once all is set.
    mcaStop(st_, kx_, svc_.alerts, sel);
    mcaClear(st_, kx_, svc_.alerts, sel);
    kx_.KX10Motor_Set_Interval_Pulse(1, moduleChar(r_.NonStopHexSw), '0', kNoPixels);
    run_.armed = true;
    return true;
}

void ElementScanSequencer::settle() {
    if (st_.ScanMode == 3) st_.ScanMode = 0;
    run_.armed = false;
    disp_.runName1 = disp_.runName2 = false;
    setTimer2(kIdleTimer2Ms);
    changed();
}

void ElementScanSequencer::stopWith(McaSelection sel, const QString& message) {
    settle();
    if (!message.isEmpty()) svc_.alerts.message(message);
    mcaStopRoutine(st_, kx_, svc_.alerts, sel);
}

void ElementScanSequencer::stop(McaSelection sel) {
    // The mapping scan has its own Stop SCAN, which also takes care of its hardware.
    if (st_.ScanMode == 2) {
        svc_.alerts.message(QStringLiteral("他の自動測定中ですから実行できません"));
        return;
    }
    stopWith(sel, QString());
}

void ElementScanSequencer::setTimer2(int ms) {
    if (disp_.timer2Interval != ms) {
        disp_.timer2Interval = ms;
        changed();
    }
}

void ElementScanSequencer::blink() {
    if (++run_.BlinkTicks <= 4) return;
    run_.BlinkTicks = 0;
    disp_.runName1 = !disp_.runName1;
    disp_.runName2 = !disp_.runName1;
    changed();
}

void ElementScanSequencer::moveFailed(int motor) {
    svc_.alerts.beep();
    svc_.alerts.status(motorMessage(motor, "Move error"));
    run_.ElemScanState = 990;
}

bool ElementScanSequencer::moveToStart(McaSelection sel) {
    const bool running = run_.armed;
    auto failed = [&](int motor) {
        svc_.alerts.beep();
        if (running) {
            stopWith(sel, motorMessage(motor, "access error"));
        } else {
            svc_.alerts.message(motorMessage(motor, "access error"));
        }
        return false;
    };
    if (kx_.KX10Motor_MoveTo_PAddress(1, xMotor(), '0', xPulses(r_.ElemScanXStart)) < 0)
        return failed(1);
    if (kx_.KX10Motor_MoveTo_PAddress(1, yMotor(), '1', yPulses(r_.ElemScanYStart)) < 0)
        return failed(2);
    return true;
}

bool ElementScanSequencer::startMca(McaSelection sel) {
    const char m = moduleChar(r_.Mca1HexSw);
    auto failed = [&](const char* message) {
        svc_.alerts.beep();
        stopWith(sel, QString::fromLatin1(message));
        return false;
    };
    if (kx_.KX10MCA_2DSCAN_OFFSET(1, m, 0) < 0) return failed("MCA Offset error");
    if (kx_.KX10MCA_Preset(1, m, r_.McaPresetMode[0], r_.McaChannels[0], kSweepPresetTicks) < 0)
        return failed("MCA Preset error");
    if (kx_.KX10MCA_Start(1, m) < 0) return failed("MCA Start error");
    kx_.KX10MCA_2DSCAN_OFFSET(1, m, 0);
    return true;
}

void ElementScanSequencer::tick(McaSelection sel) {
    if (!run_.armed) return;
    if (st_.ScanMode != 3) {
        // Another command set the scan mode (Stop SCAN of the 2D SCAN page): the element scan is
        // over. Its MCAs are stopped unless a mapping scan has taken them over since.
        const bool mcasFree = st_.ScanMode == 0;
        settle();
        if (mcasFree) mcaStopRoutine(st_, kx_, svc_.alerts, sel);
        return;
    }
    blink();

    const char x = xMotor();
    const char y = yMotor();
    switch (run_.ElemScanState) {
        case 0:
            // The moves to the start corner wait until Y stands still; a start corner sent
            // while a Y move runs would leave the first stroke off the rectangle.
            if (motorBusy_(1) != 0) return;
            if (!moveToStart(sel)) return;
            run_.ElemScanState = 10;
            return;
        case 10:
            if (motorBusy_(0) != 0) return;
            if (motorBusy_(1) == 0) run_.ElemScanState = 20;
            return;
        case 20:
            // A failure stops the scan; the state stays 20.
            if (sel.mca1 && !startMca(sel)) return;
            run_.ElemScanState = 30;
            return;
        case 30: {
            run_.ElemXStartPulses = xPulses(r_.ElemScanXStart);
            run_.ElemXEndPulses = xPulses(r_.ElemScanXEnd);
            const int32_t pps = r_.ElemScanSpeedPps;
            if (kx_.KX10Motor_Set_Speed(1, x, '0', pps, pps, pps, 0, 1) < 0) return moveFailed(1);
            run_.ElemY = r_.ElemScanYStart;
            run_.ElemYSteps = 0;
            if (kx_.KX10Motor_MoveTo_PAddress(1, x, '0', run_.ElemXEndPulses) < 0)
                return moveFailed(1);
            run_.ElemScanAtEnd = 1;
            run_.ElemScanState = 40;
            return;
        }
        case 40: {
            char status[kMotorStatusReplySize + 1] = {};
            if (kx_.KX10Motor_Get_Status(1, x, '0', status, kMotorStatusReplySize) < 0) {
                std::snprintf(disp_.errView, sizeof disp_.errView, "ERR ROI status");
                ++disp_.errViewCount;
                changed();
                svc_.alerts.beep();
            }
            if (status[1] != '0') return;   // the stroke runs
            run_.ElemScanState = 50;
            return;
        }
        case 50: {
            // Typed decimal values are not exact in binary: the end test allows for the error
            // of the sum, so that Y end reached counts as reached, not as beyond.
            if (run_.ElemY > r_.ElemScanYEnd + kDecimalSlack * r_.ElemScanYStep) {
                run_.ElemScanState = 990;
                return;
            }
            // Y of the next stroke from the start and the number of steps, so that no error
            // piles up over many strokes.
            ++run_.ElemYSteps;
            run_.ElemY = r_.ElemScanYStart + run_.ElemYSteps * r_.ElemScanYStep;
            // The Y steps are truncated without rounding; the slack keeps a product such as
            // 100 x 0.29 = 28.999999999999996 on the 29 pulses typed.
            if (kx_.KX10Motor_MoveTo_PAddress(1, y, '1',
                                              strokeYPulses(r_.MotorLogicalPulses[1], run_.ElemY)) < 0)
                return moveFailed(2);
            // X sets off at once: the stroke begins with a diagonal of one Y step.
            const int32_t target =
                run_.ElemScanAtEnd == 1 ? run_.ElemXStartPulses : run_.ElemXEndPulses;
            if (kx_.KX10Motor_MoveTo_PAddress(1, x, '0', target) < 0) return moveFailed(1);
            run_.ElemScanAtEnd = run_.ElemScanAtEnd == 1 ? 0 : 1;
            run_.ElemScanState = 40;
            return;
        }
        case 990:
            // The end: the MCA stop routine, the motors' own speeds again, and back to the start
            // corner when Y stands still.
            settle();
            mcaStopRoutine(st_, kx_, svc_.alerts, sel);
            initialiseMotors(r_, kx_, svc_.alerts);
            if (st_.Online == 1 && motorBusy_(1) == 0) moveToStart(sel);
            return;
        default:
            return;
    }
}

void ElementScanSequencer::moveToCorner(bool end) {
    if (st_.Online != 1) return;
    // Idle only: a scan's stage is not moved by hand.
    if (st_.ScanMode != 0) {
        svc_.alerts.beep();
        svc_.alerts.message(StageControl::scanLockText());
        return;
    }
    if (motorBusy_(1) != 0) return;
    // The corners as they are set now.
    scanRec_ = st_.rec;
    const double cx = end ? r_.ElemScanXEnd : r_.ElemScanXStart;
    const double cy = end ? r_.ElemScanYEnd : r_.ElemScanYStart;
    // Each motor only while it is enabled on the SETUP page, each on its own.
    if (r_.MotorEnabled[0] == 1 &&
        kx_.KX10Motor_MoveTo_PAddress(1, xMotor(), '0', xPulses(cx)) < 0) {
        svc_.alerts.beep();
        svc_.alerts.message(motorMessage(1, "access error"));
    }
    if (r_.MotorEnabled[1] == 1 &&
        kx_.KX10Motor_MoveTo_PAddress(1, yMotor(), '1', yPulses(cy)) < 0) {
        svc_.alerts.beep();
        svc_.alerts.message(motorMessage(2, "access error"));
    }
}

}  // namespace qor
