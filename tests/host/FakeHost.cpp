// A driver host that breaks the protocol on purpose, for the tests of the program's side:
//   kx10fakehost version   answers the hello with another protocol version
//   kx10fakehost garbage   answers the hello, then answers the first request with a frame of an
//                          unknown operation
//   kx10fakehost silent    answers the hello, then reads requests and never answers

#include "instrument/Kx10Protocol.h"

#include <cstdio>
#include <cstring>

using namespace qor;

namespace {

uint8_t gPayload[kHostMaxPayload];
uint8_t gFrame[kHostMaxFrame];
HostRequest gRequest;
HostReply gReply;

bool readRequest() {
    uint8_t header[4];
    if (std::fread(header, 1, 4, stdin) != 4) return false;
    const uint32_t n = hostFrameLength(header);
    return n <= uint32_t(kHostMaxPayload) && std::fread(gPayload, 1, n, stdin) == n &&
           decodeHostRequest(gPayload, n, gRequest);
}

void send(const uint8_t* bytes, size_t n) {
    std::fwrite(bytes, 1, n, stdout);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const char* mode = argc > 1 ? argv[1] : "";
    if (!readRequest()) return 3;
    const bool otherVersion = std::strcmp(mode, "version") == 0;
    makeHelloReply(gReply, otherVersion ? kHostProtocolVersion + 1 : kHostProtocolVersion, "");
    send(gFrame, encodeHostReply(gReply, gFrame));
    if (otherVersion) return 1;
    while (readRequest()) {
        if (std::strcmp(mode, "garbage") == 0) {
            const uint8_t junk[] = {5, 0, 0, 0, 0xEE, 1, 2, 3, 4};
            send(junk, sizeof junk);
        }
    }
    return 0;
}
