#pragma once
// The calibration ROI set of a slot: ROI 1..8 stored as the slot's calibration ROIs, and put
// back into ROI 1..8 (the ROIs they replace are kept as the backup).

#include "app/InfoRecord.h"

namespace qor {

constexpr int kCalibRoiFirst = 1;
constexpr int kCalibRoiLast = 8;

void storeCalibRois(InfoRecord& rec, int s);
void recallCalibRois(InfoRecord& rec, int s);

}  // namespace qor
