#pragma once
// Makes a file or a folder unwritable for as long as the object lives, for tests of files the
// program may read but not write: its write permissions are removed and, where that is not
// enough (the tests run as root), the file system's immutable flag is set. `ok()` says whether
// writing is really refused; a test that needs it skips otherwise.

#include <QString>

namespace qor::test {

class Unwritable {
public:
    explicit Unwritable(const QString& path);
    ~Unwritable();
    Unwritable(const Unwritable&) = delete;
    Unwritable& operator=(const Unwritable&) = delete;
    bool ok() const { return ok_; }

private:
    bool refusesWriting() const;
    QString path_;
    bool immutable_ = false;
    bool ok_ = false;
};

}  // namespace qor::test
