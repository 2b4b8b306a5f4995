#pragma once
// A minimal stand-in for the instrument that records every driver call with its arguments and
// answers from a script: a result per operation (0 unless set, negative to fail) and reply bytes
// per operation.

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "instrument/Kx10.h"

namespace qor::test {

class RecordingKx10 : public Kx10 {
public:
    struct Call {
        std::string op;
        char m = 0;
        int32_t a = -1;             // axis argument of motor operations, -1 otherwise
        std::vector<int32_t> args;  // the remaining numeric arguments in order
    };

    std::vector<Call> calls;
    std::map<std::string, int32_t> results;               // op -> result (default 0)
    std::map<std::string, std::vector<uint8_t>> replies;  // op -> reply bytes

    // Fails operation `op` from now on.
    void fail(const std::string& op) { results[op] = -1; }
    void reply(const std::string& op, const std::string& bytes) {
        replies[op] = std::vector<uint8_t>(bytes.begin(), bytes.end());
    }
    std::vector<Call> callsOf(const std::string& op) const {
        std::vector<Call> out;
        for (const Call& c : calls)
            if (c.op == op) out.push_back(c);
        return out;
    }
    std::vector<std::string> ops() const {
        std::vector<std::string> out;
        for (const Call& c : calls) out.push_back(c.op);
        return out;
    }

    int32_t KX10USB_Open(const char*, int32_t, int32_t p1, int32_t p2) override {
        return record("KX10USB_Open", 0, -1, {p1, p2});
    }
    int32_t KX10USB_ReadQsize(int32_t) override { return record("KX10USB_ReadQsize", 0, -1, {}); }
    int32_t KX10USB_Read(int32_t, int32_t n, uint8_t* buf, int32_t size) override {
        fill("KX10USB_Read", buf, size);
        return record("KX10USB_Read", 0, -1, {n});
    }
    int32_t KX10USB_Write(int32_t, int32_t n, const uint8_t*) override {
        return record("KX10USB_Write", 0, -1, {n});
    }
    int32_t KX10MCA_Status(int32_t, char m, char* buf, int32_t size) override {
        fill("KX10MCA_Status", buf, size);
        return record("KX10MCA_Status", m, -1, {});
    }
    int32_t KX10MCA_Preset(int32_t, char m, int32_t mode, int32_t channels,
                           int32_t preset) override {
        return record("KX10MCA_Preset", m, -1, {mode, channels, preset});
    }
    int32_t KX10MCA_Start(int32_t, char m) override { return record("KX10MCA_Start", m, -1, {}); }
    int32_t KX10MCA_Stop(int32_t, char m) override { return record("KX10MCA_Stop", m, -1, {}); }
    int32_t KX10MCA_Clear(int32_t, char m) override { return record("KX10MCA_Clear", m, -1, {}); }
    int32_t KX10MCA_ReadSEQ(int32_t, char m, int32_t first, int32_t*) override {
        return record("KX10MCA_ReadSEQ", m, -1, {first});
    }
    int32_t KX10MCA_2DSCAN_OFFSET(int32_t, char m, int32_t value) override {
        return record("KX10MCA_2DSCAN_OFFSET", m, -1, {value});
    }
    int32_t KX10MCA_2DSCAN_PSET(int32_t, char m, int32_t channels) override {
        return record("KX10MCA_2DSCAN_PSET", m, -1, {channels});
    }
    int32_t KX10MCA_2DSCAN_ROISET(int32_t, char m, int32_t roi, int32_t first, int32_t last,
                                  int32_t kind) override {
        return record("KX10MCA_2DSCAN_ROISET", m, -1, {roi, first, last, kind});
    }
    int32_t KX10MCA_2DSCAN_Start(int32_t, char m) override {
        return record("KX10MCA_2DSCAN_Start", m, -1, {});
    }
    int32_t KX10MCA_2DSCAN_Stop(int32_t, char m) override {
        return record("KX10MCA_2DSCAN_Stop", m, -1, {});
    }
    int32_t KX10MCA_2DSCAN_Status(int32_t, char m, char* buf, int32_t size) override {
        fill("KX10MCA_2DSCAN_Status", buf, size);
        return record("KX10MCA_2DSCAN_Status", m, -1, {});
    }
    int32_t KX10MCA_2DSCAN_ReadROI(int32_t, char m, uint8_t* buf, int32_t size) override {
        fill("KX10MCA_2DSCAN_ReadROI", buf, size);
        return record("KX10MCA_2DSCAN_ReadROI", m, -1, {size});
    }
    int32_t KX10MCA_2DSCAN_ReadDebug(int32_t, char m, uint8_t* buf, int32_t size) override {
        fill("KX10MCA_2DSCAN_ReadDebug", buf, size);
        return record("KX10MCA_2DSCAN_ReadDebug", m, -1, {size});
    }
    int32_t KX10Motor_Set_Speed(int32_t, char m, int32_t a, int32_t startPps, int32_t maxPps,
                                int32_t ramp, int32_t zero, int32_t accelClass) override {
        return record("KX10Motor_Set_Speed", m, a, {startPps, maxPps, ramp, zero, accelClass});
    }
    int32_t KX10Motor_Get_Status(int32_t, char m, int32_t a, char* buf, int32_t size) override {
        fill("KX10Motor_Get_Status", buf, size);
        return record("KX10Motor_Get_Status", m, a, {});
    }
    int32_t KX10Motor_Read_Paddress(int32_t, char m, int32_t a, char* buf, int32_t size) override {
        fill("KX10Motor_Read_Paddress", buf, size);
        return record("KX10Motor_Read_Paddress", m, a, {});
    }
    int32_t KX10Motor_Set_Pulse_Address(int32_t, char m, int32_t a, int32_t pulses) override {
        return record("KX10Motor_Set_Pulse_Address", m, a, {pulses});
    }
    int32_t KX10Motor_MoveTo_PAddress(int32_t, char m, int32_t a, int32_t pulses) override {
        return record("KX10Motor_MoveTo_PAddress", m, a, {pulses});
    }
    int32_t KX10Motor_RelMove_PAddress(int32_t, char m, int32_t a, int32_t pulses) override {
        return record("KX10Motor_RelMove_PAddress", m, a, {pulses});
    }
    int32_t KX10Motor_Halt(int32_t, char m, int32_t a) override {
        return record("KX10Motor_Halt", m, a, {});
    }
    int32_t KX10Motor_Set_Interval_Pulse(int32_t, char m, int32_t a, int32_t pulses) override {
        return record("KX10Motor_Set_Interval_Pulse", m, a, {pulses});
    }
    int32_t KX10Motor_Read_18memory2(int32_t, char m, int32_t a, uint8_t* buf,
                                     int32_t size) override {
        fill("KX10Motor_Read_18memory2", buf, size);
        return record("KX10Motor_Read_18memory2", m, a, {});
    }
    int32_t KX10SC24_Status(int32_t, char m, char* buf, int32_t size) override {
        fill("KX10SC24_Status", buf, size);
        return record("KX10SC24_Status", m, -1, {});
    }

private:
    int32_t record(const char* op, char m, int32_t a, std::vector<int32_t> args) {
        calls.push_back({op, m, a, std::move(args)});
        const auto it = results.find(op);
        return it == results.end() ? 0 : it->second;
    }
    template <class T>
    void fill(const char* op, T* buf, int32_t size) {
        const auto it = replies.find(op);
        if (it == replies.end() || size <= 0) return;
        const std::size_t n = std::min<std::size_t>(it->second.size(), size);
        std::memcpy(buf, it->second.data(), n);
    }
};

}  // namespace qor::test
