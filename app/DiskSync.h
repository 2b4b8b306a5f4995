#pragma once
// The one place where the program asks the operating system to put a file's written bytes on
// the disk (not only in its cache), so that a crash or a power cut after the call loses none of
// them. The information file, spectra, map files and the scan journal all go through it.

class QFileDevice;
class QString;

namespace qor {

// Flushes Qt's buffer, then the operating system's cache of the open file, to the disk.
// False when either fails (a full disk, a removed medium).
bool syncToDisk(QFileDevice& file);

// Puts the folder's entries (the names of the files in it) on the disk, so that a file just
// created there survives a power cut with its name. False when the system refuses.
bool syncFolderToDisk(const QString& folder);

}  // namespace qor
