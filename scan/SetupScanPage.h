#pragma once
// Setup SCAN page: map ROIs, non-stop X parameters, origin adjustment, motors #3-#8.

#include "app/Page.h"

namespace qor {

class SetupScanPage : public Page {
    Q_OBJECT
public:
    SetupScanPage(PageContext ctx, QWidget* parent);
};

}  // namespace qor
