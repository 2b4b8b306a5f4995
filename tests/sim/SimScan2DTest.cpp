// The simulated 2D scan hardware: pixels closed by the interval pulses of the X motion, the
// queue of finished pixels, NET and GROSS ROIs, the debug block, and the specimen's map.

#include "SimSupport.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

using namespace qor;
using namespace qor::simtest;
using qor::test::ManualClock;

namespace {

int waiting(Kx10Simulator& sim) {
    char buf[16] = {};
    EXPECT_GE(sim.KX10MCA_2DSCAN_Status(1, '1', buf, sizeof buf), 0);
    buf[3] = '\0';
    int n = 0;
    std::sscanf(buf, "%d", &n);
    return n;
}

// One pixel's twenty counts, read as the sequencer reads them.
std::vector<int32_t> readPixel(Kx10Simulator& sim) {
    uint8_t frame[130] = {};
    EXPECT_GE(sim.KX10MCA_2DSCAN_ReadROI(1, '1', frame, sizeof frame), 0);
    EXPECT_EQ(frame[0], '$');
    EXPECT_EQ(frame[129], 'E');
    std::vector<int32_t> v(20);
    for (int k = 0; k < 20; ++k) v[k] = readLe(frame + 1 + 4 * k);
    return v;
}

// Channel ranges at 2048 channels (10 eV each) around the K-alpha lines and Pb L-alpha.
struct Window { int first, last; };
const Window kTiKa{440, 462}, kFeKa{628, 652}, kCuKa{793, 817}, kZnKa{852, 876}, kPbLa{1040, 1070};

void setRois(Kx10Simulator& sim, int kind) {
    ASSERT_GE(sim.KX10MCA_2DSCAN_PSET(1, '1', 2048), 0);
    const Window w[] = {kTiKa, kFeKa, kCuKa, kZnKa, kPbLa};
    for (int r = 0; r < 5; ++r) ASSERT_GE(sim.KX10MCA_2DSCAN_ROISET(1, '1', r, w[r].first, w[r].last, kind), 0);
}

// A line as the sequencer runs it: X at constant speed from its present place to `end`, one
// pixel every `interval` pulses.
void startLine(Kx10Simulator& sim, int32_t speed, int32_t interval, int32_t end) {
    sim.KX10Motor_Set_Speed(1, '2', '0', speed, speed, speed, 0, 0);
    sim.KX10Motor_Set_Interval_Pulse(1, '2', '0', interval);
    sim.KX10Motor_MoveTo_PAddress(1, '2', '0', end);
    sim.KX10MCA_2DSCAN_Start(1, '1');
}

TEST(SimScan2D, EveryIntervalOfXPulsesClosesOnePixel) {
    ManualClock clock;
    Kx10Simulator sim(clock);
    setRois(sim, 1);
    sim.KX10MCA_2DSCAN_OFFSET(1, '1', 0);
    startLine(sim, 100, 10, 200);  // 20 pixels of 0.1 s
    EXPECT_EQ(waiting(sim), 0);
    clock.advance(550);
    EXPECT_EQ(waiting(sim), 5);
    clock.advance(10000);
    EXPECT_EQ(waiting(sim), 20) << "no pixel without X pulses";
    for (int k = 0; k < 20; ++k) readPixel(sim);
    EXPECT_EQ(waiting(sim), 0);
    uint8_t frame[130];
    EXPECT_LT(sim.KX10MCA_2DSCAN_ReadROI(1, '1', frame, sizeof frame), 0);

    // The way back closes pixels too (back and forth); the stop ends them; the interval
    // 999999999 ends them as well.
    startLine(sim, 100, 10, 100);
    clock.advance(1000);
    EXPECT_EQ(waiting(sim), 10);
    sim.KX10MCA_2DSCAN_Stop(1, '1');
    sim.KX10Motor_MoveTo_PAddress(1, '2', '0', 0);
    clock.advance(2000);
    EXPECT_EQ(waiting(sim), 10);
    sim.KX10MCA_2DSCAN_Start(1, '1');
    sim.KX10Motor_Set_Interval_Pulse(1, '2', '0', 999999999);
    sim.KX10Motor_MoveTo_PAddress(1, '2', '0', 300);
    clock.advance(4000);
    EXPECT_EQ(waiting(sim), 10);
    ASSERT_GE(sim.KX10MCA_2DSCAN_OFFSET(1, '1', 0), 0);
    EXPECT_EQ(waiting(sim), 0) << "the offset command resets the store";
}

TEST(SimScan2D, FastPixelsPileUpUntilTheStoreOverflows) {
    ManualClock clock;
    Kx10Simulator sim(clock);
    setRois(sim, 1);
    // 5 ms pixels: a 250 ms tick finds 50 waiting.
    startLine(sim, 2000, 10, 5000);
    clock.advance(250);
    EXPECT_EQ(waiting(sim), 50);
    clock.advance(5000);
    uint8_t block[69];
    ASSERT_GE(sim.KX10MCA_2DSCAN_ReadDebug(1, '1', block, sizeof block), 0);
    EXPECT_EQ(block[6], 0) << "500 pixels fit";
    sim.KX10Motor_MoveTo_PAddress(1, '2', '0', -5000);
    clock.advance(6000);
    EXPECT_EQ(waiting(sim), 999) << "the three-digit count saturates";
    ASSERT_GE(sim.KX10MCA_2DSCAN_ReadDebug(1, '1', block, sizeof block), 0);
    EXPECT_EQ(block[6], 1) << "overflow switch";
    EXPECT_EQ(block[0], 255) << "the one-byte count saturates";
    EXPECT_EQ(readLe(block + 60), SimScan2D::kQueueFrames);
    readPixel(sim);
    ASSERT_GE(sim.KX10MCA_2DSCAN_ReadDebug(1, '1', block, sizeof block), 0);
    EXPECT_EQ(readLe(block + 64), 1) << "read position";
    sim.KX10MCA_2DSCAN_OFFSET(1, '1', 0);
    ASSERT_GE(sim.KX10MCA_2DSCAN_ReadDebug(1, '1', block, sizeof block), 0);
    EXPECT_EQ(block[6], 0);
}

TEST(SimScan2D, PixelCountsFollowTheSampleAlongThePathAndTheDwell) {
    ManualClock clock;
    Kx10Simulator sim(clock);
    setRois(sim, 1);
    // A line through the Fe disc's centre (y = 0.70 of the 6.4-unit tile): 64 pixels of 0.1 unit.
    sim.KX10Motor_Set_Speed(1, '2', '1', 1000, 1000, 0, 0, 0);
    sim.KX10Motor_MoveTo_PAddress(1, '2', '1', 448);
    runUntilStopped(sim, clock, '2', '1');
    startLine(sim, 50, 10, 640);  // 0.2 s per pixel
    clock.advance(14000);
    ASSERT_EQ(waiting(sim), 64);
    std::vector<int32_t> fe(64);
    for (int k = 0; k < 64; ++k) fe[k] = readPixel(sim)[1];
    // Disc from x = 0.11 to 0.45 of the tile: pixels 7..28 inside, richest near pixel 18.
    double inside = 0, outside = 0;
    for (int k = 10; k < 26; ++k) inside += fe[k];
    for (int k = 34; k < 50; ++k) outside += fe[k];
    EXPECT_GT(inside, 8 * outside);
    // Against the expectation: the rate of ROI 1 at the pixel's middle times its live dwell.
    const int k = 18;
    double w[kSimComponents];
    sim.sample().weights((10 * k + 5) / 100.0, 4.48, w);
    const double expected = sim.scan(1)->expectedRate(1, w) * 0.2 * sim.emission().liveFraction(w, sim.config().deadTimeSec);
    EXPECT_NEAR(fe[k], expected, 5 * std::sqrt(expected) + 0.05 * expected);

    // Twice the dwell, about twice the counts. No pixels on the way back.
    sim.KX10Motor_Set_Interval_Pulse(1, '2', '0', 0);
    sim.KX10Motor_MoveTo_PAddress(1, '2', '0', 0);
    runUntilStopped(sim, clock, '2', '0');
    startLine(sim, 25, 10, 640);
    clock.advance(30000);
    ASSERT_EQ(waiting(sim), 64);
    double slow = 0;
    for (int j = 0; j < 64; ++j) {
        const int32_t v = readPixel(sim)[1];
        if (j >= 10 && j < 26) slow += v;
    }
    EXPECT_NEAR(slow / inside, 2.0, 0.2);
}

TEST(SimScan2D, NetSubtractsTheStraightBackgroundOfTheEdges) {
    ManualClock clock;
    Kx10Simulator sim(clock);
    // Off the tile only the continuum: GROSS counts, NET scatters about zero.
    sim.KX10Motor_Set_Speed(1, '2', '1', 1000, 1000, 0, 0, 0);
    sim.KX10Motor_MoveTo_PAddress(1, '2', '1', -1000);
    runUntilStopped(sim, clock, '2', '1');
    sim.KX10MCA_2DSCAN_PSET(1, '1', 2048);
    sim.KX10MCA_2DSCAN_ROISET(1, '1', 0, 500, 600, 1);
    sim.KX10MCA_2DSCAN_ROISET(1, '1', 1, 500, 600, 0);
    startLine(sim, 100, 100, 3000);  // 30 pixels of 1 s
    clock.advance(31000);
    ASSERT_EQ(waiting(sim), 30);
    double gross = 0, net = 0;
    for (int k = 0; k < 30; ++k) {
        const auto v = readPixel(sim);
        gross += v[0];
        net += v[1];
        EXPECT_EQ(v[5], 0) << "a ROI never set reads 0";
    }
    EXPECT_GT(gross / 30, 100);
    EXPECT_LT(std::fabs(net / 30), 0.25 * gross / 30);
}

TEST(SimScan2D, RoiSettingsAreCheckedAndShownInTheDebugBlock) {
    ManualClock clock;
    Kx10Simulator sim(clock);
    EXPECT_LT(sim.KX10MCA_2DSCAN_ROISET(1, '1', 20, 1, 2, 0), 0);
    EXPECT_LT(sim.KX10MCA_2DSCAN_ROISET(1, '1', -1, 1, 2, 0), 0);
    EXPECT_LT(sim.KX10MCA_2DSCAN_ROISET(1, '1', 0, 10, 5, 0), 0);
    EXPECT_LT(sim.KX10MCA_2DSCAN_ROISET(1, '1', 0, 1, 2, 2), 0);
    EXPECT_LT(sim.KX10MCA_2DSCAN_PSET(1, '1', 100), 0);
    ASSERT_GE(sim.KX10MCA_2DSCAN_PSET(1, '1', 1024), 0);
    ASSERT_GE(sim.KX10MCA_2DSCAN_ROISET(1, '1', 2, 100, 150, 0), 0);
    ASSERT_GE(sim.KX10MCA_2DSCAN_ROISET(1, '1', 3, 310, 330, 1), 0);
    sim.KX10MCA_2DSCAN_Start(1, '1');
    uint8_t b[69];
    ASSERT_GE(sim.KX10MCA_2DSCAN_ReadDebug(1, '1', b, sizeof b), 0);
    EXPECT_EQ(b[2] | (b[3] << 8), 1024);
    EXPECT_EQ(b[4], 1) << "running";
    EXPECT_EQ(readLe(b + 16), 100);
    EXPECT_EQ(readLe(b + 32), 150);
    EXPECT_EQ(static_cast<int8_t>(b[42]), 0);
    EXPECT_EQ(readLe(b + 20), 310);
    EXPECT_EQ(readLe(b + 36), 330);
    EXPECT_EQ(static_cast<int8_t>(b[43]), 1);
    EXPECT_EQ(b[68], 'E');
    sim.KX10MCA_2DSCAN_Stop(1, '1');
    ASSERT_GE(sim.KX10MCA_2DSCAN_ReadDebug(1, '1', b, sizeof b), 0);
    EXPECT_EQ(b[4], 0);
}

// A 64 x 64 map of the whole tile: each element's map matches the specimen's drawing of that
// element (correlation with the concentration at the pixel centres), so the shapes are there.
TEST(SimScan2D, AMapOfTheSpecimenShowsItsElementRegions) {
    ManualClock clock;
    SimConfig cfg;
    cfg.rateScale = 4.0;  // enough counts in short pixels
    Kx10Simulator sim(clock, cfg);
    setRois(sim, 0);
    constexpr int kN = 64;
    std::vector<double> map[5], truth[5];
    for (auto& m : map) m.assign(kN * kN, 0.0);
    for (auto& t : truth) t.assign(kN * kN, 0.0);
    sim.KX10Motor_Set_Speed(1, '2', '1', 2000, 2000, 0, 0, 0);
    for (int y = 0; y < kN; ++y) {
        sim.KX10Motor_Set_Speed(1, '2', '0', 2000, 2000, 0, 0, 0);
        sim.KX10Motor_Set_Interval_Pulse(1, '2', '0', 999999999);
        sim.KX10Motor_MoveTo_PAddress(1, '2', '0', 0);
        sim.KX10Motor_MoveTo_PAddress(1, '2', '1', 10 * y + 5);
        runUntilStopped(sim, clock, '2', '0');
        runUntilStopped(sim, clock, '2', '1');
        startLine(sim, 200, 10, 10 * kN);  // 50 ms pixels
        clock.advance(3300);
        ASSERT_EQ(waiting(sim), kN) << "line " << y;
        for (int x = 0; x < kN; ++x) {
            const auto v = readPixel(sim);
            double w[kSimComponents];
            SimSample::weightsInTile((x + 0.5) / kN, (y + 0.5) / kN, w);
            for (int e = 0; e < 5; ++e) {
                map[e][y * kN + x] = v[e];
                truth[e][y * kN + x] = w[kTi + e];
            }
        }
    }
    auto correlation = [](const std::vector<double>& a, const std::vector<double>& b) {
        double ma = 0, mb = 0;
        for (size_t i = 0; i < a.size(); ++i) { ma += a[i]; mb += b[i]; }
        ma /= a.size();
        mb /= b.size();
        double sab = 0, saa = 0, sbb = 0;
        for (size_t i = 0; i < a.size(); ++i) {
            sab += (a[i] - ma) * (b[i] - mb);
            saa += (a[i] - ma) * (a[i] - ma);
            sbb += (b[i] - mb) * (b[i] - mb);
        }
        return sab / std::sqrt(saa * sbb);
    };
    const char* names[] = {"Ti", "Fe", "Cu", "Zn", "Pb"};
    for (int e = 0; e < 5; ++e) EXPECT_GT(correlation(map[e], truth[e]), 0.8) << names[e];
    // And the regions are told apart: the Fe map does not look like the Cu drawing.
    EXPECT_LT(correlation(map[1], truth[2]), 0.3);
}

}  // namespace
