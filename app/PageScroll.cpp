#include "app/PageScroll.h"

#include <QResizeEvent>

namespace qor {

PageScroll::PageScroll(QWidget* page, QWidget* parent) : QScrollArea(parent), page_(page) {
    setObjectName(page->objectName() + QStringLiteral("Scroll"));
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setWidget(page);
    applyFloor();
}

void PageScroll::setShortfall(QSize shortfall) {
    if (shortfall == shortfall_) return;
    shortfall_ = shortfall;
    applyFloor();
}

void PageScroll::resizeEvent(QResizeEvent* e) {
    // The floor follows the tab's area before the page is fitted to the new size.
    applyFloor();
    QScrollArea::resizeEvent(e);
}

void PageScroll::applyFloor() {
    // Only a dimension the window falls short in has a floor; elsewhere a minimum of one pixel
    // keeps a layout's own minimum from scrolling the page.
    const int w = shortfall_.width() > 0 ? width() + shortfall_.width() : 1;
    const int h = shortfall_.height() > 0 ? height() + shortfall_.height() : 1;
    page_->setMinimumSize(w, h);
}

}  // namespace qor
