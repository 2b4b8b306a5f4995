#pragma once
// A captioned group of radio buttons with one item index, as a radio group of the window design:
// the operator's click on an item selects it and emits `itemClicked` with its index; selecting an
// item from code emits nothing.

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QStringList>
#include <vector>

namespace qor {

class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    // Items in one row (`columns` = item count) or one column (`columns` = 1).
    RadioGroup(QWidget* parent, const char* name, const QString& caption, const QStringList& items,
               int columns);

    int itemIndex() const;              // -1 when no item is selected
    void setItemIndex(int index);       // out of range: no item selected
    int count() const { return static_cast<int>(buttons_.size()); }
    QRadioButton* item(int index) const;

signals:
    void itemClicked(int index);

private:
    QButtonGroup* group_ = nullptr;
    std::vector<QRadioButton*> buttons_;
};

}  // namespace qor
