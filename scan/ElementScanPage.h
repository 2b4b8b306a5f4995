#pragma once
// Element scan page (元素SCAN).

#include "app/Page.h"

namespace qor {

class ElementScanPage : public Page {
    Q_OBJECT
public:
    ElementScanPage(PageContext ctx, QWidget* parent);
};

}  // namespace qor
