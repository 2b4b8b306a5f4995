#include "spectrum/SpectrumState.h"

namespace qor {

void fillRoiColours(SpectrumState& s) {
    static const QRgb kCycle[10] = {qRgb(255, 0, 0),   qRgb(255, 160, 16), qRgb(255, 255, 32),
                                    qRgb(144, 255, 0), qRgb(16, 207, 16),  qRgb(64, 255, 255),
                                    qRgb(0, 64, 255),  qRgb(0, 32, 176),   qRgb(96, 0, 176),
                                    qRgb(190, 61, 135)};
    s.RoiColour[0] = qRgb(0, 0, 0);
    for (int r = 1; r <= 100; ++r) s.RoiColour[r] = kCycle[(r - 1) % 10];
}

void fillSlotTestPatterns(SpectrumState& s) {
    for (int c = 0; c < kSlotChannels; ++c) {
        s.slot[0][c] = c;
        s.slot[1][c] = c + 2000;
        s.slot[2][c] = c + 3000;
    }
}

}  // namespace qor
