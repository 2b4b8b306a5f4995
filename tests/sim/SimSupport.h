#pragma once
// Helpers shared by the simulator tests.

#include "sim/Kx10Simulator.h"
#include "support/Fakes.h"

#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <cstdio>
#include <cstring>
#include <string>

namespace qor::simtest {

// Reads a motor's pulse address the way the program does: character 0 blanked, cut after 11.
inline int32_t paddress(Kx10Simulator& sim, char m, int a) {
    char buf[kPaddressReplySize] = {};
    EXPECT_GE(sim.KX10Motor_Read_Paddress(1, m, a, buf, sizeof buf), 0);
    buf[0] = ' ';
    buf[11] = '\0';
    int v = 0;
    std::sscanf(buf, "%d", &v);
    return v;
}

inline std::string motorStatus(Kx10Simulator& sim, char m, int a) {
    char buf[kMotorStatusReplySize] = {};
    EXPECT_GE(sim.KX10Motor_Get_Status(1, m, a, buf, sizeof buf), 0);
    return std::string(buf);
}

inline bool moving(Kx10Simulator& sim, char m, int a) { return motorStatus(sim, m, a)[1] == '1'; }

inline int32_t readLe(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                                (static_cast<uint32_t>(p[2]) << 16) |
                                (static_cast<uint32_t>(p[3]) << 24));
}

// Runs until the axis stops (at most limitMs), advancing the clock 10 ms at a time; returns the
// time it took.
inline int64_t runUntilStopped(Kx10Simulator& sim, test::ManualClock& clock, char m, int a,
                               int64_t limitMs = 600000) {
    const int64_t t0 = clock.now;
    while (moving(sim, m, a) && clock.now - t0 < limitMs) clock.advance(10);
    return clock.now - t0;
}

}  // namespace qor::simtest
