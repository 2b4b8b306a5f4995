#pragma once
// The text readouts of the spectrum view, formatted into fixed buffers (nothing allocates in a
// redraw) with the places where the view draws them: the scale, the window limits, the cursor
// line (channel, count, energy and unit), live and real time (ticks, and beside them seconds
// and the dead time), and the nearest-peak readout.

#include "app/InfoRecord.h"
#include "spectrum/SpectrumState.h"

namespace qor {

// Where the five nearest-peak texts begin at the least; the view moves a text further right when
// the one before it reaches that far.
constexpr int kPeakReadoutColumns[5] = {20, 140, 260, 400, 530};

struct ViewReadout {
    int x = 0;           // left edge, or the right edge when alignRight
    int y = 0;
    bool alignRight = false;
    char text[96] = {};
};

// The right edge of the seconds beside the live and real time ticks.
constexpr int kSecondsRightOffset = 104;   // from the plot's right edge W

struct ViewReadouts {
    ViewReadout scale, start, end, cursor, live, real;
    ViewReadout liveSeconds, realSeconds, deadTime;
    // False: the energy unit has characters outside printable ASCII; `cursor` then ends at "["
    // and the view draws the unit through the font, then "]".
    bool cursorUnitAscii = true;
    bool peakShown = false;
    ViewReadout peak[5];   // channel, FWHM, net counts, background counts, error
};

void formatViewReadouts(const SpectrumState& sp, const InfoRecord& rec, ViewReadouts& out);

}  // namespace qor
