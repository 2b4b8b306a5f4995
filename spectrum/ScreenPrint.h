#pragma once
// The screen print: the picture of the main window, the spectrum in place, as one page.

#include "app/Printing.h"

#include <QImage>
#include <functional>

namespace qor {

extern const char* const kScreenPrintTitle;   // "NORDA2"

// Shows the print dialog (it only chooses the printer: the page is printed whatever the answer),
// then prints `picture()` on one page of a job titled "NORDA2", scaled to the page with its
// proportions kept. False when the printer could not start the job.
bool printScreen(Printing& printing, const std::function<QImage()>& picture);

}  // namespace qor
