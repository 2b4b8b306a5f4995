#pragma once
// The line markers over the spectrum view: for each marked line a vertical line at the channel
// of its energy (the inverse of the viewed slot's energy calibration), as tall as its relative
// intensity allows, with its label at the top. Without a calibration the view shows a note that
// the markers need one instead. Drawn straight into the view's image; allocates nothing.

#include "analysis/LineState.h"
#include "app/InfoRecord.h"
#include "spectrum/SpectrumState.h"

#include <QImage>
#include <QRgb>

namespace qor {

constexpr QRgb kMarkerColour = qRgb(160, 0, 160);

// Draws the markers of `lines` over the view already painted into `img`.
void drawLineMarkers(QImage& img, const SpectrumState& sp, const InfoRecord& rec,
                     const LineState& lines);

}  // namespace qor
