#include "instrument/SetupPage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/FieldText.h"
#include "app/TextCodec.h"
#include "app/Widgets.h"
#include "instrument/Connection.h"
#include "instrument/MotorInit.h"

namespace qor {

namespace {

// One row of the module table: its controls (member, object name, handler).
struct ModuleRowDef {
    const char* rowLabel;
    QCheckBox* SetupPage::*check;
    const char* checkName;
    void (SetupPage::*onCheck)();
    QComboBox* SetupPage::*hex;
    const char* hexName;
    void (SetupPage::*onHex)();
    QComboBox* SetupPage::*port;
    const char* portName;
    void (SetupPage::*onPort)();
    QLineEdit* SetupPage::*edit;
    const char* editName;
    void (SetupPage::*onEdit)();
};

#define MODULE_ROW(label, check, hex, port, edit)                                          \
    {                                                                                      \
        label, &SetupPage::check, #check, &SetupPage::check##Click, &SetupPage::hex, #hex, \
            &SetupPage::hex##Change, &SetupPage::port, #port, &SetupPage::port##Change,    \
            &SetupPage::edit, #edit, &SetupPage::edit##Change                              \
    }

const ModuleRowDef kModuleRowDefs[SetupPage::kModuleRows] = {
    MODULE_ROW("MCA1", CheckBox1, CBHEXmca, CBPORTmca, Edit2),
    MODULE_ROW("MCA2", CheckBox21, CBHEXmca2, CBPORTmca2, Edit43),
    MODULE_ROW("MOTOR#1", CheckBox2, CBHEXmotor1, CBPORTmotor1, Edit3),
    MODULE_ROW("MOTOR#2", CheckBox3, CBHEXmotor2, CBPORTmotor2, Edit4),
    MODULE_ROW("MOTOR#3", CheckBox4, CBHEXmotor3, CBPORTmotor3, Edit5),
    MODULE_ROW("MOTOR#4", CheckBox5, CBHEXmotor4, CBPORTmotor4, Edit6),
    MODULE_ROW("MOTOR#5", CheckBox6, CBHEXmotor5, CBPORTmotor5, Edit7),
    MODULE_ROW("MOTOR#6", CheckBox7, CBHEXmotor6, CBPORTmotor6, Edit8),
    MODULE_ROW("MOTOR#7", CheckBox8, CBHEXmotor7, CBPORTmotor7, Edit9),
    MODULE_ROW("MOTOR#8", CheckBox9, CBHEXmotor8, CBPORTmotor8, Edit10),
    MODULE_ROW("COUNTER#1", CheckBox10, CBHEXcounter1, CBPORTcounter1, Edit11),
    MODULE_ROW("COUNTER#2", CheckBox11, CBHEXcounter2, CBPORTcounter2, Edit12),
    MODULE_ROW("COUNTER#3", CheckBox12, CBHEXcounter3, CBPORTcounter3, Edit13),
};
#undef MODULE_ROW

// One row of the motor parameter table.
struct MotorRowDef {
    QLabel* SetupPage::*label;
    const char* labelName;
    QLineEdit* SetupPage::*sm;
    const char* smName;
    void (SetupPage::*onSm)();
    QLineEdit* SetupPage::*tm;
    const char* tmName;
    void (SetupPage::*onTm)();
    QLineEdit* SetupPage::*logP;
    const char* logPName;
    void (SetupPage::*onLogP)();
    QComboBox* SetupPage::*cba;
    const char* cbaName;
    void (SetupPage::*onCba)();
    QComboBox* SetupPage::*cbdr;
    const char* cbdrName;
    QLineEdit* SetupPage::*minus;
    const char* minusName;
    void (SetupPage::*onMinus)();
    QLineEdit* SetupPage::*plus;
    const char* plusName;
    void (SetupPage::*onPlus)();
};

#define MOTOR_ROW(n, minus, plus)                                                                  \
    {                                                                                              \
        &SetupPage::LabelM##n, "LabelM" #n, &SetupPage::EdspeedSm##n, "EdspeedSm" #n,              \
            &SetupPage::EdspeedSm##n##Change, &SetupPage::EdspeedTm##n, "EdspeedTm" #n,            \
            &SetupPage::EdspeedTm##n##Change, &SetupPage::EdlogP##n, "EdlogP" #n,                  \
            &SetupPage::EdlogP##n##Change, &SetupPage::CBA##n, "CBA" #n,                           \
            &SetupPage::CBA##n##Change, &SetupPage::CBDr##n, "CBDr" #n, &SetupPage::minus, #minus, \
            &SetupPage::minus##Change, &SetupPage::plus, #plus, &SetupPage::plus##Change           \
    }

const MotorRowDef kMotorRowDefs[SetupPage::kMotors] = {
    MOTOR_ROW(1, Edit83, Edit88),   MOTOR_ROW(2, Edit93, Edit98),   MOTOR_ROW(3, Edit103, Edit108),
    MOTOR_ROW(4, Edit112, Edit113), MOTOR_ROW(5, Edit114, Edit115), MOTOR_ROW(6, Edit116, Edit117),
    MOTOR_ROW(7, Edit118, Edit119), MOTOR_ROW(8, Edit120, Edit121),
};
#undef MOTOR_ROW

constexpr int kModuleNameSize = 16;
constexpr int kMotor1Row = 2;
constexpr int kMotor2Row = 3;

// Selects a stored item index; an index outside the list leaves the combo without a selection.
void selectItem(QComboBox* combo, int32_t index) {
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

QLabel* headerLabel(QWidget* parent, const QString& text, bool wrap = false) {
    auto* l = makeLabel(parent, text);
    l->setAlignment(Qt::AlignCenter);
    l->setWordWrap(wrap);  // a long column caption may take two lines over its boxes
    return l;
}

}  // namespace

SetupPage::SetupPage(PageContext ctx, QWidget* parent) : Page(ctx, parent) {
    buildModuleTable();
    buildMotorTable();
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 6, 4, 6);
    row->setSpacing(4);
    row->addWidget(GroupBox2, 0, Qt::AlignTop);
    row->addWidget(GroupBox3, 1, Qt::AlignTop);
}

void SetupPage::buildModuleTable() {
    GroupBox2 = makeGroup(this, "GroupBox2", QStringLiteral("ＱＯＲ－１０ モジュール基本設定"));
    auto* grid = new QGridLayout(GroupBox2);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);
    grid->addWidget(headerLabel(GroupBox2, QStringLiteral("装置名")), 0, 1);
    grid->addWidget(headerLabel(GroupBox2, QStringLiteral("HEX-SW")), 0, 2);
    grid->addWidget(headerLabel(GroupBox2, QStringLiteral("Port#")), 0, 3);
    const QStringList ports{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                            QStringLiteral("4")};
    for (int r = 0; r < kModuleRows; ++r) {
        const ModuleRowDef& d = kModuleRowDefs[r];
        const int gridRow = r + 1;
        auto* designator = makeLabel(GroupBox2, QString::fromLatin1(d.rowLabel));
        designator->setStyleSheet(QStringLiteral("color: #505050;"));
        grid->addWidget(designator, gridRow, 0);
        QCheckBox* check = makeCheck(GroupBox2, d.checkName, QString());
        check->setMinimumWidth(88);
        QComboBox* hex = makeCombo(GroupBox2, d.hexName, hexSwItems());
        QComboBox* port = makeCombo(GroupBox2, d.portName, ports);
        QLineEdit* edit = makeEdit(GroupBox2, d.editName, 84);
        this->*d.check = check;
        this->*d.hex = hex;
        this->*d.port = port;
        this->*d.edit = edit;
        grid->addWidget(check, gridRow, 1);
        grid->addWidget(hex, gridRow, 2);
        grid->addWidget(port, gridRow, 3);
        if (r == kMotor1Row)
            grid->addWidget(makeLabel(GroupBox2, QStringLiteral("1 only")), gridRow, 4);
        if (r == kMotor2Row)
            grid->addWidget(makeLabel(GroupBox2, QStringLiteral("2 only")), gridRow, 4);
        grid->addWidget(edit, gridRow, 5);
        connect(check, &QCheckBox::toggled, this, d.onCheck);
        connect(hex, &QComboBox::activated, this, d.onHex);
        connect(port, &QComboBox::activated, this, d.onPort);
        connect(edit, &QLineEdit::textChanged, this, d.onEdit);
    }
    Button2 = makeButton(GroupBox2, "Button2", QStringLiteral("RENAME"));
    grid->addWidget(Button2, kModuleRows + 1, 5);
    connect(Button2, &QPushButton::clicked, this, &SetupPage::Button2Click);
}

void SetupPage::buildMotorTable() {
    GroupBox3 = makeGroup(this, "GroupBox3", QStringLiteral("モータパラメータの設定"));
    auto* box = new QVBoxLayout(GroupBox3);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(3);
    grid->addWidget(headerLabel(GroupBox3, QStringLiteral("初速度ｐｐｓ"), true), 0, 1);
    grid->addWidget(headerLabel(GroupBox3, QStringLiteral("最高速度ｐｐｓ"), true), 0, 2);
    grid->addWidget(headerLabel(GroupBox3, QStringLiteral("論理パルス数"), true), 0, 3);
    grid->addWidget(headerLabel(GroupBox3, QStringLiteral("加速度")), 0, 4);
    grid->addWidget(headerLabel(GroupBox3, QStringLiteral("Driver1/2")), 0, 5);
    grid->addWidget(headerLabel(GroupBox3, QStringLiteral("(-) <-Soft Limit->(+)")), 0, 6, 1, 2);
    const QStringList accel{QStringLiteral("大"), QStringLiteral("中"), QStringLiteral("小")};
    const QStringList driver{QStringLiteral("1 Pulse"), QStringLiteral("2 Pulse")};
    constexpr int kSpeedWidth = 64;
    constexpr int kMaxSpeedWidth = 72;
    constexpr int kLimitWidth = 60;
    for (int i = 0; i < kMotors; ++i) {
        const MotorRowDef& d = kMotorRowDefs[i];
        const int gridRow = i + 1;
        QLabel* label = makeLabel(GroupBox3, QString(), d.labelName);
        label->setMinimumWidth(56);
        QLineEdit* sm = makeEdit(GroupBox3, d.smName, kSpeedWidth);
        QLineEdit* tm = makeEdit(GroupBox3, d.tmName, kMaxSpeedWidth);
        QLineEdit* logP = makeEdit(GroupBox3, d.logPName, kSpeedWidth);
        QComboBox* cba = makeCombo(GroupBox3, d.cbaName, accel);
        QComboBox* cbdr = makeCombo(GroupBox3, d.cbdrName, driver);
        cbdr->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        QLineEdit* minus = makeEdit(GroupBox3, d.minusName, kLimitWidth);
        QLineEdit* plus = makeEdit(GroupBox3, d.plusName, kLimitWidth);
        this->*d.label = label;
        this->*d.sm = sm;
        this->*d.tm = tm;
        this->*d.logP = logP;
        this->*d.cba = cba;
        this->*d.cbdr = cbdr;
        this->*d.minus = minus;
        this->*d.plus = plus;
        QWidget* cells[] = {label, sm, tm, logP, cba, cbdr, minus, plus};
        for (int c = 0; c < 8; ++c) grid->addWidget(cells[c], gridRow, c);
        connect(sm, &QLineEdit::textChanged, this, d.onSm);
        connect(tm, &QLineEdit::textChanged, this, d.onTm);
        connect(logP, &QLineEdit::textChanged, this, d.onLogP);
        connect(cba, &QComboBox::activated, this, d.onCba);
        connect(minus, &QLineEdit::textChanged, this, d.onMinus);
        connect(plus, &QLineEdit::textChanged, this, d.onPlus);
        // The driver pulse mode is set on the controller board; the combo only shows it.
    }
    box->addLayout(grid);
    box->addSpacing(8);
    auto* note = makeLabel(GroupBox3, QStringLiteral("リミッタスイッチの極性の設定は、モータコント"
                                                     "ローラー電子基板のスイッチで設定します。"));
    note->setWordWrap(true);
    box->addWidget(note);
    Button62 = makeButton(GroupBox3, "Button62", QStringLiteral("現在の内容で、再設定する"));
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(Button62);
    box->addLayout(buttonRow);
    connect(Button62, &QPushButton::clicked, this, &SetupPage::Button62Click);
}

SetupPage::ModuleFields SetupPage::moduleFields(int row) {
    InfoRecord& r = rec();
    if (row == 0) return {r.Mca1Enabled, r.Mca1HexSw, r.Mca1Port, r.Mca1Name};
    if (row == 1) return {r.Mca2Enabled, r.Mca2HexSw, r.Mca2Port, r.Mca2Name};
    if (row < 2 + kMotors) {
        const int i = row - 2;
        return {r.MotorEnabled[i], r.MotorHexSw[i], r.MotorPort[i], r.MotorName[i]};
    }
    const int k = row - 2 - kMotors;
    return {r.CounterEnabled[k], r.CounterHexSw[k], r.CounterPort[k], r.CounterName[k]};
}

QCheckBox* SetupPage::moduleCheck(int row) const { return this->*kModuleRowDefs[row].check; }
QComboBox* SetupPage::moduleHex(int row) const { return this->*kModuleRowDefs[row].hex; }
QComboBox* SetupPage::modulePort(int row) const { return this->*kModuleRowDefs[row].port; }
QLineEdit* SetupPage::moduleName(int row) const { return this->*kModuleRowDefs[row].edit; }

void SetupPage::startupStep(int step) {
    if (step == 7) fillModuleTable();
    if (step == 9) fillMotorTable();
}

void SetupPage::fillModuleTable() {
    for (int row = 0; row < kModuleRows; ++row)
        moduleCheck(row)->setChecked(moduleFields(row).enabled != 0);
    showNames();
    for (int row = 0; row < kModuleRows; ++row)
        moduleName(row)->setText(fromSjis(moduleFields(row).name, kModuleNameSize));
    for (int row = 0; row < kModuleRows; ++row) {
        selectItem(moduleHex(row), moduleFields(row).hexSw);
        selectItem(modulePort(row), moduleFields(row).port);
    }
}

void SetupPage::fillMotorTable() {
    const InfoRecord& r = rec();
    for (int i = 0; i < kMotors; ++i) {
        const MotorRowDef& d = kMotorRowDefs[i];
        (this->*d.sm)->setText(QString::number(r.MotorInitSpeed[i]));
        (this->*d.tm)->setText(QString::number(r.MotorMaxSpeed[i]));
        (this->*d.logP)->setText(QString::number(r.MotorLogicalPulses[i]));
        selectItem(this->*d.cba, r.MotorAccelIndex[i]);
        selectItem(this->*d.cbdr, r.MotorDriverPulseMode[i]);
        (this->*d.minus)->setText(formatGeneral(r.SoftLimitMinus[i]));
        (this->*d.plus)->setText(formatGeneral(r.SoftLimitPlus[i]));
    }
}

// The module names as captions of the enable check boxes and as motor row labels.
void SetupPage::showNames() {
    for (int row = 0; row < kModuleRows; ++row)
        moduleCheck(row)->setText(fromSjis(moduleFields(row).name, kModuleNameSize));
    for (int i = 0; i < kMotors; ++i)
        (this->*kMotorRowDefs[i].label)->setText(fromSjis(rec().MotorName[i]));
}

void SetupPage::storeEnable(int row) {
    moduleFields(row).enabled = moduleCheck(row)->isChecked() ? 1 : 0;
}

void SetupPage::storeHexSw(int row) {
    const int32_t index = moduleHex(row)->currentIndex();
    if (index < 0) return;
    moduleFields(row).hexSw = index;
    // MOTOR#1's controller also runs the non-stop X motion.
    if (row == kMotor1Row) rec().NonStopHexSw = index;
}

void SetupPage::storePort(int row) {
    QComboBox* port = modulePort(row);
    // MOTOR#1 always sits on port 1 and MOTOR#2 on port 2.
    if (row == kMotor1Row) port->setCurrentIndex(0);
    if (row == kMotor2Row) port->setCurrentIndex(1);
    if (port->currentIndex() < 0) return;
    moduleFields(row).port = port->currentIndex();
}

void SetupPage::storeName(int row) {
    storeSjis(moduleFields(row).name, kModuleNameSize, moduleName(row)->text());
}

void SetupPage::Button2Click() {
    for (int row = 0; row < kModuleRows; ++row) storeName(row);
    showNames();
}

void SetupPage::Button62Click() {
    // New speeds sent mid-scan would change the X stroke under way.
    if (refuseDuringScan(st(), svc().alerts,
                         QStringLiteral("スキャン中はモータを再設定できません。先にスキャンを止めてください")))
        return;
    initialiseMotors(rec(), kx(), svc().alerts);
}

void SetupPage::CheckBox1Click() { storeEnable(0); }
void SetupPage::CBHEXmcaChange() { storeHexSw(0); }
void SetupPage::CBPORTmcaChange() { storePort(0); }
void SetupPage::Edit2Change() { storeName(0); }
void SetupPage::CheckBox21Click() { storeEnable(1); }
void SetupPage::CBHEXmca2Change() { storeHexSw(1); }
void SetupPage::CBPORTmca2Change() { storePort(1); }
void SetupPage::Edit43Change() { storeName(1); }
void SetupPage::CheckBox2Click() { storeEnable(2); }
void SetupPage::CBHEXmotor1Change() { storeHexSw(2); }
void SetupPage::CBPORTmotor1Change() { storePort(2); }
void SetupPage::Edit3Change() { storeName(2); }
void SetupPage::CheckBox3Click() { storeEnable(3); }
void SetupPage::CBHEXmotor2Change() { storeHexSw(3); }
void SetupPage::CBPORTmotor2Change() { storePort(3); }
void SetupPage::Edit4Change() { storeName(3); }
void SetupPage::CheckBox4Click() { storeEnable(4); }
void SetupPage::CBHEXmotor3Change() { storeHexSw(4); }
void SetupPage::CBPORTmotor3Change() { storePort(4); }
void SetupPage::Edit5Change() { storeName(4); }
void SetupPage::CheckBox5Click() { storeEnable(5); }
void SetupPage::CBHEXmotor4Change() { storeHexSw(5); }
void SetupPage::CBPORTmotor4Change() { storePort(5); }
void SetupPage::Edit6Change() { storeName(5); }
void SetupPage::CheckBox6Click() { storeEnable(6); }
void SetupPage::CBHEXmotor5Change() { storeHexSw(6); }
void SetupPage::CBPORTmotor5Change() { storePort(6); }
void SetupPage::Edit7Change() { storeName(6); }
void SetupPage::CheckBox7Click() { storeEnable(7); }
void SetupPage::CBHEXmotor6Change() { storeHexSw(7); }
void SetupPage::CBPORTmotor6Change() { storePort(7); }
void SetupPage::Edit8Change() { storeName(7); }
void SetupPage::CheckBox8Click() { storeEnable(8); }
void SetupPage::CBHEXmotor7Change() { storeHexSw(8); }
void SetupPage::CBPORTmotor7Change() { storePort(8); }
void SetupPage::Edit9Change() { storeName(8); }
void SetupPage::CheckBox9Click() { storeEnable(9); }
void SetupPage::CBHEXmotor8Change() { storeHexSw(9); }
void SetupPage::CBPORTmotor8Change() { storePort(9); }
void SetupPage::Edit10Change() { storeName(9); }
void SetupPage::CheckBox10Click() { storeEnable(10); }
void SetupPage::CBHEXcounter1Change() { storeHexSw(10); }
void SetupPage::CBPORTcounter1Change() { storePort(10); }
void SetupPage::Edit11Change() { storeName(10); }
void SetupPage::CheckBox11Click() { storeEnable(11); }
void SetupPage::CBHEXcounter2Change() { storeHexSw(11); }
void SetupPage::CBPORTcounter2Change() { storePort(11); }
void SetupPage::Edit12Change() { storeName(11); }
void SetupPage::CheckBox12Click() { storeEnable(12); }
void SetupPage::CBHEXcounter3Change() { storeHexSw(12); }
void SetupPage::CBPORTcounter3Change() { storePort(12); }
void SetupPage::Edit13Change() { storeName(12); }

void SetupPage::EdspeedSm1Change() { storeInt(EdspeedSm1->text(), rec().MotorInitSpeed[0]); }
void SetupPage::EdspeedTm1Change() { storeInt(EdspeedTm1->text(), rec().MotorMaxSpeed[0]); }
void SetupPage::EdlogP1Change() { storeInt(EdlogP1->text(), rec().MotorLogicalPulses[0]); }
void SetupPage::CBA1Change() { rec().MotorAccelIndex[0] = CBA1->currentIndex(); }
void SetupPage::Edit83Change() { storeDouble(Edit83->text(), rec().SoftLimitMinus[0]); }
void SetupPage::Edit88Change() { storeDouble(Edit88->text(), rec().SoftLimitPlus[0]); }
void SetupPage::EdspeedSm2Change() { storeInt(EdspeedSm2->text(), rec().MotorInitSpeed[1]); }
void SetupPage::EdspeedTm2Change() { storeInt(EdspeedTm2->text(), rec().MotorMaxSpeed[1]); }
void SetupPage::EdlogP2Change() { storeInt(EdlogP2->text(), rec().MotorLogicalPulses[1]); }
void SetupPage::CBA2Change() { rec().MotorAccelIndex[1] = CBA2->currentIndex(); }
void SetupPage::Edit93Change() { storeDouble(Edit93->text(), rec().SoftLimitMinus[1]); }
void SetupPage::Edit98Change() { storeDouble(Edit98->text(), rec().SoftLimitPlus[1]); }
void SetupPage::EdspeedSm3Change() { storeInt(EdspeedSm3->text(), rec().MotorInitSpeed[2]); }
void SetupPage::EdspeedTm3Change() { storeInt(EdspeedTm3->text(), rec().MotorMaxSpeed[2]); }
void SetupPage::EdlogP3Change() { storeInt(EdlogP3->text(), rec().MotorLogicalPulses[2]); }
void SetupPage::CBA3Change() { rec().MotorAccelIndex[2] = CBA3->currentIndex(); }
void SetupPage::Edit103Change() { storeDouble(Edit103->text(), rec().SoftLimitMinus[2]); }
void SetupPage::Edit108Change() { storeDouble(Edit108->text(), rec().SoftLimitPlus[2]); }
void SetupPage::EdspeedSm4Change() { storeInt(EdspeedSm4->text(), rec().MotorInitSpeed[3]); }
void SetupPage::EdspeedTm4Change() { storeInt(EdspeedTm4->text(), rec().MotorMaxSpeed[3]); }
void SetupPage::EdlogP4Change() { storeInt(EdlogP4->text(), rec().MotorLogicalPulses[3]); }
void SetupPage::CBA4Change() { rec().MotorAccelIndex[3] = CBA4->currentIndex(); }
void SetupPage::Edit112Change() { storeDouble(Edit112->text(), rec().SoftLimitMinus[3]); }
void SetupPage::Edit113Change() { storeDouble(Edit113->text(), rec().SoftLimitPlus[3]); }
void SetupPage::EdspeedSm5Change() { storeInt(EdspeedSm5->text(), rec().MotorInitSpeed[4]); }
void SetupPage::EdspeedTm5Change() { storeInt(EdspeedTm5->text(), rec().MotorMaxSpeed[4]); }
void SetupPage::EdlogP5Change() { storeInt(EdlogP5->text(), rec().MotorLogicalPulses[4]); }
void SetupPage::CBA5Change() { rec().MotorAccelIndex[4] = CBA5->currentIndex(); }
void SetupPage::Edit114Change() { storeDouble(Edit114->text(), rec().SoftLimitMinus[4]); }
void SetupPage::Edit115Change() { storeDouble(Edit115->text(), rec().SoftLimitPlus[4]); }
void SetupPage::EdspeedSm6Change() { storeInt(EdspeedSm6->text(), rec().MotorInitSpeed[5]); }
void SetupPage::EdspeedTm6Change() { storeInt(EdspeedTm6->text(), rec().MotorMaxSpeed[5]); }
void SetupPage::EdlogP6Change() { storeInt(EdlogP6->text(), rec().MotorLogicalPulses[5]); }
void SetupPage::CBA6Change() { rec().MotorAccelIndex[5] = CBA6->currentIndex(); }
void SetupPage::Edit116Change() { storeDouble(Edit116->text(), rec().SoftLimitMinus[5]); }
void SetupPage::Edit117Change() { storeDouble(Edit117->text(), rec().SoftLimitPlus[5]); }
void SetupPage::EdspeedSm7Change() { storeInt(EdspeedSm7->text(), rec().MotorInitSpeed[6]); }
void SetupPage::EdspeedTm7Change() { storeInt(EdspeedTm7->text(), rec().MotorMaxSpeed[6]); }
void SetupPage::EdlogP7Change() { storeInt(EdlogP7->text(), rec().MotorLogicalPulses[6]); }
void SetupPage::CBA7Change() { rec().MotorAccelIndex[6] = CBA7->currentIndex(); }
void SetupPage::Edit118Change() { storeDouble(Edit118->text(), rec().SoftLimitMinus[6]); }
void SetupPage::Edit119Change() { storeDouble(Edit119->text(), rec().SoftLimitPlus[6]); }
void SetupPage::EdspeedSm8Change() { storeInt(EdspeedSm8->text(), rec().MotorInitSpeed[7]); }
void SetupPage::EdspeedTm8Change() { storeInt(EdspeedTm8->text(), rec().MotorMaxSpeed[7]); }
void SetupPage::EdlogP8Change() { storeInt(EdlogP8->text(), rec().MotorLogicalPulses[7]); }
void SetupPage::CBA8Change() { rec().MotorAccelIndex[7] = CBA8->currentIndex(); }
void SetupPage::Edit120Change() { storeDouble(Edit120->text(), rec().SoftLimitMinus[7]); }
void SetupPage::Edit121Change() { storeDouble(Edit121->text(), rec().SoftLimitPlus[7]); }

}  // namespace qor
