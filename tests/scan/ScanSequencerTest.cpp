#include "scan/ScanSequencer.h"

#include "app/TextCodec.h"
#include "scan/ScanJournal.h"
#include "support/Fakes.h"
#include "support/ScriptedKx10.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;

namespace {

std::string frame(int32_t first, bool markers = true) {
    std::string f(kPixelFrameSize, '\0');
    const int at = markers ? 1 : 0;
    for (int k = 0; k < 20; ++k) {
        const uint32_t v = static_cast<uint32_t>(first + k);
        for (int b = 0; b < 4; ++b) f[at + 4 * k + b] = static_cast<char>((v >> (8 * b)) & 0xFF);
    }
    if (markers) {
        f[0] = '$';
        f[kPixelFrameSize - 1] = 'E';
    }
    return f;
}

std::string paddress(int32_t pulses) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "P%10d", pulses);
    return buf;
}

struct Sequencer : ::testing::Test {
    Sequencer() {
        st = std::make_unique<AppState>();
        setCreationDefaults(st->rec, "/tmp/");
        storeSjis(st->rec.SaveFolder, dir.path() + "/");
        st->Online = 1;
        st->rec.MapChannelIndex = 3;     // 2048, like MCA1
        st->rec.ScanMethod = 0;          // one way unless a test says otherwise
        st->rec.MapRoiEnabled[0] = 1;
        storeSjis(st->rec.MapRoiElementName[0], QStringLiteral("Fe"));
        st->rec.RoiStart[0][1] = 630;
        st->rec.RoiEnd[0][1] = 650;
        setSteps(10, 3);
        seq = std::make_unique<ScanSequencer>(*st, kx, services, [this](int i) {
            MotorState s;
            s.busy = busy.empty() ? 0 : busy[static_cast<std::size_t>(i)];
            return s;
        });
    }
    void setSteps(int xs, int ys) {
        st->rec.ScanXSteps = xs;
        st->rec.MapPixelsX = xs;
        st->rec.ScanYSteps = ys;
        st->rec.MapPixelsY = ys;
    }
    void startOk() {
        ASSERT_TRUE(seq->start([] { return true; }));
    }
    // Runs ticks until the scan is idle again (bounded).
    int runToEnd(int maxTicks = 2000) {
        int ticks = 0;
        while (st->ScanMode == 2 && ticks < maxTicks) {
            seq->tick();
            ++ticks;
        }
        return ticks;
    }

    QTemporaryDir dir;
    std::unique_ptr<AppState> st;
    ScriptedKx10 kx;
    FakeAlerts alerts;
    FakeSounds sounds;
    FakeDialogs dialogs;
    ManualClock clock;
    FakePrinting printing;
    Services services{alerts, sounds, dialogs, clock, printing};
    std::vector<int> busy;
    std::unique_ptr<ScanSequencer> seq;
};

}  // namespace

TEST_F(Sequencer, OneWayScanOfThreeLines) {
    kx.replies["KX10MCA_2DSCAN_Status"] = "10 ";
    kx.replies["KX10MCA_2DSCAN_ReadROI"] = frame(7);
    startOk();
    EXPECT_EQ(QStringList{"2dscanOK.wav"}, sounds.played);
    runToEnd();
    EXPECT_EQ(0, st->ScanMode);
    EXPECT_EQ((QStringList{"KX10Motor_MoveTo_PAddress 2 1 0", "KX10Motor_MoveTo_PAddress 2 1 10",
                           "KX10Motor_MoveTo_PAddress 2 1 20"}),
              kx.callsOf("KX10Motor_MoveTo_PAddress 2 1"));
    // X runs to the line end three times and returns to 0 after each line.
    EXPECT_EQ(3, kx.calls.filter("KX10Motor_MoveTo_PAddress 2 0 100").size());
    EXPECT_EQ(4, kx.calls.filter(QRegularExpression("^KX10Motor_MoveTo_PAddress 2 0 0$")).size());
    EXPECT_EQ(QStringList{"KX10MCA_2DSCAN_ROISET 1 0 630 650 1"}, kx.callsOf("KX10MCA_2DSCAN_ROISET"));
    EXPECT_EQ(QStringList{"KX10MCA_2DSCAN_Stop 1"}, kx.callsOf("KX10MCA_2DSCAN_Stop"));
    EXPECT_EQ("2DnKaiEnd.WAV", sounds.played.last());
    EXPECT_EQ(1, QDir(dir.path()).entryList({"*.CSV"}).size());
    EXPECT_EQ(7, st->maps.at(0, 9, 2));
    EXPECT_EQ(26, st->maps.at(19, 0, 0));
    EXPECT_EQ(0, st->mapView.MapDrawHold);
    EXPECT_TRUE(alerts.messages.isEmpty());
}

TEST_F(Sequencer, BackAndForthReversesEvenLinesAndTakesUpBacklash) {
    st->rec.ScanMethod = 1;
    st->rec.XBacklashPulses = 50;
    st->rec.ScanXPixelPulses = 10;
    setSteps(4, 3);
    kx.replies["KX10MCA_2DSCAN_Status"] = "4";
    for (int i = 0; i < 12; ++i) kx.replyQueue["KX10MCA_2DSCAN_ReadROI"].push_back(frame(100 * i));
    kx.replyQueue["KX10Motor_Read_Paddress"] = {paddress(40), paddress(-50), paddress(40)};
    startOk();
    runToEnd();
    EXPECT_EQ(0, st->ScanMode);
    // Line 1: 0 -> 40, then 40 - 50; line 2: -> -50, then -50 + 50; line 3: 0 -> 40.
    EXPECT_EQ((QStringList{"KX10Motor_MoveTo_PAddress 2 0 0", "KX10Motor_MoveTo_PAddress 2 0 -50",
                           "KX10Motor_MoveTo_PAddress 2 0 0", "KX10Motor_MoveTo_PAddress 2 0 40",
                           "KX10Motor_MoveTo_PAddress 2 0 -10", "KX10Motor_MoveTo_PAddress 2 0 -50",
                           "KX10Motor_MoveTo_PAddress 2 0 0", "KX10Motor_MoveTo_PAddress 2 0 40",
                           "KX10Motor_MoveTo_PAddress 2 0 -10"}),
              kx.callsOf("KX10Motor_MoveTo_PAddress 2 0"));
    EXPECT_EQ(0, st->maps.at(0, 0, 0));
    EXPECT_EQ(300, st->maps.at(0, 3, 0));
    EXPECT_EQ(400, st->maps.at(0, 3, 1)) << "first pixel of line 2 lands in the last column";
    EXPECT_EQ(700, st->maps.at(0, 0, 1));
    EXPECT_EQ(800, st->maps.at(0, 0, 2));
    EXPECT_EQ(0, st->mapView.MapDrawHold);
    EXPECT_EQ(250, seq->display().timer2Interval);
}

TEST_F(Sequencer, QueueColoursAndCounters) {
    setSteps(1000, 3);
    st->rec.ScanXPixelPulses = 1;   // a line of 10 units, inside the soft limits
    startOk();
    seq->tick();   // 0
    seq->tick();   // 10
    seq->tick();   // 20
    seq->tick();   // 30
    ASSERT_EQ(40, seq->run().ScanState);
    const std::pair<const char*, QueueColour> cases[] = {
        {"8", QueueColour::White}, {"9", QueueColour::Yellow}, {"12", QueueColour::Yellow},
        {"13", QueueColour::White}, {"14", QueueColour::Red}, {"17", QueueColour::Red}};
    for (const auto& c : cases) {
        kx.replies["KX10MCA_2DSCAN_Status"] = c.first;
        seq->tick();
        EXPECT_EQ(c.second, seq->display().queueColour) << c.first;
    }
    EXPECT_EQ(2, seq->run().YellowCount);
    EXPECT_EQ(2, seq->run().RedCount);
    EXPECT_EQ(1, seq->run().StatusErrors);
    EXPECT_STREQ("statER 1,17", seq->display().errView);
    EXPECT_TRUE(seq->redErrorCommentVisible());
    EXPECT_EQ(8 + 9 + 12 + 13 + 14 + 17, seq->run().ScanX);

    // 16 waiting pixels is a full queue, not a status error.
    kx.replies["KX10MCA_2DSCAN_Status"] = "16";
    seq->tick();
    EXPECT_EQ(QueueColour::Red, seq->display().queueColour);
    EXPECT_EQ(1, seq->run().StatusErrors);
}

TEST_F(Sequencer, ExtraPixelsAreDroppedAndEndTheLine) {
    setSteps(4, 1);
    kx.replies["KX10MCA_2DSCAN_Status"] = "6";
    kx.replies["KX10MCA_2DSCAN_ReadROI"] = frame(1, false);
    startOk();
    for (int i = 0; i < 5; ++i) seq->tick();
    EXPECT_EQ(50, seq->run().ScanState);
    EXPECT_EQ(4, seq->run().ScanX);
    EXPECT_STREQ("stepX 5", seq->display().errView);
    EXPECT_EQ(1, st->maps.at(0, 3, 0)) << "frames without markers start at byte 0";
}

TEST_F(Sequencer, ZPlanesRisingAndFalling) {
    st->rec.ScanUseZ = 1;
    st->rec.ZStart = 0.0;
    st->rec.ZEnd = 1.0;
    st->rec.ZCount = 2;
    st->rec.ZStep = 0.5;
    EXPECT_EQ(50, zPlanePulses(st->rec, 1));
    EXPECT_EQ(100, zPlanePulses(st->rec, 2));
    st->rec.ZStart = 1.0;
    st->rec.ZEnd = 0.0;
    EXPECT_EQ(49, zPlanePulses(st->rec, 1));

    st->rec.ZStart = 0.0;
    st->rec.ZEnd = 1.0;
    setSteps(2, 1);
    kx.replies["KX10MCA_2DSCAN_Status"] = "2";
    startOk();
    runToEnd();
    EXPECT_EQ((QStringList{"KX10Motor_MoveTo_PAddress 2 2 0", "KX10Motor_MoveTo_PAddress 2 2 50",
                           "KX10Motor_MoveTo_PAddress 2 2 100"}),
              kx.callsOf("KX10Motor_MoveTo_PAddress 2 2"));
    EXPECT_EQ(3, sounds.played.filter("2DnKaiEndZnext.WAV").size());
    EXPECT_EQ("2DnKaiEnd.WAV", sounds.played.last());
    EXPECT_EQ(3, QDir(dir.path()).entryList({"*.CSV"}).size());

    st->rec.MotorEnabled[2] = 0;
    startOk();
    seq->tick();
    EXPECT_EQ(QStringLiteral("Z軸を使う測定ですが、Z軸モータが選択されていない"), alerts.messages.last());
    EXPECT_EQ(0, st->ScanMode);
}

TEST_F(Sequencer, StartChecksInOrder) {
    st->rec.MapChannelIndex = 2;
    EXPECT_FALSE(seq->start([] { ADD_FAILURE() << "no dialog"; return true; }));
    EXPECT_EQ(QStringLiteral("MCA測定と二次元SCAN時のMCAサイズが異なっています。"), alerts.messages.last());
    st->rec.MapChannelIndex = 3;
    st->Online = 0;
    EXPECT_FALSE(seq->start([] { return true; }));
    EXPECT_EQ(QStringLiteral("OffLineです。　OnLineにしてください"), alerts.messages.last());
    st->Online = 1;
    st->ScanMode = 3;
    EXPECT_FALSE(seq->start([] { return true; }));
    EXPECT_EQ(QStringLiteral("すでに自動測定中なので実行できません"), alerts.messages.last());
    st->ScanMode = 0;

    // Cancel: nothing armed, but the warnings are reset.
    seq->run().RedCount = 3;
    seq->run().YellowCount = 2;
    st->maps.at(0, 1, 1) = 77;
    EXPECT_FALSE(seq->start([] { return false; }));
    EXPECT_EQ(0, st->ScanMode);
    EXPECT_EQ(0, seq->run().RedCount);
    EXPECT_EQ(0, seq->run().YellowCount);
    EXPECT_EQ(77, st->maps.at(0, 1, 1));
    EXPECT_TRUE(kx.calls.isEmpty());
}

TEST_F(Sequencer, RefusesParametersThatWouldOverrunTheMapsOrDivideByZero) {
    struct Case { std::function<void(InfoRecord&)> set; };
    const std::vector<Case> cases = {
        {[](InfoRecord& r) { r.ScanXSteps = r.MapPixelsX = 0; }},
        {[](InfoRecord& r) { r.ScanYSteps = r.MapPixelsY = 1025; }},
        {[](InfoRecord& r) { r.ScanXPixelPulses = 0; }},
        {[](InfoRecord& r) { r.ScanYPixelPulses = -1; }},
        {[](InfoRecord& r) { r.ScanXSpeedPps = 0; }},
        {[](InfoRecord& r) { r.MotorLogicalPulses[1] = 0; }},
        {[](InfoRecord& r) { r.ScanUseZ = 1; r.MotorLogicalPulses[2] = -5; }},
        {[](InfoRecord& r) { r.MapPixelsX = 5; }},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        InfoRecord saved = st->rec;
        cases[i].set(st->rec);
        alerts.clear();
        EXPECT_FALSE(seq->start([] { ADD_FAILURE() << "no dialog"; return true; })) << i;
        EXPECT_EQ(1, alerts.messages.size()) << i;
        EXPECT_EQ(0, st->ScanMode) << i;
        st->rec = saved;
    }
}

TEST_F(Sequencer, StopHaltsEnabledAxesAndWritesNoFileWithoutACompletedLine) {
    kx.replies["KX10MCA_2DSCAN_Status"] = "3";
    kx.replies["KX10MCA_2DSCAN_ReadROI"] = frame(9);
    startOk();
    for (int i = 0; i < 5; ++i) seq->tick();
    ASSERT_EQ(40, seq->run().ScanState);
    st->rec.MotorEnabled[1] = 0;
    kx.failures["KX10Motor_Halt"] = 1;
    kx.calls.clear();
    seq->stop();
    EXPECT_EQ(0, st->ScanMode);
    // The scan hardware goes quiet (no pixel pulses, no 2D accumulation, MCA1 stopped) before
    // the pixel store is reset; then the enabled axes are halted.
    EXPECT_EQ((QStringList{"KX10Motor_Set_Interval_Pulse 2 0 99999999", "KX10MCA_2DSCAN_Stop 1",
                           "KX10MCA_Stop 1", "KX10MCA_2DSCAN_OFFSET 1 0", "KX10Motor_Halt 2 0",
                           "KX10Motor_Halt 2 2"}),
              kx.calls);
    EXPECT_EQ(QStringLiteral("Motor#1 access error"), alerts.messages.last());
    EXPECT_EQ(9, st->maps.at(0, 2, 0)) << "the unfinished plane stays in memory";
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.CSV"}).isEmpty());
    EXPECT_EQ(ScanEnd::Stopped, seq->display().end);
    EXPECT_EQ(QStringLiteral("2D scan stopped by the operator: 0 of 3 lines kept in 0 map files"),
              seq->display().endText)
        << "no line completed: nothing to keep";

    // Pressed again while idle (a spectrum may be measuring): the MCA is left alone, and the
    // offset goes to MCA1 as the record names it now, not as the last scan had it.
    st->rec.Mca1HexSw = 3;
    kx.calls.clear();
    seq->stop();
    EXPECT_TRUE(kx.callsOf("KX10MCA_Stop").isEmpty());
    EXPECT_TRUE(kx.callsOf("KX10Motor_Set_Interval_Pulse").isEmpty());
    EXPECT_EQ(QStringList{"KX10MCA_2DSCAN_OFFSET 3 0"}, kx.callsOf("KX10MCA_2DSCAN_OFFSET"));
    st->rec.Mca1HexSw = 1;

    // With MCA2 in view the scan runs on MCA2: a stop quiets MCA1 and then MCA2.
    st->spectrum.ViewSlot = 1;
    st->rec.Mca2HexSw = 4;
    st->rec.MotorEnabled[1] = 1;
    kx.calls.clear();
    startOk();
    for (int i = 0; i < 5; ++i) seq->tick();
    ASSERT_EQ(40, seq->run().ScanState);
    EXPECT_EQ(QStringList{"KX10MCA_2DSCAN_PSET 4 2048"}, kx.callsOf("KX10MCA_2DSCAN_PSET"));
    kx.calls.clear();
    seq->stop();
    EXPECT_EQ((QStringList{"KX10Motor_Set_Interval_Pulse 2 0 99999999", "KX10MCA_2DSCAN_Stop 1",
                           "KX10MCA_Stop 1", "KX10MCA_2DSCAN_Stop 4", "KX10MCA_Stop 4",
                           "KX10MCA_2DSCAN_OFFSET 1 0", "KX10Motor_Halt 2 0",
                           "KX10Motor_Halt 2 1", "KX10Motor_Halt 2 2"}),
              kx.calls);
}

TEST_F(Sequencer, UncheckedDriverFailuresAbortNamingTheOperation) {
    kx.failures["KX10Motor_Set_Interval_Pulse"] = 1;
    startOk();
    for (int i = 0; i < 4; ++i) seq->tick();
    EXPECT_EQ(0, st->ScanMode);
    EXPECT_EQ(QStringLiteral("2D scan KX10Motor_Set_Interval_Pulse error , Abort 2Dscan"),
              alerts.messages.last());
}

TEST_F(Sequencer, PositionReadFailureRetriesTheLineEnd) {
    st->rec.ScanMethod = 1;
    setSteps(2, 2);
    kx.replies["KX10MCA_2DSCAN_Status"] = "2";
    startOk();
    while (seq->run().ScanState != 51) seq->tick();
    kx.failures["KX10Motor_Read_Paddress"] = 1;
    kx.replies["KX10Motor_Read_Paddress"] = paddress(20);
    seq->tick();
    EXPECT_EQ(51, seq->run().ScanState);
    EXPECT_EQ(QStringLiteral("Read Paddrss timeover or error"), alerts.messages.last());
    seq->tick();
    EXPECT_EQ(60, seq->run().ScanState);
}

TEST_F(Sequencer, ScansTheWorkSlotWithMca1AndEchoesPixels) {
    st->rec.Mca1HexSw = 5;
    st->spectrum.ViewSlot = kSlotWork;
    kx.replies["KX10MCA_2DSCAN_Status"] = "1";
    kx.replies["KX10MCA_2DSCAN_ReadROI"] = frame(10000000);
    setSteps(1, 1);
    startOk();
    runToEnd();
    EXPECT_EQ(QStringList{"KX10MCA_2DSCAN_PSET 5 2048"}, kx.callsOf("KX10MCA_2DSCAN_PSET"));
    EXPECT_TRUE(alerts.statusTexts.contains(
        QStringLiteral("Big number ? .. 10000000,10000001,10000002,10000003")));
    EXPECT_EQ(QStringLiteral("2D scan finished: 1 pass, 1 map file"), alerts.statusTexts.last());
}

namespace {

// One tick of the trace: the state the tick ran and the driver calls it made.
struct Step {
    int state;
    QStringList calls;
};

std::vector<Step> traceToEnd(Sequencer& f, int maxTicks = 500) {
    std::vector<Step> steps;
    for (int i = 0; i < maxTicks && f.st->ScanMode == 2; ++i) {
        const int state = f.seq->run().ScanState;
        f.kx.calls.clear();
        f.seq->tick();
        steps.push_back({state, f.kx.calls});
    }
    return steps;
}

// The states visited, a state repeated on consecutive ticks written once.
QString statesOf(const std::vector<Step>& steps) {
    QStringList out;
    for (const Step& s : steps)
        if (out.isEmpty() || out.last() != QString::number(s.state)) out << QString::number(s.state);
    return out.join(' ');
}

QStringList callsOf(const std::vector<Step>& steps) {
    QStringList out;
    for (const Step& s : steps) out << s.calls;
    return out;
}

}  // namespace

// One way, 2 x 2 pixels, two passes on each of two Z planes: every state in its order and every
// driver call of the scan in its order.
TEST_F(Sequencer, OneWayStatesAndCallsOverRepeatsAndZPlanes) {
    setSteps(2, 2);
    st->rec.ScanRepeat = 2;
    st->rec.ScanUseZ = 1;
    st->rec.ZStart = 0.0;
    st->rec.ZEnd = 1.0;
    st->rec.ZCount = 1;
    st->rec.ZStep = 1.0;
    kx.replies["KX10MCA_2DSCAN_Status"] = "2";
    startOk();
    const std::vector<Step> steps = traceToEnd(*this);
    ASSERT_EQ(0, st->ScanMode);
    const QString pass = "30 40 50 51 60 70 30 40 50 51 100";
    EXPECT_EQ("0 10 20 " + pass + " 110 " + pass + " 200 210 10 20 " + pass + " 110 " + pass +
                  " 200 210 220 900",
              statesOf(steps));

    const QStringList home = {"KX10Motor_Set_Speed 2 0 50 200 100 0 0",
                              "KX10Motor_MoveTo_PAddress 2 0 0", "KX10Motor_MoveTo_PAddress 2 1 0"};
    auto line = [](int y) {
        QStringList c = {"KX10MCA_2DSCAN_OFFSET 1 0", "KX10Motor_Set_Speed 2 0 10 10 10 0 0",
                         "KX10Motor_Set_Interval_Pulse 2 0 10", "KX10Motor_MoveTo_PAddress 2 0 20",
                         "KX10MCA_Preset 1 1 2048 9999999", "KX10MCA_Start 1",
                         "KX10MCA_2DSCAN_Start 1",
                         "KX10MCA_2DSCAN_Status 1", "KX10MCA_2DSCAN_ReadROI 1",
                         "KX10MCA_2DSCAN_ReadROI 1",
                         "KX10Motor_Set_Interval_Pulse 2 0 999999999",
                         "KX10Motor_Set_Speed 2 0 50 200 10 0 0", "KX10Motor_MoveTo_PAddress 2 0 0"};
        if (y == 0) c << "KX10Motor_MoveTo_PAddress 2 1 10";   // the Y step to line 2
        return c;
    };
    const QStringList plane = line(0) + line(1) + home + line(0) + line(1);
    const QStringList expected =
        QStringList{"KX10MCA_2DSCAN_PSET 1 2048", "KX10MCA_2DSCAN_ROISET 1 0 630 650 1",
                    "KX10Motor_MoveTo_PAddress 2 2 0"} +
        home + plane + QStringList{"KX10Motor_MoveTo_PAddress 2 2 100"} + home + plane +
        QStringList{"KX10Motor_Set_Interval_Pulse 2 0 99999999", "KX10MCA_2DSCAN_Stop 1",
                    "KX10MCA_Stop 1"};
    EXPECT_EQ(expected, callsOf(steps));
    EXPECT_EQ(4, QDir(dir.path()).entryList({"*.CSV"}).size()) << "one file per pass and plane";
    EXPECT_EQ(QStringLiteral("2D scan finished: 4 passes, 4 map files"), seq->display().endText);
}

// Back and forth, 2 x 2 pixels, two passes on each of two Z planes, backlash X 5 and Y 3.
TEST_F(Sequencer, BackAndForthStatesAndCallsOverRepeatsAndZPlanes) {
    st->rec.ScanMethod = 1;
    st->rec.XBacklashPulses = 5;
    st->rec.YBacklashPulses = 3;
    setSteps(2, 2);
    st->rec.ScanRepeat = 2;
    st->rec.ScanUseZ = 1;
    st->rec.ZStart = 0.0;
    st->rec.ZEnd = 1.0;
    st->rec.ZCount = 1;
    st->rec.ZStep = 1.0;
    kx.replies["KX10MCA_2DSCAN_Status"] = "2";
    // Where X stands at each line end: 20 after a + line, -5 after a - line.
    for (int i = 0; i < 4; ++i) {
        kx.replyQueue["KX10Motor_Read_Paddress"].push_back(paddress(20));
        kx.replyQueue["KX10Motor_Read_Paddress"].push_back(paddress(-5));
    }
    startOk();
    const std::vector<Step> steps = traceToEnd(*this);
    ASSERT_EQ(0, st->ScanMode);
    const QString pass = "30 40 50 51 60 70 30 40 50 51 100";
    const QString positioning = "10 11 12 13 14 15 ";
    EXPECT_EQ("0 " + positioning + pass + " 110 " + pass + " 200 210 " + positioning + pass +
                  " 110 " + pass + " 200 210 220 900",
              statesOf(steps));

    const QStringList home = {"KX10Motor_Set_Speed 2 0 50 200 100 0 0",
                              "KX10Motor_MoveTo_PAddress 2 0 0", "KX10Motor_MoveTo_PAddress 2 1 0"};
    const QStringList takeUp = {"KX10Motor_MoveTo_PAddress 2 0 -5",
                                "KX10Motor_RelMove_PAddress 2 1 -3",
                                "KX10Motor_MoveTo_PAddress 2 0 0", "KX10Motor_MoveTo_PAddress 2 1 0"};
    // Line 1 runs + to 20 and turns to 20 - 5; line 2 runs - to -5 and turns to -5 + 5.
    auto line = [](bool plus) {
        QStringList c = {"KX10MCA_2DSCAN_OFFSET 1 0", "KX10Motor_Set_Speed 2 0 10 10 10 0 0",
                         "KX10Motor_Set_Interval_Pulse 2 0 10", "KX10MCA_Preset 1 1 2048 9999999",
                         "KX10MCA_Start 1", "KX10MCA_2DSCAN_Start 1",
                         plus ? "KX10Motor_MoveTo_PAddress 2 0 20" : "KX10Motor_MoveTo_PAddress 2 0 -5",
                         "KX10MCA_2DSCAN_Status 1", "KX10MCA_2DSCAN_ReadROI 1",
                         "KX10MCA_2DSCAN_ReadROI 1",
                         "KX10Motor_Set_Interval_Pulse 2 0 999999999",
                         "KX10Motor_Set_Speed 2 0 50 200 10 0 0", "KX10Motor_Read_Paddress 2 0",
                         plus ? "KX10Motor_MoveTo_PAddress 2 0 15" : "KX10Motor_MoveTo_PAddress 2 0 0"};
        if (plus) c << "KX10Motor_MoveTo_PAddress 2 1 10";
        return c;
    };
    const QStringList plane = line(true) + line(false) + home + line(true) + line(false);
    const QStringList expected =
        QStringList{"KX10MCA_2DSCAN_PSET 1 2048", "KX10MCA_2DSCAN_ROISET 1 0 630 650 1",
                    "KX10Motor_MoveTo_PAddress 2 2 0"} +
        home + takeUp + plane + QStringList{"KX10Motor_MoveTo_PAddress 2 2 100"} + home + takeUp +
        plane +
        QStringList{"KX10Motor_Set_Interval_Pulse 2 0 99999999", "KX10MCA_2DSCAN_Stop 1",
                    "KX10MCA_Stop 1"};
    EXPECT_EQ(expected, callsOf(steps));
    EXPECT_EQ(0, st->mapView.MapDrawHold);
    EXPECT_EQ(250, seq->display().timer2Interval);
}

TEST_F(Sequencer, AnEndSwitchAbortsTheScanAndQuietsTheHardware) {
    int lit = -1;      // motor index whose CW switch is lit
    int litCcw = -1;   // motor index whose CCW switch is lit
    seq = std::make_unique<ScanSequencer>(*st, kx, services, [&lit, &litCcw](int i) {
        MotorState s;
        s.busy = 0;
        s.cw = i == lit;
        s.ccw = i == litCcw;
        return s;
    });
    kx.replies["KX10MCA_2DSCAN_Status"] = "1";
    startOk();
    while (seq->run().ScanState != 40) seq->tick();
    seq->tick();
    ASSERT_EQ(2, st->ScanMode);
    lit = 0;
    kx.calls.clear();
    seq->tick();
    EXPECT_EQ(0, st->ScanMode);
    EXPECT_EQ(QStringList{"2D scan Motor#1 (X) stopped at the CW end switch , Abort 2Dscan"},
              alerts.messages);
    EXPECT_EQ((QStringList{"KX10Motor_Set_Interval_Pulse 2 0 99999999", "KX10MCA_2DSCAN_Stop 1",
                           "KX10MCA_Stop 1"}),
              kx.calls)
        << "no pixel read after the switch";
    EXPECT_EQ(ScanEnd::Aborted, seq->display().end);

    // In a wait state too: Y on its switch while the stage returns.
    alerts.clear();
    lit = -1;
    startOk();
    while (seq->run().ScanState != 50) seq->tick();
    lit = 1;
    seq->tick();
    EXPECT_EQ(0, st->ScanMode);
    EXPECT_EQ(QStringList{"2D scan Motor#2 (Y) stopped at the CW end switch , Abort 2Dscan"},
              alerts.messages);

    // The other end of travel stops the scan as well.
    alerts.clear();
    lit = -1;
    startOk();
    while (seq->run().ScanState != 40) seq->tick();
    litCcw = 0;
    seq->tick();
    EXPECT_EQ(0, st->ScanMode);
    EXPECT_EQ(QStringList{"2D scan Motor#1 (X) stopped at the CCW end switch , Abort 2Dscan"},
              alerts.messages);
}

TEST_F(Sequencer, TargetsThatLeaveTheCountersDuringAScanAbort) {
    // A huge backlash inside soft limits that were widened beyond the counters.
    st->rec.ScanMethod = 1;
    st->rec.XBacklashPulses = 2000000000;
    st->rec.SoftLimitMinus[0] = -1e12;
    st->rec.SoftLimitPlus[0] = 1e12;
    kx.replies["KX10MCA_2DSCAN_Status"] = "10";
    startOk();
    while (seq->run().ScanState != 51) seq->tick();
    // The controller reports a position far out: minus the backlash wraps in 32 bits; in 64
    // bits it is refused.
    kx.replyQueue["KX10Motor_Read_Paddress"] = {paddress(-999999999)};
    kx.calls.clear();
    seq->tick();
    EXPECT_EQ(0, st->ScanMode);
    EXPECT_EQ(QStringList{"2D scan MotorX target -2999999999 out of range , Abort 2Dscan"},
              alerts.messages);
    EXPECT_TRUE(kx.callsOf("KX10Motor_MoveTo_PAddress").isEmpty());
}

TEST_F(Sequencer, EveryAbortKeepsTheCompletedLinesOfThePass) {
    kx.replies["KX10MCA_2DSCAN_Status"] = "10 ";
    kx.replies["KX10MCA_2DSCAN_ReadROI"] = frame(7);
    struct Cause {
        const char* op;
        int state;        // the state of the third line's stroke in which it fails
        int afterCalls;   // the calls of `op` in that state that still succeed
        const char* message;
    };
    const Cause causes[] = {
        {"KX10MCA_2DSCAN_OFFSET", 30, 0, "2D scan KX10MCA_2DSCAN_OFFSET error , Abort 2Dscan"},
        {"KX10Motor_MoveTo_PAddress", 30, 0, "2D scan MotorX move error , Abort 2Dscan"},
        {"KX10MCA_Start", 30, 0, "2D scan KX10MCA_Start error , Abort 2Dscan"},
        {"KX10Motor_MoveTo_PAddress", 51, 1, "2D scan MotorY move error , Abort 2Dscan"},
    };
    for (const Cause& c : causes) {
        SCOPED_TRACE(c.op);
        QTemporaryDir folder;
        storeSjis(st->rec.SaveFolder, folder.path() + "/");
        alerts.clear();
        startOk();
        // Two lines done; the abort comes in the third line's stroke or at the second's end.
        const int row = c.state == 51 ? 1 : 2;
        while (st->ScanMode == 2 && !(seq->run().ScanY == row && seq->run().ScanState == c.state))
            seq->tick();
        ASSERT_EQ(2, seq->run().LinesInPass);
        kx.failFromCall[c.op] = kx.callCount[c.op] + c.afterCalls;
        runToEnd();
        kx.failFromCall.erase(c.op);
        EXPECT_EQ(QStringList{QString::fromLatin1(c.message)}, alerts.messages);
        EXPECT_EQ(QString::fromLatin1(c.message) + ": 2 of 3 lines kept in 1 map file",
                  seq->display().endText);
        const QStringList files = QDir(folder.path()).entryList({"*.CSV"});
        ASSERT_EQ(1, files.size());
        EXPECT_TRUE(files[0].endsWith(QStringLiteral("stepZ0001Fe-partial.CSV")));
        QFile f(folder.path() + "/" + files[0]);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray full = "       7,       7,       7,       7,       7,       7,       7,"
                                "       7,       7,       7\r";
        const QByteArray zero = "       0,       0,       0,       0,       0,       0,       0,"
                                "       0,       0,       0\r";
        EXPECT_EQ(full + full + zero, f.readAll());
        EXPECT_EQ(JournalEnd::Aborted, readJournal(seq->journal().path()).end);
    }
}

// No wait lasts for ever: a motor that keeps reading as moving ends the scan once the wait is
// longer than twice the scan's longest move at its motor's slowest speed, and 10 s more.
TEST_F(Sequencer, AMotorThatNeverComesToRestEndsTheScanAfterItsBound) {
    busy = {0, 1, 0};   // Y never comes to rest
    startOk();
    const int64_t bound = ScanSequencer::motorWaitBoundMs(st->rec);
    // The line of 10 x 10 pulses at 10 pulses per second (the X start speed is 50) is the longest.
    EXPECT_EQ(2 * 10000 + 10000, bound);
    while (st->ScanMode == 2 && seq->run().ScanState != 20) seq->tick();
    ASSERT_EQ(20, seq->run().ScanState);
    const int64_t from = clock.now;
    while (st->ScanMode == 2 && clock.now - from < 2 * bound) {
        clock.advance(250);
        seq->tick();
    }
    EXPECT_EQ(0, st->ScanMode);
    EXPECT_GT(clock.now - from, bound);
    EXPECT_LE(clock.now - from, bound + 500);
    EXPECT_EQ(QStringList{"2D scan Motor#2 (Y) still moving after 30 s, line 1/3 , Abort 2Dscan"},
              alerts.messages);
}
