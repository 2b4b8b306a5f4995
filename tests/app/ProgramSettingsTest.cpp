#include "app/ProgramSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qor;

// What one program writes, the next reads back; keys it does not know survive its save, and the
// file never breaks a value across lines whatever line ends it was written with.
TEST(ProgramSettings, RoundTripKeepsUnknownKeysAndReadsAnyLineEnd) {
    QTemporaryDir dir;
    const QString info = QDir(dir.path()).filePath(QStringLiteral("QOR10MappingV010.inf"));
    const QString path = ProgramSettings::pathBeside(info);
    EXPECT_EQ(QDir(dir.path()).filePath(QStringLiteral("QOR10Settings.ini")), path);

    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("later.feature = 7\r# a comment=1\rpeak.search=fit\r\nbroken line\n");
    f.close();

    ProgramSettings s;
    ASSERT_TRUE(s.load(path));
    EXPECT_EQ(QStringLiteral("fit"), s.value(QStringLiteral("peak.search")));
    EXPECT_EQ(7, s.intValue(QStringLiteral("later.feature"), 0));
    EXPECT_EQ(3, s.intValue(QStringLiteral("absent"), 3));
    s.setValue(QStringLiteral("map.autoPicture"), true);
    s.setValue(QStringLiteral("text"), QStringLiteral("two\nlines"));
    ASSERT_TRUE(s.save(path));

    ProgramSettings again;
    ASSERT_TRUE(again.load(path));
    EXPECT_EQ(7, again.intValue(QStringLiteral("later.feature"), 0));
    EXPECT_TRUE(again.boolValue(QStringLiteral("map.autoPicture"), false));
    EXPECT_EQ(QStringLiteral("two lines"), again.value(QStringLiteral("text")));
    EXPECT_EQ(QStringLiteral("fit"), again.value(QStringLiteral("peak.search")));
    EXPECT_TRUE(again.value(QStringLiteral("# a comment")).isEmpty());
}

TEST(ProgramSettings, MissingFileIsDefaultsAndAFolderInItsPlaceIsAnError) {
    QTemporaryDir dir;
    ProgramSettings s;
    EXPECT_TRUE(s.load(QDir(dir.path()).filePath(QStringLiteral("none.ini"))));
    EXPECT_FALSE(s.boolValue(QStringLiteral("x"), false));
    QString why;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.ini")));
    EXPECT_FALSE(s.load(QDir(dir.path()).filePath(QStringLiteral("folder.ini")), &why));
    EXPECT_TRUE(why.contains(QStringLiteral("folder.ini")));
}
