#pragma once
// The peak commands of the MCA page, free of widgets: the automatic peak search that turns every
// significant peak of the shown spectrum into a ROI, and the measurement of the peak near the
// cursor (nearest peak to ROI, FWHM). The handlers add the messages, the report and the redraw.

#include "analysis/AutoRoiUndo.h"
#include "analysis/Merincalc.h"
#include "app/InfoRecord.h"
#include "spectrum/SpectrumState.h"

#include <cstdint>

namespace qor {

constexpr int kPeakEntries = 100;     // result entries 0..99
constexpr int kPeakSearchMax = 99;    // peaks of one automatic search

// Results of the last peak commands, kept by the main window for the whole run. Entry i is peak
// i + 1 of the automatic search, or ROI number i for the nearest-peak commands.
struct PeakResults {
    double PeakChannel[kPeakEntries] = {};
    int32_t PeakLow[kPeakEntries] = {};
    int32_t PeakHigh[kPeakEntries] = {};
    double PeakFwhm[kPeakEntries] = {};
    double PeakNet[kPeakEntries] = {};
    double PeakBackground[kPeakEntries] = {};
    double PeakError[kPeakEntries] = {};
    int32_t PeakCandidate[kPeakEntries] = {};
    int32_t PeakCount = 0;
    // Filter row, first channel, end channel, maximum peaks, significance factor.
    double PeakSearchParams[5] = {};
};

// The analysis engine handle of the main window and the peak results.
struct AnalysisState {
    CMerinCalcc Merin;
    PeakResults peaks;
    RoiTableBackup autoRoiUndo;   // the ROI table the last "自" replaced
};

// Filter row of a DerivFilterIndex: 0, 1, 2 for the Gaussian filters, 3 for both 7- and 9-point
// polynomial choices (3 and 4), 4 for the 13-point polynomial, 5 for the point-count choice;
// -1 for an index outside 0..6.
int derivFilterRow(int32_t derivFilterIndex);
// Significance factor of a SigmaIndex: 1.5, 2.0, ... 5.0 for 0..7 (held inside the list).
double sigmaFactor(int32_t sigmaIndex);

// Copies channels 0..4095 of a slot into the engine's input.
void copySlotToEngine(CMerinCalcc& engine, const int32_t* slot);

// The automatic peak search on slot s: clears ROI 0..99 of the slot and the result entries,
// copies the spectrum in, fills PeakSearchParams, runs the narrow search (PeakWidthIndex 0) or
// the wide search (candidates, each measured with ExpectedFwhm), and makes peak k ROI k of the
// slot, its ends held inside channels 0..4095. Returns PeakCount.
int32_t autoPeakSearch(CMerinCalcc& engine, PeakResults& res, InfoRecord& rec,
                       const SpectrumState& sp, int s);

// Measures the peak around the cursor of slot s with ExpectedFwhm into entry n = CurrentRoi[s]
// and tells whether it is a peak: not when its error times `factor` exceeds its net counts or
// its net counts are below 10. For a peak the readout values are filled and shown; with
// `setRoi` the peak also becomes ROI n and the current ROI number moves on (not past 99).
bool measureNearestPeak(CMerinCalcc& engine, PeakResults& res, InfoRecord& rec,
                        SpectrumState& sp, int s, double factor, bool setRoi);

}  // namespace qor
