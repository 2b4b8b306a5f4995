#pragma once
// The continuum under the peaks by iterative clipping: on the square roots of the counts (which
// makes the noise the same size everywhere), each channel is replaced by the mean of its two
// neighbours p channels away whenever that mean is lower, for p from the clipping width down to
// 1. A peak narrower than the clipping width is cut away, the continuum is kept. The clipping
// width at each channel follows the expected peak width there.

#include "analysis/ResolutionFilter.h"

namespace qor {

// Background of channels 0..n-1 of `counts` into `background`: clipping width
// ceil(widthFactor * FWHM(channel)) channels. The square roots are first smoothed over about a
// quarter of the FWHM, so that the clipping does not follow the noise downward, and what is left
// of that downward pull (the median distance of the clipped from the smoothed roots) is added
// back.
void snipBackground(const double* counts, int n, const ResolutionCurve& curve, double widthFactor,
                    double* background);

}  // namespace qor
