// Whole-file writes: the content lands complete or not at all, failures say why, and a folder
// that allows no temporary file is written in place.

#include "app/SafeWrite.h"
#include "support/ReadOnlyPath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qor;
using qor::test::ReadOnlyPath;

namespace {

QByteArray contentOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QString write(const QString& path, const QByteArray& bytes) {
    return writeFileSafely(path, bytes).reason;
}

}  // namespace

TEST(SafeWriteOfFiles, ReplacesTheWholeContentKeepsPermissionsAndLeavesNoTemporaryFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sample.DAT"));
    EXPECT_EQ(QString(), write(path, QByteArray("a longer first content")));
    EXPECT_EQ(QByteArray("a longer first content"), contentOf(path));

    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    EXPECT_EQ(QString(), write(path, QByteArray("short")));
    EXPECT_EQ(QByteArray("short"), contentOf(path)) << "no tail of the old content";
    EXPECT_EQ(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup,
              QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser));
    EXPECT_EQ(QStringList{QStringLiteral("sample.DAT")},
              QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System));

    EXPECT_EQ(QString(), write(path, QByteArray()));
    EXPECT_EQ(QByteArray(), contentOf(path)) << "an empty content is a file of no bytes";
}

TEST(SafeWriteOfFiles, FailuresSayWhyAndLeaveTheTargetAsItWas) {
    QTemporaryDir dir;
    EXPECT_NE(QString(), write(dir.filePath(QStringLiteral("no/such/folder/x.DAT")), "x"));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("no/such/folder/x.DAT"))));

    const QString folder = dir.filePath(QStringLiteral("a folder.DAT"));
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_NE(QString(), write(folder, "x")) << "a folder of that name is not replaced";
    EXPECT_TRUE(QFileInfo(folder).isDir());

    const QString locked = dir.filePath(QStringLiteral("locked.ROI"));
    put(locked, "old table");
    {
        ReadOnlyPath guard(locked);
        if (!guard.active()) GTEST_SKIP() << "cannot make a file unwritable here";
        const QString why = write(locked, "new table");
        EXPECT_NE(QString(), why);
        EXPECT_EQ(QByteArray("old table"), contentOf(locked));
    }
}

TEST(SafeWriteOfFiles, AFolderThatAllowsNoTemporaryFileIsWrittenInPlace) {
    QTemporaryDir dir;
    const QString sub = dir.filePath(QStringLiteral("fixed"));
    ASSERT_TRUE(QDir().mkpath(sub));
    const QString path = QDir(sub).filePath(QStringLiteral("sample.CSV"));
    put(path, "old");
    ReadOnlyPath guard(sub);
    if (!guard.active()) GTEST_SKIP() << "cannot make a folder unwritable here";
    EXPECT_EQ(QString(), write(path, "new content"));
    EXPECT_EQ(QByteArray("new content"), contentOf(path));
}
