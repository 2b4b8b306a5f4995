#include "instrument/Kx10Library.h"

#include <QFileInfo>
#include <QStringList>
#include <QtGlobal>

namespace qor {

namespace {
// The axis argument as the library takes it: the axis character, or the port number 0..3.
char axisArg(int32_t a) { return static_cast<char>(a); }
}  // namespace

std::unique_ptr<Kx10Library> Kx10Library::load(const QString& path, QString* error) {
    std::unique_ptr<Kx10Library> lib(new Kx10Library);
    // A file that exists is loaded from where it is, also when named without a folder (the
    // loader alone would look for a bare name only in the system's library folders).
    const QFileInfo file(path);
    lib->library_.setFileName(file.exists() ? file.absoluteFilePath() : path);
    if (!lib->library_.load()) {
        if (error)
            *error = QStringLiteral("The instrument's driver library %1 cannot be loaded: %2")
                         .arg(path, lib->library_.errorString());
        return nullptr;
    }
    QStringList missing;
    auto resolve = [&](const char* name, auto& pointer) {
        pointer = reinterpret_cast<std::remove_reference_t<decltype(pointer)>>(
            lib->library_.resolve(name));
        if (!pointer) missing << QString::fromLatin1(name);
    };
#define QOR_KX10_RESOLVE(name) resolve(#name, lib->name##_);
    KX10_OPERATIONS(QOR_KX10_RESOLVE)
#undef QOR_KX10_RESOLVE
    if (!missing.isEmpty()) {
        if (error)
            *error = QStringLiteral("The instrument's driver library %1 lacks the operations %2")
                         .arg(path, missing.join(QStringLiteral(", ")));
        return nullptr;
    }
    return lib;
}

// The library stays loaded until the process ends: unloading it while the window may still
// hold a stale call in flight buys nothing.
Kx10Library::~Kx10Library() = default;

template <class Call>
int32_t Kx10Library::staged(const char* op, int length, void* buf, int32_t size, Call call) {
    if (!buf) return kLibraryBadBuffer;
    uint8_t* staging = stage_.open(length, buf, size);
    const int32_t result = call(staging);
    if (!stage_.close(buf, size)) {
        ++overruns_;
        lastOverrun_ = op;
        qWarning("The instrument's driver library wrote past the %d-byte reply of %s; the reply "
                 "is refused",
                 stage_.length(), op);
        return kLibraryOverrun;
    }
    return result;
}

template <class Call>
int32_t Kx10Library::stagedText(const char* op, int length, char* buf, int32_t size, Call call) {
    const int32_t result = staged(op, length, buf, size, call);
    // A text reply ends with a NUL whenever the caller's buffer has room after it.
    if (result != kLibraryOverrun && buf && size > length) buf[length] = '\0';
    return result;
}

int32_t Kx10Library::KX10USB_Open(const char* serial, int32_t dev, int32_t p1, int32_t p2) {
    return KX10USB_Open_(serial, dev, p1, p2);
}

int32_t Kx10Library::KX10USB_ReadQsize(int32_t dev) { return KX10USB_ReadQsize_(dev); }

int32_t Kx10Library::KX10USB_Read(int32_t dev, int32_t n, uint8_t* buf, int32_t size) {
    const int32_t want = qBound(0, qMin(n, size), ReplyStage::kCapacity);
    return staged("KX10USB_Read", want, buf, size,
                  [&](uint8_t* b) { return KX10USB_Read_(dev, want, b); });
}

int32_t Kx10Library::KX10USB_Write(int32_t dev, int32_t n, const uint8_t* bytes) {
    return KX10USB_Write_(dev, n, bytes);
}

int32_t Kx10Library::KX10MCA_Status(int32_t dev, char m, char* buf, int32_t size) {
    return stagedText("KX10MCA_Status", kMcaStatusReplySize, buf, size, [&](uint8_t* b) {
        return KX10MCA_Status_(dev, m, reinterpret_cast<char*>(b));
    });
}

int32_t Kx10Library::KX10MCA_Preset(int32_t dev, char m, int32_t mode, int32_t channels,
                                    int32_t preset) {
    return KX10MCA_Preset_(dev, m, mode, channels, preset);
}

int32_t Kx10Library::KX10MCA_Start(int32_t dev, char m) { return KX10MCA_Start_(dev, m); }

int32_t Kx10Library::KX10MCA_Stop(int32_t dev, char m) { return KX10MCA_Stop_(dev, m); }

int32_t Kx10Library::KX10MCA_Clear(int32_t dev, char m) { return KX10MCA_Clear_(dev, m); }

int32_t Kx10Library::KX10MCA_ReadSEQ(int32_t dev, char m, int32_t first, int32_t* dest) {
    constexpr int kBytes = kMcaBlockChannels * int(sizeof(int32_t));
    return staged("KX10MCA_ReadSEQ", kBytes, dest, kBytes, [&](uint8_t* b) {
        return KX10MCA_ReadSEQ_(dev, m, first, reinterpret_cast<int32_t*>(b));
    });
}

int32_t Kx10Library::KX10MCA_2DSCAN_OFFSET(int32_t dev, char m, int32_t value) {
    return KX10MCA_2DSCAN_OFFSET_(dev, m, value);
}

int32_t Kx10Library::KX10MCA_2DSCAN_PSET(int32_t dev, char m, int32_t channels) {
    return KX10MCA_2DSCAN_PSET_(dev, m, channels);
}

int32_t Kx10Library::KX10MCA_2DSCAN_ROISET(int32_t dev, char m, int32_t roi, int32_t first,
                                           int32_t last, int32_t kind) {
    return KX10MCA_2DSCAN_ROISET_(dev, m, roi, first, last, kind);
}

int32_t Kx10Library::KX10MCA_2DSCAN_Start(int32_t dev, char m) {
    return KX10MCA_2DSCAN_Start_(dev, m);
}

int32_t Kx10Library::KX10MCA_2DSCAN_Stop(int32_t dev, char m) {
    return KX10MCA_2DSCAN_Stop_(dev, m);
}

int32_t Kx10Library::KX10MCA_2DSCAN_Status(int32_t dev, char m, char* buf, int32_t size) {
    return stagedText("KX10MCA_2DSCAN_Status", kScanStatusReplySize, buf, size, [&](uint8_t* b) {
        return KX10MCA_2DSCAN_Status_(dev, m, reinterpret_cast<char*>(b));
    });
}

int32_t Kx10Library::KX10MCA_2DSCAN_ReadROI(int32_t dev, char m, uint8_t* buf, int32_t size) {
    return staged("KX10MCA_2DSCAN_ReadROI", kPixelFrameSize, buf, size,
                  [&](uint8_t* b) { return KX10MCA_2DSCAN_ReadROI_(dev, m, b); });
}

int32_t Kx10Library::KX10MCA_2DSCAN_ReadDebug(int32_t dev, char m, uint8_t* buf, int32_t size) {
    return staged("KX10MCA_2DSCAN_ReadDebug", kDebugBlockSize, buf, size,
                  [&](uint8_t* b) { return KX10MCA_2DSCAN_ReadDebug_(dev, m, b); });
}

int32_t Kx10Library::KX10Motor_Set_Speed(int32_t dev, char m, int32_t a, int32_t startPps,
                                         int32_t maxPps, int32_t ramp, int32_t zero,
                                         int32_t accelClass) {
    return KX10Motor_Set_Speed_(dev, m, axisArg(a), startPps, maxPps, ramp, zero, accelClass);
}

int32_t Kx10Library::KX10Motor_Get_Status(int32_t dev, char m, int32_t a, char* buf,
                                          int32_t size) {
    return stagedText("KX10Motor_Get_Status", kMotorStatusReplySize, buf, size, [&](uint8_t* b) {
        return KX10Motor_Get_Status_(dev, m, axisArg(a), reinterpret_cast<char*>(b));
    });
}

int32_t Kx10Library::KX10Motor_Read_Paddress(int32_t dev, char m, int32_t a, char* buf,
                                             int32_t size) {
    return stagedText("KX10Motor_Read_Paddress", kPaddressReplySize, buf, size, [&](uint8_t* b) {
        return KX10Motor_Read_Paddress_(dev, m, axisArg(a), reinterpret_cast<char*>(b));
    });
}

int32_t Kx10Library::KX10Motor_Set_Pulse_Address(int32_t dev, char m, int32_t a,
                                                 int32_t pulses) {
    return KX10Motor_Set_Pulse_Address_(dev, m, axisArg(a), pulses);
}

int32_t Kx10Library::KX10Motor_MoveTo_PAddress(int32_t dev, char m, int32_t a, int32_t pulses) {
    return KX10Motor_MoveTo_PAddress_(dev, m, axisArg(a), pulses);
}

int32_t Kx10Library::KX10Motor_RelMove_PAddress(int32_t dev, char m, int32_t a, int32_t pulses) {
    return KX10Motor_RelMove_PAddress_(dev, m, axisArg(a), pulses);
}

int32_t Kx10Library::KX10Motor_Halt(int32_t dev, char m, int32_t a) {
    return KX10Motor_Halt_(dev, m, axisArg(a));
}

int32_t Kx10Library::KX10Motor_Set_Interval_Pulse(int32_t dev, char m, int32_t a,
                                                  int32_t pulses) {
    return KX10Motor_Set_Interval_Pulse_(dev, m, axisArg(a), pulses);
}

int32_t Kx10Library::KX10Motor_Read_18memory2(int32_t dev, char m, int32_t a, uint8_t* buf,
                                              int32_t size) {
    return staged("KX10Motor_Read_18memory2", kMemoryDumpSize, buf, size, [&](uint8_t* b) {
        return KX10Motor_Read_18memory2_(dev, m, axisArg(a), b);
    });
}

int32_t Kx10Library::KX10SC24_Status(int32_t dev, char m, char* buf, int32_t size) {
    return stagedText("KX10SC24_Status", kCounterStatusReplySize, buf, size, [&](uint8_t* b) {
        return KX10SC24_Status_(dev, m, reinterpret_cast<char*>(b));
    });
}

}  // namespace qor
