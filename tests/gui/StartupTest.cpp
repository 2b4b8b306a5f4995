#include "support/Harness.h"

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
