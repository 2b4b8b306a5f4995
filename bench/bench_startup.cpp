// Start-up work that the program does before its window shows: the 128 MiB map test pattern.

#include "scan/MapStore.h"

#include <benchmark/benchmark.h>

static void BM_MapTestPattern(benchmark::State& state) {
    static qor::MapStore maps;
    for (auto _ : state) {
        maps.fillTestPattern();
        benchmark::DoNotOptimize(maps.data());
    }
}
BENCHMARK(BM_MapTestPattern)->Unit(benchmark::kMillisecond);
