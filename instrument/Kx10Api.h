#pragma once
// The C operations of the instrument's driver library, as this program calls them. The program
// never links them: Kx10Library resolves each one by its exported name when the library is
// loaded (a stand-in library in tests/ defines them against these same declarations).
//
// Every operation returns an int32: negative means failure (KX10USB_ReadQsize returns the count
// of received bytes waiting). `dev` is the interface number, always 1; KX10USB_Open takes the
// serial text first and the interface number second.
//
// - Texts in: `serial` is a NUL-terminated 8-bit text.
// - Module `m`: the upper-case hexadecimal digit character '0'..'9', 'A'..'F' of the module's
//   HEX-SW setting. Axis `a`: the axis character '0'..'3'; only the presence check at connect
//   passes the motor's port index 0..3 as the number itself.
// - Counts, channels, pulses, speeds and modes are int32.
// - Reply buffers belong to the caller and must hold at least the length named beside each
//   operation (the sizes are in instrument/Kx10.h); the library writes no more than that:
//     KX10MCA_Status, KX10Motor_Get_Status, KX10Motor_Read_Paddress, KX10MCA_2DSCAN_Status,
//     KX10SC24_Status              text, kMcaStatusReplySize .. kCounterStatusReplySize (16)
//     KX10MCA_ReadSEQ              256 int32 channels (kMcaBlockChannels)
//     KX10MCA_2DSCAN_ReadROI       one pixel frame, kPixelFrameSize (130) bytes
//     KX10MCA_2DSCAN_ReadDebug     the state block, kDebugBlockSize (69) bytes
//     KX10Motor_Read_18memory2     the memory dump, kMemoryDumpSize (64) bytes
//     KX10USB_Read                 `n` bytes
//
// The library's calling convention is KX10_CALL: on 32-bit Windows such libraries use
// __stdcall; everywhere else there is only the platform's one C convention.

#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define KX10_CALL __stdcall
#else
#define KX10_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

int32_t KX10_CALL KX10USB_Open(const char* serial, int32_t dev, int32_t p1, int32_t p2);
int32_t KX10_CALL KX10USB_ReadQsize(int32_t dev);
int32_t KX10_CALL KX10USB_Read(int32_t dev, int32_t n, unsigned char* buf);
int32_t KX10_CALL KX10USB_Write(int32_t dev, int32_t n, const unsigned char* bytes);

int32_t KX10_CALL KX10MCA_Status(int32_t dev, char m, char* buf);
int32_t KX10_CALL KX10MCA_Preset(int32_t dev, char m, int32_t mode, int32_t channels,
                                 int32_t preset);
int32_t KX10_CALL KX10MCA_Start(int32_t dev, char m);
int32_t KX10_CALL KX10MCA_Stop(int32_t dev, char m);
int32_t KX10_CALL KX10MCA_Clear(int32_t dev, char m);
int32_t KX10_CALL KX10MCA_ReadSEQ(int32_t dev, char m, int32_t first, int32_t* dest);

int32_t KX10_CALL KX10MCA_2DSCAN_OFFSET(int32_t dev, char m, int32_t value);
int32_t KX10_CALL KX10MCA_2DSCAN_PSET(int32_t dev, char m, int32_t channels);
int32_t KX10_CALL KX10MCA_2DSCAN_ROISET(int32_t dev, char m, int32_t roi, int32_t first,
                                        int32_t last, int32_t kind);
int32_t KX10_CALL KX10MCA_2DSCAN_Start(int32_t dev, char m);
int32_t KX10_CALL KX10MCA_2DSCAN_Stop(int32_t dev, char m);
int32_t KX10_CALL KX10MCA_2DSCAN_Status(int32_t dev, char m, char* buf);
int32_t KX10_CALL KX10MCA_2DSCAN_ReadROI(int32_t dev, char m, unsigned char* buf);
int32_t KX10_CALL KX10MCA_2DSCAN_ReadDebug(int32_t dev, char m, unsigned char* buf);

int32_t KX10_CALL KX10Motor_Set_Speed(int32_t dev, char m, char a, int32_t startPps,
                                      int32_t maxPps, int32_t ramp, int32_t zero,
                                      int32_t accelClass);
int32_t KX10_CALL KX10Motor_Get_Status(int32_t dev, char m, char a, char* buf);
int32_t KX10_CALL KX10Motor_Read_Paddress(int32_t dev, char m, char a, char* buf);
int32_t KX10_CALL KX10Motor_Set_Pulse_Address(int32_t dev, char m, char a, int32_t pulses);
int32_t KX10_CALL KX10Motor_MoveTo_PAddress(int32_t dev, char m, char a, int32_t pulses);
int32_t KX10_CALL KX10Motor_RelMove_PAddress(int32_t dev, char m, char a, int32_t pulses);
int32_t KX10_CALL KX10Motor_Halt(int32_t dev, char m, char a);
int32_t KX10_CALL KX10Motor_Set_Interval_Pulse(int32_t dev, char m, char a, int32_t pulses);
int32_t KX10_CALL KX10Motor_Read_18memory2(int32_t dev, char m, char a, unsigned char* buf);

int32_t KX10_CALL KX10SC24_Status(int32_t dev, char m, char* buf);

#ifdef __cplusplus
}
#endif

// Every operation above, once, for code that handles them all alike (X is a macro of one name).
#define KX10_OPERATIONS(X)                                                                     \
    X(KX10USB_Open) X(KX10USB_ReadQsize) X(KX10USB_Read) X(KX10USB_Write)                      \
    X(KX10MCA_Status) X(KX10MCA_Preset) X(KX10MCA_Start) X(KX10MCA_Stop) X(KX10MCA_Clear)      \
    X(KX10MCA_ReadSEQ) X(KX10MCA_2DSCAN_OFFSET) X(KX10MCA_2DSCAN_PSET)                         \
    X(KX10MCA_2DSCAN_ROISET) X(KX10MCA_2DSCAN_Start) X(KX10MCA_2DSCAN_Stop)                    \
    X(KX10MCA_2DSCAN_Status) X(KX10MCA_2DSCAN_ReadROI) X(KX10MCA_2DSCAN_ReadDebug)             \
    X(KX10Motor_Set_Speed) X(KX10Motor_Get_Status) X(KX10Motor_Read_Paddress)                  \
    X(KX10Motor_Set_Pulse_Address) X(KX10Motor_MoveTo_PAddress) X(KX10Motor_RelMove_PAddress)  \
    X(KX10Motor_Halt) X(KX10Motor_Set_Interval_Pulse) X(KX10Motor_Read_18memory2)              \
    X(KX10SC24_Status)
