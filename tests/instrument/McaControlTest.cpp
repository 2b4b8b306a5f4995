#include "instrument/McaControl.h"

#include "support/Fakes.h"
#include "support/ScriptedKx10.h"

#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;

namespace {

struct McaFixture : ::testing::Test {
    McaFixture() {
        setCreationDefaults(st.rec, "/tmp/");
        st.Online = 1;
        kx.replies["KX10MCA_Status"] = " 1";
    }
    AppState st;
    ScriptedKx10 kx;
    FakeAlerts alerts;
};

}  // namespace

TEST_F(McaFixture, StartUsesTheStoredSettingsOfMca1) {
    st.rec.McaPresetMode[0] = 1;
    st.rec.McaChannels[0] = 4096;
    st.rec.McaPresetValue[0] = 250;
    mcaStart(st, kx, alerts, {true, false});
    EXPECT_EQ((QStringList{"KX10MCA_2DSCAN_OFFSET 1 0", "KX10MCA_Preset 1 1 4096 250",
                           "KX10MCA_Start 1", "KX10MCA_2DSCAN_OFFSET 1 0"}),
              kx.calls);
}

TEST_F(McaFixture, StartStopsAtTheFirstFailure) {
    kx.failures["KX10MCA_Preset"] = 1;
    mcaStart(st, kx, alerts, {true, false});
    EXPECT_EQ(QStringList{"MCA Preset error"}, alerts.messages);
    EXPECT_EQ(1, alerts.beeps);
    EXPECT_TRUE(kx.callsOf("KX10MCA_Start").isEmpty());
    EXPECT_EQ(1, st.Online);
}

TEST_F(McaFixture, NothingWithoutSelectionOrOffline) {
    mcaStart(st, kx, alerts, {false, true});
    mcaStop(st, kx, alerts, {false, false});
    mcaClear(st, kx, alerts, {false, false});
    EXPECT_TRUE(kx.calls.isEmpty());
    st.Online = 0;
    mcaStart(st, kx, alerts, {true, true});
    mcaStop(st, kx, alerts, {true, true});
    mcaClear(st, kx, alerts, {true, true});
    EXPECT_TRUE(kx.calls.isEmpty());
    EXPECT_EQ((QStringList{"Offline!!", "Offline!!"}), alerts.messages);
}

TEST_F(McaFixture, StopAndClearReportPerMca) {
    st.rec.Mca2HexSw = 4;
    kx.failures["KX10MCA_Clear"] = -1;
    mcaClear(st, kx, alerts, {true, true});
    EXPECT_EQ((QStringList{"KX10MCA_Clear 1", "KX10MCA_Clear 4"}), kx.calls);
    EXPECT_EQ((QStringList{"MCA#1 STOP Error", "MCA#2 STOP error"}), alerts.messages);
    st.Online = 0;
    st.ScanMode = 3;
    kx.calls.clear();
    mcaStopRoutine(st, kx, alerts, {true, false});
    EXPECT_EQ(0, st.ScanMode);
    EXPECT_EQ(QStringList{"KX10MCA_Stop 1"}, kx.calls) << "the stop routine ignores Online";
}

TEST_F(McaFixture, TickReadsBlocksAndStatus) {
    st.rec.McaChannels[0] = 256;
    McaTickResult r = mcaAcquisitionTick(st, kx, alerts);
    EXPECT_EQ(McaTick::Redraw, r.action);
    EXPECT_TRUE(r.measuring);
    EXPECT_EQ((QStringList{"KX10MCA_ReadSEQ 1 0", "KX10MCA_Status 1"}), kx.calls);

    kx.calls.clear();
    st.rec.McaChannels[0] = 4096;
    kx.replies["KX10MCA_Status"] = " 0";
    r = mcaAcquisitionTick(st, kx, alerts);
    EXPECT_FALSE(r.measuring);
    EXPECT_EQ(16, kx.callsOf("KX10MCA_ReadSEQ").size());
    EXPECT_EQ(4095, st.spectrum.slot[0][4095]);
}

TEST_F(McaFixture, BlockErrorLeavesLaterBlocksAndStillReadsStatus) {
    st.rec.McaChannels[0] = 2048;   // 8 blocks
    for (int c = 0; c < kSlotChannels; ++c) st.spectrum.slot[0][c] = -5;
    kx.seqOffset = 100;
    kx.failFromCall["KX10MCA_ReadSEQ"] = 3;
    const McaTickResult r = mcaAcquisitionTick(st, kx, alerts);
    EXPECT_EQ(QStringList{"MCA Read error"}, alerts.messages);
    EXPECT_EQ(0, st.Online);
    EXPECT_EQ(4, kx.callsOf("KX10MCA_ReadSEQ").size());
    EXPECT_EQ(1, kx.callsOf("KX10MCA_Status").size()) << "the status is still read once";
    EXPECT_EQ(100 + 767, st.spectrum.slot[0][767]);
    EXPECT_EQ(-5, st.spectrum.slot[0][1024]) << "blocks 4 to 7 keep their values";
    EXPECT_EQ(McaTick::Redraw, r.action);
}

TEST_F(McaFixture, WorkOrDisabledOnlyRedraws_OfflineDoesNothing) {
    st.spectrum.ViewSlot = kSlotWork;
    EXPECT_EQ(McaTick::RedrawOnly, mcaAcquisitionTick(st, kx, alerts).action);
    st.spectrum.ViewSlot = 1;   // MCA2 is disabled in a new record
    EXPECT_EQ(McaTick::RedrawOnly, mcaAcquisitionTick(st, kx, alerts).action);
    st.spectrum.ViewSlot = 0;
    st.Online = 0;
    EXPECT_EQ(McaTick::Nothing, mcaAcquisitionTick(st, kx, alerts).action);
    EXPECT_TRUE(kx.calls.isEmpty());
    st.Online = 1;
    kx.failures["KX10MCA_Status"] = 1;
    EXPECT_EQ(McaTick::Nothing, mcaAcquisitionTick(st, kx, alerts).action);
    EXPECT_EQ(QStringList{"MCA Read Status error"}, alerts.messages);
    EXPECT_EQ(0, st.Online);
}
