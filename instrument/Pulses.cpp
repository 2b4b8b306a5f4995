#include "instrument/Pulses.h"

#include <cmath>
#include <limits>

namespace qor {

int32_t logicalToPulses(int32_t pulsesPerUnit, double units) {
    const double v = static_cast<double>(pulsesPerUnit) * units + 0.5;
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (v <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);  // truncates toward zero
}

}  // namespace qor
