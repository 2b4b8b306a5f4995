#include "app/DiskSync.h"

#include <QFileDevice>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace qor {

bool syncToDisk(QFileDevice& file) {
    if (!file.flush()) return false;
    const int fd = file.handle();
    if (fd < 0) return false;
#ifdef _WIN32
    const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    return h != INVALID_HANDLE_VALUE && FlushFileBuffers(h) != 0;
#else
    return ::fsync(fd) == 0;
#endif
}

}  // namespace qor
