#pragma once
// Rules of the live map on the 2D SCAN page that need no widget: which slot a starting scan
// shows, which map cell lies under a point of the map image (the inverse of the map display's
// cell geometry, zoom included), and the stage position of a cell for "go to this pixel".

#include "app/InfoRecord.h"
#include "scan/MapStore.h"

#include <QString>
#include <cstdint>

namespace qor {

// The slot to show when a scan starts: `shown` when it is enabled, else the first enabled slot
// (0..19), else `shown`.
int slotToShowAtStart(const InfoRecord& r, int shown);

struct MapCellHit {
    bool inside = false;   // the point lies over a cell of the map area
    int x = 0;             // column
    int y = 0;             // row (0 at the bottom)
};
// The cell drawn under paint-area point (px, py) of a map image `paintW` x `paintH` pixels, with
// the drawing extents of `view` and the shown size of `rec`'s zoom.
MapCellHit mapCellUnderPoint(int px, int py, int paintW, int paintH, const MapDisplayState& view,
                             const InfoRecord& r);

// The question asked before the stage moves to a cell's centre.
QString goToCellQuestion(int x, int y, double xMm, double yMm);

}  // namespace qor
