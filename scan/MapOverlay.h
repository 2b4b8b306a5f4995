#pragma once
// The three-element colour overlay: three map slots shown as the red, green and blue parts of
// one picture, each scaled between its own low and high cut, so that where elements occur
// together shows at a glance (red and green make yellow, and so on).
//
// Widget-free: the overlay paints into the map image with the geometry of the map display
// (row 0 at the bottom, the 20-pixel strip left as it is).

#include "app/InfoRecord.h"
#include "scan/MapStore.h"
#include "scan/MapView.h"

#include <QImage>
#include <cstdint>

namespace qor {

struct MapOverlayChannel {
    int slot = 0;        // map slot 0..19
    int32_t low = 0;     // counts at or below: 0
    int32_t high = 0;    // counts at or above: 255; 0 or below: the map's largest count
};

struct MapOverlayChoice {
    MapOverlayChannel ch[3];   // red, green, blue
};

// The level 0..255 of a count between the cuts (linear, truncated).
inline int overlayLevel(int32_t count, int32_t low, int32_t high) {
    if (count <= low) return 0;
    if (count >= high) return 255;
    return static_cast<int>(static_cast<int64_t>(count - low) * 255 / (static_cast<int64_t>(high) - low));
}

// The cuts as drawn: a high cut of 0 or below becomes the map's largest count over the area in
// use, and a high cut not above the low one becomes low + 1.
MapOverlayChoice effectiveOverlay(const MapStore& maps, const MapOverlayChoice& choice,
                                  int32_t pixelsX, int32_t pixelsY);

// The colour of cell (x, y) under effective cuts.
QRgb overlayColour(const MapStore& maps, const MapOverlayChoice& eff, int x, int y);

class MapOverlayView {
public:
    // Paints the overlay over the map area of `img` (drawn by MapView::drawMap first, which
    // sets the background, the strip and the cell geometry), with the shown columns and rows
    // and the drawing extents of `view`.
    void draw(QImage& img, const MapStore& maps, const MapOverlayChoice& choice,
              const MapDisplayState& view, const InfoRecord& rec);

private:
    int32_t colOffset_[kMaxMapImageSide];
    int32_t rowOf_[kMaxMapImageSide];
};

}  // namespace qor
