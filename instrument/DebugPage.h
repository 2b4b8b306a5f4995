#pragma once
// Debug page: diagnostics of the non-stop 2D hardware.

#include "app/Page.h"

namespace qor {

class DebugPage : public Page {
    Q_OBJECT
public:
    DebugPage(PageContext ctx, QWidget* parent);
};

}  // namespace qor
