#include "scan/StageControl.h"

#include "StageFakeKx10.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;
using Call = StageFakeKx10::Call;

namespace {

// Motors #1..#4 on the controller at HEX-SW 2, #5..#8 at HEX-SW 3; all enabled; online.
struct Stage : ::testing::Test {
    InfoRecord rec{};
    MotorStatusReadout last;
    int32_t online = 1;
    StageFakeKx10 kx;
    FakeAlerts alerts;
    StageControl stage{rec, last, online, kx, alerts};

    void SetUp() override {
        for (int i = 0; i < 8; ++i) {
            rec.MotorHexSw[i] = i < 4 ? 2 : 3;
            rec.MotorEnabled[i] = 1;
            rec.MotorLogicalPulses[i] = 100;
        }
    }
};

}  // namespace

TEST_F(Stage, ReadMotorPositionConvertsAndRecordsTheState) {
    rec.MotorLogicalPulses[0] = 400;
    kx.axis('2', '0').pulses = -5000;
    kx.axis('2', '0').status = "S1100";  // moving, CCW limit
    bool ok = false;
    EXPECT_DOUBLE_EQ(-12.5, stage.ReadMotorPosition(0, &ok));
    EXPECT_TRUE(ok);
    EXPECT_EQ(-5000, last.pulses);
    EXPECT_EQ(1, last.busy);
    EXPECT_EQ(1, last.ccw);
    EXPECT_EQ(0, last.cw);
    EXPECT_EQ((std::vector<Call>{{"read", '2', '0', 0}, {"status", '2', '0', 0}}), kx.calls);

    // Motor #7: module of HEX-SW 3, axis '2'; CW limit only.
    kx.axis('3', '2').pulses = 250;
    kx.axis('3', '2').status = "S0001";
    EXPECT_DOUBLE_EQ(2.5, stage.ReadMotorPosition(6));
    EXPECT_EQ(0, last.busy);
    EXPECT_EQ(0, last.ccw);
    EXPECT_EQ(1, last.cw);
    EXPECT_EQ(0, alerts.beeps);
}

TEST_F(Stage, FailedReadIsReportedInTheStatusBar) {
    kx.failing.insert("read");
    kx.axis('2', '1').status = "S1000";
    bool ok = true;
    stage.ReadMotorPosition(1, &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(1, alerts.beeps);
    EXPECT_EQ(QStringList{QStringLiteral("Motor#2 Read PAddr error")}, alerts.statusTexts);
    EXPECT_TRUE(alerts.messages.isEmpty());
    EXPECT_EQ(1, last.busy) << "the state is still read";
}

TEST_F(Stage, MotorWithoutAScaleReadsAsZero) {
    rec.MotorLogicalPulses[2] = 0;
    kx.axis('2', '2').pulses = 777;
    EXPECT_DOUBLE_EQ(0.0, stage.ReadMotorPosition(2));
    EXPECT_EQ(777, last.pulses);
    rec.MotorLogicalPulses[2] = -10;
    EXPECT_DOUBLE_EQ(0.0, stage.ReadMotorPosition(2));
}

TEST_F(Stage, MotorBusyReadsTheMovingCharacter) {
    kx.axis('2', '3').status = "S1";
    EXPECT_EQ(1, stage.MotorBusy(3));
    kx.axis('2', '3').status = "S0";
    EXPECT_EQ(0, stage.MotorBusy(3));
    kx.axis('2', '3').status = "S?";
    EXPECT_EQ(-1, stage.MotorBusy(3));
    kx.failing.insert("status");  // nothing in the reply
    EXPECT_EQ(-1, stage.MotorBusy(3));
    kx.calls.clear();
    EXPECT_EQ(-1, stage.MotorBusy(8));
    EXPECT_DOUBLE_EQ(0.0, stage.ReadMotorPosition(-1));
    EXPECT_TRUE(kx.calls.empty()) << "no call for a motor index outside 0..7";
    EXPECT_EQ(0, alerts.beeps);
}

TEST_F(Stage, JogAddsTheStepToThePresentPosition) {
    rec.MotorLogicalPulses[0] = 400;
    kx.axis('2', '0').pulses = 4000;  // 10.0
    stage.jog(1, 0.5);
    kx.axis('2', '0').pulses = -4000;  // -10.0
    stage.jog(1, -0.5);
    EXPECT_EQ((std::vector<Call>{{"move", '2', '0', 4200}, {"move", '2', '0', -4199}}),
              kx.commands());

    // Motor #6 sits on the second controller, axis '1'.
    kx.axis('3', '1').pulses = 100;
    stage.jog(6, -2.5);
    EXPECT_EQ((Call{"move", '3', '1', -149}), kx.commands().back()) << "1.0 - 2.5 = -1.5 units";
    EXPECT_EQ(0, alerts.beeps);
}

TEST_F(Stage, JogOnAFailedReadIsNotSent) {
    kx.failing.insert("read");
    stage.jog(2, 1.0);
    EXPECT_TRUE(kx.commands().empty());
    EXPECT_EQ(QStringList{QStringLiteral("Motor#2 Read PAddr error")}, alerts.statusTexts);
}

TEST_F(Stage, FailedJogMoveGoesToTheStatusBar) {
    kx.failing.insert("move");
    stage.jog(2, 1.0);
    EXPECT_EQ(1, alerts.beeps);
    EXPECT_EQ(QStringList{QStringLiteral("Motor#2 Move error")}, alerts.statusTexts);
    EXPECT_TRUE(alerts.messages.isEmpty());
}

TEST_F(Stage, EditSetsTheCounterWithoutMoving) {
    stage.setCounter(5, 2.5);
    EXPECT_EQ((std::vector<Call>{{"set", '3', '0', 250}}), kx.commands());
    stage.setCounter(3, 1.239);
    stage.moveTo(4, -1.239);
    EXPECT_EQ((Call{"set", '2', '2', 124}), kx.commands()[1]);
    EXPECT_EQ((Call{"move", '2', '3', -123}), kx.commands()[2]);
    kx.calls.clear();
    stage.setCounterZero(1);
    stage.moveToZero(2);
    stage.halt(8);
    EXPECT_EQ((std::vector<Call>{{"set", '2', '0', 0}, {"move", '2', '1', 0}, {"halt", '3', '3', 0}}),
              kx.commands());
}

TEST_F(Stage, OfflineNothingIsSentAndTheStatusBarSaysWhy) {
    online = 0;
    stage.jog(1, 1.0);
    stage.setCounter(3, 1.0);
    stage.setCounterZero(1);
    stage.moveTo(4, 1.0);
    stage.moveToZero(2);
    stage.halt(5);
    rec.MotorLogicalPulses[6] = 0;
    stage.jog(7, 1.0);
    EXPECT_TRUE(kx.calls.empty());
    EXPECT_EQ(0, alerts.beeps);
    ASSERT_EQ(7, alerts.statusTexts.size()) << "one per command";
    EXPECT_EQ(QStringLiteral("オフラインです。ツールバーの接続の後にモーターを操作してください"),
              alerts.statusTexts.last());
    EXPECT_TRUE(alerts.messages.isEmpty());
}

TEST_F(Stage, DisabledMotorsAreSkippedAndOnlyAJogSaysWhy) {
    rec.MotorEnabled[1] = 0;
    stage.halt(2);
    stage.setCounterZero(2);
    stage.moveToZero(2);
    stage.moveToZero(1);
    stage.moveToZero(3);
    EXPECT_EQ((std::vector<Call>{{"move", '2', '0', 0}, {"move", '2', '2', 0}}), kx.commands());
    EXPECT_TRUE(alerts.statusTexts.isEmpty()) << "commands on several axes pass over it";
    stage.jog(2, 1.0);
    EXPECT_EQ(QStringList{QStringLiteral("Motor#2 は使わない設定です (SETUP ページのチェック)")},
              alerts.statusTexts);
    EXPECT_EQ(0, alerts.beeps);
    stage.jog(0, 1.0);  // no such motor
    stage.halt(9);
    EXPECT_EQ(2u, kx.calls.size());
}

TEST_F(Stage, MotorWithoutAScaleRefusesLogicalCommands) {
    rec.MotorLogicalPulses[3] = 0;
    stage.jog(4, 1.0);
    stage.setCounter(4, 1.0);
    stage.moveTo(4, 1.0);
    EXPECT_TRUE(kx.calls.empty());
    EXPECT_EQ(3, alerts.beeps);
    EXPECT_EQ(3, alerts.statusTexts.size());
    EXPECT_EQ(QStringLiteral("Motor#4 LogicalPulse setting error"), alerts.statusTexts.first());
    // Halting and zeroing need no scale.
    stage.halt(4);
    stage.setCounterZero(4);
    EXPECT_EQ((std::vector<Call>{{"halt", '2', '3', 0}, {"set", '2', '3', 0}}), kx.commands());
}

TEST_F(Stage, FailedSetGoToAndHaltShowTheAccessError) {
    kx.failing = {"set", "move", "halt"};
    stage.setCounter(3, 1.0);
    stage.moveTo(6, 1.0);
    stage.halt(1);
    stage.moveToZero(2);
    EXPECT_EQ(4, alerts.beeps);
    EXPECT_EQ((QStringList{"Motor#3 access error", "Motor#6 access error", "Motor#1 access error",
                           "Motor#2 access error"}),
              alerts.messages);
    EXPECT_TRUE(alerts.statusTexts.isEmpty());
}
