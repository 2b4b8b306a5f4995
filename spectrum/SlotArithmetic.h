#pragma once
// Moving data between the spectrum slots: the viewed spectrum to WORK, COPY from one slot to
// another, and the channel-by-channel arithmetic between two slots. Channels 0 and 1 (live and
// real time) are treated like any other channel.

#include "app/InfoRecord.h"
#include "spectrum/SpectrumState.h"

namespace qor {

// WORK = the viewed slot, with its McaChannels and SlotViewChannels entries.
void spectrumToWork(SpectrumState& sp, InfoRecord& rec, int viewSlot);

// slot[d] = slot[s]; per-slot values stay. Indexes outside 0..2 do nothing.
void copySlot(SpectrumState& sp, int s, int d);

// slot[r] = slot[a] op slot[b] per channel in signed 32-bit arithmetic that wraps; a negative
// result is stored as 0, and so is a quotient whose divisor channel is 0 (the remaining channels
// are still computed). `op` outside 0..3 or a slot index outside 0..2 does nothing. The result
// slot may be one of the operands.
void computeSlots(SpectrumState& sp, int r, int a, int op, int b);

// One channel of the arithmetic: op 0 "＋", 1 "－", 2 "×", 3 "÷" (truncating).
int32_t slotOpValue(int32_t a, int op, int32_t b);

}  // namespace qor
