// The window design's file filters in the form of the Qt file dialogs.

#include "app/FileDialogFilter.h"

#include <gtest/gtest.h>

using namespace qor;

TEST(FileDialogFilter, DesignFiltersBecomeQtFilters) {
    EXPECT_EQ(QStringLiteral("Data File(*.DAT) (*.DAT);;*.* (*.*)"),
              toQtFileFilter(QStringLiteral("Data File(*.DAT)|*.DAT;(*.*)|*.*")));
    EXPECT_EQ(QStringLiteral("LIST Data File(*.CVS) (*.CSV);;*.* (*.*)"),
              toQtFileFilter(QStringLiteral("LIST Data File(*.CVS)|*.CSV;(*.*)|*.*")));
    EXPECT_EQ(QStringLiteral("Maps (*.csv *.txt);;All (*)"),
              toQtFileFilter(QStringLiteral("Maps|*.csv;*.txt|All|*")));
    EXPECT_EQ(QStringLiteral("Images (*.png)"), toQtFileFilter(QStringLiteral("Images (*.png)")))
        << "a Qt filter is left as it is";
}

TEST(FileDialogFilter, FindsTheEntryOfAPattern) {
    const QString f = toQtFileFilter(QStringLiteral("ROI Data File(*.sroi)|*.sroi;(*.*)|*.*"));
    EXPECT_EQ(QStringLiteral("ROI Data File(*.sroi) (*.sroi)"),
              qtFilterEntryFor(f, QStringLiteral("*.sroi")));
    EXPECT_EQ(QStringLiteral("*.* (*.*)"), qtFilterEntryFor(f, QStringLiteral("*.*")));
    EXPECT_EQ(QString(), qtFilterEntryFor(f, QStringLiteral("*.DAT")));
}
