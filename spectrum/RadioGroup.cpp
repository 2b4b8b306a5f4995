#include "spectrum/RadioGroup.h"

#include <QGridLayout>

namespace qor {

RadioGroup::RadioGroup(QWidget* parent, const char* name, const QString& caption,
                       const QStringList& items, int columns)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)) {
    setObjectName(QString::fromLatin1(name));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 2, 6, 2);
    grid->setVerticalSpacing(0);
    if (columns < 1) columns = 1;
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        b->setObjectName(objectName() + QStringLiteral("Item") + QString::number(i));
        group_->addButton(b, i);
        grid->addWidget(b, i / columns, i % columns);
        buttons_.push_back(b);
    }
    connect(group_, &QButtonGroup::idClicked, this, &RadioGroup::itemClicked);
}

int RadioGroup::itemIndex() const { return group_->checkedId(); }

void RadioGroup::setItemIndex(int index) {
    if (index >= 0 && index < count()) {
        buttons_[static_cast<size_t>(index)]->setChecked(true);
        return;
    }
    // No item: an exclusive group cannot uncheck its last button, so lift exclusivity briefly.
    group_->setExclusive(false);
    for (auto* b : buttons_) b->setChecked(false);
    group_->setExclusive(true);
}

QRadioButton* RadioGroup::item(int index) const {
    if (index < 0 || index >= count()) return nullptr;
    return buttons_[static_cast<size_t>(index)];
}

}  // namespace qor
