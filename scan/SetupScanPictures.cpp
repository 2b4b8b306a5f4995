#include "scan/SetupScanPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace qor {

namespace {

constexpr int kLines = 4;

void drawFrame(QPainter& p, int w, int h) {
    p.fillRect(0, 0, w, h, QColor(252, 252, 246));
    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.drawRect(0, 0, w - 1, h - 1);
    // The scanned area: a light grid of pixels.
    p.setPen(QPen(QColor(222, 222, 214), 1));
    for (int x = 10; x < w - 6; x += 8) p.drawLine(x, 6, x, h - 7);
}

void arrowHead(QPainter& p, QPointF tip, QPointF from, QColor colour) {
    QLineF line(from, tip);
    line.setLength(6);
    QLineF back(tip, from);
    back.setLength(6);
    QLineF l1 = back;
    l1.setAngle(back.angle() + 28);
    QLineF l2 = back;
    l2.setAngle(back.angle() - 28);
    QPolygonF head;
    head << tip << l1.p2() << l2.p2();
    p.setBrush(colour);
    p.setPen(Qt::NoPen);
    p.drawPolygon(head);
}

double lineY(int i, int h) { return h - 9 - i * (h - 18.0) / (kLines - 1); }

// The origin (0,0): the start corner of every scan, lower left.
void drawOrigin(QPainter& p, int h) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 150, 60));
    p.drawEllipse(QPointF(8, lineY(0, h)), 3, 3);
}

}  // namespace

QPixmap scanPathOneWay(int w, int h) {
    QPixmap pm(w, h);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    drawFrame(p, w, h);
    const QColor stroke(20, 70, 200), ret(150, 150, 150);
    const double x0 = 8, x1 = w - 10;
    for (int i = 0; i < kLines; ++i) {
        const double y = lineY(i, h);
        p.setPen(QPen(stroke, 1.6));
        p.drawLine(QPointF(x0, y), QPointF(x1 - 4, y));
        arrowHead(p, QPointF(x1, y), QPointF(x0, y), stroke);
        if (i + 1 < kLines) {
            // X returns to the line start, then Y steps.
            const double yn = lineY(i + 1, h);
            p.setPen(QPen(ret, 1, Qt::DashLine));
            p.drawLine(QPointF(x1, y), QPointF(x0, yn));
        }
    }
    drawOrigin(p, h);
    return pm;
}

QPixmap scanPathBackAndForth(int w, int h) {
    QPixmap pm(w, h);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    drawFrame(p, w, h);
    const QColor stroke(200, 60, 20);
    const double x0 = 8, x1 = w - 10;
    for (int i = 0; i < kLines; ++i) {
        const double y = lineY(i, h);
        const bool forward = i % 2 == 0;
        const QPointF from(forward ? x0 : x1, y), to(forward ? x1 : x0, y);
        p.setPen(QPen(stroke, 1.6));
        p.drawLine(from, QPointF(to.x() + (forward ? -4 : 4), y));
        arrowHead(p, to, from, stroke);
        if (i + 1 < kLines) {
            // Y steps at the end of the line; the next line runs the other way.
            p.setPen(QPen(stroke, 1.6));
            p.drawLine(to, QPointF(to.x(), lineY(i + 1, h)));
        }
    }
    drawOrigin(p, h);
    return pm;
}

QPixmap pictureButtonPose(int size, bool speaking) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size / 48.0;
    p.scale(s, s);
    // Body and belly.
    p.setPen(QPen(QColor(30, 30, 40), 1));
    p.setBrush(QColor(35, 40, 60));
    p.drawEllipse(QRectF(12, 10, 24, 34));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(16, 20, 16, 22));
    // Head, eyes, beak.
    p.setBrush(QColor(35, 40, 60));
    p.drawEllipse(QRectF(14, 3, 20, 18));
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(18, 8, 5, 5));
    p.drawEllipse(QRectF(25, 8, 5, 5));
    p.setBrush(Qt::black);
    p.drawEllipse(QRectF(20, 10, 2, 2));
    p.drawEllipse(QRectF(27, 10, 2, 2));
    p.setBrush(QColor(245, 170, 20));
    QPolygonF beak;
    if (speaking)
        beak << QPointF(20, 15) << QPointF(28, 15) << QPointF(24, 21);
    else
        beak << QPointF(21, 14) << QPointF(27, 14) << QPointF(24, 17);
    p.drawPolygon(beak);
    // Feet.
    p.drawEllipse(QRectF(15, 42, 8, 4));
    p.drawEllipse(QRectF(25, 42, 8, 4));
    // Flippers: down when standing, one raised when speaking.
    p.setBrush(QColor(35, 40, 60));
    p.setPen(QPen(QColor(30, 30, 40), 1));
    p.drawEllipse(QRectF(8, 22, 6, 14));
    if (speaking) {
        p.save();
        p.translate(38, 20);
        p.rotate(-40);
        p.drawEllipse(QRectF(-3, -12, 6, 14));
        p.restore();
        // A speech mark.
        p.setPen(QPen(QColor(220, 40, 40), 2));
        p.drawArc(QRectF(36, 2, 8, 8), 30 * 16, 120 * 16);
        p.drawArc(QRectF(38, 0, 10, 12), 30 * 16, 120 * 16);
    } else {
        p.drawEllipse(QRectF(34, 22, 6, 14));
    }
    return pm;
}

}  // namespace qor
