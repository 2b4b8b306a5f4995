#include "support/Harness.h"

#include "../scan/StageFakeKx10.h"

#include "app/FieldText.h"
#include "app/TextCodec.h"
#include "app/Widgets.h"
#include "scan/SetupScanPage.h"
#include "scan/StageLamp.h"

#include <QApplication>
#include <QGroupBox>
#include <QTabWidget>
#include <cstring>
#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;

namespace {

SetupScanPage& page(Harness& h) { return *h.form().Setup2DSCAN; }

QStringList items(QComboBox* c) {
    QStringList l;
    for (int i = 0; i < c->count(); ++i) l << c->itemText(i);
    return l;
}

// The operator picks an item: the selection changes and the combo's handler runs.
void pick(QComboBox* c, int index) {
    c->setCurrentIndex(index);
    emit c->activated(index);
}

void showPage(Harness& h) { h.form().PageMaster->setCurrentIndex(TForm9::kSetupScan); }

}  // namespace

TEST(SetupScanPage, IsTabTwoWithItsGroups) {
    Harness h;
    EXPECT_EQ(QStringLiteral("Setup2DSCAN"), page(h).objectName());
    EXPECT_EQ(TForm9::kSetupScan, h.form().PageMaster->indexOf(&page(h)));
    EXPECT_EQ(QStringLiteral("Setup SCAN"), h.form().PageMaster->tabText(TForm9::kSetupScan));
    QStringList captions;
    for (QGroupBox* g : page(h).findChildren<QGroupBox*>()) captions << g->title();
    for (const char* c : {"　ROI の元素名 　(アルファと数値のみ　空白記号は不可)　 ", " MCA#1 Preset ",
                          "　二次元ノンストップ移動のＸ軸モーターパラメータ指定　",
                          "　測定開始原点位置の調整  (0,0)位置が開始位置",
                          " その他のモータ調整  座標は論理単位"})
        EXPECT_TRUE(captions.contains(QString::fromUtf8(c))) << c;
}

TEST(SetupScanPage, MapRoiSlotsHaveTheirNamesCaptionsAndItems) {
    Harness h;
    SetupScanPage& p = page(h);
    const int checks[] = {22, 25, 26, 29, 30, 31, 32, 33, 34, 35,
                          36, 37, 38, 39, 40, 41, 42, 43, 44, 45};
    for (int i = 0; i < 20; ++i) {
        const QByteArray check = "CheckBox" + QByteArray::number(checks[i]);
        const QByteArray combo = "ComboBox" + QByteArray::number(15 + i);
        const QByteArray edit = "Edit" + QByteArray::number(54 + i);
        auto* c = p.findChild<QCheckBox*>(QString::fromLatin1(check));
        ASSERT_NE(nullptr, c) << check.constData();
        EXPECT_EQ(p.mapRoiCheck[i], c);
        EXPECT_EQ(QStringLiteral("ROI-%1").arg(i + 1), c->text());
        EXPECT_EQ(QStringLiteral("マップデータを作成する場合はチェックを入れる。"), c->toolTip());
        auto* k = p.findChild<QComboBox*>(QString::fromLatin1(combo));
        ASSERT_NE(nullptr, k) << combo.constData();
        EXPECT_EQ((QStringList{"NET", "GROSS"}), items(k));
        EXPECT_EQ(p.mapRoiKind[i], k);
        EXPECT_EQ(p.mapRoiName[i], p.findChild<QLineEdit*>(QString::fromLatin1(edit)));
    }
    EXPECT_EQ(p.CheckBox45, p.mapRoiCheck[19]);
    EXPECT_EQ(p.ComboBox34, p.mapRoiKind[19]);
    EXPECT_EQ(p.Edit73, p.mapRoiName[19]);
}

TEST(SetupScanPage, ScanControlsHaveTheirItemsAndCaptions) {
    Harness h;
    SetupScanPage& p = page(h);
    EXPECT_EQ((QStringList{"256ch", "512ch", "1024ch", "2048ch"}), items(p.ComboBox35));
    EXPECT_EQ((QStringList{QStringLiteral("X軸+方向のみ"), QStringLiteral("X軸で往復")}),
              items(p.smSelect));
    EXPECT_EQ(QStringLiteral("Z軸も使う"), p.CheckBox48->text());
    EXPECT_EQ(QStringLiteral("座標を(0,0)にする"), p.Button31->text());
    EXPECT_EQ(QStringLiteral("測定領域を面移動とMCA測定"), p.Button25->text());
    EXPECT_EQ(QStringLiteral("停止"), p.Button30->text());
    EXPECT_EQ(QStringLiteral("▲"), p.Button26->text());
    EXPECT_EQ(QStringLiteral("▼"), p.Button27->text());
    EXPECT_EQ(QStringLiteral("▶"), p.Button28->text());
    EXPECT_EQ(QStringLiteral("◀"), p.Button29->text());
    QStringList labels;
    for (QLabel* l : p.findChildren<QLabel*>()) labels << l->text();
    for (const char* t : {"Ｘ軸モーターの回転速度[pps]", "Ｘ軸二次元のピクセル幅[パルス数]",
                          "Ｙ軸二次元のピクセル幅[パルス数]", "二次元マップのX軸ｓｔｅｐ数",
                          "二次元マップのY軸ｓｔｅｐ数", "二次元スキャンを何回繰り返す", "開始座標",
                          "終了座標", "ステップ角度", "回数", "Scan Method ", "X軸Backlash", "パルス",
                          "Y軸Backlash", "MCA測定のチャンネルサイズ", "測定点(ピクセル)", "X=", "Y=",
                          "[ mm, cm ]", "Xsize", "Ysize", "営業マン",
                          "移動量は、論理単位　mm,角度など"})
        EXPECT_TRUE(labels.contains(QString::fromUtf8(t))) << t;
    // Motor rows #3 .. #8: EDIT, GOTO, ◀, STOP, ▶ and the four boxes.
    const char* rows[6][9] = {
        {"Edit82", "Button32", "Edit84", "Button33", "Edit85", "Button34", "Button35", "Button36", "Edit86"},
        {"Edit87", "Button37", "Edit89", "Button38", "Edit90", "Button39", "Button40", "Button41", "Edit91"},
        {"Edit92", "Button42", "Edit94", "Button43", "Edit95", "Button44", "Button45", "Button46", "Edit96"},
        {"Edit97", "Button47", "Edit99", "Button48", "Edit100", "Button49", "Button50", "Button51", "Edit101"},
        {"Edit102", "Button52", "Edit104", "Button53", "Edit105", "Button54", "Button55", "Button56", "Edit106"},
        {"Edit107", "Button57", "Edit109", "Button58", "Edit110", "Button59", "Button60", "Button61", "Edit111"}};
    const char* captions[] = {nullptr, "EDIT", nullptr, "GOTO", nullptr, "◀", "STOP", "▶", nullptr};
    for (int k = 0; k < 6; ++k) {
        for (int c = 0; c < 9; ++c) {
            const QString name = QString::fromLatin1(rows[k][c]);
            if (captions[c]) {
                auto* b = p.findChild<QPushButton*>(name);
                ASSERT_NE(nullptr, b) << rows[k][c];
                EXPECT_EQ(QString::fromUtf8(captions[c]), b->text()) << rows[k][c];
            } else {
                EXPECT_NE(nullptr, p.findChild<QLineEdit*>(name)) << rows[k][c];
            }
        }
        EXPECT_NE(nullptr, p.findChild<StageLamp*>(QStringLiteral("imgCCW%1").arg(k + 3)));
        EXPECT_NE(nullptr, p.findChild<StageLamp*>(QStringLiteral("imgCW%1").arg(k + 3)));
    }
    for (const char* n : {"Edit74", "Edit75", "Edit76", "Edit77", "Edit78", "Edit79", "Edit80",
                          "Edit81", "Edit122", "Edit123", "Edit124", "Edit125", "Edit126",
                          "Edit127", "Edit153", "Edit154"})
        EXPECT_NE(nullptr, p.findChild<QLineEdit*>(QString::fromLatin1(n))) << n;
    for (const char* n : {"Label92", "Label94", "Label97", "Label99", "scanm1", "scanm2"})
        EXPECT_NE(nullptr, p.findChild<QLabel*>(QString::fromLatin1(n))) << n;
    for (const char* n : {"SpeedButton21", "SpeedButton22", "SpeedButton23", "SpeedButton24",
                          "SpeedButton30", "SpeedButton32", "SpeedButton33", "SpeedButton35",
                          "imgPeng1", "imgPeng2"})
        EXPECT_NE(nullptr, p.findChild<QToolButton*>(QString::fromLatin1(n))) << n;
}

TEST(SetupScanPage, NumberBoxesStoreByTheLeadingNumber) {
    Harness h;
    SetupScanPage& p = page(h);
    InfoRecord& r = h.rec();
    p.Edit74->setText(QStringLiteral("12pps"));
    EXPECT_EQ(12, r.ScanXSpeedPps);
    p.Edit74->setText(QStringLiteral("fast"));
    EXPECT_EQ(12, r.ScanXSpeedPps) << "text without a number leaves the field";
    p.Edit81->setText(QStringLiteral("3"));
    EXPECT_EQ(3, r.ScanRepeat);
    p.Edit153->setText(QStringLiteral("-50"));
    p.Edit154->setText(QStringLiteral("7"));
    EXPECT_EQ(-50, r.XBacklashPulses);
    EXPECT_EQ(7, r.YBacklashPulses);
    p.Edit124->setText(QStringLiteral("1.5mm"));
    p.Edit125->setText(QStringLiteral("-2.25"));
    EXPECT_DOUBLE_EQ(1.5, r.ZStart);
    EXPECT_DOUBLE_EQ(-2.25, r.ZEnd);
    p.Edit79->setText(QStringLiteral("0.25"));
    p.Edit80->setText(QStringLiteral("    2.5000\r"));
    EXPECT_DOUBLE_EQ(0.25, r.JogStepY);
    EXPECT_DOUBLE_EQ(2.5, r.JogStepX);
    // Motor rows: EDIT value, GOTO target and jog step of each motor.
    QLineEdit* setPos[] = {p.Edit84, p.Edit89, p.Edit94, p.Edit99, p.Edit104, p.Edit109};
    QLineEdit* gotoPos[] = {p.Edit85, p.Edit90, p.Edit95, p.Edit100, p.Edit105, p.Edit110};
    QLineEdit* jog[] = {p.Edit86, p.Edit91, p.Edit96, p.Edit101, p.Edit106, p.Edit111};
    for (int k = 0; k < 6; ++k) {
        setPos[k]->setText(QString::number(k + 0.5));
        gotoPos[k]->setText(QString::number(-k - 0.25));
        jog[k]->setText(QString::number(k + 10));
    }
    for (int k = 0; k < 6; ++k) {
        EXPECT_DOUBLE_EQ(k + 0.5, r.MotorSetPos[k + 2]);
        EXPECT_DOUBLE_EQ(-k - 0.25, r.MotorGotoPos[k + 2]);
        EXPECT_DOUBLE_EQ(k + 10, r.MotorJogStep[k + 2]);
    }
    p.Edit86->setText(QStringLiteral("mm"));
    EXPECT_DOUBLE_EQ(10, r.MotorJogStep[2]);
    p.Edit86->setText(QStringLiteral("4x"));
    EXPECT_DOUBLE_EQ(4, r.MotorJogStep[2]);
}

TEST(SetupScanPage, PixelWidthsAndCountsDeriveTheirValues) {
    Harness h;
    SetupScanPage& p = page(h);
    InfoRecord& r = h.rec();
    r.MotorLogicalPulses[0] = 100;
    r.MotorLogicalPulses[1] = 200;
    // The range boxes of the scan display, wherever the window holds them.
    auto* xStep = named(new QLineEdit(&h.form()), "Edit134");
    auto* yEnd = named(new QLineEdit(&h.form()), "Edit130");
    p.Edit75->setText(QStringLiteral("25"));
    EXPECT_EQ(25, r.ScanXPixelPulses);
    EXPECT_DOUBLE_EQ(0.25, r.ScanXStep);
    EXPECT_EQ(QStringLiteral("0.25"), xStep->text());
    p.Edit78->setText(QStringLiteral("40"));
    EXPECT_EQ(40, r.ScanXSteps);
    EXPECT_EQ(40, r.MapPixelsX);
    EXPECT_DOUBLE_EQ(10.0, r.ScanXEnd);
    p.Edit76->setText(QStringLiteral("50"));
    p.Edit77->setText(QStringLiteral("8"));
    EXPECT_EQ(8, r.ScanYSteps);
    EXPECT_EQ(8, r.MapPixelsY);
    EXPECT_DOUBLE_EQ(0.25, r.ScanYStep);
    EXPECT_DOUBLE_EQ(2.0, r.ScanYEnd);
    EXPECT_EQ(QStringLiteral("2"), yEnd->text());
}

TEST(SetupScanPage, ZStepAndCountSettleThroughTheBoxes) {
    Harness h;
    SetupScanPage& p = page(h);
    InfoRecord& r = h.rec();
    p.Edit124->setText(QStringLiteral("0"));
    p.Edit125->setText(QStringLiteral("1"));
    p.Edit126->setText(QStringLiteral("0.3"));
    EXPECT_EQ(3, r.ZCount);
    EXPECT_EQ(QStringLiteral("3"), p.Edit127->text());
    EXPECT_NEAR(1.0 / 3.0, r.ZStep, 1e-14);
    EXPECT_EQ(QStringLiteral("0.333333333333333"), p.Edit126->text());

    p.Edit126->setText(QStringLiteral("-1"));
    EXPECT_DOUBLE_EQ(0.01, r.ZStep);
    EXPECT_EQ(3, r.ZCount);
    EXPECT_EQ(QStringLiteral("-1"), p.Edit126->text()) << "the box keeps the typed text";

    p.Edit127->setText(QStringLiteral("4"));
    EXPECT_EQ(4, r.ZCount);
    EXPECT_DOUBLE_EQ(0.25, r.ZStep);
    EXPECT_EQ(QStringLiteral("0.25"), p.Edit126->text());

    p.CheckBox48->setChecked(true);
    EXPECT_EQ(1, r.ScanUseZ);
    p.CheckBox48->setChecked(false);
    EXPECT_EQ(0, r.ScanUseZ);
}

TEST(SetupScanPage, MapRoiSlotsStoreStateKindAndName) {
    Harness h;
    SetupScanPage& p = page(h);
    InfoRecord& r = h.rec();
    p.CheckBox30->setChecked(true);  // ROI-5
    pick(p.ComboBox19, 0);
    p.Edit58->setText(QStringLiteral("Fe"));
    EXPECT_EQ(1, r.MapRoiEnabled[4]);
    EXPECT_EQ(0, r.MapRoiKind[4]);
    EXPECT_STREQ("Fe", r.MapRoiElementName[4]);
    p.CheckBox30->setChecked(false);
    EXPECT_EQ(0, r.MapRoiEnabled[4]);
    EXPECT_EQ(0, r.MapRoiKind[4]) << "unchecking keeps the kind";
    EXPECT_STREQ("Fe", r.MapRoiElementName[4]) << "and the name";

    p.Edit73->setText(QStringLiteral("鉄"));
    EXPECT_EQ(QStringLiteral("鉄"), fromSjis(r.MapRoiElementName[19]));
    // A name longer than its slot is cut inside the slot, terminated, on a character boundary.
    const char guard = r.MapRoiElementName[20][0];
    p.Edit73->setText(QString(40, QChar(0x9244)));  // forty double-byte characters
    EXPECT_EQ(30u, std::strlen(r.MapRoiElementName[19]));
    EXPECT_EQ(guard, r.MapRoiElementName[20][0]) << "the next slot is untouched";
}

TEST(SetupScanPage, ChannelSizeAndMethodStoreTheirIndex) {
    Harness h;
    SetupScanPage& p = page(h);
    InfoRecord& r = h.rec();
    r.McaChannels[0] = 1024;
    h.alerts.clear();
    pick(p.ComboBox35, 1);
    EXPECT_EQ(1, r.MapChannelIndex);
    EXPECT_EQ(QStringList{QStringLiteral("MCA測定と二次元SCAN時のMCAサイズが異なっています。")},
              h.alerts.messages);
    h.alerts.clear();
    pick(p.ComboBox35, 2);
    EXPECT_EQ(2, r.MapChannelIndex);
    EXPECT_TRUE(h.alerts.messages.isEmpty());

    pick(p.smSelect, 0);
    EXPECT_EQ(0, r.ScanMethod);
    EXPECT_FALSE(p.scanm1->isHidden());
    EXPECT_TRUE(p.scanm2->isHidden());
    pick(p.smSelect, 1);
    EXPECT_EQ(1, r.ScanMethod);
    EXPECT_TRUE(p.scanm1->isHidden());
    EXPECT_FALSE(p.scanm2->isHidden());
}

TEST(SetupScanPage, StartupRestoresEveryBox) {
    QTemporaryDir dir;
    {
        Harness h(dir.path());
        SetupScanPage& p = page(h);
        p.CheckBox22->setChecked(true);
        p.CheckBox45->setChecked(true);
        pick(p.ComboBox16, 0);
        p.Edit55->setText(QStringLiteral("Cu"));
        p.Edit74->setText(QStringLiteral("40"));
        p.Edit75->setText(QStringLiteral("20"));
        p.Edit76->setText(QStringLiteral("30"));
        p.Edit77->setText(QStringLiteral("12"));
        p.Edit78->setText(QStringLiteral("16"));
        p.Edit81->setText(QStringLiteral("2"));
        p.Edit79->setText(QStringLiteral("0.125"));
        p.Edit80->setText(QStringLiteral("-3"));
        p.Edit124->setText(QStringLiteral("5"));
        p.Edit125->setText(QStringLiteral("2"));
        p.Edit126->setText(QStringLiteral("1"));
        p.CheckBox48->setChecked(true);
        pick(p.smSelect, 0);
        pick(p.ComboBox35, 1);
        p.Edit153->setText(QStringLiteral("50"));
        p.Edit154->setText(QStringLiteral("-4"));
        p.Edit84->setText(QStringLiteral("2.5"));
        p.Edit110->setText(QStringLiteral("-7.75"));
        p.Edit101->setText(QStringLiteral("0.1"));
        h.rec().MapPixelsX = 999;  // re-derived from the step count at start
        h.close();
    }
    Harness h(dir.path());
    SetupScanPage& p = page(h);
    const InfoRecord& r = h.rec();
    EXPECT_TRUE(p.CheckBox22->isChecked());
    EXPECT_TRUE(p.CheckBox45->isChecked());
    EXPECT_FALSE(p.CheckBox25->isChecked());
    EXPECT_EQ(0, p.ComboBox16->currentIndex());
    EXPECT_EQ(1, p.ComboBox15->currentIndex());
    EXPECT_EQ(QStringLiteral("Cu"), p.Edit55->text());
    EXPECT_EQ(QStringLiteral("元素名など入力"), p.Edit54->text());
    EXPECT_EQ(QStringLiteral("40"), p.Edit74->text());
    EXPECT_EQ(QStringLiteral("20"), p.Edit75->text());
    EXPECT_EQ(QStringLiteral("30"), p.Edit76->text());
    EXPECT_EQ(QStringLiteral("12"), p.Edit77->text());
    EXPECT_EQ(QStringLiteral("16"), p.Edit78->text());
    EXPECT_EQ(QStringLiteral("2"), p.Edit81->text());
    EXPECT_EQ(QStringLiteral("    0.1250\r"), p.Edit79->text());
    EXPECT_EQ(QStringLiteral("   -3.0000\r"), p.Edit80->text());
    EXPECT_EQ(QStringLiteral("5"), p.Edit124->text());
    EXPECT_EQ(QStringLiteral("2"), p.Edit125->text());
    EXPECT_EQ(QStringLiteral("1"), p.Edit126->text());
    EXPECT_EQ(QStringLiteral("3"), p.Edit127->text());
    EXPECT_TRUE(p.CheckBox48->isChecked());
    EXPECT_EQ(0, p.smSelect->currentIndex());
    EXPECT_FALSE(p.scanm1->isHidden());
    EXPECT_TRUE(p.scanm2->isHidden());
    EXPECT_EQ(1, p.ComboBox35->currentIndex());
    EXPECT_EQ(QStringLiteral("50"), p.Edit153->text());
    EXPECT_EQ(QStringLiteral("-4"), p.Edit154->text());
    EXPECT_EQ(QStringLiteral("2.5"), p.Edit84->text());
    EXPECT_EQ(QStringLiteral("2.5"), p.Edit82->text()) << "motor #3 shows its EDIT value until read";
    EXPECT_EQ(QStringLiteral("-7.75"), p.Edit110->text());
    EXPECT_EQ(QStringLiteral("0.1"), p.Edit101->text());
    EXPECT_EQ(QStringLiteral("0"), p.Edit85->text());
    EXPECT_EQ(16, r.MapPixelsX);
    EXPECT_EQ(12, r.MapPixelsY);
    EXPECT_EQ(3, r.ZCount);
    EXPECT_DOUBLE_EQ(1.0, r.ZStep);
    EXPECT_EQ(QStringLiteral("  16"), p.Label97->text());
    EXPECT_EQ(QStringLiteral("  12"), p.Label99->text());
}

TEST(SetupScanPage, TickRewritesJogStepsAndSizeAndResetsThePicture) {
    Harness h;
    SetupScanPage& p = page(h);
    showPage(h);
    p.Edit80->setText(QStringLiteral("0.5"));
    p.Edit78->setText(QStringLiteral("99"));
    h.rec().JogStepY = 0.75;   // a field changed behind its box
    h.tick1();
    EXPECT_EQ(QStringLiteral("0.5"), p.Edit80->text()) << "a box that says its value is left alone";
    EXPECT_EQ(QStringLiteral("    0.7500\r"), p.Edit79->text());
    EXPECT_EQ(QStringLiteral("  99"), p.Label97->text());
    EXPECT_EQ(QStringLiteral("      9.90\r"), p.Label92->text());

    h.clock.advance(7000);  // 10:00:07 plus the tick above
    p.PengTickCount = 0;
    p.imgPeng1->click();
    EXPECT_TRUE(p.imgPeng1->isHidden());
    EXPECT_FALSE(p.imgPeng2->isHidden());
    EXPECT_EQ(QStringLiteral("ss7.wav"), h.sounds.played.last());
    for (int i = 0; i < 15; ++i) h.tick1();
    EXPECT_FALSE(p.imgPeng2->isHidden()) << "shown until the 16th tick";
    h.tick1();
    EXPECT_FALSE(p.imgPeng1->isHidden());
    EXPECT_TRUE(p.imgPeng2->isHidden());
    EXPECT_EQ(0, p.PengTickCount);
}

TEST(SetupScanPage, SoundHelpButtonsPlayTheirCues) {
    Harness h;
    SetupScanPage& p = page(h);
    const std::pair<QAbstractButton*, const char*> cues[] = {
        {p.SpeedButton35, "roiset2dscan.wav"}, {p.SpeedButton21, "PenEdit74.wav"},
        {p.SpeedButton22, "PenEdit75.wav"},    {p.SpeedButton23, "PenEdit76.wav"},
        {p.SpeedButton24, "PenEdit77.wav"},    {p.SpeedButton30, "PenEdit78.wav"},
        {p.SpeedButton33, "PenEdit81.wav"},    {p.SpeedButton32, "kokoButton.wav"},
        {p.Button25, "GentenChosei.wav"}};
    for (const auto& [button, cue] : cues) {
        button->click();
        EXPECT_EQ(QString::fromLatin1(cue), h.sounds.played.last());
    }
}

// ---------------------------------------------------------------------------------------------
// Stage commands of the page, against a recording instrument.

namespace {

using Call = StageFakeKx10::Call;

struct NoMain : MainOps {
    void showOnlineLamp(bool) override {}
    int currentPageIndex() const override { return TForm9::kSetupScan; }
    void DrawSpectrum() override {}
    void ShowCurrentRoi() override {}
    void DrawMap() override {}
    void setTimer2Interval(int) override {}
    void showRunNames(bool) override {}
};

// The page on its own, online, with the creation defaults: motors #1..#4 enabled on HEX-SW 2,
// #5..#8 on HEX-SW 3, 100 pulses per unit.
struct StagePage : ::testing::Test {
    std::unique_ptr<AppState> st = std::make_unique<AppState>();
    FakeAlerts alerts;
    FakeSounds sounds;
    FakeDialogs dialogs;
    ManualClock clock;
    FakePrinting printing;
    Services svc{alerts, sounds, dialogs, clock, printing};
    StageFakeKx10 kx;
    NoMain main;
    DialogSet dlg;
    std::unique_ptr<SetupScanPage> p;

    void SetUp() override {
        setCreationDefaults(st->rec, "/tmp/");
        p = std::make_unique<SetupScanPage>(PageContext{*st, svc, kx, main, dlg}, nullptr);
        for (int step = 5; step <= 21; ++step) p->startupStep(step);
        st->Online = 1;
    }
};

}  // namespace

TEST_F(StagePage, JogPadMovesXAndYByTheirSteps) {
    p->Edit80->setText(QStringLiteral("0.5"));  // X step
    p->Edit79->setText(QStringLiteral("2"));    // Y step
    kx.axis('2', '0').pulses = 1000;
    kx.axis('2', '1').pulses = -300;
    p->Button28->click();  // X +
    p->Button29->click();  // X -
    p->Button26->click();  // Y +
    p->Button27->click();  // Y -
    EXPECT_EQ((std::vector<Call>{{"move", '2', '0', 1050},
                                 {"move", '2', '0', 950},
                                 {"move", '2', '1', -99},
                                 {"move", '2', '1', -499}}),
              kx.commands());
}

TEST_F(StagePage, OriginAndHaltActOnXThenY) {
    st->rec.MotorEnabled[0] = 0;  // X disabled: only Y acts
    p->Button31->click();
    p->Button30->click();
    EXPECT_EQ((std::vector<Call>{{"set", '2', '1', 0}, {"halt", '2', '1', 0}}), kx.commands());
}

TEST_F(StagePage, MotorRowsEditGotoJogAndStop) {
    p->Edit94->setText(QStringLiteral("2.5"));   // EDIT value of #5
    p->Edit100->setText(QStringLiteral("-1.239"));  // GOTO target of #6
    p->Edit111->setText(QStringLiteral("0.25"));  // jog step of #8
    st->rec.MotorEnabled[4] = st->rec.MotorEnabled[5] = st->rec.MotorEnabled[7] = 1;
    kx.axis('3', '3').pulses = 1000;
    p->Button42->click();  // EDIT #5
    p->Button48->click();  // GOTO #6
    p->Button61->click();  // ▶ #8
    p->Button59->click();  // ◀ #8
    p->Button45->click();  // STOP #5
    p->Button60->click();  // STOP #8
    EXPECT_EQ((std::vector<Call>{{"set", '3', '0', 250},
                                 {"move", '3', '1', -123},
                                 {"move", '3', '3', 1025},
                                 {"move", '3', '3', 975},
                                 {"halt", '3', '0', 0},
                                 {"halt", '3', '3', 0}}),
              kx.commands());
    EXPECT_EQ(0, alerts.beeps);
}

TEST_F(StagePage, DisabledMotorRowsDoNothing) {
    // #5..#8 are disabled in a new record.
    for (QPushButton* b : {p->Button42, p->Button43, p->Button44, p->Button45, p->Button46,
                           p->Button57, p->Button58, p->Button59, p->Button60, p->Button61})
        b->click();
    EXPECT_TRUE(kx.calls.empty());
}

TEST_F(StagePage, EveryButtonIsSilentOffline) {
    st->Online = 0;
    for (QPushButton* b : p->findChildren<QPushButton*>()) b->click();
    EXPECT_TRUE(kx.calls.empty());
    EXPECT_EQ(0, alerts.beeps);
    EXPECT_TRUE(alerts.messages.isEmpty());
}

TEST_F(StagePage, TickShowsPositionsColoursAndLamps) {
    st->rec.MotorEnabled[4] = 1;
    kx.axis('2', '0').pulses = 12345;
    kx.axis('2', '0').status = "S1100";
    kx.axis('2', '1').pulses = -50;
    kx.axis('3', '0').pulses = 7;
    kx.axis('3', '0').status = "S0001";
    p->tickDuty();
    EXPECT_EQ(QStringLiteral("  123.4500\r"), p->Edit123->text());
    EXPECT_EQ(QStringLiteral("   -0.5000\r"), p->Edit122->text());
    EXPECT_EQ(QStringLiteral("    0.0700\r"), p->Edit92->text());
    EXPECT_EQ(QColor(Qt::yellow), p->Edit123->palette().color(QPalette::Base));
    EXPECT_EQ(QColor(Qt::white), p->Edit122->palette().color(QPalette::Base));
    EXPECT_TRUE(p->imgCCW1->isLit());
    EXPECT_FALSE(p->imgCW1->isLit());
    EXPECT_FALSE(p->imgCCW5->isLit());
    EXPECT_TRUE(p->imgCW5->isLit());
    // Motors #6..#8 are disabled: never read.
    for (const Call& c : kx.calls) EXPECT_FALSE(c.module == '3' && c.axis != '0');

    // A failed read leaves the last position shown and says so in the status bar.
    kx.failing.insert("read");
    kx.axis('2', '0').pulses = 0;
    p->tickDuty();
    EXPECT_EQ(QStringLiteral("  123.4500\r"), p->Edit123->text());
    EXPECT_TRUE(alerts.statusTexts.contains(QStringLiteral("Motor#1 Read PAddr error")));
}

TEST_F(StagePage, TickOfflineReadsNothing) {
    st->Online = 0;
    p->tickDuty();
    EXPECT_TRUE(kx.calls.empty());
    EXPECT_EQ(QStringLiteral("    1.0000\r"), p->Edit80->text());
}

// The operator types a jog step while the acquisition tick runs: the box keeps every key, the
// step is stored whole, and the next jog moves by it.
TEST(SetupScanPage, AJogStepTypedAcrossTicksIsKeptAndUsed) {
    Harness h;
    h.form().SpeedButton20->click();
    ASSERT_EQ(1, h.st().Online);
    SetupScanPage& p = page(h);
    showPage(h);
    h.form().activateWindow();
    QApplication::setActiveWindow(&h.form());
    p.Edit80->setText(formatPosition(3.16));
    h.tick1();
    p.Edit80->setFocus();
    ASSERT_TRUE(p.Edit80->hasFocus());

    p.Edit80->selectAll();
    p.Edit80->insert(QStringLiteral("2"));
    h.tick1();
    EXPECT_EQ(QStringLiteral("2"), p.Edit80->text());
    p.Edit80->insert(QStringLiteral(".5"));
    h.tick1();
    EXPECT_EQ(QStringLiteral("2.5"), p.Edit80->text());
    EXPECT_DOUBLE_EQ(2.5, h.rec().JogStepX);

    p.Edit79->setFocus();
    h.tick1();
    EXPECT_EQ(QStringLiteral("2.5"), p.Edit80->text());
    const int32_t before = h.sim->motors(2)->address(0);
    p.Button28->click();   // X ▶ by the typed step: 2.5 units of 100 pulses
    h.tick1(5000);
    h.sim->advance();
    EXPECT_EQ(before + 250, h.sim->motors(2)->address(0));

    // Text that is not a number stores nothing; once the operator leaves, the box shows the
    // step in use again.
    p.Edit80->setFocus();
    p.Edit80->selectAll();
    p.Edit80->insert(QStringLiteral("abc"));
    h.tick1();
    EXPECT_EQ(QStringLiteral("abc"), p.Edit80->text());
    p.Edit79->setFocus();
    h.tick1();
    EXPECT_EQ(QStringLiteral("    2.5000\r"), p.Edit80->text());
    EXPECT_DOUBLE_EQ(2.5, h.rec().JogStepX);
}
