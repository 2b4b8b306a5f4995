#pragma once
// The Esc key of the main window, caught before any control sees it: whichever page is shown and
// whichever control has the focus (a text box included), Esc runs the emergency stop. Dialogs and
// pop-up lists are windows of their own and keep their Esc.

#include <QObject>
#include <functional>

class QWidget;

namespace qor {

class EscapeKey : public QObject {
public:
    // Watches the key presses of the application for those aimed at `window` or its controls.
    EscapeKey(QWidget& window, std::function<void()> onEscape);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    std::function<void()> onEscape_;
};

}  // namespace qor
