// Live and real time in seconds, the dead time, and the readout under the preset box.

#include "spectrum/SpectrumView.h"
#include "spectrum/TimeFigures.h"
#include "spectrum/ViewReadouts.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

using namespace qor;

// A 45 s live measurement that took 53.66 s: the plot says so beside its ticks, with 16.1 % dead
// time; no real time, no dead time.
TEST(TimeFigures, SecondsAndDeadTimeStandBesideTheTicks) {
    auto sp = std::make_unique<SpectrumState>();
    auto rec = std::make_unique<InfoRecord>();
    sp->PlotWidth = 999;
    sp->PlotHeight = 559;
    sp->slot[0][0] = 4500;
    sp->slot[0][1] = 5366;
    ViewReadouts out;
    formatViewReadouts(*sp, *rec, out);
    EXPECT_EQ(std::string("Livetime  4500   "), out.live.text) << "the ticks stay as they were";
    EXPECT_EQ(std::string("45.00 s"), out.liveSeconds.text);
    EXPECT_EQ(std::string("53.66 s"), out.realSeconds.text);
    EXPECT_EQ(std::string("Deadtime  16.1 %"), out.deadTime.text);
    // The seconds end left of the ticks, on their rows; the dead time under them.
    EXPECT_TRUE(out.liveSeconds.alignRight);
    EXPECT_EQ(999 - kSecondsRightOffset, out.liveSeconds.x);
    EXPECT_LT(out.liveSeconds.x, out.live.x);
    EXPECT_EQ(out.live.y, out.liveSeconds.y);
    EXPECT_EQ(out.real.y, out.realSeconds.y);
    EXPECT_GT(out.deadTime.y, out.real.y);

    char dead[24];
    formatDeadTime(0, 0, dead);
    EXPECT_EQ(std::string("Deadtime    -- %"), dead);
}

// The box's value in seconds; while MCA1 measures on another preset, that preset; while the
// element scan's sweep holds MCA1, its progress.
TEST(TimeFigures, PresetReadoutTellsThePresetInForce) {
    char out[64];
    PresetReadoutInput in;
    in.boxValid = true;
    in.boxTicks = 4500;
    EXPECT_FALSE(formatPresetReadout(in, out));
    EXPECT_EQ(std::string("= 45.00 s"), out);

    in.sentKnown = true;
    in.sentTicks = 4500;
    in.measuring = true;
    EXPECT_FALSE(formatPresetReadout(in, out)) << "the box's value is in force";
    EXPECT_EQ(std::string("= 45.00 s"), out);

    in.boxTicks = 9000;   // typed while the 45 s measurement runs
    EXPECT_TRUE(formatPresetReadout(in, out));
    EXPECT_EQ(std::string("測定中 45.00 s"), out);
    in.measuring = false;
    EXPECT_FALSE(formatPresetReadout(in, out)) << "done: the box's value is for the next START";
    EXPECT_EQ(std::string("= 90.00 s"), out);

    in.sentBySweep = true;
    in.sentTicks = 100000;
    in.measuring = true;
    in.sweepProgress = "元素Scan 3/33  0:00:21  残 0:03:40";
    EXPECT_TRUE(formatPresetReadout(in, out));
    EXPECT_EQ(std::string("元素Scan 3/33  0:00:21  残 0:03:40"), out);
    in.sweepProgress = "";
    EXPECT_TRUE(formatPresetReadout(in, out));
    EXPECT_EQ(std::string("測定中 1000.00 s"), out);

    in = PresetReadoutInput{};
    EXPECT_FALSE(formatPresetReadout(in, out));
    EXPECT_EQ(std::string(""), out) << "a box without a number";
}
