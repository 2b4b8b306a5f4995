// Driver calls through the driver host: one status read (a whole round trip through the pipe,
// the host and the stand-in library over the simulator), and the driver calls of one
// acquisition tick on the MCA page (sixteen block reads of 256 channels and the status).

#include "instrument/Kx10Host.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

qor::Kx10Host* host(benchmark::State& state) {
    static std::unique_ptr<qor::Kx10Host> h = [] {
        QString error;
        std::unique_ptr<qor::Kx10Host> started = qor::Kx10Host::start(
            QStringLiteral(KX10HOST_PATH), QStringLiteral(KX10SHIM_PATH), &error);
        if (started) {
            started->KX10USB_Open("", 1, 1500, 1500);
            started->KX10MCA_Preset(1, '1', 1, 4096, 2000000000);
            started->KX10MCA_Start(1, '1');
        }
        return started;
    }();
    if (!h) state.SkipWithError("the driver host did not start");
    return h.get();
}

void BM_HostRoundTrip(benchmark::State& state) {
    qor::Kx10Host* h = host(state);
    if (!h) return;
    char status[17];
    for (auto _ : state) {
        const int32_t r = h->KX10MCA_Status(1, '1', status, 16);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_HostRoundTrip)->Unit(benchmark::kMicrosecond);

void BM_HostMcaTick(benchmark::State& state) {
    qor::Kx10Host* h = host(state);
    if (!h) return;
    static int32_t slot[4096];
    char status[17];
    for (auto _ : state) {
        for (int k = 0; k < 16; ++k) h->KX10MCA_ReadSEQ(1, '1', 256 * k, slot + 256 * k);
        h->KX10MCA_Status(1, '1', status, 16);
        benchmark::DoNotOptimize(slot[700]);
    }
}
BENCHMARK(BM_HostMcaTick)->Unit(benchmark::kMicrosecond);

}  // namespace
