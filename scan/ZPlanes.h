#pragma once
// The Z planes of a mapping scan after the first: plane k lies k x ZStep above ZStart on a rising
// range (ZStart < ZEnd) and below it on a falling or empty one, computed in single precision;
// the pulses add 0.5 on a rising range and subtract it otherwise, truncated toward zero.

#include "app/InfoRecord.h"

#include <cstdint>

namespace qor {

// The pulse value of plane `scanZ` before its truncation (single-precision arithmetic).
double zPlaneScaled(const InfoRecord& r, int scanZ);
// The pulse address of plane `scanZ`, held inside the int32 range (a value beyond it saturates,
// one that is no number gives 0; Start SCAN refuses such planes before they are reached).
int32_t zPlanePulses(const InfoRecord& r, int scanZ);

}  // namespace qor
