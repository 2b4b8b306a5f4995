// The analysis engine: the narrow peak search of a whole spectrum, smoothing, one peak
// measurement.

#include "analysis/Merincalc.h"
#include "analysis/PeakAnalysis.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <random>
#include <vector>

namespace {

// A Poisson spectrum of 4096 channels: a sloped continuum and 30 peaks of FWHM 3..10 channels.
std::vector<int32_t> peakSpectrum() {
    std::mt19937 rng(12);
    std::vector<double> mean(qor::kSlotChannels);
    for (int c = 0; c < qor::kSlotChannels; ++c) mean[c] = 300.0 - 0.06 * c;
    for (int i = 0; i < 30; ++i) {
        const double centre = 80.0 + 130.0 * i;
        const double sigma = (3.0 + (i % 8)) / 2.3548;
        const double height = 100.0 * std::pow(10.0, (i % 5) * 0.5);
        for (int c = 0; c < qor::kSlotChannels; ++c) {
            const double d = (c - centre) / sigma;
            if (std::fabs(d) < 8) mean[c] += height * std::exp(-0.5 * d * d);
        }
    }
    std::vector<int32_t> s(qor::kSlotChannels);
    for (int c = 0; c < qor::kSlotChannels; ++c)
        s[c] = std::poisson_distribution<int32_t>(mean[c])(rng);
    return s;
}

// Copy-in of the slot and the narrow search with the 13-point filter at 4 sigma.
void BM_PeakSearch4096(benchmark::State& state) {
    const std::vector<int32_t> s = peakSpectrum();
    qor::CMerinCalcc engine;
    qor::PeakResults res;
    const double params[5] = {5, 20, 4076, 99, 4.0};
    int32_t found = 0;
    for (auto _ : state) {
        qor::copySlotToEngine(engine, s.data());
        found = engine.SearchPeaks(params, res.PeakChannel, res.PeakNet, res.PeakBackground,
                                   res.PeakError, res.PeakFwhm, res.PeakLow, res.PeakHigh);
        benchmark::DoNotOptimize(res.PeakChannel);
    }
    state.counters["peaks"] = found;
}
BENCHMARK(BM_PeakSearch4096)->Unit(benchmark::kMicrosecond);

// Smoothing of 4096 channels with the 9-point Gaussian weights (the widest table row).
void BM_Smooth4096(benchmark::State& state) {
    const std::vector<int32_t> s = peakSpectrum();
    qor::CMerinCalcc engine;
    qor::copySlotToEngine(engine, s.data());
    for (auto _ : state) {
        benchmark::DoNotOptimize(engine.Smooth(1, 9, 4096));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Smooth4096)->Unit(benchmark::kMicrosecond);

// One measurement of a peak of FWHM 16 channels with the expected width 16.
void BM_MeasurePeak(benchmark::State& state) {
    std::vector<int32_t> s(qor::kSlotChannels, 80);
    for (int c = 0; c < qor::kSlotChannels; ++c) {
        const double d = (c - 805.0) / (16.0 / 2.3548);
        s[c] += static_cast<int32_t>(4000.0 * std::exp(-0.5 * d * d));
    }
    qor::CMerinCalcc engine;
    qor::copySlotToEngine(engine, s.data());
    int32_t p, lo, hi;
    double net, bg, fwhm, err;
    for (auto _ : state) {
        benchmark::DoNotOptimize(engine.MeasurePeak(16, 800, 2048, p, lo, hi, net, bg, fwhm, err));
        benchmark::DoNotOptimize(net);
    }
}
BENCHMARK(BM_MeasurePeak)->Unit(benchmark::kMicrosecond);

}  // namespace
