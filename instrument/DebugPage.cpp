#include "instrument/DebugPage.h"

namespace qor {

DebugPage::DebugPage(PageContext ctx, QWidget* parent) : Page(ctx, parent) {}

}  // namespace qor
