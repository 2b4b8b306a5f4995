#pragma once
// The framed binary protocol between the program and its driver host (host/kx10host), which
// loads the instrument's driver library in a process of its own and serves every operation of
// instrument/Kx10Api.h over its standard input and output. Plain C++17: the host is built
// without Qt, also for Windows of either bitness, and both sides compile this one unit.
//
// A frame is a 32-bit little-endian payload length, then the payload. Every number is a
// little-endian int32.
// - Request payload: the operation (one byte), its int32 arguments in the order of the C
//   declaration (dev, module, axis, ...; a character is sent as its 8-bit value), and for the
//   two operations that carry bytes in (the serial text of KX10USB_Open with its NUL, the bytes
//   of KX10USB_Write) a length and the bytes.
// - Reply payload: the operation again, the library's result, then the reply bytes: exactly the
//   reply's documented length (KX10USB_Read: the count asked for), 0 for operations without a
//   reply.
// - The first exchange is the hello: the program sends the magic and its protocol version; the
//   host answers with the magic, its own version, and the reason the driver library could not
//   be bound (empty when every operation was resolved). A host that speaks another version, or
//   could not bind the library, answers and ends.
//
// Decoding checks every length against the operation and the fixed capacities, so a peer that
// sends anything else is found out and nothing is read or written outside a buffer.

#include "instrument/ReplyStage.h"

#include <cstddef>
#include <cstdint>

namespace qor {

constexpr int32_t kHostProtocolVersion = 1;
constexpr int32_t kHostMagic = 0x5048584B;   // "KXHP" as little-endian bytes
constexpr int kHostMaxArgs = 8;                // KX10Motor_Set_Speed
constexpr int kHostMaxData = ReplyStage::kCapacity;
constexpr int kHostMaxPayload = 1 + 4 * kHostMaxArgs + 4 + kHostMaxData;
constexpr int kHostMaxFrame = 4 + kHostMaxPayload;

// A driver call that failed because the host is gone (ended, stopped after a time-out or after
// an answer out of protocol) or was never reached.
constexpr int32_t kHostLost = -1002;

// The hello, then the driver operations in the order of KX10_OPERATIONS.
enum class HostOp : uint8_t {
    Hello,
    KX10USB_Open, KX10USB_ReadQsize, KX10USB_Read, KX10USB_Write,
    KX10MCA_Status, KX10MCA_Preset, KX10MCA_Start, KX10MCA_Stop, KX10MCA_Clear,
    KX10MCA_ReadSEQ, KX10MCA_2DSCAN_OFFSET, KX10MCA_2DSCAN_PSET,
    KX10MCA_2DSCAN_ROISET, KX10MCA_2DSCAN_Start, KX10MCA_2DSCAN_Stop,
    KX10MCA_2DSCAN_Status, KX10MCA_2DSCAN_ReadROI, KX10MCA_2DSCAN_ReadDebug,
    KX10Motor_Set_Speed, KX10Motor_Get_Status, KX10Motor_Read_Paddress,
    KX10Motor_Set_Pulse_Address, KX10Motor_MoveTo_PAddress, KX10Motor_RelMove_PAddress,
    KX10Motor_Halt, KX10Motor_Set_Interval_Pulse, KX10Motor_Read_18memory2,
    KX10SC24_Status,
    Count
};

// The operation's name ("hello" for the hello, "?" outside the list).
const char* hostOpName(HostOp op);
// How many int32 arguments the operation's request carries.
int hostOpArgs(HostOp op);
// True for KX10USB_Open and KX10USB_Write, whose requests carry bytes.
bool hostOpTakesData(HostOp op);

struct HostRequest {
    HostOp op = HostOp::Hello;
    int32_t args[kHostMaxArgs] = {};
    int32_t dataLength = 0;
    uint8_t data[kHostMaxData] = {};
};

struct HostReply {
    HostOp op = HostOp::Hello;
    int32_t result = 0;
    int32_t length = 0;
    uint8_t data[kHostMaxData] = {};
};

// The reply's length in bytes for a request: the documented length of its reply buffer, the
// count asked for (held inside 0..kHostMaxData) for KX10USB_Read, 0 without a reply. For the
// hello, the most a reply may carry.
int hostReplyLength(const HostRequest& request);

// The hello the program sends, and the host's answer (`refusal`: why the library could not be
// bound, empty when it was).
void makeHello(HostRequest& request, int32_t version = kHostProtocolVersion);
void makeHelloReply(HostReply& reply, int32_t version, const char* refusal);
// Reads the host's answer to the hello: false when it is no hello answer at all; else its
// version and the refusal text (NUL-terminated, cut to `size`).
bool readHelloReply(const HostReply& reply, int32_t& version, char* refusal, int size);

// The payload length of a frame header (the first 4 bytes of a frame).
uint32_t hostFrameLength(const uint8_t header[4]);

// Writes a whole frame into `out` (kHostMaxFrame bytes) and returns its size; 0 when the
// request or reply does not fit the protocol (an unknown operation, a length out of range).
size_t encodeHostRequest(const HostRequest& request, uint8_t* out);
size_t encodeHostReply(const HostReply& reply, uint8_t* out);

// Reads a frame's payload (`n` bytes). False, with `request` or `reply` in an unspecified state,
// when the payload does not follow the protocol: an unknown operation, a length that does not
// match the operation, data longer than the capacity, bytes left over.
bool decodeHostRequest(const uint8_t* payload, size_t n, HostRequest& request);
bool decodeHostReply(const uint8_t* payload, size_t n, HostReply& reply);

}  // namespace qor
