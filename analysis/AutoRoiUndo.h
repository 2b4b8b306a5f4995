#pragma once
// One level of undo for the automatic peak search ("自"), which replaces the whole ROI table of
// the shown slot: the table it replaced (hand-set ROIs included) and the current ROI number are
// kept, and the undo command puts them back once.

#include "app/InfoRecord.h"
#include "spectrum/RoiTable.h"
#include "spectrum/SpectrumState.h"

#include <cstdint>

namespace qor {

struct RoiTableBackup {
    bool held = false;   // a table is kept and not yet restored
    int slot = 0;
    int32_t start[kRoiCount] = {};
    int32_t end[kRoiCount] = {};
    int32_t currentRoi = 1;
};

// Keeps ROIs 0..99 and the current ROI number of slot s (before "自" replaces them).
void keepRoiTable(RoiTableBackup& b, const InfoRecord& rec, const SpectrumState& sp, int s);

// Puts the kept table back into its slot and forgets it; false when nothing is kept.
bool restoreRoiTable(RoiTableBackup& b, InfoRecord& rec, SpectrumState& sp);

}  // namespace qor
