#include "spectrum/ViewReadouts.h"

#include "spectrum/SpectrumView.h"
#include "spectrum/TimeFigures.h"

#include <cstdio>

namespace qor {

namespace {

bool isAscii(const char* s, size_t n) {
    for (size_t i = 0; i < n && s[i]; ++i)
        if (static_cast<unsigned char>(s[i]) < 32 || static_cast<unsigned char>(s[i]) > 126)
            return false;
    return true;
}

template <class... A>
void put(ViewReadout& r, int x, int y, const char* fmt, A... args) {
    r.x = x;
    r.y = y;
    std::snprintf(r.text, sizeof r.text, fmt, args...);
}

}  // namespace

void formatViewReadouts(const SpectrumState& sp, const InfoRecord& rec, ViewReadouts& out) {
    const int s = clampSlot(sp.ViewSlot);
    const int32_t* data = sp.slot[s];
    const int W = sp.PlotWidth, H = sp.PlotHeight;

    if (sp.FullScale != 0)
        put(out.scale, 3, 2, "VFS=%8d   ", sp.FullScale);
    else
        put(out.scale, 3, 2, "%s", "VFS=LOG          ");
    put(out.start, 4, H - 28, "%d    ", sp.ViewStartChannel);
    put(out.end, W - 32, H - 28, "%d  ", sp.ViewEndChannel);

    const int32_t c = clampChannel(sp.CursorChannel[s]);
    const double e = ChannelToEnergy(rec, s, c);
    const char* unit = rec.EnergyUnit[s];
    out.cursorUnitAscii = isAscii(unit, sizeof rec.EnergyUnit[s]);
    if (out.cursorUnitAscii)
        put(out.cursor, 50, H - 28, "ch=%4d     cnt=%8d    %10.3lf [%.15s]", c, data[c], e, unit);
    else
        put(out.cursor, 50, H - 28, "ch=%4d     cnt=%8d    %10.3lf [", c, data[c], e);

    put(out.live, W - 100, 4, "Livetime%6d   ", data[0]);
    put(out.real, W - 100, 20, "Realtime%6d   ", data[1]);
    // The same times in seconds, ending left of the ticks, and the dead time under them.
    char buf[24];
    formatSeconds(data[0], buf);
    put(out.liveSeconds, W - kSecondsRightOffset, 4, "%s", buf);
    formatSeconds(data[1], buf);
    put(out.realSeconds, W - kSecondsRightOffset, 20, "%s", buf);
    out.liveSeconds.alignRight = out.realSeconds.alignRight = true;
    formatDeadTime(data[0], data[1], buf);
    put(out.deadTime, W - 2, 36, "%s", buf);
    out.deadTime.alignRight = true;

    out.peakShown = sp.PeakInfoVisible == 1 && sp.PeakInfoKind == 1;
    put(out.peak[0], kPeakReadoutColumns[0], H - 14, "Peak ch = %8.2f", sp.PeakInfoChannel);
    put(out.peak[1], kPeakReadoutColumns[1], H - 14, "FWHM    = %8.2f", sp.PeakInfoFwhm);
    put(out.peak[2], kPeakReadoutColumns[2], H - 14, "Net Counts = %8.2f", sp.PeakInfoNet);
    put(out.peak[3], kPeakReadoutColumns[3], H - 14, "G.B Counts = %8.2f", sp.PeakInfoBackground);
    put(out.peak[4], kPeakReadoutColumns[4], H - 14, "(+/-)Error = %8.2f", sp.PeakInfoError);
}

}  // namespace qor
