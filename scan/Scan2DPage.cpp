#include "scan/Scan2DPage.h"

namespace qor {

Scan2DPage::Scan2DPage(PageContext ctx, QWidget* parent) : Page(ctx, parent) {}

void Scan2DPage::setMapAreas(QRect elementMap, QRect map2D) {
    (void)elementMap;
    (void)map2D;
}

void Scan2DPage::DrawMap() {}

}  // namespace qor
