#include "analysis/SlotIdentify.h"

#include "analysis/EnergyScale.h"
#include "spectrum/SpectrumView.h"

namespace qor {

bool identifySlot(LineState& lines, const PeakResults& res, const InfoRecord& rec,
                  const SpectrumState& sp, int s, PeakSource from) {
    s = clampSlot(s);
    lines.slot = s;
    lines.peaks.clear();
    lines.result = Identification{};
    const EnergyScale scale = EnergyScale::ofSlot(rec, s);
    if (!scale.valid()) return false;
    const int32_t n = viewChannels(rec.SlotViewChannels[s]);
    if (from == PeakSource::Search) {
        lines.peaks = peaksFromSearch(res, scale);
        remeasurePeaks(sp.slot[s], n, scale, lines.peaks);
    } else {
        lines.peaks = peaksFromRois(sp.slot[s], rec.RoiStart[s], rec.RoiEnd[s], n, scale);
    }
    IdentifyOptions opt;
    setRangeFromScale(opt, scale);
    opt.spectrum = sp.slot[s];
    opt.channels = n;
    opt.scale = scale;
    lines.result = identifyPeaks(LineTable::of(lines.table), lines.peaks, opt);
    return true;
}

std::string reportElement(const LineState& lines, int s, int i) {
    if (lines.slot != s || i < 0 || i >= static_cast<int>(lines.result.peaks.size()))
        return "undef";
    const std::string& t = lines.result.peaks[i].text;
    return t.empty() ? std::string("undef") : t;
}

}  // namespace qor
