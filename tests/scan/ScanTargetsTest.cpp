// The scan's targets against the counters and the soft limits, and the progress arithmetic.

#include "app/InfoRecord.h"
#include "scan/ScanProgress.h"
#include "scan/ScanTargets.h"

#include <gtest/gtest.h>
#include <limits>

using namespace qor;

namespace {

// A 16 x 16 scan of 40-pulse pixels (6.4 units at 100 pulses per unit), soft limits +-45.
InfoRecord scanRecord() {
    InfoRecord r{};
    setCreationDefaults(r, "/tmp/");
    r.ScanXSteps = r.MapPixelsX = 16;
    r.ScanYSteps = r.MapPixelsY = 16;
    r.ScanXPixelPulses = 40;
    r.ScanYPixelPulses = 40;
    r.ScanXSpeedPps = 400;
    r.ScanMethod = 0;
    return r;
}

std::string problem(const InfoRecord& r) { return scanTargetProblem(r).toStdString(); }

}  // namespace

TEST(ScanTargets, TravelInsideTheSoftLimitsStartsUpToTheLimitItself) {
    InfoRecord r = scanRecord();
    EXPECT_EQ("", problem(r));
    r.SoftLimitPlus[0] = 6.4;   // the line ends exactly on the limit
    EXPECT_EQ("", problem(r));
    r.SoftLimitPlus[0] = 6.39;
    EXPECT_EQ("X軸 (Motor#1) の移動範囲 0 ～ 6.4 がソフトリミット(+) 6.39 を超えています。"
              "SETUPページのソフトリミットか測定範囲を見直してください。二次元SCANを開始できません",
              problem(r));
}

TEST(ScanTargets, TheYTravelReachesTheFarEdgeOfTheLastLine) {
    InfoRecord r = scanRecord();
    r.SoftLimitPlus[1] = 6.3;   // the last line lies at 6.0, its pixels reach 6.4
    EXPECT_NE(std::string::npos, problem(r).find("Y軸 (Motor#2) の移動範囲 0 ～ 6.4"));
    r.SoftLimitPlus[1] = 6.4;
    EXPECT_EQ("", problem(r));
}

TEST(ScanTargets, BackAndForthCountsTheBacklashTurns) {
    InfoRecord r = scanRecord();
    r.ScanMethod = 1;
    r.XBacklashPulses = 300;   // X starts from -3 units
    r.SoftLimitMinus[0] = -2.5;
    EXPECT_NE(std::string::npos,
              problem(r).find("X軸 (Motor#1) の移動範囲 -3 ～ 6.4 がソフトリミット(-) -2.5"));
    // A negative backlash turns beyond the line end: 6.4 + 3.
    r.SoftLimitMinus[0] = -45.0;
    r.XBacklashPulses = -300;
    r.SoftLimitPlus[0] = 9.0;
    EXPECT_NE(std::string::npos, problem(r).find("移動範囲 0 ～ 9.4 がソフトリミット(+) 9"));
    // Y goes back by its backlash before the first line.
    r.XBacklashPulses = 0;
    r.YBacklashPulses = 500;
    r.SoftLimitMinus[1] = -4.0;
    EXPECT_NE(std::string::npos, problem(r).find("Y軸 (Motor#2) の移動範囲 -5 ～ 6.4"));
    // One way the backlash is never used.
    r.ScanMethod = 0;
    EXPECT_EQ("", problem(r));
}

TEST(ScanTargets, ZPlanesRisingAndFallingAgainstTheZLimits) {
    InfoRecord r = scanRecord();
    r.ScanUseZ = 1;
    r.ZStart = 1.0;
    r.ZEnd = 5.0;
    r.ZCount = 4;
    r.ZStep = 1.0;
    EXPECT_EQ("", problem(r));
    r.SoftLimitPlus[2] = 4.5;
    EXPECT_NE(std::string::npos, problem(r).find("Z軸 (Motor#3) の移動範囲 1 ～ 5"));
    // Falling: the planes run from 1 down to -3, below a limit at -2.
    r.SoftLimitPlus[2] = 45.0;
    r.ZEnd = -3.0;
    r.SoftLimitMinus[2] = -2.0;
    EXPECT_NE(std::string::npos, problem(r).find("移動範囲 -3 ～ 1 がソフトリミット(-) -2"));
    // Without Z the Z values are not looked at.
    r.ScanUseZ = 0;
    r.ZStart = std::numeric_limits<double>::infinity();
    EXPECT_EQ("", problem(r));
}

TEST(ScanTargets, LimitsOrValuesThatAreNoNumberRefuse) {
    InfoRecord r = scanRecord();
    r.SoftLimitPlus[0] = std::numeric_limits<double>::quiet_NaN();
    EXPECT_NE(std::string::npos, problem(r).find("ソフトリミット(+) nan"));
    r = scanRecord();
    r.ScanUseZ = 1;
    r.ZStep = std::numeric_limits<double>::infinity();
    EXPECT_EQ("Z軸のステップ角度 inf は数値ではありません。二次元SCANを開始できません", problem(r));
}

TEST(ScanTargets, OverflowsAreNamedEvenWithLimitsWiderThanTheCounters) {
    InfoRecord r = scanRecord();
    for (int i = 0; i < 3; ++i) {
        r.SoftLimitMinus[i] = -1e12;
        r.SoftLimitPlus[i] = 1e12;
    }
    r.ScanXPixelPulses = 2147483647;
    r.ScanXSteps = 2;
    EXPECT_NE(std::string::npos, problem(r).find("移動先 4294967294 パルス"));
    // The largest line that fits starts.
    r.ScanXPixelPulses = 1073741823;
    EXPECT_EQ("", problem(r));
    r.ScanUseZ = 1;
    r.ZStart = 3e7;   // the first plane, in double precision
    EXPECT_NE(std::string::npos, problem(r).find("Z軸の開始座標 30000000 × 論理パルス数 100"));
    r.ZStart = -21474836.0;   // -2147483600 + 0.5 fits
    r.ZCount = 0;
    EXPECT_EQ("", problem(r));
}

TEST(ScanProgress, PlannedPixelsOverPassesAndPlanes) {
    InfoRecord r = scanRecord();
    r.ScanXSteps = 4;
    r.ScanYSteps = 3;
    r.ScanRepeat = 2;
    EXPECT_EQ(24, plannedPixels(r));
    r.ScanUseZ = 1;
    r.ZCount = 2;   // three planes
    EXPECT_EQ(72, plannedPixels(r));
    r.ScanRepeat = 0;   // runs one pass
    r.ZCount = -1;      // one plane
    EXPECT_EQ(12, plannedPixels(r));
    r.ScanRepeat = INT32_MAX;
    r.ZCount = INT32_MAX - 1;
    r.ScanXSteps = r.ScanYSteps = 1024;
    EXPECT_EQ(INT64_MAX, plannedPixels(r)) << "saturates";
}

TEST(ScanProgress, LineEstimateAndTimeLeft) {
    InfoRecord r = scanRecord();
    r.ScanXSteps = 4;
    // 160 pulses at 400 pulses/s, back at 200, a Y step of 40 at 200, five ticks.
    EXPECT_EQ(400 + 800 + 200 + 1250, estimatedLineMs(r));
    r.ScanMethod = 1;
    r.XBacklashPulses = -20;   // back and forth: only the backlash turn, whatever its sign
    EXPECT_EQ(400 + 100 + 200 + 1250, estimatedLineMs(r));
    EXPECT_EQ(3 * 2650, timeLeftMs(12, 4, 2650));
    EXPECT_EQ(2650 / 4, timeLeftMs(1, 4, 2650));
    EXPECT_EQ(0, timeLeftMs(0, 4, 2650));
    EXPECT_EQ(0, timeLeftMs(5, 0, 2650));
    char t[16];
    formatDuration(3723999, t);
    EXPECT_STREQ("1:02:03", t);
    formatDuration(-5, t);
    EXPECT_STREQ("0:00:00", t);
    formatDuration(timeLeftMs(INT64_MAX, 1, INT64_MAX), t);
    EXPECT_STREQ("99999:59:59", t) << "absurd scans stay inside the text";
}
