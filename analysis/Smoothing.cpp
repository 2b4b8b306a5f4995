#include "analysis/Smoothing.h"

#include "analysis/PeakAnalysis.h"
#include "spectrum/SpectrumView.h"

namespace qor {

SmoothChoice smoothChoice(const InfoRecord& rec) {
    static constexpr int32_t kPoints[3] = {5, 7, 9};
    const int32_t i = rec.SmoothPointsIndex;
    switch (rec.SmoothFilter) {
        case 0:
        case 1:
            return {rec.SmoothFilter, i >= 0 && i < 3 ? kPoints[i] : 0};
        case 2:
            return {2, rec.SmoothAveragePoints};
        default:
            return {0, 0};
    }
}

bool smoothToWork(CMerinCalcc& engine, const InfoRecord& rec, SpectrumState& sp, int s) {
    s = clampSlot(s);
    copySlotToEngine(engine, sp.slot[s]);
    const SmoothChoice choice = smoothChoice(rec);
    const int32_t last = viewChannels(rec.SlotViewChannels[s]);
    if (engine.Smooth(choice.kind, choice.points, last) < 0) return false;
    int32_t* work = sp.slot[kSlotWork];
    for (int32_t c = 0; c < kSlotChannels; ++c)
        work[c] = c <= last ? engine.GetResult(c) : engine.GetSource(c);
    return true;
}

}  // namespace qor
