#include "app/CueFiles.h"

#include <QDir>
#include <QFileInfo>

namespace qor {

const char* const kBundledCueFolder = ":/cues";

QUrl cueSource(const QString& startDir, const QString& fileName) {
    if (fileName.isEmpty() || fileName.contains(QLatin1Char('/'))) return QUrl();
    const QDir dir(startDir);
    const QString exact = dir.filePath(fileName);
    if (QFileInfo(exact).isFile()) return QUrl::fromLocalFile(exact);
    // Name filters match without regard to case; the name holds no wildcard characters.
    if (!fileName.contains(QLatin1Char('*')) && !fileName.contains(QLatin1Char('?')) &&
        !fileName.contains(QLatin1Char('['))) {
        const QStringList found = dir.entryList({fileName}, QDir::Files | QDir::Readable);
        if (!found.isEmpty()) return QUrl::fromLocalFile(dir.filePath(found.first()));
    }
    const QString bundled = QLatin1String(kBundledCueFolder) + QLatin1Char('/') + fileName;
    if (QFileInfo(bundled).isFile()) return QUrl(QStringLiteral("qrc") + bundled);
    return QUrl();
}

}  // namespace qor
