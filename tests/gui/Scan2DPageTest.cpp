// The 2D SCAN page in the running program: controls, record storing, start-up state, layout,
// and the map display's handlers.

#include "scan/Scan2DPage.h"
#include "support/Harness.h"

#include <QAbstractButton>
#include <QTabWidget>
#include <cstring>
#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;

namespace {

Scan2DPage& page(Harness& h) { return *h.form().NonStop2Dcollect; }

void showPage(Harness& h) { h.form().PageMaster->setCurrentIndex(TForm9::kScan2D); }

// Captions, titles and labels are not cut: the visible part of each text fits its control
// (leading and trailing blanks of a caption take no room on screen).
void expectTextsFit(QWidget& page) {
    for (QWidget* w : page.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&page)) continue;
        const QFontMetrics fm(w->font());
        QString text;
        int room = w->width();
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            text = b->text();
            room -= 4;
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            text = g->title();
            room -= 8;
        } else if (auto* l = qobject_cast<QLabel*>(w)) {
            if (!l->wordWrap()) text = l->text();
        }
        for (const QString& line : text.split(QLatin1Char('\n')))
            EXPECT_LE(fm.horizontalAdvance(line.trimmed()), room)
                << w->objectName().toStdString() << " '" << line.toStdString() << "'";
        EXPECT_GE(w->height(), std::min(fm.height(), w->sizeHint().height()))
            << w->objectName().toStdString();
    }
}

}  // namespace

TEST(Scan2DPage, ControlsCarryTheirNamesAndCaptions) {
    Harness h;
    Scan2DPage& p = page(h);
    EXPECT_EQ(QStringLiteral("NonStop2Dcollect"), p.objectName());
    EXPECT_EQ(QStringLiteral("2D SCAN"), h.form().PageMaster->tabText(TForm9::kScan2D));
    const std::pair<const char*, const char*> buttons[] = {
        {"Button65", "Start SCAN"},   {"Button66", "Stop SCAN"},   {"Button63", "GOTO (0,0,0)"},
        {"Button64", "GOTO (0,0)"},   {"Button68", "Stop Motor"},  {"Button70", "Set 0"},
        {"Button74", "Set 0"},        {"Button77", "Set 0"},       {"Button71", "◀"},
        {"Button69", "▶"},            {"Button72", "◀"},           {"Button73", "▶"},
        {"Button75", "◀"},            {"Button76", "▶"}};
    for (const auto& [name, caption] : buttons) {
        auto* b = h.find<QPushButton>(name);
        ASSERT_NE(nullptr, b) << name;
        EXPECT_EQ(QString::fromUtf8(caption), b->text()) << name;
    }
    EXPECT_EQ(QStringLiteral("Y軸モーター"), p.GroupMotorY->title());
    EXPECT_EQ(QStringLiteral("　X軸モーター"), p.GroupMotorX->title());
    EXPECT_EQ(QStringLiteral("　Z軸モーター "), p.GroupMotorZ->title());
    // The jog and zero buttons sit in their axis group.
    EXPECT_TRUE(p.GroupMotorY->isAncestorOf(p.Button71));
    EXPECT_TRUE(p.GroupMotorX->isAncestorOf(p.Button74));
    EXPECT_TRUE(p.GroupMotorZ->isAncestorOf(p.Edit144));
    EXPECT_EQ(QStringLiteral("MCA測定時間が短く、測定点が桁ズレした可能性があります。"),
              p.RedErrorComment->text());
    EXPECT_FALSE(p.RedErrorComment->isVisibleTo(&p));
    for (const char* name : {"Edit129", "Edit130", "Edit131", "Edit132", "Edit133", "Edit134",
                             "Edit136", "Edit137", "Edit139", "Edit140", "Edit141", "Edit142",
                             "Edit143", "Edit144", "Edit145", "Edit146", "Edit147", "Edit149",
                             "ErrView"})
        EXPECT_NE(nullptr, h.find<QLineEdit>(name)) << name;
    for (const char* name : {"LBstepX", "LBstepY", "LBstepZ", "LabelRcnt", "LabelYcnt"})
        EXPECT_NE(nullptr, h.find<QLabel>(name)) << name;
    for (const char* name : {"SpeedButton36", "SpeedButton37", "SpeedButton38", "SpeedButton46",
                             "SpeedButton47", "SpeedButton48", "SpeedButton49", "SpeedButton50"}) {
        auto* b = h.find<QToolButton>(name);
        ASSERT_NE(nullptr, b) << name;
        EXPECT_FALSE(b->toolTip().isEmpty()) << name;
    }
    for (QSlider* bar : {p.TrackBar1, p.TrackBar2}) {
        EXPECT_EQ(0, bar->minimum());
        EXPECT_EQ(100, bar->maximum());
    }
    EXPECT_EQ(p.Panel5->minimumHeight(), p.Panel5->maximumHeight()) << "fixed height";
    EXPECT_TRUE(p.Panel5->isAncestorOf(p.Button65));
    EXPECT_TRUE(p.Panel5->isAncestorOf(p.Edit141));
}

// A program whose scan is 256 x 256 pixels (saved in a first run, so the start-up keeps it).
std::unique_ptr<Harness> startWith256Pixels(QTemporaryDir& dir) {
    {
        Harness first(dir.path());
        first.rec().ScanXSteps = first.rec().MapPixelsX = 256;
        first.rec().ScanYSteps = first.rec().MapPixelsY = 256;
        first.close();
    }
    return std::make_unique<Harness>(dir.path());
}

TEST(Scan2DPage, StartUpFillsTheBoxesAndTheContrastControls) {
    Harness h;
    Scan2DPage& p = page(h);
    // New record: Z 0 .. 1 by 0.1, one step; X and Y 0 .. 1 by 0.1.
    EXPECT_EQ(QStringLiteral("0"), p.Edit136->text());
    EXPECT_EQ(QStringLiteral("1"), p.Edit137->text());
    EXPECT_EQ(QStringLiteral("0.1"), p.Edit139->text());
    // The Setup SCAN page's Z boxes settle the count from the range and step before this page
    // shows it.
    EXPECT_EQ(QString::number(h.rec().ZCount), p.Edit140->text());
    EXPECT_EQ(QStringLiteral("0"), p.Edit129->text());
    EXPECT_EQ(QStringLiteral("0.1"), p.Edit131->text());
    EXPECT_EQ(QStringLiteral("0"), p.Edit132->text());
    EXPECT_EQ(QStringLiteral("1"), p.Edit133->text());
    EXPECT_EQ(0, p.TrackBar1->value());
    EXPECT_EQ(100, p.TrackBar2->value());
    EXPECT_EQ(QStringLiteral("0"), p.Edit145->text());
    EXPECT_EQ(QStringLiteral("1000"), p.Edit146->text());
    EXPECT_EQ(0, h.st().mapView.MapLowPct);
    EXPECT_EQ(100, h.st().mapView.MapHighPct);
    EXPECT_EQ(1, h.rec().MapZoom);
    EXPECT_TRUE(p.Edit141->text().isEmpty());
}

TEST(Scan2DPage, SecondStartShowsTheStoredValues) {
    QTemporaryDir dir;
    {
        Harness h(dir.path());
        page(h).Edit141->setText(QStringLiteral("試料A-01"));
        h.rec().ZStart = -2.5;
        h.rec().ZCount = 7;
        h.rec().ScanYStart = 12.75;   // derived from the parameters at start-up: 0
        h.rec().ScanXStart = 0.025;
        h.close();
    }
    Harness h(dir.path());
    Scan2DPage& p = page(h);
    EXPECT_EQ(QStringLiteral("試料A-01"), p.Edit141->text());
    EXPECT_EQ(QStringLiteral("-2.5"), p.Edit136->text());
    EXPECT_EQ(QString::number(h.rec().ZCount), p.Edit140->text());
    EXPECT_EQ(QStringLiteral("0"), p.Edit129->text());
    EXPECT_EQ(QStringLiteral("0"), p.Edit132->text());
}

TEST(Scan2DPage, FileNameIsStoredAsShiftJisInsideItsField) {
    Harness h;
    Scan2DPage& p = page(h);
    p.Edit141->setText(QStringLiteral("run7"));
    EXPECT_STREQ("run7", h.rec().ScanFileName);
    p.Edit141->setText(QStringLiteral("鉄"));
    EXPECT_EQ(QByteArray("\x93\x53", 2), QByteArray(h.rec().ScanFileName));
    // 40 characters: cut to 31 bytes, terminated, the next field untouched.
    h.rec().ElemScanSpeedPps = 4321;
    p.Edit141->setText(QString(40, QLatin1Char('x')));
    EXPECT_EQ(31u, std::strlen(h.rec().ScanFileName));
    EXPECT_EQ(4321, h.rec().ElemScanSpeedPps);
    // Double-byte characters are never split: 16 of them need 32 bytes, 15 fit.
    p.Edit141->setText(QString(16, QChar(0x9244)));
    EXPECT_EQ(30u, std::strlen(h.rec().ScanFileName));
}

TEST(Scan2DPage, MapAreasFollowTheWindowAndNothingOverlaps) {
    Harness h;
    h.form().setOuterSize(1020, 764);
    h.form().show();
    showPage(h);
    Scan2DPage& p = page(h);
    EXPECT_EQ(QRect(5, 10, 400, 504), p.PaintBoxElem->geometry());
    EXPECT_EQ(QSize(400, 504), p.ImageElem.size());
    const QRect map = p.PaintBox2D->geometry();
    EXPECT_EQ(500, map.x());
    EXPECT_EQ(10, map.y());
    EXPECT_EQ(map.width() + 20, map.height());
    EXPECT_EQ(map.size(), p.Image2D.size());
    EXPECT_EQ(map.width() - 2, h.st().mapView.DrawExtentX);
    EXPECT_EQ(map.width() - 2, h.st().mapView.DrawExtentY);
    const int W = h.form().outerSize().width();
    const int H = h.form().outerSize().height();
    EXPECT_EQ(std::min(W - 490, H - p.Panel5->height() - 180), map.height());

    // The page's blocks lie inside the page and apart from each other.
    QList<QWidget*> blocks{p.PaintBoxElem, p.PaintBox2D, p.Panel5};
    for (QWidget* w : p.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (!blocks.contains(w) && w->isVisibleTo(&p)) blocks << w;
    const QRect pageRect = p.rect();
    for (int i = 0; i < blocks.size(); ++i) {
        EXPECT_TRUE(pageRect.contains(blocks[i]->geometry()))
            << blocks[i]->objectName().toStdString();
        for (int j = i + 1; j < blocks.size(); ++j)
            EXPECT_FALSE(blocks[i]->geometry().intersects(blocks[j]->geometry()))
                << blocks[i]->objectName().toStdString() << " / "
                << blocks[j]->objectName().toStdString();
    }
    // Every text of the page fits its control.
    expectTextsFit(p);
}

TEST(Scan2DPage, TrackBarsKeepTheUpperCutAboveTheLowerOne) {
    Harness h;
    Scan2DPage& p = page(h);
    MapDisplayState& mv = h.st().mapView;
    p.TrackBar1->setValue(40);
    EXPECT_EQ(QStringLiteral("400"), p.Edit145->text());
    EXPECT_EQ(40, mv.MapLowPct);
    p.TrackBar2->setValue(30);
    EXPECT_EQ(41, p.TrackBar2->value()) << "dragged under the lower bar at 40";
    EXPECT_EQ(QStringLiteral("410"), p.Edit146->text());
    EXPECT_EQ(41, mv.MapHighPct);

    // The lower bar pushed to the top: the upper bar stays at 100, the lower one goes to 99.
    p.TrackBar2->setValue(100);
    p.TrackBar1->setValue(100);
    p.TrackBar2->setValue(50);
    EXPECT_EQ(100, p.TrackBar2->value());
    EXPECT_EQ(99, p.TrackBar1->value());
    EXPECT_EQ(99, mv.MapLowPct);

    // The lower bar dragged over an upper bar at 0 ends at 0 with the upper bar at 1.
    p.TrackBar1->setValue(0);
    p.TrackBar2->setValue(0);
    p.TrackBar1->setValue(30);
    EXPECT_EQ(0, p.TrackBar1->value());
    EXPECT_EQ(1, p.TrackBar2->value());

    // An odd full scale: the percentage is the one of the shown count.
    mv.MapZMax = 7;
    p.TrackBar2->setValue(50);
    EXPECT_EQ(QStringLiteral("3"), p.Edit146->text());
    EXPECT_EQ(42, mv.MapHighPct);
    // No full scale: the bars still set the cuts.
    mv.MapZMax = 0;
    p.TrackBar2->setValue(70);
    EXPECT_EQ(QStringLiteral("0"), p.Edit146->text());
    EXPECT_EQ(70, mv.MapHighPct);
}

TEST(Scan2DPage, ViewButtonsChangeTheViewState) {
    QTemporaryDir dir;
    auto hp = startWith256Pixels(dir);
    Harness& h = *hp;
    Scan2DPage& p = page(h);
    MapDisplayState& mv = h.st().mapView;
    p.SpeedButton36->click();
    EXPECT_EQ(1, mv.MapUseColour);
    p.SpeedButton37->click();
    EXPECT_EQ(0, mv.MapUseColour);
    p.SpeedButton38->click();
    EXPECT_EQ(900, mv.MapZMax);
    p.SpeedButton46->click();
    EXPECT_EQ(990, mv.MapZMax);
    // Largest count of slot 2 over the 256 x 256 test pattern: 255 + 255 + 2000.
    mv.MapViewSlot = 2;
    p.SpeedButton49->click();
    EXPECT_EQ(2510, mv.MapZMax);
    p.SpeedButton47->click();
    p.SpeedButton47->click();
    p.SpeedButton47->click();
    EXPECT_EQ(4, h.rec().MapZoom);
    p.SpeedButton48->click();
    EXPECT_EQ(2, h.rec().MapZoom);
    h.rec().MapViewOrigin[0] = 5;
    h.rec().MapPixelsX = 40;
    h.rec().MapPixelsY = 30;
    p.SpeedButton50->click();
    EXPECT_EQ(1, h.rec().MapZoom);
    EXPECT_EQ(40, h.rec().MapViewSize[0]);
    EXPECT_EQ(30, h.rec().MapViewSize[1]);
    EXPECT_EQ(0, h.rec().MapViewOrigin[0]);
}

TEST(Scan2DPage, LegendAndMapClicksReadOut) {
    QTemporaryDir dir;
    auto hp = startWith256Pixels(dir);
    Harness& h = *hp;
    h.form().setOuterSize(1020, 764);
    h.form().show();
    showPage(h);
    Scan2DPage& p = page(h);
    MapDisplayState& mv = h.st().mapView;
    p.PaintBoxElemMouseDown(Qt::RightButton, 150, 250);
    EXPECT_EQ(9, mv.MapViewSlot);
    EXPECT_EQ(QStringLiteral("\n元素#   9"), h.alerts.statusTexts.last());
    p.PaintBoxElemMouseDown(Qt::LeftButton, 450, 50);
    EXPECT_EQ(9, mv.MapViewSlot) << "outside the bands nothing changes";

    // Click in the middle of the map: cell (128, 128) of slot 9 holds 128 + 128 + 9000.
    const int w = p.PaintBox2D->width();
    const int hh = p.PaintBox2D->height();
    h.alerts.clear();
    p.PaintBox2DMouseDown(Qt::RightButton, w / 2, 10);
    EXPECT_TRUE(h.alerts.statusTexts.isEmpty()) << "only the left button reads out";
    p.PaintBox2DMouseDown(Qt::LeftButton, w / 2, (hh - 20) / 2);
    EXPECT_EQ(128, h.rec().MapCellX);
    EXPECT_EQ(128, h.rec().MapCellY);
    ASSERT_EQ(1, h.alerts.statusTexts.size());
    EXPECT_TRUE(h.alerts.statusTexts[0].startsWith(QStringLiteral("\n## mouse (")));
    EXPECT_TRUE(h.alerts.statusTexts[0].endsWith(QStringLiteral("　      9256 count")));
    EXPECT_EQ(h.alerts.statusTexts[0], mv.MapReadout);

    // A map wider than the arrays: the click beyond column 1023 reads nothing.
    h.alerts.clear();
    h.rec().MapPixelsX = 4000;
    p.PaintBox2DMouseDown(Qt::LeftButton, w - 1, (hh - 20) / 2);
    EXPECT_GT(h.rec().MapCellX, 1023);
    EXPECT_EQ(1, h.alerts.beeps);
    EXPECT_EQ(QStringList{QStringLiteral("2d access (x,y) over")}, h.alerts.statusTexts);
    EXPECT_TRUE(mv.MapReadout.endsWith(QStringLiteral("　         0 count")));
}

TEST(Scan2DPage, MapIsDrawnOnlyOnTheVisibleUnheldPage) {
    Harness h;
    h.form().setOuterSize(1020, 764);
    h.form().show();
    Scan2DPage& p = page(h);
    // Start-up drew nothing: the MCA page is in front.
    EXPECT_TRUE(p.PaintBox2D->shownImage().isNull());
    h.tick1();
    EXPECT_TRUE(p.PaintBox2D->shownImage().isNull());

    showPage(h);
    h.tick1();
    const QImage first = p.PaintBox2D->shownImage();
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(p.Image2D, first);
    EXPECT_EQ(p.ImageElem, p.PaintBoxElem->shownImage());
    // The test pattern ramp: darker at the bottom left than at the top right.
    EXPECT_LT(qGray(first.pixel(3, first.height() - 22)), qGray(first.pixel(first.width() - 4, 3)));

    // Held: the image does not change, whatever the view says.
    h.st().mapView.MapDrawHold = 1;
    h.st().mapView.MapUseColour = 1;
    p.SpeedButton49->click();
    h.tick1();
    EXPECT_EQ(first, p.PaintBox2D->shownImage());
    h.st().mapView.MapDrawHold = 0;
    h.tick1();
    EXPECT_NE(first, p.PaintBox2D->shownImage());

    // A map beyond the arrays beeps and says so.
    h.alerts.clear();
    h.rec().MapPixelsY = 1500;
    h.tick1();
    EXPECT_EQ(1, h.alerts.beeps) << "one per draw; the tick draws once on a page already shown";
    EXPECT_EQ(QStringLiteral("2d access (x,y) over"), h.alerts.statusTexts.last());
}

TEST(Scan2DPage, EnteringThePageDrawsTwiceInTheTick) {
    Harness h;
    h.form().setOuterSize(1020, 764);
    h.form().show();
    h.rec().MapPixelsX = 2000;   // every draw reports the access past the arrays
    h.tick1();                   // MCA page: no draw
    EXPECT_EQ(0, h.alerts.beeps);
    QSignalBlocker quiet(h.form().PageMaster);   // no redraw on the page change itself
    showPage(h);
    h.tick1();
    EXPECT_EQ(2, h.alerts.beeps) << "entering: a draw, the position displays, a draw";
    h.tick1();
    EXPECT_EQ(3, h.alerts.beeps);
}
