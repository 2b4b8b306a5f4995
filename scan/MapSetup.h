#pragma once
// Maps set up from identified elements: ROI k of MCA1 around the main line of the k-th chosen
// element (k = 1 .. at most 20), map slot ROI-k named after the element and enabled, the other
// map slots disabled, so that the next mapping scan maps exactly these elements.

#include "analysis/EnergyScale.h"
#include "analysis/Identify.h"
#include "analysis/LineTable.h"
#include "app/InfoRecord.h"

#include <string>
#include <vector>

namespace qor {

constexpr int kMapSetupSlots = 20;

// The detector's resolution measured on a spectrum's peaks: FWHM(E)^2 = a + b E fitted by
// least squares to the peaks' widths (a constant width when the fit is not possible).
struct Resolution {
    double a = 0.0, b = 0.0;
    bool known = false;
    static Resolution fromPeaks(const std::vector<PeakInput>& peaks);
    // FWHM in keV at energy e; `fallback` when nothing was measured.
    double fwhmKeV(double e, double fallback = 0.15) const;
};

struct MapPlanEntry {
    std::string name;      // the element (or nuclide) name: the map's name
    std::string line;      // its main line, "Fe Kα"
    double energyKeV = 0.0;
    int32_t lo = 0, hi = 0;   // the ROI of MCA1
};

// Plans the maps of `sources` (ranked sources of `id`, in the order given, at most 20): each
// around the line explaining the largest peak of its source, one FWHM either side, in channels
// of `scale` (MCA1's calibration). An entry whose line falls outside the channels is left out.
std::vector<MapPlanEntry> planMaps(const LineTable& table, const Identification& id,
                                   const std::vector<PeakInput>& peaks,
                                   const std::vector<int>& sources, const EnergyScale& scale);

// True when applying `plan` replaces something set: one of ROI 1..n of MCA1 is defined, or a map
// slot is enabled.
bool mapPlanReplaces(const InfoRecord& rec, const std::vector<MapPlanEntry>& plan);

// Writes the plan: ROI k of MCA1, map slot k - 1 named and enabled, the remaining slots disabled.
void applyMapPlan(InfoRecord& rec, const std::vector<MapPlanEntry>& plan);

}  // namespace qor
