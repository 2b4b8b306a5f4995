#pragma once
// The instrument's driver operations, one virtual function per operation, named as the driver
// library names them. Every operation returns an int32: negative means failure (callers test only
// for a negative value, except KX10USB_ReadQsize, which returns a count).
//
// Arguments follow the library: `dev` is the interface number (always 1), `m` the module address
// character ('0'..'9', 'A'..'F' for the module's HEX-SW setting), `a` the axis character '0'..'3'
// (the connect presence check passes the port index 0..3 as the number itself).
//
// Reply buffers: the caller passes its buffer and the buffer's size; the callee never writes more
// than `size` bytes and NUL-terminates text replies when there is room.

#include <cstdint>

namespace qor {

// Sizes of the replies the instrument sends.
constexpr int kMcaBlockChannels = 256;     // channels per KX10MCA_ReadSEQ
constexpr int kMcaStatusReplySize = 16;    // KX10MCA_Status: buf[1] '1' while measuring
constexpr int kMotorStatusReplySize = 16;  // KX10Motor_Get_Status: [1] moving, [2] CCW, [4] CW
constexpr int kPaddressReplySize = 16;     // KX10Motor_Read_Paddress: [1..10] signed decimal
constexpr int kScanStatusReplySize = 16;   // KX10MCA_2DSCAN_Status: first 3 chars pixel count
constexpr int kPixelFrameSize = 130;       // KX10MCA_2DSCAN_ReadROI: '$', 20 x int32 LE, ..., 'E'
constexpr int kDebugBlockSize = 69;        // KX10MCA_2DSCAN_ReadDebug: byte 68 is 'E'
constexpr int kMemoryDumpSize = 64;        // KX10Motor_Read_18memory2
constexpr int kCounterStatusReplySize = 16;
constexpr int kVersionReplySize = 10;      // reply to the version request at connect

class Kx10 {
public:
    virtual ~Kx10() = default;

    virtual int32_t KX10USB_Open(const char* serial, int32_t dev, int32_t p1, int32_t p2) = 0;
    virtual int32_t KX10USB_ReadQsize(int32_t dev) = 0;
    virtual int32_t KX10USB_Read(int32_t dev, int32_t n, uint8_t* buf, int32_t size) = 0;
    virtual int32_t KX10USB_Write(int32_t dev, int32_t n, const uint8_t* bytes) = 0;

    virtual int32_t KX10MCA_Status(int32_t dev, char m, char* buf, int32_t size) = 0;
    virtual int32_t KX10MCA_Preset(int32_t dev, char m, int32_t mode, int32_t channels,
                                   int32_t preset) = 0;
    virtual int32_t KX10MCA_Start(int32_t dev, char m) = 0;
    virtual int32_t KX10MCA_Stop(int32_t dev, char m) = 0;
    virtual int32_t KX10MCA_Clear(int32_t dev, char m) = 0;
    // Copies channels first .. first + 255 into dest[0..255].
    virtual int32_t KX10MCA_ReadSEQ(int32_t dev, char m, int32_t first, int32_t* dest) = 0;

    virtual int32_t KX10MCA_2DSCAN_OFFSET(int32_t dev, char m, int32_t value) = 0;
    virtual int32_t KX10MCA_2DSCAN_PSET(int32_t dev, char m, int32_t channels) = 0;
    virtual int32_t KX10MCA_2DSCAN_ROISET(int32_t dev, char m, int32_t roi, int32_t first,
                                          int32_t last, int32_t kind) = 0;
    virtual int32_t KX10MCA_2DSCAN_Start(int32_t dev, char m) = 0;
    virtual int32_t KX10MCA_2DSCAN_Stop(int32_t dev, char m) = 0;
    virtual int32_t KX10MCA_2DSCAN_Status(int32_t dev, char m, char* buf, int32_t size) = 0;
    virtual int32_t KX10MCA_2DSCAN_ReadROI(int32_t dev, char m, uint8_t* buf, int32_t size) = 0;
    virtual int32_t KX10MCA_2DSCAN_ReadDebug(int32_t dev, char m, uint8_t* buf, int32_t size) = 0;

    virtual int32_t KX10Motor_Set_Speed(int32_t dev, char m, int32_t a, int32_t startPps,
                                        int32_t maxPps, int32_t ramp, int32_t zero,
                                        int32_t accelClass) = 0;
    virtual int32_t KX10Motor_Get_Status(int32_t dev, char m, int32_t a, char* buf,
                                         int32_t size) = 0;
    virtual int32_t KX10Motor_Read_Paddress(int32_t dev, char m, int32_t a, char* buf,
                                            int32_t size) = 0;
    virtual int32_t KX10Motor_Set_Pulse_Address(int32_t dev, char m, int32_t a,
                                                int32_t pulses) = 0;
    virtual int32_t KX10Motor_MoveTo_PAddress(int32_t dev, char m, int32_t a, int32_t pulses) = 0;
    virtual int32_t KX10Motor_RelMove_PAddress(int32_t dev, char m, int32_t a, int32_t pulses) = 0;
    virtual int32_t KX10Motor_Halt(int32_t dev, char m, int32_t a) = 0;
    virtual int32_t KX10Motor_Set_Interval_Pulse(int32_t dev, char m, int32_t a,
                                                 int32_t pulses) = 0;
    virtual int32_t KX10Motor_Read_18memory2(int32_t dev, char m, int32_t a, uint8_t* buf,
                                             int32_t size) = 0;

    virtual int32_t KX10SC24_Status(int32_t dev, char m, char* buf, int32_t size) = 0;
};

// The pulse address of a KX10Motor_Read_Paddress reply: character 0 blanked, the text cut after
// its eleventh character, then the leading signed decimal. `reply` holds at least 12 bytes (the
// callers' buffers are kPaddressReplySize + 1). False, and `pulses` unchanged, without a number.
bool parsePaddressReply(char* reply, int32_t& pulses);
// The same reply read strictly, for positions the program goes on to move by or trust: the ten
// characters after the marker must all be there and hold one signed decimal (blanks around it
// allowed) that fits 32 bits. A cut reply ("P+000") is refused even though the driver reported
// success. False, and `pulses` unchanged, otherwise; `reply` is not modified.
bool parsePositionReply(const char* reply, int32_t& pulses);

// The module address character of a HEX-SW index 0..15 ("0123456789ABCDEFG"; out-of-range
// indexes are held inside the text).
char moduleChar(int hexSwIndex);
// The axis character of motor n (1..8): '0' + ((n - 1) mod 4).
char axisChar(int motorNumber);

}  // namespace qor
