#pragma once
// The instrument reached through its driver library, loaded at run time: every operation of
// instrument/Kx10Api.h is resolved by its exported name once, when the library is loaded, into a
// typed function pointer. A library that cannot be loaded, or that lacks any operation, is
// refused whole: load() returns nothing and says what is missing, so the program never runs
// half-bound.
//
// The callers' Kx10 calls pass straight through, with these adaptations:
// - The module and axis arguments are handed over as the 8-bit characters (or, for the presence
//   check, the port number) the caller gives.
// - Replies are staged (ReplyStage) at their documented lengths and copied into the caller's
//   buffer, never more than the caller's size; text replies end with a NUL when the caller's
//   buffer has room after the reply. A library that writes past a documented length
//   has the call fail with kLibraryOverrun, and nothing reaches the caller.
// - KX10USB_Read asks the library for at most min(n, size, ReplyStage::kCapacity) bytes.
// - A null reply buffer fails the call with kLibraryBadBuffer without calling the library.

#include "instrument/Kx10.h"
#include "instrument/Kx10Api.h"
#include "instrument/ReplyStage.h"

#include <QLibrary>
#include <QString>
#include <memory>

namespace qor {

class Kx10Library : public Kx10 {
public:
    // Loads the library at `path` and resolves every operation. On refusal returns null and puts
    // the reason into `error`: the path and the loader's reason, or the path and the names of
    // every missing operation.
    static std::unique_ptr<Kx10Library> load(const QString& path, QString* error);
    ~Kx10Library() override;

    // The library's file as loaded.
    QString fileName() const { return library_.fileName(); }
    // Replies refused because the library wrote past their documented length, and the
    // operation of the last one (empty before any).
    int overruns() const { return overruns_; }
    const char* lastOverrun() const { return lastOverrun_; }

    int32_t KX10USB_Open(const char* serial, int32_t dev, int32_t p1, int32_t p2) override;
    int32_t KX10USB_ReadQsize(int32_t dev) override;
    int32_t KX10USB_Read(int32_t dev, int32_t n, uint8_t* buf, int32_t size) override;
    int32_t KX10USB_Write(int32_t dev, int32_t n, const uint8_t* bytes) override;
    int32_t KX10MCA_Status(int32_t dev, char m, char* buf, int32_t size) override;
    int32_t KX10MCA_Preset(int32_t dev, char m, int32_t mode, int32_t channels,
                           int32_t preset) override;
    int32_t KX10MCA_Start(int32_t dev, char m) override;
    int32_t KX10MCA_Stop(int32_t dev, char m) override;
    int32_t KX10MCA_Clear(int32_t dev, char m) override;
    int32_t KX10MCA_ReadSEQ(int32_t dev, char m, int32_t first, int32_t* dest) override;
    int32_t KX10MCA_2DSCAN_OFFSET(int32_t dev, char m, int32_t value) override;
    int32_t KX10MCA_2DSCAN_PSET(int32_t dev, char m, int32_t channels) override;
    int32_t KX10MCA_2DSCAN_ROISET(int32_t dev, char m, int32_t roi, int32_t first, int32_t last,
                                  int32_t kind) override;
    int32_t KX10MCA_2DSCAN_Start(int32_t dev, char m) override;
    int32_t KX10MCA_2DSCAN_Stop(int32_t dev, char m) override;
    int32_t KX10MCA_2DSCAN_Status(int32_t dev, char m, char* buf, int32_t size) override;
    int32_t KX10MCA_2DSCAN_ReadROI(int32_t dev, char m, uint8_t* buf, int32_t size) override;
    int32_t KX10MCA_2DSCAN_ReadDebug(int32_t dev, char m, uint8_t* buf, int32_t size) override;
    int32_t KX10Motor_Set_Speed(int32_t dev, char m, int32_t a, int32_t startPps, int32_t maxPps,
                                int32_t ramp, int32_t zero, int32_t accelClass) override;
    int32_t KX10Motor_Get_Status(int32_t dev, char m, int32_t a, char* buf, int32_t size) override;
    int32_t KX10Motor_Read_Paddress(int32_t dev, char m, int32_t a, char* buf,
                                    int32_t size) override;
    int32_t KX10Motor_Set_Pulse_Address(int32_t dev, char m, int32_t a, int32_t pulses) override;
    int32_t KX10Motor_MoveTo_PAddress(int32_t dev, char m, int32_t a, int32_t pulses) override;
    int32_t KX10Motor_RelMove_PAddress(int32_t dev, char m, int32_t a, int32_t pulses) override;
    int32_t KX10Motor_Halt(int32_t dev, char m, int32_t a) override;
    int32_t KX10Motor_Set_Interval_Pulse(int32_t dev, char m, int32_t a, int32_t pulses) override;
    int32_t KX10Motor_Read_18memory2(int32_t dev, char m, int32_t a, uint8_t* buf,
                                     int32_t size) override;
    int32_t KX10SC24_Status(int32_t dev, char m, char* buf, int32_t size) override;

private:
    Kx10Library() = default;
    // Runs one reply operation through the stage: `call` gets the staged buffer.
    template <class Call>
    int32_t staged(const char* op, int length, void* buf, int32_t size, Call call);
    // The same for a text reply, NUL-terminated when the caller's buffer has room after it.
    template <class Call>
    int32_t stagedText(const char* op, int length, char* buf, int32_t size, Call call);

    QLibrary library_;
#define QOR_KX10_POINTER(name) decltype(&::name) name##_ = nullptr;
    KX10_OPERATIONS(QOR_KX10_POINTER)
#undef QOR_KX10_POINTER
    int overruns_ = 0;
    const char* lastOverrun_ = "";
    ReplyStage stage_;
};

}  // namespace qor
