#include <gtest/gtest.h>

#include <cstring>

#include "instrument/DebugPage.h"
#include "instrument/PageRig.h"
#include "support/Harness.h"

using namespace qor;
using namespace qor::test;

namespace {

QStringList items(const QComboBox* c) {
    QStringList out;
    for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
    return out;
}

void pick(QComboBox* c, int index) {
    c->setCurrentIndex(index);
    emit c->activated(index);
}

void putLe32(std::string& s, int at, int32_t v) {
    for (int k = 0; k < 4; ++k)
        s[at + k] = static_cast<char>((static_cast<uint32_t>(v) >> (8 * k)) & 0xff);
}

// An internal state block with recognisable values in every field.
std::string stateBlock(char endMark = 'E') {
    std::string b(69, '\0');
    b[0] = static_cast<char>(200);  // unsigned
    b[2] = 0x00;
    b[3] = 0x08;  // 2048 channels
    b[4] = 1;
    b[6] = 7;
    for (int i = 0; i < 4; ++i) {
        putLe32(b, 8 + 4 * i, 100 * (i + 1));
        putLe32(b, 24 + 4 * i, 100 * (i + 1) + 50);
        putLe32(b, 44 + 4 * i, -1000 * (i + 1));
    }
    b[40] = 0;
    b[41] = 1;
    b[42] = 1;
    b[43] = static_cast<char>(-1);  // not a kind: no item shown
    putLe32(b, 60, 123456);
    putLe32(b, 64, 654321);
    b[68] = endMark;
    return b;
}

struct OnlineRig : PageRig<DebugPage> {
    OnlineRig() {
        st->Online = 1;
        rec().Mca1HexSw = 1;
        rec().NonStopHexSw = 12;
        rec().McaChannels[0] = 1024;
        rec().McaPresetMode[0] = 1;
    }
};

}  // namespace

TEST(DebugPage, EveryControlExistsWithItsCaptionAndItems) {
    Harness h;
    DebugPage* p = h.form().TabSheet4;
    EXPECT_EQ(QStringLiteral("Debug"), h.form().PageMaster->tabText(TForm9::kDebug));
    EXPECT_EQ(QStringLiteral(
                  "　QOR-10 モータノンストップ機能の内部変数のダンプ（ＱＯＲルマの試験用画面　）"),
              p->GroupBoxDebug->title());
    const std::pair<const char*, const char*> buttons[] = {
        {"Button17", "設定"},           {"Button1", "Pset"},         {"Button20", "データ数Read"},
        {"Button23", "データＲＥＡＤ"}, {"Button21", "測定移動"},    {"Button24", "座標を変更"},
        {"Button22", "STOP"},           {"Button78", "SET"},         {"Button79", "READ"},
        {"Button18", "自動測定開始"},   {"Button19", "自動測定停止"}};
    for (const auto& [name, caption] : buttons) {
        auto* b = p->findChild<QPushButton*>(name);
        ASSERT_NE(nullptr, b) << name;
        EXPECT_EQ(QString::fromUtf8(caption), b->text()) << name;
    }
    for (const char* name :
         {"Edit28", "Edit44", "Edit29", "Edit30", "Edit31", "Edit32", "Edit33", "Edit34", "Edit35",
          "Edit36", "Edit37", "Edit38", "Edit39", "Edit40", "Edit41", "Edit42", "Edit45", "Edit46",
          "Edit47", "Edit48", "Edit49", "Edit50", "Edit51", "Edit52", "Edit53", "Edit128"})
        EXPECT_NE(nullptr, p->findChild<QLineEdit*>(name)) << name;
    const std::pair<const char*, const char*> checks[] = {{"CheckBox17", "autoRunSW"},
                                                          {"CheckBox18", "interruptSW"},
                                                          {"CheckBox19", "overflowSW"},
                                                          {"CheckBox20", "Not assign"}};
    for (const auto& [name, caption] : checks)
        EXPECT_EQ(QString::fromUtf8(caption), p->findChild<QCheckBox*>(name)->text()) << name;
    for (const char* name : {"ComboBox9", "ComboBox10", "ComboBox11", "ComboBox12"})
        EXPECT_EQ((QStringList{"NET", "GROSS"}), items(p->findChild<QComboBox*>(name))) << name;
    EXPECT_EQ(16, p->ComboBox14->count());
    EXPECT_EQ(QStringLiteral("F"), p->ComboBox14->itemText(15));
    EXPECT_EQ((QStringList{"ROI#1", "ROI#2", "ROI#3", "ROI#4"}), items(p->ComboBox13));
    EXPECT_EQ((QStringList{"256ch", "512ch", "1024ch", "2048ch"}), items(p->ComboBox2));
    EXPECT_EQ(QStringLiteral("NET"), p->RadioButton4->text());
    EXPECT_EQ(QStringLiteral("GROSS"), p->RadioButton5->text());
    for (QLabel* l : {p->LableD1, p->LableD2, p->LableD3, p->LableD4})
        EXPECT_EQ(QStringLiteral("ここに読み込みデータを表示する"), l->text());
    QStringList texts;
    for (const QLabel* l : p->findChildren<QLabel*>()) texts << l->text();
    for (const char* t :
         {"ノンストップモータ用コントローラー番号", "回転速度[pps]", "logicPulse",
          "インターバルパルス数", "論理座標", "まで", "内部測定点データ数", "fullch", "wPos",
          "rPos", "L ch", "R ch", "初期値は、MCA側でも扱うので不明。",
          "ノンステップ駆動モータは、4CHモータコントローラーの", "1番モータのみが指定できます。"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(t))) << t;
}

TEST(DebugPage, StoreHandlersWriteTheirFields) {
    Harness h;
    DebugPage* p = h.form().TabSheet4;
    InfoRecord& r = h.rec();
    p->Edit48->setText(QStringLiteral("350pps"));
    p->Edit51->setText(QStringLiteral("250"));
    p->Edit50->setText(QStringLiteral("-40"));
    p->Edit49->setText(QStringLiteral("2.75 mm"));
    p->Edit52->setText(QStringLiteral("-1e-3"));
    EXPECT_EQ(350, r.DebugSpeedPps);
    EXPECT_EQ(250, r.DebugLogicPulse);
    EXPECT_EQ(-40, r.DebugIntervalPulses);
    EXPECT_DOUBLE_EQ(2.75, r.DebugTarget);
    EXPECT_DOUBLE_EQ(-0.001, r.DebugNewCoord);
    p->Edit51->setText(QStringLiteral("pulse"));
    EXPECT_EQ(250, r.DebugLogicPulse);

    pick(p->ComboBox14, 13);
    EXPECT_EQ(13, r.NonStopHexSw);

    // The channel combo changes only MCA1's channel count, not the slot's view size.
    r.SlotViewChannels[0] = 2048;
    pick(p->ComboBox2, 1);
    EXPECT_EQ(512, r.McaChannels[0]);
    pick(p->ComboBox2, 3);
    EXPECT_EQ(2048, r.McaChannels[0]);
    pick(p->ComboBox2, 0);
    EXPECT_EQ(256, r.McaChannels[0]);
    EXPECT_EQ(2048, r.SlotViewChannels[0]);
    EXPECT_EQ(2048, r.McaChannels[1]);

    EXPECT_EQ(0, p->DebugRoiNumber);
    pick(p->ComboBox13, 2);
    p->Edit45->setText(QStringLiteral("120"));
    p->Edit46->setText(QStringLiteral("180ch"));
    p->RadioButton5->setChecked(true);
    EXPECT_EQ(3, p->DebugRoiNumber);
    EXPECT_EQ(120, p->DebugRoiFirst);
    EXPECT_EQ(180, p->DebugRoiLast);
    EXPECT_EQ(1, p->DebugRoiKind);
    p->RadioButton4->setChecked(true);
    EXPECT_EQ(0, p->DebugRoiKind);
}

TEST(DebugPage, StartUpFillsTheBoxesFromTheRecord) {
    QTemporaryDir dir;
    {
        Harness h(dir.path());
        InfoRecord& r = h.rec();
        r.McaChannels[0] = 4096;
        r.NonStopHexSw = 11;
        r.DebugChannelIndex = 2;
        r.DebugSpeedPps = 777;
        r.DebugIntervalPulses = 33;
        r.DebugLogicPulse = 640;
        r.DebugTarget = -2.5;
        r.DebugNewCoord = 0.125;
        h.close();
    }
    Harness h(dir.path());
    DebugPage* p = h.form().TabSheet4;
    EXPECT_EQ(QStringLiteral("4096"), p->Edit44->text());
    EXPECT_EQ(11, p->ComboBox14->currentIndex());
    EXPECT_EQ(2, p->ComboBox2->currentIndex());
    EXPECT_EQ(4096, h.rec().McaChannels[0]) << "selecting the channel item from code runs nothing";
    EXPECT_EQ(QStringLiteral("777"), p->Edit48->text());
    EXPECT_EQ(QStringLiteral("33"), p->Edit50->text());
    EXPECT_EQ(QStringLiteral("640"), p->Edit51->text());
    EXPECT_EQ(QStringLiteral("-2.5"), p->Edit49->text());
    EXPECT_EQ(QStringLiteral("0.125"), p->Edit52->text());
    EXPECT_EQ(-1, p->ComboBox13->currentIndex()) << "no hardware ROI chosen at start";
}

TEST(DebugPage, RoiSetSendsTheChosenRoiAndRefusesWhenNoneIsChosen) {
    OnlineRig rig;
    DebugPage* p = rig.page;
    p->Button17->click();
    EXPECT_TRUE(rig.kx.calls.empty()) << "no ROI index -1 is sent";
    EXPECT_EQ(1, rig.alerts.messages.size());

    rig.alerts.clear();
    pick(p->ComboBox13, 3);
    p->Edit45->setText(QStringLiteral("10"));
    p->Edit46->setText(QStringLiteral("20"));
    p->RadioButton5->setChecked(true);
    p->Button17->click();
    const auto calls = rig.kx.callsOf("KX10MCA_2DSCAN_ROISET");
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ('1', calls[0].m);
    EXPECT_EQ((std::vector<int32_t>{3, 10, 20, 1}), calls[0].args);
    EXPECT_TRUE(rig.alerts.messages.isEmpty());

    rig.kx.fail("KX10MCA_2DSCAN_ROISET");
    p->Button17->click();
    EXPECT_EQ(QStringList{"ROI SET error"}, rig.alerts.messages);
    EXPECT_EQ(1, rig.alerts.beeps);
    EXPECT_EQ(1, rig.st->Online) << "this failure does not take the program offline";
}

TEST(DebugPage, PsetBeepsOfflineAndSetsTheChannelSizeOnline) {
    OnlineRig rig;
    rig.st->Online = 0;
    rig.page->Button1->click();
    EXPECT_EQ(1, rig.alerts.beeps);
    EXPECT_TRUE(rig.alerts.messages.isEmpty());
    EXPECT_TRUE(rig.kx.calls.empty());

    rig.st->Online = 1;
    rig.page->Button1->click();
    ASSERT_EQ(1u, rig.kx.callsOf("KX10MCA_2DSCAN_PSET").size());
    EXPECT_EQ((std::vector<int32_t>{1024}), rig.kx.callsOf("KX10MCA_2DSCAN_PSET")[0].args);

    rig.kx.fail("KX10MCA_2DSCAN_PSET");
    rig.page->Button1->click();
    EXPECT_EQ(QStringList{"二次元ノンストップ　PRESET Motor ERROR"}, rig.alerts.messages);
}

TEST(DebugPage, ReadBackButtonsShowTheRepliesAndGoOfflineOnFailure) {
    OnlineRig rig;
    DebugPage* p = rig.page;
    rig.kx.reply("KX10MCA_2DSCAN_Status", "042,rest");
    p->Button20->click();
    EXPECT_EQ(QStringLiteral("042"), p->Edit47->text());

    std::string frame(130, '\0');
    for (int i = 0; i < 32; ++i) putLe32(frame, 4 * i, i == 9 ? -7 : i * 1000);
    rig.kx.reply("KX10MCA_2DSCAN_ReadROI", frame);
    p->Button23->click();
    EXPECT_EQ(
        QStringLiteral("       0,    1000,    2000,    3000,    4000,    5000,    6000,    7000"),
        p->LableD1->text());
    EXPECT_EQ(
        QStringLiteral("    8000,      -7,   10000,   11000,   12000,   13000,   14000,   15000"),
        p->LableD2->text());
    EXPECT_TRUE(p->LableD4->text().endsWith(QStringLiteral("   31000")));
    EXPECT_EQ(130, rig.kx.callsOf("KX10MCA_2DSCAN_ReadROI")[0].args[0]) << "room for a whole frame";
    EXPECT_EQ(1, rig.st->Online);

    rig.kx.fail("KX10MCA_2DSCAN_Status");
    p->Button20->click();
    EXPECT_EQ(QStringList{"Read ROI data count error"}, rig.alerts.messages);
    EXPECT_EQ(0, rig.st->Online);

    rig.st->Online = 1;
    rig.alerts.clear();
    rig.kx.fail("KX10MCA_2DSCAN_ReadROI");
    p->Button23->click();
    EXPECT_EQ(QStringList{"Read ROI data error"}, rig.alerts.messages);
    EXPECT_EQ(1, rig.alerts.beeps);
    EXPECT_EQ(0, rig.st->Online);

    // Offline, the read-back buttons address nothing.
    rig.kx.calls.clear();
    p->Button20->click();
    p->Button23->click();
    EXPECT_TRUE(rig.kx.calls.empty());
}

TEST(DebugPage, TestMoveRunsTheWholeSequenceOnTheNonStopMotor) {
    OnlineRig rig;
    InfoRecord& r = rig.rec();
    r.DebugSpeedPps = 300;
    r.DebugIntervalPulses = 25;
    r.DebugLogicPulse = 500;
    r.DebugTarget = 2.5;
    rig.page->Button21->click();
    const std::vector<std::string> expected{
        "KX10MCA_Preset",           "KX10MCA_Clear",       "KX10MCA_2DSCAN_PSET",
        "KX10MCA_2DSCAN_Start",     "KX10Motor_Set_Speed", "KX10Motor_Set_Interval_Pulse",
        "KX10Motor_MoveTo_PAddress"};
    ASSERT_EQ(expected, rig.kx.ops());
    const auto& c = rig.kx.calls;
    EXPECT_EQ((std::vector<int32_t>{1, 1024, 99999}), c[0].args);
    EXPECT_EQ('1', c[0].m);
    EXPECT_EQ((std::vector<int32_t>{300, 300, 300, 0, 0}), c[4].args);
    for (int i = 4; i < 7; ++i) {
        EXPECT_EQ('C', c[i].m) << expected[i];
        EXPECT_EQ('0', c[i].a) << expected[i];
    }
    EXPECT_EQ((std::vector<int32_t>{25}), c[5].args);
    EXPECT_EQ((std::vector<int32_t>{1250}), c[6].args);
    EXPECT_TRUE(rig.alerts.messages.isEmpty());
}

TEST(DebugPage, TestMoveStopsAtTheFirstFailureAndNeedsOnlineAndMca1) {
    const std::pair<const char*, const char*> steps[] = {
        {"KX10MCA_Preset", "MCA Preset error"},
        {"KX10MCA_Clear", "MCA Clear error"},
        {"KX10MCA_2DSCAN_PSET", "MCA 2DSCAN PSET error"},
        {"KX10MCA_2DSCAN_Start", "MCA 2DSCAN Start error"},
        {"KX10Motor_Set_Speed", "Motor Preset error"},
        {"KX10Motor_Set_Interval_Pulse", "Motor Set interval pulse error"},
        {"KX10Motor_MoveTo_PAddress", "Motor goto error"}};
    for (size_t k = 0; k < std::size(steps); ++k) {
        OnlineRig rig;
        rig.kx.fail(steps[k].first);
        rig.page->Button21->click();
        EXPECT_EQ(k + 1, rig.kx.calls.size()) << steps[k].first;
        EXPECT_EQ(QStringList{QString::fromUtf8(steps[k].second)}, rig.alerts.messages);
        EXPECT_EQ(1, rig.alerts.beeps);
        EXPECT_EQ(1, rig.st->Online);
    }
    OnlineRig offline;
    offline.st->Online = 0;
    offline.page->Button21->click();
    EXPECT_TRUE(offline.kx.calls.empty());
    OnlineRig unselected;
    unselected.mca1Selection->setChecked(false);
    unselected.page->Button21->click();
    EXPECT_TRUE(unselected.kx.calls.empty());
}

TEST(DebugPage, MotorButtonsAddressAxisZeroOfTheNonStopController) {
    OnlineRig rig;
    DebugPage* p = rig.page;
    p->Edit51->setText(QStringLiteral("100"));
    p->Edit52->setText(QStringLiteral("-1.239"));
    p->Button24->click();
    auto set = rig.kx.callsOf("KX10Motor_Set_Pulse_Address");
    ASSERT_EQ(1u, set.size());
    EXPECT_EQ('C', set[0].m);
    EXPECT_EQ('0', set[0].a);
    EXPECT_EQ((std::vector<int32_t>{-123}), set[0].args);
    rig.kx.fail("KX10Motor_Set_Pulse_Address");
    p->Button24->click();
    EXPECT_EQ(QStringList{"座標変更命令エラー"}, rig.alerts.messages);

    rig.rec().DebugIntervalPulses = 64;
    p->Button78->click();
    p->Button22->click();
    ASSERT_EQ(1u, rig.kx.callsOf("KX10Motor_Set_Interval_Pulse").size());
    EXPECT_EQ((std::vector<int32_t>{64}), rig.kx.callsOf("KX10Motor_Set_Interval_Pulse")[0].args);
    ASSERT_EQ(1u, rig.kx.callsOf("KX10Motor_Halt").size());
    EXPECT_EQ('C', rig.kx.callsOf("KX10Motor_Halt")[0].m);
}

TEST(DebugPage, ReadCopiesTheControllerIntervalIntoTheIntervalBox) {
    OnlineRig rig;
    std::string dump(64, '\0');
    dump[0] = '$';
    putLe32(dump, 1, 4321);
    rig.kx.reply("KX10Motor_Read_18memory2", dump);
    rig.page->Button79->click();
    EXPECT_EQ(QStringLiteral("4321"), rig.page->Edit50->text());
    EXPECT_EQ(4321, rig.rec().DebugIntervalPulses);

    // A failed read holds no value: the operator's interval stays.
    rig.kx.fail("KX10Motor_Read_18memory2");
    rig.page->Edit50->setText(QStringLiteral("12"));
    rig.page->Button79->click();
    EXPECT_EQ(12, rig.rec().DebugIntervalPulses);
    EXPECT_EQ(1, rig.alerts.beeps);
}

TEST(DebugPage, TickShowsTheStateBlockAndTheNonStopPosition) {
    OnlineRig rig;
    DebugPage* p = rig.page;
    rig.rec().DebugLogicPulse = 0;
    rig.kx.reply("KX10MCA_2DSCAN_ReadDebug", stateBlock());
    rig.kx.reply("KX10Motor_Read_Paddress", "$-123456789xx");
    p->tickDuty();

    EXPECT_EQ(QStringLiteral("200"), p->Edit28->text());
    EXPECT_EQ(QStringLiteral("2048"), p->Edit44->text());
    EXPECT_TRUE(p->CheckBox17->isChecked());
    EXPECT_FALSE(p->CheckBox18->isChecked());
    EXPECT_TRUE(p->CheckBox19->isChecked());
    EXPECT_FALSE(p->CheckBox20->isChecked());
    EXPECT_EQ(QStringLiteral("100"), p->Edit29->text());
    EXPECT_EQ(QStringLiteral("150"), p->Edit30->text());
    EXPECT_EQ(QStringLiteral("400"), p->Edit35->text());
    EXPECT_EQ(QStringLiteral("450"), p->Edit36->text());
    EXPECT_EQ(0, p->ComboBox9->currentIndex());
    EXPECT_EQ(1, p->ComboBox10->currentIndex());
    EXPECT_EQ(-1, p->ComboBox12->currentIndex());
    EXPECT_EQ(QStringLiteral("-1000"), p->Edit39->text());
    EXPECT_EQ(QStringLiteral("-4000"), p->Edit42->text());
    EXPECT_EQ(QStringLiteral("123456"), p->Edit37->text());
    EXPECT_EQ(QStringLiteral("654321"), p->Edit38->text());

    EXPECT_EQ(1, rig.rec().DebugLogicPulse) << "a zero scale becomes 1";
    EXPECT_EQ(QStringLiteral("-123456789"), p->Edit53->text()) << "cut to 10 characters";
    EXPECT_EQ(QStringLiteral("-123456789"), p->Edit128->text());
    const auto reads = rig.kx.callsOf("KX10Motor_Read_Paddress");
    ASSERT_EQ(1u, reads.size());
    EXPECT_EQ('C', reads[0].m);
    EXPECT_EQ('0', reads[0].a);
    EXPECT_EQ('1', rig.kx.callsOf("KX10MCA_2DSCAN_ReadDebug")[0].m);
    EXPECT_TRUE(rig.alerts.messages.isEmpty());
    EXPECT_EQ(1, rig.st->Online);

    rig.rec().DebugLogicPulse = 500;
    p->tickDuty();
    EXPECT_EQ(QStringLiteral("-246913.57"), p->Edit53->text());
}

TEST(DebugPage, TickWithABadEndMarkGoesOfflineButStillShowsTheBlockOnce) {
    OnlineRig rig;
    rig.kx.reply("KX10MCA_2DSCAN_ReadDebug", stateBlock('X'));
    rig.page->tickDuty();
    EXPECT_EQ(QStringList{"DEBUG QOR-10内部データFORMAT error"}, rig.alerts.messages);
    EXPECT_EQ(0, rig.st->Online);
    EXPECT_EQ(std::vector<bool>{false}, rig.main.lamps);
    EXPECT_EQ(QStringLiteral("200"), rig.page->Edit28->text());

    rig.kx.calls.clear();
    rig.page->tickDuty();
    EXPECT_TRUE(rig.kx.calls.empty()) << "offline the duty addresses nothing";
}

TEST(DebugPage, TickReadFailuresAreReported) {
    OnlineRig rig;
    rig.kx.fail("KX10MCA_2DSCAN_ReadDebug");
    rig.kx.fail("KX10Motor_Read_Paddress");
    rig.page->tickDuty();
    EXPECT_EQ((QStringList{"DEBUG QOR-10内部データ読み出しでエラー",
                           "DEBUG QOR-10内部データFORMAT error", "Read Paddrss timeover or error"}),
              rig.alerts.messages);
    EXPECT_EQ(1, rig.alerts.beeps);
    EXPECT_EQ(3000, rig.clock.now) << "the 3 s wait after a failed position read";
    EXPECT_EQ(0, rig.st->Online);
    EXPECT_EQ(QStringLiteral("0"), rig.page->Edit128->text());
}

TEST(DebugPage, TheAcquisitionTickRunsTheDutyOnlyOnTheDebugPage) {
    Harness h;
    h.st().Online = 1;
    h.form().PageMaster->setCurrentIndex(TForm9::kSetup);
    h.alerts.clear();
    h.tick1();
    EXPECT_EQ(QString(), h.form().TabSheet4->Edit128->text());
    EXPECT_TRUE(h.alerts.messages.isEmpty());
    h.form().PageMaster->setCurrentIndex(TForm9::kDebug);
    h.tick1();
    // The simulated instrument answers or fails; either way the duty has run and reported.
    EXPECT_FALSE(h.form().TabSheet4->Edit128->text().isEmpty());
}
