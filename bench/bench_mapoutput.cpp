// The maps leaving the program: the scan file (HDF5) of 20 slots of 1024 x 1024 and of 5 slots
// of 256 x 256; one map picture of 1024 x 1024 cells with colour bar and axes (drawn and encoded
// as PNG); one redraw of the three-colour overlay of three 1024 x 1024 maps on the map image;
// DrawMap with the colour bar beside it.

#include "app/FieldText.h"
#include "app/TextCodec.h"
#include "app/InfoRecord.h"
#include "scan/MapOverlay.h"
#include "scan/MapPicture.h"
#include "scan/MapStore.h"
#include "scan/MapView.h"
#include "scan/ScanHdf5.h"

#include <QBuffer>
#include <QImageWriter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>
#include <random>

namespace {

// Maps that look measured: smooth element regions with Poisson-like noise.
qor::MapStore& measuredMaps() {
    static qor::MapStore maps;
    static bool filled = false;
    if (!filled) {
        std::mt19937 rng(7);
        std::normal_distribution<double> noise(0.0, 1.0);
        for (int s = 0; s < 20; ++s)
            for (int x = 0; x < qor::kMapSide; ++x)
                for (int y = 0; y < qor::kMapSide; ++y) {
                    const double dx = x - 200.0 - 30 * s, dy = y - 600.0;
                    const double mean = 20 + 400 * std::exp(-(dx * dx + dy * dy) / 40000.0);
                    maps.at(s, x, y) =
                        std::max(0, static_cast<int>(mean + std::sqrt(mean) * noise(rng)));
                }
        filled = true;
    }
    return maps;
}

qor::InfoRecord scanRecord(const QString& folder, int side) {
    qor::InfoRecord r{};
    qor::storeSjis(r.SaveFolder, folder + QLatin1Char('/'));
    r.MapPixelsX = r.ScanXSteps = side;
    r.MapPixelsY = r.ScanYSteps = side;
    r.ScanXPixelPulses = r.ScanYPixelPulses = 10;
    r.MotorLogicalPulses[0] = r.MotorLogicalPulses[1] = 100;
    r.ScanRepeat = 1;
    r.MapZoom = 1;
    return r;
}

}  // namespace

static void BM_WriteScanHdf5(benchmark::State& state) {
    const int slotCount = static_cast<int>(state.range(0));
    const int side = static_cast<int>(state.range(1));
    QTemporaryDir dir;
    qor::InfoRecord r = scanRecord(dir.path(), side);
    for (int s = 0; s < slotCount; ++s) {
        r.MapRoiEnabled[s] = 1;
        qor::storeSjis(r.MapRoiElementName[s], QStringLiteral("E%1").arg(s));
    }
    qor::MapStore& maps = measuredMaps();
    qor::ScanHdf5File f;
    f.beginScan(r, QDateTime::currentDateTime());
    qor::LineTime t;
    for (auto _ : state) {
        const qor::WriteOutcome out = f.writePass(maps, t, 0, 0, side, qor::ScanFileState::Complete,
                                                  QDateTime::currentDateTime());
        if (!out.ok()) state.SkipWithError("write failed");
    }
}
BENCHMARK(BM_WriteScanHdf5)->Args({20, 1024})->Args({5, 256})->Unit(benchmark::kMillisecond);

static void BM_MapPicture(benchmark::State& state) {
    qor::InfoRecord r = scanRecord(QStringLiteral("/tmp"), 1024);
    qor::MapDisplayState mv;
    qor::fillMapScales(mv);
    mv.MapUseColour = 1;
    mv.MapZMax = 500;
    qor::MapStore& maps = measuredMaps();
    for (auto _ : state) {
        const QImage img = qor::renderMapPicture(maps, 0, r, qor::mapScaleOf(mv));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        writer.setCompression(1);
        writer.write(img);
        benchmark::DoNotOptimize(bytes.size());
    }
}
BENCHMARK(BM_MapPicture)->Unit(benchmark::kMillisecond);

static void BM_MapOverlay(benchmark::State& state) {
    static qor::MapOverlayView view;
    qor::InfoRecord r = scanRecord(QStringLiteral("/tmp"), 1024);
    qor::MapDisplayState mv;
    mv.DrawExtentX = mv.DrawExtentY = 648;
    qor::MapOverlayChoice c;
    c.ch[0] = {0, 0, 0};   // automatic high cuts: the largest count of each map per redraw
    c.ch[1] = {5, 0, 0};
    c.ch[2] = {10, 0, 0};
    qor::MapStore& maps = measuredMaps();
    QImage img(650, 670, QImage::Format_RGB32);
    for (auto _ : state) {
        view.draw(img, maps, c, mv, r);
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_MapOverlay)->Unit(benchmark::kMillisecond);

static void BM_DrawMapWithColourBar(benchmark::State& state) {
    static qor::MapView view;
    static qor::MapColourBar bar;
    qor::InfoRecord r = scanRecord(QStringLiteral("/tmp"), 1024);
    qor::storeSjis(r.MapRoiElementName[0], QStringLiteral("Fe"));
    qor::MapDisplayState mv;
    qor::fillMapScales(mv);
    mv.DrawExtentX = mv.DrawExtentY = 498;
    qor::MapStore& maps = measuredMaps();
    QImage img(500, 520, QImage::Format_RGB32);
    QImage barImg(64, 520, QImage::Format_RGB32);
    for (auto _ : state) {
        // The "auto" scale: the MAX rule before every draw.
        mv.MapZMax = qor::largestMapCount(maps, 0, 1024, 1024);
        view.drawMap(img, maps, mv, r);
        bar.draw(barImg, r.MapRoiElementName[0], qor::mapScaleOf(mv));
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_DrawMapWithColourBar)->Unit(benchmark::kMillisecond);
