#include "scan/ElementScanProgress.h"

#include "instrument/Pulses.h"

#include <algorithm>
#include <cmath>

namespace qor {

namespace {
constexpr double kDecimalSlack = 1e-9;       // of a Y step
constexpr int64_t kStrokeOverheadMs = 2 * 250;
constexpr int64_t kMaxStrokes = 1000000000;  // beyond any sweep that could ever end
}  // namespace

bool elemYBeyondEnd(const InfoRecord& r, double y) {
    return y > r.ElemScanYEnd + kDecimalSlack * r.ElemScanYStep;
}

double elemStrokeY(const InfoRecord& r, int64_t k) {
    return r.ElemScanYStart + static_cast<double>(k) * r.ElemScanYStep;
}

int64_t plannedStrokes(const InfoRecord& r) {
    const double span = (r.ElemScanYEnd - r.ElemScanYStart) / r.ElemScanYStep;
    if (!std::isfinite(span) || r.ElemScanYStep <= 0.0 || span < -1.0) return 0;
    if (span > static_cast<double>(kMaxStrokes)) return kMaxStrokes;
    // The first k whose Y lies beyond Y end, found from the quotient and settled by the very
    // test the sweep makes; that stroke is the last one.
    int64_t k = std::max<int64_t>(0, static_cast<int64_t>(std::floor(span)) + 1);
    while (k > 0 && elemYBeyondEnd(r, elemStrokeY(r, k - 1))) --k;
    while (!elemYBeyondEnd(r, elemStrokeY(r, k))) ++k;
    return k + 1;
}

int64_t estimatedStrokeMs(const InfoRecord& r) {
    const int64_t pulses = std::llabs(int64_t(logicalToPulses(r.MotorLogicalPulses[0], r.ElemScanXEnd)) -
                                      logicalToPulses(r.MotorLogicalPulses[0], r.ElemScanXStart));
    const int32_t pps = std::max(r.ElemScanSpeedPps, 1);
    return pulses * 1000 / pps + kStrokeOverheadMs;
}

}  // namespace qor
