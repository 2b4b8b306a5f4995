#pragma once
// The detector's resolution and the candidate filter matched to it. The peak width grows with
// energy as FWHM^2 = a + b * channel (electronic noise plus the statistics of the charge). The
// filter is matched to the peak: at each channel it weighs the counts above the continuum with a
// Gaussian of that channel's width (the weighting that best tells a peak of that shape from
// noise); a channel's significance is the response over the square root of its own Poisson
// variance (the weights squared times the counts).

#include <vector>

namespace qor {

constexpr double kFwhmPerSigma = 2.3548200450309493;   // 2 sqrt(2 ln 2)
constexpr double kMinFwhm = 1.5;                       // channels; narrower is not a peak

struct ResolutionCurve {
    double a = 64.0;   // FWHM^2 at channel 0, channels^2
    double b = 0.0;    // channels

    // FWHM at `channel`, never below kMinFwhm.
    double fwhm(double channel) const;
    static ResolutionCurve constant(double fwhm) { return {fwhm * fwhm, 0.0}; }
};

// Fits FWHM^2 = a + b * channel to the widths of isolated peaks, each weighted by the inverse
// variance of its FWHM^2. Points more than 25 % off the first fit are dropped and the fit is
// repeated. With fewer than three usable points, or when they span too few channels to tell a
// slope, or when the widths would shrink toward higher channels, the curve is the weighted mean
// width at every channel. False (curve untouched) when no
// point has a positive width and error.
bool fitResolutionCurve(const double* channel, const double* fwhm, const double* fwhmError, int n,
                        ResolutionCurve& curve);

// Response and Poisson variance of the filter over channels 0..n-1 of `counts` above
// `background` (both held at the arrays' ends). `widthFactor` scales the filter's Gaussian
// relative to the peak's.
void resolutionFilter(const double* counts, const double* background, int n,
                      const ResolutionCurve& curve, double widthFactor, double* response,
                      double* variance);

// Channels first..last where the significance response / sqrt(variance) has a local maximum of
// at least `threshold`; of two maxima closer than half a FWHM the weaker is dropped. Sorted by
// channel.
std::vector<int> filterCandidates(const double* response, const double* variance, int n, int first,
                                  int last, double threshold, const ResolutionCurve& curve);

}  // namespace qor
