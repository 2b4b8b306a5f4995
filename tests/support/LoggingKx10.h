#pragma once
// A pass-through stand-in: forwards every driver call to another Kx10 and logs it as one text
// line, the operation, its arguments (buffer sizes left out, since the driver library is never
// told them) and the result: "KX10Motor_Get_Status 1 2 0 = 0". Two runs that send the same
// calls in the same order and get the same results give the same log. Header-only, so that the
// stand-in driver library of tests/shim logs in exactly the same words.

#include "instrument/Kx10.h"

#include <cstdio>
#include <string>
#include <vector>

namespace qor::test {

using CallLog = std::vector<std::string>;

class LoggingKx10 : public Kx10 {
public:
    LoggingKx10(Kx10& inner, CallLog& log) : inner_(inner), log_(log) {}

    int32_t KX10USB_Open(const char* serial, int32_t dev, int32_t p1, int32_t p2) override {
        return put("KX10USB_Open " + text(serial) + num(dev) + num(p1) + num(p2),
                   inner_.KX10USB_Open(serial, dev, p1, p2));
    }
    int32_t KX10USB_ReadQsize(int32_t dev) override {
        return put("KX10USB_ReadQsize" + num(dev), inner_.KX10USB_ReadQsize(dev));
    }
    int32_t KX10USB_Read(int32_t dev, int32_t n, uint8_t* buf, int32_t size) override {
        return put("KX10USB_Read" + num(dev) + num(n), inner_.KX10USB_Read(dev, n, buf, size));
    }
    int32_t KX10USB_Write(int32_t dev, int32_t n, const uint8_t* bytes) override {
        std::string call = "KX10USB_Write" + num(dev) + num(n);
        for (int32_t i = 0; bytes && i < n; ++i) call += num(bytes[i]);
        return put(call, inner_.KX10USB_Write(dev, n, bytes));
    }
    int32_t KX10MCA_Status(int32_t dev, char m, char* buf, int32_t size) override {
        return put("KX10MCA_Status" + num(dev) + num(m), inner_.KX10MCA_Status(dev, m, buf, size));
    }
    int32_t KX10MCA_Preset(int32_t dev, char m, int32_t mode, int32_t channels,
                           int32_t preset) override {
        return put("KX10MCA_Preset" + num(dev) + num(m) + num(mode) + num(channels) + num(preset),
                   inner_.KX10MCA_Preset(dev, m, mode, channels, preset));
    }
    int32_t KX10MCA_Start(int32_t dev, char m) override {
        return put("KX10MCA_Start" + num(dev) + num(m), inner_.KX10MCA_Start(dev, m));
    }
    int32_t KX10MCA_Stop(int32_t dev, char m) override {
        return put("KX10MCA_Stop" + num(dev) + num(m), inner_.KX10MCA_Stop(dev, m));
    }
    int32_t KX10MCA_Clear(int32_t dev, char m) override {
        return put("KX10MCA_Clear" + num(dev) + num(m), inner_.KX10MCA_Clear(dev, m));
    }
    int32_t KX10MCA_ReadSEQ(int32_t dev, char m, int32_t first, int32_t* dest) override {
        return put("KX10MCA_ReadSEQ" + num(dev) + num(m) + num(first),
                   inner_.KX10MCA_ReadSEQ(dev, m, first, dest));
    }
    int32_t KX10MCA_2DSCAN_OFFSET(int32_t dev, char m, int32_t value) override {
        return put("KX10MCA_2DSCAN_OFFSET" + num(dev) + num(m) + num(value),
                   inner_.KX10MCA_2DSCAN_OFFSET(dev, m, value));
    }
    int32_t KX10MCA_2DSCAN_PSET(int32_t dev, char m, int32_t channels) override {
        return put("KX10MCA_2DSCAN_PSET" + num(dev) + num(m) + num(channels),
                   inner_.KX10MCA_2DSCAN_PSET(dev, m, channels));
    }
    int32_t KX10MCA_2DSCAN_ROISET(int32_t dev, char m, int32_t roi, int32_t first, int32_t last,
                                  int32_t kind) override {
        return put("KX10MCA_2DSCAN_ROISET" + num(dev) + num(m) + num(roi) + num(first) +
                       num(last) + num(kind),
                   inner_.KX10MCA_2DSCAN_ROISET(dev, m, roi, first, last, kind));
    }
    int32_t KX10MCA_2DSCAN_Start(int32_t dev, char m) override {
        return put("KX10MCA_2DSCAN_Start" + num(dev) + num(m), inner_.KX10MCA_2DSCAN_Start(dev, m));
    }
    int32_t KX10MCA_2DSCAN_Stop(int32_t dev, char m) override {
        return put("KX10MCA_2DSCAN_Stop" + num(dev) + num(m), inner_.KX10MCA_2DSCAN_Stop(dev, m));
    }
    int32_t KX10MCA_2DSCAN_Status(int32_t dev, char m, char* buf, int32_t size) override {
        return put("KX10MCA_2DSCAN_Status" + num(dev) + num(m),
                   inner_.KX10MCA_2DSCAN_Status(dev, m, buf, size));
    }
    int32_t KX10MCA_2DSCAN_ReadROI(int32_t dev, char m, uint8_t* buf, int32_t size) override {
        return put("KX10MCA_2DSCAN_ReadROI" + num(dev) + num(m),
                   inner_.KX10MCA_2DSCAN_ReadROI(dev, m, buf, size));
    }
    int32_t KX10MCA_2DSCAN_ReadDebug(int32_t dev, char m, uint8_t* buf, int32_t size) override {
        return put("KX10MCA_2DSCAN_ReadDebug" + num(dev) + num(m),
                   inner_.KX10MCA_2DSCAN_ReadDebug(dev, m, buf, size));
    }
    int32_t KX10Motor_Set_Speed(int32_t dev, char m, int32_t a, int32_t startPps, int32_t maxPps,
                                int32_t ramp, int32_t zero, int32_t accelClass) override {
        return put("KX10Motor_Set_Speed" + num(dev) + num(m) + num(a) + num(startPps) +
                       num(maxPps) + num(ramp) + num(zero) + num(accelClass),
                   inner_.KX10Motor_Set_Speed(dev, m, a, startPps, maxPps, ramp, zero,
                                              accelClass));
    }
    int32_t KX10Motor_Get_Status(int32_t dev, char m, int32_t a, char* buf, int32_t size) override {
        return put("KX10Motor_Get_Status" + num(dev) + num(m) + num(a),
                   inner_.KX10Motor_Get_Status(dev, m, a, buf, size));
    }
    int32_t KX10Motor_Read_Paddress(int32_t dev, char m, int32_t a, char* buf,
                                    int32_t size) override {
        return put("KX10Motor_Read_Paddress" + num(dev) + num(m) + num(a),
                   inner_.KX10Motor_Read_Paddress(dev, m, a, buf, size));
    }
    int32_t KX10Motor_Set_Pulse_Address(int32_t dev, char m, int32_t a, int32_t pulses) override {
        return put("KX10Motor_Set_Pulse_Address" + num(dev) + num(m) + num(a) + num(pulses),
                   inner_.KX10Motor_Set_Pulse_Address(dev, m, a, pulses));
    }
    int32_t KX10Motor_MoveTo_PAddress(int32_t dev, char m, int32_t a, int32_t pulses) override {
        return put("KX10Motor_MoveTo_PAddress" + num(dev) + num(m) + num(a) + num(pulses),
                   inner_.KX10Motor_MoveTo_PAddress(dev, m, a, pulses));
    }
    int32_t KX10Motor_RelMove_PAddress(int32_t dev, char m, int32_t a, int32_t pulses) override {
        return put("KX10Motor_RelMove_PAddress" + num(dev) + num(m) + num(a) + num(pulses),
                   inner_.KX10Motor_RelMove_PAddress(dev, m, a, pulses));
    }
    int32_t KX10Motor_Halt(int32_t dev, char m, int32_t a) override {
        return put("KX10Motor_Halt" + num(dev) + num(m) + num(a), inner_.KX10Motor_Halt(dev, m, a));
    }
    int32_t KX10Motor_Set_Interval_Pulse(int32_t dev, char m, int32_t a, int32_t pulses) override {
        return put("KX10Motor_Set_Interval_Pulse" + num(dev) + num(m) + num(a) + num(pulses),
                   inner_.KX10Motor_Set_Interval_Pulse(dev, m, a, pulses));
    }
    int32_t KX10Motor_Read_18memory2(int32_t dev, char m, int32_t a, uint8_t* buf,
                                     int32_t size) override {
        return put("KX10Motor_Read_18memory2" + num(dev) + num(m) + num(a),
                   inner_.KX10Motor_Read_18memory2(dev, m, a, buf, size));
    }
    int32_t KX10SC24_Status(int32_t dev, char m, char* buf, int32_t size) override {
        return put("KX10SC24_Status" + num(dev) + num(m), inner_.KX10SC24_Status(dev, m, buf, size));
    }

private:
    // Module and axis characters log as their codes, so that the axis character '0' (48) and
    // the port number 0 of the presence check stay apart.
    static std::string num(int32_t v) { return " " + std::to_string(v); }
    static std::string text(const char* s) { return s ? "\"" + std::string(s) + "\"" : "null"; }
    int32_t put(std::string call, int32_t result) {
        log_.push_back(call + " = " + std::to_string(result));
        return result;
    }

    Kx10& inner_;
    CallLog& log_;
};

}  // namespace qor::test
