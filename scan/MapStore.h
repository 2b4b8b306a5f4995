#pragma once
// The map arrays of the mapping scan and the state of the map display.
//
// 32 maps of 1024 x 1024 signed 32-bit cells (128 MiB), allocated once for the whole run.
// Cell (slot s, column x, row y) sits at s * 1048576 + x * 1024 + y: the row varies fastest.

#include <QRgb>
#include <QString>
#include <cstdint>
#include <memory>

namespace qor {

constexpr int kMapSlots = 32;
constexpr int kMapSide = 1024;
constexpr std::size_t kMapCells = static_cast<std::size_t>(kMapSlots) * kMapSide * kMapSide;

class MapStore {
public:
    MapStore();
    int32_t* data() { return cells_.get(); }
    const int32_t* data() const { return cells_.get(); }
    // Cell access; callers keep s, x, y inside 0..31, 0..1023, 0..1023.
    int32_t& at(int s, int x, int y) { return cells_[index(s, x, y)]; }
    int32_t at(int s, int x, int y) const { return cells_[index(s, x, y)]; }
    static std::size_t index(int s, int x, int y) {
        return static_cast<std::size_t>(s) * kMapSide * kMapSide +
               static_cast<std::size_t>(x) * kMapSide + static_cast<std::size_t>(y);
    }
    void clear();             // every cell of all 32 maps to 0
    void fillTestPattern();   // cell = x + y + 1000 * s

private:
    std::unique_ptr<int32_t[]> cells_;
};

struct MapDisplayState {
    QRgb MapGreyScale[128] = {};
    QRgb MapColourScale[24] = {};
    int32_t MapZMax = 1000;
    int32_t MapLowPct = 0;
    int32_t MapHighPct = 100;
    int32_t MapDrawHold = 0;      // while 1 the map display does not redraw
    int32_t MapViewSlot = 0;      // map slot shown, 0..19
    int32_t MapColourRange = 100; // counts spanned by the scale, recomputed at each draw
    uint8_t MapUseColour = 0;     // 1: 24-step colour scale, 0: 128-step grey scale
    QString MapReadout;           // last map-click readout, drawn under the map
    int32_t DrawExtentX = 0;      // drawing extents of the map area in pixels
    int32_t DrawExtentY = 0;
    int32_t ViewExtentX = 256;   // map view extents and centre
    int32_t ViewExtentY = 256;
    int32_t ViewCentreX = 128;
    int32_t ViewCentreY = 128;
};

void fillMapScales(MapDisplayState& m);

}  // namespace qor
