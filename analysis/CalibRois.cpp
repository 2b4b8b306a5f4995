#include "analysis/CalibRois.h"

#include "spectrum/SpectrumView.h"

namespace qor {

void storeCalibRois(InfoRecord& rec, int s) {
    s = clampSlot(s);
    for (int k = kCalibRoiFirst; k <= kCalibRoiLast; ++k) {
        rec.CalibRoiStart[s][k] = rec.RoiStart[s][k];
        rec.CalibRoiEnd[s][k] = rec.RoiEnd[s][k];
    }
}

void recallCalibRois(InfoRecord& rec, int s) {
    s = clampSlot(s);
    for (int k = kCalibRoiFirst; k <= kCalibRoiLast; ++k) {
        rec.RoiBackupStart[s][k] = rec.RoiStart[s][k];
        rec.RoiBackupEnd[s][k] = rec.RoiEnd[s][k];
        // A stored file may hold anything: ROI ends stay inside the slot's channels.
        rec.RoiStart[s][k] = clampChannel(rec.CalibRoiStart[s][k]);
        rec.RoiEnd[s][k] = clampChannel(rec.CalibRoiEnd[s][k]);
    }
}

}  // namespace qor
