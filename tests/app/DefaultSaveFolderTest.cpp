#include "app/DefaultSaveFolder.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qor;

TEST(DefaultSaveFolder, OnlyAnExistingFolderTheRecordHoldsExactly) {
    QTemporaryDir dir;
    const QString base = dir.path() + QLatin1Char('/');
    EXPECT_TRUE(folderStorable(base));
    EXPECT_FALSE(folderStorable(base + QStringLiteral("absent/")));
    ASSERT_TRUE(QDir().mkdir(base + QStringLiteral("情報")));
    EXPECT_TRUE(folderStorable(base + QStringLiteral("情報/")));
    ASSERT_TRUE(QDir().mkdir(base + QString::fromUtf8("café")));
    EXPECT_FALSE(folderStorable(base + QString::fromUtf8("café/")));
    // A name the 256-byte field cannot hold with its terminator is not stored cut short.
    QString fits = base, deep = base;
    while (deep.toUtf8().size() < 256) {
        fits = deep;
        deep += QStringLiteral("d123456789/");
    }
    ASSERT_TRUE(QDir().mkpath(deep));
    EXPECT_FALSE(folderStorable(deep));
    EXPECT_TRUE(folderStorable(fits)) << "255 bytes fit with the terminator";

    const SaveFolderChoice c = chooseDefaultSaveFolder(dir.path(), base + QStringLiteral("情報"));
    EXPECT_EQ(base, c.folder) << "the separator is added once";
    EXPECT_TRUE(c.status.isEmpty());
}
