#pragma once
// The printed peak report of the automatic peak search: one header and up to 71 peak lines a
// page, in the printer font "Terminal", at fixed printer-canvas positions.

#include "analysis/LineState.h"
#include "analysis/PeakAnalysis.h"
#include "app/InfoRecord.h"
#include "app/Printing.h"

#include <QString>

namespace qor {

constexpr int kPeakReportLinesPerPage = 71;
constexpr int kPeakReportX = 150;
constexpr int kPeakReportHeaderY = 100;
constexpr int kPeakReportFirstLineY = 200;
constexpr int kPeakReportLineStep = 50;

// The header line printed at the top of every page.
QString peakReportHeader();
// Energy column of a peak: CalibA + CalibB * channel of slot s when CalibA is not 0, else 0
// (the higher calibration terms are not used here).
double peakReportEnergy(const InfoRecord& rec, int s, double channel);
// The report line of peak entry i (numbered i + 1); its Element column names the line the last
// identification of slot s assigned to the peak (`lines` null or no line: "undef").
QString peakReportLine(const PeakResults& res, const InfoRecord& rec, int s, int i,
                       const LineState* lines = nullptr);
// Prints the report of the last automatic search on slot s.
void printPeakReport(PrintCanvas& canvas, const PeakResults& res, const InfoRecord& rec, int s,
                     const LineState* lines = nullptr);

}  // namespace qor
