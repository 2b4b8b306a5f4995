// The simulated analyser's spectrum: accumulation, presets, dead time, stop, clear, rebinning.

#include "SimSupport.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

using namespace qor;
using namespace qor::simtest;
using qor::test::ManualClock;

namespace {

std::vector<int32_t> readSpectrum(Kx10Simulator& sim, int channels, char m = '1') {
    std::vector<int32_t> s(channels);
    for (int k = 0; k < channels / 256; ++k) EXPECT_GE(sim.KX10MCA_ReadSEQ(1, m, 256 * k, &s[256 * k]), 0);
    return s;
}

bool measuring(Kx10Simulator& sim) {
    char st[16] = {};
    EXPECT_GE(sim.KX10MCA_Status(1, '1', st, sizeof st), 0);
    return st[1] == '1';
}

// Drives the stage to (x, y) logical units and waits until it is there.
void stageTo(Kx10Simulator& sim, ManualClock& clock, double x, double y) {
    sim.KX10Motor_Set_Speed(1, '2', '0', 5000, 5000, 0, 0, 0);
    sim.KX10Motor_Set_Speed(1, '2', '1', 5000, 5000, 0, 0, 0);
    sim.KX10Motor_MoveTo_PAddress(1, '2', '0', static_cast<int32_t>(x * 100));
    sim.KX10Motor_MoveTo_PAddress(1, '2', '1', static_cast<int32_t>(y * 100));
    runUntilStopped(sim, clock, '2', '0');
    runUntilStopped(sim, clock, '2', '1');
}

int64_t sum(const std::vector<int32_t>& s, int lo, int hi) {
    int64_t t = 0;
    for (int i = lo; i <= hi; ++i) t += s[i];
    return t;
}

int peakIn(const std::vector<int32_t>& s, int lo, int hi) {
    int best = lo;
    for (int i = lo; i <= hi; ++i)
        if (s[i] > s[best]) best = i;
    return best;
}

TEST(SimMca, LinesSitAtTheirEnergiesOverTheSampleUnderTheBeam) {
    ManualClock clock;
    Kx10Simulator sim(clock);
    // The Fe disc's centre: 10 eV per channel at 2048 channels puts Fe K-alpha (6.40 keV) at 640.
    stageTo(sim, clock, 0.28 * 6.4, 0.70 * 6.4);
    ASSERT_GE(sim.KX10MCA_Preset(1, '1', 1, 2048, 3000), 0);
    ASSERT_GE(sim.KX10MCA_Start(1, '1'), 0);
    clock.advance(30000);
    const auto s = readSpectrum(sim, 2048);
    EXPECT_NEAR(peakIn(s, 600, 680), 640, 2);
    EXPECT_NEAR(peakIn(s, 690, 730), 706, 3) << "Fe K-beta";
    EXPECT_NEAR(peakIn(s, 420, 480), 451, 2) << "Ti K-alpha of the substrate";
    // Fe dominates; no Pb L-alpha at 1055 here, only continuum.
    EXPECT_GT(sum(s, 630, 650), 20 * sum(s, 1045, 1065) / 2);
    // The width grows with energy: the Fe peak is wider than the Ti peak (in channels above half
    // of the maximum).
    auto width = [&](int c) {
        int w = 0;
        for (int i = c - 40; i <= c + 40; ++i) w += s[i] * 2 > s[c];
        return w;
    };
    EXPECT_GT(width(peakIn(s, 600, 680)), width(peakIn(s, 420, 480)));

    // Over the Pb cross the lead L lines appear instead.
    ASSERT_GE(sim.KX10MCA_Clear(1, '1'), 0);
    stageTo(sim, clock, 0.28 * 6.4, 0.27 * 6.4);
    sim.KX10MCA_Start(1, '1');
    clock.advance(30000);
    const auto pb = readSpectrum(sim, 2048);
    EXPECT_NEAR(peakIn(pb, 1000, 1100), 1055, 3);
    EXPECT_NEAR(peakIn(pb, 1200, 1300), 1261, 3);
}

TEST(SimMca, CountsGrowWithTimeAsPoissonDrawsOfTheExpectedRate) {
    ManualClock clock;
    Kx10Simulator sim(clock);
    ASSERT_GE(sim.KX10MCA_Preset(1, '1', 0, 4096, 100000), 0);
    ASSERT_GE(sim.KX10MCA_Start(1, '1'), 0);
    std::vector<int32_t> prev = readSpectrum(sim, 4096);
    for (int step = 1; step <= 5; ++step) {
        clock.advance(800);
        const auto s = readSpectrum(sim, 4096);
        for (int i = 2; i < 4096; ++i) ASSERT_GE(s[i], prev[i]) << "channel " << i;
        EXPECT_GT(sum(s, 2, 4095), sum(prev, 2, 4095));
        prev = s;
    }
    // Total counts against the expected rate x live time, within five standard deviations.
    double w[kSimComponents];
    sim.sample().weights(sim.stageX(), sim.stageY(), w);
    const double live = prev[0] / 100.0;
    const double expected = sim.emission().inputRate(w) * live;
    EXPECT_NEAR(static_cast<double>(sum(prev, 2, 4095)), expected, 5 * std::sqrt(expected) + 0.01 * expected);
}

TEST(SimMca, LivePresetEndsTheMeasurementAndLiveTrailsReal) {
    ManualClock clock;
    Kx10Simulator sim(clock);
    ASSERT_GE(sim.KX10MCA_Preset(1, '1', 0, 1024, 500), 0);  // 5 s live
    EXPECT_FALSE(measuring(sim));
    ASSERT_GE(sim.KX10MCA_Start(1, '1'), 0);
    EXPECT_TRUE(measuring(sim));
    clock.advance(4999);
    EXPECT_TRUE(measuring(sim)) << "dead time: 5 s of live time take longer than 5 s";
    clock.advance(60000);
    EXPECT_FALSE(measuring(sim));
    const auto s = readSpectrum(sim, 1024);
    EXPECT_EQ(s[0], 500) << "live ticks land on the preset";
    EXPECT_GT(s[1], 500);
    EXPECT_LT(s[1], 600);
    // Nothing more accumulates after the preset.
    clock.advance(10000);
    EXPECT_EQ(readSpectrum(sim, 1024), s);
    // A start at the reached preset does not run.
    sim.KX10MCA_Start(1, '1');
    EXPECT_FALSE(measuring(sim));
}

TEST(SimMca, RealPresetCountsRealTimeAndDeadTimeGrowsWithTheRate) {
    ManualClock clock;
    SimConfig quiet;
    quiet.rateScale = 1.0;
    SimConfig hot;
    hot.rateScale = 10.0;
    Kx10Simulator sim(clock, quiet);
    Kx10Simulator busy(clock, hot);
    for (Kx10Simulator* x : {&sim, &busy}) {
        ASSERT_GE(x->KX10MCA_Preset(1, '1', 1, 2048, 1000), 0);
        ASSERT_GE(x->KX10MCA_Start(1, '1'), 0);
    }
    clock.advance(12000);
    const auto a = readSpectrum(sim, 2048);
    const auto b = readSpectrum(busy, 2048);
    EXPECT_EQ(a[1], 1000);
    EXPECT_EQ(b[1], 1000);
    EXPECT_LT(a[0], 1000);
    EXPECT_LT(b[0], a[0]) << "ten times the rate, less live time";
    EXPECT_GT(sum(b, 2, 2047), 5 * sum(a, 2, 2047));
}

TEST(SimMca, StopHaltsClearEmptiesAndStartResumes) {
    ManualClock clock;
    Kx10Simulator sim(clock);
    sim.KX10MCA_Preset(1, '1', 1, 2048, 100000);
    sim.KX10MCA_Start(1, '1');
    clock.advance(2000);
    ASSERT_GE(sim.KX10MCA_Stop(1, '1'), 0);
    EXPECT_FALSE(measuring(sim));
    const auto stopped = readSpectrum(sim, 2048);
    EXPECT_EQ(stopped[1], 200);
    clock.advance(5000);
    EXPECT_EQ(readSpectrum(sim, 2048), stopped);
    sim.KX10MCA_Start(1, '1');
    clock.advance(1000);
    const auto resumed = readSpectrum(sim, 2048);
    EXPECT_EQ(resumed[1], 300) << "start goes on from where the stop left it";
    EXPECT_GT(sum(resumed, 2, 2047), sum(stopped, 2, 2047));
    ASSERT_GE(sim.KX10MCA_Clear(1, '1'), 0);
    const auto cleared = readSpectrum(sim, 2048);
    EXPECT_EQ(sum(cleared, 0, 2047), 0);
    EXPECT_TRUE(measuring(sim)) << "clear empties the memory but does not stop";
}

TEST(SimMca, ANewChannelSizeRebinsTheMemory) {
    ManualClock clock;
    Kx10Simulator sim(clock);
    sim.KX10MCA_Preset(1, '1', 1, 4096, 500);
    sim.KX10MCA_Start(1, '1');
    clock.advance(6000);
    const auto fine = readSpectrum(sim, 4096);
    ASSERT_GE(sim.KX10MCA_Preset(1, '1', 1, 1024, 500), 0);
    const auto coarse = readSpectrum(sim, 1024);
    EXPECT_EQ(coarse[0], fine[0]);
    EXPECT_EQ(coarse[1], fine[1]);
    for (int c = 1; c < 1024; ++c) {
        int64_t s = 0;
        for (int q = 0; q < 4; ++q) s += 4 * c + q >= 2 ? fine[4 * c + q] : 0;
        if (c >= 2) ASSERT_EQ(coarse[c], s) << "channel " << c;
    }
}

TEST(SimMca, BlockReadsAndPresetsAreChecked) {
    ManualClock clock;
    Kx10Simulator sim(clock);
    sim.KX10MCA_Preset(1, '1', 0, 512, 100);
    std::array<int32_t, 260> dest;
    dest.fill(-7);
    EXPECT_GE(sim.KX10MCA_ReadSEQ(1, '1', 256, dest.data()), 0);
    for (int i = 256; i < 260; ++i) EXPECT_EQ(dest[i], -7) << "256 channels exactly";
    EXPECT_GE(sim.KX10MCA_ReadSEQ(1, '1', 300, dest.data()), 0) << "channels past the end read 0";
    EXPECT_EQ(dest[255], 0);
    EXPECT_LT(sim.KX10MCA_ReadSEQ(1, '1', 512, dest.data()), 0);
    EXPECT_LT(sim.KX10MCA_ReadSEQ(1, '1', -1, dest.data()), 0);
    EXPECT_LT(sim.KX10MCA_ReadSEQ(1, '1', 0, nullptr), 0);
    EXPECT_LT(sim.KX10MCA_Preset(1, '1', 2, 512, 100), 0) << "mode 0 or 1";
    EXPECT_LT(sim.KX10MCA_Preset(1, '1', 0, 300, 100), 0) << "256 .. 4096 channels";
    EXPECT_LT(sim.KX10MCA_Preset(1, '1', 0, 8192, 100), 0);
    EXPECT_LT(sim.KX10MCA_Preset(1, '1', 0, 512, 0), 0) << "a preset must be positive";
    EXPECT_EQ(sim.mca(1)->channels(), 512) << "a refused preset changes nothing";
}

TEST(SimMca, TheSameSeedGivesTheSameCountsAndAnotherSeedOthers) {
    auto run = [](uint64_t seed) {
        ManualClock clock;
        SimConfig cfg;
        cfg.seed = seed;
        Kx10Simulator sim(clock, cfg);
        sim.KX10MCA_Preset(1, '1', 1, 2048, 100000);
        sim.KX10MCA_Start(1, '1');
        sim.KX10Motor_MoveTo_PAddress(1, '2', '0', 300);
        std::vector<int32_t> all;
        for (int t = 0; t < 5; ++t) {
            clock.advance(800);
            const auto s = readSpectrum(sim, 2048);
            all.insert(all.end(), s.begin(), s.end());
        }
        return all;
    };
    EXPECT_EQ(run(7), run(7));
    EXPECT_NE(run(7), run(8));
}

}  // namespace
