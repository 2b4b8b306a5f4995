#include "spectrum/McaPage.h"

namespace qor {

McaPage::McaPage(PageContext ctx, QWidget* parent) : Page(ctx, parent) {}

void McaPage::setSpectrumArea(QSize size) {
    (void)size;
}

void McaPage::DrawSpectrum() {}

void McaPage::ShowCurrentRoi() {}

}  // namespace qor
