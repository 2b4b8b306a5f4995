#include "instrument/SetupPage.h"

namespace qor {

SetupPage::SetupPage(PageContext ctx, QWidget* parent) : Page(ctx, parent) {}

}  // namespace qor
