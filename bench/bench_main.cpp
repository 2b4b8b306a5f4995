// Speed benchmarks of the program's hot paths: build/bench/qor10_bench.

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <clocale>

int main(int argc, char** argv) {
    // Drawing into images needs a GUI application; the offscreen platform needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
