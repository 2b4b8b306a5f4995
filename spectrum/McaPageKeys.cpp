#include "spectrum/McaPageKeys.h"

#include "spectrum/McaPage.h"

#include <QEvent>
#include <QKeyEvent>

namespace qor {

namespace {

class McaPageKeys : public QObject {
public:
    explicit McaPageKeys(McaPage& page) : QObject(&page), page_(page) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (watched == page_.PaintBox1) return page_.PaintBox1KeyDown(key->key(), key->modifiers());
        if (watched == &page_) return page_.pageKeyDown(key->key(), key->modifiers());
        return false;
    }

private:
    McaPage& page_;
};

}  // namespace

void installMcaPageKeys(McaPage& page) {
    auto* keys = new McaPageKeys(page);
    page.PaintBox1->installEventFilter(keys);
    // Keys a control of the page leaves unused travel up to the page.
    page.installEventFilter(keys);
}

}  // namespace qor
