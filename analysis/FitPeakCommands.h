#pragma once
// "自" and "近" with the fitting search, free of widgets: the same result entries and ROIs as
// the derivative-filter search, filled from the fitted peaks (centroid, FWHM, net area and its
// standard error, the fitted continuum under the ROI), each ROI the centroid -+ 1.5 FWHM.

#include "analysis/FitSearch.h"
#include "analysis/FitSearchSettings.h"
#include "analysis/PeakAnalysis.h"

#include <vector>

namespace qor {

// The slot's channels as counts, channels 0 and 1 (live and real time) replaced by channel 2.
std::vector<double> slotCounts(const int32_t* slot, int channels);

// The search's options from the record (the significance choice, no lower than 3.0, and the
// expected FWHM) and the settings (widths, the operator's resolution curve).
FitSearchOptions fitSearchOptions(const InfoRecord& rec, const FitSearchSettings& settings,
                                  double significance);

// The automatic search on slot s with the fitting search: clears ROI 0..99 and the result
// entries, then peak k becomes entry k - 1 and ROI k (at most 99 peaks). Returns PeakCount.
int32_t autoFitSearch(PeakResults& res, InfoRecord& rec, const SpectrumState& sp,
                      const FitSearchSettings& settings, int s);

// Fits the group at the cursor of slot s; the fitted peak nearest the cursor, within 1.5 FWHM of
// it and at least `factor` standard errors strong, fills entry CurrentRoi[s] and the readout;
// with `setRoi` it also becomes that ROI and the current ROI moves on. False: no such peak.
bool measureNearestFit(PeakResults& res, InfoRecord& rec, SpectrumState& sp,
                       const FitSearchSettings& settings, int s, double factor, bool setRoi);

}  // namespace qor
