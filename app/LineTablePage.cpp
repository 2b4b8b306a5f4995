#include "app/LineTablePage.h"

#include <QLabel>
#include <QVBoxLayout>

namespace qor {

LineTablePage::LineTablePage(PageContext ctx, QWidget* parent, const QString& title)
    : Page(ctx, parent) {
    auto* box = new QVBoxLayout(this);
    auto* note = new QLabel(title + QStringLiteral("\n\n(no line table loaded)"), this);
    note->setAlignment(Qt::AlignCenter);
    note->setStyleSheet(QStringLiteral("color: #606060;"));
    box->addWidget(note);
}

}  // namespace qor
