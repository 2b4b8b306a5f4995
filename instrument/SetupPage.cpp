#include "instrument/SetupPage.h"

#include "app/FieldText.h"
#include "app/TextCodec.h"
#include "app/Widgets.h"
#include "instrument/MotorInit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

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

const ModuleRowDef kModuleRowDefs[SetupPage::kModuleRows] = {
    {"MCA1", &SetupPage::CheckBox1, "CheckBox1", &SetupPage::CheckBox1Click, &SetupPage::CBHEXmca, "CBHEXmca", &SetupPage::CBHEXmcaChange,
     &SetupPage::CBPORTmca, "CBPORTmca", &SetupPage::CBPORTmcaChange, &SetupPage::Edit2, "Edit2", &SetupPage::Edit2Change},
    {"MCA2", &SetupPage::CheckBox21, "CheckBox21", &SetupPage::CheckBox21Click, &SetupPage::CBHEXmca2, "CBHEXmca2", &SetupPage::CBHEXmca2Change,
     &SetupPage::CBPORTmca2, "CBPORTmca2", &SetupPage::CBPORTmca2Change, &SetupPage::Edit43, "Edit43", &SetupPage::Edit43Change},
    {"MOTOR#1", &SetupPage::CheckBox2, "CheckBox2", &SetupPage::CheckBox2Click, &SetupPage::CBHEXmotor1, "CBHEXmotor1", &SetupPage::CBHEXmotor1Change,
     &SetupPage::CBPORTmotor1, "CBPORTmotor1", &SetupPage::CBPORTmotor1Change, &SetupPage::Edit3, "Edit3", &SetupPage::Edit3Change},
    {"MOTOR#2", &SetupPage::CheckBox3, "CheckBox3", &SetupPage::CheckBox3Click, &SetupPage::CBHEXmotor2, "CBHEXmotor2", &SetupPage::CBHEXmotor2Change,
     &SetupPage::CBPORTmotor2, "CBPORTmotor2", &SetupPage::CBPORTmotor2Change, &SetupPage::Edit4, "Edit4", &SetupPage::Edit4Change},
    {"MOTOR#3", &SetupPage::CheckBox4, "CheckBox4", &SetupPage::CheckBox4Click, &SetupPage::CBHEXmotor3, "CBHEXmotor3", &SetupPage::CBHEXmotor3Change,
     &SetupPage::CBPORTmotor3, "CBPORTmotor3", &SetupPage::CBPORTmotor3Change, &SetupPage::Edit5, "Edit5", &SetupPage::Edit5Change},
    {"MOTOR#4", &SetupPage::CheckBox5, "CheckBox5", &SetupPage::CheckBox5Click, &SetupPage::CBHEXmotor4, "CBHEXmotor4", &SetupPage::CBHEXmotor4Change,
     &SetupPage::CBPORTmotor4, "CBPORTmotor4", &SetupPage::CBPORTmotor4Change, &SetupPage::Edit6, "Edit6", &SetupPage::Edit6Change},
    {"MOTOR#5", &SetupPage::CheckBox6, "CheckBox6", &SetupPage::CheckBox6Click, &SetupPage::CBHEXmotor5, "CBHEXmotor5", &SetupPage::CBHEXmotor5Change,
     &SetupPage::CBPORTmotor5, "CBPORTmotor5", &SetupPage::CBPORTmotor5Change, &SetupPage::Edit7, "Edit7", &SetupPage::Edit7Change},
    {"MOTOR#6", &SetupPage::CheckBox7, "CheckBox7", &SetupPage::CheckBox7Click, &SetupPage::CBHEXmotor6, "CBHEXmotor6", &SetupPage::CBHEXmotor6Change,
     &SetupPage::CBPORTmotor6, "CBPORTmotor6", &SetupPage::CBPORTmotor6Change, &SetupPage::Edit8, "Edit8", &SetupPage::Edit8Change},
    {"MOTOR#7", &SetupPage::CheckBox8, "CheckBox8", &SetupPage::CheckBox8Click, &SetupPage::CBHEXmotor7, "CBHEXmotor7", &SetupPage::CBHEXmotor7Change,
     &SetupPage::CBPORTmotor7, "CBPORTmotor7", &SetupPage::CBPORTmotor7Change, &SetupPage::Edit9, "Edit9", &SetupPage::Edit9Change},
    {"MOTOR#8", &SetupPage::CheckBox9, "CheckBox9", &SetupPage::CheckBox9Click, &SetupPage::CBHEXmotor8, "CBHEXmotor8", &SetupPage::CBHEXmotor8Change,
     &SetupPage::CBPORTmotor8, "CBPORTmotor8", &SetupPage::CBPORTmotor8Change, &SetupPage::Edit10, "Edit10", &SetupPage::Edit10Change},
    {"COUNTER#1", &SetupPage::CheckBox10, "CheckBox10", &SetupPage::CheckBox10Click, &SetupPage::CBHEXcounter1, "CBHEXcounter1", &SetupPage::CBHEXcounter1Change,
     &SetupPage::CBPORTcounter1, "CBPORTcounter1", &SetupPage::CBPORTcounter1Change, &SetupPage::Edit11, "Edit11", &SetupPage::Edit11Change},
    {"COUNTER#2", &SetupPage::CheckBox11, "CheckBox11", &SetupPage::CheckBox11Click, &SetupPage::CBHEXcounter2, "CBHEXcounter2", &SetupPage::CBHEXcounter2Change,
     &SetupPage::CBPORTcounter2, "CBPORTcounter2", &SetupPage::CBPORTcounter2Change, &SetupPage::Edit12, "Edit12", &SetupPage::Edit12Change},
    {"COUNTER#3", &SetupPage::CheckBox12, "CheckBox12", &SetupPage::CheckBox12Click, &SetupPage::CBHEXcounter3, "CBHEXcounter3", &SetupPage::CBHEXcounter3Change,
     &SetupPage::CBPORTcounter3, "CBPORTcounter3", &SetupPage::CBPORTcounter3Change, &SetupPage::Edit13, "Edit13", &SetupPage::Edit13Change},
};

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

const MotorRowDef kMotorRowDefs[SetupPage::kMotors] = {
    {&SetupPage::LabelM1, "LabelM1", &SetupPage::EdspeedSm1, "EdspeedSm1", &SetupPage::EdspeedSm1Change,
     &SetupPage::EdspeedTm1, "EdspeedTm1", &SetupPage::EdspeedTm1Change, &SetupPage::EdlogP1, "EdlogP1",
     &SetupPage::EdlogP1Change, &SetupPage::CBA1, "CBA1", &SetupPage::CBA1Change, &SetupPage::CBDr1, "CBDr1",
     &SetupPage::Edit83, "Edit83", &SetupPage::Edit83Change, &SetupPage::Edit88, "Edit88", &SetupPage::Edit88Change},
    {&SetupPage::LabelM2, "LabelM2", &SetupPage::EdspeedSm2, "EdspeedSm2", &SetupPage::EdspeedSm2Change,
     &SetupPage::EdspeedTm2, "EdspeedTm2", &SetupPage::EdspeedTm2Change, &SetupPage::EdlogP2, "EdlogP2",
     &SetupPage::EdlogP2Change, &SetupPage::CBA2, "CBA2", &SetupPage::CBA2Change, &SetupPage::CBDr2, "CBDr2",
     &SetupPage::Edit93, "Edit93", &SetupPage::Edit93Change, &SetupPage::Edit98, "Edit98", &SetupPage::Edit98Change},
    {&SetupPage::LabelM3, "LabelM3", &SetupPage::EdspeedSm3, "EdspeedSm3", &SetupPage::EdspeedSm3Change,
     &SetupPage::EdspeedTm3, "EdspeedTm3", &SetupPage::EdspeedTm3Change, &SetupPage::EdlogP3, "EdlogP3",
     &SetupPage::EdlogP3Change, &SetupPage::CBA3, "CBA3", &SetupPage::CBA3Change, &SetupPage::CBDr3, "CBDr3",
     &SetupPage::Edit103, "Edit103", &SetupPage::Edit103Change, &SetupPage::Edit108, "Edit108", &SetupPage::Edit108Change},
    {&SetupPage::LabelM4, "LabelM4", &SetupPage::EdspeedSm4, "EdspeedSm4", &SetupPage::EdspeedSm4Change,
     &SetupPage::EdspeedTm4, "EdspeedTm4", &SetupPage::EdspeedTm4Change, &SetupPage::EdlogP4, "EdlogP4",
     &SetupPage::EdlogP4Change, &SetupPage::CBA4, "CBA4", &SetupPage::CBA4Change, &SetupPage::CBDr4, "CBDr4",
     &SetupPage::Edit112, "Edit112", &SetupPage::Edit112Change, &SetupPage::Edit113, "Edit113", &SetupPage::Edit113Change},
    {&SetupPage::LabelM5, "LabelM5", &SetupPage::EdspeedSm5, "EdspeedSm5", &SetupPage::EdspeedSm5Change,
     &SetupPage::EdspeedTm5, "EdspeedTm5", &SetupPage::EdspeedTm5Change, &SetupPage::EdlogP5, "EdlogP5",
     &SetupPage::EdlogP5Change, &SetupPage::CBA5, "CBA5", &SetupPage::CBA5Change, &SetupPage::CBDr5, "CBDr5",
     &SetupPage::Edit114, "Edit114", &SetupPage::Edit114Change, &SetupPage::Edit115, "Edit115", &SetupPage::Edit115Change},
    {&SetupPage::LabelM6, "LabelM6", &SetupPage::EdspeedSm6, "EdspeedSm6", &SetupPage::EdspeedSm6Change,
     &SetupPage::EdspeedTm6, "EdspeedTm6", &SetupPage::EdspeedTm6Change, &SetupPage::EdlogP6, "EdlogP6",
     &SetupPage::EdlogP6Change, &SetupPage::CBA6, "CBA6", &SetupPage::CBA6Change, &SetupPage::CBDr6, "CBDr6",
     &SetupPage::Edit116, "Edit116", &SetupPage::Edit116Change, &SetupPage::Edit117, "Edit117", &SetupPage::Edit117Change},
    {&SetupPage::LabelM7, "LabelM7", &SetupPage::EdspeedSm7, "EdspeedSm7", &SetupPage::EdspeedSm7Change,
     &SetupPage::EdspeedTm7, "EdspeedTm7", &SetupPage::EdspeedTm7Change, &SetupPage::EdlogP7, "EdlogP7",
     &SetupPage::EdlogP7Change, &SetupPage::CBA7, "CBA7", &SetupPage::CBA7Change, &SetupPage::CBDr7, "CBDr7",
     &SetupPage::Edit118, "Edit118", &SetupPage::Edit118Change, &SetupPage::Edit119, "Edit119", &SetupPage::Edit119Change},
    {&SetupPage::LabelM8, "LabelM8", &SetupPage::EdspeedSm8, "EdspeedSm8", &SetupPage::EdspeedSm8Change,
     &SetupPage::EdspeedTm8, "EdspeedTm8", &SetupPage::EdspeedTm8Change, &SetupPage::EdlogP8, "EdlogP8",
     &SetupPage::EdlogP8Change, &SetupPage::CBA8, "CBA8", &SetupPage::CBA8Change, &SetupPage::CBDr8, "CBDr8",
     &SetupPage::Edit120, "Edit120", &SetupPage::Edit120Change, &SetupPage::Edit121, "Edit121", &SetupPage::Edit121Change},
};

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
    l->setWordWrap(wrap);   // a long column caption may take two lines over its boxes
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
    grid->addWidget(headerLabel(GroupBox3, QStringLiteral("初速度ｐｐｓ")), 0, 1);
    grid->addWidget(headerLabel(GroupBox3, QStringLiteral("最高速度ｐｐｓ")), 0, 2);
    grid->addWidget(headerLabel(GroupBox3, QStringLiteral("論理パルス数")), 0, 3);
    grid->addWidget(headerLabel(GroupBox3, QStringLiteral("加速度")), 0, 4);
    grid->addWidget(headerLabel(GroupBox3, QStringLiteral("Driver1/2")), 0, 5);
    grid->addWidget(headerLabel(GroupBox3, QStringLiteral("(-) <-Soft Limit->(+)")), 0, 6, 1,
                    2);
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
    auto* note = makeLabel(
        GroupBox3,
        QStringLiteral("リミッタスイッチの極性の設定は、モータコントローラー電子基板のスイッチで設定します。"));
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

void SetupPage::Button62Click() { initialiseMotors(rec(), kx(), svc().alerts); }

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
