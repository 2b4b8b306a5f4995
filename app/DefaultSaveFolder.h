#pragma once
// The save folder a new information file starts with. The record keeps the folder as Shift-JIS
// text in 256 bytes; a folder whose name has a character outside code page 932, or is too long,
// would be stored as a different name ("café" as "caf?") that does not exist, and the first map
// files would then fail to open. Such a folder is never stored.

#include <QString>

namespace qor {

struct SaveFolderChoice {
    QString folder;   // with a trailing "/", or empty when no folder can be stored
    QString status;   // what the status bar says at start; empty when the start folder is used
};

// True when `folder` exists and the record's SaveFolder field holds it exactly.
bool folderStorable(const QString& folder);

// The start folder if it can be stored exactly, else the home folder if it can, else nothing;
// each with a trailing separator.
SaveFolderChoice chooseDefaultSaveFolder(const QString& startDir, const QString& homeDir);

}  // namespace qor
