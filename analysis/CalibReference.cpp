#include "analysis/CalibReference.h"

#include <algorithm>

namespace qor {

int32_t calibReferenceChannel(const int32_t* counts, int channels, int32_t lo, int32_t hi) {
    if (hi == 0 || channels <= 0) return 0;
    lo = std::clamp(lo, 0, channels - 1);
    hi = std::clamp(hi, 0, channels - 1);
    const int32_t n = hi - lo + 1;
    if (n > 30) {
        // Totals of up to 4096 channels of 32-bit counts need 64 bits.
        int64_t sum = 0;
        for (int32_t c = lo; c < lo + n; ++c) sum += counts[c];
        const int64_t half = sum / 2;
        int64_t running = 0;
        for (int32_t c = lo; c < lo + n; ++c) {
            running += counts[c];
            if (running > half) return c;
        }
        return lo + n;
    }
    int32_t best = 0;
    int32_t highest = 0;
    for (int32_t c = lo; c < lo + n; ++c) {
        if (counts[c] > highest) {
            highest = counts[c];
            best = c;
        }
    }
    return best;
}

}  // namespace qor
