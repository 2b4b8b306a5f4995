// The simulated instrument's share of one acquisition tick on the MCA page: sixteen block reads
// of 256 channels and one status read after 800 ms of simulated time.

#include "sim/Kx10Simulator.h"

#include <QDateTime>
#include <benchmark/benchmark.h>

namespace {

class BenchClock : public qor::Clock {
public:
    int64_t nowMs() const override { return now; }
    QDateTime localDateTime() const override { return QDateTime(); }
    void sleepMs(int ms) override { now += ms; }
    int64_t now = 0;
};

void mcaTick(qor::Kx10Simulator& sim, BenchClock& clock, int32_t* slot) {
    clock.now += 800;
    for (int k = 0; k < 16; ++k) sim.KX10MCA_ReadSEQ(1, '1', 256 * k, slot + 256 * k);
    char status[16];
    sim.KX10MCA_Status(1, '1', status, sizeof status);
    benchmark::DoNotOptimize(slot[700]);
}

void BM_SimMcaTick(benchmark::State& state) {
    static BenchClock clock;
    static qor::Kx10Simulator sim(clock);
    static int32_t slot[4096];
    sim.KX10MCA_Preset(1, '1', 1, 4096, 2000000000);
    sim.KX10MCA_Start(1, '1');
    for (auto _ : state) mcaTick(sim, clock, slot);
}
BENCHMARK(BM_SimMcaTick)->Unit(benchmark::kMicrosecond);

// The same while the stage sweeps (the element scan): the motion is followed millisecond by
// millisecond.
void BM_SimMcaTickStageMoving(benchmark::State& state) {
    static BenchClock clock;
    static qor::Kx10Simulator sim(clock);
    static int32_t slot[4096];
    sim.KX10MCA_Preset(1, '1', 1, 4096, 2000000000);
    sim.KX10MCA_Start(1, '1');
    sim.KX10Motor_Set_Speed(1, '2', '0', 100, 100, 100, 0, 1);
    int32_t target = 1000;
    for (auto _ : state) {
        char st[16];
        sim.KX10Motor_Get_Status(1, '2', '0', st, sizeof st);
        if (st[1] != '1') {
            target = -target;
            sim.KX10Motor_MoveTo_PAddress(1, '2', '0', target);
        }
        mcaTick(sim, clock, slot);
    }
}
BENCHMARK(BM_SimMcaTickStageMoving)->Unit(benchmark::kMicrosecond);

}  // namespace
