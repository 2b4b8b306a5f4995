#pragma once
// Spectra of the simulated specimen made straight from the simulator's analyser model, for
// tests that need a measured spectrum without running the window's acquisition.

#include <cstdint>

namespace qor {

// The spectrum an element scan over the whole tile gives: the stage sweeps the tile in a fine
// grid, `seconds` of real time in all, into `channels` channels (2048: 10 eV a channel). Writes
// all 4096 entries of `out` (channels 0 and 1 the live and real time, the rest 0 above the
// channel count).
void elementScanSpectrum(int32_t channels, double seconds, uint64_t seed, int32_t* out);

}  // namespace qor
