#include "scan/StageLamp.h"

#include <QPainter>
#include <QPixmap>

namespace qor {

namespace {
QPixmap lampPicture(bool lit) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(lit ? QColor(235, 30, 30) : QColor(95, 95, 95));
    p.drawEllipse(1, 1, 14, 14);
    if (lit) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 120));
        p.drawEllipse(4, 3, 6, 4);
    }
    return pm;
}
}  // namespace

StageLamp::StageLamp(QWidget* parent, const char* name, const QString& hint) : QLabel(parent) {
    setObjectName(QString::fromLatin1(name));
    setToolTip(hint);
    setFixedSize(16, 16);
    setPixmap(lampPicture(false));
}

void StageLamp::setLit(bool lit) {
    if (lit == lit_) return;
    lit_ = lit;
    setPixmap(lampPicture(lit));
}

}  // namespace qor
