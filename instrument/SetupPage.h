#pragma once
// SETUP page: module table and motor axis parameters.

#include "app/Page.h"

namespace qor {

class SetupPage : public Page {
    Q_OBJECT
public:
    SetupPage(PageContext ctx, QWidget* parent);
};

}  // namespace qor
