#pragma once
// A folder (or file) made read-only for the length of a test, with the permission bits biting
// even when the tests run as the superuser: the thread's override of file permissions is
// dropped meanwhile. Everything is restored when the object goes.

#include <QFileDevice>
#include <QString>
#include <cstdint>

namespace qor::test {

class ReadOnlyPath {
public:
    explicit ReadOnlyPath(const QString& path);
    ~ReadOnlyPath();
    ReadOnlyPath(const ReadOnlyPath&) = delete;
    ReadOnlyPath& operator=(const ReadOnlyPath&) = delete;

    // False when the permissions could not be made to bite (the test should then skip).
    bool active() const { return active_; }

private:
    QString path_;
    QFileDevice::Permissions saved_;
    bool capsDropped_ = false;
    uint32_t savedEffective_[2] = {0, 0};
    bool active_ = false;
};

}  // namespace qor::test
