// The fitting peak search over a whole spectrum: clipped background, the resolution-matched
// filter, the resolution curve from the isolated peaks and the fits of every group.

#include "analysis/FitSearch.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <random>
#include <vector>

namespace {

// A Poisson spectrum of 4096 channels: a sloped continuum and 30 peaks whose FWHM follows a
// detector's resolution (4 channels at channel 0, 12 at the last), four of them pairs 1.5 FWHM
// apart.
std::vector<double> fitSpectrum() {
    std::mt19937 rng(21);
    std::vector<double> mean(4096);
    for (int c = 0; c < 4096; ++c) mean[c] = 300.0 - 0.06 * c;
    const auto fwhm = [](double c) { return std::sqrt(16.0 + 128.0 * c / 4096.0); };
    for (int i = 0; i < 30; ++i) {
        double centre = 80.0 + 130.0 * i;
        if (i % 8 == 1) centre = 80.0 + 130.0 * (i - 1) + 1.5 * fwhm(centre);
        const double sigma = fwhm(centre) / 2.3548;
        const double height = 100.0 * std::pow(10.0, (i % 5) * 0.5);
        for (int c = 0; c < 4096; ++c) {
            const double d = (c - centre) / sigma;
            if (std::fabs(d) < 8) mean[c] += height * std::exp(-0.5 * d * d);
        }
    }
    std::vector<double> s(4096);
    for (int c = 0; c < 4096; ++c) s[c] = std::poisson_distribution<int>(mean[c])(rng);
    return s;
}

void BM_FitSearch4096(benchmark::State& state) {
    const std::vector<double> s = fitSpectrum();
    qor::FitSearchOptions o;
    o.last = 4075;
    size_t found = 0;
    for (auto _ : state) {
        const qor::FitSearchResult r = qor::fitSearch(s.data(), 4096, o);
        found = r.peaks.size();
        benchmark::DoNotOptimize(r.peaks.data());
    }
    state.counters["peaks"] = double(found);
}
BENCHMARK(BM_FitSearch4096)->Unit(benchmark::kMicrosecond);

}  // namespace
