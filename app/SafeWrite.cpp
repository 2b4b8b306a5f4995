#include "app/SafeWrite.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "app/DiskSync.h"

namespace qor {

namespace {

WriteOutcome failed(const QString& path, const QString& reason) {
    return {WriteMode::Failed, path + QStringLiteral(": ") + reason, reason};
}

// Whether an existing file may be written, asked of the file itself (an open for writing that
// neither truncates nor writes), so the answer is the one the operating system gives the
// program.
bool existingFileWritable(const QString& path, QString& reason) {
    QFile probe(path);
    if (probe.open(QIODevice::WriteOnly | QIODevice::Append)) return true;
    reason = probe.errorString();
    return false;
}

WriteOutcome writeInPlace(const QString& path, const char* data, qint64 size) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return failed(path, f.errorString());
    if (f.write(data, size) != size) return failed(path, f.errorString());
    if (!syncToDisk(f)) return failed(path, QStringLiteral("the data did not reach the disk"));
    return {WriteMode::InPlace, QString(), QString()};
}

}  // namespace

WriteOutcome writeFileSafely(const QString& path, const char* data, qint64 size) {
    const QFileInfo target(path);
    if (target.isDir()) return failed(path, QStringLiteral("a folder of that name exists"));
    QString reason;
    if (target.exists() && !existingFileWritable(path, reason)) return failed(path, reason);

    QSaveFile f(path);
    f.setDirectWriteFallback(false);
    if (!f.open(QIODevice::WriteOnly)) {
        // No temporary file can be made beside the target: write the file itself.
        return writeInPlace(path, data, size);
    }
    if (f.write(data, size) != size) {
        reason = f.errorString();
        f.cancelWriting();
        return failed(path, reason);
    }
    // The rename happens only after every byte is written and synced; on failure the temporary
    // file is removed and the old file stays. No in-place retry: it could lose the old file too.
    if (!f.commit()) return failed(path, f.errorString());
    return {WriteMode::Atomic, QString(), QString()};
}

}  // namespace qor
