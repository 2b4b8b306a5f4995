// Whole mapping scans in the running program against the simulated instrument: configured on the
// Setup SCAN page, started and stopped on the 2D SCAN page, advanced by Timer2 with the manual
// clock; the map arrays, the map files, the scan panel and the release of the map display.

#include "app/FieldText.h"
#include "scan/Scan2DPage.h"
#include "scan/SetupScanPage.h"
#include "scan/TOKRightDlg1.h"
#include "support/Harness.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTabWidget>
#include <gtest/gtest.h>

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
    h.form().SpeedButton20->click();
    ASSERT_EQ(1, h.st().Online);
    h.alerts.clear();   // the new information file's notice, the version text
    InfoRecord& r = h.rec();
    r.RoiStart[0][1] = 628;
    r.RoiEnd[0][1] = 652;
    r.RoiStart[0][2] = 793;
    r.RoiEnd[0][2] = 817;
    SetupScanPage& s = *h.form().Setup2DSCAN;
    s.mapRoiCheck[0]->setChecked(true);
    s.mapRoiName[0]->setText(QStringLiteral("Fe"));
    s.mapRoiCheck[1]->setChecked(true);
    s.mapRoiName[1]->setText(QStringLiteral("Cu"));
    s.Edit74->setText(QStringLiteral("400"));
    s.Edit75->setText(QStringLiteral("40"));
    s.Edit76->setText(QStringLiteral("40"));
    s.Edit77->setText(QString::number(kSide));
    s.Edit78->setText(QString::number(kSide));
    s.Edit81->setText(QStringLiteral("1"));
    s.Edit153->setText(QStringLiteral("20"));
    s.Edit154->setText(QStringLiteral("20"));
    s.smSelect->setCurrentIndex(method);
    s.smSelectChange();
    ASSERT_EQ(method, r.ScanMethod);
    h.form().Edit27->setText(h.dir() + QLatin1Char('/'));
    page(h).Edit141->setText(QStringLiteral("run"));
    h.form().PageMaster->setCurrentIndex(TForm9::kScan2D);
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
    int ticks = 0;
    int64_t sinceTimer1 = 0;
    while (h.st().ScanMode == 2 && !until() && ticks < maxTicks) {
        const int ms = h.form().Timer2->interval();
        h.clock.advance(ms);
        h.form().Timer2Timer();
        sinceTimer1 += ms;
        if (sinceTimer1 >= 800) {
            sinceTimer1 -= 800;
            h.form().Timer1Timer();
        }
        ++ticks;
    }
    return ticks;
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
    h.rec().ScanXStart = 1.5;   // shown in the range boxes when the scan begins
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
    EXPECT_EQ(QStringLiteral("1.5"), p.Edit132->text());
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
    h.form().Edit27->setText(QStringLiteral("/nonexistent-folder/"));
    // Every message box stays open for four Timer2 periods.
    h.alerts.whileMessageShown = [&h] {
        for (int i = 0; i < 4; ++i) {
            h.clock.advance(250);
            h.form().Timer2Timer();
        }
    };
    startScan(h);
    runToEnd(h);
    ASSERT_EQ(0, h.st().ScanMode);
    EXPECT_EQ((QStringList{QStringLiteral("測定データファイル Open ERROR"),
                           QStringLiteral("測定データファイル Open ERROR")}),
              h.alerts.messages)
        << "one message per pass, no pass run inside a box";
    EXPECT_EQ(2, page(h).sequencer().run().ScanPass);

    // An abort leaves the scan idle before its box opens.
    h.alerts.messages.clear();
    h.form().Edit27->setText(h.dir() + QLatin1Char('/'));
    h.sim->faults().fail("KX10MCA_2DSCAN_PSET");
    int modeInsideBox = -1;
    h.alerts.whileMessageShown = [&h, &modeInsideBox] { modeInsideBox = h.st().ScanMode; };
    startScan(h);
    runToEnd(h);
    EXPECT_EQ(QStringList{QStringLiteral("2D scan Pset error , Abort 2Dscan")}, h.alerts.messages);
    EXPECT_EQ(0, modeInsideBox);
}

TEST(MappingScanWindow, StopScanHaltsInMidScanAndWritesNoFile) {
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
    EXPECT_TRUE(mapFiles(h).isEmpty());
    EXPECT_GT(sum(h, 0, 0, kSide - 1, 0, 1), 0) << "the finished lines stay in memory";
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
