// The element scan page in the running program: controls, record storing, start-up filling.

#include "scan/ElementScanPage.h"
#include "support/Harness.h"

#include <QAbstractButton>
#include <QTabWidget>
#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;

namespace {

ElementScanPage& page(Harness& h) { return *h.form().TabSheet1; }

}  // namespace

TEST(ElementScanPage, ControlsCarryTheirNamesAndCaptions) {
    Harness h;
    ElementScanPage& p = page(h);
    EXPECT_EQ(QStringLiteral("TabSheet1"), p.objectName());
    EXPECT_EQ(QStringLiteral("元素SCAN"), h.form().PageMaster->tabText(TForm9::kElementScan));
    EXPECT_EQ(QStringLiteral("モータースキャン範囲の指定とMCA同期測定の開始"),
              p.GroupElemScan->title());
    EXPECT_EQ(QStringLiteral("　測定開始原点位置の調整  (0,0)位置が開始位置"),
              p.GroupElemJog->title());
    const std::pair<const char*, const char*> buttons[] = {
        {"Button80", "上記範囲をモータースキャン中のMCA測定を開始"},
        {"Button87", "中止"},
        {"Button88", "(Xstart,Ystart)へ移動 "},
        {"Button89", "(Xend,Yend)へ移動 "},
        {"Button81", "▲"},
        {"Button82", "▼"},
        {"Button84", "◀"},
        {"Button83", "▶"},
        {"Button85", "停止"},
        {"Button86", "座標を(0,0)にする"}};
    for (const auto& [name, caption] : buttons) {
        auto* b = h.find<QPushButton>(name);
        ASSERT_NE(nullptr, b) << name;
        EXPECT_EQ(QString::fromUtf8(caption), b->text()) << name;
    }
    for (QWidget* w : std::initializer_list<QWidget*>{p.Button81, p.Button82, p.Button83,
                                                       p.Button84, p.Button85, p.Button86,
                                                       p.SpeedButton52, p.Edit156, p.Edit157,
                                                       p.Image6, p.Image7, p.Image8, p.Image9})
        EXPECT_TRUE(p.GroupElemJog->isAncestorOf(w)) << w->objectName().toStdString();
    for (const char* name : {"Image6", "Image7", "Image8", "Image9"})
        EXPECT_NE(nullptr, h.find<QLabel>(name)) << name;
    // The page's own texts.
    QStringList texts;
    for (QLabel* l : p.findChildren<QLabel*>()) texts << l->text().split(QLatin1Char('\n'));
    for (const char* t : {"二次元試料全体をモータスキャンして、一つのエネルギースペクトルを測定します。",
                          "本測定の前に、試料全体に分布する元素を取得するのが目的です。",
                          "モータ移動範囲　(X)(Y)　とモータ速度を指定したら、MCAページでリアルタイムに観測します。",
                          "MCA-Pageでは、測定後、必要なピークをROI指定して、2D SCANで本測定をします。",
                          "Ｘ軸モーターの回転速度[pps]", "(Xstart,Ystart)座標指定",
                          "(Xend,Yend)の座標指定", "Y軸ステップ座標量"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(t))) << t;
}

TEST(ElementScanPage, StartUpFillsTheBoxesFromTheRecord) {
    Harness h;
    ElementScanPage& p = page(h);
    EXPECT_EQ(QStringLiteral("100"), p.Edit135->text());
    EXPECT_EQ(QStringLiteral("0"), p.Edit150->text());
    EXPECT_EQ(QStringLiteral("0"), p.Edit151->text());
    EXPECT_EQ(QStringLiteral("10"), p.Edit138->text());
    EXPECT_EQ(QStringLiteral("10"), p.Edit148->text());
    EXPECT_EQ(QStringLiteral("1"), p.Edit152->text());
    // The position boxes start with the step counts.
    EXPECT_EQ(QString::number(h.rec().ScanYSteps), p.Edit156->text());
    EXPECT_EQ(QString::number(h.rec().ScanXSteps), p.Edit157->text());
}

TEST(ElementScanPage, BoxesStoreTheirFieldsOnEveryChange) {
    QTemporaryDir dir;
    {
        Harness h(dir.path());
        ElementScanPage& p = page(h);
        InfoRecord& r = h.rec();
        p.Edit135->setText(QStringLiteral("250pps"));
        EXPECT_EQ(250, r.ElemScanSpeedPps) << "the number at the start of the text";
        p.Edit135->setText(QStringLiteral("fast"));
        EXPECT_EQ(250, r.ElemScanSpeedPps) << "no number: the field keeps its value";
        p.Edit135->setText(QStringLiteral("12.9"));
        EXPECT_EQ(12, r.ElemScanSpeedPps) << "an integer field takes the integer part";

        p.Edit150->setText(QStringLiteral("-1.25"));
        p.Edit151->setText(QStringLiteral(" 2.5mm"));
        p.Edit138->setText(QStringLiteral("1e1"));
        p.Edit148->setText(QStringLiteral("7"));
        p.Edit152->setText(QStringLiteral("0.5"));
        EXPECT_DOUBLE_EQ(-1.25, r.ElemScanXStart);
        EXPECT_DOUBLE_EQ(2.5, r.ElemScanYStart);
        EXPECT_DOUBLE_EQ(10.0, r.ElemScanXEnd);
        EXPECT_DOUBLE_EQ(7.0, r.ElemScanYEnd);
        EXPECT_DOUBLE_EQ(0.5, r.ElemScanYStep);
        p.Edit152->setText(QStringLiteral("step"));
        EXPECT_DOUBLE_EQ(0.5, r.ElemScanYStep);
        h.close();
    }
    Harness h(dir.path());
    ElementScanPage& p = page(h);
    EXPECT_EQ(QStringLiteral("12"), p.Edit135->text());
    EXPECT_EQ(QStringLiteral("-1.25"), p.Edit150->text());
    EXPECT_EQ(QStringLiteral("2.5"), p.Edit151->text());
    EXPECT_EQ(QStringLiteral("10"), p.Edit138->text());
    EXPECT_EQ(QStringLiteral("0.5"), p.Edit152->text());
}

TEST(ElementScanPage, HelpButtonsPlayTheirExplanations) {
    Harness h;
    ElementScanPage& p = page(h);
    h.sounds.played.clear();
    p.SpeedButton51->click();
    p.SpeedButton52->click();
    EXPECT_EQ((QStringList{QStringLiteral("PenEdit74.wav"), QStringLiteral("kokoButton.wav")}),
              h.sounds.played);
}

TEST(ElementScanPage, LaidOutWithoutOverlapAtTheNormalSize) {
    Harness h;
    h.form().setOuterSize(1020, 764);
    h.form().show();
    h.form().PageMaster->setCurrentIndex(TForm9::kElementScan);
    ElementScanPage& p = page(h);
    const QRect a = p.GroupElemScan->geometry();
    const QRect b = p.GroupElemJog->geometry();
    EXPECT_FALSE(a.intersects(b));
    EXPECT_TRUE(p.rect().contains(a));
    EXPECT_TRUE(p.rect().contains(b));
    for (QAbstractButton* btn : p.findChildren<QAbstractButton*>())
        EXPECT_LE(btn->fontMetrics().horizontalAdvance(btn->text().trimmed()), btn->width() - 4)
            << btn->objectName().toStdString();
}
