// The keys of the spectrum plot: which key does what, and the cursor at the ends of the window
// and of the slot.

#include "spectrum/SpectrumKeys.h"
#include "spectrum/SpectrumView.h"

#include <gtest/gtest.h>
#include <memory>

using namespace qor;

TEST(SpectrumKeys, KeysAndTheirModifiers) {
    auto is = [](int key, Qt::KeyboardModifiers m, PlotKeyAction a, int step = 0) {
        const PlotKey k = plotKeyFor(key, m);
        return k.action == a && k.step == step;
    };
    EXPECT_TRUE(is(Qt::Key_Left, Qt::NoModifier, PlotKeyAction::CursorBy, -1));
    EXPECT_TRUE(is(Qt::Key_Right, Qt::ShiftModifier, PlotKeyAction::CursorBy, 10));
    EXPECT_TRUE(is(Qt::Key_Left, Qt::ShiftModifier | Qt::KeypadModifier, PlotKeyAction::CursorBy, -10));
    EXPECT_TRUE(is(Qt::Key_Left, Qt::ControlModifier, PlotKeyAction::None));
    EXPECT_TRUE(is(Qt::Key_Home, Qt::NoModifier, PlotKeyAction::FirstShown));
    EXPECT_TRUE(is(Qt::Key_End, Qt::NoModifier, PlotKeyAction::LastShown));
    EXPECT_TRUE(is(Qt::Key_Plus, Qt::KeypadModifier, PlotKeyAction::ZoomIn));
    EXPECT_TRUE(is(Qt::Key_Plus, Qt::ShiftModifier, PlotKeyAction::ZoomIn));
    EXPECT_TRUE(is(Qt::Key_Minus, Qt::NoModifier, PlotKeyAction::ZoomOut));
    EXPECT_TRUE(is(Qt::Key_F5, Qt::NoModifier, PlotKeyAction::Start));
    EXPECT_TRUE(is(Qt::Key_F6, Qt::NoModifier, PlotKeyAction::Stop));
    EXPECT_TRUE(is(Qt::Key_F5, Qt::AltModifier, PlotKeyAction::None));
    EXPECT_TRUE(is(Qt::Key_A, Qt::NoModifier, PlotKeyAction::None));
}

// The cursor never leaves the channels shown, nor the slot's channels when the window is wider
// than the slot (after a switch to a slot of fewer channels).
TEST(SpectrumKeys, CursorStopsAtTheEndsOfTheWindowAndOfTheSlot) {
    auto v = std::make_unique<SpectrumState>();
    resetView(*v, 2048);
    int32_t& c = v->CursorChannel[0];
    c = 2045;
    cursorByKey(*v, 0, 2048, 1);
    EXPECT_EQ(2046, c);
    cursorByKey(*v, 0, 2048, 10);
    EXPECT_EQ(2047, c) << "Shift+→ stops on the last channel";
    cursorByKey(*v, 0, 2048, 1);
    EXPECT_EQ(2047, c);
    c = 4;
    cursorByKey(*v, 0, 2048, -10);
    EXPECT_EQ(0, c);
    cursorByKey(*v, 0, 2048, -1);
    EXPECT_EQ(0, c);

    // A zoomed window 512..1535.
    v->ViewStartChannel = 512;
    v->ViewChannelSpan = 1024;
    v->ViewEndChannel = 1535;
    c = 515;
    cursorByKey(*v, 0, 2048, -10);
    EXPECT_EQ(512, c);
    cursorToLastShown(*v, 0, 2048);
    EXPECT_EQ(1535, c);
    cursorToFirstShown(*v, 0, 2048);
    EXPECT_EQ(512, c);

    // The window spans 4096 channels over a slot of 1024.
    v->ViewStartChannel = 0;
    v->ViewChannelSpan = 4096;
    v->ViewEndChannel = 4095;
    cursorToLastShown(*v, 1, 1024);
    EXPECT_EQ(1023, v->CursorChannel[1]);
    cursorByKey(*v, 1, 1024, 10);
    EXPECT_EQ(1023, v->CursorChannel[1]);
}
