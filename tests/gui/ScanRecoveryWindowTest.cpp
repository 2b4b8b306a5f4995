// Scans that did not end, in the running program against the simulator: a scan killed in
// mid-pass is offered at the next start and recovered into partial map files equal to an
// undisturbed scan's lines; a declined journal stays until deleted from the dialog; a pass whose
// map files fail stays in the journal and is recovered from the 2D SCAN page.

#include "app/TextCodec.h"
#include "scan/RecoverJournalDlg.h"
#include "scan/Scan2DPage.h"
#include "scan/ScanJournal.h"
#include "scan/SetupScanPage.h"
#include "support/Harness.h"
#include "support/ScanSetup.h"
#include "support/ReadOnlyPath.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;

namespace {

constexpr int kSide = 16;

Scan2DPage& page(Harness& h) { return *h.form().NonStop2Dcollect; }

// A 16 x 16 one-way scan of the specimen tile, slots 1 (Fe) and 2 (Cu), files "run".
void configure(Harness& h) { configureFeCuScan(h, kSide); }

void startScan(Harness& h) {
    h.dialogs.expect({QStringLiteral("exec"), QString(), QDialog::Accepted, nullptr});
    page(h).Button65->click();
    ASSERT_EQ(2, h.st().ScanMode);
}

// Runs the timers until the scan stands in the stroke of `row` with some pixels in.
void runIntoRow(Harness& h, int row) {
    h.runTimers(
        [&] {
            const ScanRun& r = page(h).sequencer().run();
            return h.st().ScanMode == 2 && !(r.ScanY == row && r.ScanState == 40 && r.ScanX > 3);
        },
        5000);
    ASSERT_EQ(2, h.st().ScanMode);
}

// Slot 0 and 1 cells, column-major, of a finished undisturbed scan.
std::vector<int32_t> cleanScan() {
    Harness h;
    configure(h);
    startScan(h);
    h.runTimers([&] { return h.st().ScanMode == 2; }, 5000);
    std::vector<int32_t> cells;
    for (int s = 0; s < 2; ++s)
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) cells.push_back(h.st().maps.at(s, x, y));
    return cells;
}

std::vector<std::vector<int>> fileCells(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    std::vector<std::vector<int>> rows;
    for (const QByteArray& row : f.readAll().split('\r')) {
        if (row.isEmpty()) continue;
        rows.emplace_back();
        for (const QByteArray& v : row.split(',')) rows.back().push_back(v.trimmed().toInt());
    }
    return rows;
}

// A harness started in `dir` whose start-up recovery question gets `answer`; `shown` receives
// the dialog's text.
std::unique_ptr<Harness> restart(const QString& dir, int answer, QString* shown) {
    return std::make_unique<Harness>(
        [answer, shown](Harness& h) {
            h.dialogs.expect({QStringLiteral("exec"), QString(), answer, [shown](QDialog& d) {
                                  if (shown)
                                      *shown = d.findChild<QLabel*>(QStringLiteral("LabelJournal"))
                                                   ->text();
                              }});
            return std::unique_ptr<Kx10>();
        },
        dir);
}

QStringList files(const QString& dir, const QString& pattern) {
    return QDir(dir).entryList({pattern}, QDir::Files, QDir::Name);
}

}  // namespace

TEST(ScanRecoveryWindow, AKilledScanIsRecoveredAtTheNextStartAsAnUndisturbedScanMeasuredIt) {
    const std::vector<int32_t> clean = cleanScan();
    QTemporaryDir dir;
    {
        Harness h(dir.path());
        configure(h);
        startScan(h);
        runIntoRow(h, 5);
        // Killed: the window goes with no stop, no close, no file written at the pass end.
    }
    EXPECT_TRUE(files(dir.path(), QStringLiteral("*.CSV")).isEmpty());

    QString shown;
    auto h = restart(dir.path(), QDialog::Accepted, &shown);
    EXPECT_TRUE(h->dialogs.script.empty()) << "the start offered the journal";
    EXPECT_EQ(QStringList{QStringLiteral("RecoverJournalDlg")}, h->dialogs.asked);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Scan \"run\" (run-20261209-10"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("5 lines done"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("(pass 1, Z plane 1): 5 of 16 lines"))) << shown.toStdString();

    const QStringList partial = files(dir.path(), QStringLiteral("*.CSV"));
    ASSERT_EQ(2, partial.size());
    EXPECT_TRUE(partial[0].endsWith(QStringLiteral("stepZ0001Cu-partial.CSV"))) << partial[0].toStdString();
    EXPECT_TRUE(partial[1].endsWith(QStringLiteral("stepZ0001Fe-partial.CSV"))) << partial[1].toStdString();
    const QStringList scanFiles = files(dir.path(), QStringLiteral("*.h5"));
    ASSERT_EQ(1, scanFiles.size());
    EXPECT_TRUE(scanFiles[0].endsWith(QStringLiteral("-partial.h5"))) << scanFiles[0].toStdString();
    EXPECT_EQ(QStringLiteral("Scan recovered from %1: 5 lines in 2 partial map files and the scan "
                             "file %2")
                  .arg(files(dir.path(), QStringLiteral("*.scanjournal")).value(0), scanFiles[0]),
              h->alerts.messages.value(0));
    for (int slot = 0; slot < 2; ++slot) {
        const auto rows = fileCells(QDir(dir.path()).filePath(partial[1 - slot]));
        ASSERT_EQ(static_cast<size_t>(kSide), rows.size());
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) {
                const int32_t want = y < 5 ? clean[(slot * kSide + y) * kSide + x] : 0;
                ASSERT_EQ(want, rows[y][x]) << "slot " << slot << " column " << x << " row " << y;
                ASSERT_EQ(want, h->st().maps.at(slot, x, y)) << "the maps show the recovered lines";
            }
    }
    h.reset();
    // Recovered once, not offered again (an unexpected dialog would fail here).
    Harness again(dir.path());
    EXPECT_TRUE(again.dialogs.asked.isEmpty());
}

TEST(ScanRecoveryWindow, ADeclinedJournalStaysUntilDeletedFromTheDialog) {
    QTemporaryDir dir;
    {
        Harness h(dir.path());
        configure(h);
        startScan(h);
        runIntoRow(h, 2);
    }
    auto h = restart(dir.path(), QDialog::Rejected, nullptr);
    EXPECT_TRUE(h->dialogs.script.empty());
    EXPECT_TRUE(files(dir.path(), QStringLiteral("*.CSV")).isEmpty());
    ASSERT_EQ(1, files(dir.path(), QStringLiteral("*.scanjournal")).size());

    // The 2D SCAN page's button offers it again; delete, confirmed.
    h->dialogs.expect({QStringLiteral("exec"), QString(), RecoverJournalDlg::kDelete, nullptr});
    h->dialogs.expect({QStringLiteral("confirm"), QString(), 1, nullptr});
    page(*h).ButtonRecoverScan->click();
    EXPECT_TRUE(h->dialogs.script.empty());
    EXPECT_TRUE(files(dir.path(), QStringLiteral("*.scanjournal")).isEmpty());
    h->alerts.clear();
    page(*h).ButtonRecoverScan->click();
    EXPECT_EQ(QStringList{QStringLiteral("No unfinished scan in the save folder %1/.").arg(dir.path())},
              h->alerts.messages);
}

TEST(ScanRecoveryWindow, AFailedMapFileIsNamedAndItsPassStaysInTheJournal) {
    Harness h;
    configure(h);
    startScan(h);
    const QString journal = page(h).sequencer().journal().path();
    {
        ReadOnlyPath locked(h.dir());
        if (!locked.active()) GTEST_SKIP() << "permissions do not bite here";
        h.runTimers([&] { return h.st().ScanMode == 2; }, 5000);
    }
    ASSERT_EQ(1, h.alerts.messages.size());
    const QString m = h.alerts.messages[0];
    const QString fe = QDir(h.dir()).filePath(
        QStringLiteral("run%1stepZ0001Fe.CSV")
            .arg(QString::fromLatin1(mapTimeText(page(h).sequencer().run().lineTime).c_str())));
    EXPECT_TRUE(m.startsWith(QStringLiteral("測定データファイル Open ERROR\n") + fe + ": "))
        << m.toStdString();
    EXPECT_TRUE(m.endsWith(QStringLiteral("\nThe pass stays in the scan journal ") + journal))
        << m.toStdString();
    EXPECT_EQ(JournalEnd::Open, readJournal(journal).end);
    EXPECT_TRUE(files(h.dir(), QStringLiteral("*.CSV")).isEmpty());

    // Recovered from the page: the whole pass as measured, marked partial.
    std::vector<int32_t> measured;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) measured.push_back(h.st().maps.at(0, x, y));
    h.alerts.clear();
    h.dialogs.expect({QStringLiteral("exec"), QString(), QDialog::Accepted, nullptr});
    page(h).ButtonRecoverScan->click();
    EXPECT_EQ(QStringList{QStringLiteral("Scan recovered from %1: 16 lines in 2 partial map files "
                                         "and the scan file %2")
                              .arg(QFileInfo(journal).fileName(),
                                   QFileInfo(fe).fileName().replace(".CSV", "-partial.h5")
                                       .remove(QStringLiteral("stepZ0001Fe")))},
              h.alerts.messages);
    const auto rows = fileCells(QString(fe).replace(".CSV", "-partial.CSV"));
    ASSERT_EQ(static_cast<size_t>(kSide), rows.size());
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) ASSERT_EQ(measured[y * kSide + x], rows[y][x]) << x << "," << y;
    EXPECT_EQ(JournalEnd::Recovered, readJournal(journal).end);
}
