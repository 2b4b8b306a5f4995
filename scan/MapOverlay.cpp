#include "scan/MapOverlay.h"

#include <algorithm>

namespace qor {

namespace {

constexpr int kStrip = 20;   // the read-out strip under the map area

inline int edge(int k, double cell) { return static_cast<int>(k * cell + 0.5); }

}  // namespace

MapOverlayChoice effectiveOverlay(const MapStore& maps, const MapOverlayChoice& choice,
                                  int32_t pixelsX, int32_t pixelsY) {
    MapOverlayChoice eff = choice;
    for (MapOverlayChannel& c : eff.ch) {
        c.slot = std::clamp(c.slot, 0, 19);
        if (c.high <= 0) c.high = largestMapCount(maps, c.slot, pixelsX, pixelsY);
        if (c.high <= c.low) c.high = c.low + 1;
    }
    return eff;
}

QRgb overlayColour(const MapStore& maps, const MapOverlayChoice& eff, int x, int y) {
    if (!mapCellInside(0, x, y)) return qRgb(0, 0, 0);
    const MapOverlayChannel* c = eff.ch;
    return qRgb(overlayLevel(maps.at(c[0].slot, x, y), c[0].low, c[0].high),
                overlayLevel(maps.at(c[1].slot, x, y), c[1].low, c[1].high),
                overlayLevel(maps.at(c[2].slot, x, y), c[2].low, c[2].high));
}

void MapOverlayView::draw(QImage& img, const MapStore& maps, const MapOverlayChoice& choice,
                          const MapDisplayState& view, const InfoRecord& rec) {
    if (img.isNull() || img.depth() != 32) return;
    const int imgW = img.width();
    const int imgH = img.height();
    const int32_t cols = std::min<int32_t>(mapShownCount(rec.MapPixelsX, rec.MapZoom), kMapSide);
    const int32_t rows = std::min<int32_t>(mapShownCount(rec.MapPixelsY, rec.MapZoom), kMapSide);
    if (cols <= 0 || rows <= 0) return;
    const MapOverlayChoice eff = effectiveOverlay(maps, choice, rec.MapPixelsX, rec.MapPixelsY);

    // The cell geometry of the map display.
    const int areaW = std::clamp<int>(view.DrawExtentX, 0, std::max(0, imgW - 2));
    const int areaH = std::clamp<int>(view.DrawExtentY, 0, std::max(0, imgH - kStrip - 2));
    const double cellW = static_cast<double>(areaW) / cols;
    const double cellH = static_cast<double>(areaH) / rows;
    const int xLimit = std::min(imgW, kMaxMapImageSide);
    int xEnd = 0;
    for (int c = 0; c < cols && xEnd < xLimit; ++c) {
        const int e1 = std::min(edge(c + 1, cellW), xLimit);
        for (; xEnd < e1; ++xEnd) colOffset_[xEnd] = c * kMapSide;
    }
    const int qLimit = std::min(imgH - kStrip, kMaxMapImageSide);
    int qEnd = 0;
    for (int r = 0; r < rows && qEnd < qLimit; ++r) {
        const int e1 = std::min(edge(r + 1, cellH), qLimit);
        for (; qEnd < e1; ++qEnd) rowOf_[qEnd] = r;
    }

    const int32_t* base[3];
    for (int k = 0; k < 3; ++k) base[k] = maps.data() + MapStore::index(eff.ch[k].slot, 0, 0);
    const MapOverlayChannel* c = eff.ch;
    for (int q = 0; q < qEnd; ++q) {
        const int row = rowOf_[q];
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(imgH - kStrip - 1 - q));
        for (int x = 0; x < xEnd; ++x) {
            const int32_t off = colOffset_[x] + row;
            line[x] = qRgb(overlayLevel(base[0][off], c[0].low, c[0].high),
                           overlayLevel(base[1][off], c[1].low, c[1].high),
                           overlayLevel(base[2][off], c[2].low, c[2].high));
        }
    }
}

}  // namespace qor
