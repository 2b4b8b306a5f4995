#include "scan/ScanSequencer.h"

#include "app/FieldText.h"
#include "instrument/Pulses.h"

#include <cstdio>
#include <cstring>

namespace qor {

namespace {

constexpr int kNoMorePixels = 999999999;

template <std::size_t N>
void setText(char (&dst)[N], const char* fmt, int a, int b) {
    std::snprintf(dst, N, fmt, a, b);
}

}  // namespace

int32_t zPlanePulses(const InfoRecord& r, int scanZ) {
    const float start = static_cast<float>(r.ZStart);
    const float end = static_cast<float>(r.ZEnd);
    const float step = static_cast<float>(r.ZStep);
    const bool rising = start < end;
    const float offset = rising ? static_cast<float>(scanZ) * step
                                : 0.0f - static_cast<float>(scanZ) * step;
    const float target = start + offset;
    const float scaled = static_cast<float>(r.MotorLogicalPulses[2]) * target;
    return static_cast<int32_t>(rising ? scaled + 0.5f : scaled - 0.5f);
}

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

ScanSequencer::ScanSequencer(AppState& st, Kx10& kx, Services& svc, MotorBusyFn motorBusy)
    : st_(st), r_(st.rec), kx_(kx), svc_(svc), motorBusy_(std::move(motorBusy)) {}

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
    return QString();
}

bool ScanSequencer::start(const std::function<bool()>& confirm) {
    run_.PixelEchoOn = 1;
    if (channelsOfMapIndex() != r_.McaChannels[0]) {
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
    const bool ok = confirm();
    if (ok) {
        clearMaps();
        files_.beginScan();
        st_.ScanMode = 2;
        run_.ScanState = 0;
    }
    run_.RedCount = 0;
    run_.YellowCount = 0;
    changed();
    return ok;
}

void ScanSequencer::stop() {
    st_.ScanMode = 0;
    kx_.KX10MCA_2DSCAN_OFFSET(1, mca1(), 0);
    for (int i = 0; i < 3; ++i) {
        if (r_.MotorEnabled[i] != 1) continue;
        if (kx_.KX10Motor_Halt(1, motor(i), axisChar(i + 1)) < 0) {
            svc_.alerts.beep();
            svc_.alerts.message(QStringLiteral("Motor#%1 access error").arg(i + 1));
        }
    }
    finish();
}

void ScanSequencer::finish() {
    // The map display is released and the tick period restored whenever a scan ends.
    st_.mapView.MapDrawHold = 0;
    setTimer2(250);
}

// Idle first, then the message: the timers keep firing while the box is open.
void ScanSequencer::abort(const QString& message) {
    st_.ScanMode = 0;
    finish();
    svc_.alerts.message(message);
}

void ScanSequencer::setTimer2(int ms) {
    if (disp_.timer2Interval != ms) {
        disp_.timer2Interval = ms;
        changed();
    }
}

void ScanSequencer::clearMaps() { st_.maps.clear(); }

bool ScanSequencer::motorsStill() {
    const int count = r_.ScanUseZ == 1 ? 3 : 2;
    bool still = true;
    for (int i = 0; i < count; ++i)
        if (motorBusy_(i) == 1) still = false;
    return still;
}

void ScanSequencer::setStepLabels() {
    setText(disp_.stepX, "%d/ %d", run_.ScanX, r_.ScanXSteps);
    setText(disp_.stepY, "%d/ %d", run_.ScanY, r_.ScanYSteps);
    setText(disp_.stepZ, "%d/ %d", run_.ScanZ, r_.ZCount);
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
    if (run_.ScanX >= r_.ScanXSteps) run_.ScanState = 50;
}

void ScanSequencer::yStep() {
    ++run_.ScanY;
    setText(disp_.stepY, "%d/%d", run_.ScanY, r_.ScanYSteps);
    changed();
    if (run_.ScanY < r_.ScanYSteps) {
        kx_.KX10Motor_MoveTo_PAddress(1, motor(1), '1', run_.ScanY * r_.ScanYPixelPulses);
        run_.ScanState = 60;
    } else {
        run_.ScanState = 100;
    }
}

void ScanSequencer::tick() {
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
            const QDateTime now = svc_.clock.localDateTime();
            run_.lineTime.v[0] = now.date().year();
            run_.lineTime.v[1] = now.date().month();
            run_.lineTime.v[2] = now.date().day();
            run_.lineTime.v[3] = now.time().hour();
            run_.lineTime.v[4] = now.time().minute();
            run_.lineTime.v[5] = now.time().second();
            run_.ScanX = 0;
            setStepLabels();
            const int32_t speed = r_.ScanXSpeedPps;
            if (failed(kx_.KX10Motor_Set_Speed(1, x, '0', speed, speed, speed, 0, 0),
                       "KX10Motor_Set_Speed"))
                return;
            if (failed(kx_.KX10Motor_Set_Interval_Pulse(1, nonStop(), '0', r_.ScanXPixelPulses),
                       "KX10Motor_Set_Interval_Pulse"))
                return;
            const int32_t lineEnd = r_.ScanXPixelPulses * r_.ScanXSteps;
            int32_t target = lineEnd;
            if (backAndForth) {
                if (run_.ScanForward == 1) {
                    target = -r_.XBacklashPulses;
                    run_.ScanForward = 0;
                } else {
                    run_.ScanForward = 1;
                }
            } else if (failed(kx_.KX10Motor_MoveTo_PAddress(1, x, '0', target),
                              "KX10Motor_MoveTo_PAddress")) {
                return;
            }
            if (failed(kx_.KX10MCA_Preset(1, mca, 1, 2048, 9999999), "KX10MCA_Preset")) return;
            if (failed(kx_.KX10MCA_Start(1, mca), "KX10MCA_Start")) return;
            if (failed(kx_.KX10MCA_2DSCAN_Start(1, mca), "KX10MCA_2DSCAN_Start")) return;
            if (backAndForth) {
                if (failed(kx_.KX10Motor_MoveTo_PAddress(1, x, '0', target),
                           "KX10Motor_MoveTo_PAddress"))
                    return;
                setTimer2(250);
            }
            run_.ScanState = 40;
            return;
        }
        case 40:
            readPixels();
            return;
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
            int32_t target = 0;
            if (backAndForth) {
                char reply[kPaddressReplySize + 1] = {};
                if (kx_.KX10Motor_Read_Paddress(1, nonStop(), '0', reply, kPaddressReplySize) < 0) {
                    svc_.alerts.beep();
                    svc_.alerts.message(QStringLiteral("Read Paddrss timeover or error"));
                    return;   // the whole state runs again next tick
                }
                int32_t position = 0;
                parsePaddressReply(reply, position);
                target = run_.ScanForward == 1 ? position - r_.XBacklashPulses
                                               : position + r_.XBacklashPulses;
            }
            if (failed(kx_.KX10Motor_MoveTo_PAddress(1, x, '0', target),
                       "KX10Motor_MoveTo_PAddress"))
                return;
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
            const MapFileWriter::Result files = files_.write(r_, st_.maps, run_.lineTime, run_.ScanZ);
            if (files.openFailed)
                svc_.alerts.message(QStringLiteral("測定データファイル Open ERROR"));
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
            if (failed(kx_.KX10Motor_MoveTo_PAddress(1, z, '2', zPlanePulses(r_, run_.ScanZ)),
                       "KX10Motor_MoveTo_PAddress"))
                return;
            run_.ScanX = 0;
            run_.ScanY = 0;
            clearMaps();
            run_.ScanState = 10;
            return;
        case 220:
        case 300:
            run_.ScanState = 900;
            return;
        case 900:
            st_.ScanMode = 0;
            kx_.KX10MCA_2DSCAN_Stop(1, mca1());
            finish();
            return;
        default:
            return;
    }
}

}  // namespace qor
