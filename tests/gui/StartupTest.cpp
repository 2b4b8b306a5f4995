#include "app/TextCodec.h"
#include "support/Harness.h"
#include "support/ReadOnlyPath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTabWidget>
#include <cstring>
#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;

TEST(Startup, FirstStartCreatesTheInformationFileAndShowsTheMcaPage) {
    Harness h;
    EXPECT_EQ(QStringList{QStringLiteral("情報ファイルを生成しました")}, h.alerts.messages);
    ASSERT_GE(h.sounds.played.size(), 2);
    EXPECT_EQ(QStringLiteral("INIfileGen.WAV"), h.sounds.played.first());
    EXPECT_EQ(QStringLiteral("start.wav"), h.sounds.played.last());
    QFile f(h.infoPath());
    ASSERT_TRUE(f.exists());
    EXPECT_EQ(16584, f.size());
    EXPECT_EQ(TForm9::kMca, h.form().PageMaster->currentIndex());
    EXPECT_FALSE(h.form().qorON->isVisibleTo(&h.form()));
    EXPECT_TRUE(h.form().qorOFF->isVisibleTo(&h.form()));
    EXPECT_EQ(800, h.form().Timer1->interval());
    EXPECT_EQ(250, h.form().Timer2->interval());
    EXPECT_EQ(QString::fromUtf8(kMainCaption), h.form().windowTitle());
    EXPECT_EQ(8, h.form().PageMaster->count());
    EXPECT_EQ(QStringLiteral("元素SCAN"), h.form().PageMaster->tabText(7));
}

TEST(Startup, SecondStartShowsNoMessageAndKeepsTheRecord) {
    QTemporaryDir dir;
    QByteArray first;
    {
        Harness h(dir.path());
        h.form().Edit1->setText(QStringLiteral("SER-42"));
        h.close();
        QFile f(h.infoPath());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        first = f.readAll();
    }
    Harness h(dir.path());
    EXPECT_TRUE(h.alerts.messages.isEmpty());
    EXPECT_EQ(QStringLiteral("SER-42"), h.form().Edit1->text());
    h.close();
    QFile f(h.infoPath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(first, f.readAll()) << "starting and closing again changes no byte";
}

TEST(Startup, CloseWithoutConnectKeepsSavedMotorPositions) {
    QTemporaryDir dir;
    {
        Harness h(dir.path());
        h.rec().MotorSavedPosition[0] = 1234;
        h.rec().MotorSavedPosition[3] = -77;
        h.close();
    }
    Harness h(dir.path());
    EXPECT_EQ(1234, h.rec().MotorSavedPosition[0]);
    h.close();
    Harness again(dir.path());
    EXPECT_EQ(1234, again.rec().MotorSavedPosition[0]);
    EXPECT_EQ(-77, again.rec().MotorSavedPosition[3]);
}

TEST(Startup, AnInformationFileThatCannotBeReadIsNeitherRecreatedNorOverwritten) {
    QTemporaryDir dir;
    // A folder under the file's name exists but cannot be read as a file.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("QOR10MappingV010.inf")));
    Harness h(dir.path());
    EXPECT_TRUE(h.alerts.messages.isEmpty()) << "no creation message";
    EXPECT_FALSE(h.sounds.played.contains(QStringLiteral("INIfileGen.WAV")));
    ASSERT_FALSE(h.alerts.statusTexts.isEmpty());
    EXPECT_TRUE(h.alerts.statusTexts.first().startsWith(QStringLiteral("情報ファイルを読み込めません")));
    EXPECT_EQ(0, h.rec().McaChannels[1]) << "the run starts from the zero record";
    h.close();
    EXPECT_TRUE(QFileInfo(h.infoPath()).isDir()) << "the close leaves it as it was";
}

TEST(Startup, TableMenuMarksExcludeEachOther) {
    Harness h;
    h.form().Xray1->trigger();
    EXPECT_TRUE(h.form().Xray1->isChecked());
    EXPECT_FALSE(h.form().ray1->isChecked());
    h.form().ray1->trigger();
    EXPECT_TRUE(h.form().ray1->isChecked());
    EXPECT_FALSE(h.form().Xray1->isChecked());
    h.form().ray1->trigger();
    EXPECT_TRUE(h.form().ray1->isChecked()) << "a second choice keeps its mark";
}

// --- The information file in folders that refuse a temporary file or any write --------------

namespace {
QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}  // namespace

TEST(SettingsFile, ReadOnlyStartFolderWithAWritableFileKeepsTheChangedSettingAcrossARestart) {
    QTemporaryDir dir;
    { Harness first(dir.path()); first.close(); }
    ReadOnlyPath folder(dir.path());
    if (!folder.active()) GTEST_SKIP() << "permissions cannot be enforced here";
    {
        Harness h(dir.path());
        h.form().Edit1->setText(QStringLiteral("SER-RO"));
        h.rec().MotorSavedPosition[1] = 4321;
        h.close();
        EXPECT_TRUE(h.alerts.messages.isEmpty()) << h.alerts.messages.join(' ').toStdString();
        EXPECT_EQ(0, h.alerts.beeps);
    }
    Harness again(dir.path());
    EXPECT_EQ(QStringLiteral("SER-RO"), again.form().Edit1->text());
    EXPECT_EQ(4321, again.rec().MotorSavedPosition[1]);
    EXPECT_EQ(QStringList{QStringLiteral("QOR10MappingV010.inf")},
              QDir(dir.path()).entryList(QDir::Files | QDir::Hidden));
}

TEST(SettingsFile, ASaveThatFailsEntirelyIsReportedAtCloseNamingTheFile) {
    QTemporaryDir dir;
    { Harness first(dir.path()); first.close(); }
    const QString path = QDir(dir.path()).filePath(QStringLiteral("QOR10MappingV010.inf"));
    const QByteArray before = fileBytes(path);
    ReadOnlyPath file(path);
    ReadOnlyPath folder(dir.path());
    if (!file.active() || !folder.active()) GTEST_SKIP() << "permissions cannot be enforced here";
    Harness h(dir.path());
    h.form().Edit1->setText(QStringLiteral("LOST"));
    h.alerts.clear();
    h.close();
    ASSERT_EQ(1, h.alerts.messages.size());
    const QString text = h.alerts.messages.first();
    EXPECT_TRUE(text.startsWith(QStringLiteral("情報ファイルを保存できません: ") + path + ": "))
        << text.toStdString();
    ASSERT_FALSE(h.alerts.statusTexts.isEmpty());
    EXPECT_EQ(text, h.alerts.statusTexts.last());
    EXPECT_EQ(1, h.alerts.beeps);
    EXPECT_FALSE(h.form().isVisible()) << "the window closes all the same";
    EXPECT_EQ(before, fileBytes(path));
}

TEST(SettingsFile, AFirstStartThatCannotCreateTheFileSaysSoInsteadOfClaimingIt) {
    QTemporaryDir dir;
    ReadOnlyPath folder(dir.path());
    if (!folder.active()) GTEST_SKIP() << "permissions cannot be enforced here";
    Harness h(dir.path());
    ASSERT_EQ(1, h.alerts.messages.size());
    EXPECT_TRUE(h.alerts.messages.first().startsWith(QStringLiteral("情報ファイルを保存できません: ") +
                                                     h.infoPath()));
    EXPECT_EQ(2048, h.rec().McaChannels[0]) << "the run goes on with the creation defaults";
    EXPECT_FALSE(QFile::exists(h.infoPath()));
}

// A start folder whose name has a character outside code page 932: the record could only hold a
// different, non-existing name, so the home folder (or nothing) becomes the save folder.
TEST(SettingsFile, StartFolderOutsideCodePage932GivesTheHomeFolderOrNothing) {
    QTemporaryDir dir;
    const QString cafe = QDir(dir.path()).filePath(QString::fromUtf8("café"));
    const QString home = QDir(dir.path()).filePath(QStringLiteral("ホーム"));
    const QString badHome = QDir(dir.path()).filePath(QString::fromUtf8("Zoë"));
    for (const QString& d : {cafe, home, badHome}) ASSERT_TRUE(QDir().mkdir(d));
    const QByteArray savedHome = qgetenv("HOME");

    qputenv("HOME", QFile::encodeName(home));
    {
        Harness h(cafe);
        EXPECT_EQ(home + QLatin1Char('/'), fromSjis(h.rec().SaveFolder));
        EXPECT_EQ(home + QLatin1Char('/'), h.form().Edit27->text());
        ASSERT_FALSE(h.alerts.statusTexts.isEmpty());
        EXPECT_TRUE(h.alerts.statusTexts.first().contains(home + QLatin1Char('/')));
        EXPECT_TRUE(QFileInfo(h.form().Edit27->text()).isDir());
    }
    QFile::remove(QDir(cafe).filePath(QStringLiteral("QOR10MappingV010.inf")));
    qputenv("HOME", QFile::encodeName(badHome));
    {
        Harness h(cafe);
        EXPECT_STREQ("", h.rec().SaveFolder);
        EXPECT_TRUE(h.form().Edit27->text().isEmpty());
        ASSERT_FALSE(h.alerts.statusTexts.isEmpty());
        EXPECT_TRUE(h.alerts.statusTexts.first().startsWith(QStringLiteral("保存フォルダ: ")));
    }
    qputenv("HOME", savedHome);

    // A start folder the record holds exactly is kept, Japanese names included.
    Harness h(home);
    EXPECT_EQ(home + QLatin1Char('/'), fromSjis(h.rec().SaveFolder));
    EXPECT_TRUE(h.alerts.statusTexts.isEmpty());
}
