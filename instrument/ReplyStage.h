#pragma once
// The buffer a driver library writes its replies into. The library is told nothing about buffer
// sizes: it writes as many bytes as its reply format has. So the reply is staged here, with a
// guard band right after its documented length, and only then copied into the caller's buffer,
// never more than the caller's size.
//
// A library that writes past the documented length writes into the guard band: the reply is
// refused (nothing reaches the caller) instead of memory being corrupted silently. In a build
// with the address sanitizer the guard band is also poisoned while the library runs, so the
// first stray write stops the program with a report naming the writer.

#include <cstdint>

#if defined(__SANITIZE_ADDRESS__)
#define QOR_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QOR_ADDRESS_SANITIZER 1
#endif
#endif

namespace qor {

// Results of a reply operation refused by the staging: the library wrote past the reply's
// documented length, or the caller gave no buffer.
constexpr int32_t kLibraryOverrun = -1000;
constexpr int32_t kLibraryBadBuffer = -1001;

class ReplyStage {
public:
    static constexpr int kCapacity = 4096;    // longest reply staged
    static constexpr int kGuardBytes = 1024;  // guard band after the reply
    static constexpr uint8_t kGuardFill = 0xA5;

    ReplyStage() = default;
    ReplyStage(const ReplyStage&) = delete;
    ReplyStage& operator=(const ReplyStage&) = delete;

    // Readies a reply of `length` bytes (held inside 0..kCapacity) for a caller whose buffer
    // holds `size` bytes. The caller's first bytes are copied in, so that what the library leaves
    // untouched reads as the caller left it; the rest of the reply is zero; the guard band is
    // filled (and poisoned under the sanitizer). Returns the buffer to hand to the library.
    uint8_t* open(int length, const void* caller, int32_t size);
    // Ends the library's call. True when the guard band is intact: then the reply's first
    // min(length, size) bytes are copied to the caller. False: the library wrote past the
    // reply, nothing is copied.
    bool close(void* caller, int32_t size);

    int length() const { return length_; }

private:
    void poison(bool on);

    alignas(8) uint8_t bytes_[kCapacity + kGuardBytes] = {};
    int length_ = 0;
};

}  // namespace qor
