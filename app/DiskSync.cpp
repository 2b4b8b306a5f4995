#include "app/DiskSync.h"

#include "app/Platform.h"

#include <QFileDevice>

namespace qor {

bool syncToDisk(QFileDevice& file) {
    if (!file.flush()) return false;
    return platform::flushToDisk(file.handle());
}

}  // namespace qor
