#include "scan/MapView.h"

#include "app/FieldText.h"
#include "app/TextCodec.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QRegularExpression>
#include <algorithm>
#include <cstring>

namespace qor {

namespace {

constexpr QRgb kWhite = 0xffffffffu;
constexpr QRgb kBlack = 0xff000000u;
constexpr int kStrip = 20;   // height of the read-out strip under the map area

void ensureRgb32(QImage& img) {
    if (img.format() != QImage::Format_RGB32 && img.format() != QImage::Format_ARGB32 &&
        img.format() != QImage::Format_ARGB32_Premultiplied)
        img.convertTo(QImage::Format_RGB32);
}

// Horizontal run of pixels [x0, x1) on row y, clipped to the image.
void hline(QImage& img, int x0, int x1, int y, QRgb c) {
    if (y < 0 || y >= img.height()) return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, img.width());
    if (x0 >= x1) return;
    auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
    std::fill(row + x0, row + x1, c);
}

// Vertical run of pixels [y0, y1) on column x, clipped to the image.
void vline(QImage& img, int x, int y0, int y1, QRgb c) {
    if (x < 0 || x >= img.width()) return;
    y0 = std::max(y0, 0);
    y1 = std::min(y1, img.height());
    for (int y = y0; y < y1; ++y) reinterpret_cast<QRgb*>(img.scanLine(y))[x] = c;
}

// A rectangle from (0, 0) to (right, bottom), right and bottom exclusive, with a one-pixel
// outline: the drawing rule of both images, which give the image height as the right edge and
// the image width as the bottom edge.
void outlinedRect(QImage& img, int right, int bottom, QRgb outline, QRgb inside) {
    const int yEnd = std::min(bottom, img.height());
    const int xEnd = std::min(right, img.width());
    for (int y = 0; y < yEnd; ++y) {
        if (y == 0 || y == bottom - 1) {
            hline(img, 0, xEnd, y, outline);
            continue;
        }
        hline(img, 0, xEnd, y, inside);
        hline(img, 0, 1, y, outline);
        if (right - 1 < img.width()) hline(img, right - 1, right, y, outline);
    }
}

// Pixel edge k of a grid of cells `cell` pixels wide: (k * cell + 0.5) truncated.
inline int edge(int k, double cell) { return static_cast<int>(k * cell + 0.5); }

}  // namespace

int32_t mapColourRange(int32_t zMax, int32_t lowPct, int32_t highPct) {
    const int64_t range = static_cast<int64_t>(zMax) * highPct / 100 -
                          static_cast<int64_t>(zMax) * lowPct / 100;
    if (range < 10) return 10;
    return static_cast<int32_t>(std::min<int64_t>(range, INT32_MAX));
}

int mapColourIndex(int32_t count, int32_t lowPct, int32_t range, int steps) {
    const int64_t v = static_cast<int64_t>(count) - lowPct;
    if (v <= 0 || range <= 0) return 0;
    const int64_t idx = v * steps / range;
    return idx >= steps ? steps - 1 : static_cast<int>(idx);
}

int32_t mapShownCount(int32_t pixels, int32_t zoom) {
    if (zoom == 2) return pixels / 2;
    if (zoom == 4) return pixels / 4;
    return pixels;
}

MapView::MapView() { std::memset(legendNames_, 0, sizeof legendNames_); }

QString stripText(const QString& readout) {
    static const QRegularExpression mouse(QStringLiteral("^##\\s*mouse\\s*\\([^)]*\\)\\s*"));
    QString line = readout.simplified();
    line.remove(mouse);
    return line;
}

QFont stripFont(const QString& line, int room, const QFont& base) {
    QFont font = base;
    int pixels = std::min(QFontInfo(base).pixelSize(), kStrip - 5);
    font.setPixelSize(pixels);
    while (pixels > 8 && QFontMetrics(font).horizontalAdvance(line) > room)
        font.setPixelSize(--pixels);
    return font;
}

void MapView::renderStrip(const QString& readout, int width) {
    if (stripImage_.width() == width && stripSource_ == readout) return;
    // The read-out begins with a line break (for the status bar); the strip shows what it says
    // of the cell on one line, white on black from x = 10, in a font small enough for the
    // whole text to fit the map's width (down to 8 pixels; only a still narrower map cuts it
    // with an ellipsis).
    stripSource_ = readout;
    stripImage_ = QImage(width, kStrip - 1, QImage::Format_RGB32);
    stripImage_.fill(kBlack);
    const QString line = stripText(readout);
    QPainter p(&stripImage_);
    p.setPen(Qt::white);
    const int room = std::max(0, width - 12);
    const QFont font = stripFont(line, room, p.font());
    p.setFont(font);
    p.drawText(QRect(10, 0, room, kStrip - 1), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               QFontMetrics(font).elidedText(line, Qt::ElideRight, room));
}

MapDrawOutcome MapView::drawMap(QImage& img, const MapStore& maps, MapDisplayState& view,
                                InfoRecord& rec) {
    MapDrawOutcome out;
    if (img.isNull()) return out;
    ensureRgb32(img);
    const int imgW = img.width();
    const int imgH = img.height();

    // 1. Background: black inside a white outline; the line over the strip; the read-out in
    // the strip (the strip is repainted whole, so that a new read-out never prints over the
    // last one).
    outlinedRect(img, imgH, imgW, kWhite, kBlack);
    hline(img, 1, imgW - 1, imgH - kStrip, kWhite);
    const bool withText = !view.MapReadout.isEmpty();
    if (withText) renderStrip(view.MapReadout, imgW);
    for (int y = std::max(imgH - kStrip + 1, imgW); y < imgH; ++y) {
        const int sy = y - (imgH - kStrip + 1);
        if (withText && sy < stripImage_.height())
            std::memcpy(img.scanLine(y), stripImage_.constScanLine(sy),
                        static_cast<size_t>(imgW) * sizeof(QRgb));
        else
            hline(img, 0, imgW, y, kBlack);
    }

    // 2. Shown size from the zoom; the view always starts at column 0, row 0.
    const int32_t cols = mapShownCount(rec.MapPixelsX, rec.MapZoom);
    const int32_t rows = mapShownCount(rec.MapPixelsY, rec.MapZoom);
    rec.MapViewSize[0] = cols;
    rec.MapViewSize[1] = rows;

    // 4. Scale.
    view.MapColourRange = mapColourRange(view.MapZMax, view.MapLowPct, view.MapHighPct);
    if (cols <= 0 || rows <= 0) return out;
    out.accessOver = cols > kMapSide || rows > kMapSide;

    // 3. Cell geometry: the drawing area, held inside the image.
    const int areaW = std::clamp<int>(view.DrawExtentX, 0, std::max(0, imgW - 2));
    const int areaH = std::clamp<int>(view.DrawExtentY, 0, std::max(0, imgH - kStrip - 2));
    const double cellW = static_cast<double>(areaW) / cols;
    const double cellH = static_cast<double>(areaH) / rows;

    // Pixel columns [0, xEnd) lie over map columns; column c covers [x_c, x_c+1). Columns past
    // the arrays' end are not read and stay black.
    const int xLimit = std::min(imgW, kMaxMapImageSide);
    int xEnd = 0;
    const int colsIn = std::min<int32_t>(cols, kMapSide);
    for (int c = 0; c < colsIn && xEnd < xLimit; ++c) {
        const int e1 = std::min(edge(c + 1, cellW), xLimit);
        for (; xEnd < e1; ++xEnd) colOffset_[xEnd] = c * kMapSide;
    }
    // Distances above the strip [0, qEnd) lie over map rows; row r covers [y_r, y_r+1).
    const int qLimit = std::min(imgH - kStrip, kMaxMapImageSide);
    int qEnd = 0;
    const int rowsIn = std::min<int32_t>(rows, kMapSide);
    for (int r = 0; r < rowsIn && qEnd < qLimit; ++r) {
        const int e1 = std::min(edge(r + 1, cellH), qLimit);
        for (; qEnd < e1; ++qEnd) rowOf_[qEnd] = r;
    }

    // 5. Cells, painted pixel by pixel through the scan lines: the pixel at distance q above
    // the strip and column x takes the colour of the cell whose edges enclose it.
    const int steps = view.MapUseColour == 1 ? 24 : 128;
    const QRgb* table = view.MapUseColour == 1 ? view.MapColourScale : view.MapGreyScale;
    const int slot = std::clamp<int32_t>(view.MapViewSlot, 0, kMapSlots - 1);
    const int32_t* base = maps.data() + MapStore::index(slot, 0, 0);
    const int64_t low = view.MapLowPct;
    const int64_t range = view.MapColourRange;
    // Offsets at or above `top` take the last entry; the division runs only in between.
    const int64_t top = ((steps - 1) * range + steps - 1) / steps;
    for (int q = 0; q < qEnd; ++q) {
        const int32_t* column = base + rowOf_[q];
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(imgH - kStrip - 1 - q));
        for (int x = 0; x < xEnd; ++x) {
            const int64_t v = column[colOffset_[x]] - low;
            int idx;
            if (v <= 0) idx = 0;
            else if (v >= top) idx = steps - 1;
            else idx = static_cast<int>(v * steps / range);
            line[x] = table[idx];
        }
    }
    return out;
}

void MapView::drawLegend(QImage& img, const InfoRecord& rec) {
    if (img.isNull()) return;
    ensureRgb32(img);
    const int imgW = img.width();
    const int imgH = img.height();
    bool same = legendValid_ && legendW_ == imgW && legendH_ == imgH;
    for (int i = 0; i < kLegendSlots; ++i) {
        if (std::memcmp(legendNames_[i], rec.MapRoiElementName[i], 32) != 0) {
            std::memcpy(legendNames_[i], rec.MapRoiElementName[i], 32);
            legendText_[i] = fromSjis(rec.MapRoiElementName[i]);
            same = false;
        }
    }
    if (same) return;
    legendValid_ = true;
    legendW_ = imgW;
    legendH_ = imgH;

    // 1. White inside a black outline (the band below the square is cleared to white too, so
    // that a changed name never prints over the last one).
    img.fill(kWhite);
    outlinedRect(img, imgH, imgW, kBlack, kWhite);
    // 2. The band grid.
    for (int y : {100, 200, 300, 400}) hline(img, 1, imgW, y, kBlack);
    hline(img, 1, 400, 502, kBlack);
    const int g = (imgW - 2) / 4;
    for (int k = 1; k <= 3; ++k) vline(img, k * g, 1, imgH - 2, kBlack);
    // The right border, which the rectangle above (its right edge at the image height) leaves
    // outside the image: it closes the last column of bands down to the bottom line.
    vline(img, imgW - 1, 0, std::min(imgH, 503), kBlack);
    // 3. The names, four slots per row, slot 0 at the top left; (x, y) is the text's top left.
    QPainter p(&img);
    p.setPen(Qt::black);
    const int ascent = QFontMetrics(p.font()).ascent();
    const int lineHeight = QFontMetrics(p.font()).height();
    // A name longer than its band is cut at the band's edge instead of running into the next.
    for (int i = 0; i < kLegendSlots; ++i) {
        const int x = 7 + (i % 4) * g;
        p.setClipRect(QRect(x, 87 + (i / 4) * 100, std::max(0, g - 8), lineHeight));
        p.drawText(x, 87 + (i / 4) * 100 + ascent, legendText_[i]);
    }
}

int32_t zMaxLowered(int32_t zMax) {
    return zMax > 10 ? static_cast<int32_t>(zMax * 0.9) : zMax;
}

int32_t zMaxRaised(int32_t zMax) {
    return zMax < 1000000 ? static_cast<int32_t>(zMax * 1.1) : zMax;
}

int32_t zoomedIn(int32_t zoom) { return zoom == 1 ? 2 : zoom == 2 ? 4 : zoom; }

int32_t zoomedOut(int32_t zoom) { return zoom == 4 ? 2 : zoom == 2 ? 1 : zoom; }

int32_t largestMapCount(const MapStore& maps, int slot, int32_t pixelsX, int32_t pixelsY) {
    if (slot < 0 || slot >= kMapSlots) return 0;
    const int nx = std::clamp<int32_t>(pixelsX, 0, kMapSide);
    const int ny = std::clamp<int32_t>(pixelsY, 0, kMapSide);
    int32_t best = 0;
    for (int x = 0; x < nx; ++x) {
        const int32_t* col = maps.data() + MapStore::index(slot, x, 0);
        for (int y = 0; y < ny; ++y) best = std::max(best, col[y]);
    }
    return best;
}

int32_t contrastCount(int position, int32_t zMax) {
    if (zMax <= 0) return 0;
    return static_cast<int32_t>(static_cast<int64_t>(position) * zMax / 100);
}

int32_t contrastPercent(int position, int32_t zMax) {
    if (zMax <= 0) return position;
    return static_cast<int32_t>(static_cast<int64_t>(contrastCount(position, zMax)) * 100 / zMax);
}

int legendSlotAt(int x, int y) {
    if (x < 0 || x > 399 || y < 0 || y > 500) return -1;
    const int row = std::min(y / 100, 4);
    return 4 * row + x / 100;
}

MapClickCell mapCellAt(int x, int y, int paintW, int paintH, int32_t pixelsX, int32_t pixelsY) {
    MapClickCell c;
    c.yUp = paintH - y - kStrip;
    if (paintW > 0)
        c.cellX = static_cast<int32_t>(static_cast<double>(x) / paintW * pixelsX + 0.5);
    if (paintH - kStrip > 0)
        c.cellY = static_cast<int32_t>(static_cast<double>(c.yUp) / (paintH - kStrip) * pixelsY +
                                       0.5);
    return c;
}

QString mapReadoutText(const MapClickCell& c, int x, const InfoRecord& rec, int32_t zMax,
                       int32_t count) {
    return formatC("\n## mouse (%d,%d) Cell(%d,%d) matrix(%d,%d) offset(%d,%d) ZMax %8d", x,
                   c.yUp, c.cellX, c.cellY, rec.MapViewSize[0], rec.MapViewSize[1],
                   rec.MapViewOrigin[0], rec.MapViewOrigin[1], zMax) +
           QStringLiteral("　") + formatC("%10d count", count);
}

QString legendSlotText(int slot) {
    return QStringLiteral("\n元素# ") + formatC("%3d", slot);
}

}  // namespace qor
