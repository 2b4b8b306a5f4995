// kx10host: the driver host. Loads the instrument's driver library named on its command line and
// serves its operations to the program over standard input and output (instrument/Kx10Protocol.h),
// one request at a time, until its input ends. Built without Qt, for the driver library's
// platform and bitness, so that a 64-bit program can use a 32-bit library and a library that
// crashes takes only this process with it.
//
//   kx10host LIBRARY
//
// Exit status: 0 when the input ended, 1 when the library could not be bound or the program
// speaks another protocol version (after answering the hello), 2 on a wrong command line, 3 when
// the program sent something outside the protocol.

#include "host/HostPlatform.h"
#include "host/HostServer.h"

#include <cstdio>
#include <new>
#include <string>

using namespace qor;

namespace {

// Reads exactly `n` bytes; false at the end of the input.
bool readAll(uint8_t* to, size_t n) { return std::fread(to, 1, n, stdin) == n; }

bool writeFrame(const uint8_t* frame, size_t n) {
    return n > 0 && std::fwrite(frame, 1, n, stdout) == n && std::fflush(stdout) == 0;
}

// Reads one request frame. 0: a request; 1: the input ended between frames; 2: out of protocol.
int readRequest(uint8_t* payload, HostRequest& request) {
    uint8_t header[4];
    const size_t got = std::fread(header, 1, 4, stdin);
    if (got == 0) return 1;
    if (got != 4) return 2;
    const uint32_t n = hostFrameLength(header);
    if (n > static_cast<uint32_t>(kHostMaxPayload) || !readAll(payload, n)) return 2;
    return decodeHostRequest(payload, n, request) ? 0 : 2;
}

// The frames and messages are large: they live here, not on the stack.
uint8_t gPayload[kHostMaxPayload];
uint8_t gFrame[kHostMaxFrame];
HostRequest gRequest;
HostReply gReply;
host::DriverOperations gOps;

}  // namespace

int main(int argc, char** argv) {
    host::binaryStdio();
    if (argc != 2) {
        std::fprintf(stderr, "usage: kx10host DRIVER-LIBRARY\n");
        return 2;
    }
    // The reply stage ends right before an inaccessible page: a library that writes past the
    // guard band as well stops the host here, and the program sees the host end.
    void* stageMemory = host::allocateBeforeGuardPage(sizeof(ReplyStage));
    if (!stageMemory) {
        std::fprintf(stderr, "kx10host: no memory for the reply buffer\n");
        return 1;
    }
    ReplyStage& stage = *new (stageMemory) ReplyStage;

    if (readRequest(gPayload, gRequest) != 0 || gRequest.op != HostOp::Hello ||
        gRequest.args[0] != kHostMagic) {
        std::fprintf(stderr, "kx10host: the program did not begin with the hello\n");
        return 3;
    }
    std::string refusal;
    const bool sameVersion = gRequest.args[1] == kHostProtocolVersion;
    const bool bound = sameVersion && host::bindDriver(argv[1], gOps, refusal);
    makeHelloReply(gReply, kHostProtocolVersion, refusal.c_str());
    if (!writeFrame(gFrame, encodeHostReply(gReply, gFrame))) return 1;
    if (!bound) return 1;

    for (;;) {
        const int got = readRequest(gPayload, gRequest);
        if (got == 1) return 0;
        if (got == 2 || gRequest.op == HostOp::Hello) {
            std::fprintf(stderr, "kx10host: a request outside the protocol; ending\n");
            return 3;
        }
        host::serve(gOps, gRequest, gReply, stage);
        if (!writeFrame(gFrame, encodeHostReply(gReply, gFrame))) return 0;
    }
}
