// The spectrum files of 4096 channels: formatting into the reused buffer and reading back from
// the bytes of a file (the disk aside).

#include "spectrum/SpectrumFiles.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <random>
#include <string>

namespace {

// A spectrum with counts of every width, the live and real time in channels 0 and 1.
struct Spectrum {
    int32_t data[qor::kFileMaxChannels];
    int32_t roiStart[128] = {};
    int32_t roiEnd[128] = {};
    Spectrum() {
        std::mt19937 rng(7);
        for (int k = 0; k < qor::kFileMaxChannels; ++k)
            data[k] = static_cast<int32_t>(rng() % (k < 100 ? 100000000u : 50000u));
        for (int r = 1; r < 100; ++r) {
            roiStart[r] = 40 * r;
            roiEnd[r] = 40 * r + 20;
        }
    }
    qor::DatContent content() const {
        qor::DatContent c;
        c.channels = qor::kFileMaxChannels;
        c.roiStart = roiStart;
        c.roiEnd = roiEnd;
        c.preset = 1000;
        c.comment1 = "Fe disc, 30 kV";
        c.comment2 = "1 s live";
        c.data = data;
        return c;
    }
};

const Spectrum& spectrum() {
    static const Spectrum s;
    return s;
}

}  // namespace

static void BM_WriteDat4096(benchmark::State& state) {
    uint8_t header[qor::kDatHeaderSize] = {};
    std::string out, error;
    const qor::DatContent c = spectrum().content();
    for (auto _ : state) {
        qor::buildDat(header, c, out, error);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(out.size()));
}
BENCHMARK(BM_WriteDat4096)->Unit(benchmark::kMicrosecond);

static void BM_ReadDat4096(benchmark::State& state) {
    uint8_t header[qor::kDatHeaderSize] = {};
    std::string bytes, error;
    qor::buildDat(header, spectrum().content(), bytes, error);
    auto file = std::make_unique<qor::DatFile>();
    for (auto _ : state) {
        qor::readDat(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), *file, error);
        benchmark::DoNotOptimize(file->data[4095]);
    }
}
BENCHMARK(BM_ReadDat4096)->Unit(benchmark::kMicrosecond);

static void BM_WriteCsv4096(benchmark::State& state) {
    std::string out, error;
    for (auto _ : state) {
        qor::buildCsv(spectrum().data, qor::kFileMaxChannels, true, "Fe disc, 30 kV", "1 s live",
                      out, error);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(out.size()));
}
BENCHMARK(BM_WriteCsv4096)->Unit(benchmark::kMicrosecond);

static void BM_ReadCsv4096(benchmark::State& state) {
    std::string text, error;
    qor::buildCsv(spectrum().data, qor::kFileMaxChannels, true, "Fe disc, 30 kV", "1 s live", text,
                  error);
    static int32_t work[qor::kFileMaxChannels];
    qor::CsvReadInfo info;
    for (auto _ : state) {
        qor::readCsv(text.data(), text.size(), qor::kFileMaxChannels, work, info);
        benchmark::DoNotOptimize(work[4095]);
    }
}
BENCHMARK(BM_ReadCsv4096)->Unit(benchmark::kMicrosecond);
