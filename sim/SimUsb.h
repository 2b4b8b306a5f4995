#pragma once
// The simulated USB interface: open, the receive queue with its pending count, read and write.
//
// Written bytes are taken as command frames "$G", a 16-bit little-endian payload length, then the
// payload. The payload "$#\r" (the version request) queues the 10-byte version text, readable
// `replyDelayMs` after the write. Other frames are accepted and answer nothing. Bytes become
// readable at their ready time, in order; the receive queue holds kQueueBytes (more is lost).

#include <cstdint>

namespace qor {

class SimUsb {
public:
    static constexpr int kQueueBytes = 1024;

    bool open(const char* serial, const char* expectedSerial, bool present);
    bool isOpen() const { return open_; }

    // Bytes readable at time now.
    int32_t pending(int64_t nowMs) const;
    // Reads up to min(n, size) readable bytes into buf; returns the count.
    int32_t read(int64_t nowMs, int32_t n, uint8_t* buf, int32_t size);
    // Takes n bytes; a version request queues `reply` (replyLen bytes) at nowMs + delayMs.
    void write(int64_t nowMs, int32_t n, const uint8_t* bytes, const char* reply, int replyLen,
               int delayMs);
    void queue(int64_t readyMs, const uint8_t* bytes, int len);

private:
    bool open_ = false;
    uint8_t bytes_[kQueueBytes] = {};
    int64_t ready_[kQueueBytes] = {};
    int head_ = 0;   // oldest byte
    int count_ = 0;  // bytes queued (ready or not)
};

}  // namespace qor
