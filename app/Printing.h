#pragma once
// Printing: the print and printer set-up dialogs, and print jobs drawn on a canvas. Production
// prints with QPrinter (app/QtPrinting); tests read back what a job drew.

#include <QImage>
#include <QRect>
#include <QString>
#include <memory>

namespace qor {

// One print job. Coordinates are the printer's device units, origin at the top left of the
// printable area. The job is handed to the printing service when the canvas is destroyed.
class PrintCanvas {
public:
    virtual ~PrintCanvas() = default;
    // The printable area of a page, in device units.
    virtual QRect pageRect() const = 0;
    // Sets the font family for the following texts; the size stays the printer's default.
    virtual void setFontName(const QString& family) = 0;
    // Prints `text` with its top left corner at (x, y).
    virtual void textOut(int x, int y, const QString& text) = 0;
    // Draws `image` scaled into `target`.
    virtual void drawImage(const QRect& target, const QImage& image) = 0;
    // Ends the current page and begins the next.
    virtual void newPage() = 0;
};

class Printing {
public:
    virtual ~Printing() = default;
    // The print dialog (printer choice and settings); true when the operator confirms it.
    virtual bool printDialog() = 0;
    // The printer set-up dialog; true when the operator confirms it.
    virtual bool printerSetupDialog() = 0;
    // Begins a job titled `title` on the selected printer; null when the printer cannot start.
    virtual std::unique_ptr<PrintCanvas> beginJob(const QString& title) = 0;
};

// `image` scaled to fit `page` with its proportions kept, centred horizontally, at the top.
QRect fitToPage(const QSize& image, const QRect& page);

}  // namespace qor
