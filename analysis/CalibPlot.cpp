#include "analysis/CalibPlot.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace qor {

namespace {

double unitToEv(const QString& unit) {
    const QString u = unit.trimmed();
    if (u.compare(QLatin1String("eV"), Qt::CaseInsensitive) == 0) return 1.0;
    if (u.compare(QLatin1String("MeV"), Qt::CaseInsensitive) == 0) return 1.0e6;
    return 1.0e3;
}

double poly(const double c[4], double x) { return c[0] + x * (c[1] + x * (c[2] + x * c[3])); }

}  // namespace

double calibResidualEv(double x, double y, const double coef[4], const QString& unit) {
    return (y - poly(coef, x)) * unitToEv(unit);
}

void drawCalibPlot(QImage& img, const double* x, const double* y, int n, const double coef[4],
                   const QString& unit) {
    img.fill(Qt::white);
    QPainter p(&img);
    p.setPen(QPen(Qt::black, 0));
    const int S = std::min(img.width(), img.height());
    p.drawRect(0, 0, img.width() - 1, img.height() - 1);
    if (n <= 0) return;
    // Upper panel: points and curve; lower panel: residuals.
    const QRect top(24, 8, S - 32, S * 60 / 100);
    const QRect bottom(24, top.bottom() + 22, S - 32, S - top.bottom() - 30);
    double x0 = x[0], x1 = x[0], y0 = y[0], y1 = y[0], r = 0.0;
    for (int i = 0; i < n; ++i) {
        x0 = std::min(x0, x[i]);
        x1 = std::max(x1, x[i]);
        y0 = std::min(y0, y[i]);
        y1 = std::max(y1, y[i]);
        r = std::max(r, std::fabs(calibResidualEv(x[i], y[i], coef, unit)));
    }
    const double dx = x1 > x0 ? x1 - x0 : 1.0, dy = y1 > y0 ? y1 - y0 : 1.0;
    x0 -= 0.05 * dx;
    x1 += 0.05 * dx;
    y0 -= 0.05 * dy;
    y1 += 0.05 * dy;
    auto px = [&](double v) { return top.left() + (v - x0) / (x1 - x0) * top.width(); };
    auto py = [&](double v) { return top.bottom() - (v - y0) / (y1 - y0) * top.height(); };
    p.setPen(QPen(QColor(128, 128, 0), 0));
    p.drawRect(top);
    p.drawRect(bottom);
    p.setPen(QPen(Qt::blue, 0));
    QPointF prev;
    for (int k = 0; k <= 64; ++k) {
        const double xv = x0 + (x1 - x0) * k / 64.0;
        const QPointF pt(px(xv), std::clamp(py(poly(coef, xv)), double(top.top()), double(top.bottom())));
        if (k) p.drawLine(prev, pt);
        prev = pt;
    }
    p.setPen(QPen(Qt::red, 0));
    p.setBrush(Qt::red);
    for (int i = 0; i < n; ++i) p.drawEllipse(QPointF(px(x[i]), py(y[i])), 2.5, 2.5);
    // Residuals: bars from the middle line, the largest reaching the panel's edge.
    const double mid = bottom.center().y();
    p.setPen(QPen(QColor(128, 128, 0), 0));
    p.drawLine(QPointF(bottom.left(), mid), QPointF(bottom.right(), mid));
    p.setPen(QPen(Qt::red, 0));
    const double scale = r > 0.0 ? (bottom.height() / 2.0 - 2.0) / r : 0.0;
    for (int i = 0; i < n; ++i) {
        const double v = calibResidualEv(x[i], y[i], coef, unit);
        p.drawLine(QPointF(px(x[i]), mid), QPointF(px(x[i]), mid - v * scale));
        p.drawEllipse(QPointF(px(x[i]), mid - v * scale), 1.5, 1.5);
    }
    p.setPen(Qt::black);
    QFont f = p.font();
    f.setPixelSize(10);
    p.setFont(f);
    p.drawText(QPointF(top.left(), top.bottom() + 14), QStringLiteral("residual ±%1 eV").arg(r, 0, 'f', 1));
}

}  // namespace qor
