#pragma once
// The ROI table rules, free of widgets: the gross and net counts of a ROI, and the edits of the
// ROI commands (set, clear, move an edge, pick the ROI under the cursor).
//
// A ROI is defined when its end is not 0. ROI numbers 0..99 are used; the operator selects
// 1..99. Every ROI end written here stays inside channels 0..4095, and no rule reads a channel
// outside the 4096 channels of a slot, whatever the table holds.

#include "app/InfoRecord.h"

#include <QString>
#include <cstdint>

namespace qor {

constexpr int kRoiCount = 100;      // ROI numbers 0..99
constexpr int kRoiFirstSelectable = 1;
constexpr int kRoiLastSelectable = 99;

struct RoiCounts {
    int32_t gross = 0;   // GRS: the sum of the ROI's channels
    int32_t net = 0;     // NET: GRS minus the straight background under the ROI
};

// GRS and NET of the ROI [L, R] of one slot's 4096 channels `x`; N is the slot's channel count.
// The edge averages take the three channels at each end (the left one the channels below L that
// exist); a ROI ending on or past N uses its end channel alone on the right.
RoiCounts roiNetGross(const int32_t* x, int32_t L, int32_t R, int32_t N);

// A ROI number held inside the table (0..99), for indexing.
int roiIndex(int32_t r);

// The number typed into the ROI number box, if it is a selectable ROI number (1..99).
bool parseRoiNumber(const QString& text, int32_t& number);

// The ROI commands on slot s of the record; c is the slot's cursor, N its channel count.
void roiSet(InfoRecord& rec, int s, int r, int32_t c);
void roiClear(InfoRecord& rec, int s, int r);
void roiClearAll(InfoRecord& rec, int s);
void roiWiden(InfoRecord& rec, int s, int r, int32_t N);       // one channel on each side
void roiNarrow(InfoRecord& rec, int s, int r);                 // one channel on each side
void roiShiftLeft(InfoRecord& rec, int s, int r);
void roiShiftRight(InfoRecord& rec, int s, int r, int32_t N);

// The highest-numbered defined ROI 1..99 of slot s that contains channel c, or 0 for none.
int roiAtChannel(const InfoRecord& rec, int s, int32_t c);

}  // namespace qor
