// One map file of 1024 x 1024 cells: formatting into one buffer and a single write.

#include "app/TextCodec.h"
#include "scan/MapFileWriter.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

static void BM_WriteMapFile(benchmark::State& state) {
    static qor::MapStore maps;
    maps.fillTestPattern();
    QTemporaryDir dir;
    qor::InfoRecord r{};
    qor::setCreationDefaults(r, "/tmp/");
    qor::storeSjis(r.SaveFolder, dir.path() + "/");
    r.MapRoiEnabled[0] = 1;
    r.MapPixelsX = 1024;
    r.MapPixelsY = 1024;
    qor::LineTime t;
    qor::MapFileWriter writer;
    for (auto _ : state) {
        writer.beginScan();   // the same name each time: the file is rewritten
        benchmark::DoNotOptimize(writer.write(r, maps, t, 0));
    }
}
BENCHMARK(BM_WriteMapFile)->Unit(benchmark::kMillisecond);
