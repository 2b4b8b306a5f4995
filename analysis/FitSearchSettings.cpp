#include "analysis/FitSearchSettings.h"

#include <cmath>

namespace qor {

namespace {
const QString kSearch = QStringLiteral("peak.search");
const QString kWidth = QStringLiteral("peak.fit.width");
const QString kA = QStringLiteral("peak.fit.a");
const QString kB = QStringLiteral("peak.fit.b");
}  // namespace

FitSearchSettings FitSearchSettings::read(const ProgramSettings& settings) {
    FitSearchSettings f;
    f.fit = settings.value(kSearch) == QLatin1String("fit");
    f.freeWidth = settings.value(kWidth) == QLatin1String("free");
    bool okA = false, okB = false;
    const double a = settings.value(kA).toDouble(&okA);
    const double b = settings.value(kB).toDouble(&okB);
    if (okA && okB && std::isfinite(a + b) && (a > 0 || b > 0)) {
        f.curveGiven = true;
        f.a = a;
        f.b = b;
    }
    return f;
}

void FitSearchSettings::write(ProgramSettings& settings) const {
    settings.setValue(kSearch, fit ? QStringLiteral("fit") : QStringLiteral("standard"));
    settings.setValue(kWidth, freeWidth ? QStringLiteral("free") : QStringLiteral("tied"));
    settings.setValue(kA, curveGiven ? QString::number(a, 'g', 10) : QString());
    settings.setValue(kB, curveGiven ? QString::number(b, 'g', 10) : QString());
}

}  // namespace qor
