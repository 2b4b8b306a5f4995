#include "spectrum/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace qor {

namespace {

QString reason(const QFileDevice& f) {
    const QString why = f.errorString();
    return why.isEmpty() ? QStringLiteral("書き込みに失敗しました") : why;
}

// The target written over in place: only where the folder allows no temporary file beside it.
QString writeInPlace(const QString& path, const char* data, qint64 size) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return reason(f);
    if ((size > 0 && f.write(data, size) != size) || !f.flush()) return reason(f);
    f.close();
    if (f.error() != QFileDevice::NoError) return reason(f);
    return QString();
}

}  // namespace

QString writeFileAtomically(const QString& path, const char* data, std::size_t size) {
    const QFileInfo info(path);
    const bool exists = info.exists();
    if (exists) {
        // Renaming over a file needs only the folder's permission; a file the operator may not
        // write (read-only, a folder) stays as it is.
        if (!info.isFile()) return QStringLiteral("通常のファイルではありません");
        QFile existing(path);
        if (!existing.open(QIODevice::WriteOnly | QIODevice::Append)) return reason(existing);
    }
    const qint64 want = static_cast<qint64>(size);
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (exists) return writeInPlace(path, data, want);
        return reason(f);
    }
    if (want > 0 && f.write(data, want) != want) {
        const QString why = reason(f);
        f.cancelWriting();
        return why;
    }
    if (!f.commit()) return reason(f);
    return QString();
}

}  // namespace qor
