// Spectrum view rules: pixel heights, zoom, scroll, cursor, vertical scale, overlay colours and
// the energy conversion.

#include "spectrum/SpectrumView.h"

#include <gtest/gtest.h>
#include <memory>

using namespace qor;

namespace {

// A view on slot 0 with window [start, start + span - 1] and the cursor at c.
std::unique_ptr<SpectrumState> view(int32_t start, int32_t span, int32_t c) {
    auto v = std::make_unique<SpectrumState>();
    v->ViewStartChannel = start;
    v->ViewChannelSpan = span;
    v->ViewEndChannel = start + span - 1;
    v->CursorChannel[0] = c;
    return v;
}

void expectWindow(const SpectrumState& v, int32_t start, int32_t end) {
    EXPECT_EQ(start, v.ViewStartChannel);
    EXPECT_EQ(end, v.ViewEndChannel);
    EXPECT_EQ(end - start + 1, v.ViewChannelSpan);
}

}  // namespace

TEST(PixelHeight, LogarithmicScaleHoldsSixDecadesOverTheBaseline) {
    const int B = 600;
    EXPECT_EQ(0, pixelHeight(0, 0, B));
    EXPECT_EQ(0, pixelHeight(-5, 0, B)) << "nothing below the baseline";
    EXPECT_EQ(5, pixelHeight(1, 0, B)) << "a single count stands clear of the baseline";
    EXPECT_EQ(100, pixelHeight(10, 0, B));
    EXPECT_EQ(500, pixelHeight(100000, 0, B));
    EXPECT_EQ(B - 1, pixelHeight(1000000, 0, B)) << "one million reaches the top row";
    EXPECT_EQ(B - 1, pixelHeight(2000000000, 0, B));
}

TEST(PixelHeight, LinearScaleClipsToTheTopRow) {
    const int B = 500;
    EXPECT_EQ(250, pixelHeight(500, 1000, B));
    EXPECT_EQ(0, pixelHeight(1, 1000, B));
    EXPECT_EQ(B - 1, pixelHeight(1000, 1000, B)) << "the full scale itself is past B - 1";
    EXPECT_EQ(B - 1, pixelHeight(5000, 1000, B));
    EXPECT_EQ(B - 1, pixelHeight(-10, 1000, B)) << "a negative height goes to the top row";
    EXPECT_EQ(0, pixelHeight(-1, 1000, B)) << "-1 x B / F truncates to 0";
    // The product count x B leaves 32 bits here; the height must still be exact.
    EXPECT_EQ(400, pixelHeight(40000000, 50000000, B));
}

TEST(SpectrumZoom, ZoomInHalvesAroundTheCursorDownTo32Channels) {
    auto v = view(0, 1024, 10);
    zoomIn(*v, 0, 2048);
    expectWindow(*v, 0, 511);

    auto mid = view(0, 2048, 1000);
    zoomIn(*mid, 0, 2048);
    expectWindow(*mid, 488, 1511);

    auto nearEnd = view(0, 2048, 2040);
    zoomIn(*nearEnd, 0, 2048);
    expectWindow(*nearEnd, 1024, 2047);

    auto small = view(100, 64, 120);
    zoomIn(*small, 0, 2048);
    EXPECT_EQ(32, small->ViewChannelSpan);
    const int32_t start = small->ViewStartChannel;
    zoomIn(*small, 0, 2048);
    EXPECT_EQ(32, small->ViewChannelSpan) << "a window of 32 stays";
    EXPECT_EQ(start, small->ViewStartChannel);
}

TEST(SpectrumZoom, ZoomOutDoublesUpToTheSlot) {
    auto v = view(512, 512, 700);
    zoomOut(*v, 0, 2048);
    expectWindow(*v, 188, 1211);
    zoomOut(*v, 0, 2048);
    expectWindow(*v, 0, 2047);
    zoomOut(*v, 0, 2048);
    expectWindow(*v, 0, 2047);

    auto odd = view(0, 768, 100);
    zoomOut(*odd, 0, 1024);
    expectWindow(*odd, 0, 1023);  // lowered to the slot's channel count
}

TEST(SpectrumZoom, AWindowWiderThanTheSlotIsBroughtInside) {
    // After a switch from a 4096-channel slot to a 1024-channel slot.
    auto v = view(0, 4096, 512);
    zoomIn(*v, 0, 1024);
    expectWindow(*v, 0, 1023);

    auto shifted = view(3000, 1024, 3500);
    scrollRight(*shifted, 0, 1024);
    EXPECT_GE(shifted->ViewStartChannel, 0);
    EXPECT_LE(shifted->ViewEndChannel, 1023);
    EXPECT_GE(shifted->CursorChannel[0], 0);

    auto garbage = view(-50, 0, 0);
    clampWindow(*garbage, 0);
    EXPECT_GE(garbage->ViewStartChannel, 0);
    EXPECT_GE(garbage->ViewChannelSpan, 1);
    EXPECT_LE(garbage->ViewEndChannel, 4095);
}

TEST(SpectrumScroll, ScrollsByHalfAWindowAndCentresTheCursor) {
    auto v = view(200, 256, 0);
    scrollLeft(*v, 0, 2048);
    expectWindow(*v, 72, 327);
    EXPECT_EQ(200, v->CursorChannel[0]);
    scrollLeft(*v, 0, 2048);
    expectWindow(*v, 0, 255);
    EXPECT_EQ(128, v->CursorChannel[0]) << "at channel 0 the cursor goes to span / 2";

    scrollRight(*v, 0, 2048);
    expectWindow(*v, 128, 383);
    EXPECT_EQ(256, v->CursorChannel[0]);
}

TEST(SpectrumScroll, ScrollRightAtTheEndHoldsTheCursorOnTheSlotsLastChannel) {
    auto v = view(2048 - 256, 256, 0);
    scrollRight(*v, 0, 2048);
    expectWindow(*v, 1792, 2047);
    EXPECT_EQ(2047, v->CursorChannel[0]) << "not one past the last channel";

    auto full = view(4096 - 256, 256, 0);
    scrollRight(*full, 0, 4096);
    expectWindow(*full, 3840, 4095);
    EXPECT_EQ(4095, full->CursorChannel[0]) << "held on the last channel of the slot";
}

TEST(SpectrumCursor, StepsStayInsideTheWindow) {
    auto v = view(100, 200, 100);
    cursorLeft(*v, 0);
    EXPECT_EQ(100, v->CursorChannel[0]);
    cursorRight(*v, 0);
    EXPECT_EQ(101, v->CursorChannel[0]);
    v->CursorChannel[0] = 299;
    cursorRight(*v, 0);
    EXPECT_EQ(299, v->CursorChannel[0]);
    cursorLeft(*v, 0);
    EXPECT_EQ(298, v->CursorChannel[0]);
}

TEST(SpectrumCursor, MouseColumnPicksTheNearestChannel) {
    auto v = view(0, 1024, 0);
    v->PlotWidth = 999;
    cursorToPixel(*v, 0, 0);
    EXPECT_EQ(0, v->CursorChannel[0]);
    cursorToPixel(*v, 0, 500);
    EXPECT_EQ(513, v->CursorChannel[0]);  // 1024 x 500 / 999 = 512.5, plus 0.5
    cursorToPixel(*v, 0, 999);
    EXPECT_EQ(1023, v->CursorChannel[0]) << "the last column rounds to end + 1, held on end";

    auto last = view(3072, 1024, 0);
    last->PlotWidth = 999;
    cursorToPixel(*last, 0, 999);
    EXPECT_EQ(4095, last->CursorChannel[0]) << "never past channel 4095";

    auto none = view(0, 1024, 7);
    none->PlotWidth = 0;
    cursorToPixel(*none, 0, 10);
    EXPECT_EQ(7, none->CursorChannel[0]) << "no plot, no cursor move";
}

TEST(SpectrumScale, AutomaticScaleTakesTheFirstStepAboveTheWindowMaximum) {
    static int32_t data[kSlotChannels] = {};
    auto v = view(10, 20, 0);
    data[15] = 100;
    data[29] = 999999;  // the window's last channel is not looked at
    autoScale(*v, data);
    EXPECT_EQ(200, v->FullScale);
    EXPECT_EQ(1, v->FullScaleStep);

    data[15] = 60000000;
    autoScale(*v, data);
    EXPECT_EQ(50000000, v->FullScale);
    EXPECT_EQ(17, v->FullScaleStep);

    data[15] = -5;
    autoScale(*v, data);
    EXPECT_EQ(100, v->FullScale);
}

TEST(SpectrumScale, StepsThroughTheTableAndLeavesLogThroughTheAutomaticScale) {
    static int32_t data[kSlotChannels] = {};
    auto v = view(0, 100, 0);
    data[5] = 3000;
    ASSERT_EQ(0, v->FullScale);
    scaleTaller(*v, data);
    EXPECT_EQ(5000, v->FullScale) << "from LOG the first press is the automatic scale";
    scaleTaller(*v, data);
    EXPECT_EQ(2000, v->FullScale);
    scaleShorter(*v, data);
    scaleShorter(*v, data);
    EXPECT_EQ(10000, v->FullScale);
    scaleLog(*v);
    EXPECT_EQ(0, v->FullScale);
    scaleShorter(*v, data);
    EXPECT_EQ(5000, v->FullScale);

    v->FullScaleStep = 0;
    v->FullScale = 100;
    scaleTaller(*v, data);
    EXPECT_EQ(100, v->FullScale);
    v->FullScaleStep = 17;
    v->FullScale = 50000000;
    scaleShorter(*v, data);
    EXPECT_EQ(50000000, v->FullScale);
}

TEST(SpectrumOverlay, ColourCycleStartsWithRed) {
    SpectrumState v;
    EXPECT_EQ(qRgb(16, 128, 16), v.OverlapColour);
    const QRgb expected[] = {qRgb(255, 0, 0),   qRgb(0, 0, 255),  qRgb(0, 255, 0),
                             qRgb(255, 0, 255), qRgb(128, 0, 0), qRgb(0, 128, 0),
                             qRgb(255, 0, 0)};
    for (QRgb c : expected) {
        nextOverlapColour(v);
        EXPECT_EQ(c, v.OverlapColour);
    }
}

TEST(SpectrumEnergy, PolynomialOfTheSlotsOrder) {
    InfoRecord rec{};
    rec.CalibA[1] = 0.5;
    rec.CalibB[1] = 0.01;
    rec.CalibC[1] = 1e-6;
    rec.CalibD[1] = 1e-9;
    rec.CalibOrder[1] = 0;
    EXPECT_DOUBLE_EQ(0.5 + 0.01 * 1000, ChannelToEnergy(rec, 1, 1000));
    rec.CalibOrder[1] = 1;
    EXPECT_DOUBLE_EQ(0.5 + 10 + 1.0, ChannelToEnergy(rec, 1, 1000));
    rec.CalibOrder[1] = 2;
    EXPECT_DOUBLE_EQ(0.5 + 10 + 1.0 + 1.0, ChannelToEnergy(rec, 1, 1000));
    EXPECT_DOUBLE_EQ(0.0, ChannelToEnergy(rec, 0, 1000)) << "each slot has its own calibration";
}

TEST(SpectrumWindow, SafeWindowStaysInsideTheSlot) {
    auto v = view(4000, 4096, 0);
    const ChannelWindow w = safeWindow(*v);
    EXPECT_EQ(4000, w.start);
    EXPECT_EQ(96, w.span);
    EXPECT_EQ(4095, w.end);
    auto neg = view(-10, 0, 0);
    const ChannelWindow n = safeWindow(*neg);
    EXPECT_EQ(0, n.start);
    EXPECT_EQ(1, n.span);
}

TEST(SpectrumWindow, TheStartUpWindowCoversTheSlotWhateverTheRecordHolds) {
    auto v = std::make_unique<SpectrumState>();
    v->ViewSlot = 2;
    v->FullScale = 500;
    resetView(*v, 2048);
    EXPECT_EQ(0, v->ViewSlot);
    EXPECT_EQ(0, v->FullScale);
    expectWindow(*v, 0, 2047);
    EXPECT_EQ(1024, v->CursorChannel[0]);
    // A damaged record: the window is held inside the 4096 channels, so that no rule computes
    // past them.
    for (int32_t n : {INT32_MIN, -5, 0, 99999, INT32_MAX}) {
        resetView(*v, n);
        EXPECT_GE(v->ViewChannelSpan, 1) << n;
        EXPECT_LE(v->ViewChannelSpan, 4096) << n;
        EXPECT_EQ(v->ViewChannelSpan - 1, v->ViewEndChannel) << n;
        EXPECT_EQ(v->ViewChannelSpan / 2, v->CursorChannel[0]) << n;
    }
    // A cursor far outside a wide window: zooming in centres without overflowing.
    auto far = view(0, 1 << 30, INT32_MIN + 5);
    zoomIn(*far, 0, 4096);
    EXPECT_EQ(0, far->ViewStartChannel);
    EXPECT_LE(far->ViewEndChannel, 4095);
}
