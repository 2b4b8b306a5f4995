#include "app/QtPrinting.h"

#include <QFontMetrics>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>

namespace qor {

QRect fitToPage(const QSize& image, const QRect& page) {
    if (image.isEmpty() || page.isEmpty()) return QRect(page.topLeft(), QSize(0, 0));
    const QSize scaled = image.scaled(page.size(), Qt::KeepAspectRatio);
    return QRect(page.left() + (page.width() - scaled.width()) / 2, page.top(), scaled.width(),
                 scaled.height());
}

namespace {

class QtPrintCanvas : public PrintCanvas {
public:
    explicit QtPrintCanvas(QPrinter& printer) : printer_(printer), painter_(&printer) {}
    bool active() const { return painter_.isActive(); }

    QRect pageRect() const override {
        return QRect(QPoint(0, 0), printer_.pageRect(QPrinter::DevicePixel).size().toSize());
    }
    void setFontName(const QString& family) override {
        QFont f = painter_.font();
        f.setFamily(family);
        painter_.setFont(f);
    }
    void textOut(int x, int y, const QString& text) override {
        painter_.drawText(x, y + QFontMetrics(painter_.font(), &printer_).ascent(), text);
    }
    void drawImage(const QRect& target, const QImage& image) override {
        painter_.drawImage(target, image);
    }
    void newPage() override { printer_.newPage(); }

private:
    QPrinter& printer_;
    QPainter painter_;
};

}  // namespace

bool QtPrinting::printDialog() {
    QPrintDialog dialog(&printer_, parent_.data());
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrinting::printerSetupDialog() {
    QPageSetupDialog dialog(&printer_, parent_.data());
    return dialog.exec() == QDialog::Accepted;
}

std::unique_ptr<PrintCanvas> QtPrinting::beginJob(const QString& title) {
    printer_.setDocName(title);
    auto canvas = std::make_unique<QtPrintCanvas>(printer_);
    if (!canvas->active()) return nullptr;
    return canvas;
}

}  // namespace qor
