// The connect button against the simulated instrument, with faults at each step of the sequence.

#include "instrument/SetupPage.h"
#include "support/Harness.h"

#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;

namespace {

bool lampOnline(Harness& h) {
    return h.form().qorON->isVisibleTo(&h.form()) && !h.form().qorOFF->isVisibleTo(&h.form());
}

void press(Harness& h) {
    h.alerts.clear();
    h.form().SpeedButton20->click();
}

}  // namespace

TEST(ConnectWindow, OpenFailsThenLaterPressesSkipTheOpen) {
    Harness h;
    h.sim->faults().fail("KX10USB_Open");
    press(h);
    EXPECT_EQ(QStringList{"OPEN Error"}, h.alerts.messages);
    EXPECT_EQ(0, h.st().Online);
    EXPECT_FALSE(lampOnline(h));
    const int opens = h.sim->faults().calls("KX10USB_Open");

    // The interface is never opened again: the version request finds no open interface.
    press(h);
    EXPECT_EQ(opens, h.sim->faults().calls("KX10USB_Open"));
    EXPECT_EQ(QStringList{"READ Version timeout error"}, h.alerts.messages);
    EXPECT_EQ(1, h.st().Online) << "the program stays online after the time-out";
    EXPECT_TRUE(lampOnline(h));
    EXPECT_EQ(0, h.st().MotorsInitialised);
}

TEST(ConnectWindow, LostVersionRequestTimesOut) {
    Harness h;
    h.sim->faults().fail("KX10USB_Write");
    const int64_t before = h.clock.now;
    press(h);
    EXPECT_GE(h.alerts.beeps, 2) << "the failed write and the time-out both beep";
    EXPECT_EQ(QStringList{"READ Version timeout error"}, h.alerts.messages);
    EXPECT_GE(h.clock.now - before, 1000) << "a thousand polls with 1 ms waits";
    // The next press succeeds.
    press(h);
    EXPECT_TRUE(h.alerts.messages.isEmpty());
    EXPECT_EQ(1, h.st().MotorsInitialised);
}

TEST(ConnectWindow, DisabledMotorIsSkippedAndMissingModulesAreNamed) {
    Harness h;
    SetupPage& setup = *h.form().SETUP;
    setup.CheckBox4->setChecked(false);   // MOTOR#3 off, MOTOR#4 stays on
    const int statusBefore = h.sim->faults().calls("KX10Motor_Get_Status");
    const int speedBefore = h.sim->faults().calls("KX10Motor_Set_Speed");
    press(h);
    EXPECT_TRUE(h.alerts.messages.isEmpty()) << h.alerts.messages.join(" | ").toStdString();
    EXPECT_EQ(3, h.sim->faults().calls("KX10Motor_Get_Status") - statusBefore);
    EXPECT_EQ(3, h.sim->faults().calls("KX10Motor_Set_Speed") - speedBefore);
    EXPECT_EQ(1, h.st().Online);

    // MCA1 silent.
    h.sim->removeModule(1);
    press(h);
    EXPECT_EQ(QStringList{QStringLiteral("ＭＣＡから応答がありません")}, h.alerts.messages);
    EXPECT_EQ(0, h.st().Online);
    EXPECT_TRUE(lampOnline(h)) << "a presence failure leaves the lamp as it was";
    h.sim->addModule(1, SimModuleKind::Mca);

    // The counter enabled but not fitted.
    setup.CheckBox10->setChecked(true);
    setup.CBHEXcounter1->setCurrentIndex(9);
    setup.CBHEXcounter1Change();
    press(h);
    EXPECT_EQ(QStringList{QStringLiteral("タイマースケーラーから応答がありません")}, h.alerts.messages);
    EXPECT_EQ(0, h.st().Online);

    // A motor controller that is not there.
    setup.CheckBox10->setChecked(false);
    h.sim->removeModule(2);
    press(h);
    EXPECT_EQ(QStringList{QStringLiteral("モータ#1　応答がありません")}, h.alerts.messages);
    EXPECT_EQ(0, h.st().Online);
}

TEST(ConnectWindow, SavedPositionsAreRestoredAndReadBackAtClose) {
    QTemporaryDir dir;
    {
        Harness h(dir.path());
        h.rec().MotorSavedPosition[0] = 1234;
        press(h);
        ASSERT_EQ(1, h.st().Online);
        char reply[kPaddressReplySize + 1] = {};
        ASSERT_GE(h.sim->KX10Motor_Read_Paddress(1, '2', '0', reply, kPaddressReplySize), 0);
        reply[0] = ' ';
        reply[11] = '\0';
        EXPECT_EQ(1234, std::atoi(reply));
        // Move X by hand, then close: the new position is saved.
        ASSERT_GE(h.sim->KX10Motor_Set_Pulse_Address(1, '2', '0', -555), 0);
        h.close();
    }
    Harness again(dir.path());
    EXPECT_EQ(-555, again.rec().MotorSavedPosition[0]);
    EXPECT_EQ(0, again.rec().MotorSavedPosition[1]);
}

// --- Disconnect ---------------------------------------------------------------------------

namespace {
int calls(Harness& h, const char* op) { return h.sim->faults().calls(op); }
}  // namespace

TEST(DisconnectWindow, GoesOfflineKeepingThePositionsAndTheNextConnectOpensAgain) {
    Harness h;
    press(h);
    ASSERT_EQ(1, h.st().Online);
    // The stage was driven during the session: X at 1234 pulses, Y at -56.
    h.sim->KX10Motor_Set_Pulse_Address(1, '2', 0, 1234);
    h.sim->KX10Motor_Set_Pulse_Address(1, '2', 1, -56);
    const int reads = calls(h, "KX10Motor_Read_Paddress");

    h.alerts.clear();
    h.form().SpeedButton34->click();
    EXPECT_EQ(0, h.st().Online);
    EXPECT_FALSE(lampOnline(h));
    EXPECT_TRUE(h.form().qorOFF->isVisibleTo(&h.form()));
    EXPECT_EQ(QStringList{QStringLiteral("切断しました (オフライン)")}, h.alerts.statusTexts);
    EXPECT_TRUE(h.alerts.messages.isEmpty());
    EXPECT_EQ(4, calls(h, "KX10Motor_Read_Paddress") - reads) << "motors 1-4 read back";
    EXPECT_EQ(1234, h.rec().MotorSavedPosition[0]);
    EXPECT_EQ(-56, h.rec().MotorSavedPosition[1]);

    // Offline: the MCA tick reads nothing.
    const int spectrumReads = calls(h, "KX10MCA_ReadSEQ");
    h.tick1();
    EXPECT_EQ(spectrumReads, calls(h, "KX10MCA_ReadSEQ"));

    // The controller lost its counters meanwhile; the connect opens again and restores them.
    h.sim->KX10Motor_Set_Pulse_Address(1, '2', 0, 0);
    h.sim->KX10Motor_Set_Pulse_Address(1, '2', 1, 0);
    const int opens = calls(h, "KX10USB_Open");
    press(h);
    EXPECT_EQ(opens + 1, calls(h, "KX10USB_Open"));
    EXPECT_EQ(1, h.st().Online);
    EXPECT_TRUE(lampOnline(h));
    EXPECT_TRUE(h.alerts.messages.isEmpty());
    h.sim->advance();
    EXPECT_EQ(1234, h.sim->motors(2)->address(0));
    EXPECT_EQ(-56, h.sim->motors(2)->address(1));
}

TEST(DisconnectWindow, RefusedWhileAScanRunsAndTheCloseAfterItLeavesTheInstrumentAlone) {
    QTemporaryDir dir;
    {
        Harness h(dir.path());
        press(h);
        h.st().ScanMode = 2;
        const int reads = calls(h, "KX10Motor_Read_Paddress");
        h.alerts.clear();
        h.form().SpeedButton34->click();
        EXPECT_EQ(QStringList{QStringLiteral("スキャン中は切断できません。先にスキャンを止めてください")},
                  h.alerts.messages);
        EXPECT_EQ(1, h.st().Online);
        EXPECT_TRUE(lampOnline(h));
        EXPECT_EQ(reads, calls(h, "KX10Motor_Read_Paddress"));

        h.st().ScanMode = 0;
        h.sim->KX10Motor_Set_Pulse_Address(1, '2', 2, 777);
        h.form().SpeedButton34->click();
        ASSERT_EQ(0, h.st().Online);
        const int afterDisconnect = calls(h, "KX10Motor_Read_Paddress");
        h.alerts.clear();
        h.close();
        EXPECT_EQ(afterDisconnect, calls(h, "KX10Motor_Read_Paddress"));
        EXPECT_TRUE(h.alerts.messages.isEmpty());
    }
    Harness again(dir.path());
    EXPECT_EQ(777, again.rec().MotorSavedPosition[2]);
}
