#include "spectrum/SpectrumKeys.h"

#include "spectrum/SpectrumView.h"

#include <algorithm>

namespace qor {

namespace {
constexpr int kShiftStep = 10;

// The channels the cursor keys may reach: the shown window, cut to the slot's channels.
void shownRange(const SpectrumState& v, int32_t N, int32_t& lo, int32_t& hi) {
    const ChannelWindow w = safeWindow(v);
    const int32_t last = viewChannels(N) - 1;
    lo = std::min(w.start, last);
    hi = std::max(lo, std::min(w.end, last));
}
}  // namespace

PlotKey plotKeyFor(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers m = modifiers & ~Qt::KeypadModifier;
    const bool plain = m == Qt::NoModifier;
    const bool shift = m == Qt::ShiftModifier;
    switch (key) {
        case Qt::Key_Left:
            if (plain || shift) return {PlotKeyAction::CursorBy, shift ? -kShiftStep : -1};
            break;
        case Qt::Key_Right:
            if (plain || shift) return {PlotKeyAction::CursorBy, shift ? kShiftStep : 1};
            break;
        case Qt::Key_Home:
            if (plain) return {PlotKeyAction::FirstShown, 0};
            break;
        case Qt::Key_End:
            if (plain) return {PlotKeyAction::LastShown, 0};
            break;
        // "+" is a shifted key on most layouts, "=" the same key unshifted.
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            if (plain || shift) return {PlotKeyAction::ZoomIn, 0};
            break;
        case Qt::Key_Minus:
            if (plain) return {PlotKeyAction::ZoomOut, 0};
            break;
        case Qt::Key_F5:
            if (plain) return {PlotKeyAction::Start, 0};
            break;
        case Qt::Key_F6:
            if (plain) return {PlotKeyAction::Stop, 0};
            break;
        default:
            break;
    }
    return {};
}

void cursorByKey(SpectrumState& v, int s, int32_t N, int step) {
    int32_t lo = 0, hi = 0;
    shownRange(v, N, lo, hi);
    const int64_t c = int64_t(v.CursorChannel[s]) + step;
    v.CursorChannel[s] = static_cast<int32_t>(std::clamp<int64_t>(c, lo, hi));
}

void cursorToFirstShown(SpectrumState& v, int s, int32_t N) {
    int32_t lo = 0, hi = 0;
    shownRange(v, N, lo, hi);
    v.CursorChannel[s] = lo;
}

void cursorToLastShown(SpectrumState& v, int s, int32_t N) {
    int32_t lo = 0, hi = 0;
    shownRange(v, N, lo, hi);
    v.CursorChannel[s] = hi;
}

}  // namespace qor
