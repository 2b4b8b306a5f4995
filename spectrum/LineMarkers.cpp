#include "spectrum/LineMarkers.h"

#include "analysis/EnergyScale.h"
#include "spectrum/SpectrumView.h"

#include <algorithm>
#include <cmath>

namespace qor {

namespace {

// Copies the non-white pixels of `src` with their top-left corner at (x, y), clipped.
void blit(QImage& img, const QImage& src, int x, int y) {
    if (src.isNull() || src.format() != QImage::Format_RGB32) return;
    const QRgb white = qRgb(255, 255, 255);
    for (int j = 0; j < src.height(); ++j) {
        const int ty = y + j;
        if (ty < 0 || ty >= img.height()) continue;
        const auto* s = reinterpret_cast<const QRgb*>(src.constScanLine(j));
        auto* d = reinterpret_cast<QRgb*>(img.scanLine(ty));
        for (int i = 0; i < src.width(); ++i) {
            const int tx = x + i;
            if (tx < 0 || tx >= img.width() || (s[i] & 0xffffff) == (white & 0xffffff)) continue;
            d[tx] = s[i];
        }
    }
}

}  // namespace

void drawLineMarkers(QImage& img, const SpectrumState& sp, const InfoRecord& rec,
                     const LineState& lines) {
    if (lines.markers.empty() || img.isNull() || img.format() != QImage::Format_RGB32) return;
    const int s = clampSlot(sp.ViewSlot);
    const EnergyScale scale = EnergyScale::ofSlot(rec, s);
    const int W = sp.PlotWidth, H = sp.PlotHeight, B = H - 30;
    if (!scale.valid()) {
        blit(img, lines.needCalibration, 50, 40);
        return;
    }
    const ChannelWindow win = safeWindow(sp);
    const int tallest = std::max(8, B - 60);
    for (const MarkerLine& m : lines.markers) {
        double ch = 0.0;
        if (!scale.channelOf(m.energyKeV, ch)) continue;
        const int64_t k = std::llround(ch);
        if (k < win.start || k > win.end) continue;
        const int x = static_cast<int>((k - win.start) * W / win.span);
        if (x < 0 || x >= img.width()) continue;
        const int h = std::max(8, static_cast<int>(tallest * std::clamp(m.relative, 0.0, 1.0)));
        const int top = std::max(0, B - h);
        for (int y = top; y <= std::min(B, img.height() - 1); y += 1)
            if ((y - top) % 4 != 3) reinterpret_cast<QRgb*>(img.scanLine(y))[x] = kMarkerColour;
        if (!m.label.isNull()) blit(img, m.label, x + 2, std::max(0, top - m.label.height()));
    }
}

}  // namespace qor
