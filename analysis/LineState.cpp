#include "analysis/LineState.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

namespace qor {

namespace {

QImage textImage(const QString& text, QRgb colour) {
    QFont font;
    QFontMetrics fm(font);
    QImage img(fm.horizontalAdvance(text) + 2, fm.height(), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setFont(font);
    p.setPen(QColor(colour));
    p.drawText(1, fm.ascent(), text);
    return img;
}

}  // namespace

void clearMarks(LineState& st) {
    st.marked.clear();
    st.markers.clear();
}

void setMarkedSources(LineState& st, TableKind table, const std::vector<int>& sources) {
    clearMarks(st);
    st.table = table;
    const LineTable& t = LineTable::of(table);
    for (int s : sources) {
        if (s < 0 || s >= static_cast<int>(t.sources().size())) continue;
        if (static_cast<int>(st.marked.size()) >= kMaxMarkedSources) break;
        st.marked.push_back(s);
        for (const SpectralLine& l : t.linesOf(s)) {
            if (l.relative < kMarkerMinRelative || l.energyKeV < kMarkerMinKeV) continue;
            MarkerLine m;
            m.energyKeV = l.energyKeV;
            m.relative = l.relative;
            if (l.relative >= kMarkerLabelRelative)
                m.label = textImage(QString::fromStdString(l.label), qRgb(160, 0, 160));
            st.markers.push_back(std::move(m));
        }
    }
    if (st.needCalibration.isNull())
        st.needCalibration =
            textImage(QStringLiteral("Line markers need an energy calibration (keV)"), qRgb(160, 0, 160));
}

}  // namespace qor
