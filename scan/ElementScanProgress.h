#pragma once
// How far an element scan has come and how long it still needs, free of widgets: the strokes of
// the sweep (the first at Y start, one more per Y step until Y has passed Y end), and the time
// of one stroke, estimated from the rectangle and the X speed until strokes have been measured.

#include "app/InfoRecord.h"

#include <cstdint>

namespace qor {

// True when a stroke at `y` lies beyond Y end: the sweep ends before it steps again. Decimal
// values typed are not exact in binary, so Y end reached counts as reached, not as beyond.
bool elemYBeyondEnd(const InfoRecord& r, double y);
// Y of stroke k (0 = the first).
double elemStrokeY(const InfoRecord& r, int64_t k);
// Strokes of the whole sweep; 0 for parameters the sweep cannot run on.
int64_t plannedStrokes(const InfoRecord& r);
// One stroke in milliseconds: X from start to end at the element-scan speed, and two Timer2
// ticks of 250 ms (the stroke's end seen, the next one sent).
int64_t estimatedStrokeMs(const InfoRecord& r);

}  // namespace qor
