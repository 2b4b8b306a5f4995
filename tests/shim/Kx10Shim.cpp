// A stand-in for the instrument's driver library, built only for the tests: it exports the
// driver operations under their C names, with the declarations of instrument/Kx10Api.h, and
// forwards each to a simulated instrument. Loaded through Kx10Library it lets the program run
// a whole session exactly as against the simulator itself.
//
// Built twice: libkx10shim with every operation, and libkx10shim_partial (KX10SHIM_PARTIAL)
// without KX10MCA_Clear and KX10SC24_Status, for the refusal of an incomplete library.
//
// Loaded by the driver host (another process), it is controlled through the environment
// instead of kx10shim_reset (see ShimControl.h): a shared control block holds the clock and the
// spill, and the call log goes to a file when the process ends.

#include "instrument/Kx10Api.h"
#include "shim/ShimControl.h"
#include "sim/Kx10Simulator.h"
#include "support/LoggingKx10.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

#if defined(_WIN32)
#define KX10SHIM_EXPORT __declspec(dllexport)
#else
#define KX10SHIM_EXPORT __attribute__((visibility("default")))
#endif

namespace {

// The steady clock of the program's own simulated instrument, without Qt (the library is also
// cross-built for Windows).
class SteadyClock : public qor::MonotonicClock {
public:
    int64_t nowMs() const override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now() - start_)
            .count();
    }
    void sleepMs(int ms) override {
        if (ms <= 0) return;
#if defined(_WIN32)
        Sleep(static_cast<DWORD>(ms));
#else
        usleep(static_cast<useconds_t>(ms) * 1000);
#endif
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// The clock of the control block another process shares: it reads the block's time, and a
// wait moves the block's time on, as the test's manual clock does.
class SharedClock : public qor::MonotonicClock {
public:
    explicit SharedClock(ShimShared* block) : block_(block) {}
    int64_t nowMs() const override { return block_->nowMs; }
    void sleepMs(int ms) override {
        if (ms > 0) block_->nowMs += ms;
    }

private:
    ShimShared* block_;
};

ShimShared* mapShared(const char* path) {
#if defined(_WIN32)
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READWRITE, 0, sizeof(ShimShared),
                                        nullptr);
    CloseHandle(file);
    if (!mapping) return nullptr;
    void* p = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ShimShared));
    CloseHandle(mapping);
    return static_cast<ShimShared*>(p);
#else
    const int fd = ::open(path, O_RDWR);
    if (fd < 0) return nullptr;
    void* p = mmap(nullptr, sizeof(ShimShared), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    ::close(fd);
    return p == MAP_FAILED ? nullptr : static_cast<ShimShared*>(p);
#endif
}

struct Shim {
    SteadyClock steady;
    ShimShared* shared = nullptr;
    std::unique_ptr<SharedClock> sharedClock;
    qor::test::CallLog ownLog;
    std::string logPath;

    ~Shim() {
        if (logPath.empty()) return;
        if (FILE* f = std::fopen(logPath.c_str(), "w")) {
            for (const std::string& line : ownLog) std::fprintf(f, "%s\n", line.c_str());
            std::fclose(f);
        }
    }
    std::unique_ptr<qor::Kx10Simulator> sim;
    std::unique_ptr<qor::test::LoggingKx10> logging;
    qor::Kx10* front = nullptr;
    int spillBytes = 0;
    int spillSeen = 0;

    void reset(qor::MonotonicClock& clock, qor::test::CallLog* log) {
        logging.reset();
        sim = std::make_unique<qor::Kx10Simulator>(clock);
        if (log) logging = std::make_unique<qor::test::LoggingKx10>(*sim, *log);
        front = logging ? static_cast<qor::Kx10*>(logging.get()) : sim.get();
        spillBytes = 0;
    }
};

Shim& shim() {
    static Shim s;
    if (!s.front) {
        const char* sharedPath = std::getenv("KX10SHIM_SHARED");
        const char* logPath = std::getenv("KX10SHIM_LOG");
        if (sharedPath) s.shared = mapShared(sharedPath);
        if (s.shared) s.sharedClock = std::make_unique<SharedClock>(s.shared);
        if (logPath) s.logPath = logPath;
        s.reset(s.sharedClock ? static_cast<qor::MonotonicClock&>(*s.sharedClock) : s.steady,
                logPath ? &s.ownLog : nullptr);
    }
    return s;
}

qor::Kx10& kx() { return *shim().front; }

// Inside the driver host the simulated instrument starts when the library is loaded, at the
// control block's time then, as it does in-process at kx10shim_reset.
const bool kStartedAtLoad = std::getenv("KX10SHIM_SHARED") && shim().front;

#if defined(__GNUC__) || defined(__clang__)
__attribute__((no_sanitize_address, noinline))
#endif
void plainStores(unsigned char* at, int n) {
    volatile unsigned char* p = at;
    for (int i = 0; i < n; ++i) p[i] = 'X';
}

// Writes the spill a test asked for past the `length` bytes of a reply, once.
void spill(void* buf, int length) {
    Shim& s = shim();
    if (s.shared && s.shared->spillBytes > 0) {
        s.spillBytes = s.shared->spillBytes;
        s.spillSeen = s.shared->spillSeen;
        s.shared->spillBytes = 0;
    }
    if (s.spillBytes <= 0 || !buf) return;
    unsigned char* past = static_cast<unsigned char*>(buf) + length;
    if (s.spillSeen)
        std::memset(past, 'X', static_cast<size_t>(s.spillBytes));
    else
        plainStores(past, s.spillBytes);
    s.spillBytes = 0;
}

template <class T>
int32_t reply(int32_t result, T* buf, int length) {
    spill(buf, length);
    return result;
}

}  // namespace

extern "C" {

KX10SHIM_EXPORT void kx10shim_reset(qor::Clock* clock, qor::test::CallLog* log) {
    Shim& s = shim();
    s.reset(clock ? static_cast<qor::MonotonicClock&>(*clock) : s.steady, log);
}

KX10SHIM_EXPORT void kx10shim_spill(int bytes, int seen) {
    shim().spillBytes = bytes;
    shim().spillSeen = seen;
}

KX10SHIM_EXPORT int32_t KX10_CALL KX10USB_Open(const char* serial, int32_t dev, int32_t p1,
                                               int32_t p2) {
    return kx().KX10USB_Open(serial, dev, p1, p2);
}

KX10SHIM_EXPORT int32_t KX10_CALL KX10USB_ReadQsize(int32_t dev) {
    return kx().KX10USB_ReadQsize(dev);
}

KX10SHIM_EXPORT int32_t KX10_CALL KX10USB_Read(int32_t dev, int32_t n, unsigned char* buf) {
    return reply(kx().KX10USB_Read(dev, n, buf, n), buf, n);
}

KX10SHIM_EXPORT int32_t KX10_CALL KX10USB_Write(int32_t dev, int32_t n,
                                                const unsigned char* bytes) {
    return kx().KX10USB_Write(dev, n, bytes);
}

KX10SHIM_EXPORT int32_t KX10_CALL KX10MCA_Status(int32_t dev, char m, char* buf) {
    return reply(kx().KX10MCA_Status(dev, m, buf, qor::kMcaStatusReplySize), buf,
                 qor::kMcaStatusReplySize);
}

KX10SHIM_EXPORT int32_t KX10_CALL KX10MCA_Preset(int32_t dev, char m, int32_t mode,
                                                 int32_t channels, int32_t preset) {
    return kx().KX10MCA_Preset(dev, m, mode, channels, preset);
}

KX10SHIM_EXPORT int32_t KX10_CALL KX10MCA_Start(int32_t dev, char m) {
    return kx().KX10MCA_Start(dev, m);
}

KX10SHIM_EXPORT int32_t KX10_CALL KX10MCA_Stop(int32_t dev, char m) {
    return kx().KX10MCA_Stop(dev, m);
}

#ifndef KX10SHIM_PARTIAL
KX10SHIM_EXPORT int32_t KX10_CALL KX10MCA_Clear(int32_t dev, char m) {
    return kx().KX10MCA_Clear(dev, m);
}
#endif

KX10SHIM_EXPORT int32_t KX10_CALL KX10MCA_ReadSEQ(int32_t dev, char m, int32_t first,
                                                  int32_t* dest) {
    return reply(kx().KX10MCA_ReadSEQ(dev, m, first, dest), dest,
                 qor::kMcaBlockChannels * int(sizeof(int32_t)));
}

KX10SHIM_EXPORT int32_t KX10_CALL KX10MCA_2DSCAN_OFFSET(int32_t dev, char m, int32_t value) {
    return kx().KX10MCA_2DSCAN_OFFSET(dev, m, value);
}

KX10SHIM_EXPORT int32_t KX10_CALL KX10MCA_2DSCAN_PSET(int32_t dev, char m, int32_t channels) {
    return kx().KX10MCA_2DSCAN_PSET(dev, m, channels);
}

KX10SHIM_EXPORT int32_t KX10_CALL KX10MCA_2DSCAN_ROISET(int32_t dev, char m, int32_t roi,
                                                        int32_t first, int32_t last,
                                                        int32_t kind) {
    return kx().KX10MCA_2DSCAN_ROISET(dev, m, roi, first, last, kind);
}

KX10SHIM_EXPORT int32_t KX10_CALL KX10MCA_2DSCAN_Start(int32_t dev, char m) {
    return kx().KX10MCA_2DSCAN_Start(dev, m);
}

KX10SHIM_EXPORT int32_t KX10_CALL KX10MCA_2DSCAN_Stop(int32_t dev, char m) {
    return kx().KX10MCA_2DSCAN_Stop(dev, m);
}

KX10SHIM_EXPORT int32_t KX10_CALL KX10MCA_2DSCAN_Status(int32_t dev, char m, char* buf) {
    return reply(kx().KX10MCA_2DSCAN_Status(dev, m, buf, qor::kScanStatusReplySize), buf,
                 qor::kScanStatusReplySize);
}

KX10SHIM_EXPORT int32_t KX10_CALL KX10MCA_2DSCAN_ReadROI(int32_t dev, char m,
                                                         unsigned char* buf) {
    return reply(kx().KX10MCA_2DSCAN_ReadROI(dev, m, buf, qor::kPixelFrameSize), buf,
                 qor::kPixelFrameSize);
}

KX10SHIM_EXPORT int32_t KX10_CALL KX10MCA_2DSCAN_ReadDebug(int32_t dev, char m,
                                                           unsigned char* buf) {
    return reply(kx().KX10MCA_2DSCAN_ReadDebug(dev, m, buf, qor::kDebugBlockSize), buf,
                 qor::kDebugBlockSize);
}

KX10SHIM_EXPORT int32_t KX10_CALL KX10Motor_Set_Speed(int32_t dev, char m, char a,
                                                      int32_t startPps, int32_t maxPps,
                                                      int32_t ramp, int32_t zero,
                                                      int32_t accelClass) {
    return kx().KX10Motor_Set_Speed(dev, m, a, startPps, maxPps, ramp, zero, accelClass);
}

KX10SHIM_EXPORT int32_t KX10_CALL KX10Motor_Get_Status(int32_t dev, char m, char a, char* buf) {
    return reply(kx().KX10Motor_Get_Status(dev, m, a, buf, qor::kMotorStatusReplySize), buf,
                 qor::kMotorStatusReplySize);
}

KX10SHIM_EXPORT int32_t KX10_CALL KX10Motor_Read_Paddress(int32_t dev, char m, char a,
                                                          char* buf) {
    return reply(kx().KX10Motor_Read_Paddress(dev, m, a, buf, qor::kPaddressReplySize), buf,
                 qor::kPaddressReplySize);
}

KX10SHIM_EXPORT int32_t KX10_CALL KX10Motor_Set_Pulse_Address(int32_t dev, char m, char a,
                                                              int32_t pulses) {
    return kx().KX10Motor_Set_Pulse_Address(dev, m, a, pulses);
}

KX10SHIM_EXPORT int32_t KX10_CALL KX10Motor_MoveTo_PAddress(int32_t dev, char m, char a,
                                                            int32_t pulses) {
    return kx().KX10Motor_MoveTo_PAddress(dev, m, a, pulses);
}

KX10SHIM_EXPORT int32_t KX10_CALL KX10Motor_RelMove_PAddress(int32_t dev, char m, char a,
                                                             int32_t pulses) {
    return kx().KX10Motor_RelMove_PAddress(dev, m, a, pulses);
}

KX10SHIM_EXPORT int32_t KX10_CALL KX10Motor_Halt(int32_t dev, char m, char a) {
    return kx().KX10Motor_Halt(dev, m, a);
}

KX10SHIM_EXPORT int32_t KX10_CALL KX10Motor_Set_Interval_Pulse(int32_t dev, char m, char a,
                                                               int32_t pulses) {
    return kx().KX10Motor_Set_Interval_Pulse(dev, m, a, pulses);
}

KX10SHIM_EXPORT int32_t KX10_CALL KX10Motor_Read_18memory2(int32_t dev, char m, char a,
                                                           unsigned char* buf) {
    return reply(kx().KX10Motor_Read_18memory2(dev, m, a, buf, qor::kMemoryDumpSize), buf,
                 qor::kMemoryDumpSize);
}

#ifndef KX10SHIM_PARTIAL
KX10SHIM_EXPORT int32_t KX10_CALL KX10SC24_Status(int32_t dev, char m, char* buf) {
    return reply(kx().KX10SC24_Status(dev, m, buf, qor::kCounterStatusReplySize), buf,
                 qor::kCounterStatusReplySize);
}
#endif

}  // extern "C"
