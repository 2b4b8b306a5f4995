#include "instrument/ReplyStage.h"

#include <algorithm>
#include <cstring>

#ifdef QOR_ADDRESS_SANITIZER
#include <sanitizer/asan_interface.h>
#endif

namespace qor {

namespace {
int copyCount(int length, int32_t size) { return size < length ? std::max<int32_t>(size, 0) : length; }
}  // namespace

uint8_t* ReplyStage::open(int length, const void* caller, int32_t size) {
    length_ = std::clamp(length, 0, kCapacity);
    const int in = caller ? copyCount(length_, size) : 0;
    if (in > 0) std::memcpy(bytes_, caller, static_cast<size_t>(in));
    std::memset(bytes_ + in, 0, static_cast<size_t>(length_ - in));
    std::memset(bytes_ + length_, kGuardFill, kGuardBytes);
    poison(true);
    return bytes_;
}

bool ReplyStage::close(void* caller, int32_t size) {
    poison(false);
    const uint8_t* guard = bytes_ + length_;
    for (int i = 0; i < kGuardBytes; ++i)
        if (guard[i] != kGuardFill) return false;
    const int out = caller ? copyCount(length_, size) : 0;
    if (out > 0) std::memcpy(caller, bytes_, static_cast<size_t>(out));
    return true;
}

void ReplyStage::poison(bool on) {
#ifdef QOR_ADDRESS_SANITIZER
    // Everything after the reply, guard band and unused capacity alike.
    uint8_t* from = bytes_ + length_;
    const size_t n = sizeof bytes_ - static_cast<size_t>(length_);
    if (on)
        ASAN_POISON_MEMORY_REGION(from, n);
    else
        ASAN_UNPOISON_MEMORY_REGION(from, n);
#else
    (void)on;
#endif
}

}  // namespace qor
