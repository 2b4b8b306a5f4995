#pragma once
// A small recording stand-in for the driver operations the stage control uses: every motor
// call is recorded with its address and value; each axis holds a pulse address and a status
// reply; chosen operations can be made to fail. Every other operation fails.

#include "instrument/Kx10.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace qor::test {

class StageFakeKx10 : public Kx10 {
public:
    struct Call {
        std::string op;   // "read", "status", "set", "move", "halt"
        char module;
        int32_t axis;     // the axis character as passed ('0'..'3')
        int32_t value;    // pulses for "set" and "move", 0 otherwise
        bool operator==(const Call& o) const {
            return op == o.op && module == o.module && axis == o.axis && value == o.value;
        }
    };
    friend void PrintTo(const Call& c, std::ostream* os) {
        *os << c.op << "(" << c.module << "," << static_cast<char>(c.axis) << "," << c.value << ")";
    }
    struct Axis {
        int32_t pulses = 0;
        std::string status = "S000000";  // [1] moving, [2] CCW, [4] CW
    };

    std::vector<Call> calls;
    std::map<std::pair<char, int32_t>, Axis> axes;
    std::set<std::string> failing;  // operations that return -1

    Axis& axis(char module, char axisChar) { return axes[{module, axisChar}]; }
    std::vector<Call> commands() const {  // the calls that act on a motor
        std::vector<Call> out;
        for (const Call& c : calls)
            if (c.op == "set" || c.op == "move" || c.op == "halt") out.push_back(c);
        return out;
    }

    int32_t KX10Motor_Read_Paddress(int32_t, char m, int32_t a, char* buf, int32_t size) override {
        calls.push_back({"read", m, a, 0});
        if (failing.count("read")) return -1;
        char reply[32];
        std::snprintf(reply, sizeof reply, "P%+010d", axis(m, static_cast<char>(a)).pulses);
        std::strncpy(buf, reply, static_cast<size_t>(size));
        return 0;
    }
    int32_t KX10Motor_Get_Status(int32_t, char m, int32_t a, char* buf, int32_t size) override {
        calls.push_back({"status", m, a, 0});
        if (failing.count("status")) return -1;
        std::strncpy(buf, axis(m, static_cast<char>(a)).status.c_str(), static_cast<size_t>(size));
        return 0;
    }
    int32_t KX10Motor_Set_Pulse_Address(int32_t, char m, int32_t a, int32_t pulses) override {
        calls.push_back({"set", m, a, pulses});
        if (failing.count("set")) return -1;
        axis(m, static_cast<char>(a)).pulses = pulses;
        return 0;
    }
    int32_t KX10Motor_MoveTo_PAddress(int32_t, char m, int32_t a, int32_t pulses) override {
        calls.push_back({"move", m, a, pulses});
        return failing.count("move") ? -1 : 0;
    }
    int32_t KX10Motor_Halt(int32_t, char m, int32_t a) override {
        calls.push_back({"halt", m, a, 0});
        return failing.count("halt") ? -1 : 0;
    }

    int32_t KX10USB_Open(const char*, int32_t, int32_t, int32_t) override { return -1; }
    int32_t KX10USB_ReadQsize(int32_t) override { return -1; }
    int32_t KX10USB_Read(int32_t, int32_t, uint8_t*, int32_t) override { return -1; }
    int32_t KX10USB_Write(int32_t, int32_t, const uint8_t*) override { return -1; }
    int32_t KX10MCA_Status(int32_t, char, char*, int32_t) override { return -1; }
    int32_t KX10MCA_Preset(int32_t, char, int32_t, int32_t, int32_t) override { return -1; }
    int32_t KX10MCA_Start(int32_t, char) override { return -1; }
    int32_t KX10MCA_Stop(int32_t, char) override { return -1; }
    int32_t KX10MCA_Clear(int32_t, char) override { return -1; }
    int32_t KX10MCA_ReadSEQ(int32_t, char, int32_t, int32_t*) override { return -1; }
    int32_t KX10MCA_2DSCAN_OFFSET(int32_t, char, int32_t) override { return -1; }
    int32_t KX10MCA_2DSCAN_PSET(int32_t, char, int32_t) override { return -1; }
    int32_t KX10MCA_2DSCAN_ROISET(int32_t, char, int32_t, int32_t, int32_t, int32_t) override {
        return -1;
    }
    int32_t KX10MCA_2DSCAN_Start(int32_t, char) override { return -1; }
    int32_t KX10MCA_2DSCAN_Stop(int32_t, char) override { return -1; }
    int32_t KX10MCA_2DSCAN_Status(int32_t, char, char*, int32_t) override { return -1; }
    int32_t KX10MCA_2DSCAN_ReadROI(int32_t, char, uint8_t*, int32_t) override { return -1; }
    int32_t KX10MCA_2DSCAN_ReadDebug(int32_t, char, uint8_t*, int32_t) override { return -1; }
    int32_t KX10Motor_Set_Speed(int32_t, char, int32_t, int32_t, int32_t, int32_t, int32_t,
                                int32_t) override {
        return -1;
    }
    int32_t KX10Motor_RelMove_PAddress(int32_t, char, int32_t, int32_t) override { return -1; }
    int32_t KX10Motor_Set_Interval_Pulse(int32_t, char, int32_t, int32_t) override { return -1; }
    int32_t KX10Motor_Read_18memory2(int32_t, char, int32_t, uint8_t*, int32_t) override {
        return -1;
    }
    int32_t KX10SC24_Status(int32_t, char, char*, int32_t) override { return -1; }
};

}  // namespace qor::test
