#pragma once
// Geometry and scale rules of the spectrum view, free of widgets: the channel window shared by
// all slots (zoom, scroll, clamp), the cursor, the vertical scale, the pixel height of a count,
// the overlay colour cycle and the channel-to-energy conversion.
//
// Every rule here keeps its results inside the 4096 channels of a slot: the window never starts
// below channel 0 or ends above 4095, and the cursor stays inside 0..4095, whatever channel count
// the record holds for the slot.

#include "app/InfoRecord.h"
#include "spectrum/SpectrumState.h"

#include <QRgb>
#include <cstdint>

namespace qor {

// The linear full-scale values selectable with the scale buttons.
constexpr int kFullScaleStepCount = 18;
extern const int32_t kFullScaleSteps[kFullScaleStepCount];

// The overlay colour cycle of the overlay colour button.
constexpr int kOverlapColourCount = 6;
extern const QRgb kOverlapColours[kOverlapColourCount];

// Smallest window the zoom-in produces.
constexpr int32_t kMinZoomSpan = 32;

// The channel count of a slot as the view uses it: the record's value held inside 1..4096.
int32_t viewChannels(int32_t slotViewChannels);

// A slot index held inside the three slots (0 MCA1, 1 MCA2, 2 WORK).
int clampSlot(int32_t slot);

// A channel held inside 0..4095.
int32_t clampChannel(int64_t channel);

// The window's clamp: a window that ends at or past the last channel N - 1 is moved so that it
// ends on N - 1; a window that would then start below channel 0 (wider than the slot) starts at 0
// and is shortened to the N channels of the slot. Finally the window is held inside 0..4095.
void clampWindow(SpectrumState& v, int32_t N);

// The window as the drawing reads it: start, span and end inside 0..4095 (span >= 1), without
// changing the view state.
struct ChannelWindow {
    int32_t start = 0;
    int32_t span = 1;
    int32_t end = 0;
};
ChannelWindow safeWindow(const SpectrumState& v);

// The view at start-up: MCA1 shown in logarithmic scale, the window over the whole of its
// `slotViewChannels` channels (held inside 1..4096, whatever the record holds), the cursor in
// the middle.
void resetView(SpectrumState& v, int32_t slotViewChannels);

// Zoom and scroll around the cursor of slot s; N is the slot's SlotViewChannels entry.
void zoomIn(SpectrumState& v, int s, int32_t N);
void zoomOut(SpectrumState& v, int s, int32_t N);
void scrollLeft(SpectrumState& v, int s, int32_t N);
void scrollRight(SpectrumState& v, int s, int32_t N);

// Cursor one channel left (not below the window start) / right (not above the window end).
void cursorLeft(SpectrumState& v, int s);
void cursorRight(SpectrumState& v, int s);
// The channel under pointer column x of a plot W pixels wide, rounded to the nearest channel and
// held inside the window.
void cursorToPixel(SpectrumState& v, int s, int x);

// Vertical scale. `slotData` is the viewed slot (4096 channels).
void autoScale(SpectrumState& v, const int32_t* slotData);
void scaleTaller(SpectrumState& v, const int32_t* slotData);   // next smaller full scale
void scaleShorter(SpectrumState& v, const int32_t* slotData);  // next larger full scale
void scaleLog(SpectrumState& v);

// The next colour of the overlay cycle.
void nextOverlapColour(SpectrumState& v);

// Height in pixels above the baseline B of count `value` at full scale F (0 = logarithmic, six
// decades over B). Points that would leave the plot (above B - 1 or below 0) go to the top row.
int pixelHeight(int32_t value, int32_t F, int B);

// Energy of channel x of slot s from the slot's calibration polynomial.
double ChannelToEnergy(const InfoRecord& rec, int s, double x);

}  // namespace qor
