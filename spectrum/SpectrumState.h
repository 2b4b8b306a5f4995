#pragma once
// The three spectrum slots (0 MCA1, 1 MCA2, 2 WORK) and the view state of the MCA page.

#include <QRgb>
#include <cstdint>

namespace qor {

constexpr int kSlotCount = 3;
constexpr int kSlotChannels = 4096;
constexpr int kSlotWork = 2;

struct SpectrumState {
    int32_t slot[kSlotCount][kSlotChannels] = {};

    // View state (one channel window shared by all slots; cursor and current ROI per slot).
    int32_t ViewSlot = 0;
    int32_t CursorChannel[8] = {};
    int32_t CurrentRoi[8] = {};
    int32_t ViewStartChannel = 0;
    int32_t ViewEndChannel = 0;
    int32_t ViewChannelSpan = 0;
    int32_t FullScale = 0;        // counts at the top in linear scale; 0 = logarithmic
    int16_t FullScaleStep = 0;
    int32_t PlotWidth = 0;        // paint area width - 1
    int32_t PlotHeight = 0;       // paint area height - 1
    int32_t OverlapOn = 0;
    QRgb OverlapColour = qRgb(16, 128, 16);
    int32_t OverlapColourIndex = 0;

    // Nearest-peak readout.
    double PeakInfoChannel = 0, PeakInfoFwhm = 0, PeakInfoBackground = 0, PeakInfoNet = 0,
           PeakInfoError = 0;
    int32_t PeakInfoKind = 0;
    int32_t PeakInfoVisible = 0;

    // ROI colours: entry 0 black, ROI r uses entry ((r - 1) mod 10) + 1 of the 10-colour cycle.
    QRgb RoiColour[101] = {};
};

// Fills the ROI colour cycle.
void fillRoiColours(SpectrumState& s);
// The start-up ramps: MCA1[c] = c, MCA2[c] = c + 2000, WORK[c] = c + 3000.
void fillSlotTestPatterns(SpectrumState& s);

}  // namespace qor
