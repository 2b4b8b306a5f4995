// Spectrum to WORK, COPY and the arithmetic between slots.

#include "spectrum/SlotArithmetic.h"

#include <gtest/gtest.h>
#include <limits>
#include <memory>

using namespace qor;

namespace {

struct Slots {
    std::unique_ptr<SpectrumState> sp = std::make_unique<SpectrumState>();
    std::unique_ptr<InfoRecord> rec = std::make_unique<InfoRecord>();
    Slots() { fillSlotTestPatterns(*sp); }
    int32_t* operator[](int s) { return sp->slot[s]; }
};

}  // namespace

TEST(SlotArithmetic, StartUpRampsSubtractToZeroOneWayAnd2000TheOther) {
    Slots s;
    computeSlots(*s.sp, kSlotWork, 0, 1, 1);
    for (int ch = 0; ch < kSlotChannels; ++ch) ASSERT_EQ(0, s[2][ch]) << ch;
    computeSlots(*s.sp, kSlotWork, 1, 1, 0);
    for (int ch = 0; ch < kSlotChannels; ++ch) ASSERT_EQ(2000, s[2][ch]) << ch;
}

TEST(SlotArithmetic, LiveAndRealTimeChannelsAreCombinedLikeCounts) {
    Slots s;
    s[0][0] = 100;
    s[0][1] = 120;
    s[1][0] = 30;
    s[1][1] = 35;
    computeSlots(*s.sp, kSlotWork, 0, 0, 1);
    EXPECT_EQ(130, s[2][0]);
    EXPECT_EQ(155, s[2][1]);
    EXPECT_EQ(4095 + 4095 + 2000, s[2][4095]);
}

TEST(SlotArithmetic, ProductsWrapAndNegativeResultsBecomeZero) {
    EXPECT_EQ(65536, slotOpValue(65536, 2, 65537)) << "2^32 + 65536 wraps to 65536";
    EXPECT_EQ(0, slotOpValue(46341, 2, 46341)) << "wraps to a negative value";
    EXPECT_EQ(0, slotOpValue(std::numeric_limits<int32_t>::max(), 0, 1));
    EXPECT_EQ(0, slotOpValue(5, 1, 6));
    EXPECT_EQ(0, slotOpValue(-4, 2, 3));
    EXPECT_EQ(12, slotOpValue(-4, 2, -3));
}

TEST(SlotArithmetic, DivisionTruncatesAndAZeroDivisorStoresZero) {
    EXPECT_EQ(3, slotOpValue(7, 3, 2));
    EXPECT_EQ(0, slotOpValue(-7, 3, 2)) << "-3 is stored as 0";
    EXPECT_EQ(3, slotOpValue(-7, 3, -2));
    EXPECT_EQ(0, slotOpValue(7, 3, 0));
    EXPECT_EQ(0, slotOpValue(std::numeric_limits<int32_t>::min(), 3, -1));

    Slots s;
    s[1][10] = 0;
    computeSlots(*s.sp, kSlotWork, 0, 3, 1);
    EXPECT_EQ(0, s[2][10]);
    EXPECT_EQ(4095 / 6095, s[2][4095]);
    s[1][4095] = 5;
    computeSlots(*s.sp, kSlotWork, 0, 3, 1);
    EXPECT_EQ(819, s[2][4095]) << "channels after a zero divisor are still computed";
}

TEST(SlotArithmetic, TheResultMayBeAnOperand) {
    Slots s;
    computeSlots(*s.sp, kSlotWork, kSlotWork, 0, kSlotWork);
    EXPECT_EQ(6000, s[2][0]);
    EXPECT_EQ(2 * (4095 + 3000), s[2][4095]);
}

TEST(SlotArithmetic, UnknownOperatorOrSlotChangesNothing) {
    Slots s;
    computeSlots(*s.sp, kSlotWork, 0, 4, 1);
    computeSlots(*s.sp, kSlotWork, 0, -1, 1);
    computeSlots(*s.sp, 3, 0, 0, 1);
    computeSlots(*s.sp, kSlotWork, -1, 0, 1);
    copySlot(*s.sp, 0, 3);
    copySlot(*s.sp, -1, 2);
    for (int ch = 0; ch < kSlotChannels; ++ch) ASSERT_EQ(ch + 3000, s[2][ch]) << ch;
}

TEST(SlotCopy, CopiesEveryChannel) {
    Slots s;
    copySlot(*s.sp, 1, 0);
    for (int ch = 0; ch < kSlotChannels; ++ch) ASSERT_EQ(ch + 2000, s[0][ch]) << ch;
}

TEST(SpectrumToWork, CopiesTheViewedSlotWithItsChannelCounts) {
    Slots s;
    s.rec->McaChannels[1] = 512;
    s.rec->SlotViewChannels[1] = 1024;
    s.rec->McaChannels[2] = 4096;
    s.rec->SlotViewChannels[2] = 4096;
    spectrumToWork(*s.sp, *s.rec, 1);
    EXPECT_EQ(2000, s[2][0]);
    EXPECT_EQ(6095, s[2][4095]);
    EXPECT_EQ(512, s.rec->McaChannels[2]);
    EXPECT_EQ(1024, s.rec->SlotViewChannels[2]);

    // WORK onto itself changes nothing.
    s[2][7] = -3;
    spectrumToWork(*s.sp, *s.rec, 2);
    EXPECT_EQ(-3, s[2][7]);
    EXPECT_EQ(512, s.rec->McaChannels[2]);
    EXPECT_EQ(1024, s.rec->SlotViewChannels[2]);
}
