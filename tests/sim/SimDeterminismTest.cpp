// The simulated instrument is a function of the injected clock and the seed: the same calls at
// the same times give the same replies, however often a test looks in between.

#include "SimSupport.h"

#include <gtest/gtest.h>
#include <vector>

using namespace qor;
using namespace qor::simtest;
using qor::test::ManualClock;

namespace {

// A short scan line with pixels, returning every pixel's counts and the final positions.
std::vector<int32_t> runLine(uint64_t seed, int pollEveryMs) {
    ManualClock clock;
    SimConfig cfg;
    cfg.seed = seed;
    Kx10Simulator sim(clock, cfg);
    sim.KX10MCA_2DSCAN_PSET(1, '1', 2048);
    sim.KX10MCA_2DSCAN_ROISET(1, '1', 0, 440, 462, 1);
    sim.KX10MCA_2DSCAN_ROISET(1, '1', 1, 628, 652, 0);
    sim.KX10Motor_Set_Speed(1, '2', '0', 50, 300, 100, 0, 1);
    sim.KX10Motor_Set_Interval_Pulse(1, '2', '0', 7);
    sim.KX10Motor_MoveTo_PAddress(1, '2', '0', 420);
    sim.KX10Motor_MoveTo_PAddress(1, '2', '1', 300);
    sim.KX10MCA_2DSCAN_Start(1, '1');
    for (int t = 0; t < 6000; t += pollEveryMs) {
        clock.advance(pollEveryMs);
        if (pollEveryMs < 6000) paddress(sim, '2', '0');
    }
    std::vector<int32_t> out{paddress(sim, '2', '0'), paddress(sim, '2', '1')};
    uint8_t frame[130];
    while (sim.KX10MCA_2DSCAN_ReadROI(1, '1', frame, sizeof frame) >= 0)
        for (int k = 0; k < 2; ++k) out.push_back(readLe(frame + 1 + 4 * k));
    return out;
}

TEST(SimDeterminism, SameSeedSameRepliesAndMotionIndependentOfPolling) {
    const auto a = runLine(11, 6000);
    EXPECT_EQ(a.size(), 2u + 2u * 60u) << "420 pulses make 60 pixels of 7";
    EXPECT_EQ(a, runLine(11, 6000));
    const auto polled = runLine(11, 1);
    // Motion is the same however often it was looked at.
    EXPECT_EQ(polled[0], a[0]);
    EXPECT_EQ(polled[1], a[1]);
    EXPECT_EQ(polled.size(), a.size());
    EXPECT_NE(runLine(12, 6000), a) << "another seed, other counts";
}

TEST(SimDeterminism, NothingHappensWithoutTheClock) {
    ManualClock clock;
    Kx10Simulator sim(clock);
    sim.KX10MCA_Preset(1, '1', 1, 2048, 1000);
    sim.KX10MCA_Start(1, '1');
    sim.KX10Motor_MoveTo_PAddress(1, '2', '0', 1000);
    int32_t block[256];
    for (int i = 0; i < 100; ++i) {
        sim.KX10MCA_ReadSEQ(1, '1', 0, block);
        EXPECT_EQ(block[1], 0);
        EXPECT_EQ(paddress(sim, '2', '0'), 0);
    }
    clock.advance(100);
    sim.KX10MCA_ReadSEQ(1, '1', 0, block);
    EXPECT_EQ(block[1], 10);
    EXPECT_GT(paddress(sim, '2', '0'), 0);
}

}  // namespace
