#include "app/EchoedBox.h"

#include <cmath>

namespace qor {

void EchoedBox::refresh(double field) {
    if (!box_ || box_->hasFocus()) return;
    const bool same = shown_ == field || (std::isnan(shown_) && std::isnan(field));
    if (parsed_ && same) return;
    box_->setText(format_(field));   // runs the change handler, which calls stored()
}

}  // namespace qor
