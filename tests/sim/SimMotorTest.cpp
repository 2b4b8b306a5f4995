// The simulated motor controllers: motion in simulated time, halts, new targets, counters,
// end-of-travel switches and the interval pulse setting.

#include "SimSupport.h"

#include <gtest/gtest.h>

using namespace qor;
using namespace qor::simtest;
using qor::test::ManualClock;

namespace {

TEST(SimMotor, ATrapezoidMoveTakesTheTimeItsSpeedsAndRampGive) {
    ManualClock clock;
    Kx10Simulator sim(clock);
    // Defaults: 50 pps start, 200 pps maximum, ramp 100 in class 0 = 1000 pulses/s^2. Speeding up
    // and slowing down take 0.15 s and 18.75 pulses each; 1000 pulses take 0.3 + 962.5 / 200 s.
    ASSERT_GE(sim.KX10Motor_Set_Speed(1, '2', '0', 50, 200, 100, 0, 0), 0);
    ASSERT_GE(sim.KX10Motor_MoveTo_PAddress(1, '2', '0', 1000), 0);
    EXPECT_TRUE(moving(sim, '2', '0'));
    clock.advance(1000);
    EXPECT_NEAR(paddress(sim, '2', '0'), 18.75 + 0.85 * 200, 3);
    clock.advance(4000);
    EXPECT_TRUE(moving(sim, '2', '0'));
    const int64_t rest = runUntilStopped(sim, clock, '2', '0');
    EXPECT_NEAR(5000 + rest, 5112, 15);
    EXPECT_EQ(paddress(sim, '2', '0'), 1000);
    EXPECT_EQ(paddress(sim, '2', '1'), 0) << "the other axes stay";

    // At constant speed (start = maximum) 500 pulses at 100 pps take 5 s exactly.
    ASSERT_GE(sim.KX10Motor_Set_Speed(1, '2', '0', 100, 100, 100, 0, 0), 0);
    sim.KX10Motor_MoveTo_PAddress(1, '2', '0', 500);
    clock.advance(2500);
    EXPECT_NEAR(paddress(sim, '2', '0'), 750, 1);
    clock.advance(2490);
    EXPECT_TRUE(moving(sim, '2', '0'));
    clock.advance(20);
    EXPECT_FALSE(moving(sim, '2', '0'));
    EXPECT_EQ(paddress(sim, '2', '0'), 500);
}

TEST(SimMotor, TheAccelerationClassSetsTheRamp) {
    ManualClock clock;
    Kx10Simulator sim(clock);
    sim.KX10Motor_Set_Speed(1, '2', '0', 50, 2000, 100, 0, 0);
    sim.KX10Motor_Set_Speed(1, '2', '1', 50, 2000, 100, 0, 2);
    sim.KX10Motor_MoveTo_PAddress(1, '2', '0', 3000);
    sim.KX10Motor_MoveTo_PAddress(1, '2', '1', 3000);
    const int64_t fast = runUntilStopped(sim, clock, '2', '0');
    const int64_t slow = fast + runUntilStopped(sim, clock, '2', '1');
    EXPECT_GT(slow, fast + 500);
    EXPECT_EQ(paddress(sim, '2', '1'), 3000);
}

TEST(SimMotor, HaltNewTargetsAndRelativeMoves) {
    ManualClock clock;
    Kx10Simulator sim(clock);
    sim.KX10Motor_Set_Speed(1, '3', '2', 100, 100, 0, 0, 0);
    sim.KX10Motor_MoveTo_PAddress(1, '3', '2', 1000);
    clock.advance(1000);
    ASSERT_GE(sim.KX10Motor_Halt(1, '3', '2'), 0);
    EXPECT_FALSE(moving(sim, '3', '2'));
    const int32_t held = paddress(sim, '3', '2');
    EXPECT_NEAR(held, 100, 1);
    clock.advance(3000);
    EXPECT_EQ(paddress(sim, '3', '2'), held);

    // A new target behind the axis in mid-move: it turns and ends there.
    sim.KX10Motor_MoveTo_PAddress(1, '3', '2', 1000);
    clock.advance(1000);
    sim.KX10Motor_MoveTo_PAddress(1, '3', '2', -200);
    clock.advance(500);
    EXPECT_LT(paddress(sim, '3', '2'), 200);
    runUntilStopped(sim, clock, '3', '2');
    EXPECT_EQ(paddress(sim, '3', '2'), -200);

    ASSERT_GE(sim.KX10Motor_RelMove_PAddress(1, '3', '2', -50), 0);
    runUntilStopped(sim, clock, '3', '2');
    EXPECT_EQ(paddress(sim, '3', '2'), -250);
    sim.KX10Motor_RelMove_PAddress(1, '3', '2', 300);
    runUntilStopped(sim, clock, '3', '2');
    EXPECT_EQ(paddress(sim, '3', '2'), 50);
}

TEST(SimMotor, SettingTheCounterRedefinesThePositionWithoutMoving) {
    ManualClock clock;
    Kx10Simulator sim(clock);
    sim.KX10Motor_Set_Speed(1, '2', '0', 500, 500, 0, 0, 0);
    sim.KX10Motor_MoveTo_PAddress(1, '2', '0', 200);
    runUntilStopped(sim, clock, '2', '0');
    EXPECT_DOUBLE_EQ(sim.stageX(), 2.0);
    ASSERT_GE(sim.KX10Motor_Set_Pulse_Address(1, '2', '0', 0), 0);
    EXPECT_FALSE(moving(sim, '2', '0'));
    EXPECT_EQ(paddress(sim, '2', '0'), 0);
    EXPECT_DOUBLE_EQ(sim.stageX(), 2.0) << "the stage has not moved";
    sim.KX10Motor_MoveTo_PAddress(1, '2', '0', 150);
    runUntilStopped(sim, clock, '2', '0');
    EXPECT_DOUBLE_EQ(sim.stageX(), 3.5);
    EXPECT_EQ(paddress(sim, '2', '0'), 150);
}

TEST(SimMotor, EndOfTravelSwitchesStopTheAxisAndLightTheirLamps) {
    ManualClock clock;
    Kx10Simulator sim(clock);
    const int32_t travel = sim.config().travelPulses;
    ASSERT_GT(travel, 4500) << "wider than the default soft limits of 45 units";
    sim.KX10Motor_Set_Speed(1, '2', '1', 5000, 5000, 0, 0, 0);
    sim.KX10Motor_Set_Pulse_Address(1, '2', '1', 1000);  // counter no longer equals the physical place
    sim.KX10Motor_MoveTo_PAddress(1, '2', '1', 100000);
    runUntilStopped(sim, clock, '2', '1');
    std::string st = motorStatus(sim, '2', '1');
    EXPECT_EQ(st[1], '0');
    EXPECT_EQ(st[4], '1') << "CW lamp";
    EXPECT_EQ(st[2], '0');
    EXPECT_EQ(paddress(sim, '2', '1'), 1000 + travel);
    // Further on does not move; back off clears the lamp.
    sim.KX10Motor_RelMove_PAddress(1, '2', '1', 100);
    clock.advance(100);
    EXPECT_EQ(paddress(sim, '2', '1'), 1000 + travel);
    sim.KX10Motor_RelMove_PAddress(1, '2', '1', -100);
    runUntilStopped(sim, clock, '2', '1');
    EXPECT_EQ(motorStatus(sim, '2', '1')[4], '0');

    sim.KX10Motor_MoveTo_PAddress(1, '2', '1', -100000);
    runUntilStopped(sim, clock, '2', '1');
    st = motorStatus(sim, '2', '1');
    EXPECT_EQ(st[2], '1') << "CCW lamp";
    EXPECT_EQ(st[4], '0');
    EXPECT_EQ(paddress(sim, '2', '1'), 1000 - travel);
}

TEST(SimMotor, IntervalPulsesAreKeptPerControllerAndSpeedsAreChecked) {
    ManualClock clock;
    Kx10Simulator sim(clock);
    ASSERT_GE(sim.KX10Motor_Set_Interval_Pulse(1, '2', '0', 25), 0);
    ASSERT_GE(sim.KX10Motor_Set_Interval_Pulse(1, '3', '0', 40), 0);
    uint8_t mem[64];
    sim.KX10Motor_Read_18memory2(1, '2', '0', mem, sizeof mem);
    EXPECT_EQ(readLe(mem + 1), 25);
    sim.KX10Motor_Read_18memory2(1, '3', '0', mem, sizeof mem);
    EXPECT_EQ(readLe(mem + 1), 40);
    EXPECT_EQ(mem[63], 'E');
    EXPECT_LT(sim.KX10Motor_Set_Interval_Pulse(1, '2', '0', -1), 0);

    EXPECT_LT(sim.KX10Motor_Set_Speed(1, '2', '0', 0, 200, 100, 0, 0), 0);
    EXPECT_LT(sim.KX10Motor_Set_Speed(1, '2', '0', 50, -5, 100, 0, 0), 0);
    EXPECT_LT(sim.KX10Motor_Set_Speed(1, '2', '0', 50, 200, 100, 0, 3), 0);
    EXPECT_LT(sim.KX10Motor_Set_Speed(1, '2', '0', 50, 9000000, 100, 0, 0), 0);
    EXPECT_EQ(sim.motors(2)->axis(0).maxPps, 200) << "a refused setting changes nothing";
    // A maximum below the start speed runs at the start speed.
    ASSERT_GE(sim.KX10Motor_Set_Speed(1, '2', '0', 100, 10, 100, 0, 0), 0);
    sim.KX10Motor_MoveTo_PAddress(1, '2', '0', 100);
    EXPECT_NEAR(runUntilStopped(sim, clock, '2', '0'), 1000, 10);
}

}  // namespace
