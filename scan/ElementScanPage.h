#pragma once
// Element scan page (元素SCAN): the area and speed of the element scan with its start, stop and
// corner buttons, and the X/Y jog pad of the stage with the position boxes and limit lamps.

#include "app/Page.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace qor {

class ElementScanPage : public Page {
    Q_OBJECT
public:
    ElementScanPage(PageContext ctx, QWidget* parent);

    void startupStep(int step) override;

    // Handlers.
    void Edit135Change();
    void Edit150Change();
    void Edit151Change();
    void Edit138Change();
    void Edit148Change();
    void Edit152Change();
    void SpeedButton21Click();   // bound to SpeedButton51
    void SpeedButton32Click();   // bound to SpeedButton52

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
    QLabel* Image7 = nullptr;          // X CCW limit
    QLabel* Image9 = nullptr;          // X CW limit
    QLabel* Image6 = nullptr;          // Y CCW limit
    QLabel* Image8 = nullptr;          // Y CW limit
};

}  // namespace qor
