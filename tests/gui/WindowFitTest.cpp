// The window at 800 x 560: every control of every page lies inside its page (the scrollable
// area) and inside the group it belongs to, every button shows its whole caption; at the design
// size and at 1280 x 900 the pages fill their tabs with no scroll bar, as before.

#include "app/PageScroll.h"
#include "spectrum/McaPage.h"
#include "support/Harness.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;

namespace {

void showAt(Harness& h, int w, int hgt) {
    h.form().show();
    h.form().setOuterSize(w, hgt);
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

PageScroll* scrollOf(Harness& h, int index) {
    return qobject_cast<PageScroll*>(h.form().PageMaster->widget(index));
}

// Every control shown on `page`: buttons, boxes, lists and texts.
QList<QWidget*> controls(QWidget* page) {
    QList<QWidget*> out;
    for (QWidget* w : page->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(page)) continue;
        if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
            qobject_cast<QComboBox*>(w) || qobject_cast<QLabel*>(w))
            out << w;
    }
    return out;
}

}  // namespace

TEST(WindowFit, At800x560EveryControlOfEveryPageCanBeReached) {
    Harness h;
    showAt(h, 800, 560);
    ASSERT_EQ(QSize(800, 560), h.form().outerSize()) << "not too small for the window";
    int scrolled = 0;
    for (int index = 0; index < h.form().PageMaster->count(); ++index) {
        h.form().PageMaster->setCurrentIndex(index);
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
        PageScroll* scroll = scrollOf(h, index);
        ASSERT_NE(nullptr, scroll);
        QWidget* page = scroll->page();
        if (page->width() > scroll->viewport()->width() ||
            page->height() > scroll->viewport()->height())
            ++scrolled;
        for (QWidget* c : controls(page)) {
            const std::string name = page->objectName().toStdString() + "/" +
                                     c->objectName().toStdString() + " " +
                                     c->property("text").toString().toStdString();
            const QRect inPage(c->mapTo(page, QPoint(0, 0)), c->size());
            EXPECT_TRUE(page->rect().contains(inPage)) << name;
            // Inside its group or panel: nothing hangs over an edge or over a neighbour group.
            if (c->parentWidget() != page) {
                EXPECT_TRUE(c->parentWidget()->rect().contains(c->geometry())) << name;
            }
            if (auto* b = qobject_cast<QAbstractButton*>(c); b && !b->text().isEmpty())
                EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text().trimmed()), b->width() - 4)
                    << name;
        }
    }
    EXPECT_GE(scrolled, 2) << "the MCA and 2D SCAN pages need more than 800 x 560";

    // The tool bar's buttons keep their whole captions.
    for (QAbstractButton* b : h.form().Panel1->findChildren<QAbstractButton*>()) {
        if (qobject_cast<QToolButton*>(b))   // picture and caption
            EXPECT_GE(b->width(), b->sizeHint().width()) << b->objectName().toStdString();
        else
            EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()), b->width() - 4)
                << b->objectName().toStdString();
    }

    // The ROI group's boxes stand apart.
    McaPage& m = *h.form().MCAcollect;
    for (QLineEdit* a : {m.Edit17, m.Edit18, m.Edit19, m.Edit23, m.Edit24})
        for (QLineEdit* b : {m.Edit17, m.Edit18, m.Edit19, m.Edit23, m.Edit24})
            if (a != b) EXPECT_FALSE(a->geometry().intersects(b->geometry()));
}

TEST(WindowFit, AtTheDesignSizeAnd1280x900ThePagesFillTheirTabs) {
    for (const QSize size : {QSize(1006, 702), QSize(1280, 900)}) {
        Harness h;
        showAt(h, size.width(), size.height());
        for (int index = 0; index < h.form().PageMaster->count(); ++index) {
            h.form().PageMaster->setCurrentIndex(index);
            for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
            PageScroll* scroll = scrollOf(h, index);
            ASSERT_NE(nullptr, scroll);
            EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible()) << size.width() << " " << index;
            EXPECT_FALSE(scroll->verticalScrollBar()->isVisible()) << size.width() << " " << index;
            EXPECT_EQ(scroll->size(), scroll->page()->size()) << size.width() << " " << index;
        }
        // The MCA page laid out by the window's rules, as without the scroll area.
        McaPage& m = *h.form().MCAcollect;
        const int w = size.width() - McaPage::kPanel2Width - 40;
        const int hgt = size.height() - h.form().Panel1->height() - McaPage::kPanel3Height - 130;
        EXPECT_EQ(QSize(w, hgt), m.PaintBox1->size());
        EXPECT_EQ(QPoint(2 + w + 4, 2), m.Panel2->pos());
    }
}

TEST(WindowFit, TheToolBarKeepsItsPlaceWhenTheScanLabelShows) {
    Harness h;
    showAt(h, 1006, 702);
    const QRect folder = h.form().Edit27->geometry();
    const QRect button = h.form().Button16->geometry();
    h.form().RunName1->setText(QStringLiteral("元素Scan中"));
    h.form().showRunNames(true);
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    EXPECT_EQ(folder, h.form().Edit27->geometry());
    EXPECT_EQ(button, h.form().Button16->geometry());
    EXPECT_LE(h.form().RunName1->fontMetrics().horizontalAdvance(h.form().RunName1->text()),
              h.form().RunName1->width());
}
