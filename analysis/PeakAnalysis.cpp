#include "analysis/PeakAnalysis.h"

#include "spectrum/RoiTable.h"
#include "spectrum/SpectrumView.h"

#include <algorithm>

namespace qor {

int derivFilterRow(int32_t derivFilterIndex) {
    static constexpr int kRows[7] = {0, 1, 2, 3, 3, 4, 5};
    return derivFilterIndex >= 0 && derivFilterIndex < 7 ? kRows[derivFilterIndex] : -1;
}

double sigmaFactor(int32_t sigmaIndex) {
    return 1.5 + 0.5 * std::clamp<int32_t>(sigmaIndex, 0, 7);
}

void copySlotToEngine(CMerinCalcc& engine, const int32_t* slot) {
    for (int32_t c = 0; c < kSlotChannels; ++c) engine.SetSource(c, slot[c]);
}

int32_t autoPeakSearch(CMerinCalcc& engine, PeakResults& res, InfoRecord& rec,
                       const SpectrumState& sp, int s) {
    s = clampSlot(s);
    const int32_t N = viewChannels(rec.SlotViewChannels[s]);
    for (int r = 0; r < kRoiCount; ++r) rec.RoiStart[s][r] = rec.RoiEnd[s][r] = 0;
    copySlotToEngine(engine, sp.slot[s]);
    for (int i = 0; i < kPeakEntries; ++i) {
        res.PeakChannel[i] = res.PeakNet[i] = res.PeakBackground[i] = res.PeakError[i] =
            res.PeakFwhm[i] = 0.0;
        res.PeakLow[i] = res.PeakHigh[i] = 0;
    }
    const int row = derivFilterRow(rec.DerivFilterIndex);
    res.PeakSearchParams[0] = row;
    res.PeakSearchParams[1] = 20.0;
    res.PeakSearchParams[2] = N - 20;
    res.PeakSearchParams[3] = kPeakSearchMax;
    res.PeakSearchParams[4] = sigmaFactor(rec.SigmaIndex);

    int32_t count = 0;
    if (rec.PeakWidthIndex == 0) {
        // An unknown filter choice searches nothing.
        if (row >= 0)
            count = engine.SearchPeaks(res.PeakSearchParams, res.PeakChannel, res.PeakNet,
                                       res.PeakBackground, res.PeakError, res.PeakFwhm,
                                       res.PeakLow, res.PeakHigh);
    } else {
        count = engine.FindPeakCandidates(rec.DerivPoints, rec.ExpectedFwhm, 20, N - 20,
                                          res.PeakCandidate);
        count = std::min(count, kPeakSearchMax);
        for (int i = 0; i < count; ++i) {
            int32_t peak = 0;
            engine.MeasurePeak(rec.ExpectedFwhm, res.PeakCandidate[i], N, peak, res.PeakLow[i],
                               res.PeakHigh[i], res.PeakNet[i], res.PeakBackground[i],
                               res.PeakFwhm[i], res.PeakError[i]);
            res.PeakChannel[i] = res.PeakCandidate[i];
        }
    }
    res.PeakCount = std::clamp(count, 0, kPeakSearchMax);
    for (int i = 0; i < res.PeakCount; ++i) {
        rec.RoiStart[s][i + 1] = clampChannel(res.PeakLow[i]);
        rec.RoiEnd[s][i + 1] = clampChannel(res.PeakHigh[i]);
    }
    return res.PeakCount;
}

bool measureNearestPeak(CMerinCalcc& engine, PeakResults& res, InfoRecord& rec,
                        SpectrumState& sp, int s, double factor, bool setRoi) {
    s = clampSlot(s);
    copySlotToEngine(engine, sp.slot[s]);
    const int n = roiIndex(sp.CurrentRoi[s]);
    int32_t peak = 0;
    engine.MeasurePeak(rec.ExpectedFwhm, sp.CursorChannel[s], viewChannels(rec.SlotViewChannels[s]),
                       peak, res.PeakLow[n], res.PeakHigh[n], res.PeakNet[n],
                       res.PeakBackground[n], res.PeakFwhm[n], res.PeakError[n]);
    if (res.PeakError[n] * factor > res.PeakNet[n] || res.PeakNet[n] < 10.0) return false;
    if (setRoi) {
        if (sp.CurrentRoi[s] < kRoiLastSelectable) ++sp.CurrentRoi[s];
        rec.RoiStart[s][n] = clampChannel(res.PeakLow[n]);
        rec.RoiEnd[s][n] = clampChannel(res.PeakHigh[n]);
    }
    sp.PeakInfoChannel = peak;
    sp.PeakInfoFwhm = res.PeakFwhm[n];
    sp.PeakInfoBackground = res.PeakBackground[n];
    sp.PeakInfoNet = res.PeakNet[n];
    sp.PeakInfoError = res.PeakError[n];
    sp.PeakInfoKind = 1;
    sp.PeakInfoVisible = 1;
    return true;
}

}  // namespace qor
