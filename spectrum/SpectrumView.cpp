#include "spectrum/SpectrumView.h"

#include <algorithm>
#include <cmath>

namespace qor {

const int32_t kFullScaleSteps[kFullScaleStepCount] = {
    100,     200,     500,      1000,     2000,     5000,     10000,    20000,    50000,
    100000,  200000,  500000,   1000000,  2000000,  5000000,  10000000, 20000000, 50000000};

const QRgb kOverlapColours[kOverlapColourCount] = {qRgb(0, 128, 0),   qRgb(255, 0, 0),
                                                   qRgb(0, 0, 255),   qRgb(0, 255, 0),
                                                   qRgb(255, 0, 255), qRgb(128, 0, 0)};

int32_t viewChannels(int32_t n) { return std::clamp<int32_t>(n, 1, kSlotChannels); }

int clampSlot(int32_t slot) { return std::clamp<int32_t>(slot, 0, kSlotCount - 1); }

int32_t clampChannel(int64_t channel) {
    return static_cast<int32_t>(std::clamp<int64_t>(channel, 0, kSlotChannels - 1));
}

void clampWindow(SpectrumState& v, int32_t N) {
    N = viewChannels(N);
    if (v.ViewChannelSpan < 1) v.ViewChannelSpan = 1;
    v.ViewEndChannel = v.ViewStartChannel + v.ViewChannelSpan - 1;
    if (v.ViewEndChannel >= N) {
        v.ViewStartChannel = N - v.ViewChannelSpan;
        v.ViewEndChannel = N - 1;
    }
    if (v.ViewStartChannel < 0) {
        // Wider than the slot: show the whole slot.
        v.ViewStartChannel = 0;
        v.ViewChannelSpan = std::min(v.ViewChannelSpan, N);
    }
    v.ViewStartChannel = std::min(v.ViewStartChannel, kSlotChannels - 1);
    v.ViewChannelSpan = std::min(v.ViewChannelSpan, kSlotChannels - v.ViewStartChannel);
    v.ViewEndChannel = v.ViewStartChannel + v.ViewChannelSpan - 1;
}

ChannelWindow safeWindow(const SpectrumState& v) {
    ChannelWindow w;
    w.start = std::clamp<int32_t>(v.ViewStartChannel, 0, kSlotChannels - 1);
    w.span = std::clamp<int32_t>(v.ViewChannelSpan, 1, kSlotChannels - w.start);
    w.end = w.start + w.span - 1;
    return w;
}

void resetView(SpectrumState& v, int32_t slotViewChannels) {
    const int32_t n = viewChannels(slotViewChannels);
    v.ViewSlot = 0;
    v.FullScale = 0;
    v.ViewStartChannel = 0;
    v.ViewChannelSpan = n;
    v.ViewEndChannel = n - 1;
    v.CursorChannel[0] = n / 2;
}

namespace {
// Centre a window of the current span on the cursor, then clamp it.
void centreOnCursor(SpectrumState& v, int s, int32_t N) {
    const int64_t start = int64_t(v.CursorChannel[s]) - v.ViewChannelSpan / 2;
    v.ViewStartChannel = static_cast<int32_t>(std::clamp<int64_t>(start, 0, kSlotChannels - 1));
    clampWindow(v, N);
}
}  // namespace

void zoomIn(SpectrumState& v, int s, int32_t N) {
    if (v.ViewChannelSpan <= kMinZoomSpan) return;
    v.ViewChannelSpan /= 2;
    centreOnCursor(v, s, N);
}

void zoomOut(SpectrumState& v, int s, int32_t N) {
    N = viewChannels(N);
    if (v.ViewChannelSpan >= N) return;
    v.ViewChannelSpan = std::min(std::max(v.ViewChannelSpan, 1) * 2, N);
    centreOnCursor(v, s, N);
}

void scrollLeft(SpectrumState& v, int s, int32_t N) {
    const int32_t half = v.ViewChannelSpan / 2;
    if (half < v.ViewStartChannel)
        v.ViewStartChannel -= half;
    else
        v.ViewStartChannel = 0;
    v.CursorChannel[s] = clampChannel(int64_t(v.ViewStartChannel) + v.ViewChannelSpan / 2);
    clampWindow(v, N);
}

void scrollRight(SpectrumState& v, int s, int32_t N) {
    N = viewChannels(N);
    const int32_t half = v.ViewChannelSpan / 2;
    if (v.ViewStartChannel < N - half)
        v.ViewStartChannel += half;
    else
        v.ViewStartChannel = N - v.ViewChannelSpan - 1;
    // The cursor goes to the middle of the new window before the clamp, then stays inside the
    // window the clamp gives (else it could stand one past the slot's last channel).
    v.CursorChannel[s] = clampChannel(int64_t(v.ViewStartChannel) + v.ViewChannelSpan / 2);
    clampWindow(v, N);
    v.CursorChannel[s] = std::clamp(v.CursorChannel[s], v.ViewStartChannel, v.ViewEndChannel);
}

void cursorLeft(SpectrumState& v, int s) {
    if (v.CursorChannel[s] > v.ViewStartChannel)
        v.CursorChannel[s] = clampChannel(int64_t(v.CursorChannel[s]) - 1);
}

void cursorRight(SpectrumState& v, int s) {
    if (v.CursorChannel[s] < v.ViewEndChannel)
        v.CursorChannel[s] = clampChannel(int64_t(v.CursorChannel[s]) + 1);
}

void cursorToPixel(SpectrumState& v, int s, int x) {
    if (v.PlotWidth <= 0) return;
    const float q = static_cast<float>(x) / static_cast<float>(v.PlotWidth);
    const float t = static_cast<float>(v.ViewEndChannel - v.ViewStartChannel + 1) * q + 0.5f;
    const float c = static_cast<float>(v.ViewStartChannel) + t;
    // A click on the right edge rounds to one past the window: held on its last channel.
    const ChannelWindow w = safeWindow(v);
    v.CursorChannel[s] = static_cast<int32_t>(
        std::clamp<int64_t>(static_cast<int64_t>(std::trunc(c)), w.start, w.end));
}

void autoScale(SpectrumState& v, const int32_t* slotData) {
    const ChannelWindow w = safeWindow(v);
    int32_t m = 0;
    for (int32_t k = w.start; k < w.end; ++k) m = std::max(m, slotData[k]);
    int j = 0;
    while (j < kFullScaleStepCount - 1 && kFullScaleSteps[j] <= m) ++j;
    v.FullScaleStep = static_cast<int16_t>(j);
    v.FullScale = kFullScaleSteps[j];
}

void scaleTaller(SpectrumState& v, const int32_t* slotData) {
    if (v.FullScale == 0) {
        autoScale(v, slotData);
        return;
    }
    int step = std::clamp<int>(v.FullScaleStep, 0, kFullScaleStepCount - 1);
    if (step > 0) --step;
    v.FullScaleStep = static_cast<int16_t>(step);
    v.FullScale = kFullScaleSteps[step];
}

void scaleShorter(SpectrumState& v, const int32_t* slotData) {
    if (v.FullScale == 0) {
        autoScale(v, slotData);
        return;
    }
    int step = std::clamp<int>(v.FullScaleStep, 0, kFullScaleStepCount - 1);
    if (step < kFullScaleStepCount - 1) ++step;
    v.FullScaleStep = static_cast<int16_t>(step);
    v.FullScale = kFullScaleSteps[step];
}

void scaleLog(SpectrumState& v) { v.FullScale = 0; }

void nextOverlapColour(SpectrumState& v) {
    ++v.OverlapColourIndex;
    if (v.OverlapColourIndex > kOverlapColourCount - 1 || v.OverlapColourIndex < 0)
        v.OverlapColourIndex = 0;
    v.OverlapColour = kOverlapColours[v.OverlapColourIndex];
}

int pixelHeight(int32_t value, int32_t F, int B) {
    int64_t h = 0;
    if (F != 0) {
        h = int64_t(value) * B / F;
    } else if (value == 1) {
        h = 5;  // a single count stands clear of the baseline
    } else if (value > 0) {
        h = static_cast<int64_t>(std::log10(static_cast<double>(value)) * B / 6.0 + 0.5);
    }
    if (h > B - 1 || h < 0) h = B - 1;
    return static_cast<int>(h);
}

double ChannelToEnergy(const InfoRecord& rec, int s, double x) {
    if (s < 0 || s > 4) return 0.0;
    const double a = rec.CalibA[s], b = rec.CalibB[s], c = rec.CalibC[s], d = rec.CalibD[s];
    switch (rec.CalibOrder[s]) {
        case 1: return a + b * x + c * x * x;
        case 2: return a + b * x + c * x * x + d * x * x * x;
        default: return a + b * x;  // 0 and any unknown order: linear
    }
}

}  // namespace qor
