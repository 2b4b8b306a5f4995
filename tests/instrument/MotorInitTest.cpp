#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "instrument/MotorInit.h"
#include "instrument/Pulses.h"
#include "instrument/RecordingKx10.h"
#include "support/Fakes.h"

using namespace qor;
using namespace qor::test;

namespace {

InfoRecord motorRecord() {
    InfoRecord r{};
    for (int i = 0; i < 8; ++i) {
        r.MotorInitSpeed[i] = 10 + i;
        r.MotorMaxSpeed[i] = 100 + i;
        r.MotorRampParam[i] = 1000 + i;
        r.MotorAccelIndex[i] = i % 3;
        r.MotorHexSw[i] = i < 4 ? 2 : 11;  // motors 5..8 on controller "B"
    }
    return r;
}

}  // namespace

TEST(MotorInit, SetsOnlyEnabledMotorsOnTheirModuleAndAxisWithTheRecordValues) {
    InfoRecord r = motorRecord();
    const uint8_t enabled[8] = {1, 1, 0, 1, 0, 1, 0, 0};
    std::copy(enabled, enabled + 8, r.MotorEnabled);
    r.MotorEnabled[6] = 2;  // only the value 1 enables a motor
    RecordingKx10 kx;
    FakeAlerts alerts;

    EXPECT_EQ(0, initialiseMotors(r, kx, alerts));

    const auto calls = kx.callsOf("KX10Motor_Set_Speed");
    ASSERT_EQ(4u, calls.size());
    const int motors[4] = {1, 2, 4, 6};
    const char modules[4] = {'2', '2', '2', 'B'};
    const char axes[4] = {'0', '1', '3', '1'};
    for (int k = 0; k < 4; ++k) {
        const int i = motors[k] - 1;
        EXPECT_EQ(modules[k], calls[k].m) << "motor " << motors[k];
        EXPECT_EQ(axes[k], calls[k].a) << "motor " << motors[k];
        EXPECT_EQ((std::vector<int32_t>{10 + i, 100 + i, 1000 + i, 0, i % 3}), calls[k].args);
    }
    EXPECT_TRUE(alerts.messages.isEmpty());
}

TEST(MotorInit, AFailingMotorIsReportedAndTheNextMotorsAreStillSet) {
    InfoRecord r = motorRecord();
    for (int i = 0; i < 8; ++i) r.MotorEnabled[i] = 1;
    RecordingKx10 kx;
    kx.fail("KX10Motor_Set_Speed");
    FakeAlerts alerts;

    EXPECT_EQ(8, initialiseMotors(r, kx, alerts));

    EXPECT_EQ(8u, kx.callsOf("KX10Motor_Set_Speed").size());
    ASSERT_EQ(8, alerts.messages.size());
    EXPECT_EQ(QStringLiteral("Motor#1 init error"), alerts.messages.first());
    EXPECT_EQ(QStringLiteral("Motor#8 init error"), alerts.messages.last());
}

TEST(MotorInit, NoEnabledMotorMeansNoDriverCall) {
    InfoRecord r = motorRecord();
    RecordingKx10 kx;
    FakeAlerts alerts;
    EXPECT_EQ(0, initialiseMotors(r, kx, alerts));
    EXPECT_TRUE(kx.calls.empty());
}

TEST(Pulses, LogicalUnitsRoundHalfUpThenTruncateTowardZero) {
    EXPECT_EQ(124, logicalToPulses(100, 1.239));
    EXPECT_EQ(-123, logicalToPulses(100, -1.239));
    EXPECT_EQ(1250, logicalToPulses(500, 2.5));
    EXPECT_EQ(0, logicalToPulses(100, -0.004));
    EXPECT_EQ(0, logicalToPulses(0, 12.0));
}

TEST(Pulses, OutOfRangeValuesAreHeldAtTheInt32Ends) {
    EXPECT_EQ(std::numeric_limits<int32_t>::max(), logicalToPulses(500, 1e12));
    EXPECT_EQ(std::numeric_limits<int32_t>::min(), logicalToPulses(500, -1e12));
    EXPECT_EQ(std::numeric_limits<int32_t>::max(),
              logicalToPulses(1, std::numeric_limits<double>::infinity()));
    EXPECT_EQ(0, logicalToPulses(1, std::nan("")));
}
