#include "app/InfoFile.h"

#include <QFile>

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

WriteOutcome saveInfoFile(const QString& path, const InfoRecord& r) {
    return writeFileSafely(path, reinterpret_cast<const char*>(&r),
                           static_cast<qint64>(kInfoRecordSize));
}

QString infoSaveFailureText(const WriteOutcome& w) {
    return QStringLiteral("情報ファイルを保存できません: ") + w.error;
}

}  // namespace qor
