#include "app/ReadFile.h"

#include <QFile>
#include <QFileInfo>

namespace qor {

bool readFileWhole(const QString& path, qint64 limit, QByteArray& bytes, QString& reason) {
    const QFileInfo info(path);
    if (!info.exists()) {
        // A link to nothing exists as a name but not as a file.
        reason = info.isSymLink() ? QStringLiteral("リンク先のファイルがありません")
                                  : QStringLiteral("そのファイルはありません");
        return false;
    }
    if (info.isDir()) {
        reason = QStringLiteral("フォルダです。ファイルを選んでください");
        return false;
    }
    if (!info.isFile()) {
        // Devices, pipes and sockets are not read: a read could wait forever or never end.
        reason = QStringLiteral("通常のファイルではありません (デバイスなど)");
        return false;
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        reason = f.error() == QFileDevice::PermissionsError
                     ? QStringLiteral("読み取りの権限がありません")
                     : f.errorString();
        return false;
    }
    bytes = f.read(limit);
    if (f.error() != QFileDevice::NoError) {
        reason = f.errorString();
        return false;
    }
    return true;
}

}  // namespace qor
