#pragma once
// The one rule by which the program reads a file the operator chose (spectra, ROI files): the
// whole file, up to a limit, or a reason that says what is wrong with the path.

#include <QByteArray>
#include <QString>

namespace qor {

// Reads up to `limit` bytes of the regular file `path` into `bytes`. False when it cannot:
// `reason` then says why in the operator's words (no such file, a folder, not a regular file
// such as a device, no permission to read, or the system's text for anything else).
bool readFileWhole(const QString& path, qint64 limit, QByteArray& bytes, QString& reason);

}  // namespace qor
