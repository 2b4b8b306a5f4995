#pragma once
// MCA page: spectrum view, MCA control, ROI group, spectrum arithmetic.

#include "app/Page.h"
#include "app/PaintBox.h"

namespace qor {

class McaPage : public Page {
    Q_OBJECT
public:
    McaPage(PageContext ctx, QWidget* parent);

    // Sizes the spectrum area (PaintBox1 and its back buffer SPCImage); the drawing extents
    // follow (PlotWidth = width - 1, PlotHeight = height - 1).
    void setSpectrumArea(QSize size);
    void DrawSpectrum();
    void ShowCurrentRoi();

    PaintBox* PaintBox1 = nullptr;
    QImage SPCImage;
    QWidget* Panel2 = nullptr;
    QWidget* Panel3 = nullptr;
};

}  // namespace qor
