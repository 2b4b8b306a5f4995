#include "app/InfoFile.h"

#include <QFile>
#include <QSaveFile>

namespace qor {

const char* const kInfoFileName = "QOR10MappingV010.inf";

QString buildInfoFilePath(const QString& directory) {
    QString path = directory;
    if (!path.endsWith(QLatin1Char('/')) && !path.endsWith(QLatin1Char('\\')))
        path += QLatin1Char('/');
    return path + QLatin1String(kInfoFileName);
}

InfoLoad loadInfoFile(const QString& path, InfoRecord& r) {
    QFile f(path);
    if (!f.exists()) return InfoLoad::Missing;
    if (!f.open(QIODevice::ReadOnly)) return InfoLoad::Unreadable;
    char* dst = reinterpret_cast<char*>(&r);
    qint64 got = 0;
    while (got < static_cast<qint64>(kInfoRecordSize)) {
        const qint64 n = f.read(dst + got, static_cast<qint64>(kInfoRecordSize) - got);
        if (n <= 0) break;
        got += n;
    }
    return InfoLoad::Loaded;
}

bool saveInfoFile(const QString& path, const InfoRecord& r) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    const char* src = reinterpret_cast<const char*>(&r);
    if (f.write(src, static_cast<qint64>(kInfoRecordSize)) != static_cast<qint64>(kInfoRecordSize)) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

}  // namespace qor
