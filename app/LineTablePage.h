#pragma once
// The two line-table pages ("γ table", "X table"). The program holds no line tables; the pages
// carry only a note saying so.

#include "app/Page.h"

namespace qor {

class LineTablePage : public Page {
    Q_OBJECT
public:
    LineTablePage(PageContext ctx, QWidget* parent, const QString& title);
};

}  // namespace qor
