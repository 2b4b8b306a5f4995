#pragma once
// The smoothing command's work, free of widgets: the shown slot smoothed into the WORK slot with
// the filter chosen in the analysis parameters.

#include "analysis/Merincalc.h"
#include "app/InfoRecord.h"
#include "spectrum/SpectrumState.h"

namespace qor {

// Filter kind and points of the smoothing settings: SmoothFilter 0 -> kind 0 (weight rows 0..2),
// 1 -> kind 1 (rows 3..5), both with 5, 7 or 9 points for SmoothPointsIndex 0, 1, 2; 2 -> kind 2
// with SmoothAveragePoints. Settings outside these give points 0, which the filter refuses.
struct SmoothChoice {
    int32_t kind = 0;
    int32_t points = 0;
};
SmoothChoice smoothChoice(const InfoRecord& rec);

// Smooths slot s into the WORK slot: channels 0..N (N = the slot's channel count) from the
// filter, the channels above N copied from the source. Returns false, leaving WORK as it was,
// when the filter refuses the settings (fewer than 2 points).
bool smoothToWork(CMerinCalcc& engine, const InfoRecord& rec, SpectrumState& sp, int s);

}  // namespace qor
