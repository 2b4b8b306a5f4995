#include "spectrum/TimeFigures.h"

#include <cstdio>

namespace qor {

double ticksToSeconds(int32_t ticks) { return static_cast<double>(ticks) / 100.0; }

void formatSeconds(int32_t ticks, char (&out)[24]) {
    std::snprintf(out, sizeof out, "%.2f s", ticksToSeconds(ticks));
}

bool deadTimePercent(int32_t liveTicks, int32_t realTicks, double& percent) {
    if (realTicks <= 0) return false;
    percent = 100.0 * (static_cast<double>(realTicks) - liveTicks) / realTicks;
    return true;
}

void formatDeadTime(int32_t liveTicks, int32_t realTicks, char (&out)[24]) {
    double pct = 0.0;
    if (deadTimePercent(liveTicks, realTicks, pct))
        std::snprintf(out, sizeof out, "Deadtime%6.1f %%", pct);
    else
        std::snprintf(out, sizeof out, "%s", "Deadtime    -- %");
}

bool formatPresetReadout(const PresetReadoutInput& in, char (&out)[64]) {
    const bool sweep = in.sentKnown && in.sentBySweep && in.sweepProgress && in.sweepProgress[0];
    if (sweep) {
        std::snprintf(out, sizeof out, "%s", in.sweepProgress);
        return true;
    }
    if (in.measuring && in.sentKnown && (!in.boxValid || in.sentTicks != in.boxTicks)) {
        std::snprintf(out, sizeof out, "測定中 %.2f s", ticksToSeconds(in.sentTicks));
        return true;
    }
    if (in.boxValid)
        std::snprintf(out, sizeof out, "= %.2f s", ticksToSeconds(in.boxTicks));
    else
        out[0] = '\0';
    return false;
}

}  // namespace qor
