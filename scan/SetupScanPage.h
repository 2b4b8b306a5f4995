#pragma once
// Setup SCAN page: the parameters of the 2D mapping scan (non-stop X motion, pixel widths and
// counts, repeats, Z range, backlash, scan method, map channel size, the twenty map ROI slots),
// the origin adjustment of the X/Y stage and the manual control of motors #3 to #8.
//
// Every box stores into its record field on every change; there is no apply button.

#include "app/EchoedBox.h"
#include "app/FieldText.h"
#include "app/Page.h"
#include "scan/StageControl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace qor {

class StageLamp;

class SetupScanPage : public Page {
    Q_OBJECT
public:
    SetupScanPage(PageContext ctx, QWidget* parent);

    void startupStep(int step) override;
    void tickDuty() override;

    static constexpr int kMapRoiSlots = 20;

    // --- Map ROI slots ROI-1 .. ROI-20 ------------------------------------------------------
    QCheckBox *CheckBox22, *CheckBox25, *CheckBox26, *CheckBox29, *CheckBox30, *CheckBox31,
        *CheckBox32, *CheckBox33, *CheckBox34, *CheckBox35, *CheckBox36, *CheckBox37,
        *CheckBox38, *CheckBox39, *CheckBox40, *CheckBox41, *CheckBox42, *CheckBox43,
        *CheckBox44, *CheckBox45;
    QComboBox *ComboBox15, *ComboBox16, *ComboBox17, *ComboBox18, *ComboBox19, *ComboBox20,
        *ComboBox21, *ComboBox22, *ComboBox23, *ComboBox24, *ComboBox25, *ComboBox26,
        *ComboBox27, *ComboBox28, *ComboBox29, *ComboBox30, *ComboBox31, *ComboBox32,
        *ComboBox33, *ComboBox34;
    QLineEdit *Edit54, *Edit55, *Edit56, *Edit57, *Edit58, *Edit59, *Edit60, *Edit61, *Edit62,
        *Edit63, *Edit64, *Edit65, *Edit66, *Edit67, *Edit68, *Edit69, *Edit70, *Edit71,
        *Edit72, *Edit73;
    QToolButton* SpeedButton35;
    // The slots in order: slot i is ROI-(i + 1).
    QCheckBox* mapRoiCheck[kMapRoiSlots];
    QComboBox* mapRoiKind[kMapRoiSlots];
    QLineEdit* mapRoiName[kMapRoiSlots];

    // --- Non-stop X motion, counts, Z, method, backlash, size display ------------------------
    QLineEdit *Edit74, *Edit75, *Edit76, *Edit77, *Edit78, *Edit81;
    QToolButton *SpeedButton21, *SpeedButton22, *SpeedButton23, *SpeedButton24, *SpeedButton30,
        *SpeedButton33;
    QCheckBox* CheckBox48;
    QLineEdit *Edit124, *Edit125, *Edit126, *Edit127;
    QComboBox* smSelect;
    QLabel *scanm1, *scanm2;
    QLineEdit *Edit153, *Edit154;
    QLabel *Label97, *Label99, *Label92, *Label94;
    QLabel* LabelScanKeeps;   // shown while a mapping scan runs on the values it started with
    QToolButton *imgPeng1, *imgPeng2;

    // --- MCA#1 Preset ---------------------------------------------------------------------------
    QComboBox* ComboBox35;

    // --- Origin adjustment: X/Y jog pad ----------------------------------------------------------
    QPushButton *Button26, *Button27, *Button28, *Button29, *Button30, *Button31, *Button25;
    QToolButton* SpeedButton32;
    QLineEdit *Edit79, *Edit80;    // Y and X jog steps
    QLineEdit *Edit123, *Edit122;  // X and Y positions
    StageLamp *imgCCW1, *imgCW1, *imgCCW2, *imgCW2;

    // --- Motors #3 .. #8 -----------------------------------------------------------------------
    QLineEdit *Edit82, *Edit87, *Edit92, *Edit97, *Edit102, *Edit107;    // positions
    QLineEdit *Edit84, *Edit89, *Edit94, *Edit99, *Edit104, *Edit109;    // EDIT values
    QLineEdit *Edit85, *Edit90, *Edit95, *Edit100, *Edit105, *Edit110;   // GOTO targets
    QLineEdit *Edit86, *Edit91, *Edit96, *Edit101, *Edit106, *Edit111;   // jog steps
    QPushButton *Button32, *Button37, *Button42, *Button47, *Button52, *Button57;  // EDIT
    QPushButton *Button33, *Button38, *Button43, *Button48, *Button53, *Button58;  // GOTO
    QPushButton *Button34, *Button39, *Button44, *Button49, *Button54, *Button59;  // ◀
    QPushButton *Button35, *Button40, *Button45, *Button50, *Button55, *Button60;  // STOP
    QPushButton *Button36, *Button41, *Button46, *Button51, *Button56, *Button61;  // ▶
    StageLamp *imgCCW3, *imgCCW4, *imgCCW5, *imgCCW6, *imgCCW7, *imgCCW8;
    StageLamp *imgCW3, *imgCW4, *imgCW5, *imgCW6, *imgCW7, *imgCW8;

    // The row of motor n (3..8) at index n - 3.
    struct MotorRow {
        QLineEdit* position;
        QLineEdit* setPos;
        QLineEdit* gotoPos;
        QLineEdit* jogStep;
        QPushButton* edit;
        QPushButton* go;
        QPushButton* left;
        QPushButton* stop;
        QPushButton* right;
        StageLamp* ccw;
        StageLamp* cw;
    };
    MotorRow motorRow[6];

    // Picture counter of the tick duty: the picture button returns to its first pose on every
    // 16th tick.
    int PengTickCount = 0;

    // --- Handlers --------------------------------------------------------------------------------
    void CheckBox22Click(); void CheckBox25Click(); void CheckBox26Click(); void CheckBox29Click();
    void CheckBox30Click(); void CheckBox31Click(); void CheckBox32Click(); void CheckBox33Click();
    void CheckBox34Click(); void CheckBox35Click(); void CheckBox36Click(); void CheckBox37Click();
    void CheckBox38Click(); void CheckBox39Click(); void CheckBox40Click(); void CheckBox41Click();
    void CheckBox42Click(); void CheckBox43Click(); void CheckBox44Click(); void CheckBox45Click();
    void ComboBox15Change(); void ComboBox16Change(); void ComboBox17Change();
    void ComboBox18Change(); void ComboBox19Change(); void ComboBox20Change();
    void ComboBox21Change(); void ComboBox22Change(); void ComboBox23Change();
    void ComboBox24Change(); void ComboBox25Change(); void ComboBox26Change();
    void ComboBox27Change(); void ComboBox28Change(); void ComboBox29Change();
    void ComboBox30Change(); void ComboBox31Change(); void ComboBox32Change();
    void ComboBox33Change(); void ComboBox34Change();
    void Edit54Change(); void Edit55Change(); void Edit56Change(); void Edit57Change();
    void Edit58Change(); void Edit59Change(); void Edit60Change(); void Edit61Change();
    void Edit62Change(); void Edit63Change(); void Edit64Change(); void Edit65Change();
    void Edit66Change(); void Edit67Change(); void Edit68Change(); void Edit69Change();
    void Edit70Change(); void Edit71Change(); void Edit72Change(); void Edit73Change();

    void Edit74Change();
    void Edit75Change();
    void Edit76Chang();
    void Edit77Change();
    void Edit78Change();
    void Edit81Change();
    void CheckBox48Click();
    void Edit124Change();
    void Edit125Change();
    void Edit126Change();
    void Edit127Change();
    void smSelectChange();
    void Edit153Change();
    void Edit154Change();
    void ComboBox35Change();

    void Edit79Change();
    void Edit80Change();
    // EDIT values, GOTO targets and jog steps of motors #3 .. #8.
    void Edit84Change(); void Edit89Change(); void Edit94Change();
    void Edit99Change(); void Edit104Change(); void Edit109Change();
    void Edit85Change(); void Edit90Change(); void Edit95Change();
    void Edit100Change(); void Edit105Change(); void Edit110Change();
    void Edit86Change(); void Edit91Change(); void Edit96Change();
    void Edit101Change(); void Edit106Change(); void Edit111Change();

    // Sound help and picture buttons.
    void SpeedButton35Click();
    void SpeedButton21Click();
    void SpeedButton22Click();
    void SpeedButton23Click();
    void SpeedButton24Click();
    void SpeedButton30Click();
    void SpeedButton33Click();
    void SpeedButton32Click();
    void Button25Click();
    void imgPeng1Click();

    // Stage: the X/Y jog pad (▲ ▼ Y, ◀ ▶ X), its halt and origin buttons, and the rows of motors
    // #3 .. #8 (EDIT, GOTO, ◀, STOP, ▶).
    void Button26Click(); void Button27Click(); void Button28Click(); void Button29Click();
    void Button30Click(); void Button31Click();
    void Button32Click(); void Button33Click(); void Button34Click(); void Button35Click();
    void Button36Click();
    void Button37Click(); void Button38Click(); void Button39Click(); void Button40Click();
    void Button41Click();
    void Button42Click(); void Button43Click(); void Button44Click(); void Button45Click();
    void Button46Click();
    void Button47Click(); void Button48Click(); void Button49Click(); void Button50Click();
    void Button51Click();
    void Button52Click(); void Button53Click(); void Button54Click(); void Button55Click();
    void Button56Click();
    void Button57Click(); void Button58Click(); void Button59Click(); void Button60Click();
    void Button61Click();

private:
    QWidget* buildMapRoiGroup();
    QWidget* buildPresetGroup();
    QWidget* buildScanParameterGroup();
    QWidget* buildOriginGroup();
    QWidget* buildMotorGroup();

    void roiCheckClick(int slot);
    void roiKindChange(int slot);
    void roiNameChange(int slot);
    void showScanMethodPicture();
    void showSizeDisplay();
    // A box of another page that shows a derived value (the scan ranges of the 2D SCAN page);
    // nothing when that page has no such box.
    void showOnOtherPage(const char* boxName, double value);
    void connectStageButtons();
    // The position displays of motors 1 .. 8 (online only).
    void showPositions();

    StageControl stage_;
    // The tick keeps the jog step boxes showing their fields, but never under the operator's
    // typing.
    EchoedBox jogStepXEcho_{nullptr, formatPosition};
    EchoedBox jogStepYEcho_{nullptr, formatPosition};
};

}  // namespace qor
