#pragma once
// The detector's view of the specimen: the expected count rate of every channel for each emitting
// component (the scattered continuum and the elements Ti, Fe, Cu, Zn, Pb at unit concentration).
//
// Energy calibration of the simulated analyser: 0 to 20.48 keV over the full channel range, so
// channel c of an N-channel spectrum covers c * 20.48 / N keV to (c + 1) * 20.48 / N keV. At 2048
// channels that is 10 eV per channel (channel 640 = 6.40 keV, the Fe K-alpha line); at 4096
// channels 5 eV, at 256 channels 80 eV. The rates are kept at the finest resolution (4096
// channels of 5 eV); coarser channel sizes sum neighbouring fine channels.
//
// Lines sit at their real energies with a Gaussian detector response whose width grows with
// energy: FWHM(E) = sqrt(FWHM0^2 + 2.355^2 * 3.85 eV * 0.115 * E), FWHM0 = 100 eV (about 156 eV
// at 5.9 keV).

#include <cstdint>

namespace qor {

constexpr int kSimFineChannels = 4096;
constexpr double kSimFineChannelKeV = 0.005;
constexpr double kSimFullScaleKeV = kSimFineChannels * kSimFineChannelKeV;  // 20.48 keV

enum SimComponent : int { kContinuum = 0, kTi, kFe, kCu, kZn, kPb, kSimComponents };

class SimEmission {
public:
    // `rateScale` multiplies every rate (1.0: a full-concentration K-alpha line near 3000/s).
    explicit SimEmission(double rateScale = 1.0);

    // Expected counts per second in fine channel i for component c at unit weight.
    double rate(int c, int i) const { return rate_[c][i]; }
    const double* rates(int c) const { return rate_[c]; }
    // Sum of the rates of component c over fine channels [lo, hi) (clamped to the range).
    double rateSum(int c, int lo, int hi) const;
    // Total rate of component c over the whole range.
    double totalRate(int c) const { return prefix_[c][kSimFineChannels]; }
    // Input rate (counts/s reaching the detector) at component weights w.
    double inputRate(const double w[kSimComponents]) const;
    // Live share of real time at weights w for a non-paralysable dead time per event.
    double liveFraction(const double w[kSimComponents], double deadTimeSec) const {
        return 1.0 / (1.0 + inputRate(w) * deadTimeSec);
    }

    static double fwhmKeV(double energyKeV);
    static const char* componentName(int c);

private:
    void addLine(int c, double energyKeV, double cps);
    double rate_[kSimComponents][kSimFineChannels] = {};
    double prefix_[kSimComponents][kSimFineChannels + 1] = {};
};

}  // namespace qor
