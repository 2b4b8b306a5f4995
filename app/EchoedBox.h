#pragma once
// A number box that a timer keeps in step with its record field without fighting the operator:
// the timer rewrites the box only when the field no longer holds what the box says (another
// writer changed it, or the typed text was not a number), and never while the box has the
// keyboard focus, so a value typed across ticks is kept whole.

#include <QLineEdit>

namespace qor {

class EchoedBox {
public:
    using Format = QString (*)(double);
    EchoedBox(QLineEdit* box, Format format) : box_(box), format_(format) {}

    // From the box's change handler: whether its text gave a number, and the field after it.
    void stored(bool parsed, double field) {
        parsed_ = parsed;
        shown_ = field;
    }
    // From the tick: shows `field` unless the operator is typing or the box already says it.
    void refresh(double field);

private:
    QLineEdit* box_;
    Format format_;
    bool parsed_ = false;
    double shown_ = 0.0;
};

}  // namespace qor
