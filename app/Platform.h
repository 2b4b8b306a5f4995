#pragma once
// The program's one unit of operating-system calls that Qt does not wrap, with a branch per
// platform (POSIX and Windows). Plain C++ without Qt, so that the Windows branch is compiled by
// the MinGW-w64 cross compilers on every CI run (scripts/cross-windows) and cannot rot.
//
// The rest of the program reaches the system only through Qt and this unit. (Replacing a file
// by its freshly written temporary copy is QSaveFile's rename: rename() here, MoveFileEx with
// MOVEFILE_REPLACE_EXISTING on Windows, both inside Qt.)

namespace qor::platform {

// Puts the written bytes of the open file behind the C run-time descriptor `fd` on the disk:
// fsync, or FlushFileBuffers on the descriptor's handle. False when the system refuses.
bool flushToDisk(int fd);

// Puts the directory entries of `folder` (a path in the system's 8-bit encoding) on the disk, so
// that a file just created there is found after a power cut: the folder opened read-only and
// fsync'ed. Windows keeps a folder's entries with the file's own flush: nothing to do, true.
bool flushFolderToDisk(const char* folder);

}  // namespace qor::platform
