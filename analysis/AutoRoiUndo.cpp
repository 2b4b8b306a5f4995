#include "analysis/AutoRoiUndo.h"

#include "spectrum/SpectrumView.h"

namespace qor {

void keepRoiTable(RoiTableBackup& b, const InfoRecord& rec, const SpectrumState& sp, int s) {
    s = clampSlot(s);
    b.slot = s;
    for (int r = 0; r < kRoiCount; ++r) {
        b.start[r] = rec.RoiStart[s][r];
        b.end[r] = rec.RoiEnd[s][r];
    }
    b.currentRoi = sp.CurrentRoi[s];
    b.held = true;
}

bool restoreRoiTable(RoiTableBackup& b, InfoRecord& rec, SpectrumState& sp) {
    if (!b.held) return false;
    const int s = clampSlot(b.slot);
    for (int r = 0; r < kRoiCount; ++r) {
        rec.RoiStart[s][r] = b.start[r];
        rec.RoiEnd[s][r] = b.end[r];
    }
    sp.CurrentRoi[s] = b.currentRoi;
    b.held = false;
    return true;
}

}  // namespace qor
