#pragma once
// Which peak search "自" and "近" use, and the fitting search's own choices. They live in the
// program's settings file (keys "peak.search", "peak.fit.width", "peak.fit.a", "peak.fit.b"), not
// in the information file, whose fields keep only what the earlier program knows.

#include "app/ProgramSettings.h"

namespace qor {

struct FitSearchSettings {
    bool fit = false;          // "peak.search": "fit", or "standard" (the derivative-filter search)
    bool freeWidth = false;    // "peak.fit.width": "free", or "tied" to the resolution curve
    bool curveGiven = false;   // both "peak.fit.a" and "peak.fit.b" hold numbers
    double a = 0, b = 0;       // FWHM^2 = a + b * channel, channels

    // Anything unknown or missing reads as the default: the standard search, tied widths, the
    // curve fitted from the peaks.
    static FitSearchSettings read(const ProgramSettings& settings);
    void write(ProgramSettings& settings) const;
};

}  // namespace qor
