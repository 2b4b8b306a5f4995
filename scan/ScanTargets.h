#pragma once
// Every place the mapping scan sends a motor to, worked out before the scan starts: the X line
// end and the backlash turns, the Y lines and the Y backlash, the Z planes. The pulse arithmetic
// runs in 64 bits, so a product or a negation that leaves the int32 range is seen instead of
// wrapping; each axis's whole travel must lie inside the soft limits of its motor (SETUP page).
// Free of widgets: Start SCAN shows the text of the first problem found and does not start.

#include "app/InfoRecord.h"

#include <QString>
#include <cstdint>

namespace qor {

// The X address of the end of a line: ScanXPixelPulses x ScanXSteps.
int64_t scanLineEndPulses(const InfoRecord& r);
// The Y address of line `line` (0-based): line x ScanYPixelPulses.
int64_t scanLinePulses(const InfoRecord& r, int64_t line);

// True when a pulse address fits the controllers' signed 32-bit counters.
inline bool fitsPulses(int64_t p) { return p >= INT32_MIN && p <= INT32_MAX; }

// The travel lo..hi (logical units) of motor #`motor` (1 X, 2 Y, 3 Z) against its soft limits
// (SETUP page): empty when it lies inside them, else a text naming the axis, the travel and the
// limit it crosses, ending with `tail` (what cannot start).
QString softLimitProblem(const InfoRecord& r, int motor, double lo, double hi, const QString& tail);

// The first problem of the scan's targets, or an empty text when every target fits the stage:
// a Z value that is no finite number, a target beyond the int32 counters (naming the values it
// comes from), or an axis whose travel leaves its soft limits (naming the axis, the travel and
// the limit). Call after the step counts, pixel widths and scales were found positive.
QString scanTargetProblem(const InfoRecord& r);

}  // namespace qor
