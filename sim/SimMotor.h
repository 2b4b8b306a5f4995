#pragma once
// A simulated four-axis stepping-motor controller.
//
// Each axis runs a trapezoidal profile in simulated time: it starts at its start speed, speeds up
// by its acceleration to the maximum speed and slows down again to arrive at the target; a new
// target in mid-move is taken from the present position and speed (heading the other way it brakes
// first); a relative move counts from the present pulse address. The acceleration in pulses/s^2
// is the ramp value times 10, 5 or 2.5 for the acceleration classes 0 ("large"), 1 and 2; a ramp
// value of 0 or a start speed at or above the maximum runs at constant speed. A halt stops at
// once. Speeds from 1 to 500000 pulses/s are accepted; a maximum below the start speed runs at
// the start speed.
//
// The position counter (pulse address) can be set without moving; the end-of-travel switches sit
// at a fixed physical distance from the power-on position (SimConfig::travelPulses) on either
// side, CCW on the minus side and CW on the plus side. An axis driven into a switch stops there
// and its lamp lights until it moves off again.
//
// The non-stop (pixel) function belongs to the controller and counts the pulses of axis 0: every
// interval-pulse count of them sends one pixel signal to the analysers. Setting the interval
// restarts the count; an interval of 0 switches the signals off.

#include <cstdint>

namespace qor {

struct SimAxis {
    double pos = 0.0;      // physical position in pulses from the power-on position
    int64_t offset = 0;    // pulse address = rounded physical position + offset
    double target = 0.0;   // physical target
    double v = 0.0;        // signed speed, pulses/s
    bool moving = false;
    int32_t startPps = 50;
    int32_t maxPps = 200;
    int32_t ramp = 100;
    int32_t accelClass = 0;
    double acceleration() const;  // pulses/s^2, infinity for a constant-speed run
};

// Memory dump of the controller (KX10Motor_Read_18memory2), little-endian int32 fields:
// [0] 'M', [1..4] interval pulses, [5..8] pulses counted toward the next pixel, [9..12] pixel
// signals sent since the interval was set, [13..16] pulse address of the axis asked for, [17..20]
// its start speed, [21..24] its maximum speed, [25] its acceleration class, [26] '1' while it
// moves, [63] 'E'.
constexpr int kSimMemoryDumpSize = 64;

class SimMotorController {
public:
    explicit SimMotorController(int32_t travelPulses) : travel_(travelPulses > 0 ? travelPulses : 1) {}

    static constexpr int kAxes = 4;
    static constexpr int kMaxPps = 500000;

    bool setSpeed(int a, int32_t startPps, int32_t maxPps, int32_t ramp, int32_t accelClass);
    void setAddress(int a, int32_t pulses);
    void moveTo(int a, int32_t pulses);
    void relMove(int a, int32_t pulses);
    void halt(int a);
    bool setInterval(int32_t pulses);

    int32_t address(int a) const;
    double physical(int a) const { return axes_[a].pos; }
    bool moving(int a) const { return axes_[a].moving; }
    bool ccwLimit(int a) const { return axes_[a].pos <= -travel_ + 1e-9; }
    bool cwLimit(int a) const { return axes_[a].pos >= travel_ - 1e-9; }
    bool anyMoving() const;
    int32_t interval() const { return interval_; }
    const SimAxis& axis(int a) const { return axes_[a]; }

    // Advances every axis by one millisecond. The fractions of the millisecond (0 .. 1] at which
    // pixel signals fall are written to closeAt (at most maxCloses; more are lumped on the last);
    // returns their number.
    int stepMs(double* closeAt, int maxCloses);

    void memoryDump(int a, uint8_t (&out)[kSimMemoryDumpSize]) const;

private:
    void stepAxis(SimAxis& x, double dt);

    SimAxis axes_[kAxes];
    int32_t travel_;
    int32_t interval_ = 0;
    int64_t counted_ = 0;      // pulses of axis 0 toward the next pixel signal
    int64_t signals_ = 0;      // pixel signals since the interval was set
};

}  // namespace qor
