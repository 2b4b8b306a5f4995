#include "analysis/CalibReference.h"

#include <gtest/gtest.h>
#include <limits>
#include <vector>

using namespace qor;

namespace {
constexpr int kChannels = 4096;

struct Spectrum {
    std::vector<int32_t> counts = std::vector<int32_t>(kChannels, 0);
    int32_t ref(int32_t lo, int32_t hi) const {
        return calibReferenceChannel(counts.data(), kChannels, lo, hi);
    }
};
}  // namespace

TEST(CalibReference, UnsetRoiGivesChannelZero) {
    Spectrum s;
    s.counts[50] = 1000;
    EXPECT_EQ(0, s.ref(40, 0));
    EXPECT_EQ(0, s.ref(0, 0));
}

TEST(CalibReference, NarrowRoiTakesTheFirstHighestChannel) {
    Spectrum s;
    s.counts[102] = 7;
    s.counts[105] = 9;
    s.counts[108] = 9;   // equal, later: does not replace
    EXPECT_EQ(105, s.ref(100, 110));
    // Counts outside the ROI do not take part.
    s.counts[99] = 500;
    s.counts[111] = 500;
    EXPECT_EQ(105, s.ref(100, 110));
}

TEST(CalibReference, NarrowRoiWithoutCountsGivesZero) {
    Spectrum s;
    s.counts[120] = -5;   // negative counts never rise above the starting count 0
    EXPECT_EQ(0, s.ref(110, 130));
}

TEST(CalibReference, ThirtyChannelsIsStillNarrowThirtyOneIsMedian) {
    Spectrum s;
    // A flat ROI of ones with one high channel near the left end.
    for (int c = 200; c <= 230; ++c) s.counts[c] = 1;
    s.counts[201] = 5;
    EXPECT_EQ(201, s.ref(200, 229)) << "30 channels: the highest channel";
    // 31 channels: total 35, half 17; the running sum 1, 6, 7, ... exceeds 17 at channel 213.
    EXPECT_EQ(213, s.ref(200, 230)) << "31 channels: the median channel";
}

TEST(CalibReference, MedianOfASymmetricPeakIsItsCentre) {
    Spectrum s;
    for (int d = -20; d <= 20; ++d) s.counts[1000 + d] = 100 - 4 * (d < 0 ? -d : d);
    EXPECT_EQ(1000, s.ref(980, 1020));
}

TEST(CalibReference, MedianNeverExceededGivesOnePastTheRoi) {
    Spectrum s;
    EXPECT_EQ(300 + 40, s.ref(300, 339));
}

TEST(CalibReference, MedianOfLargeCountsDoesNotOverflow) {
    Spectrum s;
    const int32_t big = std::numeric_limits<int32_t>::max();
    for (int c = 0; c < 100; ++c) s.counts[2000 + c] = big;
    // Half of the total is 50 channels' worth: the 51st channel exceeds it.
    EXPECT_EQ(2050, s.ref(2000, 2099));
}

TEST(CalibReference, RoiEndsOutsideTheSpectrumAreHeldInside) {
    Spectrum s;
    s.counts[kChannels - 1] = 42;
    s.counts[5] = 3;
    EXPECT_EQ(kChannels - 1, s.ref(kChannels - 10, 100000)) << "end beyond the last channel";
    EXPECT_EQ(5, s.ref(-50, 10)) << "negative start";
    EXPECT_EQ(0, s.ref(500, 400)) << "end before start: an empty ROI";
    EXPECT_EQ(0, calibReferenceChannel(s.counts.data(), 0, 0, 10)) << "no channels at all";
}
