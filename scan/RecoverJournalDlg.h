#pragma once
// The question about one unfinished scan journal: recover it (write its partial map files and
// show its maps), keep it for later, or delete it. Shows what the journal holds; the work is in
// scan/JournalRecovery.

#include <QDialog>

class QLabel;
class QPushButton;

namespace qor {

class RecoverJournalDlg : public QDialog {
    Q_OBJECT
public:
    // exec() results: Accepted recovers, Rejected keeps the journal, kDelete deletes it.
    static constexpr int kDelete = 2;

    explicit RecoverJournalDlg(QWidget* parent);
    void setJournalText(const QString& text);

    QLabel* LabelJournal = nullptr;
    QPushButton* ButtonRecover = nullptr;
    QPushButton* ButtonKeep = nullptr;
    QPushButton* ButtonDelete = nullptr;
};

}  // namespace qor
