#include "instrument/Connection.h"

#include "support/Fakes.h"
#include "support/ScriptedKx10.h"

#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;

namespace {

struct ConnectFixture : ::testing::Test {
    ConnectFixture() {
        setCreationDefaults(st.rec, "/tmp/");
        kx.qsize = 10;   // the version reply is waiting
        kx.replies["KX10USB_Read"] = "KX10 V2.03";
        hooks.showLamp = [this](bool on) { lamps.push_back(on); };
        hooks.initialiseMotors = [this] { ++inits; };
    }
    void connect() { runConnectSequence(st, kx, alerts, clock, hooks); }

    AppState st;
    ScriptedKx10 kx;
    FakeAlerts alerts;
    ManualClock clock;
    ConnectHooks hooks;
    std::vector<bool> lamps;
    int inits = 0;
};

}  // namespace

TEST_F(ConnectFixture, DefaultModulesGoOnlineWithTheVersionText) {
    kx.qsizes = {0};   // nothing pending before the request
    connect();
    EXPECT_EQ(1, st.Online);
    EXPECT_EQ(1, st.MotorsInitialised);
    EXPECT_EQ(1, inits);
    EXPECT_EQ(std::vector<bool>{true}, lamps);
    EXPECT_EQ(QStringList{QStringLiteral("KX10 V2.03")}, alerts.statusTexts);
    EXPECT_TRUE(alerts.messages.isEmpty());
    EXPECT_EQ(QStringLiteral("KX10USB_Open B4721mRT 1500 1500"), kx.calls.first());
    // Motors 1-4 are axes 0..3 of module 2; the presence check passes the port index as a number.
    EXPECT_EQ((QStringList{"KX10Motor_Get_Status 2 0", "KX10Motor_Get_Status 2 1",
                           "KX10Motor_Get_Status 2 2", "KX10Motor_Get_Status 2 3"}),
              kx.callsOf("KX10Motor_Get_Status"));
    EXPECT_EQ((QStringList{"KX10Motor_Set_Pulse_Address 2 0 0", "KX10Motor_Set_Pulse_Address 2 1 0",
                           "KX10Motor_Set_Pulse_Address 2 2 0", "KX10Motor_Set_Pulse_Address 2 3 0"}),
              kx.callsOf("KX10Motor_Set_Pulse_Address"));
    EXPECT_EQ(QStringList{"KX10MCA_Status 1"}, kx.callsOf("KX10MCA_Status"));
    EXPECT_TRUE(kx.callsOf("KX10SC24_Status").isEmpty());
}

TEST_F(ConnectFixture, FailedOpenIsNeverRetriedAndTheNextPressTimesOut) {
    kx.failures["KX10USB_Open"] = 1;
    connect();
    EXPECT_EQ(0, st.Online);
    EXPECT_EQ(0, st.UsbOpenAllowed);
    EXPECT_EQ(QStringList{"OPEN Error"}, alerts.messages);
    EXPECT_EQ(std::vector<bool>{false}, lamps);

    alerts.clear();
    kx.calls.clear();
    kx.qsize = 0;   // no interface answers
    const int64_t before = clock.now;
    connect();
    EXPECT_TRUE(kx.callsOf("KX10USB_Open").isEmpty());
    EXPECT_EQ(QStringList{"READ Version timeout error"}, alerts.messages);
    EXPECT_EQ(1, st.Online) << "the program stays online after a version time-out";
    EXPECT_EQ(1000 + 1, kx.callsOf("KX10USB_ReadQsize").size());
    EXPECT_EQ(2 + 1000, clock.now - before);
    EXPECT_EQ(0, st.MotorsInitialised);
}

TEST_F(ConnectFixture, PendingInputIsDroppedInBoundedPieces) {
    kx.qsizes = {1000};
    connect();
    const QStringList reads = kx.callsOf("KX10USB_Read");
    ASSERT_EQ(5, reads.size());   // 256 + 256 + 256 + 232, then the 10-byte version
    EXPECT_EQ("KX10USB_Read 256", reads[0]);
    EXPECT_EQ("KX10USB_Read 232", reads[3]);
    EXPECT_EQ("KX10USB_Read 10", reads[4]);
}

TEST_F(ConnectFixture, SkipsDisabledMotorsAndReportsTheSilentOne) {
    st.rec.MotorEnabled[2] = 0;
    connect();
    EXPECT_EQ(3, kx.callsOf("KX10Motor_Get_Status").size());
    EXPECT_EQ(3, kx.callsOf("KX10Motor_Set_Pulse_Address").size());

    st.rec.MotorEnabled[2] = 1;
    kx.calls.clear();
    kx.failures["KX10Motor_Get_Status"] = 3;   // motors 1, 2 and 3 ... motor 1 fails first
    connect();
    EXPECT_EQ(QStringLiteral("モータ#1　応答がありません"), alerts.messages.last());
    EXPECT_EQ(0, st.Online);
    EXPECT_TRUE(kx.callsOf("KX10MCA_Status").isEmpty());
}

TEST_F(ConnectFixture, McaAndCounterMustAnswer) {
    kx.failures["KX10MCA_Status"] = 1;
    connect();
    EXPECT_EQ(QStringLiteral("ＭＣＡから応答がありません"), alerts.messages.last());
    EXPECT_EQ(0, st.Online);
    EXPECT_EQ(std::vector<bool>{true}, lamps) << "presence failures leave the lamp";

    st.rec.CounterEnabled[0] = 1;
    kx.failures["KX10SC24_Status"] = 1;
    connect();
    EXPECT_EQ(QStringLiteral("タイマースケーラーから応答がありません"), alerts.messages.last());
    EXPECT_EQ(QStringList{"KX10SC24_Status 7"}, kx.callsOf("KX10SC24_Status"));
    EXPECT_EQ(0, st.Online);
}

TEST_F(ConnectFixture, EveryModuleDisabledStillGoesOnline) {
    st.rec.Mca1Enabled = 0;
    for (auto& m : st.rec.MotorEnabled) m = 0;
    kx.failures["KX10MCA_Status"] = -1;
    kx.failures["KX10Motor_Get_Status"] = -1;
    connect();
    EXPECT_EQ(1, st.Online);
    EXPECT_EQ(QStringList{QStringLiteral("KX10 V2.03")}, alerts.statusTexts);
}

// The saved positions go only to a controller that lost its counters (every enabled axis reads
// 0 or cannot be read): one with an axis away from 0 kept them (the program ended without a
// close) and is left alone. A second connect in the same run restores nothing.
TEST_F(ConnectFixture, SavedPositionsGoOnlyToAControllerThatLostItsCounters) {
    st.rec.MotorEnabled[4] = 1;   // motor #5: axis 0 of module 3
    st.rec.MotorSavedPosition[0] = 1234;
    st.rec.MotorSavedPosition[1] = -56;
    st.rec.MotorSavedPosition[4] = 777;
    kx.replyQueue["KX10Motor_Read_Paddress"] = {"P+000000000", "P+000000500", "P+000000000",
                                                "P+000000000", "P+000"};
    connect();
    ASSERT_EQ(1, st.Online);
    EXPECT_EQ((QStringList{"KX10Motor_Read_Paddress 2 0", "KX10Motor_Read_Paddress 2 1",
                           "KX10Motor_Read_Paddress 2 2", "KX10Motor_Read_Paddress 2 3",
                           "KX10Motor_Read_Paddress 3 0"}),
              kx.callsOf("KX10Motor_Read_Paddress"));
    // Module 2 kept its counters (motor #2 at 500); module 3's reply was cut: not trusted.
    EXPECT_EQ(QStringList{"KX10Motor_Set_Pulse_Address 3 0 777"},
              kx.callsOf("KX10Motor_Set_Pulse_Address"));

    kx.calls.clear();
    connect();
    EXPECT_TRUE(kx.callsOf("KX10Motor_Read_Paddress").isEmpty());
    EXPECT_TRUE(kx.callsOf("KX10Motor_Set_Pulse_Address").isEmpty());
}

// Neither connect button acts while a scan runs: no speeds, no counters, a message.
TEST_F(ConnectFixture, RefusedWhileAScanRuns) {
    for (int mode : {2, 3}) {
        st.ScanMode = mode;
        kx.calls.clear();
        alerts.clear();
        connect();
        EXPECT_TRUE(kx.calls.isEmpty()) << kx.calls.join("\n").toStdString();
        EXPECT_EQ(0, inits);
        EXPECT_EQ(QStringList{QStringLiteral("スキャン中は接続できません。先にスキャンを止めてください")},
                  alerts.messages);
    }
}
