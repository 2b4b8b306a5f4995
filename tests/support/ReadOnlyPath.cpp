#include "support/ReadOnlyPath.h"

#include <QFile>
#include <QFileInfo>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace qor::test {

namespace {

bool capabilities(__user_cap_data_struct (&data)[2]) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return syscall(SYS_capget, &header, data) == 0;
}

bool setCapabilities(__user_cap_data_struct (&data)[2]) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return syscall(SYS_capset, &header, data) == 0;
}

constexpr uint32_t kOverrideBits = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

}  // namespace

ReadOnlyPath::ReadOnlyPath(const QString& path) : path_(path) {
    saved_ = QFile::permissions(path_);
    const bool isDir = QFileInfo(path_).isDir();
    QFileDevice::Permissions ro = QFileDevice::ReadOwner | QFileDevice::ReadUser |
                                  QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (isDir)
        ro |= QFileDevice::ExeOwner | QFileDevice::ExeUser | QFileDevice::ExeGroup |
              QFileDevice::ExeOther;
    if (!QFile::setPermissions(path_, ro)) return;
    if (::geteuid() == 0) {
        __user_cap_data_struct data[2] = {};
        if (!capabilities(data)) return;
        savedEffective_[0] = data[0].effective;
        savedEffective_[1] = data[1].effective;
        data[0].effective &= ~kOverrideBits;
        if (!setCapabilities(data)) return;
        capsDropped_ = true;
    }
    active_ = true;
}

ReadOnlyPath::~ReadOnlyPath() {
    if (capsDropped_) {
        __user_cap_data_struct data[2] = {};
        if (capabilities(data)) {
            data[0].effective = savedEffective_[0];
            data[1].effective = savedEffective_[1];
            setCapabilities(data);
        }
    }
    QFile::setPermissions(path_, saved_);
}

}  // namespace qor::test
