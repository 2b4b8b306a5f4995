#pragma once
// The simulated instrument behind the driver operations: the default instrument of the program,
// its demos and its end-to-end tests.

#include "app/Services.h"
#include "instrument/Kx10.h"

namespace qor {

class Kx10Simulator : public Kx10 {
public:
    explicit Kx10Simulator(Clock& clock) : clock_(clock) {}

    int32_t KX10USB_Open(const char* serial, int32_t dev, int32_t p1, int32_t p2) override;
    int32_t KX10USB_ReadQsize(int32_t dev) override;
    int32_t KX10USB_Read(int32_t dev, int32_t n, uint8_t* buf, int32_t size) override;
    int32_t KX10USB_Write(int32_t dev, int32_t n, const uint8_t* bytes) override;
    int32_t KX10MCA_Status(int32_t dev, char m, char* buf, int32_t size) override;
    int32_t KX10MCA_Preset(int32_t dev, char m, int32_t mode, int32_t channels, int32_t preset) override;
    int32_t KX10MCA_Start(int32_t dev, char m) override;
    int32_t KX10MCA_Stop(int32_t dev, char m) override;
    int32_t KX10MCA_Clear(int32_t dev, char m) override;
    int32_t KX10MCA_ReadSEQ(int32_t dev, char m, int32_t first, int32_t* dest) override;
    int32_t KX10MCA_2DSCAN_OFFSET(int32_t dev, char m, int32_t value) override;
    int32_t KX10MCA_2DSCAN_PSET(int32_t dev, char m, int32_t channels) override;
    int32_t KX10MCA_2DSCAN_ROISET(int32_t dev, char m, int32_t roi, int32_t first, int32_t last, int32_t kind) override;
    int32_t KX10MCA_2DSCAN_Start(int32_t dev, char m) override;
    int32_t KX10MCA_2DSCAN_Stop(int32_t dev, char m) override;
    int32_t KX10MCA_2DSCAN_Status(int32_t dev, char m, char* buf, int32_t size) override;
    int32_t KX10MCA_2DSCAN_ReadROI(int32_t dev, char m, uint8_t* buf, int32_t size) override;
    int32_t KX10MCA_2DSCAN_ReadDebug(int32_t dev, char m, uint8_t* buf, int32_t size) override;
    int32_t KX10Motor_Set_Speed(int32_t dev, char m, int32_t a, int32_t startPps, int32_t maxPps, int32_t ramp, int32_t zero, int32_t accelClass) override;
    int32_t KX10Motor_Get_Status(int32_t dev, char m, int32_t a, char* buf, int32_t size) override;
    int32_t KX10Motor_Read_Paddress(int32_t dev, char m, int32_t a, char* buf, int32_t size) override;
    int32_t KX10Motor_Set_Pulse_Address(int32_t dev, char m, int32_t a, int32_t pulses) override;
    int32_t KX10Motor_MoveTo_PAddress(int32_t dev, char m, int32_t a, int32_t pulses) override;
    int32_t KX10Motor_RelMove_PAddress(int32_t dev, char m, int32_t a, int32_t pulses) override;
    int32_t KX10Motor_Halt(int32_t dev, char m, int32_t a) override;
    int32_t KX10Motor_Set_Interval_Pulse(int32_t dev, char m, int32_t a, int32_t pulses) override;
    int32_t KX10Motor_Read_18memory2(int32_t dev, char m, int32_t a, uint8_t* buf, int32_t size) override;
    int32_t KX10SC24_Status(int32_t dev, char m, char* buf, int32_t size) override;

private:
    Clock& clock_;
};

}  // namespace qor
