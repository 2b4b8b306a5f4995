#include "spectrum/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace qor {

QString writeFileAtomically(const QString& path, const char* data, std::size_t size) {
    const QFileInfo info(path);
    if (info.exists()) {
        // Renaming over a file needs only the folder's permission; a file the operator may not
        // write (read-only, a folder) stays as it is.
        if (!info.isFile()) return QStringLiteral("通常のファイルではありません");
        QFile existing(path);
        if (!existing.open(QIODevice::WriteOnly | QIODevice::Append))
            return existing.errorString();
    }
    QSaveFile f(path);
    f.setDirectWriteFallback(true);
    if (!f.open(QIODevice::WriteOnly)) return f.errorString();
    const qint64 want = static_cast<qint64>(size);
    if (want > 0 && f.write(data, want) != want) {
        const QString why = f.errorString();
        f.cancelWriting();
        return why;
    }
    if (!f.commit()) return f.errorString();
    return QString();
}

}  // namespace qor
