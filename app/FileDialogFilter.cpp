#include "app/FileDialogFilter.h"

#include <QStringList>

namespace qor {

namespace {

bool isPattern(const QString& s) {
    return s.contains(QLatin1Char('*')) || s.contains(QLatin1Char('?'));
}

QString qtEntry(const QString& description, const QString& masks) {
    QStringList kept;
    for (const QString& m : masks.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString t = m.trimmed();
        if (t.isEmpty() || t.contains(QLatin1Char('(')) || t.contains(QLatin1Char(')'))) continue;
        kept << t;
    }
    if (kept.isEmpty()) return QString();
    return description + QStringLiteral(" (") + kept.join(QLatin1Char(' ')) + QLatin1Char(')');
}

}  // namespace

QString toQtFileFilter(const QString& filter) {
    if (!filter.contains(QLatin1Char('|'))) return filter;
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString masks = i + 1 < parts.size()
                                  ? parts[i + 1]
                                  : (isPattern(description) ? description : QString());
        const QString entry = qtEntry(description, masks);
        if (!entry.isEmpty()) entries << entry;
    }
    return entries.join(QStringLiteral(";;"));
}

QString qtFilterEntryFor(const QString& qtFilter, const QString& pattern) {
    for (const QString& entry : qtFilter.split(QStringLiteral(";;"), Qt::SkipEmptyParts)) {
        const qsizetype open = entry.lastIndexOf(QLatin1Char('('));
        const qsizetype close = entry.lastIndexOf(QLatin1Char(')'));
        if (open < 0 || close < open) continue;
        const QStringList masks =
            entry.mid(open + 1, close - open - 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (masks.contains(pattern, Qt::CaseInsensitive)) return entry;
    }
    return QString();
}

}  // namespace qor
