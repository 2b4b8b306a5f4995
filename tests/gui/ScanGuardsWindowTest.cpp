// What keeps a running scan whole, in the running program against the simulated instrument with
// a manual clock: the commands refused while it runs (connect, motor re-setting, the stage
// buttons of the scan axes), the stalls that end it with a message within their bounds, the
// values it keeps when the page is edited, the close question and the information record
// written when a scan begins and ends; and the save folder a map file could never be made in.

#include "app/InfoFile.h"
#include "instrument/SetupPage.h"
#include "scan/ElementScanPage.h"
#include "scan/Scan2DPage.h"
#include "scan/ScanSequencer.h"
#include "scan/SetupScanPage.h"
#include "spectrum/McaPage.h"
#include "support/Harness.h"
#include "support/LoggingKx10.h"

#include <QDialog>
#include <QDir>
#include <QTabWidget>
#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;

namespace {

Scan2DPage& scanPage(Harness& h) { return *h.form().NonStop2Dcollect; }
const ScanRun& run(Harness& h) { return scanPage(h).sequencer().run(); }
int calls(Harness& h, const char* op) { return h.sim->faults().calls(op); }

// Connects and sets a 16 x 16 scan over the specimen tile: 40 pulses per pixel, X at 400 pulses
// per second (a line of 1.6 s), map slot 1 enabled, files into the test's folder.
void configure(Harness& h, int method = 0) {
    h.form().SpeedButton20->click();
    ASSERT_EQ(1, h.st().Online);
    h.alerts.clear();
    h.rec().RoiStart[0][1] = 628;
    h.rec().RoiEnd[0][1] = 652;
    SetupScanPage& s = *h.form().Setup2DSCAN;
    s.mapRoiCheck[0]->setChecked(true);
    s.mapRoiName[0]->setText(QStringLiteral("Fe"));
    s.Edit74->setText(QStringLiteral("400"));
    s.Edit75->setText(QStringLiteral("40"));
    s.Edit76->setText(QStringLiteral("40"));
    s.Edit77->setText(QStringLiteral("16"));
    s.Edit78->setText(QStringLiteral("16"));
    s.smSelect->setCurrentIndex(method);
    s.smSelectChange();
    h.form().Edit27->setText(h.dir() + QLatin1Char('/'));
    h.form().PageMaster->setCurrentIndex(TForm9::kScan2D);
}

void startScan(Harness& h) {
    h.dialogs.expect({QStringLiteral("exec"), QString(), QDialog::Accepted, nullptr});
    scanPage(h).Button65->click();
    ASSERT_EQ(2, h.st().ScanMode);
}

// Timer2 alone (no position read of Timer1 in between) until `until` holds or the scan ends.
template <class Until>
int tickUntil(Harness& h, Until until, int maxTicks = 2000) {
    int ticks = 0;
    while (h.st().ScanMode != 0 && !until() && ticks < maxTicks) {
        h.tick2(h.form().Timer2->interval());
        ++ticks;
    }
    return ticks;
}

void startElementScan(Harness& h) {
    ElementScanPage& e = *h.form().TabSheet1;
    e.Edit138->setText(QStringLiteral("6.4"));
    e.Edit148->setText(QStringLiteral("1"));
    e.Edit152->setText(QStringLiteral("0.5"));
    e.Button80->click();
    ASSERT_EQ(3, h.st().ScanMode);
}

}  // namespace

// Neither connect button of the tool bar nor the SETUP page's re-setting acts during a mapping
// or an element scan: no speed and no counter reaches a motor, and each says why.
TEST(ScanGuardsWindow, ConnectAndMotorResettingAreRefusedDuringBothScans) {
    Harness h;
    configure(h);
    for (int kind : {2, 3}) {
        if (kind == 2) {
            startScan(h);
        } else {
            startElementScan(h);
        }
        tickUntil(h, [] { return false; }, 12);
        const int speeds = calls(h, "KX10Motor_Set_Speed");
        const int counters = calls(h, "KX10Motor_Set_Pulse_Address");
        h.alerts.clear();
        h.form().SpeedButton20->click();
        h.form().SETUP->Button62->click();
        EXPECT_EQ(speeds, calls(h, "KX10Motor_Set_Speed"));
        EXPECT_EQ(counters, calls(h, "KX10Motor_Set_Pulse_Address"));
        EXPECT_EQ((QStringList{QStringLiteral("スキャン中は接続できません。先にスキャンを止めてください"),
                               QStringLiteral("スキャン中はモータを再設定できません。先にスキャンを止めてください")}),
                  h.alerts.messages);
        EXPECT_EQ(kind, h.st().ScanMode);
        if (kind == 2) {
            scanPage(h).Button66->click();
        } else {
            h.form().TabSheet1->Button87->click();
        }
        h.tick2();
    }
    // Idle again, the re-setting acts.
    const int speeds = calls(h, "KX10Motor_Set_Speed");
    h.form().SETUP->Button62->click();
    EXPECT_EQ(speeds + 4, calls(h, "KX10Motor_Set_Speed"));
}

// The stage pages' buttons of X, Y and Z are refused while the scan runs; an X that stops short
// all the same (here halted behind the program's back) ends the line within the stroke's stall
// bound, with a message naming the line and the pixels received.
TEST(ScanGuardsWindow, StageButtonsAreRefusedAndAStoppedStrokeAbortsWithinItsBound) {
    Harness h;
    configure(h);
    startScan(h);
    // When the latest pixel arrived.
    int32_t seen = 0;
    int64_t lastPixel = 0;
    auto note = [&] {
        if (run(h).ScanX != seen) lastPixel = h.clock.now;
        seen = run(h).ScanX;
        return false;
    };
    tickUntil(h, [&] { note(); return run(h).ScanState == 40 && run(h).ScanX >= 5; });
    ASSERT_EQ(40, run(h).ScanState);
    const int halts = calls(h, "KX10Motor_Halt");
    const int moves = calls(h, "KX10Motor_MoveTo_PAddress");
    h.alerts.clear();
    h.form().Setup2DSCAN->Button30->click();    // 停止
    h.form().Setup2DSCAN->Button28->click();    // X ▶
    scanPage(h).Button68->click();              // Stop Motor
    scanPage(h).Button64->click();              // GOTO (0,0)
    h.form().TabSheet1->Button86->click();      // 座標を(0,0)にする
    scanPage(h).Button76->click();              // Z jog: Z is a scan axis too
    EXPECT_EQ(halts, calls(h, "KX10Motor_Halt"));
    EXPECT_EQ(moves, calls(h, "KX10Motor_MoveTo_PAddress"));
    ASSERT_EQ(6, h.alerts.messages.size());
    for (const QString& m : h.alerts.messages) EXPECT_EQ(StageControl::scanLockText(), m);
    EXPECT_EQ(2, h.st().ScanMode);

    // X stops with the line unfinished.
    ASSERT_GE(h.sim->KX10Motor_Halt(1, '2', 0), 0);
    h.alerts.clear();
    const int64_t bound = ScanSequencer::strokeStallBoundMs(h.rec());
    EXPECT_EQ(2 * 1600 + 5000, bound) << "twice the line of 16 x 40 pulses at 400 pps, and 5 s";
    tickUntil(h, note);
    const int32_t received = run(h).ScanX;
    EXPECT_LT(received, 16);
    EXPECT_EQ(0, h.st().ScanMode);
    EXPECT_GT(h.clock.now - lastPixel, bound);
    EXPECT_LE(h.clock.now - lastPixel, bound + 250);
    EXPECT_EQ(QStringList{QStringLiteral("2D scan line 1/16 stalled: %1 of 16 pixels received, no "
                                         "pixel for 8 s (X standing) , Abort 2Dscan")
                              .arg(received)},
              h.alerts.messages);
}

// A motor status that cannot be read is never "standing": the wait of state 60 goes on (the
// next stroke does not leave from a wrong place), the wait ends normally once the status reads
// again, and a status unreadable for more than 10 s ends the scan with a message.
TEST(ScanGuardsWindow, AnUnreadableMotorStatusIsNeverStanding) {
    Harness h;
    configure(h);
    startScan(h);
    tickUntil(h, [&] { return run(h).ScanState == 60; });
    ASSERT_EQ(60, run(h).ScanState);
    h.sim->faults().failAlways("KX10Motor_Get_Status");
    for (int i = 0; i < 20; ++i) h.tick2();
    EXPECT_EQ(60, run(h).ScanState);
    EXPECT_EQ(1, run(h).ScanY);
    h.sim->faults().clearAll();
    tickUntil(h, [&] { return run(h).ScanState == 40; });
    EXPECT_EQ(0, h.sim->motors(2)->address(0)) << "the second stroke leaves from the origin";
    EXPECT_TRUE(h.alerts.messages.isEmpty());

    tickUntil(h, [&] { return run(h).ScanState == 60; });
    h.sim->faults().failAlways("KX10Motor_Get_Status");
    const int64_t from = h.clock.now;
    tickUntil(h, [] { return false; });
    EXPECT_EQ(0, h.st().ScanMode);
    EXPECT_LE(h.clock.now - from, 10000 + 2 * 250);
    EXPECT_GT(h.clock.now - from, 10000 + 250) << "more than 10 s after the first unread status";
    EXPECT_EQ(QStringList{QStringLiteral("2D scan Motor#1 (X) status unreadable for 10 s, line 3/16 "
                                         ", Abort 2Dscan")},
              h.alerts.messages);
}

// Back and forth: a position reply cut short that still reports success is not read as 0 (the
// next target would be -backlash and X would never run): the scan ends at once with a message
// and sends X nowhere.
TEST(ScanGuardsWindow, ACutPositionReplyAbortsTheBackAndForthScan) {
    Harness h;
    configure(h, 1);
    startScan(h);
    tickUntil(h, [&] { return run(h).ScanState == 51; });
    ASSERT_EQ(51, run(h).ScanState);
    h.sim->faults().corrupt("KX10Motor_Read_Paddress", SimFaultKind::ShortFrame);
    const int moves = calls(h, "KX10Motor_MoveTo_PAddress");
    h.tick2(h.form().Timer2->interval());
    EXPECT_EQ(0, h.st().ScanMode);
    EXPECT_EQ(moves, calls(h, "KX10Motor_MoveTo_PAddress"));
    EXPECT_EQ(QStringList{QStringLiteral("2D scan MotorX position reply \"P+000\" unreadable, line 1/16 "
                                         ", Abort 2Dscan")},
              h.alerts.messages);
}

// The running scan keeps the values it started with: the X pixel typed as 2000 pulses mid-scan
// (16 x 2000 = 32000 against a soft limit of 4500) sends no X target beyond the scan's line end,
// every map column holds a pixel of the old size, and the Setup SCAN page says so while it runs.
TEST(ScanGuardsWindow, AnEditDuringTheScanWaitsForTheNextOne) {
    CallLog log;
    Harness h([&log](Harness& hh) { return std::make_unique<LoggingKx10>(*hh.sim, log); });
    configure(h);
    startScan(h);
    tickUntil(h, [&] { return run(h).ScanY == 2; });
    SetupScanPage& s = *h.form().Setup2DSCAN;
    s.Edit75->setText(QStringLiteral("2000"));
    h.form().PageMaster->setCurrentIndex(TForm9::kSetupScan);
    h.tick1();
    EXPECT_TRUE(s.LabelScanKeeps->isVisibleTo(&s));
    EXPECT_EQ(QStringLiteral("    320.00\r"), s.Label92->text()) << "the size of the next scan";
    tickUntil(h, [] { return false; }, 4000);
    EXPECT_EQ(0, h.st().ScanMode);
    EXPECT_TRUE(h.alerts.messages.isEmpty()) << h.alerts.messages.join(" | ").toStdString();
    int xTargets = 0;
    for (const std::string& line : log) {
        const std::string prefix = "KX10Motor_MoveTo_PAddress 1 50 48 ";
        if (line.rfind(prefix, 0) != 0) continue;
        ++xTargets;
        EXPECT_LE(std::stoi(line.substr(prefix.size())), 640) << line;
    }
    EXPECT_GT(xTargets, 16);
    for (int x = 0; x < 16; ++x) EXPECT_GT(h.st().maps.at(0, x, 15), 0) << "column " << x;
    h.tick1();
    EXPECT_FALSE(s.LabelScanKeeps->isVisibleTo(&s));
}

// Closing the window asks first while a scan runs or an MCA measures: "no" keeps the program and
// the scan running; "yes" stops the scan through Stop SCAN (X, Y halted) and closes.
TEST(ScanGuardsWindow, TheCloseAsksWhileAScanOrAMeasurementRuns) {
    Harness h;
    configure(h);
    startScan(h);
    tickUntil(h, [&] { return run(h).ScanState == 40; });
    h.dialogs.expect({QStringLiteral("confirm"), QString(), 0, nullptr});
    h.form().N1->trigger();   // File → 終了
    EXPECT_TRUE(h.dialogs.script.empty());
    EXPECT_EQ(QStringLiteral("終了の確認"), h.dialogs.asked.last());
    EXPECT_TRUE(h.form().isVisible());
    EXPECT_EQ(2, h.st().ScanMode);

    const int halts = calls(h, "KX10Motor_Halt");
    h.dialogs.expect({QStringLiteral("confirm"), QString(), 1, nullptr});
    h.close();   // the window's close button
    EXPECT_TRUE(h.dialogs.script.empty());
    EXPECT_FALSE(h.form().isVisible());
    EXPECT_EQ(0, h.st().ScanMode);
    EXPECT_EQ(halts + 3, calls(h, "KX10Motor_Halt")) << "X, Y and Z halted by Stop SCAN";

    // An MCA that measures asks too; idle, nothing is asked.
    Harness m;
    m.form().SpeedButton20->click();
    m.form().MCAcollect->Button5->click();   // START
    m.dialogs.expect({QStringLiteral("confirm"), QString(), 0, nullptr});
    m.close();
    EXPECT_TRUE(m.dialogs.script.empty());
    EXPECT_TRUE(m.form().isVisible());
    m.form().MCAcollect->Button4->click();   // STOP
    m.close();
    EXPECT_FALSE(m.form().isVisible());
}

// The information record is written when a scan begins and when it ends (positions read back
// first, a failed read told in the status bar), so that a crash in between loses no setting
// made before the start.
TEST(ScanGuardsWindow, TheRecordIsWrittenWhenAScanBeginsAndEnds) {
    Harness h;
    configure(h);
    startScan(h);
    h.tick2();
    InfoRecord disk{};
    ASSERT_EQ(InfoLoad::Loaded, loadInfoFile(h.infoPath(), disk));
    EXPECT_EQ(400, disk.ScanXSpeedPps) << "the speed typed before the start";
    EXPECT_EQ(16, disk.ScanXSteps);

    tickUntil(h, [&] { return run(h).ScanY == 1 && run(h).ScanState == 40; });
    scanPage(h).Button66->click();   // Stop SCAN, the stage where the scan left it
    // X's read fails: it keeps the value read at the start, and no box holds the program up.
    h.sim->faults().fail("KX10Motor_Read_Paddress");
    h.alerts.clear();
    h.tick2();
    ASSERT_EQ(InfoLoad::Loaded, loadInfoFile(h.infoPath(), disk));
    h.sim->advance();
    EXPECT_EQ(0, disk.MotorSavedPosition[0]);
    EXPECT_EQ(40, h.sim->motors(2)->address(1));
    EXPECT_EQ(40, disk.MotorSavedPosition[1]);
    EXPECT_TRUE(h.alerts.messages.isEmpty());
    EXPECT_TRUE(h.alerts.statusTexts.contains(QStringLiteral("Read Paddrss timeover or error")));
}

// 指定 refuses a folder whose name code page 932 cannot hold (it would be stored as "caf?"):
// the save folder stays as it was, and the message names the folder.
TEST(ScanGuardsWindow, ASaveFolderOutsideCodePage932IsRefused) {
    Harness h;
    h.alerts.clear();   // the new information file's notice
    const QString folder = h.dir() + QStringLiteral("/café/");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QByteArray was(h.rec().SaveFolder);
    const QString shown = h.form().Edit27->text();
    h.dialogs.expect({QStringLiteral("save"), folder + QStringLiteral("GAVREL.DAT"), 0, nullptr});
    h.form().Button16->click();
    EXPECT_TRUE(h.dialogs.script.empty());
    EXPECT_EQ(was, QByteArray(h.rec().SaveFolder));
    EXPECT_EQ(shown, h.form().Edit27->text());
    EXPECT_EQ(QStringList{QStringLiteral("保存フォルダ名に、情報ファイルに記録できない文字 (Shift-JIS "
                                         "にない文字) が含まれています。保存フォルダは変わりません\n") +
                          folder},
              h.alerts.messages);
}
