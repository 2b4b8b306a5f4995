// The line tables: identification of a full peak list against the X-ray table, the spectrum
// view with the markers of three elements, and the one-time reading of the tables.

#include "analysis/Identify.h"
#include "analysis/LineState.h"
#include "app/AppState.h"
#include "spectrum/LineMarkers.h"
#include "spectrum/SpectrumPlot.h"

#include <QFont>
#include <benchmark/benchmark.h>
#include <cstring>
#include <memory>
#include <random>

namespace {

// 99 peaks: the K and L lines of twelve elements and weak peaks at random energies.
std::vector<qor::PeakInput> ninetyNinePeaks() {
    const qor::LineTable& t = qor::LineTable::xray();
    std::vector<qor::PeakInput> peaks;
    for (const char* el : {"Ti", "Cr", "Mn", "Fe", "Ni", "Cu", "Zn", "Br", "Sr", "Pb", "Au", "Sn"})
        for (const qor::SpectralLine& l : t.linesOf(t.findSource(el)))
            if (l.energyKeV > 1.0 && l.energyKeV < 20.0 && peaks.size() < 70) {
                qor::PeakInput p;
                p.energyKeV = l.energyKeV;
                p.channel = l.energyKeV * 100.0;
                p.net = 10000.0 * l.relative;
                p.fwhmKeV = 0.15;
                peaks.push_back(p);
            }
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> e(1.0, 20.0);
    while (peaks.size() < 99) {
        qor::PeakInput p;
        p.energyKeV = e(rng);
        p.channel = p.energyKeV * 100.0;
        p.net = 300.0;
        p.fwhmKeV = 0.15;
        peaks.push_back(p);
    }
    return peaks;
}

void BM_IdentifyPeaks(benchmark::State& state) {
    const qor::LineTable& t = qor::LineTable::xray();   // read before the timing
    const auto peaks = ninetyNinePeaks();
    qor::IdentifyOptions opt;
    opt.rangeLoKeV = 1.0;
    opt.rangeHiKeV = 20.0;
    for (auto _ : state) {
        qor::Identification id = qor::identifyPeaks(t, peaks, opt);
        benchmark::DoNotOptimize(id.ranked.data());
    }
}

// The view of BM_DrawSpectrum (4096 channels, overlay on, 100 ROIs, 1000 x 560) with a
// calibration and the markers of Fe, Cu and Pb.
void BM_DrawSpectrumWithMarkers(benchmark::State& state) {
    auto st = std::make_unique<qor::AppState>();
    qor::SpectrumState& sp = st->spectrum;
    qor::setCreationDefaults(st->rec, "/tmp/");
    st->rec.SlotViewChannels[0] = 4096;
    sp.ViewSlot = 0;
    sp.ViewStartChannel = 0;
    sp.ViewEndChannel = 4095;
    sp.ViewChannelSpan = 4096;
    sp.CursorChannel[0] = 2000;
    sp.PlotWidth = 999;
    sp.PlotHeight = 559;
    sp.OverlapOn = 1;
    qor::fillRoiColours(sp);
    qor::fillSlotTestPatterns(sp);
    for (int r = 0; r < 100; ++r) {
        st->rec.RoiStart[0][r] = 10 + 40 * r;
        st->rec.RoiEnd[0][r] = 30 + 40 * r;
    }
    st->rec.CalibA[0] = 0.0025;
    st->rec.CalibB[0] = 0.005;
    const qor::LineTable& t = qor::LineTable::xray();
    qor::setMarkedSources(st->lines, qor::TableKind::Xray,
                          {t.findSource("Fe"), t.findSource("Cu"), t.findSource("Pb")});
    qor::GlyphAtlas glyphs{QFont()};
    qor::SpectrumPlot plot(&glyphs);
    QImage back(1000, 560, QImage::Format_RGB32);
    QImage shown(1000, 560, QImage::Format_RGB32);
    for (auto _ : state) {
        plot.draw(back, sp, st->rec);
        qor::drawLineMarkers(back, sp, st->rec, st->lines);
        std::memcpy(shown.bits(), back.constBits(), static_cast<size_t>(back.sizeInBytes()));
        benchmark::DoNotOptimize(shown.constBits());
    }
}

// Reading the element lines from the data library, what the first use of the X-ray table pays.
void BM_ReadXrayLines(benchmark::State& state) {
    for (auto _ : state) {
        size_t n = 0;
        for (int Z = 11; Z <= 92; ++Z) n += qor::elementLinesFromLibrary(Z).size();
        benchmark::DoNotOptimize(n);
    }
}

}  // namespace

BENCHMARK(BM_IdentifyPeaks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawSpectrumWithMarkers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadXrayLines)->Unit(benchmark::kMillisecond);
