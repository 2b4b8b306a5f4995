#include "scan/MapPicture.h"

#include "app/TextCodec.h"
#include "scan/MapOverlay.h"
#include "scan/MapView.h"
#include "scan/ScanHdf5.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QImageWriter>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace qor {

namespace {

constexpr int kLeft = 70;     // room for the Y tick labels
constexpr int kTop = 36;      // the title
constexpr int kBottom = 46;   // the X tick labels and the axis name
constexpr int kBarGap = 18;
constexpr int kBarWidth = 22;
constexpr int kBarLabels = 80;
constexpr int kRightPlain = 24;

// A tick step of 1, 2 or 5 times a power of ten giving about five ticks over `span`.
double niceStep(double span) {
    if (!(span > 0)) return 0;
    const double raw = span / 5;
    const double p = std::pow(10.0, std::floor(std::log10(raw)));
    const double m = raw / p;
    return (m < 1.5 ? 1 : m < 3.5 ? 2 : m < 7.5 ? 5 : 10) * p;
}

QString tickText(double v) {
    if (std::fabs(v) < 1e-12) v = 0;
    return QString::number(v, 'g', 6);
}

// The frame of a picture: white ground, title, the map's outline and both axes in mm.
void drawFrame(QImage& img, const QRect& map, const InfoRecord& r, const QString& title) {
    QPainter p(&img);
    p.setPen(Qt::black);
    QFont f = p.font();
    f.setPixelSize(16);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(map.left(), 4, img.width() - map.left() - 4, kTop - 8),
               Qt::AlignLeft | Qt::AlignVCenter, title);
    f.setPixelSize(12);
    f.setBold(false);
    p.setFont(f);
    p.drawRect(map.adjusted(-1, -1, 0, 0));
    const int cols = std::clamp<int32_t>(r.MapPixelsX, 1, kMapSide);
    const int rows = std::clamp<int32_t>(r.MapPixelsY, 1, kMapSide);
    // X: the cells' left edge at 0 mm; Y: row y centred on its line's position.
    const double x0 = mapColumnMm(r, 0) - (mapColumnMm(r, 1) - mapColumnMm(r, 0)) / 2;
    const double x1 = mapColumnMm(r, cols - 1) + (mapColumnMm(r, 1) - mapColumnMm(r, 0)) / 2;
    const double ys = mapRowMm(r, 1) - mapRowMm(r, 0);
    const double y0 = mapRowMm(r, 0) - ys / 2;
    const double y1 = mapRowMm(r, rows - 1) + ys / 2;
    const QFontMetrics fm(f);
    const double xs = niceStep(x1 - x0);
    if (xs > 0)
        for (double v = std::ceil(x0 / xs - 1e-9) * xs; v <= x1 + xs * 1e-9; v += xs) {
            const int px = map.left() + static_cast<int>((v - x0) / (x1 - x0) * map.width() + 0.5);
            p.drawLine(px, map.bottom() + 1, px, map.bottom() + 5);
            const QString t = tickText(v);
            const int w = fm.horizontalAdvance(t);
            p.drawText(px - w / 2, map.bottom() + 6 + fm.ascent(), t);
        }
    const double yst = niceStep(y1 - y0);
    if (yst > 0)
        for (double v = std::ceil(y0 / yst - 1e-9) * yst; v <= y1 + yst * 1e-9; v += yst) {
            const int py =
                map.bottom() - static_cast<int>((v - y0) / (y1 - y0) * map.height() + 0.5);
            p.drawLine(map.left() - 6, py, map.left() - 2, py);
            const QString t = tickText(v);
            p.drawText(map.left() - 8 - fm.horizontalAdvance(t), py + fm.ascent() / 2 - 1, t);
        }
    p.drawText(map.left() + map.width() / 2 - 20, map.bottom() + 8 + 2 * fm.height(),
               QStringLiteral("X [mm]"));
    p.save();
    p.translate(14, map.top() + map.height() / 2 + 20);
    p.rotate(-90);
    p.drawText(0, 0, QStringLiteral("Y [mm]"));
    p.restore();
}

// Fills `map` with one colour per cell: `colour(x, y)` for cell (x, y), row 0 at the bottom.
template <typename ColourOf>
void fillCells(QImage& img, const QRect& map, int cols, int rows, int k, ColourOf colour) {
    for (int y = 0; y < rows; ++y) {
        for (int dy = 0; dy < k; ++dy) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(map.bottom() - y * k - dy)) +
                         map.left();
            for (int x = 0; x < cols; ++x) {
                const QRgb c = colour(x, y);
                for (int dx = 0; dx < k; ++dx) *line++ = c;
            }
        }
    }
}

// A vertical bar of the scale's entries, entry 0 along the bottom row, the last along the top.
void fillBar(QImage& img, const QRect& bar, const MapScale& s) {
    const int h = bar.height();
    if (h <= 0 || s.steps <= 0) return;
    for (int i = 0; i < h; ++i) {
        const int k = std::min(s.steps - 1, static_cast<int>(static_cast<int64_t>(h - 1 - i) *
                                                             s.steps / std::max(1, h - 1)));
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(bar.top() + i));
        std::fill(line + bar.left(), line + bar.left() + bar.width(), s.table[k]);
    }
}

QString slotName(const InfoRecord& r, int slot) {
    const QString n = fromSjis(r.MapRoiElementName[slot]).trimmed();
    return n.isEmpty() ? QStringLiteral("ROI-%1").arg(slot + 1) : n;
}

}  // namespace

MapScale mapScaleOf(const MapDisplayState& view) {
    MapScale s;
    const bool colour = view.MapUseColour == 1;
    s.table = colour ? view.MapColourScale : view.MapGreyScale;
    s.steps = colour ? 24 : 128;
    s.low = view.MapLowPct;
    s.range = mapColourRange(view.MapZMax, view.MapLowPct, view.MapHighPct);
    return s;
}

MapScale mapScaleForSlot(const MapDisplayState& view, const MapStore& maps, int slot,
                         int32_t pixelsX, int32_t pixelsY) {
    MapScale s = mapScaleOf(view);
    const int32_t zMax = largestMapCount(maps, slot, pixelsX, pixelsY);
    s.range = mapColourRange(zMax, view.MapLowPct, view.MapHighPct);
    return s;
}

int mapPictureCellSize(int columns, int rows) {
    const int side = std::max(1, std::max(columns, rows));
    return std::max(1, 512 / side);
}

QImage renderMapPicture(const MapStore& maps, int slot, const InfoRecord& r,
                        const MapScale& scale, MapPictureLayout* layout) {
    slot = std::clamp(slot, 0, 19);
    const int cols = std::clamp<int32_t>(r.MapPixelsX, 1, kMapSide);
    const int rows = std::clamp<int32_t>(r.MapPixelsY, 1, kMapSide);
    const int k = mapPictureCellSize(cols, rows);
    const QRect map(kLeft, kTop, cols * k, rows * k);
    const QRect bar(map.right() + 1 + kBarGap, map.top(), kBarWidth, map.height());
    QImage img(bar.right() + 1 + kBarLabels, map.bottom() + 1 + kBottom, QImage::Format_RGB32);
    img.fill(Qt::white);

    const int32_t* base = maps.data() + MapStore::index(slot, 0, 0);
    fillCells(img, map, cols, rows, k, [&](int x, int y) {
        return scale.table[mapColourIndex(base[static_cast<std::size_t>(x) * kMapSide + y],
                                          scale.low, scale.range, scale.steps)];
    });
    fillBar(img, bar, scale);
    const QString title = slotName(r, slot) + QStringLiteral("  (ROI-%1)").arg(slot + 1);
    drawFrame(img, map, r, title);
    const QString low = QString::number(scale.low);
    const QString high = QString::number(scale.top());
    {
        QPainter p(&img);
        p.setPen(Qt::black);
        QFont f = p.font();
        f.setPixelSize(12);
        p.setFont(f);
        p.drawRect(bar.adjusted(-1, -1, 0, 0));
        const int tx = bar.right() + 5;
        p.drawText(tx, bar.top() + QFontMetrics(f).ascent(), high);
        p.drawText(tx, bar.bottom(), low);
        p.drawText(tx, bar.bottom() + 4 + QFontMetrics(f).ascent(), QStringLiteral("counts"));
    }
    if (layout) *layout = MapPictureLayout{map, bar, low, high, title};
    return img;
}

QImage renderOverlayPicture(const MapStore& maps, const MapOverlayChoice& choice,
                            const InfoRecord& r, MapPictureLayout* layout) {
    const int cols = std::clamp<int32_t>(r.MapPixelsX, 1, kMapSide);
    const int rows = std::clamp<int32_t>(r.MapPixelsY, 1, kMapSide);
    const int k = mapPictureCellSize(cols, rows);
    const QRect map(kLeft, kTop, cols * k, rows * k);
    QImage img(map.right() + 1 + kRightPlain, map.bottom() + 1 + kBottom, QImage::Format_RGB32);
    img.fill(Qt::white);
    const MapOverlayChoice eff = effectiveOverlay(maps, choice, r.MapPixelsX, r.MapPixelsY);
    fillCells(img, map, cols, rows, k,
              [&](int x, int y) { return overlayColour(maps, eff, x, y); });
    const QString title = QStringLiteral("R %1   G %2   B %3")
                              .arg(slotName(r, eff.ch[0].slot), slotName(r, eff.ch[1].slot),
                                   slotName(r, eff.ch[2].slot));
    drawFrame(img, map, r, title);
    if (layout) *layout = MapPictureLayout{map, QRect(), QString(), QString(), title};
    return img;
}

WriteOutcome saveMapPicture(const QString& path, const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    // A light compression: a map of a million cells encodes in a few tens of milliseconds.
    writer.setCompression(1);
    if (!writer.write(image)) {
        WriteOutcome failed;
        failed.reason = writer.errorString();
        failed.error = path + QStringLiteral(": ") + failed.reason;
        return failed;
    }
    return writeFileSafely(path, bytes);
}

void MapColourBar::draw(QImage& img, const char* sjisName, const MapScale& s) {
    if (img.isNull() || img.depth() != 32) return;
    const bool same = valid_ && size_ == img.size() && std::memcmp(nameField_, sjisName, 32) == 0 &&
                      scale_.table == s.table && scale_.steps == s.steps && scale_.low == s.low &&
                      scale_.range == s.range;
    if (same) return;
    valid_ = true;
    size_ = img.size();
    std::memcpy(nameField_, sjisName, 32);
    nameField_[31] = '\0';
    name_ = fromSjis(nameField_);
    scale_ = s;
    lowText_ = QString::number(s.low);
    highText_ = QString::number(s.top());

    img.fill(Qt::white);
    QPainter p(&img);
    p.setPen(Qt::black);
    QFont f = p.font();
    f.setPixelSize(12);
    f.setBold(true);
    p.setFont(f);
    const int line = QFontMetrics(f).height();
    p.drawText(QRect(2, 0, img.width() - 4, line + 2), Qt::AlignLeft | Qt::AlignVCenter,
               QFontMetrics(f).elidedText(name_, Qt::ElideRight, img.width() - 4));
    // The counts in the largest size up to 12 pixels at which both fit the bar's width.
    f.setBold(false);
    for (int px = 12; px > 7; --px) {
        f.setPixelSize(px);
        const QFontMetrics fm(f);
        if (std::max(fm.horizontalAdvance(highText_), fm.horizontalAdvance(lowText_)) <= img.width() - 4)
            break;
    }
    p.setFont(f);
    p.drawText(QRect(2, line + 2, img.width() - 4, line), Qt::AlignLeft | Qt::AlignVCenter,
               highText_);
    const int barTop = 2 * line + 6;
    const int barBottom = img.height() - line - 6;
    bar_ = QRect(4, barTop, std::min(18, std::max(4, img.width() - 12)), std::max(0, barBottom - barTop));
    p.drawText(QRect(2, barBottom + 4, img.width() - 4, line), Qt::AlignLeft | Qt::AlignVCenter,
               lowText_);
    p.end();
    fillBar(img, bar_, s);
}

}  // namespace qor
