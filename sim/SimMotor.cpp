#include "sim/SimMotor.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace qor {

namespace {
constexpr double kAccelPerRamp[3] = {10.0, 5.0, 2.5};

void putInt(uint8_t* p, int64_t v) {
    const int32_t x = static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
    const uint32_t u = static_cast<uint32_t>(x);
    p[0] = static_cast<uint8_t>(u);
    p[1] = static_cast<uint8_t>(u >> 8);
    p[2] = static_cast<uint8_t>(u >> 16);
    p[3] = static_cast<uint8_t>(u >> 24);
}
}  // namespace

double SimAxis::acceleration() const {
    if (ramp <= 0 || startPps >= maxPps) return std::numeric_limits<double>::infinity();
    return ramp * kAccelPerRamp[std::clamp(accelClass, 0, 2)];
}

bool SimMotorController::setSpeed(int a, int32_t startPps, int32_t maxPps, int32_t ramp,
                                  int32_t accelClass) {
    if (startPps < 1 || maxPps < 1 || startPps > kMaxPps || maxPps > kMaxPps || ramp < 0 ||
        accelClass < 0 || accelClass > 2)
        return false;
    SimAxis& x = axes_[a];
    x.startPps = startPps;
    x.maxPps = std::max(startPps, maxPps);
    x.ramp = ramp;
    x.accelClass = accelClass;
    return true;
}

int32_t SimMotorController::address(int a) const {
    const SimAxis& x = axes_[a];
    const int64_t v = static_cast<int64_t>(std::llround(x.pos)) + x.offset;
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

void SimMotorController::setAddress(int a, int32_t pulses) {
    SimAxis& x = axes_[a];
    x.offset = static_cast<int64_t>(pulses) - static_cast<int64_t>(std::llround(x.pos));
}

void SimMotorController::moveTo(int a, int32_t pulses) {
    SimAxis& x = axes_[a];
    x.target = static_cast<double>(static_cast<int64_t>(pulses) - x.offset);
    if (std::fabs(x.target - x.pos) < 1e-9 && !x.moving) return;
    x.moving = true;
}

void SimMotorController::relMove(int a, int32_t pulses) {
    moveTo(a, static_cast<int32_t>(std::clamp<int64_t>(
                  static_cast<int64_t>(address(a)) + pulses, std::numeric_limits<int32_t>::min(),
                  std::numeric_limits<int32_t>::max())));
}

void SimMotorController::halt(int a) {
    SimAxis& x = axes_[a];
    x.moving = false;
    x.v = 0.0;
    x.target = x.pos;
}

bool SimMotorController::setInterval(int32_t pulses) {
    if (pulses < 0) return false;
    interval_ = pulses;
    counted_ = 0;
    signals_ = 0;
    return true;
}

bool SimMotorController::anyMoving() const {
    for (const SimAxis& x : axes_)
        if (x.moving) return true;
    return false;
}

void SimMotorController::stepAxis(SimAxis& x, double dt) {
    if (!x.moving) return;
    const double d = x.target - x.pos;
    if (std::fabs(d) < 1e-9) {
        x.pos = x.target;
        x.moving = false;
        x.v = 0.0;
        return;
    }
    const int dir = d > 0 ? 1 : -1;
    const int vdir = x.v > 0 ? 1 : (x.v < 0 ? -1 : 0);
    const double vs = x.startPps;
    const double vm = std::max(x.startPps, x.maxPps);
    const double acc = x.acceleration();
    double speed = std::fabs(x.v);
    if (vdir != 0 && vdir != dir) {
        // Heading away from a new target: brake to the start speed, then turn.
        speed = std::isinf(acc) ? 0.0 : speed - acc * dt;
        if (speed <= vs) {
            x.v = 0.0;
            return;
        }
        x.v = vdir * speed;
        x.pos += x.v * dt;
    } else {
        if (speed < vs) speed = vs;
        const double remaining = std::fabs(d);
        if (std::isinf(acc)) {
            speed = vm;
        } else {
            const double brake = (speed * speed - vs * vs) / (2.0 * acc);
            if (remaining - speed * dt <= brake)
                speed = std::max(vs, speed - acc * dt);
            else
                speed = std::min(vm, speed + acc * dt);
        }
        const double stepLen = speed * dt;
        if (stepLen >= remaining) {
            x.pos = x.target;
            x.moving = false;
            x.v = 0.0;
        } else {
            x.pos += dir * stepLen;
            x.v = dir * speed;
        }
    }
    // A switch stops the axis where it sits.
    if (x.pos >= travel_ || x.pos <= -travel_) {
        x.pos = std::clamp<double>(x.pos, -travel_, travel_);
        x.moving = false;
        x.v = 0.0;
        x.target = x.pos;
    }
}

int SimMotorController::stepMs(double* closeAt, int maxCloses) {
    const int32_t before = address(0);
    for (SimAxis& x : axes_) stepAxis(x, 0.001);
    if (interval_ <= 0) return 0;
    const int64_t pulses = std::llabs(static_cast<int64_t>(address(0)) - before);
    if (pulses == 0) return 0;
    int n = 0;
    int64_t c = counted_;
    for (int64_t k = 1; k <= pulses; ++k) {
        if (++c >= interval_) {
            c = 0;
            ++signals_;
            const double f = static_cast<double>(k) / static_cast<double>(pulses);
            if (n < maxCloses) closeAt[n++] = f;
            else if (n > 0) closeAt[n - 1] = f;
        }
        // Skip ahead when no signal can fall in the rest of this millisecond.
        if (c + (pulses - k) < interval_) {
            c += pulses - k;
            break;
        }
    }
    counted_ = c;
    return n;
}

void SimMotorController::memoryDump(int a, uint8_t (&out)[kSimMemoryDumpSize]) const {
    std::memset(out, 0, sizeof out);
    const SimAxis& x = axes_[a];
    out[0] = 'M';
    putInt(out + 1, interval_);
    putInt(out + 5, counted_);
    putInt(out + 9, signals_);
    putInt(out + 13, address(a));
    putInt(out + 17, x.startPps);
    putInt(out + 21, x.maxPps);
    out[25] = static_cast<uint8_t>(x.accelClass);
    out[26] = x.moving ? '1' : '0';
    out[kSimMemoryDumpSize - 1] = 'E';
}

}  // namespace qor
