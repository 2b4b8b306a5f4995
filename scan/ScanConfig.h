#pragma once
// The 2D scan's configuration rules that go beyond storing a box into its field: the values
// derived from the pixel widths and step counts, the Z range exchange between step and count,
// the map channel size and the size display. Free of widgets: the Setup SCAN page stores the
// typed text, calls these, and shows what they computed.

#include "app/InfoRecord.h"

#include <QString>
#include <cstdint>

namespace qor {

// Channel count of a map channel-size index: 0 "256ch", 1 "512ch", 2 "1024ch", 3 "2048ch" (and
// 4096 for an index 4); 0 for any other index.
int32_t mapChannelCount(int32_t index);

// True when the map channel size differs from MCA1's channel count (the scan cannot start then).
bool mapChannelSizeDiffers(const InfoRecord& r);

// X step in logical units: ScanXStep = ScanXPixelPulses / MotorLogicalPulses[0], and with it the
// X range ScanXStart = 0 and ScanXEnd = ScanXSteps x ScanXStep (the far edge of the last pixel). Returns false (nothing changed) while motor #1 has no
// positive pulses per unit.
bool deriveXStep(InfoRecord& r);
// X end after a change of the X step count: ScanXEnd = ScanXSteps x ScanXStep.
void deriveXEnd(InfoRecord& r);
// Y range: ScanYStep = ScanYPixelPulses / MotorLogicalPulses[1], ScanYStart = 0 and ScanYEnd =
// ScanYSteps x ScanYStep. Returns false (nothing changed) while motor #2 has no positive pulses per unit.
bool deriveYRange(InfoRecord& r);

// The Z range |ZEnd - ZStart|.
double zRange(const InfoRecord& r);

// A Z step typed as `text` (its box is the step box). The step is a magnitude: a step that is
// not positive becomes 0.01 and the count stays; otherwise ZCount = (range / step + 0.5)
// truncated. A text that does not begin with a number changes nothing. Returns true when
// ZCount was recomputed (the count box must then show it).
bool zStepTyped(InfoRecord& r, const QString& text);
// A Z count typed as `text`: ZCount takes its integer ("%d"), and ZStep = range / count (the
// count read as a real; the whole range for a count of 0). A text that does not begin with a
// number changes nothing. Returns true when ZStep was recomputed (the step box must then show
// it).
bool zCountTyped(InfoRecord& r, const QString& text);

// Texts of the size display, equal to what the scan measures: the pixels per line and the lines
// ("%4d"), and the scanned size (steps x pixel pulses / pulses per unit, "%10.2lf\r"; 0 while
// the motor has no positive pulses per unit).
struct ScanSizeTexts {
    QString pointsX;   // Label97
    QString pointsY;   // Label99
    QString sizeX;     // Label92
    QString sizeY;     // Label94
};
ScanSizeTexts scanSizeTexts(const InfoRecord& r);

}  // namespace qor
