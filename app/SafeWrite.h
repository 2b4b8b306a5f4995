#pragma once
// The one rule by which the program writes a file (the information file, spectra, ROI files, map
// files): atomically where the folder allows a temporary file beside the target (written, synced,
// then renamed over it, so a crash or a full disk never leaves a damaged file), else in place (a
// read-only folder whose file is writable); a write that fails says why, naming the file.
//
// An existing file that may not be written is never replaced, even where the folder would allow
// the rename. A write that fails once the temporary file exists leaves the old file as it was.

#include <QByteArray>
#include <QString>

namespace qor {

enum class WriteMode { Atomic, InPlace, Failed };

struct WriteOutcome {
    WriteMode mode = WriteMode::Failed;
    QString error;   // empty on success; else "<path>: <reason>"
    QString reason;  // the reason alone

    bool ok() const { return mode != WriteMode::Failed; }
    explicit operator bool() const { return ok(); }
};

WriteOutcome writeFileSafely(const QString& path, const char* data, qint64 size);
inline WriteOutcome writeFileSafely(const QString& path, const QByteArray& bytes) {
    return writeFileSafely(path, bytes.constData(), bytes.size());
}

}  // namespace qor
