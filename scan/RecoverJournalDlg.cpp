#include "scan/RecoverJournalDlg.h"

#include "app/Widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qor {

RecoverJournalDlg::RecoverJournalDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("RecoverJournalDlg"));
    setWindowTitle(QStringLiteral("Unfinished scan"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    LabelJournal = makeLabel(this, QString(), "LabelJournal");
    LabelJournal->setWordWrap(true);
    LabelJournal->setMinimumWidth(420);
    layout->addWidget(LabelJournal);
    layout->addWidget(makeLabel(
        this, QStringLiteral("Recover writes the map files of the lines measured (named "
                             "\"partial\") and shows the maps on the 2D SCAN page.")));
    auto* buttons = new QHBoxLayout;
    ButtonRecover = makeButton(this, "ButtonRecover", QStringLiteral("Recover"));
    ButtonKeep = makeButton(this, "ButtonKeep", QStringLiteral("Keep for later"));
    ButtonDelete = makeButton(this, "ButtonDelete", QStringLiteral("Delete the journal"));
    ButtonRecover->setDefault(true);
    buttons->addWidget(ButtonRecover);
    buttons->addWidget(ButtonKeep);
    buttons->addStretch(1);
    buttons->addWidget(ButtonDelete);
    layout->addLayout(buttons);
    connect(ButtonRecover, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonKeep, &QPushButton::clicked, this, &QDialog::reject);
    connect(ButtonDelete, &QPushButton::clicked, this, [this] { done(kDelete); });
}

void RecoverJournalDlg::setJournalText(const QString& text) { LabelJournal->setText(text); }

}  // namespace qor
