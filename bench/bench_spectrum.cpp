// The spectrum view and one acquisition tick of the MCA page.

#include "app/AppState.h"
#include "instrument/McaControl.h"
#include "sim/Kx10Simulator.h"
#include "spectrum/SpectrumPlot.h"

#include <QDateTime>
#include <QFont>
#include <benchmark/benchmark.h>
#include <memory>
#include <random>

namespace {

class BenchClock : public qor::Clock {
public:
    int64_t nowMs() const override { return now; }
    QDateTime localDateTime() const override { return QDateTime(QDate(2026, 12, 9), QTime(10, 0)); }
    void sleepMs(int ms) override { now += ms; }
    int64_t now = 0;
};

class QuietAlerts : public qor::Alerts {
public:
    void beep() override {}
    void message(const QString&) override {}
    void status(const QString&) override {}
};

// A 1000 x 560 view of 4096 channels with the WORK overlay and 100 ROIs.
std::unique_ptr<qor::AppState> viewState(bool randomFullHeight) {
    auto st = std::make_unique<qor::AppState>();
    qor::setCreationDefaults(st->rec, "/tmp/");
    qor::fillRoiColours(st->spectrum);
    qor::fillSlotTestPatterns(st->spectrum);
    qor::SpectrumState& sp = st->spectrum;
    st->rec.SlotViewChannels[0] = 4096;
    sp.ViewStartChannel = 0;
    sp.ViewEndChannel = 4095;
    sp.ViewChannelSpan = 4096;
    sp.CursorChannel[0] = 2048;
    sp.CurrentRoi[0] = 1;
    sp.PlotWidth = 999;
    sp.PlotHeight = 559;
    sp.OverlapOn = 1;
    sp.FullScale = randomFullHeight ? 1000 : 0;
    for (int r = 0; r < 100; ++r) {
        st->rec.RoiStart[0][r] = 10 + 40 * r;
        st->rec.RoiEnd[0][r] = 30 + 40 * r;
    }
    if (randomFullHeight) {
        std::mt19937 rng(7);
        std::uniform_int_distribution<int> d(0, 1000);
        for (int c = 0; c < qor::kSlotChannels; ++c) {
            sp.slot[0][c] = d(rng);
            sp.slot[2][c] = d(rng);
        }
    }
    return st;
}

void drawOnce(benchmark::State& state, bool randomFullHeight) {
    auto st = viewState(randomFullHeight);
    qor::GlyphAtlas glyphs{QFont()};
    qor::SpectrumPlot plot(&glyphs);
    QImage back(1000, 560, QImage::Format_RGB32);
    QImage shown(1000, 560, QImage::Format_RGB32);
    for (auto _ : state) {
        plot.draw(back, st->spectrum, st->rec);
        // The one copy onto the paint area.
        std::memcpy(shown.bits(), back.constBits(), static_cast<size_t>(back.sizeInBytes()));
        benchmark::DoNotOptimize(shown.constBits());
    }
}

void BM_DrawSpectrum(benchmark::State& state) { drawOnce(state, false); }
void BM_DrawSpectrumRandomFullHeight(benchmark::State& state) { drawOnce(state, true); }

// One MCA tick at 4096 channels against the simulator: 16 block reads, the status, the redraw.
void BM_McaTick(benchmark::State& state) {
    BenchClock clock;
    QuietAlerts alerts;
    qor::Kx10Simulator sim(clock);
    auto st = viewState(false);
    st->Online = 1;
    st->rec.McaChannels[0] = 4096;
    st->rec.McaPresetValue[0] = 2000000000;   // measures for the whole benchmark
    qor::mcaStart(*st, sim, alerts, {true, false});
    qor::GlyphAtlas glyphs{QFont()};
    qor::SpectrumPlot plot(&glyphs);
    QImage back(1000, 560, QImage::Format_RGB32);
    for (auto _ : state) {
        clock.now += 800;
        const qor::McaTickResult r = qor::mcaAcquisitionTick(*st, sim, alerts);
        if (r.action != qor::McaTick::Nothing) plot.draw(back, st->spectrum, st->rec);
        benchmark::DoNotOptimize(back.constBits());
    }
}

}  // namespace

BENCHMARK(BM_DrawSpectrum)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawSpectrumRandomFullHeight)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_McaTick)->Unit(benchmark::kMillisecond);
