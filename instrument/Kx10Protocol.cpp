#include "instrument/Kx10Protocol.h"

#include "instrument/Kx10.h"

#include <cstring>

namespace qor {

namespace {

struct OpInfo {
    const char* name;
    int args;
    bool data;
    int reply;   // reply bytes; -1: the count asked for (KX10USB_Read)
};

constexpr int kSeqBytes = kMcaBlockChannels * 4;

// Indexed by HostOp.
constexpr OpInfo kOps[] = {
    {"hello", 2, false, kHostMaxData},
    {"KX10USB_Open", 3, true, 0},
    {"KX10USB_ReadQsize", 1, false, 0},
    {"KX10USB_Read", 2, false, -1},
    {"KX10USB_Write", 2, true, 0},
    {"KX10MCA_Status", 2, false, kMcaStatusReplySize},
    {"KX10MCA_Preset", 5, false, 0},
    {"KX10MCA_Start", 2, false, 0},
    {"KX10MCA_Stop", 2, false, 0},
    {"KX10MCA_Clear", 2, false, 0},
    {"KX10MCA_ReadSEQ", 3, false, kSeqBytes},
    {"KX10MCA_2DSCAN_OFFSET", 3, false, 0},
    {"KX10MCA_2DSCAN_PSET", 3, false, 0},
    {"KX10MCA_2DSCAN_ROISET", 6, false, 0},
    {"KX10MCA_2DSCAN_Start", 2, false, 0},
    {"KX10MCA_2DSCAN_Stop", 2, false, 0},
    {"KX10MCA_2DSCAN_Status", 2, false, kScanStatusReplySize},
    {"KX10MCA_2DSCAN_ReadROI", 2, false, kPixelFrameSize},
    {"KX10MCA_2DSCAN_ReadDebug", 2, false, kDebugBlockSize},
    {"KX10Motor_Set_Speed", 8, false, 0},
    {"KX10Motor_Get_Status", 3, false, kMotorStatusReplySize},
    {"KX10Motor_Read_Paddress", 3, false, kPaddressReplySize},
    {"KX10Motor_Set_Pulse_Address", 4, false, 0},
    {"KX10Motor_MoveTo_PAddress", 4, false, 0},
    {"KX10Motor_RelMove_PAddress", 4, false, 0},
    {"KX10Motor_Halt", 3, false, 0},
    {"KX10Motor_Set_Interval_Pulse", 4, false, 0},
    {"KX10Motor_Read_18memory2", 3, false, kMemoryDumpSize},
    {"KX10SC24_Status", 2, false, kCounterStatusReplySize},
};
static_assert(sizeof kOps / sizeof kOps[0] == static_cast<size_t>(HostOp::Count),
              "one entry per operation");

bool known(HostOp op) { return static_cast<uint8_t>(op) < static_cast<uint8_t>(HostOp::Count); }
const OpInfo& info(HostOp op) { return kOps[static_cast<uint8_t>(op)]; }

void put32(uint8_t* at, uint32_t v) {
    at[0] = static_cast<uint8_t>(v);
    at[1] = static_cast<uint8_t>(v >> 8);
    at[2] = static_cast<uint8_t>(v >> 16);
    at[3] = static_cast<uint8_t>(v >> 24);
}

uint32_t get32(const uint8_t* at) {
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

// Sequential reading of a payload that never passes its end.
class Reader {
public:
    Reader(const uint8_t* p, size_t n) : p_(p), n_(n) {}
    bool int32(int32_t& v) {
        if (n_ - at_ < 4) return false;
        v = static_cast<int32_t>(get32(p_ + at_));
        at_ += 4;
        return true;
    }
    bool bytes(uint8_t* to, size_t count) {
        if (n_ - at_ < count) return false;
        if (count) std::memcpy(to, p_ + at_, count);
        at_ += count;
        return true;
    }
    bool done() const { return at_ == n_; }

private:
    const uint8_t* p_;
    size_t n_;
    size_t at_ = 0;
};

size_t finishFrame(uint8_t* out, size_t end) {
    put32(out, static_cast<uint32_t>(end - 4));
    return end;
}

}  // namespace

const char* hostOpName(HostOp op) { return known(op) ? info(op).name : "?"; }
int hostOpArgs(HostOp op) { return known(op) ? info(op).args : 0; }
bool hostOpTakesData(HostOp op) { return known(op) && info(op).data; }

int hostReplyLength(const HostRequest& request) {
    if (!known(request.op)) return 0;
    const int n = info(request.op).reply;
    if (n >= 0) return n;
    const int32_t want = request.args[1];
    return want < 0 ? 0 : want > kHostMaxData ? kHostMaxData : want;
}

void makeHello(HostRequest& request, int32_t version) {
    request.op = HostOp::Hello;
    request.args[0] = kHostMagic;
    request.args[1] = version;
    request.dataLength = 0;
}

void makeHelloReply(HostReply& reply, int32_t version, const char* refusal) {
    reply.op = HostOp::Hello;
    reply.result = version;
    put32(reply.data, static_cast<uint32_t>(kHostMagic));
    size_t n = refusal ? std::strlen(refusal) : 0;
    if (n > static_cast<size_t>(kHostMaxData - 4)) n = kHostMaxData - 4;
    if (n) std::memcpy(reply.data + 4, refusal, n);
    reply.length = static_cast<int32_t>(4 + n);
}

bool readHelloReply(const HostReply& reply, int32_t& version, char* refusal, int size) {
    if (reply.op != HostOp::Hello || reply.length < 4 ||
        static_cast<int32_t>(get32(reply.data)) != kHostMagic)
        return false;
    version = reply.result;
    if (refusal && size > 0) {
        int n = reply.length - 4;
        if (n > size - 1) n = size - 1;
        std::memcpy(refusal, reply.data + 4, static_cast<size_t>(n));
        refusal[n] = '\0';
    }
    return true;
}

uint32_t hostFrameLength(const uint8_t header[4]) { return get32(header); }

size_t encodeHostRequest(const HostRequest& request, uint8_t* out) {
    if (!known(request.op)) return 0;
    const OpInfo& op = info(request.op);
    if (request.dataLength < 0 || request.dataLength > kHostMaxData) return 0;
    size_t at = 4;
    out[at++] = static_cast<uint8_t>(request.op);
    for (int i = 0; i < op.args; ++i, at += 4) put32(out + at, static_cast<uint32_t>(request.args[i]));
    if (op.data) {
        put32(out + at, static_cast<uint32_t>(request.dataLength));
        at += 4;
        std::memcpy(out + at, request.data, static_cast<size_t>(request.dataLength));
        at += static_cast<size_t>(request.dataLength);
    }
    return finishFrame(out, at);
}

size_t encodeHostReply(const HostReply& reply, uint8_t* out) {
    if (!known(reply.op) || reply.length < 0 || reply.length > kHostMaxData) return 0;
    size_t at = 4;
    out[at++] = static_cast<uint8_t>(reply.op);
    put32(out + at, static_cast<uint32_t>(reply.result));
    put32(out + at + 4, static_cast<uint32_t>(reply.length));
    at += 8;
    std::memcpy(out + at, reply.data, static_cast<size_t>(reply.length));
    return finishFrame(out, at + static_cast<size_t>(reply.length));
}

bool decodeHostRequest(const uint8_t* payload, size_t n, HostRequest& request) {
    if (n < 1 || n > static_cast<size_t>(kHostMaxPayload)) return false;
    request.op = static_cast<HostOp>(payload[0]);
    if (!known(request.op)) return false;
    const OpInfo& op = info(request.op);
    Reader in(payload + 1, n - 1);
    for (int i = 0; i < kHostMaxArgs; ++i) request.args[i] = 0;
    for (int i = 0; i < op.args; ++i)
        if (!in.int32(request.args[i])) return false;
    request.dataLength = 0;
    if (op.data) {
        if (!in.int32(request.dataLength)) return false;
        if (request.dataLength < 0 || request.dataLength > kHostMaxData) return false;
        if (!in.bytes(request.data, static_cast<size_t>(request.dataLength))) return false;
    }
    return in.done();
}

bool decodeHostReply(const uint8_t* payload, size_t n, HostReply& reply) {
    if (n < 1 || n > static_cast<size_t>(kHostMaxPayload)) return false;
    reply.op = static_cast<HostOp>(payload[0]);
    if (!known(reply.op)) return false;
    Reader in(payload + 1, n - 1);
    if (!in.int32(reply.result) || !in.int32(reply.length)) return false;
    if (reply.length < 0 || reply.length > kHostMaxData) return false;
    if (!in.bytes(reply.data, static_cast<size_t>(reply.length))) return false;
    return in.done();
}

}  // namespace qor
