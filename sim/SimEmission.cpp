#include "sim/SimEmission.h"

#include <algorithm>
#include <cmath>

namespace qor {

namespace {
struct Line {
    SimComponent component;
    double energyKeV;
    double cps;  // at unit concentration, rateScale 1
};

// Characteristic lines (keV) with rough relative intensities.
const Line kLines[] = {
    {kContinuum, 2.957, 120.0}, {kContinuum, 3.190, 12.0},  // Ar K-alpha and K-beta of the air path
    {kTi, 4.511, 2500.0}, {kTi, 4.932, 330.0},
    {kFe, 6.404, 3000.0}, {kFe, 7.058, 400.0},
    {kCu, 8.048, 3000.0}, {kCu, 8.905, 420.0},
    {kZn, 8.639, 3000.0}, {kZn, 9.572, 430.0},
    {kPb, 2.345, 500.0},  // M
    {kPb, 9.185, 90.0},   // L-l
    {kPb, 10.551, 2000.0}, {kPb, 12.614, 1500.0}, {kPb, 14.764, 220.0},
};

// Scattered tube continuum (30 kV) seen through the detector window, total about 2000/s.
constexpr double kTubeKeV = 30.0;
constexpr double kContinuumCps = 2000.0;

double continuumShape(double e) {
    if (e <= 0.0 || e >= kTubeKeV) return 0.0;
    const double kramers = (kTubeKeV - e) / e;
    const double window = std::exp(-std::pow(1.3 / e, 3.0));
    const double efficiency = 1.0 - std::exp(-std::pow(16.0 / e, 2.5));
    return kramers * window * efficiency;
}
}  // namespace

double SimEmission::fwhmKeV(double e) {
    const double fwhm0 = 0.100;
    const double statistical = 2.355 * 2.355 * 0.00385 * 0.115 * (e > 0.0 ? e : 0.0);
    return std::sqrt(fwhm0 * fwhm0 + statistical);
}

const char* SimEmission::componentName(int c) {
    static const char* const kNames[] = {"continuum", "Ti", "Fe", "Cu", "Zn", "Pb"};
    return c >= 0 && c < kSimComponents ? kNames[c] : "";
}

SimEmission::SimEmission(double rateScale) {
    if (!(rateScale >= 0.0)) rateScale = 0.0;
    double shape[kSimFineChannels];
    double sum = 0.0;
    for (int i = 0; i < kSimFineChannels; ++i) {
        shape[i] = continuumShape((i + 0.5) * kSimFineChannelKeV);
        sum += shape[i];
    }
    for (int i = 0; i < kSimFineChannels; ++i)
        rate_[kContinuum][i] = sum > 0.0 ? kContinuumCps * shape[i] / sum : 0.0;
    for (const Line& l : kLines) addLine(l.component, l.energyKeV, l.cps);
    for (int c = 0; c < kSimComponents; ++c) {
        prefix_[c][0] = 0.0;
        for (int i = 0; i < kSimFineChannels; ++i) {
            rate_[c][i] *= rateScale;
            prefix_[c][i + 1] = prefix_[c][i] + rate_[c][i];
        }
    }
}

void SimEmission::addLine(int c, double e, double cps) {
    const double sigma = fwhmKeV(e) / 2.3548;
    const double lo = e - 6.0 * sigma;
    const double hi = e + 6.0 * sigma;
    const int first = std::max(0, static_cast<int>(lo / kSimFineChannelKeV));
    const int last = std::min(kSimFineChannels - 1, static_cast<int>(hi / kSimFineChannelKeV));
    const double k = 1.0 / (sigma * std::sqrt(2.0));
    for (int i = first; i <= last; ++i) {
        const double a = i * kSimFineChannelKeV;
        const double b = a + kSimFineChannelKeV;
        rate_[c][i] += cps * 0.5 * (std::erf((b - e) * k) - std::erf((a - e) * k));
    }
}

double SimEmission::inputRate(const double w[kSimComponents]) const {
    double r = 0.0;
    for (int c = 0; c < kSimComponents; ++c) r += w[c] * totalRate(c);
    return r;
}

double SimEmission::rateSum(int c, int lo, int hi) const {
    lo = std::clamp(lo, 0, kSimFineChannels);
    hi = std::clamp(hi, 0, kSimFineChannels);
    return hi > lo ? prefix_[c][hi] - prefix_[c][lo] : 0.0;
}

}  // namespace qor
