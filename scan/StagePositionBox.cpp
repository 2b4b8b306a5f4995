#include "scan/StagePositionBox.h"

#include "app/FieldText.h"
#include "app/Widgets.h"

namespace qor {

void StagePositionBox::refresh(StageControl& stage, const InfoRecord& rec,
                               const MotorStatusReadout& last) {
    if (!box_ || motor_ < 1 || motor_ > 8 || rec.MotorEnabled[motor_ - 1] != 1) return;
    bool ok = false;
    const double position = stage.ReadMotorPosition(motor_ - 1, &ok);
    const int32_t perUnit = rec.MotorLogicalPulses[motor_ - 1];
    if (ok && (!shown_ || last.pulses != pulses_ || perUnit != perUnit_)) {
        box_->setText(formatPosition(position));
        shown_ = true;
        pulses_ = last.pulses;
        perUnit_ = perUnit;
    }
    const int colour = last.busy == 1 ? 1 : 0;
    if (colour != colour_) {
        setBoxColour(box_, colour == 1 ? QColor(Qt::yellow) : QColor(Qt::white));
        colour_ = colour;
    }
    if (ccw_) ccw_->setLit(last.ccw == 1);
    if (cw_) cw_->setLit(last.cw == 1);
}

}  // namespace qor
