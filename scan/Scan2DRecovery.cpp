// The 2D SCAN page's part in recovering unfinished scans: asks about each journal found and
// reports; the reading and writing are in scan/JournalRecovery.

#include "app/TextCodec.h"
#include "scan/JournalRecovery.h"
#include "scan/RecoverJournalDlg.h"
#include "scan/Scan2DPage.h"

#include <QFile>
#include <QFileInfo>

namespace qor {

void Scan2DPage::ButtonRecoverScanClick() { offerRecovery(false); }

void Scan2DPage::offerRecovery(bool quiet) {
    // The running scan's journal is unfinished by nature, and the maps are the scan's.
    if (st().ScanMode != 0) {
        svc().alerts.beep();
        svc().alerts.message(QStringLiteral("すでに自動測定中なので実行できません"));
        return;
    }
    const QString folder = fromSjis(rec().SaveFolder);
    const std::vector<JournalFound> found = findUnfinishedJournals(folder);
    if (found.empty()) {
        if (!quiet)
            svc().alerts.message(QStringLiteral("No unfinished scan in the save folder %1.")
                                     .arg(folder.isEmpty() ? QStringLiteral(".") : folder));
        return;
    }
    if (!RecoverDlg) RecoverDlg = new RecoverJournalDlg(this);
    for (const JournalFound& j : found) {
        RecoverDlg->setJournalText(describeJournal(j));
        const int answer = svc().dialogs.exec(*RecoverDlg);
        const QString name = QFileInfo(j.path).fileName();
        if (answer == QDialog::Accepted) {
            MapFileWriter writer;
            const Recovery r = recoverJournal(j.path, st().maps, writer);
            if (!r.ok) {
                svc().alerts.beep();
                svc().alerts.message(QStringLiteral("The scan could not be recovered; its journal "
                                                    "stays.\n") +
                                     r.error);
                continue;
            }
            const int files = static_cast<int>(r.written.size());
            const QString text =
                QStringLiteral("Scan recovered from %1: %2 lines in %3 partial map %4")
                    .arg(name)
                    .arg(r.linesDone)
                    .arg(files)
                    .arg(files == 1 ? QStringLiteral("file") : QStringLiteral("files")) +
                (r.scanFile.isEmpty()
                     ? QString()
                     : QStringLiteral(" and the scan file ") + QFileInfo(r.scanFile).fileName());
            svc().alerts.status(text);
            svc().alerts.message(text);
            DrawMap();
        } else if (answer == RecoverJournalDlg::kDelete) {
            if (!svc().dialogs.confirm(QStringLiteral("Delete the scan journal"),
                                       QStringLiteral("Delete %1? The lines it holds are lost.")
                                           .arg(name)))
                continue;
            QFile f(j.path);
            if (!f.remove())
                svc().alerts.message(QStringLiteral("%1: %2").arg(j.path, f.errorString()));
            else
                svc().alerts.status(QStringLiteral("Scan journal deleted: ") + name);
        }
    }
}

}  // namespace qor
