#pragma once
// The live position display of one motor axis on a page: its position box and, where the page
// has them, its CCW and CW limit lamps. The acquisition tick refreshes it while the page is
// visible and the instrument online.

#include "app/AppState.h"
#include "scan/StageControl.h"
#include "scan/StageLamp.h"

#include <QLineEdit>
#include <cstdint>

namespace qor {

class StagePositionBox {
public:
    StagePositionBox() = default;   // shows nothing until assigned
    // `motor` is the motor number 1..8; the lamps may be null.
    StagePositionBox(int motor, QLineEdit* box, StageLamp* ccw = nullptr, StageLamp* cw = nullptr)
        : motor_(motor), box_(box), ccw_(ccw), cw_(cw) {}

    // Only while the motor is enabled: reads its position and shows it with "%10.4lf\r", the
    // box yellow while the motor moves and white otherwise, the lamps lit while a limit switch
    // is active. A failed read (reported in the status bar) leaves the last position shown.
    // The text is rebuilt only when the pulse address or the scale changed.
    void refresh(StageControl& stage, const InfoRecord& rec, const MotorStatusReadout& last);

private:
    int motor_ = 0;
    QLineEdit* box_ = nullptr;
    StageLamp* ccw_ = nullptr;
    StageLamp* cw_ = nullptr;
    bool shown_ = false;     // a position has been written into the box
    int32_t pulses_ = 0;     // pulse address and scale of the position shown
    int32_t perUnit_ = 0;
    int colour_ = -1;        // colour painted last: 0 white, 1 yellow, -1 none yet
};

}  // namespace qor
