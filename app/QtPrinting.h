#pragma once
// Printing through QPrinter: QPrintDialog and QPageSetupDialog choose the printer, a QPainter on
// the printer is the canvas.

#include "app/Printing.h"

#include <QPointer>
#include <QPrinter>

class QWidget;

namespace qor {

class QtPrinting : public Printing {
public:
    void setParent(QWidget* parent) { parent_ = parent; }
    bool printDialog() override;
    bool printerSetupDialog() override;
    std::unique_ptr<PrintCanvas> beginJob(const QString& title) override;

    // The selected printer and its settings, kept between jobs (an output file name makes the
    // job a PDF file).
    QPrinter& printer() { return printer_; }

private:
    QPointer<QWidget> parent_;
    QPrinter printer_{QPrinter::HighResolution};
};

}  // namespace qor
