#include "analysis/EnergyScale.h"

#include "spectrum/SpectrumView.h"

#include <cmath>

namespace qor {

EnergyScale EnergyScale::ofSlot(const InfoRecord& rec, int s) {
    s = clampSlot(s);
    EnergyScale e;
    e.a = rec.CalibA[s];
    e.b = rec.CalibB[s];
    const int order = rec.CalibOrder[s];
    e.c = order >= 1 ? rec.CalibC[s] : 0.0;
    e.d = order >= 2 ? rec.CalibD[s] : 0.0;
    e.channels = viewChannels(rec.SlotViewChannels[s]);
    return e;
}

EnergyScale EnergyScale::linear(double a, double b, int channels) {
    EnergyScale e;
    e.a = a;
    e.b = b;
    e.channels = channels >= 2 ? channels : 2;
    return e;
}

bool EnergyScale::valid() const {
    if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(c) || !std::isfinite(d))
        return false;
    if (channels < 2) return false;
    // Rising at both ends and in the middle (a cubic that turns inside the range is refused).
    const double last = channels - 1;
    return slope(0.0) > 0.0 && slope(last * 0.5) > 0.0 && slope(last) > 0.0 &&
           energy(last) > energy(0.0);
}

bool EnergyScale::channelOf(double e, double& x) const {
    if (!valid() || !std::isfinite(e)) return false;
    double lo = 0.0, hi = channels - 1;
    if (e < energy(lo) || e > energy(hi)) return false;
    if (c == 0.0 && d == 0.0) {
        x = (e - a) / b;
        return true;
    }
    for (int i = 0; i < 60; ++i) {
        const double mid = 0.5 * (lo + hi);
        (energy(mid) < e ? lo : hi) = mid;
    }
    x = 0.5 * (lo + hi);
    return true;
}

}  // namespace qor
