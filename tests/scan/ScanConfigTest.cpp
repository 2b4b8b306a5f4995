#include "app/FieldText.h"
#include "scan/ScanConfig.h"
#include "instrument/Pulses.h"

#include <gtest/gtest.h>
#include <limits>

using namespace qor;

namespace {

InfoRecord scanRecord() {
    InfoRecord r{};
    r.MotorLogicalPulses[0] = 100;
    r.MotorLogicalPulses[1] = 100;
    r.ScanXSteps = 10;
    r.ScanYSteps = 10;
    r.ScanXPixelPulses = 10;
    r.ScanYPixelPulses = 10;
    r.ZStart = 0.0;
    r.ZEnd = 1.0;
    r.ZStep = 0.1;
    r.ZCount = 1;
    return r;
}

// The step and count boxes as the page wires them: writing a box runs its handler only when the
// text changes, and each handler writes the other box.
struct ZBoxes {
    InfoRecord& r;
    QString step, count;
    int writes = 0;
    void setStep(const QString& t) {
        if (t == step) return;
        step = t;
        ++writes;
        if (zStepTyped(r, step)) setCount(QString::number(r.ZCount));
    }
    void setCount(const QString& t) {
        if (t == count) return;
        count = t;
        ++writes;
        if (zCountTyped(r, count)) setStep(formatGeneral(r.ZStep));
    }
};

}  // namespace

TEST(StageUnits, LogicalToPulsesRoundsHalfUpAndTowardZero) {
    EXPECT_EQ(124, logicalToPulses(100, 1.239));
    EXPECT_EQ(-123, logicalToPulses(100, -1.239));
    EXPECT_EQ(-2, logicalToPulses(1, -2.7));
    EXPECT_EQ(4200, logicalToPulses(400, 10.5));
    EXPECT_EQ(-4199, logicalToPulses(400, -10.5));
    // Absurd values are held inside the int32 range instead of overflowing.
    EXPECT_EQ(std::numeric_limits<int32_t>::max(), logicalToPulses(100, 1e300));
    EXPECT_EQ(std::numeric_limits<int32_t>::min(), logicalToPulses(100, -1e300));
    EXPECT_EQ(0, truncToInt32(std::numeric_limits<double>::quiet_NaN()));
}

TEST(StageUnits, PulsesToLogicalNeverDividesByAMissingScale) {
    EXPECT_DOUBLE_EQ(12.5, pulsesToLogical(5000, 400));
    EXPECT_DOUBLE_EQ(-0.01, pulsesToLogical(-1, 100));
    EXPECT_DOUBLE_EQ(0.0, pulsesToLogical(5000, 0));
    EXPECT_DOUBLE_EQ(0.0, pulsesToLogical(5000, -20));
}

TEST(ScanConfig, MapChannelSizeAndTheMismatchWithMca1) {
    EXPECT_EQ(256, mapChannelCount(0));
    EXPECT_EQ(512, mapChannelCount(1));
    EXPECT_EQ(2048, mapChannelCount(3));
    EXPECT_EQ(4096, mapChannelCount(4));
    EXPECT_EQ(0, mapChannelCount(-1));
    EXPECT_EQ(0, mapChannelCount(5));
    InfoRecord r{};
    r.McaChannels[0] = 1024;
    r.MapChannelIndex = 1;
    EXPECT_TRUE(mapChannelSizeDiffers(r));
    r.MapChannelIndex = 2;
    EXPECT_FALSE(mapChannelSizeDiffers(r));
    r.MapChannelIndex = 9;  // a damaged record never matches
    EXPECT_TRUE(mapChannelSizeDiffers(r));
}

TEST(ScanConfig, PixelWidthsGiveTheStepsAndEnds) {
    InfoRecord r = scanRecord();
    r.ScanXPixelPulses = 25;
    r.ScanXStart = 1.5;   // an old record's value: every line starts at the origin
    r.ScanYStart = 12.75;
    ASSERT_TRUE(deriveXStep(r));
    EXPECT_DOUBLE_EQ(0.0, r.ScanXStart);
    EXPECT_DOUBLE_EQ(0.25, r.ScanXStep);
    EXPECT_DOUBLE_EQ(2.5, r.ScanXEnd);
    r.ScanXSteps = 4;
    deriveXEnd(r);
    EXPECT_DOUBLE_EQ(1.0, r.ScanXEnd);

    r.ScanYPixelPulses = 30;
    r.ScanYSteps = 7;
    r.MotorLogicalPulses[1] = 200;
    ASSERT_TRUE(deriveYRange(r));
    EXPECT_DOUBLE_EQ(0.0, r.ScanYStart);
    EXPECT_DOUBLE_EQ(0.15, r.ScanYStep);
    EXPECT_DOUBLE_EQ(7 * 0.15, r.ScanYEnd);
}

TEST(ScanConfig, MissingPulsesPerUnitLeavesTheDerivedValues) {
    InfoRecord r = scanRecord();
    r.ScanXStep = 0.7;
    r.ScanXEnd = 3.0;
    r.ScanYStep = 0.2;
    r.ScanYEnd = 4.0;
    r.MotorLogicalPulses[0] = 0;
    r.MotorLogicalPulses[1] = -5;
    EXPECT_FALSE(deriveXStep(r));
    EXPECT_FALSE(deriveYRange(r));
    EXPECT_DOUBLE_EQ(0.7, r.ScanXStep);
    EXPECT_DOUBLE_EQ(3.0, r.ScanXEnd);
    EXPECT_DOUBLE_EQ(0.2, r.ScanYStep);
    EXPECT_DOUBLE_EQ(4.0, r.ScanYEnd);
}

TEST(ScanConfigZ, StepTypedSnapsToRangeOverCount) {
    InfoRecord r = scanRecord();
    ZBoxes z{r, QString(), QStringLiteral("1")};
    z.setStep(QStringLiteral("0.3"));
    EXPECT_EQ(3, r.ZCount);
    EXPECT_NEAR(1.0 / 3.0, r.ZStep, 1e-14);
    EXPECT_EQ(QStringLiteral("3"), z.count);
    EXPECT_EQ(QStringLiteral("0.333333333333333"), z.step);
    // Settled: writing the same texts again changes nothing.
    const int writes = z.writes;
    z.setCount(z.count);
    z.setStep(z.step);
    EXPECT_EQ(writes, z.writes);
}

TEST(ScanConfigZ, StepOnAUnitRangeGivesElevenPlanes) {
    InfoRecord r = scanRecord();
    ZBoxes z{r, QString(), QString()};
    z.setStep(QStringLiteral("0.1"));
    EXPECT_EQ(10, r.ZCount);
    EXPECT_DOUBLE_EQ(0.1, r.ZStep);
    EXPECT_EQ(QStringLiteral("0.1"), z.step);
}

TEST(ScanConfigZ, FallingRangeKeepsAPositiveStep) {
    InfoRecord r = scanRecord();
    r.ZStart = 5.0;
    r.ZEnd = 2.0;
    ZBoxes z{r, QString(), QString()};
    z.setStep(QStringLiteral("1"));
    EXPECT_EQ(3, r.ZCount);
    EXPECT_DOUBLE_EQ(1.0, r.ZStep);
}

TEST(ScanConfigZ, ZeroOrNegativeStepBecomesOneHundredthAndKeepsTheCount) {
    for (const char* typed : {"0", "-0.5", "-3"}) {
        InfoRecord r = scanRecord();
        r.ZCount = 7;
        EXPECT_FALSE(zStepTyped(r, QString::fromLatin1(typed))) << typed;
        EXPECT_DOUBLE_EQ(0.01, r.ZStep) << typed;
        EXPECT_EQ(7, r.ZCount) << typed;
    }
}

TEST(ScanConfigZ, CountOnAnEmptyRangeEndsWithTheSmallestStep) {
    InfoRecord r = scanRecord();
    r.ZStart = 2.0;
    r.ZEnd = 2.0;
    ZBoxes z{r, QStringLiteral("0.1"), QString()};
    z.setCount(QStringLiteral("4"));
    EXPECT_EQ(4, r.ZCount);
    EXPECT_DOUBLE_EQ(0.01, r.ZStep);
    EXPECT_EQ(QStringLiteral("0"), z.step) << "the box keeps the text it was given";
}

TEST(ScanConfigZ, CountTypedAsARealAndCountZero) {
    InfoRecord r = scanRecord();
    ZBoxes z{r, QString(), QString()};
    z.setCount(QStringLiteral("2.5"));
    // Count 2.5: step 1 / 2.5 = 0.4, whose count (2.5 + 0.5) is 3; the step then snaps to 1/3.
    EXPECT_EQ(3, r.ZCount);
    EXPECT_NEAR(1.0 / 3.0, r.ZStep, 1e-14);

    InfoRecord r0 = scanRecord();
    r0.ZEnd = 0.5;
    EXPECT_TRUE(zCountTyped(r0, QStringLiteral("0")));
    EXPECT_DOUBLE_EQ(0.5, r0.ZStep) << "a count of 0 takes the whole range";
}

TEST(ScanConfigZ, TextWithoutANumberChangesNothing) {
    InfoRecord r = scanRecord();
    EXPECT_FALSE(zStepTyped(r, QStringLiteral("abc")));
    EXPECT_FALSE(zStepTyped(r, QString()));
    EXPECT_FALSE(zCountTyped(r, QStringLiteral("x3")));
    EXPECT_DOUBLE_EQ(0.1, r.ZStep);
    EXPECT_EQ(1, r.ZCount);
}

TEST(ScanConfigZ, HugeRangeHoldsTheCountInsideInt32) {
    InfoRecord r = scanRecord();
    r.ZStart = -1e308;
    r.ZEnd = 1e308;  // the range overflows to infinity
    ASSERT_TRUE(zStepTyped(r, QStringLiteral("1e-300")));
    EXPECT_EQ(std::numeric_limits<int32_t>::max(), r.ZCount);
}

// The size shown is the size scanned: ScanXSteps pixels of one pixel width per line, ScanYSteps
// lines (10 x 10 pulses at 100 per unit: 10 pixels over 0 .. 1.00).
TEST(ScanConfig, SizeDisplayTexts) {
    InfoRecord r = scanRecord();
    ScanSizeTexts t = scanSizeTexts(r);
    EXPECT_EQ(QStringLiteral("  10"), t.pointsX);
    EXPECT_EQ(QStringLiteral("  10"), t.pointsY);
    EXPECT_EQ(QStringLiteral("      1.00\r"), t.sizeX);
    EXPECT_EQ(QStringLiteral("      1.00\r"), t.sizeY);

    r.ScanXSteps = 255;
    r.ScanYPixelPulses = 50;
    r.MotorLogicalPulses[1] = 0;
    t = scanSizeTexts(r);
    EXPECT_EQ(QStringLiteral(" 255"), t.pointsX);
    EXPECT_EQ(QStringLiteral("     25.50\r"), t.sizeX);
    EXPECT_EQ(QStringLiteral("      0.00\r"), t.sizeY) << "no division by a zero scale";

    r.ScanXSteps = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(QStringLiteral("2147483647"), scanSizeTexts(r).pointsX);
}
