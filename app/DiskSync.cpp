#include "app/DiskSync.h"

#include "app/Platform.h"

#include <QFile>
#include <QFileDevice>
#include <QString>

namespace qor {

bool syncToDisk(QFileDevice& file) {
    if (!file.flush()) return false;
    return platform::flushToDisk(file.handle());
}

bool syncFolderToDisk(const QString& folder) {
    return platform::flushFolderToDisk(
        QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder).constData());
}

}  // namespace qor
