#include "scan/ElementScanPage.h"

namespace qor {

ElementScanPage::ElementScanPage(PageContext ctx, QWidget* parent) : Page(ctx, parent) {}

}  // namespace qor
