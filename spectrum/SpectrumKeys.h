#pragma once
// The keyboard of the spectrum plot, free of widgets: which key does what, and the cursor moves
// the keys make. With the plot focused, ← and → move the cursor one channel (with Shift ten),
// Home and End put it on the first and last channel shown, + and − zoom about the cursor; F5
// and F6 are START and STOP of the viewed MCA.

#include "spectrum/SpectrumState.h"

#include <Qt>
#include <cstdint>

namespace qor {

enum class PlotKeyAction { None, CursorBy, FirstShown, LastShown, ZoomIn, ZoomOut, Start, Stop };

struct PlotKey {
    PlotKeyAction action = PlotKeyAction::None;
    int step = 0;   // channels, for CursorBy
};

// The action of a key (a Qt::Key code) with its modifiers; the keypad's keys count as the others.
PlotKey plotKeyFor(int key, Qt::KeyboardModifiers modifiers);

// The cursor of slot s moved by `step` channels, or to the first / last channel shown, held
// inside the shown window and inside the N channels of the slot.
void cursorByKey(SpectrumState& v, int s, int32_t N, int step);
void cursorToFirstShown(SpectrumState& v, int s, int32_t N);
void cursorToLastShown(SpectrumState& v, int s, int32_t N);

}  // namespace qor
