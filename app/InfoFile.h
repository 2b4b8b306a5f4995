#pragma once
// The information file "QOR10MappingV010.inf": the record image, read at start, written at close.

#include "app/InfoRecord.h"
#include "app/SafeWrite.h"

#include <QString>

namespace qor {

extern const char* const kInfoFileName;  // "QOR10MappingV010.inf"

// The directory text, then "/" unless it already ends with a separator, then the file name.
QString buildInfoFilePath(const QString& directory);

enum class InfoLoad { Loaded, Missing, Unreadable };

// Reads up to 16584 bytes over `r` (a short file leaves the rest of `r` as it was; extra bytes are
// ignored). No file: Missing. A file that exists but cannot be opened: `r` untouched, Unreadable.
InfoLoad loadInfoFile(const QString& path, InfoRecord& r);

// Writes all 16584 bytes by the program's file-writing rule: atomically (a temporary file beside
// the target, renamed over it) where the folder allows, else in place (a read-only start folder
// whose information file is writable). A failed save says why, naming the file.
WriteOutcome saveInfoFile(const QString& path, const InfoRecord& r);

// The text shown when the information file could not be written: the file and the reason.
QString infoSaveFailureText(const WriteOutcome& w);

}  // namespace qor
