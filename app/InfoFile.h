#pragma once
// The information file "QOR10MappingV010.inf": the record image, read at start, written at close.

#include "app/InfoRecord.h"

#include <QString>

namespace qor {

extern const char* const kInfoFileName;  // "QOR10MappingV010.inf"

// The directory text, then "/" unless it already ends with a separator, then the file name.
QString buildInfoFilePath(const QString& directory);

enum class InfoLoad { Loaded, Missing, Unreadable };

// Reads up to 16584 bytes over `r` (a short file leaves the rest of `r` as it was; extra bytes are
// ignored). No file: Missing. A file that exists but cannot be opened: `r` untouched, Unreadable.
InfoLoad loadInfoFile(const QString& path, InfoRecord& r);

// Writes all 16584 bytes, atomically: into a temporary file beside the target, then renamed over
// it, so a crash during the save never leaves a damaged file. Returns false on failure.
bool saveInfoFile(const QString& path, const InfoRecord& r);

}  // namespace qor
