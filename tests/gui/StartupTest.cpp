#include "support/Harness.h"

#include <QFile>
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
