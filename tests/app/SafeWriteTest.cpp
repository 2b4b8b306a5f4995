#include "app/SafeWrite.h"
#include "support/ReadOnlyPath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace qor;
using qor::test::ReadOnlyPath;

namespace {

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

struct stat statOf(const QString& path) {
    struct stat s {};
    ::stat(QFile::encodeName(path).constData(), &s);
    return s;
}
ino_t inode(const QString& path) { return statOf(path).st_ino; }

}  // namespace

TEST(SafeWrite, WritableFolderReplacesTheFileThroughATemporaryFile) {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("a.dat"));
    WriteOutcome w = writeFileSafely(path, QByteArray("first"));
    ASSERT_TRUE(w) << w.error.toStdString();
    EXPECT_EQ(WriteMode::Atomic, w.mode);
    EXPECT_TRUE(w.error.isEmpty());
    ASSERT_EQ(0, ::chmod(QFile::encodeName(path).constData(), 0640));
    const ino_t before = inode(path);

    w = writeFileSafely(path, QByteArray("second, longer"));
    ASSERT_TRUE(w);
    EXPECT_EQ(WriteMode::Atomic, w.mode);
    EXPECT_EQ(QByteArray("second, longer"), contents(path));
    EXPECT_NE(before, inode(path)) << "a new file renamed over the old one";
    EXPECT_EQ(0640u, statOf(path).st_mode & 0777u) << "the old file's permissions are kept";
    EXPECT_EQ(QStringList{QStringLiteral("a.dat")}, QDir(dir.path()).entryList(QDir::Files))
        << "no temporary file is left behind";
}

TEST(SafeWrite, ReadOnlyFolderWritesTheWritableFileInPlace) {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("b.inf"));
    ASSERT_TRUE(writeFileSafely(path, QByteArray("old settings, long text")));
    const ino_t before = inode(path);
    ReadOnlyPath folder(dir.path());
    if (!folder.active()) GTEST_SKIP() << "permissions cannot be enforced here";

    const WriteOutcome w = writeFileSafely(path, QByteArray("new"));
    ASSERT_TRUE(w) << w.error.toStdString();
    EXPECT_EQ(WriteMode::InPlace, w.mode);
    EXPECT_EQ(QByteArray("new"), contents(path)) << "truncated to the new length";
    EXPECT_EQ(before, inode(path));
    EXPECT_EQ(QStringList{QStringLiteral("b.inf")}, QDir(dir.path()).entryList(QDir::Files));
}

TEST(SafeWrite, FailuresNameTheFileAndChangeNothing) {
    QTemporaryDir dir;
    const QString kept = QDir(dir.path()).filePath(QStringLiteral("kept.roi"));
    ASSERT_TRUE(writeFileSafely(kept, QByteArray("keep me")));
    const QString sub = QDir(dir.path()).filePath(QStringLiteral("sub"));
    ASSERT_TRUE(QDir().mkdir(sub));

    // A folder where the file should be.
    WriteOutcome w = writeFileSafely(sub, QByteArray("x"));
    EXPECT_FALSE(w);
    EXPECT_EQ(WriteMode::Failed, w.mode);
    EXPECT_TRUE(w.error.startsWith(sub + QStringLiteral(": "))) << w.error.toStdString();

    // A missing folder.
    const QString nowhere = dir.path() + QStringLiteral("/missing/x.csv");
    w = writeFileSafely(nowhere, QByteArray("x"));
    EXPECT_FALSE(w);
    EXPECT_TRUE(w.error.startsWith(nowhere + QStringLiteral(": ")));
    EXPECT_GT(w.error.size(), nowhere.size() + 2) << "a reason follows the name";

    {
        // A file the program may not write is not replaced, though its folder allows a rename.
        ReadOnlyPath file(kept);
        if (!file.active()) GTEST_SKIP() << "permissions cannot be enforced here";
        w = writeFileSafely(kept, QByteArray("overwritten"));
        EXPECT_FALSE(w);
        EXPECT_TRUE(w.error.startsWith(kept + QStringLiteral(": ")));
    }
    EXPECT_EQ(QByteArray("keep me"), contents(kept));

    // A read-only folder without the file: nothing can be created.
    const QString fresh = QDir(sub).filePath(QStringLiteral("new.dat"));
    {
        ReadOnlyPath folder(sub);
        w = writeFileSafely(fresh, QByteArray("x"));
    }
    EXPECT_FALSE(w);
    EXPECT_TRUE(w.error.startsWith(fresh + QStringLiteral(": ")));
    EXPECT_FALSE(QFile::exists(fresh));
    EXPECT_TRUE(QDir(sub).entryList(QDir::Files | QDir::Hidden).isEmpty());
}
