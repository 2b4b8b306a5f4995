#include "app/RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace qor {

RadioGroup::RadioGroup(QWidget* parent, const char* name, const QString& caption,
                       const QStringList& items, int columns)
    : QGroupBox(caption, parent) {
    setObjectName(QString::fromLatin1(name));
    group_ = new QButtonGroup(this);
    group_->setExclusive(true);
    if (columns < 1) columns = 1;
    const int n = static_cast<int>(items.size());
    const int rows = (n + columns - 1) / columns;
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(4);
    for (int i = 0; i < n; ++i) {
        auto* b = new QRadioButton(items[i], this);
        b->setObjectName(objectName() + QStringLiteral("Item") + QString::number(i));
        group_->addButton(b, i);
        buttons_.push_back(b);
        grid->addWidget(b, i % rows, i / rows);
    }
    grid->setRowStretch(rows, 1);
    connect(group_, &QButtonGroup::idClicked, this, &RadioGroup::itemClicked);
}

QString RadioGroup::item(int i) const {
    return (i >= 0 && i < count()) ? buttons_[static_cast<size_t>(i)]->text() : QString();
}

QRadioButton* RadioGroup::button(int i) const {
    return (i >= 0 && i < count()) ? buttons_[static_cast<size_t>(i)] : nullptr;
}

int RadioGroup::itemIndex() const { return group_->checkedId(); }

void RadioGroup::setItemIndex(int i) {
    if (i >= 0 && i < count()) {
        buttons_[static_cast<size_t>(i)]->setChecked(true);
        return;
    }
    // An exclusive group never unchecks its last button by itself.
    group_->setExclusive(false);
    for (QRadioButton* b : buttons_) b->setChecked(false);
    group_->setExclusive(true);
}

}  // namespace qor
