#pragma once
// Live and real time in seconds and the dead time in percent, from the analyser's 10 ms ticks,
// formatted into fixed buffers (nothing allocates in a redraw). Free of widgets.

#include <cstdint>

namespace qor {

// Seconds of `ticks` 10 ms ticks.
double ticksToSeconds(int32_t ticks);

// "45.00 s".
void formatSeconds(int32_t ticks, char (&out)[24]);

// Dead time (real - live) / real in percent; false when the real time is not positive (no
// dead time can be told).
bool deadTimePercent(int32_t liveTicks, int32_t realTicks, double& percent);

// "Deadtime  16.1 %", or "Deadtime    -- %" when no dead time can be told.
void formatDeadTime(int32_t liveTicks, int32_t realTicks, char (&out)[24]);

// What the readout under the preset box says, in UTF-8:
// - while the element scan's sweep holds MCA1 (its own preset sent) and has progress to show:
//   that progress (`sweepProgress`);
// - while MCA1 measures with a preset other than the box's value: "測定中 1000.00 s", the preset
//   in force;
// - otherwise the box's value in seconds, "= 45.00 s" (nothing for a box without a number).
struct PresetReadoutInput {
    bool boxValid = false;
    int32_t boxTicks = 0;
    bool measuring = false;        // MCA1's status says it measures
    bool sentKnown = false;        // the preset MCA1 was last started with
    bool sentBySweep = false;
    int32_t sentTicks = 0;
    const char* sweepProgress = "";
};
// True when the readout shows a preset other than the box's (the box's value is not in force).
bool formatPresetReadout(const PresetReadoutInput& in, char (&out)[64]);

}  // namespace qor
