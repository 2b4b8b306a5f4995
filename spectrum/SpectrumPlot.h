#pragma once
// Painting of the spectrum view into its off-screen image, free of widgets.
//
// Everything is written straight into the pixels of the image (one-pixel lines, dots and opaque
// text cells) so that a redraw allocates nothing: texts come from a glyph atlas of the printable
// ASCII characters rendered once in the drawing font.

#include "app/InfoRecord.h"
#include "spectrum/RoiTable.h"
#include "spectrum/SpectrumState.h"

#include <QFont>
#include <QImage>
#include <QRgb>

namespace qor {

// Printable ASCII characters of one font, black on white, drawn as opaque cells (the text's own
// white background covers what lies under it).
class GlyphAtlas {
public:
    explicit GlyphAtlas(const QFont& font);
    int height() const { return height_; }
    int width(const char* text) const;
    // Draws `text` with its top-left corner at (x, y), clipped to the image; returns the x after
    // the last character. Characters outside printable ASCII are left out; see drawText.
    int drawAscii(QImage& img, int x, int y, const char* text) const;
    // Any text: printable ASCII from the atlas, anything else through the font.
    int drawText(QImage& img, int x, int y, const QString& text) const;

private:
    static constexpr int kFirst = 32;
    static constexpr int kCount = 95;
    QFont font_;
    QImage atlas_;
    int x_[kCount] = {};
    int w_[kCount] = {};
    int height_ = 0;
};

// Colours of the view.
constexpr QRgb kViewBackground = qRgb(255, 255, 255);
constexpr QRgb kViewInk = qRgb(0, 0, 0);
constexpr QRgb kViewGrid = qRgb(128, 128, 0);
constexpr QRgb kViewCursor = qRgb(255, 0, 0);

// Left columns of the five nearest-peak readout texts (channel, FWHM, net, background, error):
// each at its place in the view's layout, x = 20, 140, 260, 400, 530, or, where the text before
// it reaches that far in the drawing font, a gap of kPeakReadoutGap pixels after that text, so
// the texts never overlap.
constexpr int kPeakReadoutGap = 8;
void peakReadoutColumns(const GlyphAtlas& font, const char* const texts[5], int xs[5]);

class SpectrumPlot {
public:
    // `text` may be null: the plot is then drawn without its texts.
    explicit SpectrumPlot(const GlyphAtlas* text) : text_(text) {}

    // Paints the whole view of the viewed slot into `img` (RGB32, PlotWidth + 1 by
    // PlotHeight + 1 pixels): background, grid and baseline, scale, window and cursor readouts,
    // live and real time, the WORK overlay, the spectrum, the ROI shading, the cursor and the
    // nearest-peak readout, each over the one before.
    void draw(QImage& img, const SpectrumState& sp, const InfoRecord& rec) const;

    // GRS and NET of the viewed slot's current ROI; false when that ROI is not defined.
    static bool currentRoiCounts(const SpectrumState& sp, const InfoRecord& rec, RoiCounts& out);

private:
    const GlyphAtlas* text_;
};

}  // namespace qor
