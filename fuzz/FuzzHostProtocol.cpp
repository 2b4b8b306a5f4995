// Entry point of the driver host's frame decoders: a payload that decodes is exactly what its
// decoded request or reply encodes to, and its lengths stay inside the fixed buffers.

#include "fuzz/FuzzEntries.h"
#include "instrument/Kx10Protocol.h"

#include <cstring>

namespace qor::fuzz {

const char* hostProtocolInput(const uint8_t* data, std::size_t size) {
    static HostRequest request;
    static HostReply reply;
    static uint8_t frame[kHostMaxFrame];
    if (decodeHostRequest(data, size, request)) {
        QOR_CHECK(request.dataLength >= 0 && request.dataLength <= kHostMaxData,
                  "request data inside its buffer");
        const int length = hostReplyLength(request);
        QOR_CHECK(length >= 0 && length <= kHostMaxData, "reply length inside the buffer");
        const size_t n = encodeHostRequest(request, frame);
        QOR_CHECK(n == size + 4 && std::memcmp(frame + 4, data, size) == 0,
                  "a decoded request encodes to the same bytes");
    }
    if (decodeHostReply(data, size, reply)) {
        QOR_CHECK(reply.length >= 0 && reply.length <= kHostMaxData, "reply inside its buffer");
        const size_t n = encodeHostReply(reply, frame);
        QOR_CHECK(n == size + 4 && std::memcmp(frame + 4, data, size) == 0,
                  "a decoded reply encodes to the same bytes");
        int32_t version = 0;
        char refusal[64];
        if (readHelloReply(reply, version, refusal, sizeof refusal))
            QOR_CHECK(std::memchr(refusal, 0, sizeof refusal) != nullptr, "refusal text ends");
    }
    return nullptr;
}

}  // namespace qor::fuzz
