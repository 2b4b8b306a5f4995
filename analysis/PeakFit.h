#pragma once
// Fits a group of overlapping peaks by non-linear least squares (Levenberg-Marquardt from
// cminpack) with Poisson weights: one Gaussian per peak (centroid, area, width) over a fixed
// background plus a straight-line correction. The widths are either tied together, one scale on
// the resolution curve's width at every peak, or free, one scale per peak. Standard errors come
// from the covariance of the fit, not scaled by its chi-square (the weights are the counts' own
// variances).

#include <vector>

namespace qor {

constexpr int kMaxGroupPeaks = 8;

struct FittedPeak {
    double centroid = 0, centroidError = 0;
    double fwhm = 0, fwhmError = 0;
    double area = 0, areaError = 0;
};

struct PeakGroup {
    // Channels lo..hi are fitted. counts, fixed (the background and the peaks of other groups)
    // and variance (the weight of each channel is 1 / variance) cover the whole spectrum.
    const double* counts = nullptr;
    const double* fixed = nullptr;
    const double* variance = nullptr;
    int lo = 0, hi = -1;
    int peaks = 0;
    double centroid[kMaxGroupPeaks] = {};   // start values
    double area[kMaxGroupPeaks] = {};
    double fwhm[kMaxGroupPeaks] = {};       // the resolution curve's width at each peak
    bool freeWidth = false;
    bool fixedWidth = false;   // every width exactly the curve's (no width parameter)
};

struct GroupFit {
    bool ok = false;
    double chi2 = 0;
    int dof = 0;
    double offset = 0, slope = 0;   // correction to the fixed background: offset + slope (c - mid)
    int mid = 0;
    FittedPeak peak[kMaxGroupPeaks];

    // Background correction at channel c.
    double correction(int c) const { return offset + slope * (c - mid); }
    // The fitted peaks' counts at channel c.
    double peaksAt(int c) const;
};

// Reusable storage of the fits (no allocation once grown).
struct FitWork {
    std::vector<double> fvec, fjac, wa, diag, qtf, x;
    std::vector<int> ipvt;
};

// Fits the group; `ok` false when it has no peak, more than kMaxGroupPeaks, fewer channels than
// parameters, or the solver gives up on its input.
GroupFit fitPeakGroup(const PeakGroup& group, FitWork& work);

}  // namespace qor
