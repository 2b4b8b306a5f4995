#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cstring>

#include "app/FieldText.h"
#include "instrument/PageRig.h"
#include "instrument/SetupPage.h"
#include "support/Harness.h"

using namespace qor;
using namespace qor::test;

namespace {

struct ModuleRow {
    const char* check;
    const char* hex;
    const char* port;
    const char* edit;
};

const ModuleRow kRows[13] = {
    {"CheckBox1", "CBHEXmca", "CBPORTmca", "Edit2"},
    {"CheckBox21", "CBHEXmca2", "CBPORTmca2", "Edit43"},
    {"CheckBox2", "CBHEXmotor1", "CBPORTmotor1", "Edit3"},
    {"CheckBox3", "CBHEXmotor2", "CBPORTmotor2", "Edit4"},
    {"CheckBox4", "CBHEXmotor3", "CBPORTmotor3", "Edit5"},
    {"CheckBox5", "CBHEXmotor4", "CBPORTmotor4", "Edit6"},
    {"CheckBox6", "CBHEXmotor5", "CBPORTmotor5", "Edit7"},
    {"CheckBox7", "CBHEXmotor6", "CBPORTmotor6", "Edit8"},
    {"CheckBox8", "CBHEXmotor7", "CBPORTmotor7", "Edit9"},
    {"CheckBox9", "CBHEXmotor8", "CBPORTmotor8", "Edit10"},
    {"CheckBox10", "CBHEXcounter1", "CBPORTcounter1", "Edit11"},
    {"CheckBox11", "CBHEXcounter2", "CBPORTcounter2", "Edit12"},
    {"CheckBox12", "CBHEXcounter3", "CBPORTcounter3", "Edit13"},
};
const char* kMinus[8] = {"Edit83",  "Edit93",  "Edit103", "Edit112",
                         "Edit114", "Edit116", "Edit118", "Edit120"};
const char* kPlus[8] = {"Edit88",  "Edit98",  "Edit108", "Edit113",
                        "Edit115", "Edit117", "Edit119", "Edit121"};

QStringList items(const QComboBox* c) {
    QStringList out;
    for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
    return out;
}

QByteArray nameBytes(const char* field) { return QByteArray(field, int(strnlen(field, 16))); }

// The operator picks item `index` of a combo box.
void pick(QComboBox* c, int index) {
    c->setCurrentIndex(index);
    emit c->activated(index);
}

template <class W>
W* on(SetupPage* page, const char* name) {
    return page->findChild<W*>(QString::fromLatin1(name));
}

}  // namespace

TEST(SetupPage, EveryControlExistsWithItsNameCaptionAndItems) {
    Harness h;
    SetupPage* page = h.form().SETUP;
    EXPECT_EQ(QStringLiteral("ＱＯＲ－１０ モジュール基本設定"), page->GroupBox2->title());
    EXPECT_EQ(QStringLiteral("モータパラメータの設定"), page->GroupBox3->title());
    EXPECT_EQ(QStringLiteral("RENAME"), on<QPushButton>(page, "Button2")->text());
    EXPECT_EQ(QStringLiteral("現在の内容で、再設定する"),
              on<QPushButton>(page, "Button62")->text());
    const QStringList hex{"0", "1", "2", "3", "4", "5", "6", "7",
                          "8", "9", "A", "B", "C", "D", "E", "F"};
    for (const ModuleRow& r : kRows) {
        ASSERT_NE(nullptr, on<QCheckBox>(page, r.check)) << r.check;
        ASSERT_NE(nullptr, on<QLineEdit>(page, r.edit)) << r.edit;
        ASSERT_NE(nullptr, on<QComboBox>(page, r.hex)) << r.hex;
        ASSERT_NE(nullptr, on<QComboBox>(page, r.port)) << r.port;
        EXPECT_EQ(hex, items(on<QComboBox>(page, r.hex))) << r.hex;
        EXPECT_EQ((QStringList{"1", "2", "3", "4"}), items(on<QComboBox>(page, r.port))) << r.port;
    }
    for (int n = 1; n <= 8; ++n) {
        const QByteArray s = QByteArray::number(n);
        for (const char* prefix : {"EdspeedSm", "EdspeedTm", "EdlogP"})
            EXPECT_NE(nullptr, on<QLineEdit>(page, (prefix + s).constData())) << prefix << n;
        EXPECT_NE(nullptr, on<QLabel>(page, ("LabelM" + s).constData()));
        EXPECT_EQ((QStringList{"大", "中", "小"}),
                  items(on<QComboBox>(page, ("CBA" + s).constData())));
        EXPECT_EQ((QStringList{"1 Pulse", "2 Pulse"}),
                  items(on<QComboBox>(page, ("CBDr" + s).constData())));
        EXPECT_NE(nullptr, on<QLineEdit>(page, kMinus[n - 1]));
        EXPECT_NE(nullptr, on<QLineEdit>(page, kPlus[n - 1]));
    }
    QStringList texts;
    for (const QLabel* l : page->findChildren<QLabel*>()) texts << l->text();
    for (const char* t :
         {"装置名", "HEX-SW", "Port#", "1 only", "2 only", "初速度ｐｐｓ", "最高速度ｐｐｓ",
          "論理パルス数", "加速度", "Driver1/2", "(-) <-Soft Limit->(+)",
          "リミッタスイッチの極性の設定は、モータコントローラー電子基板のスイッチで設定します。"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(t))) << t;
}

TEST(SetupPage, MotorParameterBoxesStoreTheLeadingNumberAndIgnoreText) {
    Harness h;
    SetupPage* p = h.form().SETUP;
    InfoRecord& r = h.rec();
    p->EdspeedSm1->setText(QStringLiteral("120abc"));
    EXPECT_EQ(120, r.MotorInitSpeed[0]);
    p->EdspeedSm1->setText(QStringLiteral("abc"));
    EXPECT_EQ(120, r.MotorInitSpeed[0]) << "a text without a number keeps the value";
    p->EdspeedTm8->setText(QStringLiteral(" 4500"));
    EXPECT_EQ(4500, r.MotorMaxSpeed[7]);
    p->EdlogP3->setText(QStringLiteral("-250.7"));
    EXPECT_EQ(-250, r.MotorLogicalPulses[2]);
    p->Edit120->setText(QStringLiteral("-12.5mm"));
    EXPECT_DOUBLE_EQ(-12.5, r.SoftLimitMinus[7]);
    p->Edit98->setText(QStringLiteral("3e2"));
    EXPECT_DOUBLE_EQ(300.0, r.SoftLimitPlus[1]);
    p->Edit98->setText(QStringLiteral("x"));
    EXPECT_DOUBLE_EQ(300.0, r.SoftLimitPlus[1]);
    pick(p->CBA5, 2);
    EXPECT_EQ(2, r.MotorAccelIndex[4]);
    EXPECT_EQ(50, r.MotorInitSpeed[1]) << "other motors untouched";
}

TEST(SetupPage, PortsOfMotorsOneAndTwoAreForcedAndHexSwOfMotorOneSetsTheNonStopController) {
    Harness h;
    SetupPage* p = h.form().SETUP;
    InfoRecord& r = h.rec();
    pick(p->CBPORTmotor1, 2);
    EXPECT_EQ(0, p->CBPORTmotor1->currentIndex()) << "MOTOR#1 shows Port# 1";
    EXPECT_EQ(0, r.MotorPort[0]);
    pick(p->CBPORTmotor2, 3);
    EXPECT_EQ(1, p->CBPORTmotor2->currentIndex());
    EXPECT_EQ(1, r.MotorPort[1]);
    pick(p->CBPORTmotor3, 0);
    EXPECT_EQ(0, r.MotorPort[2]);
    pick(p->CBPORTcounter2, 3);
    EXPECT_EQ(3, r.CounterPort[1]);
    pick(p->CBPORTmca2, 2);
    EXPECT_EQ(2, r.Mca2Port);

    pick(p->CBHEXmotor1, 12);
    EXPECT_EQ(12, r.MotorHexSw[0]);
    EXPECT_EQ(12, r.NonStopHexSw);
    pick(p->CBHEXmotor2, 5);
    EXPECT_EQ(5, r.MotorHexSw[1]);
    EXPECT_EQ(12, r.NonStopHexSw) << "only MOTOR#1 drives the non-stop controller";
    pick(p->CBHEXmca, 15);
    EXPECT_EQ(15, r.Mca1HexSw);
    pick(p->CBHEXcounter3, 9);
    EXPECT_EQ(9, r.CounterHexSw[2]);
}

TEST(SetupPage, EnableBoxesNameBoxesAndRename) {
    Harness h;
    SetupPage* p = h.form().SETUP;
    InfoRecord& r = h.rec();
    p->CheckBox21->setChecked(true);
    EXPECT_EQ(1, r.Mca2Enabled);
    p->CheckBox2->setChecked(false);
    EXPECT_EQ(0, r.MotorEnabled[0]);
    p->CheckBox12->setChecked(true);
    EXPECT_EQ(1, r.CounterEnabled[2]);

    p->Edit3->setText(QStringLiteral("X軸"));
    EXPECT_EQ(QByteArray("X\x8e\xb2", 3), nameBytes(r.MotorName[0])) << "Shift-JIS in the record";
    EXPECT_EQ(QStringLiteral("MOTOR1"), p->CheckBox2->text()) << "captions change on RENAME only";
    // A name longer than the field is cut on a character boundary inside its 16 bytes.
    p->Edit13->setText(QStringLiteral("計数器計数器計数器"));  // 18 bytes
    EXPECT_EQ(14, int(strnlen(r.CounterName[2], 16)));

    p->Edit2->setText(QStringLiteral("Main MCA"));
    p->Edit10->setText(QStringLiteral("θ"));
    p->Button2->click();
    EXPECT_EQ(QStringLiteral("Main MCA"), p->CheckBox1->text());
    EXPECT_EQ(QStringLiteral("X軸"), p->CheckBox2->text());
    EXPECT_EQ(QStringLiteral("X軸"), p->LabelM1->text());
    EXPECT_EQ(QStringLiteral("θ"), p->CheckBox9->text());
    EXPECT_EQ(QStringLiteral("θ"), p->LabelM8->text());
    EXPECT_EQ(QStringLiteral("計数器計数器計"), p->CheckBox12->text());
    EXPECT_EQ(QStringLiteral("MCA2"), p->CheckBox21->text());
    EXPECT_EQ(QStringLiteral("Scaler CH1"), p->CheckBox10->text());
}

TEST(SetupPage, StartUpRestoresEveryBoxFromTheRecord) {
    QTemporaryDir dir;
    {
        Harness h(dir.path());
        InfoRecord& r = h.rec();
        r.Mca1Enabled = 0;
        r.Mca2Enabled = 1;
        for (int i = 0; i < 8; ++i) {
            r.MotorEnabled[i] = (i % 2) ? 1 : 0;
            r.MotorHexSw[i] = 15 - i;
            r.MotorPort[i] = 3 - (i % 4);
            r.MotorInitSpeed[i] = 11 + i;
            r.MotorMaxSpeed[i] = 2200 + i;
            r.MotorLogicalPulses[i] = 400 + i;
            r.MotorAccelIndex[i] = 2 - (i % 3);
            r.MotorDriverPulseMode[i] = i % 2;
            r.SoftLimitMinus[i] = -0.1 - i;
            r.SoftLimitPlus[i] = 12.5 + i;
            std::snprintf(r.MotorName[i], 16, "Axis %c", 'A' + i);
        }
        r.CounterEnabled[1] = 1;
        r.Mca2HexSw = 10;
        r.CounterPort[2] = 0;
        r.NonStopHexSw = 9;
        std::strcpy(r.Mca2Name, "MCA-B");
        h.close();
    }
    Harness h(dir.path());
    SetupPage* p = h.form().SETUP;
    const InfoRecord& r = h.rec();
    EXPECT_FALSE(p->CheckBox1->isChecked());
    EXPECT_TRUE(p->CheckBox21->isChecked());
    EXPECT_EQ(QStringLiteral("MCA-B"), p->CheckBox21->text());
    EXPECT_EQ(QStringLiteral("MCA-B"), p->Edit43->text());
    EXPECT_EQ(10, p->CBHEXmca2->currentIndex());
    EXPECT_TRUE(p->CheckBox11->isChecked());
    EXPECT_EQ(0, p->CBPORTcounter3->currentIndex());
    QCheckBox* motorChecks[8] = {p->CheckBox2, p->CheckBox3, p->CheckBox4, p->CheckBox5,
                                 p->CheckBox6, p->CheckBox7, p->CheckBox8, p->CheckBox9};
    QComboBox* hex[8] = {p->CBHEXmotor1, p->CBHEXmotor2, p->CBHEXmotor3, p->CBHEXmotor4,
                         p->CBHEXmotor5, p->CBHEXmotor6, p->CBHEXmotor7, p->CBHEXmotor8};
    QComboBox* port[8] = {p->CBPORTmotor1, p->CBPORTmotor2, p->CBPORTmotor3, p->CBPORTmotor4,
                          p->CBPORTmotor5, p->CBPORTmotor6, p->CBPORTmotor7, p->CBPORTmotor8};
    for (int i = 0; i < 8; ++i) {
        const QString n = QString::number(i + 1);
        EXPECT_EQ(i % 2 == 1, motorChecks[i]->isChecked()) << "motor " << i + 1;
        EXPECT_EQ(15 - i, hex[i]->currentIndex());
        EXPECT_EQ(3 - (i % 4), port[i]->currentIndex()) << "the stored port is shown as it is";
        const QString name = QStringLiteral("Axis %1").arg(QChar('A' + i));
        EXPECT_EQ(name, motorChecks[i]->text());
        EXPECT_EQ(name, p->findChild<QLabel*>("LabelM" + n)->text());
        EXPECT_EQ(QString::number(11 + i), p->findChild<QLineEdit*>("EdspeedSm" + n)->text());
        EXPECT_EQ(QString::number(2200 + i), p->findChild<QLineEdit*>("EdspeedTm" + n)->text());
        EXPECT_EQ(QString::number(400 + i), p->findChild<QLineEdit*>("EdlogP" + n)->text());
        EXPECT_EQ(2 - (i % 3), p->findChild<QComboBox*>("CBA" + n)->currentIndex());
        EXPECT_EQ(i % 2, p->findChild<QComboBox*>("CBDr" + n)->currentIndex());
        EXPECT_EQ(formatGeneral(-0.1 - i), p->findChild<QLineEdit*>(kMinus[i])->text());
        EXPECT_EQ(formatGeneral(12.5 + i), p->findChild<QLineEdit*>(kPlus[i])->text());
        // Filling ran the change handlers, which wrote back the same values.
        EXPECT_EQ(11 + i, r.MotorInitSpeed[i]);
        EXPECT_DOUBLE_EQ(-0.1 - i, r.SoftLimitMinus[i]);
        EXPECT_EQ(3 - (i % 4), r.MotorPort[i]);
    }
    EXPECT_EQ(QStringLiteral("-0.1"), p->Edit83->text());
    EXPECT_EQ(QStringLiteral("12.5"), p->Edit88->text());
    EXPECT_EQ(9, r.NonStopHexSw) << "selecting MOTOR#1's HEX-SW from code runs no handler";
}

TEST(SetupPage, StoredIndexesOutsideTheListsLeaveTheCombosUnselected) {
    QTemporaryDir dir;
    {
        Harness h(dir.path());
        h.rec().MotorAccelIndex[0] = 7;
        h.rec().CounterHexSw[0] = -3;
        h.rec().Mca1Port = 4;
        h.close();
    }
    Harness h(dir.path());
    EXPECT_EQ(-1, h.form().SETUP->CBA1->currentIndex());
    EXPECT_EQ(-1, h.form().SETUP->CBHEXcounter1->currentIndex());
    EXPECT_EQ(-1, h.form().SETUP->CBPORTmca->currentIndex());
    EXPECT_EQ(7, h.rec().MotorAccelIndex[0]) << "the record keeps its value";
}

TEST(SetupPage, Button62SetsTheSpeedsOfTheEnabledMotorsOnlineOrNot) {
    PageRig<SetupPage> rig;
    InfoRecord& r = rig.rec();
    r.MotorEnabled[0] = 1;
    r.MotorEnabled[4] = 1;
    r.MotorHexSw[0] = 2;
    r.MotorHexSw[4] = 3;
    r.MotorInitSpeed[4] = 75;
    r.MotorMaxSpeed[4] = 900;
    r.MotorRampParam[4] = 120;
    r.MotorAccelIndex[4] = 1;
    ASSERT_EQ(0, rig.st->Online);
    rig.kx.results["KX10Motor_Set_Speed"] = -5;
    rig.page->Button62->click();

    const auto calls = rig.kx.callsOf("KX10Motor_Set_Speed");
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ('2', calls[0].m);
    EXPECT_EQ('0', calls[0].a);
    EXPECT_EQ('3', calls[1].m);
    EXPECT_EQ('0', calls[1].a) << "motor 5 is axis 0 of its controller";
    EXPECT_EQ((std::vector<int32_t>{75, 900, 120, 0, 1}), calls[1].args);
    EXPECT_EQ((QStringList{"Motor#1 init error", "Motor#5 init error"}), rig.alerts.messages);
    EXPECT_EQ(2u, rig.kx.calls.size()) << "nothing else is sent";
}
