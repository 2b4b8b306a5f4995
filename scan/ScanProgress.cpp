#include "scan/ScanProgress.h"

#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <cmath>

namespace qor {

namespace {
constexpr int64_t kTickMs = 250;
constexpr int64_t kTicksBetweenStrokes = 5;   // states 50, 51, 60, 70 and 30

// Milliseconds that `pulses` take at `pps` pulses per second (a speed below 1 counts as 1).
int64_t moveMs(int64_t pulses, int32_t pps) {
    const double ms = std::fabs(static_cast<double>(pulses)) * 1000.0 / std::max(pps, 1);
    return static_cast<int64_t>(std::min(ms, 3.15e13));   // held below a thousand years
}
}  // namespace

int32_t plannedPlanes(const InfoRecord& r) {
    return r.ScanUseZ == 1 && r.ZCount >= 0 ? r.ZCount + 1 : 1;
}

int32_t passesPerPlane(const InfoRecord& r) { return std::max(r.ScanRepeat, 1); }

int64_t plannedPixels(const InfoRecord& r) {
    // Repeats and planes may be absurd: the product saturates instead of overflowing.
    const int64_t factors[] = {std::max(r.ScanXSteps, 0), std::max(r.ScanYSteps, 0),
                               passesPerPlane(r), plannedPlanes(r)};
    int64_t n = 1;
    for (int64_t f : factors)
        if (__builtin_mul_overflow(n, f, &n)) return INT64_MAX;
    return n;
}

int64_t estimatedLineMs(const InfoRecord& r) {
    const int64_t line = static_cast<int64_t>(r.ScanXPixelPulses) * r.ScanXSteps;
    const int64_t stroke = moveMs(line, r.ScanXSpeedPps);
    const int64_t back = r.ScanMethod == 0 ? moveMs(line, r.MotorMaxSpeed[0])
                                           : moveMs(r.XBacklashPulses, r.MotorMaxSpeed[0]);
    const int64_t step = moveMs(r.ScanYPixelPulses, r.MotorMaxSpeed[1]);
    return stroke + back + step + kTicksBetweenStrokes * kTickMs;
}

int64_t timeLeftMs(int64_t remaining, int32_t pixelsPerLine, int64_t lineMs) {
    if (remaining <= 0 || pixelsPerLine <= 0 || lineMs <= 0) return 0;
    // In double precision: the product of an absurd scan would overflow 64 bits; held below
    // a thousand years.
    const double ms = static_cast<double>(remaining) * static_cast<double>(lineMs) / pixelsPerLine;
    return static_cast<int64_t>(std::min(ms, 3.15e13));
}

void formatDuration(int64_t ms, char (&out)[16]) {
    // Held at 99999:59:59, so that any duration fits the text.
    const int64_t s = std::min<int64_t>(std::max<int64_t>(ms, 0) / 1000, 99999LL * 3600 + 3599);
    const int hours = static_cast<int>(s / 3600);
    std::snprintf(out, sizeof out, "%d:%02d:%02d", hours, static_cast<int>(s / 60 % 60),
                  static_cast<int>(s % 60));
}

}  // namespace qor
