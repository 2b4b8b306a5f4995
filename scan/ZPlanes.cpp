#include "scan/ZPlanes.h"

#include "instrument/Pulses.h"

namespace qor {

double zPlaneScaled(const InfoRecord& r, int scanZ) {
    const float start = static_cast<float>(r.ZStart);
    const float end = static_cast<float>(r.ZEnd);
    const float step = static_cast<float>(r.ZStep);
    const bool rising = start < end;
    const float offset = rising ? static_cast<float>(scanZ) * step
                                : 0.0f - static_cast<float>(scanZ) * step;
    const float target = start + offset;
    const float scaled = static_cast<float>(r.MotorLogicalPulses[2]) * target;
    return static_cast<double>(rising ? scaled + 0.5f : scaled - 0.5f);
}

int32_t zPlanePulses(const InfoRecord& r, int scanZ) { return truncToInt32(zPlaneScaled(r, scanZ)); }

}  // namespace qor
