#pragma once
// A pass-through for tests that run the stand-in driver library inside the driver host: the
// library's simulated instrument runs on the clock of the shared control block (ShimControl.h),
// so before every call the block takes the test's manual clock, and after it the manual clock
// takes the block's (a wait inside the library moves both on).

#include "instrument/Kx10.h"
#include "shim/ShimControl.h"
#include "support/Fakes.h"

#include <memory>

namespace qor::test {

class ClockSyncKx10 : public Kx10 {
public:
    ClockSyncKx10(std::unique_ptr<Kx10> inner, ManualClock& clock, ShimShared& block)
        : inner_(std::move(inner)), clock_(clock), block_(block) {}

    Kx10& inner() { return *inner_; }

    int32_t KX10USB_Open(const char* serial, int32_t dev, int32_t p1, int32_t p2) override {
        return sync([&] { return inner_->KX10USB_Open(serial, dev, p1, p2); });
    }
    int32_t KX10USB_ReadQsize(int32_t dev) override {
        return sync([&] { return inner_->KX10USB_ReadQsize(dev); });
    }
    int32_t KX10USB_Read(int32_t dev, int32_t n, uint8_t* buf, int32_t size) override {
        return sync([&] { return inner_->KX10USB_Read(dev, n, buf, size); });
    }
    int32_t KX10USB_Write(int32_t dev, int32_t n, const uint8_t* bytes) override {
        return sync([&] { return inner_->KX10USB_Write(dev, n, bytes); });
    }
    int32_t KX10MCA_Status(int32_t dev, char m, char* buf, int32_t size) override {
        return sync([&] { return inner_->KX10MCA_Status(dev, m, buf, size); });
    }
    int32_t KX10MCA_Preset(int32_t dev, char m, int32_t mode, int32_t channels, int32_t preset) override {
        return sync([&] { return inner_->KX10MCA_Preset(dev, m, mode, channels, preset); });
    }
    int32_t KX10MCA_Start(int32_t dev, char m) override {
        return sync([&] { return inner_->KX10MCA_Start(dev, m); });
    }
    int32_t KX10MCA_Stop(int32_t dev, char m) override {
        return sync([&] { return inner_->KX10MCA_Stop(dev, m); });
    }
    int32_t KX10MCA_Clear(int32_t dev, char m) override {
        return sync([&] { return inner_->KX10MCA_Clear(dev, m); });
    }
    int32_t KX10MCA_ReadSEQ(int32_t dev, char m, int32_t first, int32_t* dest) override {
        return sync([&] { return inner_->KX10MCA_ReadSEQ(dev, m, first, dest); });
    }
    int32_t KX10MCA_2DSCAN_OFFSET(int32_t dev, char m, int32_t value) override {
        return sync([&] { return inner_->KX10MCA_2DSCAN_OFFSET(dev, m, value); });
    }
    int32_t KX10MCA_2DSCAN_PSET(int32_t dev, char m, int32_t channels) override {
        return sync([&] { return inner_->KX10MCA_2DSCAN_PSET(dev, m, channels); });
    }
    int32_t KX10MCA_2DSCAN_ROISET(int32_t dev, char m, int32_t roi, int32_t first, int32_t last, int32_t kind) override {
        return sync([&] { return inner_->KX10MCA_2DSCAN_ROISET(dev, m, roi, first, last, kind); });
    }
    int32_t KX10MCA_2DSCAN_Start(int32_t dev, char m) override {
        return sync([&] { return inner_->KX10MCA_2DSCAN_Start(dev, m); });
    }
    int32_t KX10MCA_2DSCAN_Stop(int32_t dev, char m) override {
        return sync([&] { return inner_->KX10MCA_2DSCAN_Stop(dev, m); });
    }
    int32_t KX10MCA_2DSCAN_Status(int32_t dev, char m, char* buf, int32_t size) override {
        return sync([&] { return inner_->KX10MCA_2DSCAN_Status(dev, m, buf, size); });
    }
    int32_t KX10MCA_2DSCAN_ReadROI(int32_t dev, char m, uint8_t* buf, int32_t size) override {
        return sync([&] { return inner_->KX10MCA_2DSCAN_ReadROI(dev, m, buf, size); });
    }
    int32_t KX10MCA_2DSCAN_ReadDebug(int32_t dev, char m, uint8_t* buf, int32_t size) override {
        return sync([&] { return inner_->KX10MCA_2DSCAN_ReadDebug(dev, m, buf, size); });
    }
    int32_t KX10Motor_Set_Speed(int32_t dev, char m, int32_t a, int32_t startPps, int32_t maxPps, int32_t ramp, int32_t zero, int32_t accelClass) override {
        return sync([&] { return inner_->KX10Motor_Set_Speed(dev, m, a, startPps, maxPps, ramp, zero, accelClass); });
    }
    int32_t KX10Motor_Get_Status(int32_t dev, char m, int32_t a, char* buf, int32_t size) override {
        return sync([&] { return inner_->KX10Motor_Get_Status(dev, m, a, buf, size); });
    }
    int32_t KX10Motor_Read_Paddress(int32_t dev, char m, int32_t a, char* buf, int32_t size) override {
        return sync([&] { return inner_->KX10Motor_Read_Paddress(dev, m, a, buf, size); });
    }
    int32_t KX10Motor_Set_Pulse_Address(int32_t dev, char m, int32_t a, int32_t pulses) override {
        return sync([&] { return inner_->KX10Motor_Set_Pulse_Address(dev, m, a, pulses); });
    }
    int32_t KX10Motor_MoveTo_PAddress(int32_t dev, char m, int32_t a, int32_t pulses) override {
        return sync([&] { return inner_->KX10Motor_MoveTo_PAddress(dev, m, a, pulses); });
    }
    int32_t KX10Motor_RelMove_PAddress(int32_t dev, char m, int32_t a, int32_t pulses) override {
        return sync([&] { return inner_->KX10Motor_RelMove_PAddress(dev, m, a, pulses); });
    }
    int32_t KX10Motor_Halt(int32_t dev, char m, int32_t a) override {
        return sync([&] { return inner_->KX10Motor_Halt(dev, m, a); });
    }
    int32_t KX10Motor_Set_Interval_Pulse(int32_t dev, char m, int32_t a, int32_t pulses) override {
        return sync([&] { return inner_->KX10Motor_Set_Interval_Pulse(dev, m, a, pulses); });
    }
    int32_t KX10Motor_Read_18memory2(int32_t dev, char m, int32_t a, uint8_t* buf, int32_t size) override {
        return sync([&] { return inner_->KX10Motor_Read_18memory2(dev, m, a, buf, size); });
    }
    int32_t KX10SC24_Status(int32_t dev, char m, char* buf, int32_t size) override {
        return sync([&] { return inner_->KX10SC24_Status(dev, m, buf, size); });
    }

private:
    template <class Call>
    int32_t sync(Call call) {
        block_.nowMs = clock_.now;
        const int32_t result = call();
        clock_.now = block_.nowMs;
        return result;
    }

    std::unique_ptr<Kx10> inner_;
    ManualClock& clock_;
    ShimShared& block_;
};

}  // namespace qor::test
