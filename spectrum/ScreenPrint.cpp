#include "spectrum/ScreenPrint.h"

namespace qor {

const char* const kScreenPrintTitle = "NORDA2";

bool printScreen(Printing& printing, const std::function<QImage()>& picture) {
    printing.printDialog();
    const QImage image = picture();
    std::unique_ptr<PrintCanvas> job = printing.beginJob(QString::fromLatin1(kScreenPrintTitle));
    if (!job) return false;
    job->drawImage(fitToPage(image.size(), job->pageRect()), image);
    return true;   // the page goes to the printer when the job ends here
}

}  // namespace qor
