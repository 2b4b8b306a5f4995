#include "analysis/FitPeakCommands.h"

#include "spectrum/RoiTable.h"
#include "spectrum/SpectrumView.h"

#include <algorithm>
#include <cmath>

namespace qor {

namespace {
constexpr int kSearchMargin = 20;   // channels left out at both ends, as in the standard search
constexpr double kLowestSignificance = 3.0;
}  // namespace

std::vector<double> slotCounts(const int32_t* slot, int channels) {
    channels = std::clamp(channels, 0, int(kSlotChannels));
    std::vector<double> y(slot, slot + channels);
    for (int c = 0; c < std::min(channels, 2); ++c) y[c] = channels > 2 ? slot[2] : 0.0;
    return y;
}

FitSearchOptions fitSearchOptions(const InfoRecord& rec, const FitSearchSettings& settings,
                                  double significance) {
    FitSearchOptions o;
    o.first = kSearchMargin;
    o.significance = std::max(significance, kLowestSignificance);
    o.expectedFwhm = rec.ExpectedFwhm > 0 ? rec.ExpectedFwhm : 0.0;
    o.freeWidth = settings.freeWidth;
    o.curveGiven = settings.curveGiven;
    o.curve = ResolutionCurve{settings.a, settings.b};
    return o;
}

int32_t autoFitSearch(PeakResults& res, InfoRecord& rec, const SpectrumState& sp,
                      const FitSearchSettings& settings, int s) {
    s = clampSlot(s);
    const int N = viewChannels(rec.SlotViewChannels[s]);
    for (int r = 0; r < kRoiCount; ++r) rec.RoiStart[s][r] = rec.RoiEnd[s][r] = 0;
    for (int i = 0; i < kPeakEntries; ++i) {
        res.PeakChannel[i] = res.PeakNet[i] = res.PeakBackground[i] = res.PeakError[i] =
            res.PeakFwhm[i] = 0.0;
        res.PeakLow[i] = res.PeakHigh[i] = 0;
    }
    FitSearchOptions o = fitSearchOptions(rec, settings, sigmaFactor(rec.SigmaIndex));
    o.last = N - 1 - kSearchMargin;
    res.PeakSearchParams[0] = -1;   // no derivative filter row
    res.PeakSearchParams[1] = o.first;
    res.PeakSearchParams[2] = o.last;
    res.PeakSearchParams[3] = kPeakSearchMax;
    res.PeakSearchParams[4] = o.significance;

    const std::vector<double> y = slotCounts(sp.slot[s], N);
    const FitSearchResult found = fitSearch(y.data(), N, o);
    const int count = std::min<int>(int(found.peaks.size()), kPeakSearchMax);
    for (int i = 0; i < count; ++i) {
        const FoundPeak& p = found.peaks[i];
        res.PeakChannel[i] = p.fit.centroid;
        res.PeakFwhm[i] = p.fit.fwhm;
        res.PeakNet[i] = p.fit.area;
        res.PeakError[i] = p.fit.areaError;
        res.PeakBackground[i] = p.background;
        res.PeakLow[i] = clampChannel(p.lo);
        res.PeakHigh[i] = clampChannel(p.hi);
        rec.RoiStart[s][i + 1] = res.PeakLow[i];
        rec.RoiEnd[s][i + 1] = res.PeakHigh[i];
    }
    res.PeakCount = count;
    return count;
}

bool measureNearestFit(PeakResults& res, InfoRecord& rec, SpectrumState& sp,
                       const FitSearchSettings& settings, int s, double factor, bool setRoi) {
    s = clampSlot(s);
    const int N = viewChannels(rec.SlotViewChannels[s]);
    FitSearchOptions o = fitSearchOptions(rec, settings, factor);
    o.significance = std::max(factor, 0.0);   // the command's own criterion
    o.last = N - 1 - kSearchMargin;
    o.cursor = std::clamp<int>(sp.CursorChannel[s], 0, std::max(N - 1, 0));
    const std::vector<double> y = slotCounts(sp.slot[s], N);
    const FitSearchResult found = fitSearch(y.data(), N, o);
    const FoundPeak* best = nullptr;
    for (const FoundPeak& p : found.peaks) {
        const double d = std::fabs(p.fit.centroid - o.cursor);
        if (d <= 1.5 * p.fit.fwhm && (!best || d < std::fabs(best->fit.centroid - o.cursor)))
            best = &p;
    }
    if (!best || best->fit.area < 10.0) return false;
    const int n = roiIndex(sp.CurrentRoi[s]);
    res.PeakChannel[n] = best->fit.centroid;
    res.PeakFwhm[n] = best->fit.fwhm;
    res.PeakNet[n] = best->fit.area;
    res.PeakError[n] = best->fit.areaError;
    res.PeakBackground[n] = best->background;
    res.PeakLow[n] = clampChannel(best->lo);
    res.PeakHigh[n] = clampChannel(best->hi);
    if (setRoi) {
        if (sp.CurrentRoi[s] < kRoiLastSelectable) ++sp.CurrentRoi[s];
        rec.RoiStart[s][n] = res.PeakLow[n];
        rec.RoiEnd[s][n] = res.PeakHigh[n];
    }
    sp.PeakInfoChannel = best->fit.centroid;
    sp.PeakInfoFwhm = best->fit.fwhm;
    sp.PeakInfoBackground = best->background;
    sp.PeakInfoNet = best->fit.area;
    sp.PeakInfoError = best->fit.areaError;
    sp.PeakInfoKind = 1;
    sp.PeakInfoVisible = 1;
    return true;
}

}  // namespace qor
