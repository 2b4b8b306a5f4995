#include "app/ProgramSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace qor {

const char* const kSettingsFileName = "QOR10Settings.ini";

QString ProgramSettings::pathBeside(const QString& infoFilePath) {
    return QFileInfo(infoFilePath).dir().filePath(QString::fromLatin1(kSettingsFileName));
}

void ProgramSettings::parse(const QByteArray& text) {
    // A line ends at CR, LF or CR LF; keys and values are trimmed of surrounding blanks.
    const QString all = QString::fromUtf8(text);
    int start = 0;
    const int n = all.size();
    while (start < n) {
        int end = start;
        while (end < n && all[end] != QLatin1Char('\n') && all[end] != QLatin1Char('\r')) ++end;
        const QString line = all.mid(start, end - start);
        if (end < n && all[end] == QLatin1Char('\r') && end + 1 < n && all[end + 1] == QLatin1Char('\n'))
            ++end;
        start = end + 1;
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || line.startsWith(QLatin1Char('#'))) continue;
        const QString key = line.left(eq).trimmed();
        if (!key.isEmpty()) values_.insert(key, line.mid(eq + 1).trimmed());
    }
}

bool ProgramSettings::load(const QString& path, QString* error) {
    QFile f(path);
    if (!f.exists()) return true;
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = path + QStringLiteral(": ") + f.errorString();
        return false;
    }
    parse(f.readAll());
    return true;
}

QByteArray ProgramSettings::serialise() const {
    QByteArray out;
    for (auto it = values_.cbegin(); it != values_.cend(); ++it) {
        out += it.key().toUtf8();
        out += '=';
        out += it.value().toUtf8();
        out += '\n';
    }
    return out;
}

WriteOutcome ProgramSettings::save(const QString& path) const { return writeFileSafely(path, serialise()); }

QString ProgramSettings::value(const QString& key, const QString& fallback) const {
    return values_.value(key, fallback);
}

int ProgramSettings::intValue(const QString& key, int fallback) const {
    bool ok = false;
    const int v = values_.value(key).toInt(&ok);
    return ok ? v : fallback;
}

bool ProgramSettings::boolValue(const QString& key, bool fallback) const {
    const QString v = values_.value(key);
    if (v == QLatin1String("1") || v == QLatin1String("true")) return true;
    if (v == QLatin1String("0") || v == QLatin1String("false")) return false;
    return fallback;
}

void ProgramSettings::setValue(const QString& key, const QString& value) {
    // A value never spans lines.
    QString v = value;
    v.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    values_.insert(key, v.trimmed());
}
void ProgramSettings::setValue(const QString& key, int value) { values_.insert(key, QString::number(value)); }
void ProgramSettings::setValue(const QString& key, bool value) {
    values_.insert(key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

}  // namespace qor
