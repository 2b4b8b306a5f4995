#pragma once
// Conversion of logical units (millimetres, degrees ...) to a commanded pulse address.

#include <cstdint>

namespace qor {

// pulsesPerUnit x units + 0.5, truncated toward zero. Values beyond the int32 range are held at
// its ends (and a value that is not a number gives 0) instead of overflowing the conversion.
int32_t logicalToPulses(int32_t pulsesPerUnit, double units);

}  // namespace qor
