#include "sim/SimRandom.h"

#include <cmath>

namespace qor {

namespace {
uint64_t splitmix(uint64_t& x) {
    uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}
inline uint64_t rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
}  // namespace

void SimRandom::reseed(uint64_t seed) {
    for (uint64_t& s : s_) s = splitmix(seed);
}

uint64_t SimRandom::next() {
    const uint64_t result = rotl(s_[1] * 5, 7) * 9;
    const uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = rotl(s_[3], 45);
    return result;
}

int64_t SimRandom::poisson(double mean) {
    if (!(mean > 0.0)) return 0;
    if (mean < 10.0) {
        // Multiplication of uniforms until the product drops below exp(-mean).
        const double limit = std::exp(-mean);
        double p = uniform();
        int64_t k = 0;
        while (p > limit) {
            p *= uniform();
            ++k;
        }
        return k;
    }
    // Transformed rejection with squeeze (exact for every mean >= 10).
    const double slam = std::sqrt(mean);
    const double loglam = std::log(mean);
    const double b = 0.931 + 2.53 * slam;
    const double a = -0.059 + 0.02483 * b;
    const double invalpha = 1.1239 + 1.1328 / (b - 3.4);
    const double vr = 0.9277 - 3.6224 / (b - 2.0);
    for (;;) {
        const double u = uniform() - 0.5;
        const double v = uniform();
        const double us = 0.5 - std::fabs(u);
        const double k = std::floor((2.0 * a / us + b) * u + mean + 0.43);
        if (us >= 0.07 && v <= vr) return static_cast<int64_t>(k);
        if (k < 0.0 || (us < 0.013 && v > us)) continue;
        if (std::log(v) + std::log(invalpha) - std::log(a / (us * us) + b) <=
            -mean + k * loglam - std::lgamma(k + 1.0))
            return static_cast<int64_t>(k);
    }
}

}  // namespace qor
