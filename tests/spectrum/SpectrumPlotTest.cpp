// The spectrum view's picture, read back pixel by pixel.

#include "spectrum/SpectrumPlot.h"
#include "spectrum/SpectrumView.h"

#include <gtest/gtest.h>
#include <memory>

using namespace qor;

namespace {

constexpr int kW = 1000, kH = 560;  // image size; PlotWidth 999, PlotHeight 559, baseline 529

struct Plot {
    std::unique_ptr<SpectrumState> sp = std::make_unique<SpectrumState>();
    std::unique_ptr<InfoRecord> rec = std::make_unique<InfoRecord>();
    QImage img{kW, kH, QImage::Format_RGB32};
    SpectrumPlot plot{nullptr};

    Plot(int32_t start, int32_t span) {
        fillRoiColours(*sp);
        sp->PlotWidth = kW - 1;
        sp->PlotHeight = kH - 1;
        sp->ViewStartChannel = start;
        sp->ViewChannelSpan = span;
        sp->ViewEndChannel = start + span - 1;
        rec->ViewLineMode = 1;
        for (int s = 0; s < 3; ++s) rec->SlotViewChannels[s] = 4096;
    }
    int B() const { return sp->PlotHeight - 30; }
    int W() const { return sp->PlotWidth; }
    int x(int32_t channel) const {
        const int64_t i = channel - sp->ViewStartChannel;
        return static_cast<int>(i * W() / sp->ViewChannelSpan);
    }
    void fill(int s, int32_t v) { std::fill(sp->slot[s], sp->slot[s] + kSlotChannels, v); }
    void draw() { plot.draw(img, *sp, *rec); }
    QRgb at(int px, int py) const { return img.pixel(px, py); }
};

constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kRed = qRgb(255, 0, 0);

}  // namespace

TEST(SpectrumPlot, FrameGridAndBaseline) {
    Plot p(0, 1024);
    p.fill(0, 0);
    p.sp->CursorChannel[0] = 2000;  // outside the window
    p.draw();
    EXPECT_EQ(kBlack, p.at(0, 0));
    EXPECT_EQ(kBlack, p.at(kW - 1, kH - 1));
    EXPECT_EQ(kWhite, p.at(500, 100));
    // Logarithmic scale: five dotted grid lines at B x k / 6.
    const int B = p.B();
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(kViewGrid, p.at(301, B * k / 6)) << k;
        EXPECT_EQ(kWhite, p.at(302, B * k / 6)) << "dotted " << k;
    }
    EXPECT_EQ(kWhite, p.at(301, B * 4 / 5 + 1));
    // Linear scale: four lines at B x k / 5.
    p.sp->FullScale = 1000;
    p.draw();
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(kViewGrid, p.at(301, B * k / 5)) << k;
    EXPECT_EQ(kWhite, p.at(301, B / 6));
}

TEST(SpectrumPlot, LogarithmicHeights) {
    Plot p(0, 1024);
    p.fill(0, 1);
    p.sp->slot[0][600] = 0;
    p.sp->slot[0][601] = 0;
    p.sp->slot[0][602] = 0;
    p.sp->slot[0][800] = 1000000;
    p.sp->CursorChannel[0] = 4000;
    p.draw();
    const int B = p.B();
    EXPECT_EQ(kBlack, p.at(p.x(300), B - 5)) << "a count of 1 is drawn 5 pixels up";
    EXPECT_EQ(kWhite, p.at(p.x(300), B - 4));
    EXPECT_EQ(kWhite, p.at(p.x(300), B - 6));
    EXPECT_EQ(kBlack, p.at(p.x(601), B)) << "a count of 0 lies on the baseline";
    EXPECT_EQ(kBlack, p.at(p.x(800), 1)) << "a million reaches the top row";
}

TEST(SpectrumPlot, LinearScaleClipsHighCountsAndTheOverlayToTheTopRow) {
    Plot p(0, 512);
    p.fill(0, 50);
    p.sp->slot[0][200] = 5000;   // above the full scale
    p.fill(kSlotWork, 25);
    p.sp->slot[kSlotWork][300] = -10;   // a negative count of the overlay
    p.sp->FullScale = 100;
    p.sp->OverlapOn = 1;
    p.sp->OverlapColour = qRgb(0, 0, 255);
    p.sp->CursorChannel[0] = 4000;
    p.draw();
    const int B = p.B();
    const int h50 = 50 * B / 100, h25 = 25 * B / 100;
    EXPECT_EQ(kBlack, p.at(p.x(100), B - h50));
    EXPECT_EQ(kBlack, p.at(p.x(200), 1));
    EXPECT_EQ(qRgb(0, 0, 255), p.at(p.x(100), B - h25));
    EXPECT_EQ(qRgb(0, 0, 255), p.at(p.x(300), 1));

    p.sp->OverlapOn = 0;
    p.draw();
    EXPECT_EQ(kWhite, p.at(p.x(100), B - h25)) << "no overlay when it is off";
}

TEST(SpectrumPlot, DotModeBlockSizeFollowsTheSpan) {
    Plot p(0, 512);
    p.fill(0, 0);
    p.sp->slot[0][100] = 100;
    p.rec->ViewLineMode = 0;
    p.sp->FullScale = 1000;
    p.sp->CursorChannel[0] = 4000;
    p.draw();
    const int B = p.B();
    int y = B - 100 * B / 1000;
    int x = p.x(100);
    EXPECT_EQ(kBlack, p.at(x, y));
    EXPECT_EQ(kBlack, p.at(x + 1, y));
    EXPECT_EQ(kBlack, p.at(x, y + 1));
    EXPECT_EQ(kBlack, p.at(x + 1, y + 1));
    EXPECT_EQ(kWhite, p.at(x, y - 1));
    EXPECT_EQ(kWhite, p.at(x, (y + B) / 2)) << "dots are not joined";

    Plot wide(0, 2048);
    wide.fill(0, 0);
    wide.sp->slot[0][1000] = 100;
    wide.rec->ViewLineMode = 0;
    wide.sp->FullScale = 1000;
    wide.sp->CursorChannel[0] = 4000;
    wide.draw();
    x = wide.x(1000);
    EXPECT_EQ(kBlack, wide.at(x, y));
    EXPECT_EQ(kWhite, wide.at(x + 1, y));
    EXPECT_EQ(kWhite, wide.at(x, y + 1));
}

TEST(SpectrumPlot, RoisAreShadedInTheirColoursUpToTheSpectrum) {
    Plot p(0, 1024);
    p.fill(0, 50);
    p.sp->FullScale = 100;
    p.sp->CursorChannel[0] = 4000;
    p.rec->RoiStart[0][2] = 100;
    p.rec->RoiEnd[0][2] = 110;
    p.rec->RoiStart[0][4] = 300;
    p.rec->RoiEnd[0][4] = 0;   // not defined
    p.rec->RoiStart[1][3] = 500;
    p.rec->RoiEnd[1][3] = 510; // another slot's ROI
    p.draw();
    const int B = p.B();
    const QRgb roi2 = p.sp->RoiColour[2];
    EXPECT_EQ(qRgb(255, 160, 16), roi2);
    EXPECT_EQ(roi2, p.at(p.x(105), B - 10));
    EXPECT_EQ(roi2, p.at(p.x(105), B - 50 * B / 100));
    EXPECT_EQ(kWhite, p.at(p.x(105), B - 50 * B / 100 - 2));
    EXPECT_EQ(kWhite, p.at(p.x(120), B - 10));
    EXPECT_EQ(kWhite, p.at(p.x(305), B - 10));
    EXPECT_EQ(kWhite, p.at(p.x(505), B - 10));
}

TEST(SpectrumPlot, CursorIsARedLineFromRow5ToHMinus35) {
    Plot p(1000, 1000);
    p.fill(0, 0);
    p.sp->CursorChannel[0] = 1500;
    p.draw();
    const int xc = static_cast<int>((1500.0 - 1000) * p.W() / 1000);
    const int H = p.sp->PlotHeight;
    EXPECT_EQ(kRed, p.at(xc, 5));
    EXPECT_EQ(kRed, p.at(xc, H - 35));
    EXPECT_EQ(kWhite, p.at(xc, 4));
    EXPECT_EQ(kWhite, p.at(xc, H - 34));
}

TEST(SpectrumPlot, AWindowPastTheSlotIsDrawnFromChannelsThatExist) {
    Plot p(4000, 4096);
    p.fill(0, 0);
    p.sp->slot[0][4095] = 1000000;
    p.sp->CursorChannel[0] = 4095;
    p.draw();
    // The drawn window is 4000..4095 (96 channels across the plot).
    const int x = static_cast<int>(int64_t(95) * p.W() / 96);
    EXPECT_EQ(kBlack, p.at(x, 1));
}

TEST(SpectrumPlot, CurrentRoiCountsOnlyForADefinedRoi) {
    Plot p(0, 1024);
    p.fill(0, 50);
    p.sp->CurrentRoi[0] = 5;
    RoiCounts c;
    EXPECT_FALSE(SpectrumPlot::currentRoiCounts(*p.sp, *p.rec, c));
    p.rec->RoiStart[0][5] = 100;
    p.rec->RoiEnd[0][5] = 110;
    ASSERT_TRUE(SpectrumPlot::currentRoiCounts(*p.sp, *p.rec, c));
    EXPECT_EQ(550, c.gross);
    EXPECT_EQ(0, c.net);
    p.sp->ViewSlot = 1;
    EXPECT_FALSE(SpectrumPlot::currentRoiCounts(*p.sp, *p.rec, c)) << "the viewed slot's table";
}

TEST(SpectrumPlot, AfterASwitchToASmallerSlotTheWindowShowsTheStoredChannelsAboveIt) {
    Plot p(0, 4096);
    p.rec->SlotViewChannels[0] = 1024;
    p.fill(0, 0);
    p.sp->slot[0][3000] = 1000000;
    p.sp->CursorChannel[0] = 10;
    p.draw();
    EXPECT_EQ(kBlack, p.at(p.x(3000), 1));
}
