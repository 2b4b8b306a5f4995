#include "app/WindowLayout.h"
#include "scan/Scan2DPage.h"
#include "spectrum/McaPage.h"
#include "support/Harness.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTabBar>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;

namespace {
void settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}
}  // namespace

TEST(WindowLayout, RulesFollowTheOuterSize) {
    PanelSizes p;
    p.panel1Height = 40;
    p.panel2Width = 250;
    p.panel3Height = 150;
    p.panel5Height = 100;
    const WindowLayout l = computeLayout(1020, 764, p);
    EXPECT_EQ(QSize(1000, 634), l.pageMaster);
    EXPECT_EQ(QSize(1020 - 250 - 40, 764 - 40 - 150 - 130), l.spectrum);
    EXPECT_EQ(QRect(5, 10, 400, 504), l.elementMap);
    // S = min(1020 - 490, 764 - 100 - 180) = 484.
    EXPECT_EQ(QRect(500, 10, 464, 484), l.map2D);
    EXPECT_TRUE(windowTooSmall(690, 500));
    EXPECT_TRUE(windowTooSmall(800, 399));
    EXPECT_FALSE(windowTooSmall(700, 400));
}

TEST(WindowLayout, TooSmallWindowIsResetWithTheMessage) {
    Harness h;
    h.alerts.clear();
    h.form().setOuterSize(690, 500);
    settle();
    EXPECT_EQ(QStringList{QStringLiteral("フォームサイズが小さいです")}, h.alerts.messages);
    EXPECT_EQ(1, h.alerts.beeps);
    EXPECT_EQ(QSize(1020, 764), h.form().outerSize());
    EXPECT_EQ(QSize(1000, 634), h.form().PageMaster->size());
}

TEST(WindowLayout, MenuSetsTheOuterSize1022x766) {
    Harness h;
    h.form().N10247681->trigger();
    settle();
    EXPECT_EQ(QSize(1022, 766), h.form().outerSize());
    EXPECT_EQ(QSize(1002, 636), h.form().PageMaster->size());
    EXPECT_TRUE(h.alerts.messages.size() <= 1) << "only the creation message";
}
TEST(WindowLayout, SpectrumAreaFollowsTheWindow) {
    Harness h;
    h.form().setOuterSize(1200, 900);
    settle();
    McaPage* mca = h.form().MCAcollect;
    ASSERT_NE(nullptr, mca->PaintBox1);
    const int w = 1200 - mca->Panel2->width() - 40;
    const int hgt = 900 - h.form().Panel1->height() - mca->Panel3->height() - 130;
    EXPECT_EQ(QSize(w, hgt), mca->PaintBox1->size());
    EXPECT_EQ(QSize(w, hgt), mca->SPCImage.size());
    EXPECT_EQ(w - 1, h.st().spectrum.PlotWidth);
    EXPECT_EQ(hgt - 1, h.st().spectrum.PlotHeight);
}

TEST(WindowLayout, EveryPictureButtonSaysWhatItDoesInItsHint) {
    // Glyphs and pictures say little to a newcomer: every tool button of the window and of its
    // dialogs carries a hint, the ones that only play a sound included.
    Harness h;
    QStringList bare;
    QList<QWidget*> roots{&h.form()};
    for (QWidget* top : QApplication::topLevelWidgets()) roots << top;
    for (QWidget* root : roots)
        for (QToolButton* b : root->findChildren<QToolButton*>())
            if (b->toolTip().isEmpty() && !qobject_cast<QTabBar*>(b->parentWidget()) &&
                !b->objectName().startsWith(QLatin1String("qt_")))   // the toolkit's own
                bare << b->objectName() + QLatin1Char(' ') + b->text();
    bare.removeDuplicates();
    EXPECT_TRUE(bare.isEmpty()) << bare.join(QStringLiteral(", ")).toStdString();
}
