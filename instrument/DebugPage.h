#pragma once
// Debug page: service screen of the non-stop 2D hardware. It shows the MCA's internal scan state
// block and the non-stop motor position while the page is visible and the program is online,
// programs the four hardware ROIs and the channel size, reads the stored pixel count and ROI
// counts back, and runs a test move of the non-stop motor (axis "0" of the controller at
// NonStopHexSw).

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/Page.h"

namespace qor {

class DebugPage : public Page {
    Q_OBJECT
public:
    DebugPage(PageContext ctx, QWidget* parent);

    // Step 8: Edit44; step 10: ComboBox14; step 13: ComboBox2; step 16: Edit48, Edit50, Edit51,
    // Edit49, Edit52.
    void startupStep(int step) override;
    // Online only: the internal state read-back and the non-stop motor position.
    void tickDuty() override;

    QGroupBox* GroupBoxDebug = nullptr;

    // Internal state block displays.
    QLineEdit* Edit28 = nullptr;  // "内部測定点データ数"
    QLineEdit* Edit44 = nullptr;  // "fullch"
    QCheckBox* CheckBox17 = nullptr;
    QCheckBox* CheckBox18 = nullptr;
    QCheckBox* CheckBox19 = nullptr;
    QCheckBox* CheckBox20 = nullptr;
    QLineEdit* Edit29 = nullptr;  // ROI#1 first, last
    QLineEdit* Edit30 = nullptr;
    QLineEdit* Edit31 = nullptr;  // ROI#2
    QLineEdit* Edit32 = nullptr;
    QLineEdit* Edit33 = nullptr;  // ROI#3
    QLineEdit* Edit34 = nullptr;
    QLineEdit* Edit35 = nullptr;  // ROI#4
    QLineEdit* Edit36 = nullptr;
    QComboBox* ComboBox9 = nullptr;  // kinds of ROI#1..ROI#4
    QComboBox* ComboBox10 = nullptr;
    QComboBox* ComboBox11 = nullptr;
    QComboBox* ComboBox12 = nullptr;
    QLineEdit* Edit39 = nullptr;  // values of ROI#1..ROI#4
    QLineEdit* Edit40 = nullptr;
    QLineEdit* Edit41 = nullptr;
    QLineEdit* Edit42 = nullptr;
    QLineEdit* Edit37 = nullptr;  // "wPos"
    QLineEdit* Edit38 = nullptr;  // "rPos"

    // Non-stop motor.
    QComboBox* ComboBox14 = nullptr;  // controller HEX-SW
    QLineEdit* Edit48 = nullptr;      // "回転速度[pps]"
    QLineEdit* Edit51 = nullptr;      // "logicPulse"
    QLineEdit* Edit50 = nullptr;      // "インターバルパルス数"
    QLineEdit* Edit49 = nullptr;      // "論理座標" .. "まで"
    QLineEdit* Edit52 = nullptr;      // new coordinate
    QLineEdit* Edit53 = nullptr;      // position, logical units
    QLineEdit* Edit128 = nullptr;     // position, pulses
    QPushButton* Button21 = nullptr;  // "測定移動"
    QPushButton* Button24 = nullptr;  // "座標を変更"
    QPushButton* Button22 = nullptr;  // "STOP"
    QPushButton* Button78 = nullptr;  // "SET"
    QPushButton* Button79 = nullptr;  // "READ"

    // Hardware ROI entry and MCA read-back.
    QComboBox* ComboBox13 = nullptr;       // "ROI#1".."ROI#4"
    QLineEdit* Edit45 = nullptr;           // "L ch"
    QLineEdit* Edit46 = nullptr;           // "R ch"
    QRadioButton* RadioButton4 = nullptr;  // "NET"
    QRadioButton* RadioButton5 = nullptr;  // "GROSS"
    QPushButton* Button17 = nullptr;       // "設定"
    QComboBox* ComboBox2 = nullptr;        // "256ch".."2048ch"
    QPushButton* Button1 = nullptr;        // "Pset"
    QPushButton* Button20 = nullptr;       // "データ数Read"
    QLineEdit* Edit47 = nullptr;           // pixel record count
    QPushButton* Button23 = nullptr;       // "データＲＥＡＤ"
    QLabel* LableD1 = nullptr;             // ROI counts 1-8, 9-16, 17-24, 25-32
    QLabel* LableD2 = nullptr;
    QLabel* LableD3 = nullptr;
    QLabel* LableD4 = nullptr;
    QPushButton* Button18 = nullptr;  // "自動測定開始" (no action)
    QPushButton* Button19 = nullptr;  // "自動測定停止" (no action)

    // The hardware ROI entry (not persisted; zero at start-up).
    int32_t DebugRoiNumber = 0;  // 1..4, 0 = none chosen yet
    int32_t DebugRoiFirst = 0;
    int32_t DebugRoiLast = 0;
    int32_t DebugRoiKind = 0;  // 0 NET, 1 GROSS

    // Handlers.
    void ComboBox14Change();
    void Edit48Change();
    void Edit51Change();
    void Edit50Change();
    void Edit49Change();
    void Edit52Change();
    void ComboBox13Change();
    void Edit45Change();
    void Edit46Change();
    void RadioButton4Click();
    void RadioButton5Click();
    void ComboBox2Change();
    void Button17Click();
    void Button1Click();
    void Button20Click();
    void Button23Click();
    void Button21Click();
    void Button24Click();
    void Button22Click();
    void Button78Click();
    void Button79Click();

private:
    void buildStateBlock(QWidget* box);
    void buildMotorBox(QWidget* box);
    void buildMcaBox(QWidget* box);
    void showStateBlock(const uint8_t* block);
    void goOffline(const QString& message);
    // Offline: the status bar says so and the command sends nothing.
    bool refusedOffline();
    bool mca1Selected();
    char mca1();
    char nonStopModule();

    QLineEdit* roiFirst_[4] = {};
    QLineEdit* roiLast_[4] = {};
    QComboBox* roiKind_[4] = {};
    QLineEdit* roiValue_[4] = {};
    QCheckBox* switches_[4] = {};
    QLabel* roiCounts_[4] = {};
};

}  // namespace qor
