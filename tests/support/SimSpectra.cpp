#include "support/SimSpectra.h"

#include "sim/SimEmission.h"
#include "sim/SimMca.h"
#include "sim/SimRandom.h"
#include "sim/SimSample.h"

#include <memory>

namespace qor {

void elementScanSpectrum(int32_t channels, double seconds, uint64_t seed, int32_t* out) {
    auto emission = std::make_unique<SimEmission>();
    auto mca = std::make_unique<SimMca>(*emission, 2e-6);
    SimRandom rng(seed);
    mca->preset(1, channels, 1 << 30);
    mca->start();
    constexpr int kGrid = 64;
    const double dt = seconds / (kGrid * kGrid);
    double w[kSimComponents];
    for (int j = 0; j < kGrid; ++j)
        for (int i = 0; i < kGrid; ++i) {
            SimSample::weightsInTile((i + 0.5) / kGrid, (j + 0.5) / kGrid, w);
            mca->integrate(dt, w);
        }
    for (int first = 0; first < 4096; first += 256)
        if (!mca->readBlock(first, out + first, rng))
            for (int k = 0; k < 256; ++k) out[first + k] = 0;
}

}  // namespace qor
