#include "app/Widgets.h"

#include <QHBoxLayout>
#include <QPalette>
#include <QVBoxLayout>

namespace qor {

QLineEdit* makeEdit(QWidget* parent, const char* name, int width) {
    auto* e = named(new QLineEdit(parent), name);
    if (width > 0) e->setFixedWidth(width);
    return e;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& hint) {
    auto* b = named(new QPushButton(caption, parent), name);
    if (!hint.isEmpty()) b->setToolTip(hint);
    b->setAutoDefault(false);
    return b;
}

QToolButton* makeSpeedButton(QWidget* parent, const char* name, const QString& glyph,
                             const QString& hint) {
    auto* b = named(new QToolButton(parent), name);
    b->setText(glyph);
    if (!hint.isEmpty()) b->setToolTip(hint);
    b->setAutoRaise(false);
    b->setMinimumSize(26, 24);
    return b;
}

QComboBox* makeCombo(QWidget* parent, const char* name, const QStringList& items, bool editable) {
    auto* c = named(new QComboBox(parent), name);
    c->addItems(items);
    c->setEditable(editable);
    return c;
}

QCheckBox* makeCheck(QWidget* parent, const char* name, const QString& caption) {
    return named(new QCheckBox(caption, parent), name);
}

QRadioButton* makeRadio(QWidget* parent, const char* name, const QString& caption) {
    return named(new QRadioButton(caption, parent), name);
}

QLabel* makeLabel(QWidget* parent, const QString& text, const char* name) {
    auto* l = new QLabel(text, parent);
    if (name) l->setObjectName(QString::fromLatin1(name));
    return l;
}

QGroupBox* makeGroup(QWidget* parent, const char* name, const QString& caption) {
    return named(new QGroupBox(caption, parent), name);
}

QStringList hexSwItems() {
    return {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "B", "C", "D", "E", "F"};
}

void addRightButtons(QDialog* dialog, QWidget* frame, QPushButton*& ok, QPushButton*& cancel) {
    ok = makeButton(dialog, "OKBtn", QStringLiteral("OK"));
    cancel = makeButton(dialog, "CancelBtn", QStringLiteral("キャンセル"));
    ok->setDefault(true);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    auto* row = new QHBoxLayout(dialog);
    row->addWidget(frame, 1);
    row->addLayout(buttons);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
}

void setBoxColour(QLineEdit* edit, QColor colour) {
    QPalette p = edit->palette();
    p.setColor(QPalette::Base, colour);
    edit->setPalette(p);
}

}  // namespace qor
