// The element scan's state machine against the recording driver stand-in: the sweep call by
// call, the refusals, the stops and every driver failure with its message and effect.

#include "scan/ElementScanSequencer.h"

#include "support/Fakes.h"
#include "support/ScriptedKx10.h"

#include <gtest/gtest.h>
#include <limits>

using namespace qor;
using namespace qor::test;

namespace {

const McaSelection kMca1{true, false};
const McaSelection kNoMca{false, false};

// X 0..10, Y 0..2 step 1 at 100 pulses per unit, online, X standing still unless told otherwise.
struct Rig {
    Rig() {
        setCreationDefaults(st.rec, "/tmp/");
        st.Online = 1;
        st.rec.ElemScanXEnd = 10.0;
        st.rec.ElemScanYEnd = 2.0;
        st.rec.ElemScanYStep = 1.0;
        kx.replies["KX10Motor_Get_Status"] = "S00000";
    }
    bool start(McaSelection sel = kMca1) { return seq.start(sel, [this] { ++armedCalls; }); }
    void runToEnd(McaSelection sel = kMca1) {
        for (int n = 0; n < 500 && st.ScanMode == 3; ++n) seq.tick(sel);
    }
    void runTo(int state) {
        for (int n = 0; n < 50 && seq.run().ElemScanState != state && st.ScanMode == 3; ++n)
            seq.tick(kMca1);
        ASSERT_EQ(state, seq.run().ElemScanState);
    }
    // Every call except the status reads.
    QStringList commands() const {
        QStringList out;
        for (const QString& c : kx.calls)
            if (!c.startsWith(QLatin1String("KX10Motor_Get_Status"))) out << c;
        return out;
    }
    QStringList yMoves() const { return kx.callsOf("KX10Motor_MoveTo_PAddress 2 1"); }

    AppState st;
    ScriptedKx10 kx;
    FakeAlerts alerts;
    FakeSounds sounds;
    FakeDialogs dialogs;
    ManualClock clock;
    FakePrinting printing;
    Services services{alerts, sounds, dialogs, clock, printing};
    int busy[8] = {};
    int armedCalls = 0;
    ElementScanSequencer seq{st, kx, services, [this](int i) { return busy[i]; }};
};

struct ElementScan : ::testing::Test, Rig {};

}  // namespace

// Four strokes, the last at the first Y beyond Y end, then the MCA stop, the motors' own speeds
// and the way back to (0, 0).
TEST_F(ElementScan, SweepsTheRectangleInAZigZagAndReturnsToTheStartCorner) {
    st.rec.McaPresetMode[0] = 1;
    ASSERT_TRUE(start());
    EXPECT_EQ(3, st.ScanMode);
    EXPECT_EQ(1, armedCalls);
    runToEnd();
    EXPECT_EQ(0, st.ScanMode);
    EXPECT_FALSE(seq.armed());
    EXPECT_EQ((QStringList{
                  // Start: the MCA stopped and cleared, no pixel pulses during the sweep.
                  "KX10MCA_Stop 1", "KX10MCA_Clear 1", "KX10Motor_Set_Interval_Pulse 2 0 99999999",
                  // State 0: to the start corner.
                  "KX10Motor_MoveTo_PAddress 2 0 0", "KX10Motor_MoveTo_PAddress 2 1 0",
                  // State 20: the MCA measures the whole sweep.
                  "KX10MCA_2DSCAN_OFFSET 1 0", "KX10MCA_Preset 1 1 2048 100000", "KX10MCA_Start 1",
                  "KX10MCA_2DSCAN_OFFSET 1 0",
                  // State 30: the sweep speed and the first stroke at Y 0.
                  "KX10Motor_Set_Speed 2 0 100 100 100 0 1", "KX10Motor_MoveTo_PAddress 2 0 1000",
                  // State 50, three times: Y steps and X runs back.
                  "KX10Motor_MoveTo_PAddress 2 1 100", "KX10Motor_MoveTo_PAddress 2 0 0",
                  "KX10Motor_MoveTo_PAddress 2 1 200", "KX10Motor_MoveTo_PAddress 2 0 1000",
                  "KX10Motor_MoveTo_PAddress 2 1 300", "KX10Motor_MoveTo_PAddress 2 0 0",
                  // State 990: MCA stopped, motors initialised again, back to (0, 0).
                  "KX10MCA_Stop 1", "KX10Motor_Set_Speed 2 0 50 200 100 0 0",
                  "KX10Motor_Set_Speed 2 1 50 200 100 0 0", "KX10Motor_Set_Speed 2 2 50 200 100 0 0",
                  "KX10Motor_Set_Speed 2 3 50 200 100 0 0", "KX10Motor_MoveTo_PAddress 2 0 0",
                  "KX10Motor_MoveTo_PAddress 2 1 0"}),
              commands());
    EXPECT_TRUE(alerts.messages.isEmpty());
    EXPECT_EQ(0, alerts.beeps);
    EXPECT_EQ(250, seq.display().timer2Interval);
}

// Decimal values as typed: Y end reached by the sum of the steps is not beyond it; targets round
// (+ 0.5) while Y steps truncate, without losing a pulse to the binary error of a product.
TEST_F(ElementScan, DecimalStepsKeepTheLastStrokeAndTheirPulses) {
    st.rec.ElemScanXStart = 0.125;   // 12.5 pulses: 13 as a target
    st.rec.ElemScanYEnd = 0.3;
    st.rec.ElemScanYStep = 0.1;      // 0.1 + 0.1 + 0.1 = 0.30000000000000004
    ASSERT_TRUE(start());
    runToEnd();
    EXPECT_EQ((QStringList{"KX10Motor_MoveTo_PAddress 2 1 0", "KX10Motor_MoveTo_PAddress 2 1 10",
                           "KX10Motor_MoveTo_PAddress 2 1 20", "KX10Motor_MoveTo_PAddress 2 1 30",
                           "KX10Motor_MoveTo_PAddress 2 1 40", "KX10Motor_MoveTo_PAddress 2 1 0"}),
              yMoves());
    EXPECT_EQ(4, kx.callsOf("KX10Motor_MoveTo_PAddress 2 0 13").size());

    kx.calls.clear();
    st.rec.ElemScanYEnd = 0.58;
    st.rec.ElemScanYStep = 0.29;     // 100 x 0.29 = 28.999999999999996
    ASSERT_TRUE(start());
    runToEnd();
    EXPECT_EQ((QStringList{"KX10Motor_MoveTo_PAddress 2 1 0", "KX10Motor_MoveTo_PAddress 2 1 29",
                           "KX10Motor_MoveTo_PAddress 2 1 58", "KX10Motor_MoveTo_PAddress 2 1 87",
                           "KX10Motor_MoveTo_PAddress 2 1 0"}),
              yMoves());
    st.rec.ElemScanYStart = 0.0;
    kx.calls.clear();
    st.rec.ElemScanYStep = 0.125;    // a Y step of 12.5 pulses truncates to 12
    st.rec.ElemScanYEnd = 0.1;
    ASSERT_TRUE(start());
    runToEnd();
    EXPECT_EQ(QStringLiteral("KX10Motor_MoveTo_PAddress 2 1 12"), yMoves().value(1));
}

TEST_F(ElementScan, WithoutMca1NoMcaCallIsMadeAndTheStageStillSweeps) {
    ASSERT_TRUE(start(kNoMca));
    runToEnd(kNoMca);
    EXPECT_TRUE(kx.calls.filter("KX10MCA").isEmpty()) << kx.calls.join("\n").toStdString();
    EXPECT_EQ(11, kx.callsOf("KX10Motor_MoveTo_PAddress").size());
    EXPECT_EQ(0, st.ScanMode);
}

TEST_F(ElementScan, StopAndClearFailuresAtTheStartAreShownAndTheStartGoesOn) {
    st.rec.Mca2HexSw = 4;
    kx.failures["KX10MCA_Stop"] = -1;
    kx.failures["KX10MCA_Clear"] = -1;
    ASSERT_TRUE(start(McaSelection{true, true}));
    EXPECT_EQ((QStringList{"MCA#1 STOP Error", "MCA#2 STOP error", "MCA#1 STOP Error",
                           "MCA#2 STOP error"}),
              alerts.messages);
    EXPECT_EQ((QStringList{"KX10MCA_Stop 1", "KX10MCA_Stop 4", "KX10MCA_Clear 1", "KX10MCA_Clear 4",
                           "KX10Motor_Set_Interval_Pulse 2 0 99999999"}),
              commands());
    EXPECT_TRUE(seq.armed());
}

TEST_F(ElementScan, AbortMidStrokeStopsTheMcaAtOnceAndLeavesTheStrokeRunning) {
    ASSERT_TRUE(start());
    runTo(40);
    kx.calls.clear();
    seq.stop(kMca1);
    seq.tick(kMca1);
    EXPECT_EQ(0, st.ScanMode);
    EXPECT_EQ(QStringList{"KX10MCA_Stop 1"}, kx.calls) << "no halt, no move, no further tick";
}

TEST_F(ElementScan, RunningLabelsSwapEveryFiveTicks) {
    ASSERT_TRUE(start());
    busy[0] = 1;   // waits in state 10
    QString seen;
    for (int t = 1; t <= 15; ++t) {
        seq.tick(kMca1);
        seen += seq.display().runName1 ? '1' : (seq.display().runName2 ? '2' : '-');
    }
    EXPECT_EQ(QStringLiteral("----11111222221"), seen);
    seq.stop(kMca1);
    EXPECT_FALSE(seq.display().runName1 || seq.display().runName2);
}

// The start corner is sent once Y stands still (a corner sent during a Y move would leave the
// first stroke off the rectangle); state 10 waits for X, then for Y.
TEST_F(ElementScan, TheSweepWaitsForTheMotorsBeforeItBegins) {
    busy[1] = 1;
    ASSERT_TRUE(start());
    seq.tick(kMca1);
    EXPECT_TRUE(commands().filter("MoveTo").isEmpty());
    busy[1] = 0;
    busy[0] = 1;
    seq.tick(kMca1);
    EXPECT_EQ(2, commands().filter("MoveTo").size());
    seq.tick(kMca1);
    busy[0] = 0;
    busy[1] = -1;   // Y unreadable
    seq.tick(kMca1);
    EXPECT_EQ(10, seq.run().ElemScanState);
    busy[1] = 0;
    seq.tick(kMca1);
    EXPECT_EQ(20, seq.run().ElemScanState);
    // A running stroke holds state 40.
    runTo(40);
    kx.replyQueue["KX10Motor_Get_Status"] = {"S10000", "S10000"};
    seq.tick(kMca1);
    seq.tick(kMca1);
    EXPECT_EQ(40, seq.run().ElemScanState);
    EXPECT_EQ(2, kx.callsOf("KX10Motor_Get_Status 2 0").size());
    seq.tick(kMca1);
    EXPECT_EQ(50, seq.run().ElemScanState);
}

TEST_F(ElementScan, StartIsRefusedWhileAnotherScanRunsOrOfflineOrOnParametersThatCannotRun) {
    st.ScanMode = 2;
    EXPECT_FALSE(start());
    EXPECT_EQ(QStringList{"他の自動測定中ですから実行できません"}, alerts.messages);
    EXPECT_EQ(2, st.ScanMode);
    st.ScanMode = 0;
    st.Online = 0;
    EXPECT_FALSE(start());
    EXPECT_EQ(1, alerts.messages.size()) << "offline: nothing at all";
    EXPECT_TRUE(kx.calls.isEmpty());
    EXPECT_EQ(0, armedCalls);

    const char* const step = "Y軸ステップ座標量は0より大きくしてください。元素SCANを開始できません";
    const char* const speed = "Ｘ軸モーターの回転速度は1～200ppsにしてください。元素SCANを開始できません";
    const char* const scale = "モータの論理パルス数が0以下です。SETUPで設定してください。元素SCANを開始できません";
    const struct {
        void (*set)(InfoRecord&);
        const char* message;   // nullptr: accepted
    } cases[] = {
        {[](InfoRecord& r) { r.ElemScanYStep = 0.0; }, step},
        {[](InfoRecord& r) { r.ElemScanYStep = -1.0; }, step},
        {[](InfoRecord& r) { r.ElemScanYEnd = -0.5; }, "YendはYstart以上にしてください。元素SCANを開始できません"},
        {[](InfoRecord& r) { r.ElemScanYEnd = 0.0; }, nullptr},
        {[](InfoRecord& r) { r.ElemScanXEnd = 0.0; }, "XstartとXendが同じです。元素SCANを開始できません"},
        {[](InfoRecord& r) { r.ElemScanXEnd = -3.0; }, nullptr},
        {[](InfoRecord& r) { r.ElemScanSpeedPps = 0; }, speed},
        {[](InfoRecord& r) { r.ElemScanSpeedPps = 1; }, nullptr},
        {[](InfoRecord& r) { r.ElemScanSpeedPps = 200; }, nullptr},
        {[](InfoRecord& r) { r.ElemScanSpeedPps = 201; }, speed},
        {[](InfoRecord& r) { r.MotorLogicalPulses[0] = 0; }, scale},
        {[](InfoRecord& r) { r.MotorLogicalPulses[1] = -5; }, scale},
        {[](InfoRecord& r) { r.ElemScanYEnd = std::numeric_limits<double>::quiet_NaN(); },
         "座標の値が数値ではありません。元素SCANを開始できません"},
    };
    for (const auto& c : cases) {
        Rig g;
        c.set(g.st.rec);
        const bool started = g.start();
        const int at = static_cast<int>(&c - cases);
        EXPECT_EQ(c.message == nullptr, started) << at;
        if (!c.message) continue;
        EXPECT_EQ(QStringList{QString::fromUtf8(c.message)}, g.alerts.messages) << at;
        EXPECT_EQ(1, g.alerts.beeps) << at;
        EXPECT_TRUE(g.kx.calls.isEmpty()) << at;
        EXPECT_EQ(0, g.st.ScanMode) << at;
    }
}

// Each driver failure of the sweep: its message, then either a stop where it happened (the MCA
// stopped, nothing else) or the end of state 990 (MCA stopped, motors initialised, return moves).
TEST_F(ElementScan, DriverFailuresOfTheSweepStopOrEndIt) {
    const struct {
        const char* op;
        int call;             // the failing call of `op`, counted from the start
        const char* message;  // modal, or nullptr
        const char* status;   // status bar, or nullptr
        int state;            // the state the scan is left in
    } cases[] = {
        {"KX10Motor_MoveTo_PAddress", 0, "Motor#1 access error", nullptr, 0},
        {"KX10Motor_MoveTo_PAddress", 1, "Motor#2 access error", nullptr, 0},
        {"KX10MCA_2DSCAN_OFFSET", 0, "MCA Offset error", nullptr, 20},
        {"KX10MCA_Preset", 0, "MCA Preset error", nullptr, 20},
        {"KX10MCA_Start", 0, "MCA Start error", nullptr, 20},
        {"KX10Motor_Set_Speed", 0, nullptr, "Motor#1 Move error", 990},
        {"KX10Motor_MoveTo_PAddress", 2, nullptr, "Motor#1 Move error", 990},   // first stroke
        {"KX10Motor_MoveTo_PAddress", 3, nullptr, "Motor#2 Move error", 990},   // Y step
        {"KX10Motor_MoveTo_PAddress", 4, nullptr, "Motor#1 Move error", 990},   // X stroke back
    };
    for (const auto& c : cases) {
        Rig g;
        const int at = static_cast<int>(&c - cases);
        ASSERT_TRUE(g.start());
        g.kx.calls.clear();
        g.kx.failFromCall[c.op] = c.call;
        for (int n = 0; n < 50 && g.st.ScanMode == 3; ++n) {
            g.seq.tick(kMca1);
            if (g.kx.callCount[c.op] > c.call) g.kx.failFromCall.erase(c.op);
        }
        EXPECT_EQ(0, g.st.ScanMode) << at;
        EXPECT_EQ(c.state, g.seq.run().ElemScanState) << at;
        EXPECT_EQ(1, g.alerts.beeps) << at;
        EXPECT_EQ(c.message ? QStringList{c.message} : QStringList{}, g.alerts.messages) << at;
        EXPECT_EQ(c.status ? QStringList{c.status} : QStringList{}, g.alerts.statusTexts) << at;
        EXPECT_EQ(1, g.kx.callsOf("KX10MCA_Stop").size()) << at;
        const QStringList cmds = g.commands();
        if (c.state == 990) {
            EXPECT_EQ(4, cmds.filter("KX10Motor_Set_Speed 2").filter(" 50 200 ").size()) << at;
            EXPECT_EQ((QStringList{"KX10Motor_MoveTo_PAddress 2 0 0", "KX10Motor_MoveTo_PAddress 2 1 0"}),
                      cmds.mid(cmds.size() - 2))
                << at;
        } else {
            EXPECT_EQ(QStringLiteral("KX10MCA_Stop 1"), cmds.last()) << at;
            EXPECT_EQ(QString::fromLatin1(c.op), cmds.value(cmds.size() - 2).section(' ', 0, 0))
                << at << ": nothing between the failing call and the stop";
        }
    }
}

TEST_F(ElementScan, AFailedXStatusReadIsShownAndTheTickGoesOnWithTheReplyAsRead) {
    ASSERT_TRUE(start());
    runTo(40);
    kx.failures["KX10Motor_Get_Status"] = 1;   // the reply as read says "still"
    seq.tick(kMca1);
    EXPECT_STREQ("ERR ROI status", seq.display().errView);
    EXPECT_EQ(1u, seq.display().errViewCount);
    EXPECT_EQ(1, alerts.beeps);
    EXPECT_EQ(50, seq.run().ElemScanState);
    EXPECT_TRUE(alerts.messages.isEmpty());
}

TEST_F(ElementScan, TheReturnMoveIsSentOnlyWhileYStandsAndAFailureIsShownOnce) {
    st.rec.ElemScanYEnd = 0.0;   // two strokes: the second state 50 ends the sweep
    ASSERT_TRUE(start());
    runTo(50);
    seq.tick(kMca1);
    runTo(50);
    seq.tick(kMca1);
    kx.failures["KX10Motor_MoveTo_PAddress"] = 1;
    kx.calls.clear();
    seq.tick(kMca1);
    EXPECT_EQ(QStringList{"Motor#1 access error"}, alerts.messages);
    EXPECT_EQ(1, kx.callsOf("KX10MCA_Stop").size()) << "the MCAs are stopped once";
    EXPECT_EQ(1, kx.callsOf("KX10Motor_MoveTo_PAddress").size()) << "no Y move after X failed";

    Rig g;
    g.st.rec.ElemScanYEnd = 0.0;
    ASSERT_TRUE(g.start());
    g.runTo(50);
    g.seq.tick(kMca1);
    g.runTo(50);
    g.seq.tick(kMca1);
    g.busy[1] = 1;
    g.kx.calls.clear();
    g.seq.tick(kMca1);
    EXPECT_EQ(0, g.st.ScanMode);
    EXPECT_TRUE(g.kx.callsOf("KX10Motor_MoveTo_PAddress").isEmpty());
}

// The two scans exclude each other through ScanMode: 中止 leaves a mapping scan alone, and an
// element scan whose ScanMode was set idle by Stop SCAN settles on its next tick.
TEST_F(ElementScan, StopsAndTheMappingScanKeepOutOfEachOther) {
    st.ScanMode = 2;
    seq.stop(kMca1);
    EXPECT_EQ(2, st.ScanMode);
    EXPECT_TRUE(kx.calls.isEmpty());
    EXPECT_EQ(QStringList{"他の自動測定中ですから実行できません"}, alerts.messages);

    st.ScanMode = 0;
    ASSERT_TRUE(start());
    runTo(40);
    st.ScanMode = 0;   // Stop SCAN
    kx.calls.clear();
    seq.tick(kMca1);
    EXPECT_FALSE(seq.armed());
    EXPECT_EQ(QStringList{"KX10MCA_Stop 1"}, kx.calls);

    ASSERT_TRUE(start());
    st.ScanMode = 2;   // Stop SCAN, then a mapping scan started before the next tick
    kx.calls.clear();
    seq.tick(kMca1);
    EXPECT_FALSE(seq.armed());
    EXPECT_TRUE(kx.calls.isEmpty()) << "the mapping scan keeps its MCA";
    EXPECT_EQ(2, st.ScanMode);
}

TEST_F(ElementScan, CornerButtonsMoveXThenYOnlyWhileYStandsStill) {
    st.rec.ElemScanXStart = -2.7;   // -269.5 truncates toward zero
    st.rec.ElemScanYStart = 1.0;
    st.rec.ElemScanXEnd = 0.125;
    st.rec.ElemScanYEnd = 3.5;
    seq.moveToCorner(false);
    seq.moveToCorner(true);
    EXPECT_EQ((QStringList{"KX10Motor_MoveTo_PAddress 2 0 -269", "KX10Motor_MoveTo_PAddress 2 1 100",
                           "KX10Motor_MoveTo_PAddress 2 0 13", "KX10Motor_MoveTo_PAddress 2 1 350"}),
              commands());
    kx.calls.clear();
    for (int b : {1, -1}) {
        busy[1] = b;
        seq.moveToCorner(true);
    }
    busy[1] = 0;
    st.Online = 0;
    seq.moveToCorner(true);
    EXPECT_TRUE(commands().isEmpty());

    // A failing X still lets Y move; a disabled motor is left alone.
    st.Online = 1;
    kx.failures["KX10Motor_MoveTo_PAddress"] = 1;
    seq.moveToCorner(false);
    EXPECT_EQ(QStringList{"Motor#1 access error"}, alerts.messages);
    EXPECT_EQ(1, alerts.beeps);
    EXPECT_EQ(2, kx.callsOf("KX10Motor_MoveTo_PAddress").size());
    kx.calls.clear();
    st.rec.MotorEnabled[0] = 0;
    seq.moveToCorner(false);
    EXPECT_EQ(QStringList{"KX10Motor_MoveTo_PAddress 2 1 100"}, commands());
}

// The rectangle, up to the last stroke, must lie inside the soft limits: an X end of 100 against
// +45 is refused before anything is sent; so is a Y range whose last stroke (the first Y beyond
// Y end) crosses the limit, although Y end itself lies inside it.
TEST_F(ElementScan, ARectangleBeyondTheSoftLimitsIsRefused) {
    st.rec.ElemScanXEnd = 100.0;
    EXPECT_FALSE(start());
    EXPECT_EQ(0, st.ScanMode);
    EXPECT_TRUE(kx.calls.isEmpty()) << kx.calls.join("\n").toStdString();
    ASSERT_EQ(1, alerts.messages.size());
    EXPECT_EQ(QStringLiteral("X軸 (Motor#1) の移動範囲 0 ～ 100 がソフトリミット(+) 45 を超えています。"
                             "SETUPページのソフトリミットか測定範囲を見直してください。"
                             "元素SCANを開始できません"),
              alerts.messages.first());

    alerts.clear();
    st.rec.ElemScanXEnd = 10.0;
    st.rec.ElemScanYStart = 40.0;
    st.rec.ElemScanYEnd = 44.5;
    st.rec.ElemScanYStep = 1.0;   // strokes at 40 .. 45: the last one on the limit
    EXPECT_TRUE(start());
    seq.stop(kMca1);
    alerts.clear();
    st.rec.ElemScanYEnd = 45.0;   // strokes up to 46
    EXPECT_FALSE(start());
    EXPECT_EQ(QStringLiteral("Y軸 (Motor#2) の移動範囲 40 ～ 46 がソフトリミット(+) 45 を超えています。"
                             "SETUPページのソフトリミットか測定範囲を見直してください。"
                             "元素SCANを開始できません"),
              alerts.messages.value(0));
}

// Y targets below 0 are truncated toward zero like those above it: the margin that keeps a
// decimal step on its pulse rounds away from zero on both sides (-1.5 units is -150 pulses,
// -0.2 reached as -0.3 + 0.1 is -20).
TEST_F(ElementScan, NegativeYStrokesKeepTheirPulses) {
    st.rec.ElemScanYStart = -2.5;
    st.rec.ElemScanYEnd = -1.5;
    st.rec.ElemScanYStep = 0.5;
    ASSERT_TRUE(start());
    runToEnd();
    // The start corner is a target (+ 0.5, truncated toward zero): -249.5 gives -249.
    EXPECT_EQ((QStringList{"KX10Motor_MoveTo_PAddress 2 1 -249", "KX10Motor_MoveTo_PAddress 2 1 -200",
                           "KX10Motor_MoveTo_PAddress 2 1 -150", "KX10Motor_MoveTo_PAddress 2 1 -100",
                           "KX10Motor_MoveTo_PAddress 2 1 -249"}),
              yMoves());
    EXPECT_EQ(-20, ElementScanSequencer::strokeYPulses(100, -0.3 + 0.1));
    EXPECT_EQ(29, ElementScanSequencer::strokeYPulses(100, 0.29));
    EXPECT_EQ(-29, ElementScanSequencer::strokeYPulses(100, -0.29));
}

// A sweep under way keeps the values it started with: a Y step and Y end typed mid-sweep (which
// would take Y past its soft limit) change nothing until the next start.
TEST_F(ElementScan, EditsDuringTheSweepWaitForTheNextStart) {
    ASSERT_TRUE(start());
    runTo(40);
    st.rec.ElemScanYStep = 30.0;
    st.rec.ElemScanYEnd = 90.0;
    runToEnd();
    EXPECT_EQ((QStringList{"KX10Motor_MoveTo_PAddress 2 1 0", "KX10Motor_MoveTo_PAddress 2 1 100",
                           "KX10Motor_MoveTo_PAddress 2 1 200", "KX10Motor_MoveTo_PAddress 2 1 300",
                           "KX10Motor_MoveTo_PAddress 2 1 0"}),
              yMoves());
}
