#pragma once
// How far a mapping scan has come and how long it still needs: the pixels of the whole scan
// (every pass of every Z plane), and an estimate of the time left from the measured line
// periods once a line has been measured, before that from the scan's own parameters (pixel
// dwell, line length, the return and step moves, the ticks between lines). Free of widgets.

#include "app/InfoRecord.h"

#include <cstdint>

namespace qor {

// Pixels of the whole scan: X steps x Y steps x passes (a repeat count below 1 runs one pass)
// x Z planes (ZCount + 1 with Z, else 1).
int64_t plannedPixels(const InfoRecord& r);
// Planes and passes of the whole scan.
int32_t plannedPlanes(const InfoRecord& r);
int32_t passesPerPlane(const InfoRecord& r);

// The expected period of one line in milliseconds before any line has been measured: the
// stroke (X steps x pixel pulses at the scan speed), the return of X at motor #1's maximum
// speed (one way) or the backlash turn (back and forth), the Y step at motor #2's maximum
// speed, and five Timer2 ticks of 250 ms for the states between two strokes.
int64_t estimatedLineMs(const InfoRecord& r);

// Time left in milliseconds for `remaining` pixels of lines of `pixelsPerLine` pixels, each line
// taking `lineMs`.
int64_t timeLeftMs(int64_t remaining, int32_t pixelsPerLine, int64_t lineMs);

// "h:mm:ss" of a duration (negative durations read as 0) into `out`.
void formatDuration(int64_t ms, char (&out)[16]);

}  // namespace qor
