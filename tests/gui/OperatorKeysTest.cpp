// The operator's keys in the running program: Esc halts every enabled motor from any page with a
// text box focused and stops a running scan through its Stop; the plot's keys move the cursor
// and F5 / F6 are START and STOP with their own rules. The MCA page's time readouts.

#include "scan/ElementScanPage.h"
#include "scan/Scan2DPage.h"
#include "scan/SetupScanPage.h"
#include "spectrum/McaPage.h"
#include "support/Harness.h"
#include "support/LoggingKx10.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;

namespace {

// Presses `key` on `w` as the keyboard does: the shortcut override first, then the press.
void press(QWidget* w, int key, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QKeyEvent over(QEvent::ShortcutOverride, key, m);
    QApplication::sendEvent(w, &over);
    QKeyEvent down(QEvent::KeyPress, key, m);
    QApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, key, m);
    QApplication::sendEvent(w, &up);
}

// The program with every driver call logged.
struct Logged {
    CallLog log;
    Harness h{[this](Harness& hh) { return std::make_unique<LoggingKx10>(*hh.sim, log); }};
    void connect() {
        h.form().SpeedButton20->click();
        ASSERT_EQ(1, h.st().Online);
        h.alerts.clear();
        log.clear();
    }
    std::vector<std::string> halts() const {
        std::vector<std::string> out;
        for (const std::string& c : log)
            if (c.rfind("KX10Motor_Halt", 0) == 0) out.push_back(c);
        return out;
    }
};

// Motors #1..#4 on module 2 (the creation defaults) and #6 on module 3 enabled.
const std::vector<std::string> kEveryHalt = {
    "KX10Motor_Halt 1 50 48 = 0", "KX10Motor_Halt 1 50 49 = 0", "KX10Motor_Halt 1 50 50 = 0",
    "KX10Motor_Halt 1 50 51 = 0", "KX10Motor_Halt 1 51 49 = 0"};

}  // namespace

TEST(OperatorKeys, EscHaltsEveryEnabledMotorFromEveryPageWithATextBoxFocused) {
    Logged l;
    l.connect();
    l.h.rec().MotorEnabled[5] = 1;
    l.h.form().show();
    for (int index = 0; index < l.h.form().PageMaster->count(); ++index) {
        l.h.form().PageMaster->setCurrentIndex(index);
        QWidget* page = l.h.form().PageMaster->currentWidget();
        QLineEdit* box = page->findChild<QLineEdit*>();
        QWidget* target = box ? static_cast<QWidget*>(box) : page;
        target->setFocus();
        l.log.clear();
        press(target, Qt::Key_Escape);
        EXPECT_EQ(kEveryHalt, l.halts()) << "page " << index;
        EXPECT_EQ(l.log.size(), l.halts().size()) << "page " << index << ": nothing but halts";
    }
    EXPECT_TRUE(l.h.alerts.messages.isEmpty());
    EXPECT_EQ(QStringLiteral("Esc: 全モータ停止"), l.h.alerts.statusTexts.value(0));

    // A halt that fails is named on the status bar, never in a box, and the others go on.
    l.h.sim->faults().failAlways("KX10Motor_Halt");
    l.h.alerts.clear();
    press(l.h.form().Edit1, Qt::Key_Escape);
    EXPECT_TRUE(l.h.alerts.messages.isEmpty());
    EXPECT_EQ(5, l.h.alerts.beeps);
    EXPECT_EQ(QStringLiteral("Motor#6 access error"), l.h.alerts.statusTexts.value(4));
}

TEST(OperatorKeys, EscDuringAMappingScanStopsItThroughItsStop) {
    Logged l;
    l.connect();
    Scan2DPage& scan = *l.h.form().NonStop2Dcollect;
    SetupScanPage& setup = *l.h.form().Setup2DSCAN;
    l.h.rec().RoiStart[0][1] = 630;
    l.h.rec().RoiEnd[0][1] = 650;
    setup.mapRoiCheck[0]->setChecked(true);
    setup.mapRoiName[0]->setText(QStringLiteral("Fe"));
    l.h.form().Edit27->setText(l.h.dir() + QLatin1Char('/'));
    l.h.form().PageMaster->setCurrentIndex(TForm9::kScan2D);
    l.h.dialogs.expect({QStringLiteral("exec"), QString(), 1, {}});
    scan.Button65->click();
    ASSERT_EQ(2, l.h.st().ScanMode);
    l.h.runTimers([&l] { return l.h.sim->stageX() < 0.05; }, 200);
    ASSERT_EQ(2, l.h.st().ScanMode);
    l.log.clear();
    press(scan.Edit141, Qt::Key_Escape);
    EXPECT_EQ(0, l.h.st().ScanMode);
    // The halts of every enabled motor first, then the scan's own Stop.
    ASSERT_GE(l.log.size(), 4u);
    EXPECT_EQ("KX10Motor_Halt 1 50 48 = 0", l.log[0]);
    EXPECT_EQ("KX10Motor_Halt 1 50 51 = 0", l.log[3]);
    EXPECT_EQ(0u, l.log[4].rfind("KX10Motor_Set_Interval_Pulse", 0)) << l.log[4];
    ASSERT_FALSE(l.h.alerts.statusTexts.isEmpty());
    EXPECT_TRUE(l.h.alerts.statusTexts.last().startsWith(QStringLiteral("2D scan stopped by the operator: ")))
        << l.h.alerts.statusTexts.last().toStdString();
    EXPECT_TRUE(l.h.alerts.messages.isEmpty());
}

TEST(OperatorKeys, EscDuringAnElementScanStopsItThroughItsStop) {
    Logged l;
    l.connect();
    ElementScanPage& p = *l.h.form().TabSheet1;
    p.Edit138->setText(QStringLiteral("6.4"));
    p.Edit148->setText(QStringLiteral("1"));
    p.Edit152->setText(QStringLiteral("0.5"));
    p.Button80->click();
    ASSERT_EQ(3, l.h.st().ScanMode);
    l.h.runTimers([&l] { return l.h.sim->stageX() < 1.0; }, 400);
    // Under the MCA page's preset box: the sweep, not the box, ends the measurement.
    McaPage& mca = *l.h.form().MCAcollect;
    EXPECT_TRUE(mca.PresetSeconds->text().startsWith(QStringLiteral("元素Scan 0/4  0:00:")))
        << mca.PresetSeconds->text().toStdString();
    EXPECT_TRUE(mca.Edit14->toolTip().contains(QStringLiteral("100000 (1000.00 s)")));
    l.log.clear();
    press(l.h.form().MCAcollect->Edit14, Qt::Key_Escape);
    EXPECT_EQ(0, l.h.st().ScanMode);
    EXPECT_FALSE(p.elementScanArmed());
    EXPECT_EQ("KX10Motor_Halt 1 50 48 = 0", l.log.at(0));
    EXPECT_EQ("KX10MCA_Stop 1 49 = 0", l.log.back()) << "the stop of 中止";
    const ElementScanSequencer& seq = p.sequencer();
    EXPECT_EQ(QStringLiteral("Element scan stopped: %1 of 4 strokes in %2")
                  .arg(seq.run().StrokesDone)
                  .arg(QString::fromLatin1(seq.display().elapsed)),
              p.LabelElemEnd->text());
    EXPECT_LT(seq.run().StrokesDone, 4);
    EXPECT_EQ(QStringLiteral("元素Scan %1/4 中止 %2")
                  .arg(seq.run().StrokesDone)
                  .arg(QString::fromLatin1(seq.display().elapsed)),
              mca.PresetSeconds->text());
    EXPECT_FALSE(l.h.form().RunName1->isVisibleTo(l.h.form().RunName1->parentWidget()));
}

TEST(OperatorKeys, PlotKeysMoveTheCursorAndF5F6AreStartAndStop) {
    Logged l;
    McaPage& m = *l.h.form().MCAcollect;
    l.h.form().show();
    int32_t& cursor = l.h.st().spectrum.CursorChannel[0];
    cursor = 2045;
    press(m.PaintBox1, Qt::Key_Right);
    EXPECT_EQ(2046, cursor);
    press(m.PaintBox1, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(2047, cursor) << "the last channel of 2048";
    press(m.PaintBox1, Qt::Key_Home);
    EXPECT_EQ(0, cursor);
    press(m.PaintBox1, Qt::Key_Left);
    EXPECT_EQ(0, cursor);
    cursor = 700;
    press(m.PaintBox1, Qt::Key_Plus, Qt::ShiftModifier);
    EXPECT_EQ(188, l.h.st().spectrum.ViewStartChannel) << "zoomed about the cursor";
    EXPECT_EQ(1211, l.h.st().spectrum.ViewEndChannel);
    press(m.PaintBox1, Qt::Key_End);
    EXPECT_EQ(1211, cursor);
    press(m.PaintBox1, Qt::Key_Minus);
    EXPECT_EQ(2048, l.h.st().spectrum.ViewChannelSpan);

    // Offline: F6 says so as STOP does; F5 does nothing, as START does, from the preset box too.
    l.h.alerts.clear();
    press(m.PaintBox1, Qt::Key_F6);
    EXPECT_EQ(QStringList{QStringLiteral("Offline!!")}, l.h.alerts.messages);
    press(m.Edit14, Qt::Key_F5);
    EXPECT_TRUE(l.log.empty());

    l.connect();
    m.Edit14->setText(QStringLiteral("4500"));
    EXPECT_EQ(QStringLiteral("= 45.00 s"), m.PresetSeconds->text());
    m.CheckBox13->setChecked(false);
    press(m.PaintBox1, Qt::Key_F5);
    EXPECT_TRUE(l.log.empty()) << "START without MCA1 selected does nothing";
    m.CheckBox13->setChecked(true);
    press(m.Edit14, Qt::Key_F5);
    EXPECT_EQ((CallLog{"KX10MCA_2DSCAN_OFFSET 1 49 0 = 0", "KX10MCA_Preset 1 49 0 2048 4500 = 0",
                       "KX10MCA_Start 1 49 = 0", "KX10MCA_2DSCAN_OFFSET 1 49 0 = 0"}),
              l.log);
    // While it measures, a new value in the box is for the next START.
    l.h.tick1();
    m.Edit14->setText(QStringLiteral("9000"));
    EXPECT_EQ(QStringLiteral("測定中 45.00 s"), m.PresetSeconds->text());
    l.log.clear();
    press(m.PaintBox1, Qt::Key_F6);
    EXPECT_EQ((CallLog{"KX10MCA_Stop 1 49 = 0"}), l.log);
    EXPECT_TRUE(m.Button5->toolTip().contains(QStringLiteral("F5")));
    EXPECT_TRUE(m.Button4->toolTip().contains(QStringLiteral("F6")));
}
