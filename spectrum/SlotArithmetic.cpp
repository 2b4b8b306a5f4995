#include "spectrum/SlotArithmetic.h"

#include "spectrum/SpectrumView.h"

#include <cstring>
#include <limits>

namespace qor {

namespace {
bool validSlot(int s) { return s >= 0 && s < kSlotCount; }
}  // namespace

void spectrumToWork(SpectrumState& sp, InfoRecord& rec, int viewSlot) {
    const int v = clampSlot(viewSlot);
    if (v != kSlotWork)
        std::memcpy(sp.slot[kSlotWork], sp.slot[v], sizeof sp.slot[kSlotWork]);
    rec.McaChannels[kSlotWork] = rec.McaChannels[v];
    rec.SlotViewChannels[kSlotWork] = rec.SlotViewChannels[v];
}

void copySlot(SpectrumState& sp, int s, int d) {
    if (!validSlot(s) || !validSlot(d) || s == d) return;
    std::memcpy(sp.slot[d], sp.slot[s], sizeof sp.slot[d]);
}

int32_t slotOpValue(int32_t a, int op, int32_t b) {
    const uint32_t ua = static_cast<uint32_t>(a), ub = static_cast<uint32_t>(b);
    int32_t v = 0;
    switch (op) {
        case 0: v = static_cast<int32_t>(ua + ub); break;
        case 1: v = static_cast<int32_t>(ua - ub); break;
        case 2: v = static_cast<int32_t>(ua * ub); break;
        case 3:
            if (b == 0) return 0;
            // The one quotient outside the range wraps to the smallest value, a negative result.
            if (a == std::numeric_limits<int32_t>::min() && b == -1) return 0;
            v = a / b;
            break;
        default: return 0;
    }
    return v < 0 ? 0 : v;
}

void computeSlots(SpectrumState& sp, int r, int a, int op, int b) {
    if (op < 0 || op > 3 || !validSlot(r) || !validSlot(a) || !validSlot(b)) return;
    for (int ch = 0; ch < kSlotChannels; ++ch)
        sp.slot[r][ch] = slotOpValue(sp.slot[a][ch], op, sp.slot[b][ch]);
}

}  // namespace qor
