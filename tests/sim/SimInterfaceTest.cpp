// The simulated instrument's interface, addressing, reply bounds and fault injection.

#include "SimSupport.h"

#include <gtest/gtest.h>
#include <vector>

using namespace qor;
using namespace qor::simtest;
using qor::test::ManualClock;

namespace {

const uint8_t kVersionRequest[] = {0x24, 0x47, 0x03, 0x00, 0x24, 0x23, 0x0D};

// The connect sequence's wait: 2 ms, then up to 1000 polls with 1 ms sleeps.
bool waitForVersion(Kx10Simulator& sim, ManualClock& clock) {
    clock.sleepMs(2);
    for (int i = 0; i < 1000; ++i) {
        if (sim.KX10USB_ReadQsize(1) >= kVersionReplySize) return true;
        clock.sleepMs(1);
    }
    return false;
}

TEST(SimInterface, VersionRequestAnswersTenPrintableBytesAfterAFewMilliseconds) {
    ManualClock clock;
    Kx10Simulator sim(clock);
    ASSERT_GE(sim.KX10USB_Open("B4721mRT", 1, 1500, 1500), 0);
    EXPECT_EQ(sim.KX10USB_ReadQsize(1), 0);
    ASSERT_EQ(sim.KX10USB_Write(1, 7, kVersionRequest), 7);
    EXPECT_EQ(sim.KX10USB_ReadQsize(1), 0) << "the reply is not there at once";
    ASSERT_TRUE(waitForVersion(sim, clock));
    EXPECT_LT(clock.now, 50);
    uint8_t buf[10];
    ASSERT_EQ(sim.KX10USB_Read(1, 10, buf, sizeof buf), 10);
    for (uint8_t b : buf) EXPECT_TRUE(b >= 0x20 && b < 0x7F) << int(b);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), 10), "KX10 V2.03");
    EXPECT_EQ(sim.KX10USB_ReadQsize(1), 0);
}

TEST(SimInterface, InterfaceRulesOpenSerialAndBoundedReads) {
    ManualClock clock;
    SimConfig cfg;
    cfg.serial = "ABC";
    Kx10Simulator sim(clock, cfg);
    EXPECT_LT(sim.KX10USB_ReadQsize(1), 0) << "not open yet";
    EXPECT_LT(sim.KX10USB_Write(1, 7, kVersionRequest), 0);
    EXPECT_LT(sim.KX10USB_Open("XYZ", 1, 1500, 1500), 0) << "wrong serial";
    EXPECT_LT(sim.KX10USB_Open(nullptr, 1, 1500, 1500), 0);
    ASSERT_GE(sim.KX10USB_Open("ABC", 1, 1500, 1500), 0);

    // Two requests queue twenty bytes; a read into a small buffer takes only what fits.
    sim.KX10USB_Write(1, 7, kVersionRequest);
    sim.KX10USB_Write(1, 7, kVersionRequest);
    clock.advance(100);
    ASSERT_EQ(sim.KX10USB_ReadQsize(1), 20);
    uint8_t buf[8];
    std::memset(buf, 0xAA, sizeof buf);
    EXPECT_EQ(sim.KX10USB_Read(1, 20, buf, 4), 4);
    EXPECT_EQ(buf[4], 0xAA) << "nothing written past the given size";
    EXPECT_EQ(sim.KX10USB_ReadQsize(1), 16);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), 4), "KX10");

    // Frames that are not the version request answer nothing; garbage is dropped.
    const uint8_t other[] = {'$', 'G', 2, 0, 'x', 'y', 'j', 'u', 'n', 'k'};
    EXPECT_EQ(sim.KX10USB_Write(1, sizeof other, other), int(sizeof other));
    clock.advance(100);
    EXPECT_EQ(sim.KX10USB_ReadQsize(1), 16);

    SimConfig absent;
    absent.usbPresent = false;
    Kx10Simulator none(clock, absent);
    EXPECT_LT(none.KX10USB_Open("B4721mRT", 1, 1500, 1500), 0);
}

TEST(SimInterface, ModulesAnswerOnlyAtTheirAddressesAndKinds) {
    ManualClock clock;
    Kx10Simulator sim(clock);
    char buf[16];
    EXPECT_GE(sim.KX10MCA_Status(1, '1', buf, sizeof buf), 0);
    EXPECT_LT(sim.KX10MCA_Status(1, '2', buf, sizeof buf), 0) << "a motor controller is no MCA";
    EXPECT_LT(sim.KX10MCA_Status(1, '0', buf, sizeof buf), 0) << "nothing at 0";
    EXPECT_LT(sim.KX10MCA_Status(1, 'G', buf, sizeof buf), 0);
    EXPECT_LT(sim.KX10MCA_Status(1, 'a', buf, sizeof buf), 0);
    for (char m : {'2', '3'})
        for (int a = 0; a < 4; ++a) {
            EXPECT_GE(sim.KX10Motor_Get_Status(1, m, '0' + a, buf, sizeof buf), 0);
            // The presence check passes the port index as the number itself.
            EXPECT_GE(sim.KX10Motor_Get_Status(1, m, a, buf, sizeof buf), 0);
        }
    EXPECT_LT(sim.KX10Motor_Get_Status(1, '2', 4, buf, sizeof buf), 0);
    EXPECT_LT(sim.KX10Motor_Get_Status(1, '2', '4', buf, sizeof buf), 0);
    EXPECT_LT(sim.KX10Motor_Get_Status(1, '4', '0', buf, sizeof buf), 0);
    EXPECT_LT(sim.KX10Motor_Get_Status(1, '1', '0', buf, sizeof buf), 0);
    EXPECT_GE(sim.KX10SC24_Status(1, '7', buf, sizeof buf), 0);
    EXPECT_LT(sim.KX10SC24_Status(1, '6', buf, sizeof buf), 0);
    EXPECT_LT(sim.KX10MCA_Start(2, '1'), 0) << "interface number 1 only";

    ASSERT_TRUE(sim.removeModule(2));
    EXPECT_LT(sim.KX10Motor_Get_Status(1, '2', '0', buf, sizeof buf), 0);
    EXPECT_LT(sim.KX10Motor_MoveTo_PAddress(1, '2', '0', 100), 0);
    EXPECT_GE(sim.KX10Motor_Get_Status(1, '3', '0', buf, sizeof buf), 0);
    ASSERT_TRUE(sim.addModule(2, SimModuleKind::Motor));
    EXPECT_GE(sim.KX10Motor_Get_Status(1, '2', '0', buf, sizeof buf), 0);

    SimConfig cfg;
    cfg.modules[1] = SimModuleKind::None;
    cfg.modules[0xB] = SimModuleKind::Mca;
    Kx10Simulator moved(clock, cfg);
    EXPECT_LT(moved.KX10MCA_Status(1, '1', buf, sizeof buf), 0);
    EXPECT_GE(moved.KX10MCA_Status(1, 'B', buf, sizeof buf), 0);
}

TEST(SimInterface, RequireOpenGatesTheModules) {
    ManualClock clock;
    SimConfig cfg;
    cfg.requireOpen = true;
    Kx10Simulator sim(clock, cfg);
    char buf[16];
    EXPECT_EQ(sim.KX10MCA_Status(1, '1', buf, sizeof buf), kSimNotOpen);
    ASSERT_GE(sim.KX10USB_Open("any", 1, 1500, 1500), 0);
    EXPECT_GE(sim.KX10MCA_Status(1, '1', buf, sizeof buf), 0);
}

// Every text and framed reply, asked with buffers from 1 byte up to its full size, never writes
// past the size given.
TEST(SimInterface, NoReplyWritesPastTheCallersSize) {
    ManualClock clock;
    Kx10Simulator sim(clock);
    sim.KX10MCA_Preset(1, '1', 0, 2048, 100);
    sim.KX10MCA_Start(1, '1');
    sim.KX10MCA_2DSCAN_ROISET(1, '1', 0, 600, 700, 1);
    sim.KX10MCA_2DSCAN_Start(1, '1');
    sim.KX10Motor_Set_Interval_Pulse(1, '2', '0', 5);
    sim.KX10Motor_MoveTo_PAddress(1, '2', '0', 100);
    clock.advance(3000);
    using Call = std::function<int32_t(uint8_t*, int32_t)>;
    const std::vector<std::pair<const char*, Call>> calls = {
        {"MCA status", [&](uint8_t* b, int32_t n) { return sim.KX10MCA_Status(1, '1', reinterpret_cast<char*>(b), n); }},
        {"scan status", [&](uint8_t* b, int32_t n) { return sim.KX10MCA_2DSCAN_Status(1, '1', reinterpret_cast<char*>(b), n); }},
        {"pixel", [&](uint8_t* b, int32_t n) { return sim.KX10MCA_2DSCAN_ReadROI(1, '1', b, n); }},
        {"debug", [&](uint8_t* b, int32_t n) { return sim.KX10MCA_2DSCAN_ReadDebug(1, '1', b, n); }},
        {"motor status", [&](uint8_t* b, int32_t n) { return sim.KX10Motor_Get_Status(1, '2', '0', reinterpret_cast<char*>(b), n); }},
        {"paddress", [&](uint8_t* b, int32_t n) { return sim.KX10Motor_Read_Paddress(1, '2', '0', reinterpret_cast<char*>(b), n); }},
        {"memory", [&](uint8_t* b, int32_t n) { return sim.KX10Motor_Read_18memory2(1, '2', '0', b, n); }},
        {"counter", [&](uint8_t* b, int32_t n) { return sim.KX10SC24_Status(1, '7', reinterpret_cast<char*>(b), n); }},
    };
    for (const auto& [what, call] : calls) {
        for (int32_t size = 1; size <= 140; ++size) {
            std::vector<uint8_t> buf(size + 16, 0xCD);
            call(buf.data(), size);
            for (int32_t i = size; i < size + 16; ++i)
                ASSERT_EQ(buf[i], 0xCD) << what << " size " << size << " byte " << i;
        }
        EXPECT_LT(call(nullptr, 16), 0) << what;
        uint8_t one = 0;
        EXPECT_LT(call(&one, 0), 0) << what;
    }
}

TEST(SimInterface, ReplyFormatsMatchWhatTheProgramReads) {
    ManualClock clock;
    Kx10Simulator sim(clock);
    char text[16] = {};
    ASSERT_GE(sim.KX10MCA_Status(1, '1', text, sizeof text), 0);
    EXPECT_EQ(text[1], '0') << "idle";
    ASSERT_GE(sim.KX10Motor_Set_Pulse_Address(1, '2', '1', -1234), 0);
    EXPECT_EQ(paddress(sim, '2', '1'), -1234);
    char pa[16] = {};
    sim.KX10Motor_Read_Paddress(1, '2', '1', pa, sizeof pa);
    EXPECT_EQ(std::strlen(pa), 11u);
    sim.KX10Motor_Set_Pulse_Address(1, '2', '1', 2147483647);
    EXPECT_EQ(paddress(sim, '2', '1'), 999999999) << "held to the ten characters of the reply";
    EXPECT_EQ(motorStatus(sim, '2', '0').substr(0, 5), "S0000");

    char qs[16] = {};
    ASSERT_GE(sim.KX10MCA_2DSCAN_Status(1, '1', qs, sizeof qs), 0);
    EXPECT_EQ(std::string(qs, 3), "000");

    uint8_t block[69] = {};
    ASSERT_GE(sim.KX10MCA_2DSCAN_ReadDebug(1, '1', block, sizeof block), 0);
    EXPECT_EQ(block[68], 'E');
    EXPECT_EQ(block[2] | (block[3] << 8), 2048);

    uint8_t frame[130];
    EXPECT_LT(sim.KX10MCA_2DSCAN_ReadROI(1, '1', frame, sizeof frame), 0) << "store empty";
    EXPECT_EQ(frame[0], '$');
    EXPECT_EQ(frame[129], 'E');
    for (int k = 0; k < 20; ++k) EXPECT_EQ(readLe(frame + 1 + 4 * k), 0);

    sim.KX10Motor_Set_Interval_Pulse(1, '2', '0', 777);
    uint8_t mem[64] = {};
    ASSERT_GE(sim.KX10Motor_Read_18memory2(1, '2', '0', mem, sizeof mem), 0);
    EXPECT_EQ(readLe(mem + 1), 777) << "bytes 1..4 hold the interval pulses";
}

TEST(SimInterface, InjectedFailuresHitOnceNTimesOrAlways) {
    ManualClock clock;
    Kx10Simulator sim(clock);
    char buf[16];
    EXPECT_FALSE(sim.faults().fail("NoSuchOperation"));
    ASSERT_TRUE(sim.faults().fail("KX10MCA_Status"));
    EXPECT_EQ(sim.KX10MCA_Status(1, '1', buf, sizeof buf), kSimInjected);
    EXPECT_GE(sim.KX10MCA_Status(1, '1', buf, sizeof buf), 0);

    ASSERT_TRUE(sim.faults().fail("KX10Motor_Get_Status", 3));
    int failures = 0;
    for (int i = 0; i < 5; ++i) failures += sim.KX10Motor_Get_Status(1, '2', '0', buf, sizeof buf) < 0;
    EXPECT_EQ(failures, 3);

    ASSERT_TRUE(sim.faults().failAlways("KX10MCA_ReadSEQ"));
    int32_t dest[256];
    for (int i = 0; i < 10; ++i) EXPECT_LT(sim.KX10MCA_ReadSEQ(1, '1', 0, dest), 0);
    EXPECT_EQ(sim.faults().calls("KX10MCA_ReadSEQ"), 10);
    sim.faults().clear("KX10MCA_ReadSEQ");
    EXPECT_GE(sim.KX10MCA_ReadSEQ(1, '1', 0, dest), 0);

    // A failed command changes nothing in the instrument.
    sim.faults().fail("KX10Motor_Set_Pulse_Address");
    EXPECT_LT(sim.KX10Motor_Set_Pulse_Address(1, '2', '0', 500), 0);
    EXPECT_EQ(paddress(sim, '2', '0'), 0);
    sim.faults().failAlways("KX10USB_Open");
    sim.faults().clearAll();
    EXPECT_GE(sim.KX10USB_Open("x", 1, 1500, 1500), 0);
}

TEST(SimInterface, DelayedRepliesTimeOut) {
    ManualClock clock;
    Kx10Simulator sim(clock);
    ASSERT_GE(sim.KX10USB_Open("x", 1, 1500, 1500), 0);
    // The version reply comes after the program's 1000 polls have given up.
    ASSERT_TRUE(sim.faults().delay("KX10USB_Write", 1500));
    sim.KX10USB_Write(1, 7, kVersionRequest);
    EXPECT_FALSE(waitForVersion(sim, clock));
    clock.advance(1000);
    EXPECT_EQ(sim.KX10USB_ReadQsize(1), 10) << "it does arrive later";
    uint8_t drop[10];
    sim.KX10USB_Read(1, 10, drop, sizeof drop);

    // A module reply later than the time-out blocks the caller's clock for the time-out and fails;
    // a shorter delay only costs time.
    char buf[16];
    const int64_t t0 = clock.now;
    sim.faults().delay("KX10MCA_Status", 5000);
    EXPECT_EQ(sim.KX10MCA_Status(1, '1', buf, sizeof buf), kSimTimeout);
    EXPECT_EQ(clock.now - t0, sim.config().replyTimeoutMs);
    sim.faults().delay("KX10MCA_Status", 20);
    EXPECT_GE(sim.KX10MCA_Status(1, '1', buf, sizeof buf), 0);
    EXPECT_EQ(clock.now - t0, sim.config().replyTimeoutMs + 20);
}

TEST(SimInterface, CorruptedRepliesLoseTheirEndMarkOrGetShort) {
    ManualClock clock;
    Kx10Simulator sim(clock);
    ASSERT_GE(sim.KX10USB_Open("x", 1, 1500, 1500), 0);
    sim.faults().corrupt("KX10USB_Write", SimFaultKind::ShortFrame);
    sim.KX10USB_Write(1, 7, kVersionRequest);
    EXPECT_FALSE(waitForVersion(sim, clock)) << "half a version reply never completes";

    uint8_t block[69];
    sim.faults().corrupt("KX10MCA_2DSCAN_ReadDebug", SimFaultKind::MissingEndMark);
    ASSERT_GE(sim.KX10MCA_2DSCAN_ReadDebug(1, '1', block, sizeof block), 0);
    EXPECT_NE(block[68], 'E');
    ASSERT_GE(sim.KX10MCA_2DSCAN_ReadDebug(1, '1', block, sizeof block), 0);
    EXPECT_EQ(block[68], 'E') << "once only";

    uint8_t frame[130];
    std::memset(frame, 0x11, sizeof frame);
    sim.faults().corrupt("KX10MCA_2DSCAN_ReadROI", SimFaultKind::ShortFrame);
    sim.KX10MCA_2DSCAN_ReadROI(1, '1', frame, sizeof frame);
    EXPECT_EQ(frame[0], '$');
    EXPECT_EQ(frame[129], 0x11) << "a short frame leaves the end of the buffer as it was";

    char status[16];
    sim.faults().corrupt("KX10Motor_Get_Status", SimFaultKind::ShortFrame, kFaultAlways);
    sim.KX10Motor_Get_Status(1, '2', '0', status, sizeof status);
    EXPECT_LT(std::strlen(status), 5u);
    EXPECT_FALSE(sim.faults().corrupt("KX10MCA_Status", SimFaultKind::Fail));
}

}  // namespace
