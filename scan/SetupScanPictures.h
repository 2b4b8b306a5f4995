#pragma once
// Pictures of the Setup SCAN page, drawn once at start: the two scan paths of the scan method
// and the two poses of the picture button.

#include <QPixmap>

namespace qor {

// One-way raster: every X line in + direction, X returning to the line start before Y steps.
QPixmap scanPathOneWay(int w, int h);
// Back and forth: odd lines in + direction, even lines in - direction (a serpentine).
QPixmap scanPathBackAndForth(int w, int h);
// The picture button: standing (first) and speaking (second).
QPixmap pictureButtonPose(int size, bool speaking);

}  // namespace qor
