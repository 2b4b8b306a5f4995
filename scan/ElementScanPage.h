#pragma once
// Element scan page (元素SCAN): the area and speed of the element scan with its start, stop and
// corner buttons, and the X/Y jog pad of the stage with the position boxes and limit lamps.
//
// The element scan itself runs in ElementScanSequencer, one state per Timer2 tick; the page
// shows what it reports on controls of the main window (the running labels of the tool bar, the
// ErrView box of the 2D SCAN page) through the links the main window gives it.

#include "app/Page.h"
#include "instrument/McaControl.h"
#include "scan/ElementScanSequencer.h"
#include "scan/StageControl.h"
#include "scan/StageLamp.h"
#include "scan/StagePositionBox.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <functional>

namespace qor {

// Controls of other parts of the main window that the element scan reads or shows.
struct ElementScanLinks {
    std::function<McaSelection()> mcaSelection;   // the MCA page's "MCA1 " / "MCA2 " boxes
    std::function<void()> showMcaPage;            // brings the MCA page to the front
    std::function<void(const QString&)> setRunNameTexts;   // RunName1 and RunName2
    std::function<void(bool first, bool second)> showRunNames;
    std::function<void(const QString&)> showErrView;       // ErrView of the 2D SCAN page
    std::function<void(const QString&)> showMcaProgress;   // the progress line of the MCA page
};

class ElementScanPage : public Page {
    Q_OBJECT
public:
    ElementScanPage(PageContext ctx, QWidget* parent);

    void link(ElementScanLinks links) { links_ = std::move(links); }

    void startupStep(int step) override;
    // Online: the positions of motors #1 (X) and #2 (Y) with their limit lamps.
    void tickDuty() override;

    // Handlers.
    void Edit135Change();
    void Edit150Change();
    void Edit151Change();
    void Edit138Change();
    void Edit148Change();
    void Edit152Change();
    void SpeedButton21Click();   // bound to SpeedButton51
    void SpeedButton32Click();   // bound to SpeedButton52
    // The jog pad, sharing the handlers of the Setup SCAN page's pad.
    void Button29Click();   // Button84 ◀: X - JogStepX
    void Button28Click();   // Button83 ▶: X + JogStepX
    void Button27Click();   // Button82 ▼: Y - JogStepY
    void Button26Click();   // Button81 ▲: Y + JogStepY
    void Button30Click();   // Button85 停止: halt X and Y
    void Button31Click();   // Button86: X and Y counters to (0,0)
    // The element scan.
    void Button80Click();   // start
    void Button87Click();   // 中止
    void Button88Click();   // to (Xstart,Ystart)
    void Button89Click();   // to (Xend,Yend)

    // One Timer2 tick of the element scan (online, while ScanMode is 3 or the scan is armed),
    // then what it shows.
    void scanTick();
    bool elementScanArmed() const { return seq_.armed(); }
    ElementScanSequencer& sequencer() { return seq_; }

    // Element scan range and speed.
    QGroupBox* GroupElemScan = nullptr;
    QLineEdit* Edit135 = nullptr;   // X speed, pulses/s
    QLineEdit* Edit150 = nullptr;   // X start
    QLineEdit* Edit151 = nullptr;   // Y start
    QLineEdit* Edit138 = nullptr;   // X end
    QLineEdit* Edit148 = nullptr;   // Y end
    QLineEdit* Edit152 = nullptr;   // Y step
    QToolButton* SpeedButton51 = nullptr;
    QPushButton* Button88 = nullptr;   // to (Xstart,Ystart)
    QPushButton* Button89 = nullptr;   // to (Xend,Yend)
    QPushButton* Button80 = nullptr;   // start
    QPushButton* Button87 = nullptr;   // stop
    // Progress of the sweep and how the last one ended.
    QProgressBar* ElemProgressBar = nullptr;
    QLabel* LabelElemElapsed = nullptr;
    QLabel* LabelElemLeft = nullptr;
    QLabel* LabelElemEnd = nullptr;

    // Jog pad.
    QGroupBox* GroupElemJog = nullptr;
    QPushButton* Button81 = nullptr;   // ▲ Y+
    QPushButton* Button82 = nullptr;   // ▼ Y-
    QPushButton* Button84 = nullptr;   // ◀ X-
    QPushButton* Button83 = nullptr;   // ▶ X+
    QPushButton* Button85 = nullptr;   // 停止
    QPushButton* Button86 = nullptr;   // 座標を(0,0)にする
    QToolButton* SpeedButton52 = nullptr;
    QLineEdit* Edit157 = nullptr;      // X position
    QLineEdit* Edit156 = nullptr;      // Y position
    StageLamp* Image7 = nullptr;       // X CCW limit
    StageLamp* Image9 = nullptr;       // X CW limit
    StageLamp* Image6 = nullptr;       // Y CCW limit
    StageLamp* Image8 = nullptr;       // Y CW limit

    StageControl& stage() { return stage_; }

private:
    McaSelection mcaSelection() const;
    void showScanDisplay();
    void showProgress(const ElementScanDisplay& d);

    StageControl stage_;
    StagePositionBox positions_[2];   // X Edit157, Y Edit156
    ElementScanSequencer seq_;
    ElementScanLinks links_;
    struct Shown {
        bool any = false;
        uint32_t serial = 0;
        uint32_t errViewCount = 0;
    } shown_;
};

}  // namespace qor
