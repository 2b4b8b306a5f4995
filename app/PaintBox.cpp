#include "app/PaintBox.h"

#include <QMouseEvent>
#include <QPainter>

namespace qor {

PaintBox::PaintBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PaintBox::showImage(const QImage& img) {
    if (shown_.size() != img.size() || shown_.format() != img.format()) {
        shown_ = img.copy();
    } else {
        // Same geometry: copy the pixels into the existing buffer, no allocation.
        const qsizetype bytes = img.sizeInBytes();
        std::memcpy(shown_.bits(), img.constBits(), static_cast<size_t>(bytes));
    }
    update();
}

void PaintBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (shown_.isNull()) {
        p.fillRect(rect(), Qt::white);
        return;
    }
    p.drawImage(0, 0, shown_);
}

void PaintBox::mousePressEvent(QMouseEvent* e) {
    const QPoint pt = e->position().toPoint();
    emit mousePressed(pt.x(), pt.y(), e->button());
}

void PaintBox::mouseDoubleClickEvent(QMouseEvent* e) {
    const QPoint pt = e->position().toPoint();
    emit mouseDoubleClicked(pt.x(), pt.y(), e->button());
}

}  // namespace qor
