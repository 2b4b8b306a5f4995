// The element scan's state machine against the recording driver stand-in: the sweep call by
// call, the refusals, the stops and every driver failure with its message and effect.

#include "scan/ElementScanSequencer.h"

#include "support/Fakes.h"
#include "support/ScriptedKx10.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace qor;
using namespace qor::test;

namespace {

const McaSelection kMca1{true, false};
const McaSelection kNoMca{false, false};

struct ElementScan : ::testing::Test {
    ElementScan() {
        setCreationDefaults(st.rec, "/tmp/");
        st.Online = 1;
        InfoRecord& r = st.rec;
        r.ElemScanXStart = 0.0;
        r.ElemScanXEnd = 10.0;
        r.ElemScanYStart = 0.0;
        r.ElemScanYEnd = 2.0;
        r.ElemScanYStep = 1.0;
        r.ElemScanSpeedPps = 100;
        r.MotorLogicalPulses[0] = 100;
        r.MotorLogicalPulses[1] = 100;
        kx.replies["KX10Motor_Get_Status"] = "S00000";   // X stands still unless a test says so
    }
    bool start(McaSelection sel = kMca1) {
        return seq.start(sel, [this] { ++armedCalls; });
    }
    // Ticks until the scan is idle again (bounded); returns the number of ticks.
    int runToEnd(McaSelection sel = kMca1, int maxTicks = 500) {
        int n = 0;
        while (st.ScanMode == 3 && n < maxTicks) {
            seq.tick(sel);
            ++n;
        }
        return n;
    }
    // Ticks until the state machine reaches `state` (bounded).
    void runTo(int state, McaSelection sel = kMca1) {
        for (int n = 0; n < 50 && seq.run().ElemScanState != state && st.ScanMode == 3; ++n)
            seq.tick(sel);
        ASSERT_EQ(state, seq.run().ElemScanState);
    }
    // The calls that command something: every call except the status reads.
    QStringList commands() const {
        QStringList out;
        for (const QString& c : kx.calls)
            if (!c.startsWith(QLatin1String("KX10Motor_Get_Status"))) out << c;
        return out;
    }

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

}  // namespace

// X 0..10, Y 0..2 step 1 at 100 pulses per unit: four strokes, the last at the first Y beyond Y
// end, then the MCA stop, the motors' own speeds and the way back to (0, 0).
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
    EXPECT_FALSE(seq.display().runName1);
    EXPECT_FALSE(seq.display().runName2);
    EXPECT_EQ(250, seq.display().timer2Interval);
}

TEST_F(ElementScan, StrokesWaitForXAndStartCornersRoundWhileYStepsTruncate) {
    // 0.125 units at 100 pulses: 12.5 rounds to 13 as a target, truncates to 12 as a Y step.
    st.rec.ElemScanXStart = 0.125;
    st.rec.ElemScanXEnd = 5.0;
    st.rec.ElemScanYStart = 0.0;
    st.rec.ElemScanYEnd = 0.1;
    st.rec.ElemScanYStep = 0.125;
    ASSERT_TRUE(start());
    busy[0] = 1;   // X still moving after state 0: state 10 waits for it
    seq.tick(kMca1);
    seq.tick(kMca1);
    seq.tick(kMca1);
    EXPECT_EQ(10, seq.run().ElemScanState);
    busy[0] = 0;
    busy[1] = 1;   // then for Y
    seq.tick(kMca1);
    EXPECT_EQ(10, seq.run().ElemScanState);
    busy[1] = 0;
    runTo(40);
    // The stroke runs for three status reads.
    kx.replyQueue["KX10Motor_Get_Status"] = {"S10000", "S10000", "S10000"};
    for (int i = 0; i < 3; ++i) seq.tick(kMca1);
    EXPECT_EQ(40, seq.run().ElemScanState);
    EXPECT_EQ(3, kx.callsOf("KX10Motor_Get_Status").size());
    EXPECT_EQ(QStringList{"KX10Motor_Get_Status 2 0"}, kx.callsOf("KX10Motor_Get_Status").mid(0, 1));
    runToEnd();
    EXPECT_EQ((QStringList{"KX10Motor_MoveTo_PAddress 2 0 13", "KX10Motor_MoveTo_PAddress 2 1 0",
                           "KX10Motor_MoveTo_PAddress 2 0 500", "KX10Motor_MoveTo_PAddress 2 1 12",
                           "KX10Motor_MoveTo_PAddress 2 0 13", "KX10Motor_MoveTo_PAddress 2 0 13",
                           "KX10Motor_MoveTo_PAddress 2 1 0"}),
              kx.callsOf("KX10Motor_MoveTo_PAddress"));
}

// Decimal steps as typed: Y end reached by the sum of the steps is not beyond it, and the Y
// targets are the pulses of the typed values although their binary products fall just short.
TEST_F(ElementScan, DecimalStepsKeepTheLastStrokeAndTheirPulses) {
    st.rec.ElemScanYEnd = 0.3;
    st.rec.ElemScanYStep = 0.1;   // 0.1 + 0.1 + 0.1 = 0.30000000000000004 in binary
    ASSERT_TRUE(start());
    runToEnd();
    EXPECT_EQ((QStringList{"KX10Motor_MoveTo_PAddress 2 1 0", "KX10Motor_MoveTo_PAddress 2 1 10",
                           "KX10Motor_MoveTo_PAddress 2 1 20", "KX10Motor_MoveTo_PAddress 2 1 30",
                           "KX10Motor_MoveTo_PAddress 2 1 40", "KX10Motor_MoveTo_PAddress 2 1 0"}),
              kx.callsOf("KX10Motor_MoveTo_PAddress 2 1"));

    kx.calls.clear();
    st.rec.ElemScanYEnd = 0.58;
    st.rec.ElemScanYStep = 0.29;   // 100 x 0.29 = 28.999999999999996
    ASSERT_TRUE(start());
    runToEnd();
    EXPECT_EQ((QStringList{"KX10Motor_MoveTo_PAddress 2 1 0", "KX10Motor_MoveTo_PAddress 2 1 29",
                           "KX10Motor_MoveTo_PAddress 2 1 58", "KX10Motor_MoveTo_PAddress 2 1 87",
                           "KX10Motor_MoveTo_PAddress 2 1 0"}),
              kx.callsOf("KX10Motor_MoveTo_PAddress 2 1"));
}

TEST_F(ElementScan, WithoutMca1NoMcaCallIsMadeAndTheStageStillSweeps) {
    ASSERT_TRUE(start(kNoMca));
    runToEnd(kNoMca);
    EXPECT_TRUE(kx.calls.filter("KX10MCA").isEmpty()) << kx.calls.join("\n").toStdString();
    EXPECT_EQ(11, kx.callsOf("KX10Motor_MoveTo_PAddress").size());
    EXPECT_EQ(QStringList{"KX10Motor_MoveTo_PAddress 2 1 300"}, kx.calls.filter(" 2 1 300"));
    EXPECT_EQ(0, st.ScanMode);
}

TEST_F(ElementScan, Mca2TakesPartInTheStopAndClearAtItsOwnAddress) {
    st.rec.Mca2HexSw = 4;
    kx.failures["KX10MCA_Stop"] = -1;
    kx.failures["KX10MCA_Clear"] = -1;
    ASSERT_TRUE(start(McaSelection{true, true}));
    // Failures are reported and the start goes on.
    EXPECT_EQ((QStringList{"MCA#1 STOP Error", "MCA#2 STOP error", "MCA#1 STOP Error",
                           "MCA#2 STOP error"}),
              alerts.messages);
    EXPECT_EQ((QStringList{"KX10MCA_Stop 1", "KX10MCA_Stop 4", "KX10MCA_Clear 1", "KX10MCA_Clear 4",
                           "KX10Motor_Set_Interval_Pulse 2 0 99999999"}),
              commands());
    EXPECT_EQ(3, st.ScanMode);
    EXPECT_TRUE(seq.armed());
}

TEST_F(ElementScan, AbortMidStrokeStopsTheMcaAtOnceAndLeavesTheStrokeRunning) {
    ASSERT_TRUE(start());
    runTo(40);
    kx.calls.clear();
    seq.stop(kMca1);
    EXPECT_EQ(0, st.ScanMode);
    EXPECT_FALSE(seq.armed());
    EXPECT_EQ(QStringList{"KX10MCA_Stop 1"}, kx.calls) << "no halt, no move";
    // Nothing more happens on later ticks.
    seq.tick(kMca1);
    EXPECT_EQ(QStringList{"KX10MCA_Stop 1"}, kx.calls);
    EXPECT_FALSE(seq.display().runName1);
    EXPECT_FALSE(seq.display().runName2);
}

TEST_F(ElementScan, RunningLabelsSwapEveryFiveTicks) {
    ASSERT_TRUE(start());
    busy[0] = 1;   // keep it waiting in state 10
    auto shown = [this] {
        return std::make_pair(seq.display().runName1, seq.display().runName2);
    };
    std::vector<std::pair<bool, bool>> seen;
    for (int t = 1; t <= 15; ++t) {
        seq.tick(kMca1);
        seen.push_back(shown());
    }
    const std::pair<bool, bool> none{false, false}, first{true, false}, second{false, true};
    EXPECT_EQ((std::vector<std::pair<bool, bool>>{none, none, none, none, first, first, first,
                                                   first, first, second, second, second, second,
                                                   second, first}),
              seen);
    seq.stop(kMca1);
    EXPECT_EQ(none, shown());
}

TEST_F(ElementScan, StartCornerWaitsWhileYMoves) {
    busy[1] = 1;
    ASSERT_TRUE(start());
    seq.tick(kMca1);
    seq.tick(kMca1);
    EXPECT_TRUE(kx.callsOf("KX10Motor_MoveTo_PAddress").isEmpty());
    EXPECT_EQ(0, seq.run().ElemScanState);
    busy[1] = 0;
    seq.tick(kMca1);
    EXPECT_EQ(2, kx.callsOf("KX10Motor_MoveTo_PAddress").size());
    EXPECT_EQ(10, seq.run().ElemScanState);
}

TEST_F(ElementScan, StartIsRefusedWhileAnotherScanRunsOrOffline) {
    st.ScanMode = 2;
    EXPECT_FALSE(start());
    EXPECT_EQ(QStringList{"他の自動測定中ですから実行できません"}, alerts.messages);
    EXPECT_EQ(2, st.ScanMode);
    st.ScanMode = 0;
    ASSERT_TRUE(start());
    EXPECT_FALSE(start()) << "an element scan already runs";
    EXPECT_EQ(2, alerts.messages.size());
    EXPECT_EQ(1, armedCalls);

    st.ScanMode = 0;
    st.Online = 0;
    kx.calls.clear();
    alerts.clear();
    ElementScanSequencer other(st, kx, services, [](int) { return 0; });
    EXPECT_FALSE(other.start(kMca1, {}));
    EXPECT_TRUE(kx.calls.isEmpty());
    EXPECT_TRUE(alerts.messages.isEmpty());
    EXPECT_EQ(0, st.ScanMode);
}

TEST_F(ElementScan, ParametersTheSweepCannotRunOnRefuseTheStartWithNothingSent) {
    struct Case {
        const char* what;
        std::function<void(InfoRecord&)> set;
        const char* message;   // nullptr: accepted
    };
    const Case cases[] = {
        {"zero Y step", [](InfoRecord& r) { r.ElemScanYStep = 0.0; },
         "Y軸ステップ座標量は0より大きくしてください。元素SCANを開始できません"},
        {"negative Y step", [](InfoRecord& r) { r.ElemScanYStep = -1.0; },
         "Y軸ステップ座標量は0より大きくしてください。元素SCANを開始できません"},
        {"Y end below Y start", [](InfoRecord& r) { r.ElemScanYEnd = -0.5; },
         "YendはYstart以上にしてください。元素SCANを開始できません"},
        {"Y end at Y start", [](InfoRecord& r) { r.ElemScanYEnd = 0.0; }, nullptr},
        {"X end at X start", [](InfoRecord& r) { r.ElemScanXEnd = 0.0; },
         "XstartとXendが同じです。元素SCANを開始できません"},
        {"X end below X start", [](InfoRecord& r) { r.ElemScanXEnd = -3.0; }, nullptr},
        {"speed 0", [](InfoRecord& r) { r.ElemScanSpeedPps = 0; },
         "Ｘ軸モーターの回転速度は1～200ppsにしてください。元素SCANを開始できません"},
        {"speed 1", [](InfoRecord& r) { r.ElemScanSpeedPps = 1; }, nullptr},
        {"speed at the maximum", [](InfoRecord& r) { r.ElemScanSpeedPps = 200; }, nullptr},
        {"speed above the maximum", [](InfoRecord& r) { r.ElemScanSpeedPps = 201; },
         "Ｘ軸モーターの回転速度は1～200ppsにしてください。元素SCANを開始できません"},
        {"X pulses per unit 0", [](InfoRecord& r) { r.MotorLogicalPulses[0] = 0; },
         "モータの論理パルス数が0以下です。SETUPで設定してください。元素SCANを開始できません"},
        {"Y pulses per unit negative", [](InfoRecord& r) { r.MotorLogicalPulses[1] = -5; },
         "モータの論理パルス数が0以下です。SETUPで設定してください。元素SCANを開始できません"},
        {"Y end not a number",
         [](InfoRecord& r) { r.ElemScanYEnd = std::numeric_limits<double>::quiet_NaN(); },
         "座標の値が数値ではありません。元素SCANを開始できません"},
    };
    for (const Case& c : cases) {
        AppState s;
        setCreationDefaults(s.rec, "/tmp/");
        s.Online = 1;
        s.rec.ElemScanYEnd = 2.0;
        c.set(s.rec);
        ScriptedKx10 k;
        FakeAlerts a;
        Services svc{a, sounds, dialogs, clock, printing};
        ElementScanSequencer q(s, k, svc, [](int) { return 0; });
        const bool started = q.start(kMca1, {});
        if (c.message) {
            EXPECT_FALSE(started) << c.what;
            EXPECT_EQ(QStringList{QString::fromUtf8(c.message)}, a.messages) << c.what;
            EXPECT_EQ(1, a.beeps) << c.what;
            EXPECT_TRUE(k.calls.isEmpty()) << c.what;
            EXPECT_EQ(0, s.ScanMode) << c.what;
        } else {
            EXPECT_TRUE(started) << c.what;
            EXPECT_TRUE(a.messages.isEmpty()) << c.what;
        }
    }
}

TEST_F(ElementScan, AFailedMoveToTheStartCornerStopsTheScan) {
    // X fails: no Y move.
    kx.failures["KX10Motor_MoveTo_PAddress"] = 1;
    ASSERT_TRUE(start());
    kx.calls.clear();
    seq.tick(kMca1);
    EXPECT_EQ(QStringList{"Motor#1 access error"}, alerts.messages);
    EXPECT_EQ(1, alerts.beeps);
    EXPECT_EQ(0, st.ScanMode);
    EXPECT_FALSE(seq.armed());
    EXPECT_EQ((QStringList{"KX10Motor_MoveTo_PAddress 2 0 0", "KX10MCA_Stop 1"}), commands());

    // Y fails after X.
    alerts.clear();
    kx.calls.clear();
    kx.failFromCall["KX10Motor_MoveTo_PAddress"] = 2;   // the X move above was call 0
    ASSERT_TRUE(start());
    seq.tick(kMca1);
    EXPECT_EQ(QStringList{"Motor#2 access error"}, alerts.messages);
    EXPECT_EQ(0, st.ScanMode);
    EXPECT_EQ(QStringList{"KX10MCA_Stop 1"}, kx.callsOf("KX10MCA_Stop").mid(1))
        << "the stop of the start, then the stop of the failure";
}

TEST_F(ElementScan, McaSetUpFailuresStopTheScanInState20) {
    const std::pair<const char*, const char*> cases[] = {
        {"KX10MCA_2DSCAN_OFFSET", "MCA Offset error"},
        {"KX10MCA_Preset", "MCA Preset error"},
        {"KX10MCA_Start", "MCA Start error"}};
    for (const auto& [op, message] : cases) {
        AppState s;
        setCreationDefaults(s.rec, "/tmp/");
        s.Online = 1;
        ScriptedKx10 k;
        k.failures[op] = 1;
        FakeAlerts a;
        Services svc{a, sounds, dialogs, clock, printing};
        ElementScanSequencer q(s, k, svc, [](int) { return 0; });
        ASSERT_TRUE(q.start(kMca1, {}));
        q.tick(kMca1);   // 0
        q.tick(kMca1);   // 10
        k.calls.clear();
        q.tick(kMca1);   // 20
        EXPECT_EQ(QStringList{QString::fromLatin1(message)}, a.messages) << op;
        EXPECT_EQ(1, a.beeps) << op;
        EXPECT_EQ(0, s.ScanMode) << op;
        EXPECT_EQ(20, q.run().ElemScanState) << op;
        EXPECT_EQ(QStringList{"KX10MCA_Stop 1"}, k.callsOf("KX10MCA_Stop")) << op;
        EXPECT_EQ(QString::fromLatin1(op), k.calls.at(k.calls.size() - 2).section(' ', 0, 0))
            << "nothing after the failing call but the stop";
    }
}

TEST_F(ElementScan, SpeedOrStrokeFailuresShowInTheStatusBarAndEndTheScan) {
    struct Case {
        const char* op;
        int failAt;          // index of the failing call of `op` from state 30 on
        int state;           // state in which it fails
        const char* status;
    };
    const Case cases[] = {{"KX10Motor_Set_Speed", 0, 30, "Motor#1 Move error"},
                          {"KX10Motor_MoveTo_PAddress", 0, 30, "Motor#1 Move error"},
                          {"KX10Motor_MoveTo_PAddress", 1, 50, "Motor#2 Move error"},
                          {"KX10Motor_MoveTo_PAddress", 2, 50, "Motor#1 Move error"}};
    for (const Case& c : cases) {
        AppState s;
        setCreationDefaults(s.rec, "/tmp/");
        s.Online = 1;
        s.rec.ElemScanYEnd = 2.0;
        ScriptedKx10 k;
        k.replies["KX10Motor_Get_Status"] = "S00000";
        FakeAlerts a;
        Services svc{a, sounds, dialogs, clock, printing};
        ElementScanSequencer q(s, k, svc, [](int) { return 0; });
        ASSERT_TRUE(q.start(kMca1, {}));
        for (int i = 0; i < 3; ++i) q.tick(kMca1);
        ASSERT_EQ(30, q.run().ElemScanState);
        k.callCount.clear();
        k.failFromCall[c.op] = c.failAt;
        while (q.run().ElemScanState != c.state) q.tick(kMca1);
        k.calls.clear();
        q.tick(kMca1);
        EXPECT_EQ(QStringList{QString::fromLatin1(c.status)}, a.statusTexts) << c.op << c.failAt;
        EXPECT_EQ(1, a.beeps) << c.op << c.failAt;
        EXPECT_TRUE(a.messages.isEmpty()) << c.op << c.failAt;
        EXPECT_EQ(990, q.run().ElemScanState) << c.op << c.failAt;
        if (c.failAt == 1)
            EXPECT_EQ(1, k.callsOf("KX10Motor_MoveTo_PAddress").size()) << "no X stroke after Y failed";
        // The next tick ends it: MCA stopped, motors initialised again.
        k.failFromCall.clear();
        k.calls.clear();
        q.tick(kMca1);
        EXPECT_EQ(0, s.ScanMode) << c.op << c.failAt;
        EXPECT_EQ(QStringList{"KX10MCA_Stop 1"}, k.callsOf("KX10MCA_Stop")) << c.op << c.failAt;
        EXPECT_EQ(4, k.callsOf("KX10Motor_Set_Speed").size()) << c.op << c.failAt;
    }
}

TEST_F(ElementScan, AFailedXStatusReadIsShownAndTheTickGoesOnWithTheReplyAsRead) {
    ASSERT_TRUE(start());
    runTo(40);
    kx.failures["KX10Motor_Get_Status"] = 1;   // the reply still says "still"
    const uint32_t before = seq.display().errViewCount;
    seq.tick(kMca1);
    EXPECT_STREQ("ERR ROI status", seq.display().errView);
    EXPECT_EQ(before + 1, seq.display().errViewCount);
    EXPECT_EQ(1, alerts.beeps);
    EXPECT_EQ(50, seq.run().ElemScanState);
    EXPECT_TRUE(alerts.messages.isEmpty());
}

TEST_F(ElementScan, AReturnMoveThatFailsAtTheEndIsReported) {
    ASSERT_TRUE(start());
    runTo(50);
    st.rec.ElemScanYEnd = -1.0;   // the next state 50 ends the sweep
    seq.tick(kMca1);
    ASSERT_EQ(990, seq.run().ElemScanState);
    kx.failures["KX10Motor_MoveTo_PAddress"] = 1;
    kx.calls.clear();
    seq.tick(kMca1);
    EXPECT_EQ(QStringList{"Motor#1 access error"}, alerts.messages);
    EXPECT_EQ(1, alerts.beeps);
    EXPECT_EQ(1, kx.callsOf("KX10MCA_Stop").size()) << "the MCAs are stopped once";
    EXPECT_EQ(1, kx.callsOf("KX10Motor_MoveTo_PAddress").size()) << "no Y move after X failed";
    EXPECT_EQ(0, st.ScanMode);
}

TEST_F(ElementScan, NoReturnMoveWhileYStillMovesAtTheEnd) {
    ASSERT_TRUE(start());
    runTo(50);
    st.rec.ElemScanYEnd = -1.0;
    seq.tick(kMca1);
    busy[1] = 1;
    kx.calls.clear();
    seq.tick(kMca1);
    EXPECT_EQ(0, st.ScanMode);
    EXPECT_TRUE(kx.callsOf("KX10Motor_MoveTo_PAddress").isEmpty());
}

TEST_F(ElementScan, AScanStoppedByStopScanSettlesOnItsNextTick) {
    ASSERT_TRUE(start());
    runTo(40);
    st.ScanMode = 0;   // Stop SCAN of the 2D SCAN page
    kx.calls.clear();
    seq.tick(kMca1);
    EXPECT_FALSE(seq.armed());
    EXPECT_EQ(QStringList{"KX10MCA_Stop 1"}, kx.calls);
    EXPECT_FALSE(seq.display().runName1);
    EXPECT_FALSE(seq.display().runName2);

    // A mapping scan started in between keeps its MCA.
    ASSERT_TRUE(start());
    st.ScanMode = 2;
    kx.calls.clear();
    seq.tick(kMca1);
    EXPECT_FALSE(seq.armed());
    EXPECT_TRUE(kx.calls.isEmpty());
    EXPECT_EQ(2, st.ScanMode);
}

TEST_F(ElementScan, AbortDoesNotTouchARunningMappingScan) {
    st.ScanMode = 2;
    seq.stop(kMca1);
    EXPECT_EQ(2, st.ScanMode);
    EXPECT_TRUE(kx.calls.isEmpty());
    EXPECT_EQ(QStringList{"他の自動測定中ですから実行できません"}, alerts.messages);
}

TEST_F(ElementScan, CornerButtonsMoveXThenYOnlyWhileYStandsStill) {
    st.rec.ElemScanXStart = -2.7;
    st.rec.ElemScanYStart = 1.0;
    st.rec.ElemScanXEnd = 0.125;
    st.rec.ElemScanYEnd = 3.5;
    seq.moveToCorner(false);
    seq.moveToCorner(true);
    EXPECT_EQ((QStringList{"KX10Motor_MoveTo_PAddress 2 0 -269", "KX10Motor_MoveTo_PAddress 2 1 100",
                           "KX10Motor_MoveTo_PAddress 2 0 13", "KX10Motor_MoveTo_PAddress 2 1 350"}),
              commands());
    EXPECT_EQ(0, st.ScanMode);

    kx.calls.clear();
    busy[1] = 1;
    seq.moveToCorner(true);
    busy[1] = -1;   // status unreadable
    seq.moveToCorner(true);
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
    EXPECT_EQ(QStringList{"KX10Motor_MoveTo_PAddress 2 1 100"}, kx.callsOf("KX10Motor_MoveTo_PAddress"));
}
