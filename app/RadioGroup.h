#pragma once
// A captioned group of radio buttons with one item index, as a radio group of the window design:
// the items run down the columns (column by column, the first columns filled first), the item
// index is -1 while no item is selected, and the operator's click on an item emits `itemClicked`
// with its index (selecting an item from code emits nothing).

#include <QGroupBox>
#include <QStringList>
#include <vector>

class QButtonGroup;
class QRadioButton;

namespace qor {

class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(QWidget* parent, const char* name, const QString& caption, const QStringList& items,
               int columns = 1);

    int count() const { return static_cast<int>(buttons_.size()); }
    QString item(int i) const;
    QRadioButton* button(int i) const;

    // The selected item, or -1 when none is selected.
    int itemIndex() const;
    // Selects item i; an index outside 0..count()-1 leaves no item selected.
    void setItemIndex(int i);

signals:
    void itemClicked(int index);

private:
    QButtonGroup* group_ = nullptr;
    std::vector<QRadioButton*> buttons_;
};

}  // namespace qor
