// Whole mapping scans in the running program against the simulated instrument: configured on the
// Setup SCAN page, started and stopped on the 2D SCAN page, advanced by Timer2 with the manual
// clock; the map arrays, the map files, the scan panel and the release of the map display.

#include "app/FieldText.h"
#include "instrument/SetupPage.h"
#include "scan/Scan2DPage.h"
#include "scan/ScanJournal.h"
#include "scan/ScanProgress.h"
#include "scan/SetupScanPage.h"
#include "scan/TOKRightDlg1.h"
#include "support/Harness.h"
#include "support/ScanSetup.h"
#include "support/ReadOnlyPath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTabWidget>
#include <gtest/gtest.h>
#include <limits>

using namespace qor;
using namespace qor::test;

namespace {

constexpr int kSide = 16;   // pixels per line and lines per plane

Scan2DPage& page(Harness& h) { return *h.form().NonStop2Dcollect; }

// Connects and configures a 16 x 16 scan over the whole specimen tile (6.4 units = 640 pulses):
// 40 pulses per pixel in X and Y, X at 400 pulses/s (0.1 s per pixel), ROI 1 of MCA1 on Fe
// K-alpha and ROI 2 on Cu K-alpha (2048 channels of 10 eV), map slots 1 and 2 enabled as Fe
// and Cu, files into the test's folder with the prefix "run".
void configure(Harness& h, int method) {
    configureFeCuScan(h, kSide, method);
    // Backlash of 20 pulses in X and Y for the back-and-forth method.
    h.form().Setup2DSCAN->Edit153->setText(QStringLiteral("20"));
    h.form().Setup2DSCAN->Edit154->setText(QStringLiteral("20"));
}

void startScan(Harness& h, int answer = QDialog::Accepted) {
    h.dialogs.expect({QStringLiteral("exec"), QString(), answer, nullptr});
    page(h).Button65->click();
    EXPECT_TRUE(h.dialogs.script.empty());
}

// Runs Timer2 at its present period, and Timer1 every 800 ms, until the scan is idle, `until`
// holds, or `maxTicks` ticks have passed. Returns the number of Timer2 ticks.
template <class Until>
int run(Harness& h, Until until, int maxTicks = 5000) {
    return h.runTimers([&] { return h.st().ScanMode == 2 && !until(); }, maxTicks);
}
int runToEnd(Harness& h) {
    return run(h, [] { return false; });
}

QStringList mapFiles(Harness& h) {
    return QDir(h.dir()).entryList({QStringLiteral("*.CSV")}, QDir::Files, QDir::Name);
}

// The name the files of the last pass must carry: prefix, the start of the last line, plane 1.
QString expectedName(Harness& h, const char* element) {
    const LineTime& t = page(h).sequencer().run().lineTime;
    return QString::asprintf("run-%04d%02d%02d-%02d%02d%02dstepZ0001%s.CSV", t.v[0], t.v[1],
                             t.v[2], t.v[3], t.v[4], t.v[5], element);
}

int64_t sum(Harness& h, int slot, int x0, int x1, int y0, int y1) {
    int64_t s = 0;
    for (int x = x0; x <= x1; ++x)
        for (int y = y0; y <= y1; ++y) s += h.st().maps.at(slot, x, y);
    return s;
}

// The file holds the map slot cell for cell: kSide lines of kSide "%8d" fields.
void expectFileHoldsMap(Harness& h, const QString& name, int slot) {
    QFile f(QDir(h.dir()).filePath(name));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
    const QByteArray bytes = f.readAll();
    EXPECT_EQ(kSide * kSide * 9, bytes.size()) << "every count fits its 8 characters";
    const QList<QByteArray> lines = bytes.split('\r');
    ASSERT_EQ(kSide + 1, lines.size());
    EXPECT_TRUE(lines.last().isEmpty()) << "no line feed, nothing after the last line";
    for (int y = 0; y < kSide; ++y) {
        const QList<QByteArray> fields = lines[y].split(',');
        ASSERT_EQ(kSide, fields.size());
        for (int x = 0; x < kSide; ++x) {
            EXPECT_EQ(8, fields[x].size());
            EXPECT_EQ(h.st().maps.at(slot, x, y), fields[x].trimmed().toInt())
                << name.toStdString() << " " << x << "," << y;
        }
    }
}

// The specimen's regions on the 16 x 16 grid of the tile: the Fe disc around column 4, row 11;
// the Cu ring around column 11, row 11 with its empty centre; no Fe in the lower right.
void expectTheSpecimen(Harness& h) {
    const int64_t feDisc = sum(h, 0, 3, 5, 10, 12);
    const int64_t feLowerRight = sum(h, 0, 10, 12, 2, 4);
    EXPECT_GT(feDisc, 1000);
    EXPECT_GT(feDisc, 5 * feLowerRight) << feDisc << " vs " << feLowerRight;
    // Both row parities see the disc (a back-and-forth scan stores its minus lines mirrored).
    EXPECT_GT(sum(h, 0, 3, 5, 10, 10), 5 * sum(h, 0, 10, 12, 10, 10));
    EXPECT_GT(sum(h, 0, 3, 5, 11, 11), 5 * sum(h, 0, 10, 12, 11, 11));
    const int64_t cuRing = sum(h, 1, 9, 9, 10, 12) + sum(h, 1, 13, 13, 10, 12);
    const int64_t cuHole = sum(h, 1, 11, 11, 10, 12);
    EXPECT_GT(cuRing, 4 * cuHole) << cuRing << " vs " << cuHole;
    EXPECT_EQ(0, sum(h, 2, 0, kSide - 1, 0, kSide - 1)) << "a ROI never loaded reads 0";
}

}  // namespace

TEST(MappingScanWindow, OneWayScanWritesTheMapsOfTheEnabledSlots) {
    Harness h;
    configure(h, 0);
    h.rec().ScanXStart = 1.5;   // an old value: the range boxes show the derived start, 0
    h.sounds.played.clear();
    startScan(h);
    EXPECT_EQ(QStringList{QStringLiteral("OKRightDlg1")}, h.dialogs.asked);
    EXPECT_EQ(QStringList{QStringLiteral("2dscanOK.wav")}, h.sounds.played);
    ASSERT_EQ(2, h.st().ScanMode);
    EXPECT_EQ(0, h.st().maps.at(0, 5, 5)) << "the maps are cleared at the start";

    const int ticks = runToEnd(h);
    ASSERT_EQ(0, h.st().ScanMode) << "the scan ends by itself";
    EXPECT_LT(ticks, 1000);
    EXPECT_TRUE(h.alerts.messages.isEmpty()) << h.alerts.messages.join('|').toStdString();
    const QStringList files = mapFiles(h);
    EXPECT_EQ((QStringList{expectedName(h, "Cu"), expectedName(h, "Fe")}), files);
    EXPECT_TRUE(files.value(0).startsWith(QStringLiteral("run-20261209-10")));
    expectFileHoldsMap(h, expectedName(h, "Fe"), 0);
    expectFileHoldsMap(h, expectedName(h, "Cu"), 1);
    expectTheSpecimen(h);
    // Its journal, named after the scan's file name and start, holds every line and its end.
    const QString journalPath = page(h).sequencer().journal().path();
    EXPECT_EQ(QStringLiteral("run-20261209-100000.scanjournal"), QFileInfo(journalPath).fileName());
    const JournalReading journal = readJournal(journalPath);
    EXPECT_EQ(JournalEnd::Finished, journal.end);
    EXPECT_EQ(kSide, journal.linesDone);

    EXPECT_EQ(QStringLiteral("2DnKaiEnd.WAV"), h.sounds.played.last());
    EXPECT_EQ(1, h.sim->faults().calls("KX10MCA_2DSCAN_Stop"));
    EXPECT_FALSE(h.sim->scan(1)->running());
    EXPECT_EQ(0, h.st().mapView.MapDrawHold);
    EXPECT_EQ(250, h.form().Timer2->interval());

    // The scan panel.
    Scan2DPage& p = page(h);
    EXPECT_EQ(QStringLiteral("16/16"), p.LBstepX->text());
    EXPECT_EQ(QStringLiteral("16/16"), p.LBstepY->text());
    EXPECT_EQ(QStringLiteral("-"), p.LBstepZ->text()) << "no Z in this scan";
    EXPECT_EQ(QStringLiteral("2D scan finished: 1 pass, 2 map files"), p.LabelScanEnd->text());
    EXPECT_EQ(QStringLiteral("256 / 256 px"), p.ScanProgressBar->format());
    EXPECT_EQ(1000, p.ScanProgressBar->value());
    EXPECT_EQ(QStringLiteral("0:00:00"), p.LabelLeft->text());
    EXPECT_EQ(QStringLiteral("0"), p.Edit132->text());
    EXPECT_EQ(QStringLiteral("6.4"), p.Edit133->text());
    EXPECT_EQ(formatGeneral(h.rec().ScanXEnd), p.Edit133->text());
    EXPECT_EQ(QStringLiteral("0.4"), p.Edit134->text());
    EXPECT_EQ(QStringLiteral("0.4"), p.Edit131->text());
    EXPECT_EQ(QColor(Qt::white), p.Edit149->palette().color(QPalette::Base));
    EXPECT_EQ(QStringLiteral("0"), p.LabelRcnt->text());
    EXPECT_FALSE(p.RedErrorComment->isVisibleTo(&p));
    EXPECT_TRUE(p.ErrView->text().isEmpty());
    // Each pixel's first counts were echoed in the status bar.
    EXPECT_TRUE(h.alerts.statusTexts.last().contains(QLatin1Char(',')));
}

TEST(MappingScanWindow, BackAndForthScanStoresEveryRowInPlusDirection) {
    Harness h;
    configure(h, 1);
    startScan(h);
    // The positioning before the first line runs Timer2 at 100 ms and holds the map display.
    run(h, [&] { return page(h).sequencer().run().ScanState == 11; });
    EXPECT_EQ(100, h.form().Timer2->interval());
    EXPECT_EQ(1, h.st().mapView.MapDrawHold);
    // Held, the map keeps the picture drawn before the start although the maps are cleared.
    const QImage before = page(h).Image2D.copy();
    h.form().Timer1Timer();
    EXPECT_TRUE(before == page(h).Image2D);
    run(h, [&] { return page(h).sequencer().run().ScanState == 40; });
    EXPECT_EQ(250, h.form().Timer2->interval());

    runToEnd(h);
    ASSERT_EQ(0, h.st().ScanMode);
    EXPECT_TRUE(h.alerts.messages.isEmpty()) << h.alerts.messages.join('|').toStdString();
    EXPECT_EQ((QStringList{expectedName(h, "Cu"), expectedName(h, "Fe")}), mapFiles(h));
    expectFileHoldsMap(h, expectedName(h, "Fe"), 0);
    expectTheSpecimen(h);
    EXPECT_EQ(0, h.st().mapView.MapDrawHold);
    EXPECT_EQ(250, h.form().Timer2->interval());
    EXPECT_EQ(QStringLiteral("2DnKaiEnd.WAV"), h.sounds.played.last());
}

// The counts of a map file, [y][x].
std::vector<std::vector<int>> readMapFile(const QString& path) {
    std::vector<std::vector<int>> rows;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return rows;
    for (const QByteArray& line : f.readAll().split('\r')) {
        if (line.isEmpty()) continue;
        std::vector<int> row;
        for (const QByteArray& field : line.split(',')) row.push_back(field.trimmed().toInt());
        rows.push_back(row);
    }
    return rows;
}

int64_t fileSum(const std::vector<std::vector<int>>& m, int x0, int x1, int y0, int y1) {
    int64_t s = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) s += m[static_cast<size_t>(y)][static_cast<size_t>(x)];
    return s;
}

TEST(MappingScanWindow, BackAndForthScanWithTwoZPlanesWritesEachPlaneOfTheSample) {
    Harness h;
    configure(h, 1);
    SetupScanPage& s = *h.form().Setup2DSCAN;
    s.CheckBox48->setChecked(true);          // use Z
    s.Edit124->setText(QStringLiteral("0"));
    s.Edit125->setText(QStringLiteral("1"));
    s.Edit127->setText(QStringLiteral("1"));  // one step: planes at 0 and 1
    ASSERT_EQ(1, h.rec().ScanUseZ);
    ASSERT_EQ(1, h.rec().ZCount);
    startScan(h);
    runToEnd(h);
    ASSERT_EQ(0, h.st().ScanMode);
    EXPECT_TRUE(h.alerts.messages.isEmpty()) << h.alerts.messages.join('|').toStdString();
    const QStringList files = mapFiles(h);
    ASSERT_EQ(4, files.size()) << files.join(' ').toStdString();
    EXPECT_EQ(2, files.filter(QStringLiteral("stepZ0001")).size());
    EXPECT_EQ(2, files.filter(QStringLiteral("stepZ0002")).size());
    // Z went to the second plane: 1 unit at 100 pulses per unit.
    char reply[kPaddressReplySize + 1] = {};
    ASSERT_GE(h.sim->KX10Motor_Read_Paddress(1, '2', '2', reply, kPaddressReplySize), 0);
    reply[0] = ' ';
    reply[11] = '\0';
    EXPECT_EQ(100, std::atoi(reply));
    EXPECT_EQ(2, h.sounds.played.filter(QStringLiteral("2DnKaiEndZnext.WAV")).size());
    EXPECT_EQ(QStringLiteral("2DnKaiEnd.WAV"), h.sounds.played.last());
    // Every Fe file shows the disc standing out of the iron-free lower right.
    for (const QString& name : files.filter(QStringLiteral("Fe.CSV"))) {
        const auto m = readMapFile(QDir(h.dir()).filePath(name));
        ASSERT_EQ(static_cast<size_t>(kSide), m.size()) << name.toStdString();
        const int64_t disc = fileSum(m, 3, 5, 10, 12);
        EXPECT_GT(disc, 1000) << name.toStdString();
        EXPECT_GT(disc, 5 * fileSum(m, 10, 12, 2, 4)) << name.toStdString();
    }
    EXPECT_EQ(0, h.st().mapView.MapDrawHold);
    EXPECT_EQ(250, h.form().Timer2->interval());
}

TEST(MappingScanWindow, TimerTicksInsideAMessageBoxDoNotRunTheScanAgain) {
    Harness h;
    configure(h, 0);
    h.rec().ScanRepeat = 2;
    // Every message box stays open for four Timer2 periods.
    h.alerts.whileMessageShown = [&h] {
        for (int i = 0; i < 4; ++i) {
            h.clock.advance(250);
            h.form().Timer2Timer();
        }
    };
    startScan(h);
    {
        // The folder takes no new file once the scan runs: every pass's map files fail.
        ReadOnlyPath locked(h.dir());
        if (!locked.active()) GTEST_SKIP() << "permissions do not bite here";
        runToEnd(h);
    }
    ASSERT_EQ(0, h.st().ScanMode);
    ASSERT_EQ(2, h.alerts.messages.size()) << "one message per pass, no pass run inside a box";
    for (const QString& m : h.alerts.messages)
        EXPECT_TRUE(m.startsWith(QStringLiteral("測定データファイル Open ERROR\n"))) << m.toStdString();
    EXPECT_EQ(2, page(h).sequencer().run().ScanPass);

    // An abort leaves the scan idle before its box opens.
    h.alerts.messages.clear();
    h.sim->faults().fail("KX10MCA_2DSCAN_PSET");
    int modeInsideBox = -1;
    h.alerts.whileMessageShown = [&h, &modeInsideBox] { modeInsideBox = h.st().ScanMode; };
    startScan(h);
    runToEnd(h);
    EXPECT_EQ(QStringList{QStringLiteral("2D scan Pset error , Abort 2Dscan")}, h.alerts.messages);
    EXPECT_EQ(0, modeInsideBox);
}

TEST(MappingScanWindow, StopScanHaltsInMidScanAndKeepsTheCompletedLines) {
    Harness h;
    configure(h, 0);
    startScan(h);
    run(h, [&] {
        const ScanRun& r = page(h).sequencer().run();
        return r.ScanY == 2 && r.ScanState == 40 && r.ScanX > 3;
    });
    ASSERT_EQ(2, h.st().ScanMode);
    h.sim->advance();
    ASSERT_TRUE(h.sim->motors(2)->moving(0));
    page(h).Button66->click();
    EXPECT_EQ(0, h.st().ScanMode);
    h.sim->advance();
    EXPECT_FALSE(h.sim->motors(2)->moving(0)) << "X halted";
    for (int i = 0; i < 40; ++i) h.tick2();
    EXPECT_EQ(QStringLiteral("2D scan stopped by the operator: 2 of 16 lines kept in 2 map files"),
              page(h).LabelScanEnd->text());
    const QStringList partial = {expectedName(h, "Cu").replace(".CSV", "-partial.CSV"),
                                 expectedName(h, "Fe").replace(".CSV", "-partial.CSV")};
    EXPECT_EQ(partial, mapFiles(h));
    // The completed rows 0 and 1 as measured; the row under way and the rest 0.
    for (int slot = 0; slot < 2; ++slot) {
        QFile f(QDir(h.dir()).filePath(partial[1 - slot]));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> rows = f.readAll().split('\r');
        ASSERT_EQ(kSide + 1, rows.size());
        for (int y = 0; y < kSide; ++y) {
            const QList<QByteArray> fields = rows[y].split(',');
            ASSERT_EQ(kSide, fields.size());
            for (int x = 0; x < kSide; ++x)
                ASSERT_EQ(y < 2 ? h.st().maps.at(slot, x, y) : 0, fields[x].trimmed().toInt())
                    << "slot " << slot << " column " << x << " row " << y;
        }
    }
    EXPECT_GT(sum(h, 0, 0, kSide - 1, 0, 1), 0) << "the finished lines stay in memory";
    EXPECT_GT(sum(h, 0, 4, kSide - 1, 2, 2) + sum(h, 1, 4, kSide - 1, 2, 2), 0)
        << "so does the row under way, which the files leave out";
    EXPECT_EQ(0, h.st().mapView.MapDrawHold);
    EXPECT_EQ(250, h.form().Timer2->interval());
}

TEST(MappingScanWindow, StopDuringTheBackAndForthPositioningReleasesTheDisplay) {
    Harness h;
    configure(h, 1);
    startScan(h);
    run(h, [&] { return page(h).sequencer().run().ScanState == 13; });
    ASSERT_EQ(100, h.form().Timer2->interval());
    ASSERT_EQ(1, h.st().mapView.MapDrawHold);
    page(h).Button66->click();
    EXPECT_EQ(0, h.st().ScanMode);
    EXPECT_EQ(0, h.st().mapView.MapDrawHold);
    EXPECT_EQ(250, h.form().Timer2->interval());
    EXPECT_TRUE(mapFiles(h).isEmpty());
}

TEST(MappingScanWindow, AnAbortedScanReleasesTheDisplay) {
    Harness h;
    configure(h, 1);
    h.sim->faults().fail("KX10Motor_RelMove_PAddress");
    startScan(h);
    run(h, [] { return false; }, 200);
    EXPECT_EQ(0, h.st().ScanMode);
    EXPECT_EQ(QStringList{QStringLiteral("Backlash (Y-) move error")}, h.alerts.messages);
    EXPECT_EQ(0, h.st().mapView.MapDrawHold);
    EXPECT_EQ(250, h.form().Timer2->interval());
    // The map is drawn again: the cleared maps show black.
    h.form().Timer1Timer();
    const QImage& img = page(h).Image2D;
    EXPECT_EQ(qRgb(0, 0, 0), img.pixel(img.width() / 2, img.height() / 2));
}

TEST(MappingScanWindow, PixelsPilingUpRaiseTheWarningsUntilTheNextStart) {
    Harness h;
    configure(h, 0);
    // 5 ms pixels: a 250 ms tick finds dozens waiting.
    SetupScanPage& s = *h.form().Setup2DSCAN;
    s.Edit74->setText(QStringLiteral("2000"));
    s.Edit75->setText(QStringLiteral("10"));
    s.Edit77->setText(QStringLiteral("2"));
    s.Edit78->setText(QStringLiteral("64"));
    startScan(h);
    Scan2DPage& p = page(h);
    run(h, [&] { return page(h).sequencer().run().RedCount > 0; });
    ASSERT_GT(p.sequencer().run().RedCount, 0);
    EXPECT_EQ(QColor(Qt::red), p.Edit149->palette().color(QPalette::Base));
    EXPECT_GE(p.Edit149->text().toInt(), 14);
    EXPECT_EQ(QString::number(p.sequencer().run().RedCount), p.LabelRcnt->text());
    EXPECT_TRUE(p.RedErrorComment->isVisibleTo(&p));
    EXPECT_TRUE(p.ErrView->text().startsWith(QStringLiteral("statER 1,")));
    runToEnd(h);
    ASSERT_EQ(0, h.st().ScanMode);
    EXPECT_TRUE(p.RedErrorComment->isVisibleTo(&p)) << "the warning stays after the scan";

    // A start answered with Cancel clears the counters and the warning, and starts nothing.
    const int pset = h.sim->faults().calls("KX10MCA_2DSCAN_PSET");
    startScan(h, QDialog::Rejected);
    EXPECT_EQ(0, h.st().ScanMode);
    EXPECT_EQ(0, p.sequencer().run().RedCount);
    EXPECT_FALSE(p.RedErrorComment->isVisibleTo(&p));
    h.tick2();
    EXPECT_EQ(pset, h.sim->faults().calls("KX10MCA_2DSCAN_PSET"));
}

TEST(MappingScanWindow, StartIsRefusedOfflineAndWhileAScanRuns) {
    Harness h;
    Scan2DPage& p = page(h);
    h.alerts.clear();
    p.Button65->click();   // no dialog: offline
    EXPECT_EQ((QStringList{QStringLiteral("OffLineです。　OnLineにしてください")}),
              h.alerts.messages);
    EXPECT_EQ(0, h.st().ScanMode);
    configure(h, 0);
    startScan(h);
    h.alerts.clear();
    p.Button65->click();   // no dialog: a scan runs
    EXPECT_EQ((QStringList{QStringLiteral("すでに自動測定中なので実行できません")}),
              h.alerts.messages);
    EXPECT_EQ(2, h.st().ScanMode);
    // Offline, the running scan waits in its state.
    run(h, [&] { return page(h).sequencer().run().ScanState == 40; });
    h.st().Online = 0;
    const ScanRun before = p.sequencer().run();
    for (int i = 0; i < 20; ++i) h.tick2();
    EXPECT_EQ(before.ScanState, p.sequencer().run().ScanState);
    EXPECT_EQ(before.ScanX, p.sequencer().run().ScanX);
    h.st().Online = 1;
    runToEnd(h);
    EXPECT_EQ(0, h.st().ScanMode);
    EXPECT_EQ(2, mapFiles(h).size());
}

// ---------------------------------------------------------------------------------------------
// A scan the operator can trust: nothing of a stopped scan reaches the next one, failures and
// the ends of travel stop the scan with a message, runaway targets never start, and the page
// shows the progress and the end.

namespace {

// Every cell of map slots 0 and 1 over the scanned grid.
std::vector<int32_t> mapCells(Harness& h, int side) {
    std::vector<int32_t> cells;
    for (int slot = 0; slot < 2; ++slot)
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) cells.push_back(h.st().maps.at(slot, x, y));
    return cells;
}

// The scan hardware after a scan: no pixel pulses, no 2D accumulation, MCA1 not measuring.
void expectQuietHardware(Harness& h) {
    h.sim->advance();
    EXPECT_EQ(99999999, h.sim->motors(2)->interval());
    EXPECT_FALSE(h.sim->scan(1)->running());
    EXPECT_FALSE(h.sim->mca(1)->measuring());
}

}  // namespace

TEST(MappingScanWindow, AScanAfterAStopInMidStrokeStoresWhatAnUndisturbedScanStores) {
    std::vector<int32_t> clean;
    {
        Harness h;
        configure(h, 0);
        startScan(h);
        runToEnd(h);
        ASSERT_EQ(0, h.st().ScanMode);
        clean = mapCells(h, kSide);
    }
    Harness h;
    configure(h, 0);
    startScan(h);
    // Stopped in the middle of the first stroke, with pixels closing.
    run(h, [&] {
        const ScanRun& r = page(h).sequencer().run();
        return r.ScanY == 0 && r.ScanState == 40 && r.ScanX > 5;
    });
    ASSERT_EQ(2, h.st().ScanMode);
    page(h).Button66->click();
    EXPECT_EQ(QStringLiteral("2D scan stopped by the operator: 0 of 16 lines kept in 0 map files"),
              page(h).LabelScanEnd->text());
    expectQuietHardware(h);
    for (int i = 0; i < 8; ++i) h.tick2();
    ASSERT_GT(h.st().maps.at(0, 3, 0) + h.st().maps.at(1, 3, 0), 0) << "the stopped line stored";

    startScan(h);
    EXPECT_TRUE(page(h).ErrView->text().isEmpty());
    EXPECT_TRUE(page(h).LBstepX->text().isEmpty()) << "the step labels start empty";
    EXPECT_TRUE(page(h).LabelScanEnd->text().isEmpty());
    EXPECT_EQ(QStringLiteral("0"), page(h).Edit149->text()) << "the queue boxes start at 0";
    EXPECT_EQ(QStringLiteral("0"), page(h).Edit147->text());
    runToEnd(h);
    ASSERT_EQ(0, h.st().ScanMode);
    EXPECT_TRUE(h.alerts.messages.isEmpty()) << h.alerts.messages.join('|').toStdString();
    EXPECT_EQ(0, page(h).sequencer().run().RedCount) << "no stale pixel piled up";
    const std::vector<int32_t> again = mapCells(h, kSide);
    ASSERT_EQ(clean.size(), again.size());
    for (size_t i = 0; i < clean.size(); ++i) {
        const int slot = static_cast<int>(i / (kSide * kSide));
        const int cell = static_cast<int>(i % (kSide * kSide));
        ASSERT_EQ(clean[i], again[i]) << "slot " << slot << " column " << cell % kSide
                                      << " row " << cell / kSide;
    }
    expectQuietHardware(h);
}

TEST(MappingScanWindow, AFailedYStepAbortsTheScan) {
    Harness h;
    configure(h, 0);
    startScan(h);
    run(h, [&] { return page(h).sequencer().run().ScanState == 51; });
    ASSERT_EQ(0, page(h).sequencer().run().ScanY);
    // State 51 sends X home, then Y to the next line: the second move fails.
    h.sim->faults().failAfter("KX10Motor_MoveTo_PAddress", 1);
    h.tick2();
    EXPECT_EQ(0, h.st().ScanMode);
    EXPECT_EQ(QStringList{QStringLiteral("2D scan MotorY move error , Abort 2Dscan")},
              h.alerts.messages);
    EXPECT_EQ(QStringLiteral("2D scan MotorY move error , Abort 2Dscan: 1 of 16 lines kept in 2 map "
                             "files"),
              page(h).LabelScanEnd->text());
    for (int i = 0; i < 20; ++i) h.tick2();
    EXPECT_EQ(0, sum(h, 0, 0, kSide - 1, 1, kSide - 1) + sum(h, 1, 0, kSide - 1, 1, kSide - 1))
        << "no second line stored at the first line's Y";
    EXPECT_EQ(2, mapFiles(h).filter(QStringLiteral("-partial.CSV")).size());
    expectQuietHardware(h);
    EXPECT_EQ(0, h.st().mapView.MapDrawHold);
}

TEST(MappingScanWindow, AScanBeyondTheTravelIsRefusedAndAbortedAtTheEndSwitch) {
    Harness h;
    configure(h, 0);
    SetupScanPage& s = *h.form().Setup2DSCAN;
    // 16 pixels of 400 pulses: X runs to 64 units, beyond the soft limit at 45.
    s.Edit75->setText(QStringLiteral("400"));
    s.Edit74->setText(QStringLiteral("4000"));
    const int moves = h.sim->faults().calls("KX10Motor_MoveTo_PAddress");
    page(h).Button65->click();   // no dialog
    EXPECT_EQ(QStringList{QStringLiteral(
                  "X軸 (Motor#1) の移動範囲 0 ～ 64 がソフトリミット(+) 45 を超えています。"
                  "SETUPページのソフトリミットか測定範囲を見直してください。"
                  "二次元SCANを開始できません")},
              h.alerts.messages);
    EXPECT_EQ(0, h.st().ScanMode);
    EXPECT_EQ(moves, h.sim->faults().calls("KX10Motor_MoveTo_PAddress"));

    // Soft limit widened past the stage's end switch at 50 units: the stroke runs into it.
    h.alerts.clear();
    h.form().SETUP->Edit88->setText(QStringLiteral("100"));
    startScan(h);
    runToEnd(h);
    EXPECT_EQ(0, h.st().ScanMode) << "the scan does not wait at the switch for ever";
    EXPECT_EQ(QStringList{QStringLiteral(
                  "2D scan Motor#1 (X) stopped at the CW end switch , Abort 2Dscan")},
              h.alerts.messages);
    EXPECT_LT(page(h).sequencer().run().ScanX, kSide);
    expectQuietHardware(h);
    // The 2D SCAN page shows the lit switch of X.
    h.form().Timer1Timer();
    EXPECT_TRUE(page(h).imgCW2DX->isLit());
    EXPECT_FALSE(page(h).imgCCW2DX->isLit());
    EXPECT_FALSE(page(h).imgCW2DY->isLit());
}

TEST(MappingScanWindow, ProgressAndTimeLeftFollowTheScan) {
    Harness h;
    configure(h, 0);
    SetupScanPage& s = *h.form().Setup2DSCAN;
    s.Edit77->setText(QStringLiteral("4"));
    s.Edit78->setText(QStringLiteral("4"));
    Scan2DPage& p = page(h);
    const int64_t t0 = h.clock.nowMs();
    startScan(h);
    // Before a line is measured, the time left comes from the parameters: a line is 4 pixels
    // of 40 pulses at 400 pulses/s (400 ms), the return at 200 pulses/s (800 ms), the Y step
    // (200 ms) and five ticks (1250 ms): 2650 ms, 16 pixels left of lines of 4.
    EXPECT_EQ(QStringLiteral("0 / 16 px"), p.ScanProgressBar->format());
    EXPECT_EQ(0, p.ScanProgressBar->value());
    EXPECT_EQ(QStringLiteral("0:00:10"), p.LabelLeft->text());
    EXPECT_EQ(QStringLiteral("0:00:00"), p.LabelElapsed->text());

    int64_t line1 = -1, line2 = -1;
    run(h, [&] {
        const ScanRun& r = p.sequencer().run();
        if (r.ScanState == 40 && r.ScanY == 0 && line1 < 0) line1 = h.clock.nowMs();
        if (r.ScanState == 40 && r.ScanY == 1) line2 = h.clock.nowMs();
        return line2 >= 0;
    });
    ASSERT_GT(line1, t0);
    ASSERT_GT(line2, line1);
    // One line done: 4 of 16 pixels, three more lines of the measured period left.
    EXPECT_EQ(QStringLiteral("4 / 16 px"), p.ScanProgressBar->format());
    EXPECT_EQ(250, p.ScanProgressBar->value());
    char text[16];
    formatDuration(h.clock.nowMs() - t0, text);
    EXPECT_EQ(QString::fromLatin1(text), p.LabelElapsed->text());
    formatDuration(3 * (line2 - line1), text);
    EXPECT_EQ(QString::fromLatin1(text), p.LabelLeft->text());
    EXPECT_TRUE(p.LabelScanEnd->text().isEmpty());

    runToEnd(h);
    EXPECT_EQ(QStringLiteral("16 / 16 px"), p.ScanProgressBar->format());
    EXPECT_EQ(QStringLiteral("0:00:00"), p.LabelLeft->text());
    EXPECT_EQ(QStringLiteral("2D scan finished: 1 pass, 2 map files"), p.LabelScanEnd->text());
    EXPECT_EQ(QStringLiteral("2D scan finished: 1 pass, 2 map files"), h.alerts.statusTexts.last());
}

TEST(MappingScanWindow, RunawayTargetsAreRefusedAtStartNamingTheValue) {
    Harness h;
    configure(h, 0);
    SetupScanPage& s = *h.form().Setup2DSCAN;
    struct Case {
        std::vector<std::pair<QLineEdit*, const char*>> typed;
        int method;
        const char* message;
    };
    const Case cases[] = {
        {{{s.Edit75, "3000000"}, {s.Edit78, "1000"}}, 0,
         "X軸 (Motor#1) の移動先 3000000000 パルスがモータの範囲を超えます: "
         "Ｘ軸二次元のピクセル幅 3000000 パルス × X軸ｓｔｅｐ数 1000。二次元SCANを開始できません"},
        {{{s.Edit153, "-2147483648"}}, 1,
         "X軸 (Motor#1) の移動先 2147483648 パルスがモータの範囲を超えます: "
         "X軸Backlash -2147483648 パルス。二次元SCANを開始できません"},
        {{{s.Edit75, "2147483"}, {s.Edit78, "1000"}, {s.Edit153, "-1000"}}, 1,
         "X軸 (Motor#1) の移動先 2147484000 パルスがモータの範囲を超えます: "
         "ライン終点 2147483000 パルス - X軸Backlash -1000 パルス。二次元SCANを開始できません"},
        {{{s.Edit76, "2000000000"}, {s.Edit77, "3"}}, 0,
         "Y軸 (Motor#2) の移動先 4000000000 パルスがモータの範囲を超えます: "
         "Ｙ軸二次元のピクセル幅 2000000000 パルス × (Y軸ｓｔｅｐ数 3 - 1)。二次元SCANを開始できません"},
        {{{s.Edit124, "0"}, {s.Edit125, "30000000"}, {s.Edit126, "3e7"}}, 0,
         "Z軸 (Motor#3) の移動先 3000000000 パルスがモータの範囲を超えます: "
         "Z軸の開始座標 0、ステップ角度 30000000 × 回数 1。二次元SCANを開始できません"},
    };
    const InfoRecord saved = h.rec();
    for (const Case& c : cases) {
        h.rec() = saved;
        s.CheckBox48->setChecked(c.typed.front().first == s.Edit124);
        s.smSelect->setCurrentIndex(c.method);
        s.smSelectChange();
        for (const auto& [box, text] : c.typed) {
            box->setText(QString());   // so that the text below is a change
            box->setText(QString::fromLatin1(text));
        }
        h.alerts.clear();
        const int moves = h.sim->faults().calls("KX10Motor_MoveTo_PAddress");
        page(h).Button65->click();   // refused before the confirmation dialog
        EXPECT_EQ(QStringList{QString::fromUtf8(c.message)}, h.alerts.messages);
        EXPECT_EQ(0, h.st().ScanMode);
        EXPECT_EQ(moves, h.sim->faults().calls("KX10Motor_MoveTo_PAddress"));
    }
    // A Z start that is no number (a damaged information file) is refused too.
    h.rec() = saved;
    h.rec().ScanUseZ = 1;
    h.rec().ZStart = std::numeric_limits<double>::quiet_NaN();
    h.alerts.clear();
    page(h).Button65->click();
    EXPECT_EQ(QStringList{QStringLiteral("Z軸の開始座標 nan は数値ではありません。二次元SCANを開始できません")},
              h.alerts.messages);
    EXPECT_EQ(0, h.st().ScanMode);
}

TEST(MappingScanWindow, NotANumberTypedIntoAZBoxLeavesTheFieldAsItWas) {
    Harness h;
    SetupScanPage& s = *h.form().Setup2DSCAN;
    s.Edit124->setText(QStringLiteral("0.5"));
    s.Edit125->setText(QStringLiteral("2.5"));
    s.Edit126->setText(QStringLiteral("0.5"));
    ASSERT_EQ(4, h.rec().ZCount);
    s.Edit124->setText(QStringLiteral("nan"));
    s.Edit125->setText(QStringLiteral("-inf"));
    s.Edit126->setText(QStringLiteral("infinity"));
    s.Edit127->setText(QStringLiteral("nan"));
    EXPECT_DOUBLE_EQ(0.5, h.rec().ZStart);
    EXPECT_DOUBLE_EQ(2.5, h.rec().ZEnd);
    EXPECT_DOUBLE_EQ(0.5, h.rec().ZStep);
    EXPECT_EQ(4, h.rec().ZCount);
}
