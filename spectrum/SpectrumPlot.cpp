#include "spectrum/SpectrumPlot.h"

#include "app/TextCodec.h"
#include "spectrum/SpectrumView.h"
#include "spectrum/ViewReadouts.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace qor {

// ---------------------------------------------------------------------------------------------
// Glyph atlas

GlyphAtlas::GlyphAtlas(const QFont& font) : font_(font) {
    const QFontMetrics fm(font_);
    height_ = std::max(1, fm.height());
    int total = 0;
    for (int i = 0; i < kCount; ++i) {
        const QChar ch(static_cast<char16_t>(kFirst + i));
        x_[i] = total;
        w_[i] = std::max(1, fm.horizontalAdvance(ch));
        total += w_[i];
    }
    atlas_ = QImage(std::max(1, total), height_, QImage::Format_RGB32);
    atlas_.fill(kViewBackground);
    QPainter p(&atlas_);
    p.setFont(font_);
    p.setPen(QColor(kViewInk));
    for (int i = 0; i < kCount; ++i)
        p.drawText(x_[i], fm.ascent(), QString(QChar(static_cast<char16_t>(kFirst + i))));
}

int GlyphAtlas::width(const char* text) const {
    int w = 0;
    for (const char* p = text; *p; ++p) {
        const int i = static_cast<unsigned char>(*p) - kFirst;
        if (i >= 0 && i < kCount) w += w_[i];
    }
    return w;
}

int GlyphAtlas::drawAscii(QImage& img, int x, int y, const char* text) const {
    const int iw = img.width(), ih = img.height();
    const qsizetype bpl = img.bytesPerLine();
    uchar* bits = img.bits();
    const uchar* src = atlas_.constBits();
    const qsizetype sbpl = atlas_.bytesPerLine();
    for (const char* p = text; *p; ++p) {
        const int i = static_cast<unsigned char>(*p) - kFirst;
        if (i < 0 || i >= kCount) continue;
        const int x0 = std::max(x, 0), x1 = std::min(x + w_[i], iw);
        if (x0 < x1) {
            for (int row = 0; row < height_; ++row) {
                const int yy = y + row;
                if (yy < 0 || yy >= ih) continue;
                auto* d = reinterpret_cast<QRgb*>(bits + yy * bpl);
                const auto* s = reinterpret_cast<const QRgb*>(src + row * sbpl) + x_[i] - x;
                std::copy(s + x0, s + x1, d + x0);
            }
        }
        x += w_[i];
    }
    return x;
}

int GlyphAtlas::drawText(QImage& img, int x, int y, const QString& text) const {
    bool ascii = true;
    for (const QChar c : text)
        if (c.unicode() < kFirst || c.unicode() >= kFirst + kCount) { ascii = false; break; }
    if (ascii) return drawAscii(img, x, y, text.toLatin1().constData());
    const QFontMetrics fm(font_);
    const int w = fm.horizontalAdvance(text);
    QPainter p(&img);
    p.fillRect(x, y, w, height_, QColor(kViewBackground));
    p.setFont(font_);
    p.setPen(QColor(kViewInk));
    p.drawText(x, y + fm.ascent(), text);
    return x + w;
}

// ---------------------------------------------------------------------------------------------
// Pixels

namespace {

class Raster {
public:
    explicit Raster(QImage& img)
        : bits_(img.bits()), bpl_(img.bytesPerLine()), w_(img.width()), h_(img.height()) {}

    void set(int x, int y, QRgb c) {
        if (static_cast<unsigned>(x) < static_cast<unsigned>(w_) &&
            static_cast<unsigned>(y) < static_cast<unsigned>(h_))
            reinterpret_cast<QRgb*>(bits_ + y * bpl_)[x] = c;
    }

    void fill(QRgb c) {
        for (int y = 0; y < h_; ++y) {
            auto* row = reinterpret_cast<QRgb*>(bits_ + y * bpl_);
            std::fill(row, row + w_, c);
        }
    }

    void hline(int x0, int x1, int y, QRgb c, int step = 1) {
        if (y < 0 || y >= h_) return;
        if (x0 > x1) std::swap(x0, x1);
        for (int x = x0; x <= x1; x += step) set(x, y, c);
    }

    void vline(int x, int y0, int y1, QRgb c) {
        if (x < 0 || x >= w_) return;
        if (y0 > y1) std::swap(y0, y1);
        y0 = std::max(y0, 0);
        y1 = std::min(y1, h_ - 1);
        for (int y = y0; y <= y1; ++y) reinterpret_cast<QRgb*>(bits_ + y * bpl_)[x] = c;
    }

    // A one-pixel line including both ends.
    void line(int x0, int y0, int x1, int y1, QRgb c) {
        if (x0 == x1) { vline(x0, y0, y1, c); return; }
        const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
        const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
        int err = dx + dy;
        for (;;) {
            set(x0, y0, c);
            if (x0 == x1 && y0 == y1) break;
            const int e2 = 2 * err;
            if (e2 >= dy) { err += dy; x0 += sx; }
            if (e2 <= dx) { err += dx; y0 += sy; }
        }
    }

private:
    uchar* bits_;
    qsizetype bpl_;
    int w_, h_;
};

// The view's geometry of one draw.
struct Frame {
    int W = 0, H = 0, B = 0;
    int32_t F = 0;
    ChannelWindow win;
    int xOf(int64_t i) const { return static_cast<int>(i * W / win.span); }
};

// One spectrum curve (overlay or viewed slot) in line or dot mode.
void drawCurve(Raster& r, const Frame& f, const int32_t* data, bool raiseNegative,
               bool lineMode, QRgb colour) {
    int px = 1, py = f.B;
    const bool bigDots = f.win.span < 1024;
    for (int32_t i = 0; i < f.win.span; ++i) {
        int32_t v = data[f.win.start + i];
        if (raiseNegative && v < 0) v = 0;
        const int x = f.xOf(i);
        const int y = f.B - pixelHeight(v, f.F, f.B);
        if (lineMode) {
            r.line(px, py, x, y, colour);
            px = x;
            py = y;
        } else {
            r.set(x, y, colour);
            if (bigDots) {
                r.set(x, y + 1, colour);
                r.set(x + 1, y, colour);
                r.set(x + 1, y + 1, colour);
            }
        }
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The view

void SpectrumPlot::draw(QImage& img, const SpectrumState& sp, const InfoRecord& rec) const {
    if (img.isNull() || img.format() != QImage::Format_RGB32) return;
    Raster r(img);
    const int s = clampSlot(sp.ViewSlot);
    const int32_t* data = sp.slot[s];
    Frame f;
    f.W = sp.PlotWidth;
    f.H = sp.PlotHeight;
    f.B = f.H - 30;
    f.F = sp.FullScale;
    f.win = safeWindow(sp);
    const int W = f.W, H = f.H, B = f.B;

    // 1. White background in a black frame.
    r.fill(kViewBackground);
    r.hline(0, img.width() - 1, 0, kViewInk);
    r.hline(0, img.width() - 1, img.height() - 1, kViewInk);
    r.vline(0, 0, img.height() - 1, kViewInk);
    r.vline(img.width() - 1, 0, img.height() - 1, kViewInk);

    // 2. Dotted grid (five parts linear, six decades logarithmic), then the solid baseline.
    const int parts = f.F != 0 ? 5 : 6;
    for (int k = 1; k < parts; ++k) r.hline(1, W, B * k / parts, kViewGrid, 2);
    r.hline(1, W, B, kViewGrid);

    // 3-6. Scale, window limits, cursor line, live and real time.
    ViewReadouts texts;
    if (text_) {
        formatViewReadouts(sp, rec, texts);
        for (const ViewReadout* t : {&texts.scale, &texts.start, &texts.end})
            text_->drawAscii(img, t->x, t->y, t->text);
        int x = text_->drawAscii(img, texts.cursor.x, texts.cursor.y, texts.cursor.text);
        if (!texts.cursorUnitAscii) {
            x = text_->drawText(img, x, texts.cursor.y, fromSjis(rec.EnergyUnit[s]));
            text_->drawAscii(img, x, texts.cursor.y, "]");
        }
        text_->drawAscii(img, texts.live.x, texts.live.y, texts.live.text);
        text_->drawAscii(img, texts.real.x, texts.real.y, texts.real.text);
        for (const ViewReadout* t : {&texts.liveSeconds, &texts.realSeconds, &texts.deadTime}) {
            const int x = t->alignRight ? t->x - text_->width(t->text) : t->x;
            text_->drawAscii(img, x, t->y, t->text);
        }
    }

    const bool lineMode = rec.ViewLineMode == 1;
    // 7. WORK overlay (negative counts drawn as they are).
    if (sp.OverlapOn == 1) drawCurve(r, f, sp.slot[kSlotWork], false, lineMode, sp.OverlapColour);
    // 8. The viewed spectrum.
    drawCurve(r, f, data, true, lineMode, kViewInk);

    // 9. ROI shading: one vertical line per ROI channel, in the ROI's colour. Only channels whose
    // column can fall inside the image are visited.
    const int64_t kLo = std::max<int64_t>(0, int64_t(f.win.start) - f.win.span);
    const int64_t kHi = std::min<int64_t>(kSlotChannels - 1, int64_t(f.win.start) + f.win.span);
    for (int roi = 0; roi < kRoiCount; ++roi) {
        const int32_t L = rec.RoiStart[s][roi], R = rec.RoiEnd[s][roi];
        if (R == 0) continue;
        const QRgb colour = sp.RoiColour[roi];
        const int64_t k0 = std::max<int64_t>(L, kLo), k1 = std::min<int64_t>(R, kHi);
        for (int64_t k = k0; k <= k1; ++k) {
            const int x = f.xOf(k - f.win.start);
            int32_t v = data[k];
            if (v < 0) v = 0;
            r.vline(x, B, B - pixelHeight(v, f.F, B), colour);
        }
    }

    // 10. Cursor.
    const double xc = std::trunc(double(sp.CursorChannel[s] - f.win.start) * W / f.win.span);
    if (xc >= 0 && xc < img.width()) r.vline(static_cast<int>(xc), 5, H - 35, kViewCursor);

    // 11. Nearest-peak readout, each text moved right where the one before would reach it.
    if (text_ && texts.peakShown) {
        const char* const peak[5] = {texts.peak[0].text, texts.peak[1].text, texts.peak[2].text,
                                     texts.peak[3].text, texts.peak[4].text};
        int xs[5];
        peakReadoutColumns(*text_, peak, xs);
        for (int i = 0; i < 5; ++i) text_->drawAscii(img, xs[i], texts.peak[i].y, peak[i]);
    }
}

void peakReadoutColumns(const GlyphAtlas& font, const char* const texts[5], int xs[5]) {
    int next = 0;
    for (int i = 0; i < 5; ++i) {
        xs[i] = std::max(kPeakReadoutColumns[i], next);
        next = xs[i] + font.width(texts[i]) + kPeakReadoutGap;
    }
}

bool SpectrumPlot::currentRoiCounts(const SpectrumState& sp, const InfoRecord& rec,
                                    RoiCounts& out) {
    const int s = clampSlot(sp.ViewSlot);
    const int r = roiIndex(sp.CurrentRoi[s]);
    if (rec.RoiEnd[s][r] == 0) return false;
    out = roiNetGross(sp.slot[s], rec.RoiStart[s][r], rec.RoiEnd[s][r], rec.SlotViewChannels[s]);
    return true;
}

}  // namespace qor
