#pragma once
// A slot's energy calibration as the line tables use it: channel to energy (orders 1 to 3) and
// its inverse, energy to channel.

#include "app/InfoRecord.h"

namespace qor {

// The calibration polynomial of one slot, E(x) = a + b x + c x^2 + d x^3 (c and d by order).
struct EnergyScale {
    double a = 0.0, b = 0.0, c = 0.0, d = 0.0;
    int channels = 4096;   // the slot's channel count: the inverse searches 0 .. channels - 1

    static EnergyScale ofSlot(const InfoRecord& rec, int s);
    static EnergyScale linear(double a, double b, int channels = 4096);

    double energy(double x) const { return a + x * (b + x * (c + x * d)); }
    // Energy per channel at channel x.
    double slope(double x) const { return b + x * (2.0 * c + x * 3.0 * d); }
    // True when the scale is a calibration: finite and rising across the slot's channels.
    bool valid() const;
    // The channel of energy e (fractional), inside 0 .. channels - 1; false when the scale is not
    // valid or e lies outside the slot's energies.
    bool channelOf(double e, double& x) const;
};

}  // namespace qor
