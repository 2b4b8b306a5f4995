#pragma once
// Identification of a slot's peaks with the slot's own calibration and the table the Table menu
// chose, kept in the program's line state for the table pages, the report and the maps.

#include "analysis/LineState.h"
#include "analysis/PeakAnalysis.h"
#include "app/InfoRecord.h"
#include "spectrum/SpectrumState.h"

#include <string>

namespace qor {

enum class PeakSource { Search, Rois };

// Identifies the peaks of the last automatic search (PeakSource::Search) or the ROIs 1..99
// (PeakSource::Rois) of slot s into `lines` (slot, peaks, result). Without a calibration of the
// slot the identification is emptied and the result is false.
bool identifySlot(LineState& lines, const PeakResults& res, const InfoRecord& rec,
                  const SpectrumState& sp, int s, PeakSource from);

// The element text of search peak i for the report: the line assigned to it by the last
// identification of slot s, or "undef" when none is (no calibration, no match, another slot).
std::string reportElement(const LineState& lines, int s, int i);

}  // namespace qor
