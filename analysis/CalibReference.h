#pragma once
// Reference channel of a calibration ROI: where the calibration dialog places the peak of ROI k
// of a spectrum.

#include <cstdint>

namespace qor {

// The reference channel of the ROI [lo, hi] of `counts` (channels 0..channels-1):
// - 0 when hi is 0 (the ROI is not set);
// - for a ROI of more than 30 channels the median channel: the first channel at which the
//   running sum from lo upward exceeds half the ROI's total (lo + n when it never does);
// - otherwise the channel of the highest count, the first of equal highest counts, searched from
//   count 0 (0 when no count is above 0).
// The ROI ends are first held inside the spectrum, so nothing is read outside `counts`.
int32_t calibReferenceChannel(const int32_t* counts, int channels, int32_t lo, int32_t hi);

}  // namespace qor
