#include "scan/SetupScanPage.h"

namespace qor {

SetupScanPage::SetupScanPage(PageContext ctx, QWidget* parent) : Page(ctx, parent) {}

}  // namespace qor
