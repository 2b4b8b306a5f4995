// The simulated analyser while the stage sweeps the specimen in a zig-zag, as the element scan
// drives it: one spectrum of the whole swept area, and no pixel closed by the pulse counter.

#include "SimSupport.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

using namespace qor;
using namespace qor::simtest;
using qor::test::ManualClock;

namespace {

std::vector<int32_t> readSpectrum(Kx10Simulator& sim, int channels) {
    std::vector<int32_t> s(static_cast<std::size_t>(channels));
    for (int k = 0; k < channels / 256; ++k)
        EXPECT_GE(sim.KX10MCA_ReadSEQ(1, '1', 256 * k, &s[static_cast<std::size_t>(256 * k)]), 0);
    return s;
}

double windowSum(const std::vector<int32_t>& s, int first, int last) {
    double t = 0.0;
    for (int i = first; i <= last; ++i) t += s[static_cast<std::size_t>(i)];
    return t;
}

// Advances 10 ms at a time until X and Y stand still.
void runUntilStill(Kx10Simulator& sim, ManualClock& clock) {
    while (moving(sim, '2', 0) || moving(sim, '2', 1)) clock.advance(10);
}

// The zig-zag of the element scan: strokes of X between 0 and `xEnd` pulses at `pps`, Y stepping
// `yStep` pulses at the start of every further stroke (X and Y start together); `strokes` strokes.
void sweep(Kx10Simulator& sim, ManualClock& clock, int32_t xEnd, int32_t yStep, int strokes,
           int32_t pps) {
    ASSERT_GE(sim.KX10Motor_Set_Speed(1, '2', '0', pps, pps, pps, 0, 1), 0);
    for (int k = 0; k < strokes; ++k) {
        if (k > 0) ASSERT_GE(sim.KX10Motor_MoveTo_PAddress(1, '2', '1', k * yStep), 0);
        ASSERT_GE(sim.KX10Motor_MoveTo_PAddress(1, '2', '0', k % 2 == 0 ? xEnd : 0), 0);
        runUntilStill(sim, clock);
    }
}

}  // namespace

// At 100 pulses per mm and the element scan's default 100 pps, 64 strokes 0.1 mm apart cover the
// 6.4 mm tile. Each line's counts must match what the tile's element shares predict: the mean over
// the tile's area of every component's weight, times its rate in the line's channels, times the
// live time (dead time taken point by point, as it depends on where the beam sits).
TEST(SimSweep, ASweptSpectrumFollowsTheElementsShareOfTheArea) {
    ManualClock clock;
    Kx10Simulator sim(clock);
    ASSERT_GE(sim.KX10MCA_Preset(1, '1', 1, 2048, 100000), 0);
    ASSERT_GE(sim.KX10MCA_Start(1, '1'), 0);
    sweep(sim, clock, 640, 10, 64, 100);
    ASSERT_GE(sim.KX10MCA_Stop(1, '1'), 0);
    const std::vector<int32_t> s = readSpectrum(sim, 2048);
    const double realSec = s[1] / 100.0;
    EXPECT_GE(realSec, 64 * 6.4);

    // The tile's means along the strokes (v = k / 64, a fine step along u): 64 lines 0.1 mm
    // apart stand for the whole area.
    const SimEmission& e = sim.emission();
    const int nu = 1280;
    double mean[kSimComponents] = {};
    double live = 0.0;
    for (int k = 0; k < 64; ++k) {
        for (int i = 0; i < nu; ++i) {
            double w[kSimComponents];
            SimSample::weightsInTile((i + 0.5) / nu, k / 64.0, w);
            const double lf = e.liveFraction(w, sim.config().deadTimeSec);
            for (int c = 0; c < kSimComponents; ++c) mean[c] += w[c] * lf;
            live += lf;
        }
    }
    const double points = 64.0 * nu;
    for (double& m : mean) m /= points;
    EXPECT_NEAR(s[0] / 100.0, realSec * live / points, 0.01 * realSec) << "live time";

    struct Line { const char* name; int first, last; };
    const Line lines[] = {{"Ti Ka", 440, 462}, {"Fe Ka", 628, 652}, {"Cu Ka", 793, 817},
                          {"Zn Ka", 852, 876}, {"Pb La", 1040, 1070}};
    for (const Line& l : lines) {
        // Channel c of 2048 holds fine channels 2c and 2c + 1.
        double expected = 0.0;
        for (int c = 0; c < kSimComponents; ++c)
            expected += mean[c] * e.rateSum(c, 2 * l.first, 2 * l.last + 2);
        expected *= realSec;
        const double got = windowSum(s, l.first, l.last);
        EXPECT_NEAR(got, expected, 0.015 * expected) << l.name;
    }
    // Every element of the tile shows: each line stands well above the continuum beside it.
    for (const Line& l : lines) {
        const int width = l.last - l.first + 1;
        const double beside = windowSum(s, l.first - width, l.first - 1);
        EXPECT_GT(windowSum(s, l.first, l.last), 1.5 * beside) << l.name;
    }
}

// The element scan sets the pulse interval to 99999999 so that no pixel closes during the sweep,
// even with the 2D accumulation running; an interval of 100 closes one every 100 pulses.
TEST(SimSweep, AnIntervalOf99999999ClosesNoPixel) {
    ManualClock clock;
    Kx10Simulator sim(clock);
    auto waiting = [&sim] {
        char buf[16] = {};
        EXPECT_GE(sim.KX10MCA_2DSCAN_Status(1, '1', buf, sizeof buf), 0);
        buf[3] = '\0';
        int n = -1;
        std::sscanf(buf, "%d", &n);
        return n;
    };
    ASSERT_GE(sim.KX10MCA_2DSCAN_PSET(1, '1', 2048), 0);
    ASSERT_GE(sim.KX10MCA_2DSCAN_OFFSET(1, '1', 0), 0);
    ASSERT_GE(sim.KX10MCA_2DSCAN_Start(1, '1'), 0);
    ASSERT_GE(sim.KX10Motor_Set_Interval_Pulse(1, '2', '0', 99999999), 0);
    sweep(sim, clock, 4900, 100, 3, 5000);
    EXPECT_EQ(0, waiting());
    uint8_t dump[kSimMemoryDumpSize] = {};
    ASSERT_GE(sim.KX10Motor_Read_18memory2(1, '2', '0', dump, sizeof dump), 0);
    EXPECT_EQ(0, readLe(dump + 9)) << "pixel signals sent";

    ASSERT_GE(sim.KX10Motor_Set_Interval_Pulse(1, '2', '0', 100), 0);
    ASSERT_GE(sim.KX10Motor_MoveTo_PAddress(1, '2', '0', 0), 0);
    runUntilStill(sim, clock);
    EXPECT_EQ(49, waiting());
}
