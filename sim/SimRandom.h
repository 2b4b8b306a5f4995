#pragma once
// Seeded random numbers of the simulated instrument: a small fast generator (xoshiro256**, seeded
// through splitmix64) and the Poisson draws that turn expected counts into counts.

#include <cstdint>

namespace qor {

class SimRandom {
public:
    explicit SimRandom(uint64_t seed = 1) { reseed(seed); }
    void reseed(uint64_t seed);

    uint64_t next();
    // Uniform in [0, 1).
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    // A Poisson-distributed count with mean `mean` (0 for a mean that is not positive).
    int64_t poisson(double mean);

private:
    uint64_t s_[4];
};

}  // namespace qor
