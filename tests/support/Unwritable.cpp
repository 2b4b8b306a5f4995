#include "support/Unwritable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace qor::test {

namespace {

bool setImmutable(const QString& path, bool on) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

}  // namespace

Unwritable::Unwritable(const QString& path) : path_(path) {
    QFile::setPermissions(path_, QFileInfo(path_).isDir()
                                     ? QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                           QFile::ExeGroup
                                     : QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    if (!refusesWriting()) immutable_ = setImmutable(path_, true);
    ok_ = refusesWriting();
}

Unwritable::~Unwritable() {
    if (immutable_) setImmutable(path_, false);
    QFileDevice::Permissions p = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                 QFile::ReadOther;
    if (QFileInfo(path_).isDir()) p |= QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    QFile::setPermissions(path_, p);
}

bool Unwritable::refusesWriting() const {
    if (QFileInfo(path_).isDir()) {
        const QString probe = QDir(path_).filePath(QStringLiteral(".probe"));
        QFile f(probe);
        if (!f.open(QIODevice::WriteOnly)) return true;
        f.close();
        QFile::remove(probe);
        return false;
    }
    QFile f(path_);
    return !f.open(QIODevice::WriteOnly | QIODevice::Append);
}

}  // namespace qor::test
