#pragma once
// Identification of the peaks of a spectrum against a line table: which elements (or
// radionuclides) explain the peaks, ranked, and which line each peak is.
//
// The input is a plain list of peaks with their energies, whatever search found them. Each
// candidate source is judged on every line of each of its families inside the spectrum's energy
// range: the line that matches the strongest peak sets the family's scale, and every other line
// is then expected at that scale times its relative intensity. Matched lines count for the
// source as far as the observed and expected counts agree; a line that should stand clearly
// above the weakest peak found but is missing counts against it (an element whose Kα matches
// but whose strong Kβ is missing ranks low). Sources are chosen best first; the peaks a chosen
// source explains are taken out before the next is judged, so one peak does not make two
// elements.
//
// Before that, the detector's escape peaks (a strong peak's energy less the silicon Kα energy,
// far weaker than that peak) and sum peaks (the sum of two of the strongest peaks' energies, far
// weaker than both) are recognised and kept out of the ranking.

#include "analysis/EnergyScale.h"
#include "analysis/LineTable.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qor {

struct PeakResults;

struct PeakInput {
    double channel = 0.0;
    double energyKeV = 0.0;
    double fwhmKeV = 0.0;    // 0 when unknown: the default tolerance applies
    double net = 0.0;
    double error = 0.0;
};

struct IdentifyOptions {
    double toleranceShare = 0.5;        // tolerance = this share of the peak's FWHM ...
    double minToleranceKeV = 0.04;      // ... but not below this
    double maxToleranceKeV = 0.25;      // ... nor above this
    double defaultToleranceKeV = 0.10;  // for a peak without a FWHM
    double rangeLoKeV = 1.0;            // lines outside [lo, hi] are not expected
    double rangeHiKeV = 1.0e9;
    double escapeKeV = 1.740;           // silicon Kα: the escape peak's distance to its parent
    double escapeShare = 0.05;          // an escape peak holds less than this share of its parent
    double sumShare = 0.05;             // a sum peak holds less than this share of each parent
    int sumParents = 6;                 // sum peaks are sought among this many strongest peaks
    int maxSources = 30;
    // The spectrum the peaks came from (optional): a line missing from the peak list is then
    // looked for in the spectrum itself (net counts one FWHM either side of its channel over a
    // straight background), since a search can miss a weak line that is there.
    const int32_t* spectrum = nullptr;
    int32_t channels = 0;
    EnergyScale scale;
};

enum class PeakRole : uint8_t { Unassigned, Line, Escape, Sum };

struct PeakAssignment {
    PeakRole role = PeakRole::Unassigned;
    int line = -1;          // table line (role Line)
    int parentA = -1;       // parent peak (Escape), first parent (Sum)
    int parentB = -1;       // second parent (Sum)
    std::string text;       // "Fe Kα", "Fe Kα esc", "Fe Kα+Fe Kα sum"; empty when unassigned
};

struct ExplainedLine {
    int peak = 0;
    int line = 0;           // table line
};

struct IdentifiedSource {
    int source = 0;         // table source
    double score = 0.0;
    std::vector<ExplainedLine> explained;
};

struct Identification {
    std::vector<IdentifiedSource> ranked;   // best first
    std::vector<PeakAssignment> peaks;      // one per input peak
};

// Identifies `peaks` against `table`. Peaks with an energy that is not finite are left
// unassigned. The result's `peaks` has one entry per input peak.
Identification identifyPeaks(const LineTable& table, const std::vector<PeakInput>& peaks,
                             const IdentifyOptions& options);

// The energy range a spectrum of `scale` shows (its channels 20 .. channels - 20, not below
// 1 keV) written into options.
void setRangeFromScale(IdentifyOptions& options, const EnergyScale& scale);

// The peaks of the last automatic search with their energies on `scale`.
std::vector<PeakInput> peaksFromSearch(const PeakResults& res, const EnergyScale& scale);
// Measures each peak again on the spectrum it came from, for searches whose widths and net
// counts are rough: the peak's highest channel near its position, its edges where the counts
// (averaged over three channels) stop falling, a straight background between them, the net
// counts above it and the FWHM at half the height above it. A peak whose measurement fails
// keeps its values.
void remeasurePeaks(const int32_t* counts, int32_t channels, const EnergyScale& scale,
                    std::vector<PeakInput>& peaks);
// The ROIs 1..99 of a slot as peaks: the ROI's highest channel (or median channel for a wide
// ROI), its net counts by the view's ROI rule, a FWHM of a third of its width.
std::vector<PeakInput> peaksFromRois(const int32_t* counts, const int32_t* roiStart,
                                     const int32_t* roiEnd, int32_t channels,
                                     const EnergyScale& scale);

}  // namespace qor
