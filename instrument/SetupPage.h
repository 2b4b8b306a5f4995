#pragma once
// SETUP page: the module table (which modules exist, their HEX-SW address, port and name) and
// the motor axis parameters (speeds, scale, acceleration class, driver mode, soft limits).
// Every control stores into its record field on every change.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/Page.h"

namespace qor {

class SetupPage : public Page {
    Q_OBJECT
public:
    SetupPage(PageContext ctx, QWidget* parent);

    // Step 7 fills the module table, step 9 the motor parameter table.
    void startupStep(int step) override;

    QGroupBox* GroupBox2 = nullptr;   // "ＱＯＲ－１０ モジュール基本設定"
    QPushButton* Button2 = nullptr;   // "RENAME"
    QGroupBox* GroupBox3 = nullptr;   // "モータパラメータの設定"
    QPushButton* Button62 = nullptr;  // "現在の内容で、再設定する"

    // Module table (group GroupBox2): enable check box, HEX-SW combo, Port# combo, name box.
    QCheckBox* CheckBox1 = nullptr;
    QComboBox* CBHEXmca = nullptr;
    QComboBox* CBPORTmca = nullptr;
    QLineEdit* Edit2 = nullptr;
    QCheckBox* CheckBox21 = nullptr;
    QComboBox* CBHEXmca2 = nullptr;
    QComboBox* CBPORTmca2 = nullptr;
    QLineEdit* Edit43 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QComboBox* CBHEXmotor1 = nullptr;
    QComboBox* CBPORTmotor1 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QComboBox* CBHEXmotor2 = nullptr;
    QComboBox* CBPORTmotor2 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QCheckBox* CheckBox4 = nullptr;
    QComboBox* CBHEXmotor3 = nullptr;
    QComboBox* CBPORTmotor3 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QCheckBox* CheckBox5 = nullptr;
    QComboBox* CBHEXmotor4 = nullptr;
    QComboBox* CBPORTmotor4 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QCheckBox* CheckBox6 = nullptr;
    QComboBox* CBHEXmotor5 = nullptr;
    QComboBox* CBPORTmotor5 = nullptr;
    QLineEdit* Edit7 = nullptr;
    QCheckBox* CheckBox7 = nullptr;
    QComboBox* CBHEXmotor6 = nullptr;
    QComboBox* CBPORTmotor6 = nullptr;
    QLineEdit* Edit8 = nullptr;
    QCheckBox* CheckBox8 = nullptr;
    QComboBox* CBHEXmotor7 = nullptr;
    QComboBox* CBPORTmotor7 = nullptr;
    QLineEdit* Edit9 = nullptr;
    QCheckBox* CheckBox9 = nullptr;
    QComboBox* CBHEXmotor8 = nullptr;
    QComboBox* CBPORTmotor8 = nullptr;
    QLineEdit* Edit10 = nullptr;
    QCheckBox* CheckBox10 = nullptr;
    QComboBox* CBHEXcounter1 = nullptr;
    QComboBox* CBPORTcounter1 = nullptr;
    QLineEdit* Edit11 = nullptr;
    QCheckBox* CheckBox11 = nullptr;
    QComboBox* CBHEXcounter2 = nullptr;
    QComboBox* CBPORTcounter2 = nullptr;
    QLineEdit* Edit12 = nullptr;
    QCheckBox* CheckBox12 = nullptr;
    QComboBox* CBHEXcounter3 = nullptr;
    QComboBox* CBPORTcounter3 = nullptr;
    QLineEdit* Edit13 = nullptr;

    // Motor parameter table (group GroupBox3), one row per motor.
    QLabel* LabelM1 = nullptr;
    QLineEdit* EdspeedSm1 = nullptr;
    QLineEdit* EdspeedTm1 = nullptr;
    QLineEdit* EdlogP1 = nullptr;
    QComboBox* CBA1 = nullptr;
    QComboBox* CBDr1 = nullptr;
    QLineEdit* Edit83 = nullptr;
    QLineEdit* Edit88 = nullptr;
    QLabel* LabelM2 = nullptr;
    QLineEdit* EdspeedSm2 = nullptr;
    QLineEdit* EdspeedTm2 = nullptr;
    QLineEdit* EdlogP2 = nullptr;
    QComboBox* CBA2 = nullptr;
    QComboBox* CBDr2 = nullptr;
    QLineEdit* Edit93 = nullptr;
    QLineEdit* Edit98 = nullptr;
    QLabel* LabelM3 = nullptr;
    QLineEdit* EdspeedSm3 = nullptr;
    QLineEdit* EdspeedTm3 = nullptr;
    QLineEdit* EdlogP3 = nullptr;
    QComboBox* CBA3 = nullptr;
    QComboBox* CBDr3 = nullptr;
    QLineEdit* Edit103 = nullptr;
    QLineEdit* Edit108 = nullptr;
    QLabel* LabelM4 = nullptr;
    QLineEdit* EdspeedSm4 = nullptr;
    QLineEdit* EdspeedTm4 = nullptr;
    QLineEdit* EdlogP4 = nullptr;
    QComboBox* CBA4 = nullptr;
    QComboBox* CBDr4 = nullptr;
    QLineEdit* Edit112 = nullptr;
    QLineEdit* Edit113 = nullptr;
    QLabel* LabelM5 = nullptr;
    QLineEdit* EdspeedSm5 = nullptr;
    QLineEdit* EdspeedTm5 = nullptr;
    QLineEdit* EdlogP5 = nullptr;
    QComboBox* CBA5 = nullptr;
    QComboBox* CBDr5 = nullptr;
    QLineEdit* Edit114 = nullptr;
    QLineEdit* Edit115 = nullptr;
    QLabel* LabelM6 = nullptr;
    QLineEdit* EdspeedSm6 = nullptr;
    QLineEdit* EdspeedTm6 = nullptr;
    QLineEdit* EdlogP6 = nullptr;
    QComboBox* CBA6 = nullptr;
    QComboBox* CBDr6 = nullptr;
    QLineEdit* Edit116 = nullptr;
    QLineEdit* Edit117 = nullptr;
    QLabel* LabelM7 = nullptr;
    QLineEdit* EdspeedSm7 = nullptr;
    QLineEdit* EdspeedTm7 = nullptr;
    QLineEdit* EdlogP7 = nullptr;
    QComboBox* CBA7 = nullptr;
    QComboBox* CBDr7 = nullptr;
    QLineEdit* Edit118 = nullptr;
    QLineEdit* Edit119 = nullptr;
    QLabel* LabelM8 = nullptr;
    QLineEdit* EdspeedSm8 = nullptr;
    QLineEdit* EdspeedTm8 = nullptr;
    QLineEdit* EdlogP8 = nullptr;
    QComboBox* CBA8 = nullptr;
    QComboBox* CBDr8 = nullptr;
    QLineEdit* Edit120 = nullptr;
    QLineEdit* Edit121 = nullptr;

    // Module table handlers.
    void CheckBox1Click();
    void CBHEXmcaChange();
    void CBPORTmcaChange();
    void Edit2Change();
    void CheckBox21Click();
    void CBHEXmca2Change();
    void CBPORTmca2Change();
    void Edit43Change();
    void CheckBox2Click();
    void CBHEXmotor1Change();
    void CBPORTmotor1Change();
    void Edit3Change();
    void CheckBox3Click();
    void CBHEXmotor2Change();
    void CBPORTmotor2Change();
    void Edit4Change();
    void CheckBox4Click();
    void CBHEXmotor3Change();
    void CBPORTmotor3Change();
    void Edit5Change();
    void CheckBox5Click();
    void CBHEXmotor4Change();
    void CBPORTmotor4Change();
    void Edit6Change();
    void CheckBox6Click();
    void CBHEXmotor5Change();
    void CBPORTmotor5Change();
    void Edit7Change();
    void CheckBox7Click();
    void CBHEXmotor6Change();
    void CBPORTmotor6Change();
    void Edit8Change();
    void CheckBox8Click();
    void CBHEXmotor7Change();
    void CBPORTmotor7Change();
    void Edit9Change();
    void CheckBox9Click();
    void CBHEXmotor8Change();
    void CBPORTmotor8Change();
    void Edit10Change();
    void CheckBox10Click();
    void CBHEXcounter1Change();
    void CBPORTcounter1Change();
    void Edit11Change();
    void CheckBox11Click();
    void CBHEXcounter2Change();
    void CBPORTcounter2Change();
    void Edit12Change();
    void CheckBox12Click();
    void CBHEXcounter3Change();
    void CBPORTcounter3Change();
    void Edit13Change();
    void Button2Click();

    // Motor parameter handlers.
    void EdspeedSm1Change();
    void EdspeedTm1Change();
    void EdlogP1Change();
    void CBA1Change();
    void Edit83Change();
    void Edit88Change();
    void EdspeedSm2Change();
    void EdspeedTm2Change();
    void EdlogP2Change();
    void CBA2Change();
    void Edit93Change();
    void Edit98Change();
    void EdspeedSm3Change();
    void EdspeedTm3Change();
    void EdlogP3Change();
    void CBA3Change();
    void Edit103Change();
    void Edit108Change();
    void EdspeedSm4Change();
    void EdspeedTm4Change();
    void EdlogP4Change();
    void CBA4Change();
    void Edit112Change();
    void Edit113Change();
    void EdspeedSm5Change();
    void EdspeedTm5Change();
    void EdlogP5Change();
    void CBA5Change();
    void Edit114Change();
    void Edit115Change();
    void EdspeedSm6Change();
    void EdspeedTm6Change();
    void EdlogP6Change();
    void CBA6Change();
    void Edit116Change();
    void Edit117Change();
    void EdspeedSm7Change();
    void EdspeedTm7Change();
    void EdlogP7Change();
    void CBA7Change();
    void Edit118Change();
    void Edit119Change();
    void EdspeedSm8Change();
    void EdspeedTm8Change();
    void EdlogP8Change();
    void CBA8Change();
    void Edit120Change();
    void Edit121Change();
    void Button62Click();

    // Rows of the module table: 0 MCA1, 1 MCA2, 2..9 MOTOR#1..#8, 10..12 COUNTER#1..#3.
    static constexpr int kModuleRows = 13;
    static constexpr int kMotors = 8;

private:
    // The record fields behind one module row.
    struct ModuleFields {
        uint8_t& enabled;
        int32_t& hexSw;
        int32_t& port;
        char* name;  // char[16]
    };
    ModuleFields moduleFields(int row);
    QCheckBox* moduleCheck(int row) const;
    QComboBox* moduleHex(int row) const;
    QComboBox* modulePort(int row) const;
    QLineEdit* moduleName(int row) const;

    void buildModuleTable();
    void buildMotorTable();
    void fillModuleTable();
    void fillMotorTable();
    void showNames();

    void storeEnable(int row);
    void storeHexSw(int row);
    void storePort(int row);
    void storeName(int row);
};

}  // namespace qor
