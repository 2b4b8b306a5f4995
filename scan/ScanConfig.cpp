#include "scan/ScanConfig.h"

#include "app/FieldText.h"
#include "instrument/Pulses.h"

#include <cmath>

namespace qor {

int32_t mapChannelCount(int32_t index) {
    if (index < 0 || index > 4) return 0;
    return 256 << index;
}

bool mapChannelSizeDiffers(const InfoRecord& r) {
    return mapChannelCount(r.MapChannelIndex) != r.McaChannels[0];
}

bool deriveXStep(InfoRecord& r) {
    if (r.MotorLogicalPulses[0] <= 0) return false;
    r.ScanXStep = static_cast<double>(r.ScanXPixelPulses) / r.MotorLogicalPulses[0];
    r.ScanXStart = 0.0;   // every line starts at the X origin
    deriveXEnd(r);
    return true;
}

void deriveXEnd(InfoRecord& r) { r.ScanXEnd = static_cast<double>(r.ScanXSteps) * r.ScanXStep; }

bool deriveYRange(InfoRecord& r) {
    if (r.MotorLogicalPulses[1] <= 0) return false;
    r.ScanYStep = static_cast<double>(r.ScanYPixelPulses) / r.MotorLogicalPulses[1];
    r.ScanYStart = 0.0;   // the first line lies at the Y origin
    r.ScanYEnd = static_cast<double>(r.ScanYSteps) * r.ScanYStep;
    return true;
}

double zRange(const InfoRecord& r) { return std::fabs(r.ZEnd - r.ZStart); }

bool zStepTyped(InfoRecord& r, const QString& text) {
    double step = 0.0;
    if (!parseLeadingDouble(text, step)) return false;
    r.ZStep = step;
    // "!(step > 0)" also catches a NaN step.
    if (!(r.ZStep > 0.0)) {
        r.ZStep = 0.01;
        return false;
    }
    r.ZCount = truncToInt32(zRange(r) / r.ZStep + 0.5);
    return true;
}

bool zCountTyped(InfoRecord& r, const QString& text) {
    double count = 0.0;
    if (!parseLeadingDouble(text, count)) return false;
    storeInt(text, r.ZCount);
    const double range = zRange(r);
    r.ZStep = count != 0.0 ? range / count : range;
    return true;
}

ScanSizeTexts scanSizeTexts(const InfoRecord& r) {
    // The scan measures ScanXSteps pixels on each of ScanYSteps lines, each pixel one pixel
    // width wide: that is the size shown (not one point more, as if the steps were the gaps
    // between points).
    const int64_t px = r.ScanXSteps;
    const int64_t py = r.ScanYSteps;
    auto size = [](int64_t points, int32_t pixelPulses, int32_t ppu) {
        if (ppu <= 0) return 0.0;
        return static_cast<double>(points) * pixelPulses / ppu;
    };
    ScanSizeTexts t;
    t.pointsX = formatC("%4lld", static_cast<long long>(px));
    t.pointsY = formatC("%4lld", static_cast<long long>(py));
    t.sizeX = formatScanSize(size(px, r.ScanXPixelPulses, r.MotorLogicalPulses[0]));
    t.sizeY = formatScanSize(size(py, r.ScanYPixelPulses, r.MotorLogicalPulses[1]));
    return t;
}

}  // namespace qor
