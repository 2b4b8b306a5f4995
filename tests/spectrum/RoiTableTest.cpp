// ROI rules: gross and net counts, and the edits of the ROI commands.

#include "spectrum/RoiTable.h"
#include "spectrum/SpectrumState.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace qor;

namespace {

// One slot of 4096 channels, exactly as large as a slot: reading outside it would be a fault.
struct Slot {
    std::vector<int32_t> x = std::vector<int32_t>(kSlotChannels, 0);
    void fill(int32_t v) { std::fill(x.begin(), x.end(), v); }
};

std::unique_ptr<InfoRecord> record() { return std::make_unique<InfoRecord>(); }

void setRoi(InfoRecord& r, int s, int roi, int32_t L, int32_t R) {
    r.RoiStart[s][roi] = L;
    r.RoiEnd[s][roi] = R;
}

}  // namespace

TEST(RoiCounts, FlatSpectrumHasNoNetCounts) {
    Slot s;
    s.fill(50);
    const RoiCounts c = roiNetGross(s.x.data(), 100, 110, 2048);
    EXPECT_EQ(550, c.gross);
    EXPECT_EQ(0, c.net);
}

TEST(RoiCounts, PeakOverAStraightBackground) {
    Slot s;
    s.fill(10);
    for (int k = 200; k <= 204; ++k) s.x[k] = 110;  // a flat-topped peak inside [190, 214]
    const RoiCounts c = roiNetGross(s.x.data(), 190, 214, 2048);
    EXPECT_EQ(25 * 10 + 5 * 100, c.gross);
    EXPECT_EQ(500, c.net);
    // A background above the peak gives a negative net.
    s.x[188] = s.x[189] = s.x[190] = 1000;
    EXPECT_LT(roiNetGross(s.x.data(), 190, 214, 2048).net, 0);
}

TEST(RoiCounts, EdgeAveragesFollowTheEndChannel) {
    Slot s;
    s.x[0] = 90;
    s.x[1] = 30;
    s.x[2] = 6;
    s.x[3] = 6;
    s.x[4] = 6;
    s.x[5] = 6;
    // R <= 5: the left average is x[L] alone. BL = 6, BR = (6 + 6 + 6) / 3 = 6.
    RoiCounts c = roiNetGross(s.x.data(), 2, 5, 2048);
    EXPECT_EQ(24, c.gross);
    EXPECT_EQ(24 - 24, c.net);

    // R > 5 with L = 1: only channels 1 and 0 exist below L. BL = (30 + 90) / 2 = 60.
    for (int k = 6; k <= 10; ++k) s.x[k] = 0;
    c = roiNetGross(s.x.data(), 1, 10, 2048);
    EXPECT_EQ(30 + 4 * 6, c.gross);
    EXPECT_EQ(54 - static_cast<int32_t>((60 + 0) * 10 * 0.5), c.net);

    // L = 0: channel 0 alone.
    c = roiNetGross(s.x.data(), 0, 10, 2048);
    EXPECT_EQ(144 - static_cast<int32_t>((90 + 0) * 11 * 0.5), c.net);
}

TEST(RoiCounts, RightAverageAtTheEndOfTheSlot) {
    Slot s;
    s.x[2045] = 30;
    s.x[2046] = 60;
    s.x[2047] = 90;
    s.x[2048] = 300;
    // R = N - 1 still averages three channels: BR = 60, BL = 0.
    RoiCounts c = roiNetGross(s.x.data(), 2040, 2047, 2048);
    EXPECT_EQ(180, c.gross);
    EXPECT_EQ(180 - static_cast<int32_t>(60 * 8 * 0.5), c.net);
    // R >= N takes x[R] alone: BR = 300.
    c = roiNetGross(s.x.data(), 2040, 2048, 2048);
    EXPECT_EQ(480, c.gross);
    EXPECT_EQ(480 - static_cast<int32_t>(300 * 9 * 0.5), c.net);
}

TEST(RoiCounts, EndsOutsideTheSlotReadOnlyChannelsThatExist) {
    Slot s;
    s.fill(2);
    const RoiCounts c = roiNetGross(s.x.data(), 4090, 9000, 4096);
    EXPECT_EQ(12, c.gross) << "channels 4090..4095";
    const RoiCounts neg = roiNetGross(s.x.data(), -20, 3, 4096);
    EXPECT_EQ(8, neg.gross) << "channels 0..3";
}

TEST(RoiCounts, GrossIsASigned32BitSum) {
    Slot s;
    s.x[10] = 2000000000;
    s.x[11] = 2000000000;
    const RoiCounts c = roiNetGross(s.x.data(), 10, 11, 2048);
    EXPECT_EQ(static_cast<int32_t>(4000000000u), c.gross);
}

TEST(RoiNumber, OnlySelectableNumbersAreTaken) {
    int32_t n = 5;
    EXPECT_TRUE(parseRoiNumber(QStringLiteral("12x"), n));
    EXPECT_EQ(12, n);
    EXPECT_TRUE(parseRoiNumber(QStringLiteral("99"), n));
    EXPECT_EQ(99, n);
    for (const char* bad : {"0", "100", "-3", "abc", ""}) {
        n = 7;
        EXPECT_FALSE(parseRoiNumber(QString::fromLatin1(bad), n)) << bad;
        EXPECT_EQ(7, n) << bad;
    }
    EXPECT_EQ(0, roiIndex(-4));
    EXPECT_EQ(99, roiIndex(150));
}

TEST(RoiSet, TwoPressesDefineTheRoiInEitherOrder) {
    auto r = record();
    roiSet(*r, 0, 3, 500);
    EXPECT_EQ(500, r->RoiStart[0][3]);
    EXPECT_EQ(0, r->RoiEnd[0][3]);
    roiSet(*r, 0, 3, 420);
    EXPECT_EQ(420, r->RoiStart[0][3]) << "start and end exchanged";
    EXPECT_EQ(500, r->RoiEnd[0][3]);
    roiSet(*r, 0, 3, 610);
    EXPECT_EQ(420, r->RoiStart[0][3]) << "a third press moves the end only";
    EXPECT_EQ(610, r->RoiEnd[0][3]);
}

TEST(RoiSet, FirstPressOnChannelZeroLeavesTheStartUnset) {
    auto r = record();
    roiSet(*r, 1, 2, 0);
    EXPECT_EQ(0, r->RoiStart[1][2]);
    EXPECT_EQ(0, r->RoiEnd[1][2]);
    roiSet(*r, 1, 2, 77);
    EXPECT_EQ(77, r->RoiStart[1][2]) << "the next press sets the start again";
    EXPECT_EQ(0, r->RoiEnd[1][2]);
}

TEST(RoiClear, ClearsOneRoiOrTheWholeSlot) {
    auto r = record();
    for (int roi = 0; roi < kRoiCount; ++roi) {
        setRoi(*r, 0, roi, 10 + roi, 20 + roi);
        setRoi(*r, 1, roi, 10 + roi, 20 + roi);
    }
    roiClear(*r, 0, 5);
    EXPECT_EQ(0, r->RoiEnd[0][5]);
    EXPECT_EQ(0, r->RoiStart[0][5]);
    EXPECT_EQ(24, r->RoiEnd[0][4]);
    roiClearAll(*r, 0);
    for (int roi = 0; roi < kRoiCount; ++roi) {
        EXPECT_EQ(0, r->RoiStart[0][roi]) << roi;
        EXPECT_EQ(0, r->RoiEnd[0][roi]) << roi;
        EXPECT_EQ(20 + roi, r->RoiEnd[1][roi]) << "other slots keep their ROIs";
    }
}

TEST(RoiEdges, NarrowStopsAtTwoChannels) {
    auto r = record();
    setRoi(*r, 0, 1, 10, 13);
    roiNarrow(*r, 0, 1);
    EXPECT_EQ(11, r->RoiStart[0][1]);
    EXPECT_EQ(12, r->RoiEnd[0][1]);
    roiNarrow(*r, 0, 1);
    EXPECT_EQ(11, r->RoiStart[0][1]);
    EXPECT_EQ(12, r->RoiEnd[0][1]);
}

TEST(RoiEdges, WidenAndShiftMoveEachEdgeByOneChannel) {
    auto r = record();
    setRoi(*r, 0, 1, 100, 120);
    roiWiden(*r, 0, 1, 2048);
    EXPECT_EQ(99, r->RoiStart[0][1]);
    EXPECT_EQ(121, r->RoiEnd[0][1]);
    roiShiftLeft(*r, 0, 1);
    EXPECT_EQ(98, r->RoiStart[0][1]);
    EXPECT_EQ(120, r->RoiEnd[0][1]);
    roiShiftRight(*r, 0, 1, 2048);
    EXPECT_EQ(99, r->RoiStart[0][1]);
    EXPECT_EQ(121, r->RoiEnd[0][1]);
}

TEST(RoiEdges, StartStopsAtChannelTwo) {
    auto r = record();
    setRoi(*r, 0, 1, 4, 9);
    for (int i = 0; i < 10; ++i) roiShiftLeft(*r, 0, 1);
    EXPECT_EQ(2, r->RoiStart[0][1]);
    EXPECT_EQ(3, r->RoiEnd[0][1]) << "the end follows down to start + 1";
    roiWiden(*r, 0, 1, 2048);
    EXPECT_EQ(2, r->RoiStart[0][1]);
    EXPECT_EQ(4, r->RoiEnd[0][1]);
}

TEST(RoiEdges, TheEndNeverLeavesTheSlot) {
    auto r = record();
    // The right-edge moves test the start, so a wide ROI's end runs ahead of it.
    setRoi(*r, 0, 1, 100, 4090);
    for (int i = 0; i < 20; ++i) roiWiden(*r, 0, 1, 4096);
    EXPECT_EQ(80, r->RoiStart[0][1]);
    EXPECT_EQ(4095, r->RoiEnd[0][1]);
    setRoi(*r, 0, 2, 3000, 4094);
    for (int i = 0; i < 20; ++i) roiShiftRight(*r, 0, 2, 4096);
    EXPECT_EQ(3020, r->RoiStart[0][2]);
    EXPECT_EQ(4095, r->RoiEnd[0][2]);
    // A slot smaller than 4096 lets the end pass N - 1 but not 4095.
    setRoi(*r, 0, 3, 1000, 2046);
    for (int i = 0; i < 5; ++i) roiWiden(*r, 0, 3, 2048);
    EXPECT_EQ(2051, r->RoiEnd[0][3]);
}

TEST(RoiCall, TheHighestDefinedRoiUnderTheCursorWins) {
    auto r = record();
    setRoi(*r, 0, 3, 100, 200);
    setRoi(*r, 0, 7, 150, 160);
    setRoi(*r, 0, 9, 150, 0);     // not defined
    setRoi(*r, 0, 0, 100, 300);   // ROI 0 is never matched
    EXPECT_EQ(7, roiAtChannel(*r, 0, 155));
    EXPECT_EQ(3, roiAtChannel(*r, 0, 120));
    EXPECT_EQ(3, roiAtChannel(*r, 0, 200));
    EXPECT_EQ(0, roiAtChannel(*r, 0, 250));
    EXPECT_EQ(0, roiAtChannel(*r, 1, 155)) << "the slot's own table";
}
