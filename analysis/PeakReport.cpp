#include "analysis/PeakReport.h"

#include "analysis/SlotIdentify.h"
#include "app/FieldText.h"
#include "spectrum/SpectrumView.h"

#include <algorithm>

namespace qor {

QString peakReportHeader() {
    return QStringLiteral(" No.   Peak[ch]   Energy[keV]    Low(ch)-Hi(ch)   FWHM(keV)     Net"
                          "          BG     (±)Error    Element");
}

double peakReportEnergy(const InfoRecord& rec, int s, double channel) {
    s = clampSlot(s);
    return rec.CalibA[s] != 0.0 ? rec.CalibA[s] + rec.CalibB[s] * channel : 0.0;
}

QString peakReportLine(const PeakResults& res, const InfoRecord& rec, int s, int i,
                       const LineState* lines) {
    i = std::clamp(i, 0, kPeakEntries - 1);
    const std::string element = lines ? reportElement(*lines, clampSlot(s), i) : "undef";
    return formatC("%3d    %8.2f      %8.2f    %6d -%5d    %6.2f    %9.2f    %9.2f    %7.2f      %s",
                   i + 1, res.PeakChannel[i], peakReportEnergy(rec, s, res.PeakChannel[i]),
                   res.PeakLow[i], res.PeakHigh[i], res.PeakFwhm[i], res.PeakNet[i],
                   res.PeakBackground[i], res.PeakError[i], "") +
           QString::fromStdString(element);
}

void printPeakReport(PrintCanvas& canvas, const PeakResults& res, const InfoRecord& rec, int s,
                     const LineState* lines) {
    canvas.setFontName(QStringLiteral("Terminal"));
    const QString header = peakReportHeader();
    canvas.textOut(kPeakReportX, kPeakReportHeaderY, header);
    const int count = std::clamp(res.PeakCount, 0, kPeakSearchMax);
    for (int i = 0; i < count; ++i) {
        const int line = i % kPeakReportLinesPerPage;
        if (i > 0 && line == 0) {
            canvas.newPage();
            canvas.textOut(kPeakReportX, kPeakReportHeaderY, header);
        }
        canvas.textOut(kPeakReportX, kPeakReportFirstLineY + kPeakReportLineStep * line,
                       peakReportLine(res, rec, s, i, lines));
    }
}

}  // namespace qor
