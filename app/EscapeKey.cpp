#include "app/EscapeKey.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace qor {

EscapeKey::EscapeKey(QWidget& window, std::function<void()> onEscape)
    : QObject(&window), window_(window), onEscape_(std::move(onEscape)) {
    QCoreApplication::instance()->installEventFilter(this);
}

bool EscapeKey::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Escape || !watched->isWidgetType()) return false;
    if (static_cast<QWidget*>(watched)->window() != &window_) return false;
    // No control of the window may take Esc for itself (a shortcut override would).
    if (type == QEvent::ShortcutOverride) return false;
    // Held down, the key repeats: one stop is enough.
    if (!key->isAutoRepeat() && onEscape_) onEscape_();
    return true;
}

}  // namespace qor
