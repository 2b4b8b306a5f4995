#pragma once
// The map display without widgets: DrawMap paints the element map (a grid of coloured cells of
// one map slot) and the legend of the twenty map ROI slots into QImages, and the small rules of
// the view buttons, the contrast track bars and the mouse read-out.
//
// The map image is 20 pixels taller than wide: a square drawing area above a 20-pixel strip
// that carries the click read-out. Row 0 of the map sits at the bottom, just above the strip.

#include "app/InfoRecord.h"
#include "scan/MapStore.h"

#include <QImage>
#include <QFont>
#include <QString>
#include <cstdint>

namespace qor {

// Largest image side the cell painter handles; pixels beyond it stay as the background.
constexpr int kMaxMapImageSide = 8192;

// Legend geometry: 100 x 100 pixel bands, four slots per row, five rows.
constexpr int kLegendSlots = 20;

// What a map draw met on its way.
struct MapDrawOutcome {
    bool accessOver = false;   // the shown area reaches past column or row 1023 of the arrays
};

// Counts spanned by the scale: high cut minus low cut in counts, at least 10.
int32_t mapColourRange(int32_t zMax, int32_t lowPct, int32_t highPct);
// Colour index of a count: (count - lowPct) * steps / range, held inside 0..steps-1.
int mapColourIndex(int32_t count, int32_t lowPct, int32_t range, int steps);
// Columns or rows shown at a zoom of 1, 2 or 4 (any other zoom shows like 1).
int32_t mapShownCount(int32_t pixels, int32_t zoom);

class MapView {
public:
    MapView();

    // DrawMap, map image: background, bottom-strip line and read-out, then every shown cell of
    // map slot `view.MapViewSlot`. Writes `rec.MapViewSize` and `view.MapColourRange`.
    // `img` must be in QImage::Format_RGB32 (other formats are converted once).
    MapDrawOutcome drawMap(QImage& img, const MapStore& maps, MapDisplayState& view,
                           InfoRecord& rec);

    // DrawMap, legend image: the band grid and the element names of slots 0..19. The legend
    // changes only with the names and the image size, so an unchanged legend is not repainted.
    void drawLegend(QImage& img, const InfoRecord& rec);
    // Forces the next drawLegend to paint (after the image was replaced).
    void invalidateLegend() { legendValid_ = false; }

private:
    // Per pixel column: offset of the map column under it (column * 1024); per distance above
    // the strip: the map row under it. Filled at every draw; no allocation.
    int32_t colOffset_[kMaxMapImageSide];
    int32_t rowOf_[kMaxMapImageSide];

    // The read-out strip as drawn, kept until the read-out or the width changes, so that a
    // draw only copies it.
    void renderStrip(const QString& readout, int width);
    QString stripSource_;
    QImage stripImage_;

    bool legendValid_ = false;
    int legendW_ = 0;
    int legendH_ = 0;
    char legendNames_[kLegendSlots][32];
    QString legendText_[kLegendSlots];
};

// View buttons.
int32_t zMaxLowered(int32_t zMax);    // x 0.9 while above 10
int32_t zMaxRaised(int32_t zMax);     // x 1.1 while below 1000000
int32_t zoomedIn(int32_t zoom);       // 1 -> 2 -> 4
int32_t zoomedOut(int32_t zoom);      // 4 -> 2 -> 1
// Largest count of map `slot` over the area in use (held inside the arrays); 0 when every
// count is 0 or negative.
int32_t largestMapCount(const MapStore& maps, int slot, int32_t pixelsX, int32_t pixelsY);

// Contrast track bars: the count a bar position stands for, and the percentage kept for it.
// With zMax 0 or below there is no count to scale: the count is 0 and the percentage is the
// bar position itself.
int32_t contrastCount(int position, int32_t zMax);
int32_t contrastPercent(int position, int32_t zMax);

// Legend click: the slot of the band under (x, y), or -1 outside the bands.
int legendSlotAt(int x, int y);

// Map click: the cell under a paint-area point (the zoom is not taken into account).
struct MapClickCell {
    int32_t yUp = 0;    // distance above the bottom strip
    int32_t cellX = 0;
    int32_t cellY = 0;
};
MapClickCell mapCellAt(int x, int y, int paintW, int paintH, int32_t pixelsX, int32_t pixelsY);

// True when (slot, column, row) lies inside the map arrays.
inline bool mapCellInside(int s, int x, int y) {
    return s >= 0 && s < kMapSlots && x >= 0 && x < kMapSide && y >= 0 && y < kMapSide;
}

// The click read-out of the status bar and the strip under the map.
// The text of the read-out strip under the map: the read-out without its mouse position (the
// status bar shows the whole read-out), the blanks of its number fields closed up.
QString stripText(const QString& readout);
// The font of the read-out strip under the map: `base` at most 15 pixels high, made smaller
// (down to 8 pixels) until `line` fits `room` pixels.
QFont stripFont(const QString& line, int room, const QFont& base);

QString mapReadoutText(const MapClickCell& c, int x, const InfoRecord& rec, int32_t zMax,
                       int32_t count);
// The status text of a legend click.
QString legendSlotText(int slot);

}  // namespace qor
