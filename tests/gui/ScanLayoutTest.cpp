// The scan pages at the design size 1006 x 702 and at 1280 x 900: the legend keeps its right
// border clear of the motor groups, the sound buttons of the scan parameters sit on their rows,
// the map click read-out fits its strip, the scan panel's texts fit their controls.

#include "scan/MapView.h"
#include "scan/Scan2DPage.h"
#include "scan/SetupScanPage.h"
#include "support/Harness.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QTabWidget>
#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;

namespace {

struct Size {
    int w, h;
};
const Size kSizes[] = {{1006, 702}, {1280, 900}};

void showAt(Harness& h, Size s, int page) {
    h.form().resize(s.w, s.h);
    h.form().show();
    h.form().PageMaster->setCurrentIndex(page);
    QCoreApplication::processEvents();
}

QRect inPage(QWidget* w, QWidget* page) { return QRect(w->mapTo(page, QPoint(0, 0)), w->size()); }

}  // namespace

TEST(ScanLayout, LegendBorderAndMotorGroupsStayApart) {
    for (const Size s : kSizes) {
        Harness h;
        showAt(h, s, TForm9::kScan2D);
        Scan2DPage& p = *h.form().NonStop2Dcollect;
        h.tick1();
        const QRect legend = p.PaintBoxElem->geometry();
        for (QGroupBox* g : {p.GroupMotorY, p.GroupMotorX, p.GroupMotorZ}) {
            const QRect r = inPage(g, &p);
            EXPECT_GT(r.left(), legend.right()) << s.w << " " << g->objectName().toStdString();
            EXPECT_LT(r.right(), p.PaintBox2D->x()) << s.w;
            EXPECT_LE(r.bottom(), p.Panel5->y()) << s.w << " the groups end above the panel";
            // The lamps sit in their group, beside its Set 0.
            for (auto* lamp : g->findChildren<StageLamp*>())
                EXPECT_TRUE(g->rect().contains(lamp->geometry())) << lamp->objectName().toStdString();
        }
        // The legend's right border is drawn and shown.
        const QImage legendImage = p.PaintBoxElem->shownImage();
        ASSERT_FALSE(legendImage.isNull());
        EXPECT_EQ(qRgb(0, 0, 0), legendImage.pixel(legendImage.width() - 1, 50)) << s.w;
        // The view buttons lie inside the page and over nothing else.
        for (QToolButton* b : {p.SpeedButton36, p.SpeedButton48}) {
            const QRect r = inPage(b, &p);
            EXPECT_TRUE(p.rect().contains(r)) << s.w;
            EXPECT_FALSE(r.intersects(p.PaintBox2D->geometry())) << s.w;
            EXPECT_FALSE(r.intersects(p.Panel5->geometry())) << s.w;
            for (QGroupBox* g : {p.GroupMotorY, p.GroupMotorX, p.GroupMotorZ})
                EXPECT_FALSE(r.intersects(inPage(g, &p))) << s.w;
        }
    }
}

TEST(ScanLayout, TheMapReadOutFitsItsStrip) {
    for (const Size s : kSizes) {
        Harness h;
        h.rec().MapPixelsX = h.rec().MapPixelsY = 1024;
        showAt(h, s, TForm9::kScan2D);
        Scan2DPage& p = *h.form().NonStop2Dcollect;
        p.PaintBox2DMouseDown(Qt::LeftButton, p.PaintBox2D->width() - 2, 1);
        const QString line = stripText(h.st().mapView.MapReadout);
        const int room = p.PaintBox2D->width() - 12;
        const QFont f = stripFont(line, room, QFont());
        EXPECT_LE(QFontMetrics(f).horizontalAdvance(line), room) << s.w << " " << line.toStdString();
        EXPECT_GE(f.pixelSize(), 8);
        EXPECT_TRUE(line.startsWith(QStringLiteral("Cell(10"))) << line.toStdString();
        EXPECT_TRUE(line.endsWith(QStringLiteral(" count"))) << line.toStdString();
    }
}

TEST(ScanLayout, SoundButtonsSitOnTheRowsOfTheirBoxes) {
    for (const Size s : kSizes) {
        Harness h;
        showAt(h, s, TForm9::kSetupScan);
        SetupScanPage& p = *h.form().Setup2DSCAN;
        const std::pair<QLineEdit*, QToolButton*> rows[] = {
            {p.Edit74, p.SpeedButton21}, {p.Edit75, p.SpeedButton22}, {p.Edit76, p.SpeedButton23},
            {p.Edit78, p.SpeedButton30}, {p.Edit77, p.SpeedButton24}, {p.Edit81, p.SpeedButton33}};
        int lastBottom = -1;
        for (const auto& [box, button] : rows) {
            const QRect b = inPage(button, &p);
            const QRect e = inPage(box, &p);
            EXPECT_GE(b.top(), e.top() - 2) << s.w << " " << button->objectName().toStdString();
            EXPECT_LE(b.bottom(), e.bottom() + 2) << s.w << " " << button->objectName().toStdString();
            EXPECT_GT(b.top(), lastBottom) << s.w << " overlaps the row above";
            lastBottom = b.bottom();
        }
    }
}

TEST(ScanLayout, ScanPanelTextsFitAtTheEndOfAScan) {
    for (const Size s : kSizes) {
        Harness h;
        showAt(h, s, TForm9::kScan2D);
        Scan2DPage& p = *h.form().NonStop2Dcollect;
        // The longest texts the panel shows: a 1024 x 1024 scan's progress and a finished
        // scan's end text.
        p.LBstepX->setText(QStringLiteral("1024/1024"));
        p.LabelElapsed->setText(QStringLiteral("123:59:59"));
        p.LabelLeft->setText(QStringLiteral("123:59:59"));
        p.LabelScanEnd->setText(QStringLiteral("2D scan finished: 30 passes, 600 map files"));
        QCoreApplication::processEvents();
        for (QLabel* l : {p.LBstepX, p.LabelElapsed, p.LabelLeft, p.LabelScanEnd}) {
            EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->width())
                << s.w << " " << l->objectName().toStdString();
            EXPECT_TRUE(p.Panel5->rect().contains(l->geometry())) << l->objectName().toStdString();
        }
        EXPECT_GE(p.ScanProgressBar->width(), 120) << s.w;
        for (const char* name : {"LabelQueue", "LabelLine"})
            EXPECT_NE(nullptr, p.findChild<QLabel*>(QString::fromLatin1(name))) << name;
    }
}

TEST(ScanLayout, AnAbortMessageIsShownWholeUnderThePanel) {
    for (const Size s : kSizes) {
        Harness h;
        showAt(h, s, TForm9::kScan2D);
        h.form().SpeedButton20->click();   // connect
        h.alerts.clear();
        h.rec().MapRoiEnabled[0] = 1;      // ROI 1 was never set: the hardware refuses it
        h.sim->faults().fail("KX10MCA_2DSCAN_ROISET");
        Scan2DPage& p = *h.form().NonStop2Dcollect;
        h.dialogs.expect({QStringLiteral("exec"), QString(), QDialog::Accepted, nullptr});
        p.Button65->click();
        h.tick2();
        ASSERT_EQ(QStringList{QStringLiteral("2D scan Set ROI error , Abort 2Dscan")},
                  h.alerts.messages);
        QCoreApplication::processEvents();
        EXPECT_EQ(h.alerts.messages.first() + QStringLiteral(": 0 of 10 lines kept in 0 map files"),
                  p.LabelScanEnd->text());
        EXPECT_LE(p.LabelScanEnd->fontMetrics().horizontalAdvance(p.LabelScanEnd->text()),
                  p.LabelScanEnd->width())
            << s.w;
    }
}
