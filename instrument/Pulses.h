#pragma once
// Logical units of the motor axes: positions, targets and steps are typed and shown in logical
// units (mm, degrees ...); the controllers count pulses. Each motor has an integer count of
// pulses per logical unit.

#include <cmath>
#include <cstdint>
#include <limits>

namespace qor {

// A real number truncated toward zero into an int32, held inside the int32 range (NaN gives 0),
// so that no conversion of an absurd value is undefined.
inline int32_t truncToInt32(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

// A commanded pulse address: (pulses per unit x units + 0.5) truncated toward zero, so a negative
// target rounds toward zero (-2.7 units at 1 pulse per unit gives -2).
inline int32_t logicalToPulses(int32_t pulsesPerUnit, double units) {
    return truncToInt32(static_cast<double>(pulsesPerUnit) * units + 0.5);
}

// Pulse address to logical units. A motor whose pulses per unit is zero or negative has no
// meaningful position: it reads as 0 instead of dividing.
inline double pulsesToLogical(int32_t pulses, int32_t pulsesPerUnit) {
    if (pulsesPerUnit <= 0) return 0.0;
    return static_cast<double>(pulses) / static_cast<double>(pulsesPerUnit);
}

}  // namespace qor
