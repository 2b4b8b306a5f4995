#pragma once
// Small helpers that build the window-design controls: each control gets its design name as
// object name, its caption, its hint (tool tip) and its items.

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QToolButton>

namespace qor {

template <class W>
W* named(W* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QLineEdit* makeEdit(QWidget* parent, const char* name, int width = 0);
QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& hint = QString());
// A flat tool-bar button with a short glyph and a hint.
QToolButton* makeSpeedButton(QWidget* parent, const char* name, const QString& glyph,
                             const QString& hint = QString());
QComboBox* makeCombo(QWidget* parent, const char* name, const QStringList& items,
                     bool editable = false);
QCheckBox* makeCheck(QWidget* parent, const char* name, const QString& caption);
QRadioButton* makeRadio(QWidget* parent, const char* name, const QString& caption);
QLabel* makeLabel(QWidget* parent, const QString& text, const char* name = nullptr);
QGroupBox* makeGroup(QWidget* parent, const char* name, const QString& caption);

// The sixteen HEX-SW items "0".."9", "A".."F".
QStringList hexSwItems();

// The right-hand OK / "キャンセル" column of the confirmation dialogs: the dialog's content
// `frame` on the left, the buttons (OK the default) beside it, wired to accept and reject.
void addRightButtons(QDialog* dialog, QWidget* frame, QPushButton*& ok, QPushButton*& cancel);

// Paints a line edit's background (the program colours boxes yellow while something moves or
// measures, white otherwise).
void setBoxColour(QLineEdit* edit, QColor colour);

}  // namespace qor
