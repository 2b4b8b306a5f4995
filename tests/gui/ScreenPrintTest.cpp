// The screen print: one page titled "NORDA2" with the picture of the window as it looks, the
// spectrum in place, scaled to the page; printed on a recording printer and into a PDF file.

#include "app/QtPrinting.h"
#include "scan/Scan2DPage.h"
#include "spectrum/McaPage.h"
#include "support/Harness.h"

#include <QCoreApplication>
#include <QFile>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;

namespace {

// Connects and measures a second of live time, so that MCA1 shows a spectrum of the specimen.
void acquire(TForm9& form, std::function<void()> tick) {
    form.SpeedButton20->click();
    McaPage& p = *form.MCAcollect;
    p.Edit14->setText(QStringLiteral("100"));
    p.Button5->click();
    for (int i = 0; i < 3; ++i) tick();
}

// Where a widget of the window lies in the client picture (below the menu bar).
QRect inPicture(TForm9& form, QWidget* w) {
    const QPoint at = w->mapTo(&form, QPoint(0, 0));
    return QRect(at - QPoint(0, form.menuBar()->geometry().bottom() + 1), w->size());
}

}  // namespace

TEST(ScreenPrint, OnePageTitledNorda2WithTheWindowAndItsSpectrumScaledToThePage) {
    Harness h;
    acquire(h.form(), [&h] { h.tick1(); });
    ASSERT_EQ(1, h.st().Online);
    h.form().SpeedButton15->click();

    EXPECT_EQ(1, h.printing.printDialogs);
    ASSERT_EQ(size_t{1}, h.printing.jobs.size());
    const FakePrinting::Job& job = h.printing.jobs[0];
    EXPECT_EQ(QStringLiteral("NORDA2"), job.title);
    EXPECT_EQ(1, job.pages);
    ASSERT_EQ(size_t{1}, job.pictures.size());
    const QImage& pic = job.pictures[0].image;
    const int menu = h.form().menuBar()->geometry().bottom() + 1;
    EXPECT_EQ(QSize(h.form().width(), h.form().height() - menu), pic.size());
    EXPECT_EQ(fitToPage(pic.size(), h.printing.page), job.pictures[0].target);
    EXPECT_EQ(h.printing.page.width(), job.pictures[0].target.width()) << "the page's width";

    // The paint area in the picture is the spectrum last drawn.
    McaPage& p = *h.form().MCAcollect;
    const QRect area = inPicture(h.form(), p.PaintBox1);
    const QImage spectrum = p.SPCImage.convertToFormat(QImage::Format_RGB32);
    const QImage printed = pic.copy(area).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(spectrum.size(), printed.size());
    int differing = 0, spectrumPixels = 0;
    for (int y = 0; y < spectrum.height(); ++y)
        for (int x = 0; x < spectrum.width(); ++x) {
            if (spectrum.pixel(x, y) != qRgb(255, 255, 255)) ++spectrumPixels;
            // The comment labels of a file read lie over the plot; none is shown here.
            if (spectrum.pixel(x, y) != printed.pixel(x, y)) ++differing;
        }
    EXPECT_GT(spectrumPixels, 1000) << "a spectrum was drawn";
    EXPECT_EQ(0, differing);
}

TEST(ScreenPrint, ACancelledPrintDialogStillPrintsAndAnotherPageIsPrintedAsShown) {
    Harness h;
    h.printing.printAnswer = false;
    h.form().PageMaster->setCurrentIndex(TForm9::kScan2D);
    QCoreApplication::processEvents();
    h.form().SpeedButton15->click();
    EXPECT_EQ(1, h.printing.printDialogs);
    ASSERT_EQ(size_t{1}, h.printing.jobs.size());
    const QImage& pic = h.printing.jobs[0].pictures.at(0).image;
    // The element map of the 2D SCAN page is where it lies on that page.
    PaintBox* map = h.form().NonStop2Dcollect->PaintBox2D;
    ASSERT_FALSE(map->shownImage().isNull());
    const QImage drawn = map->shownImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(drawn, pic.copy(inPicture(h.form(), map)).convertToFormat(QImage::Format_RGB32));
}

TEST(ScreenPrint, APrinterThatCannotStartIsSaidOnTheStatusBar) {
    Harness h;
    h.printing.canStart = false;
    h.alerts.clear();
    h.form().SpeedButton15->click();
    EXPECT_TRUE(h.printing.jobs.empty());
    EXPECT_EQ(QStringList{QStringLiteral("プリンタが印刷を始められません")}, h.alerts.statusTexts);
    EXPECT_TRUE(h.alerts.messages.isEmpty());
}

namespace {

// The program's own printing, into a PDF file, with a print dialog that answers at once.
class PdfPrinting : public QtPrinting {
public:
    explicit PdfPrinting(const QString& file) {
        printer().setOutputFormat(QPrinter::PdfFormat);
        printer().setOutputFileName(file);
    }
    bool printDialog() override {
        ++dialogs;
        return false;
    }
    int dialogs = 0;
};

}  // namespace

TEST(ScreenPrint, PrintedToAPdfFileItIsOnePageWithThePictureOfTheWindow) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("screen.pdf"));
    FakeAlerts alerts;
    FakeSounds sounds;
    FakeDialogs dialogs;
    ManualClock clock;
    PdfPrinting printing(pdf);
    Services svc{alerts, sounds, dialogs, clock, printing};
    Kx10Simulator sim(clock);
    TForm9 form(svc, sim, dir.path());
    form.createDialogs();
    form.show();
    QCoreApplication::processEvents();
    acquire(form, [&] {
        clock.advance(800);
        form.Timer1Timer();
    });
    form.SpeedButton15->click();

    EXPECT_EQ(1, printing.dialogs);
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    const QString text = QString::fromLatin1(bytes);
    EXPECT_EQ(1, text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))));
    QByteArray title("(\xfe\xff");  // the job title as the document's, in UTF-16
    for (char c : QByteArray("NORDA2")) title += QByteArray(1, '\0') + c;
    EXPECT_TRUE(bytes.contains("/Title " + title + ")")) << "the job title is the document's";
    const int menu = form.menuBar()->geometry().bottom() + 1;
    const QRegularExpression image(
        QStringLiteral("/Subtype\\s*/Image[^>]*/Width\\s+(\\d+)[^>]*/Height\\s+(\\d+)"));
    const QRegularExpressionMatch m = image.match(text);
    ASSERT_TRUE(m.hasMatch()) << "the window's picture is in the page";
    EXPECT_EQ(form.width(), m.captured(1).toInt());
    EXPECT_EQ(form.height() - menu, m.captured(2).toInt());
}
