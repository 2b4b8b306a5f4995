// The stage buttons and position displays of the 2D SCAN and element scan pages, in the running
// program against the simulated instrument: jogs, set-zero, go-to-origin and halts, the boxes
// yellow while a motor moves, the limit lamps at the ends of travel.

#include "app/FieldText.h"
#include "instrument/SetupPage.h"
#include "scan/ElementScanPage.h"
#include "scan/Scan2DPage.h"
#include "scan/SetupScanPage.h"
#include "support/Harness.h"

#include <QTabWidget>
#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;

namespace {

void connectInstrument(Harness& h) {
    h.form().SpeedButton20->click();
    ASSERT_EQ(1, h.st().Online);
    h.alerts.clear();   // the new information file's notice, the version text
}

void showPage(Harness& h, int index) {
    h.form().PageMaster->setCurrentIndex(index);
    h.form().Timer1Timer();   // the tick that enters the page
}

QColor base(QLineEdit* e) { return e->palette().color(QPalette::Base); }

// Pulse address of an axis of the stage controller (module 2): X '0', Y '1', Z '2'.
int32_t address(Harness& h, int axis) {
    h.sim->advance();
    return h.sim->motors(2)->address(axis);
}
bool moving(Harness& h, int axis) {
    h.sim->advance();
    return h.sim->motors(2)->moving(axis);
}

int moveCalls(Harness& h) { return h.sim->faults().calls("KX10Motor_MoveTo_PAddress"); }

}  // namespace

TEST(Scan2DStage, JogsShowTheMotionAndTheNewPositions) {
    Harness h;
    connectInstrument(h);
    showPage(h, TForm9::kScan2D);
    Scan2DPage& p = *h.form().NonStop2Dcollect;

    // X ▶ by JogStepX (1 unit = 100 pulses): yellow while it runs, white at 1.0000.
    p.Button73->click();
    h.tick1(200);
    EXPECT_EQ(QColor(Qt::yellow), base(p.Edit143));
    EXPECT_NE(formatPosition(1.0), p.Edit143->text());
    h.tick1(3000);
    EXPECT_EQ(QColor(Qt::white), base(p.Edit143));
    EXPECT_EQ(formatPosition(1.0), p.Edit143->text());
    // A new scale shows the standing motor's 100 pulses anew.
    h.rec().MotorLogicalPulses[0] = 200;
    h.tick1(300);
    EXPECT_EQ(formatPosition(0.5), p.Edit143->text());
    h.rec().MotorLogicalPulses[0] = 100;
    h.tick1(300);
    EXPECT_EQ(formatPosition(1.0), p.Edit143->text());
    // The second jog starts from the position read at the click.
    p.Button73->click();
    h.tick1(3000);
    EXPECT_EQ(formatPosition(2.0), p.Edit143->text());
    EXPECT_EQ(200, address(h, 0));
    p.Button72->click();
    h.tick1(3000);
    EXPECT_EQ(formatPosition(1.0), p.Edit143->text());

    // Y by JogStepY, Z by the jog step of motor #3 (typed on the Setup SCAN page).
    h.form().Setup2DSCAN->Edit79->setText(QStringLiteral("0.25"));
    h.form().Setup2DSCAN->Edit86->setText(QStringLiteral("0.5"));
    p.Button69->click();
    p.Button76->click();
    h.tick1(3000);
    EXPECT_EQ(formatPosition(0.25), p.Edit142->text());
    EXPECT_EQ(formatPosition(0.5), p.Edit144->text());
    p.Button71->click();
    p.Button75->click();
    h.tick1(3000);
    EXPECT_EQ(formatPosition(0.0), p.Edit142->text());
    EXPECT_EQ(formatPosition(0.0), p.Edit144->text());
    EXPECT_EQ(0, address(h, 1));
    EXPECT_EQ(0, address(h, 2));
}

TEST(Scan2DStage, SetZeroAndGotoOriginActOnTheEnabledMotorsOnly) {
    Harness h;
    connectInstrument(h);
    showPage(h, TForm9::kScan2D);
    Scan2DPage& p = *h.form().NonStop2Dcollect;
    h.form().Setup2DSCAN->Edit86->setText(QStringLiteral("1"));
    p.Button73->click();
    p.Button69->click();
    p.Button76->click();
    h.tick1(3000);
    ASSERT_EQ(100, address(h, 0));
    ASSERT_EQ(100, address(h, 1));
    ASSERT_EQ(100, address(h, 2));

    // Set 0 redefines the present place without moving.
    p.Button74->click();
    h.tick1(100);
    EXPECT_EQ(formatPosition(0.0), p.Edit143->text());
    EXPECT_FALSE(moving(h, 0));
    p.Button73->click();   // X to 1.0 of the new scale
    h.tick1(3000);

    // GOTO (0,0,0) with motor #2 switched off on the SETUP page: X and Z return, Y stays.
    h.form().SETUP->CheckBox3->setChecked(false);
    ASSERT_EQ(0, h.rec().MotorEnabled[1]);
    p.Button63->click();
    h.tick1(3000);
    EXPECT_EQ(0, address(h, 0));
    EXPECT_EQ(100, address(h, 1));
    EXPECT_EQ(0, address(h, 2));
    EXPECT_EQ(formatPosition(0.0), p.Edit144->text());
    EXPECT_EQ(formatPosition(1.0), p.Edit142->text()) << "a disabled motor's box is not read";

    // GOTO (0,0) moves X and Y only; Set 0 of Y and Z.
    h.form().SETUP->CheckBox3->setChecked(true);
    p.Button76->click();
    h.tick1(3000);
    p.Button64->click();
    h.tick1(3000);
    EXPECT_EQ(0, address(h, 1));
    EXPECT_EQ(100, address(h, 2));
    p.Button77->click();
    p.Button70->click();
    EXPECT_EQ(0, address(h, 2));
    EXPECT_TRUE(h.alerts.messages.isEmpty()) << h.alerts.messages.join('|').toStdString();
}

TEST(Scan2DStage, StopMotorHaltsTheAxesInMidMove) {
    Harness h;
    connectInstrument(h);
    showPage(h, TForm9::kScan2D);
    Scan2DPage& p = *h.form().NonStop2Dcollect;
    h.form().Setup2DSCAN->Edit80->setText(QStringLiteral("20"));
    h.form().Setup2DSCAN->Edit86->setText(QStringLiteral("20"));
    p.Button73->click();
    p.Button76->click();
    h.tick1(1000);
    EXPECT_EQ(QColor(Qt::yellow), base(p.Edit143));
    p.Button68->click();
    h.tick1(2000);
    EXPECT_FALSE(moving(h, 0));
    EXPECT_FALSE(moving(h, 2));
    EXPECT_LT(address(h, 0), 2000);
    EXPECT_GT(address(h, 0), 0);
    EXPECT_EQ(QColor(Qt::white), base(p.Edit143));
    EXPECT_EQ(QColor(Qt::white), base(p.Edit144));
    EXPECT_EQ(formatPosition(address(h, 0) / 100.0), p.Edit143->text());
}

TEST(Scan2DStage, RefusedCommandsMoveNothing) {
    Harness h;
    Scan2DPage& p = *h.form().NonStop2Dcollect;
    h.form().PageMaster->setCurrentIndex(TForm9::kScan2D);
    h.alerts.clear();
    // Offline: the buttons and the tick do not reach the instrument.
    for (QPushButton* b : {p.Button73, p.Button69, p.Button76, p.Button63, p.Button64,
                           p.Button68, p.Button74})
        b->click();
    h.tick1(800);
    EXPECT_EQ(0, moveCalls(h));
    EXPECT_EQ(0, h.sim->faults().calls("KX10Motor_Read_Paddress"));
    EXPECT_EQ(0, h.sim->faults().calls("KX10Motor_Halt"));
    EXPECT_EQ(0, h.sim->faults().calls("KX10Motor_Set_Pulse_Address"));
    EXPECT_TRUE(h.alerts.messages.isEmpty());

    connectInstrument(h);
    h.alerts.clear();
    // A failed position read: reported, and no jog is built on it.
    h.sim->faults().fail("KX10Motor_Read_Paddress");
    p.Button73->click();
    EXPECT_EQ(0, moveCalls(h));
    EXPECT_EQ(QStringList{QStringLiteral("Motor#1 Read PAddr error")}, h.alerts.statusTexts);
    EXPECT_EQ(1, h.alerts.beeps);
    // No pulses per unit: the jog is refused naming the motor.
    h.alerts.clear();
    h.rec().MotorLogicalPulses[0] = 0;
    p.Button72->click();
    EXPECT_EQ(0, moveCalls(h));
    EXPECT_EQ(QStringList{QStringLiteral("Motor#1 LogicalPulse setting error")},
              h.alerts.statusTexts);
    // A failed go-to: beep and the access message, the other motors still act.
    h.alerts.clear();
    h.sim->faults().fail("KX10Motor_MoveTo_PAddress");
    p.Button63->click();
    EXPECT_EQ(QStringList{QStringLiteral("Motor#1 access error")}, h.alerts.messages);
    EXPECT_EQ(3, moveCalls(h));
}

TEST(ElementScanStage, JogPadDrivesTheStageAndTheLampsShowTheEndsOfTravel) {
    Harness h;
    connectInstrument(h);
    showPage(h, TForm9::kElementScan);
    ElementScanPage& p = *h.form().TabSheet1;
    // Until the first read the boxes show the step counts; the first tick shows the positions.
    h.tick1(100);
    EXPECT_EQ(formatPosition(0.0), p.Edit157->text());
    EXPECT_EQ(formatPosition(0.0), p.Edit156->text());
    EXPECT_FALSE(p.Image9->isLit());

    // X ▶ by 60 units runs into the CW switch at 50 units (5000 pulses).
    h.form().Setup2DSCAN->Edit80->setText(QStringLiteral("60"));
    p.Button83->click();
    h.tick1(1000);
    EXPECT_EQ(QColor(Qt::yellow), base(p.Edit157));
    h.tick1(40000);
    EXPECT_TRUE(p.Image9->isLit());
    EXPECT_FALSE(p.Image7->isLit());
    EXPECT_EQ(formatPosition(50.0), p.Edit157->text());
    EXPECT_EQ(QColor(Qt::white), base(p.Edit157));
    // Back off the switch: the lamp goes out while the motor runs; the halt stops it.
    p.Button84->click();
    h.tick1(1000);
    EXPECT_FALSE(p.Image9->isLit());
    EXPECT_EQ(QColor(Qt::yellow), base(p.Edit157));
    p.Button85->click();
    h.tick1(100);
    EXPECT_EQ(QColor(Qt::white), base(p.Edit157));
    EXPECT_FALSE(moving(h, 0));

    // Y ▼ by 60 units reaches the CCW switch.
    h.form().Setup2DSCAN->Edit79->setText(QStringLiteral("60"));
    p.Button82->click();
    h.tick1(40000);
    EXPECT_TRUE(p.Image6->isLit());
    EXPECT_FALSE(p.Image8->isLit());
    EXPECT_EQ(formatPosition(-50.0), p.Edit156->text());
    h.form().Setup2DSCAN->Edit79->setText(QStringLiteral("1"));
    p.Button81->click();
    h.tick1(3000);
    EXPECT_FALSE(p.Image6->isLit());
    // -50 + 1 = -49 units is -4899.5 + 0.5 pulses, truncated toward zero: -4899.
    EXPECT_EQ(formatPosition(-48.99), p.Edit156->text());

    // The two counters to (0,0) here.
    p.Button86->click();
    h.tick1(100);
    EXPECT_EQ(formatPosition(0.0), p.Edit157->text());
    EXPECT_EQ(formatPosition(0.0), p.Edit156->text());
    EXPECT_TRUE(h.alerts.messages.isEmpty()) << h.alerts.messages.join('|').toStdString();
}

TEST(ElementScanStage, OfflineTheDutyReadsNothingAndDisabledMotorsStay) {
    Harness h;
    showPage(h, TForm9::kElementScan);
    ElementScanPage& p = *h.form().TabSheet1;
    h.tick1(800);
    EXPECT_EQ(0, h.sim->faults().calls("KX10Motor_Read_Paddress"));
    EXPECT_EQ(QString::number(h.rec().ScanXSteps), p.Edit157->text());

    connectInstrument(h);
    h.form().SETUP->CheckBox2->setChecked(false);   // motor #1 (X) off
    p.Button83->click();
    p.Button81->click();
    h.tick1(3000);
    EXPECT_EQ(0, address(h, 0));
    EXPECT_EQ(100, address(h, 1));
    EXPECT_EQ(QString::number(h.rec().ScanXSteps), p.Edit157->text()) << "X is not read";
    EXPECT_EQ(formatPosition(1.0), p.Edit156->text());
}
