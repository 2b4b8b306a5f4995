#include "scan/LiveMap.h"

#include "scan/MapView.h"

#include <algorithm>

namespace qor {

namespace {

constexpr int kStrip = 20;

inline int edge(int k, double cell) { return static_cast<int>(k * cell + 0.5); }

// The index k (0..n-1) whose band [edge(k), edge(k+1)) holds `p`, or -1.
int bandOf(int p, int n, double cell) {
    if (p < 0 || n <= 0 || !(cell > 0) || p >= edge(n, cell)) return -1;
    int k = std::clamp(static_cast<int>(p / cell), 0, n - 1);
    while (k + 1 < n && edge(k + 1, cell) <= p) ++k;
    while (k > 0 && edge(k, cell) > p) --k;
    return k;
}

}  // namespace

int slotToShowAtStart(const InfoRecord& r, int shown) {
    if (shown >= 0 && shown < 20 && r.MapRoiEnabled[shown] == 1) return shown;
    for (int s = 0; s < 20; ++s)
        if (r.MapRoiEnabled[s] == 1) return s;
    return shown;
}

MapCellHit mapCellUnderPoint(int px, int py, int paintW, int paintH, const MapDisplayState& view,
                             const InfoRecord& r) {
    MapCellHit hit;
    const int cols = std::min<int32_t>(mapShownCount(r.MapPixelsX, r.MapZoom), kMapSide);
    const int rows = std::min<int32_t>(mapShownCount(r.MapPixelsY, r.MapZoom), kMapSide);
    if (cols <= 0 || rows <= 0) return hit;
    const int areaW = std::clamp<int>(view.DrawExtentX, 0, std::max(0, paintW - 2));
    const int areaH = std::clamp<int>(view.DrawExtentY, 0, std::max(0, paintH - kStrip - 2));
    const int q = paintH - kStrip - 1 - py;   // distance above the strip
    const int c = bandOf(px, cols, static_cast<double>(areaW) / cols);
    const int row = bandOf(q, rows, static_cast<double>(areaH) / rows);
    if (c < 0 || row < 0) return hit;
    hit.inside = true;
    hit.x = c;
    hit.y = row;
    return hit;
}

QString goToCellQuestion(int x, int y, double xMm, double yMm) {
    return QStringLiteral("ピクセル (%1, %2) の中心 X %3 mm, Y %4 mm へステージを移動しますか?")
        .arg(x)
        .arg(y)
        .arg(xMm, 0, 'f', 4)
        .arg(yMm, 0, 'f', 4);
}

}  // namespace qor
