#include "sim/SimUsb.h"

#include <algorithm>
#include <cstring>

namespace qor {

bool SimUsb::open(const char* serial, const char* expected, bool present) {
    if (!present || !serial) return false;
    if (expected && expected[0] && std::strcmp(serial, expected) != 0) return false;
    open_ = true;
    return true;
}

int32_t SimUsb::pending(int64_t nowMs) const {
    int32_t n = 0;
    while (n < count_ && ready_[(head_ + n) % kQueueBytes] <= nowMs) ++n;
    return n;
}

int32_t SimUsb::read(int64_t nowMs, int32_t n, uint8_t* buf, int32_t size) {
    if (!buf || n <= 0 || size <= 0) return 0;
    const int32_t take = std::min({n, size, pending(nowMs)});
    for (int32_t i = 0; i < take; ++i) buf[i] = bytes_[(head_ + i) % kQueueBytes];
    head_ = (head_ + take) % kQueueBytes;
    count_ -= take;
    return take;
}

void SimUsb::queue(int64_t readyMs, const uint8_t* bytes, int len) {
    for (int i = 0; i < len && count_ < kQueueBytes; ++i) {
        const int at = (head_ + count_) % kQueueBytes;
        bytes_[at] = bytes[i];
        ready_[at] = readyMs;
        ++count_;
    }
}

void SimUsb::write(int64_t nowMs, int32_t n, const uint8_t* bytes, const char* reply,
                   int replyLen, int delayMs) {
    static const uint8_t kVersionRequest[] = {'$', '#', '\r'};
    int32_t i = 0;
    while (i + 4 <= n) {
        if (bytes[i] != '$' || bytes[i + 1] != 'G') {
            ++i;
            continue;
        }
        const int32_t len = bytes[i + 2] | (bytes[i + 3] << 8);
        if (i + 4 + len > n) break;  // incomplete frame: dropped
        const uint8_t* payload = bytes + i + 4;
        if (len == 3 && std::memcmp(payload, kVersionRequest, 3) == 0 && reply)
            queue(nowMs + delayMs, reinterpret_cast<const uint8_t*>(reply), replyLen);
        i += 4 + len;
    }
}

}  // namespace qor
