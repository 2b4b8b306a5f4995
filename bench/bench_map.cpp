// The map display: DrawMap of a full 1024 x 1024 map on the usual 500 x 520 map image.

#include "app/InfoRecord.h"
#include "scan/MapStore.h"
#include "scan/MapView.h"

#include <benchmark/benchmark.h>

static void BM_DrawMap(benchmark::State& state) {
    static qor::MapStore maps;
    static qor::MapView view;
    maps.fillTestPattern();
    qor::MapDisplayState mv;
    qor::fillMapScales(mv);
    mv.MapZMax = 2000;
    mv.MapUseColour = static_cast<uint8_t>(state.range(0));
    mv.DrawExtentX = 498;
    mv.DrawExtentY = 498;
    mv.MapReadout = QStringLiteral("\n## mouse (250,250) Cell(512,512) matrix(1024,1024)");
    qor::InfoRecord rec{};
    rec.MapPixelsX = 1024;
    rec.MapPixelsY = 1024;
    rec.MapZoom = 1;
    QImage img(500, 520, QImage::Format_RGB32);
    for (auto _ : state) {
        view.drawMap(img, maps, mv, rec);
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_DrawMap)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
