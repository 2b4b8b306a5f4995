#pragma once
// The fitting peak search: the continuum by clipping, candidates from the filter matched to the
// detector's resolution, and each group of overlapping candidates fitted together. Without a
// resolution curve from the operator, the curve is first fitted to the widths of the strong
// isolated peaks (starting from the expected FWHM), then the search runs with it: when those
// peaks follow the curve closely, every width is the curve's; otherwise each group of peaks
// shares one width scale of its own (or each peak has its own, with `freeWidth`). A group grows
// by a peak at a shoulder or where the fit leaves counts unexplained only when the fit improves
// by at least the significance squared (25 with free widths) times its chi-square per degree of
// freedom.

#include "analysis/PeakFit.h"
#include "analysis/ResolutionFilter.h"

#include <vector>

namespace qor {

struct FitSearchOptions {
    int first = 20, last = -1;     // channels searched (last -1: the spectrum's last but 20)
    double significance = 4.0;     // a peak is kept when its area is this many standard errors
    bool curveGiven = false;       // `curve` set by the operator, not fitted
    ResolutionCurve curve;
    double expectedFwhm = 0;       // start width of the curve's fit; 0: 8 channels
    bool freeWidth = false;        // one width per peak instead of one scale on the curve
    int cursor = -1;               // >= 0: only the group of the candidates within 1 FWHM of it
};

struct FoundPeak {
    FittedPeak fit;
    double background = 0;   // the fitted continuum's counts over lo..hi
    int lo = 0, hi = 0;      // the peak's ROI: centroid -+ 1.5 FWHM, held inside the spectrum
};

struct FitSearchResult {
    std::vector<FoundPeak> peaks;   // by centroid
    ResolutionCurve curve;          // the curve the search used
    bool curveFitted = false;       // fitted to this spectrum's peaks
};

// Searches channels of `counts` (n channels). Any n >= 0 is accepted; an empty or flat spectrum
// gives no peak.
FitSearchResult fitSearch(const double* counts, int n, const FitSearchOptions& options);

}  // namespace qor
