// The binding of the driver library: refusal of a library that cannot be bound whole, every
// operation passed through to the library as the simulator itself would have received it, and
// replies bounded by their documented lengths and by the caller's buffer.

#include "instrument/Kx10Library.h"
#include "shim/ShimControl.h"
#include "sim/Kx10Simulator.h"
#include "support/Fakes.h"
#include "support/LoggingKx10.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

using namespace qor;
using namespace qor::test;

namespace {

const QString kShim = QStringLiteral(KX10SHIM_PATH);
const QString kPartialShim = QStringLiteral(KX10SHIM_PARTIAL_PATH);

// The stand-in library's test controls.
struct ShimControls {
    QLibrary lib{kShim};
    Kx10ShimReset reset = reinterpret_cast<Kx10ShimReset>(lib.resolve("kx10shim_reset"));
    Kx10ShimSpill spill = reinterpret_cast<Kx10ShimSpill>(lib.resolve("kx10shim_spill"));
};

// The library bound, its simulated instrument on `clock`, the calls it receives in `log`.
std::unique_ptr<Kx10Library> bindShim(ShimControls& shim, ManualClock& clock, CallLog* log) {
    EXPECT_TRUE(shim.reset && shim.spill) << shim.lib.errorString().toStdString();
    if (!shim.reset) return nullptr;
    shim.reset(&clock, log);
    QString error;
    std::unique_ptr<Kx10Library> lib = Kx10Library::load(kShim, &error);
    EXPECT_TRUE(lib) << error.toStdString();
    return lib;
}

std::vector<uint8_t> bytes(const void* p, size_t n) {
    const auto* b = static_cast<const uint8_t*>(p);
    return std::vector<uint8_t>(b, b + n);
}

// Every driver operation once or more, with the replies the callee wrote; MCA1 at '1', motors
// at '2' (axis characters and the presence check's port number), the counter at '7'.
std::vector<std::vector<uint8_t>> session(Kx10& kx, ManualClock& clock) {
    std::vector<std::vector<uint8_t>> out;
    auto result = [&out](int32_t r) { out.push_back(bytes(&r, sizeof r)); };
    static const uint8_t kVersion[7] = {0x24, 0x47, 0x03, 0x00, 0x24, 0x23, 0x0D};
    result(kx.KX10USB_Open("SN-0042", 1, 1500, 1500));
    result(kx.KX10USB_Write(1, 7, kVersion));
    clock.advance(50);
    result(kx.KX10USB_ReadQsize(1));
    uint8_t version[16] = {};
    result(kx.KX10USB_Read(1, 10, version, 16));
    out.push_back(bytes(version, sizeof version));

    char text[17] = {};
    result(kx.KX10Motor_Get_Status(1, '2', 0, text, 16));     // presence check: port number
    out.push_back(bytes(text, sizeof text));
    result(kx.KX10Motor_Set_Speed(1, '2', '0', 100, 800, 50, 0, 2));
    result(kx.KX10Motor_Set_Pulse_Address(1, '2', '1', -1234));
    result(kx.KX10Motor_MoveTo_PAddress(1, '2', '0', 400));
    result(kx.KX10Motor_RelMove_PAddress(1, '2', '1', -40));
    result(kx.KX10Motor_Set_Interval_Pulse(1, '2', '0', 40));
    clock.advance(300);
    result(kx.KX10Motor_Get_Status(1, '2', '0', text, 16));
    out.push_back(bytes(text, sizeof text));
    result(kx.KX10Motor_Read_Paddress(1, '2', '1', text, 16));
    out.push_back(bytes(text, sizeof text));
    result(kx.KX10Motor_Halt(1, '2', '0'));
    uint8_t dump[kMemoryDumpSize] = {};
    result(kx.KX10Motor_Read_18memory2(1, '2', '0', dump, kMemoryDumpSize));
    out.push_back(bytes(dump, sizeof dump));

    result(kx.KX10MCA_Preset(1, '1', 1, 2048, 500));
    result(kx.KX10MCA_Clear(1, '1'));
    result(kx.KX10MCA_Start(1, '1'));
    clock.advance(2000);
    result(kx.KX10MCA_Status(1, '1', text, 16));
    out.push_back(bytes(text, sizeof text));
    int32_t block[kMcaBlockChannels] = {};
    result(kx.KX10MCA_ReadSEQ(1, '1', 512, block));
    out.push_back(bytes(block, sizeof block));
    result(kx.KX10MCA_Stop(1, '1'));

    result(kx.KX10MCA_2DSCAN_PSET(1, '1', 2048));
    result(kx.KX10MCA_2DSCAN_ROISET(1, '1', 0, 628, 652, 1));
    result(kx.KX10MCA_2DSCAN_OFFSET(1, '1', 0));
    result(kx.KX10MCA_2DSCAN_Start(1, '1'));
    result(kx.KX10MCA_2DSCAN_Status(1, '1', text, 16));
    out.push_back(bytes(text, sizeof text));
    uint8_t frame[kPixelFrameSize] = {};
    result(kx.KX10MCA_2DSCAN_ReadROI(1, '1', frame, kPixelFrameSize));
    out.push_back(bytes(frame, sizeof frame));
    uint8_t debug[kDebugBlockSize] = {};
    result(kx.KX10MCA_2DSCAN_ReadDebug(1, '1', debug, kDebugBlockSize));
    out.push_back(bytes(debug, sizeof debug));
    result(kx.KX10MCA_2DSCAN_Stop(1, '1'));

    result(kx.KX10SC24_Status(1, '7', text, 16));
    out.push_back(bytes(text, sizeof text));
    result(kx.KX10MCA_Status(1, 'E', text, 16));   // no module there: a failure passes through
    return out;
}

}  // namespace

TEST(Kx10Library, IsRefusedWhenTheFileCannotBeLoaded) {
    const QString path = QStringLiteral("/nonexistent/driver/KX10DLLXE5.so");
    QString error;
    EXPECT_EQ(nullptr, Kx10Library::load(path, &error));
    EXPECT_TRUE(error.contains(path)) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("cannot be loaded"))) << error.toStdString();
}

TEST(Kx10Library, LoadsAFileNamedWithoutAFolderFromTheCurrentFolder) {
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QFileInfo(kShim).absolutePath()));
    QString error;
    std::unique_ptr<Kx10Library> lib = Kx10Library::load(QStringLiteral("libkx10shim.so"), &error);
    QDir::setCurrent(before);
    ASSERT_TRUE(lib) << error.toStdString();
    EXPECT_EQ(QFileInfo(kShim).absoluteFilePath(), lib->fileName());
}

TEST(Kx10Library, IsRefusedWhenOperationsAreMissingAndNamesEachOne) {
    QString error;
    EXPECT_EQ(nullptr, Kx10Library::load(kPartialShim, &error));
    EXPECT_TRUE(error.contains(kPartialShim)) << error.toStdString();
    EXPECT_TRUE(error.endsWith(QStringLiteral("lacks the operations KX10MCA_Clear, KX10SC24_Status")))
        << error.toStdString();
}

TEST(Kx10Library, PassesEveryOperationThroughAsTheSimulatorReceivesIt) {
    ManualClock directClock;
    Kx10Simulator sim(directClock);
    CallLog direct;
    LoggingKx10 logged(sim, direct);
    const auto directReplies = session(logged, directClock);

    ShimControls shim;
    ManualClock boundClock;
    CallLog bound;
    std::unique_ptr<Kx10Library> lib = bindShim(shim, boundClock, &bound);
    ASSERT_TRUE(lib);
    EXPECT_EQ(QStringLiteral("libkx10shim.so"), QFileInfo(lib->fileName()).fileName());
    const auto boundReplies = session(*lib, boundClock);

    EXPECT_EQ(direct, bound);
    ASSERT_EQ(directReplies.size(), boundReplies.size());
    for (size_t i = 0; i < directReplies.size(); ++i)
        EXPECT_EQ(directReplies[i], boundReplies[i]) << "reply " << i;
    // The session reached the instrument: the port number and the axis character both went
    // through as given, the MCA counted, the absent module failed.
    EXPECT_EQ("KX10Motor_Get_Status 1 50 0 = 0", bound.at(4));
    EXPECT_EQ("KX10Motor_Get_Status 1 50 48 = 0", bound.at(10));
    int32_t counted = 0;
    std::memcpy(&counted, boundReplies.at(25).data() + 4 * 100, 4);
    EXPECT_GT(counted, 0) << "channel 612 of a two-second spectrum";
    EXPECT_LT(lib->KX10MCA_Status(1, 'E', nullptr, 0), 0);
    EXPECT_EQ(0, lib->overruns());
}

TEST(Kx10Library, NeverWritesPastTheCallersBuffer) {
    ShimControls shim;
    ManualClock clock;
    CallLog log;
    std::unique_ptr<Kx10Library> lib = bindShim(shim, clock, &log);
    ASSERT_TRUE(lib);
    ASSERT_GE(lib->KX10USB_Open("", 1, 1500, 1500), 0);

    // A text reply of 16 bytes into a caller's 4: the rest stays as the caller had it.
    char small[8];
    std::memset(small, '#', sizeof small);
    EXPECT_EQ(0, lib->KX10Motor_Get_Status(1, '2', '0', small, 4));
    EXPECT_EQ('S', small[0]);
    EXPECT_EQ("####", std::string(small + 4, 4));
    // Into a larger buffer, the 16 bytes and a NUL after them, nothing more.
    char large[24];
    std::memset(large, '#', sizeof large);
    EXPECT_EQ(0, lib->KX10Motor_Get_Status(1, '2', '0', large, 20));
    EXPECT_EQ('S', large[0]);
    EXPECT_EQ('\0', large[kMotorStatusReplySize]);
    EXPECT_EQ("#######", std::string(large + kMotorStatusReplySize + 1, 7));

    // The interface read asks the library for no more than the caller's buffer holds.
    static const uint8_t kVersion[7] = {0x24, 0x47, 0x03, 0x00, 0x24, 0x23, 0x0D};
    lib->KX10USB_Write(1, 7, kVersion);
    clock.advance(50);
    uint8_t buf[8];
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(6, lib->KX10USB_Read(1, 10, buf, 6));
    EXPECT_EQ("KX10USB_Read 1 6 = 6", log.back());
    EXPECT_EQ('#', buf[6]);
    EXPECT_EQ('#', buf[7]);

    // A null reply buffer never reaches the library.
    const size_t calls = log.size();
    EXPECT_EQ(kLibraryBadBuffer, lib->KX10MCA_Status(1, '1', nullptr, 16));
    EXPECT_EQ(kLibraryBadBuffer, lib->KX10MCA_ReadSEQ(1, '1', 0, nullptr));
    EXPECT_EQ(calls, log.size());
}

// In every build: a library writing past a reply's documented length (with stores no sanitizer
// sees) writes into the guard band; the reply is refused and the caller's buffer is untouched.
TEST(Kx10Library, RefusesAReplyWrittenPastItsDocumentedLength) {
    ShimControls shim;
    ManualClock clock;
    std::unique_ptr<Kx10Library> lib = bindShim(shim, clock, nullptr);
    ASSERT_TRUE(lib);
    ASSERT_GE(lib->KX10USB_Open("", 1, 1500, 1500), 0);

    struct Case {
        const char* op;
        int length;   // documented reply length
        std::function<int32_t(uint8_t*, int32_t)> call;
    };
    const std::vector<Case> cases = {
        {"KX10MCA_Status", kMcaStatusReplySize,
         [&](uint8_t* b, int32_t n) { return lib->KX10MCA_Status(1, '1', reinterpret_cast<char*>(b), n); }},
        {"KX10MCA_ReadSEQ", kMcaBlockChannels * 4,
         [&](uint8_t* b, int32_t) { return lib->KX10MCA_ReadSEQ(1, '1', 0, reinterpret_cast<int32_t*>(b)); }},
        {"KX10MCA_2DSCAN_ReadROI", kPixelFrameSize,
         [&](uint8_t* b, int32_t n) { return lib->KX10MCA_2DSCAN_ReadROI(1, '1', b, n); }},
        {"KX10MCA_2DSCAN_ReadDebug", kDebugBlockSize,
         [&](uint8_t* b, int32_t n) { return lib->KX10MCA_2DSCAN_ReadDebug(1, '1', b, n); }},
        {"KX10Motor_Read_Paddress", kPaddressReplySize,
         [&](uint8_t* b, int32_t n) { return lib->KX10Motor_Read_Paddress(1, '2', '0', reinterpret_cast<char*>(b), n); }},
        {"KX10Motor_Read_18memory2", kMemoryDumpSize,
         [&](uint8_t* b, int32_t n) { return lib->KX10Motor_Read_18memory2(1, '2', '0', b, n); }},
    };
    int refused = 0;
    for (const Case& c : cases) {
        alignas(4) uint8_t caller[2048];
        std::memset(caller, '#', sizeof caller);
        shim.spill(8, 0);
        EXPECT_EQ(kLibraryOverrun, c.call(caller, c.length)) << c.op;
        EXPECT_EQ(++refused, lib->overruns()) << c.op;
        EXPECT_STREQ(c.op, lib->lastOverrun());
        EXPECT_EQ(std::vector<uint8_t>(sizeof caller, '#'), bytes(caller, sizeof caller)) << c.op;
        // The next reply, written within its length, is the library's again (an empty pixel
        // queue fails the pixel read, as it does on the simulator).
        const int32_t next = c.call(caller, c.length);
        EXPECT_NE(kLibraryOverrun, next) << c.op;
        EXPECT_EQ(refused, lib->overruns()) << c.op;
        if (next >= 0) EXPECT_NE('#', caller[0]) << c.op;
        EXPECT_EQ('#', caller[c.length]) << c.op;
    }
}

// In a build with the address sanitizer the guard band is poisoned while the library runs: the
// first stray write stops the program with the sanitizer's report.
TEST(Kx10LibraryDeathTest, AReplyWrittenPastItsLengthStopsTheProgramUnderTheAddressSanitizer) {
#ifndef QOR_ADDRESS_SANITIZER
    GTEST_SKIP() << "built without the address sanitizer; the guard band test covers this build";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            ShimControls shim;
            ManualClock clock;
            std::unique_ptr<Kx10Library> lib = bindShim(shim, clock, nullptr);
            lib->KX10USB_Open("", 1, 1500, 1500);
            char status[kMcaStatusReplySize + 1] = {};
            shim.spill(1, 1);
            lib->KX10MCA_Status(1, '1', status, kMcaStatusReplySize);
        },
        "use-after-poison");
#endif
}
