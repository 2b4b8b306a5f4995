#pragma once
// The simulated instrument behind the driver operations: the default instrument of the program,
// its demos and its end-to-end tests.
//
// Modules answer at their HEX-SW addresses as SimConfig fits them (by default the MCA at 1, motor
// controllers at 2 and 3, the counter at 7); an operation addressed to an empty position or to a
// module of another kind fails. The world (motions, counts, pixels) is a function of the injected
// clock only: every operation first brings the instrument up to the clock's present time, so a
// test advances the clock and then asks. Random draws come from generators seeded by
// SimConfig::seed, so the same calls at the same times give the same replies. The pixel noise of
// a 2D scan line is drawn afresh for each line from the seed and the line's number since the
// scan's channel size was set, so that two scans set up alike store alike.
//
// Results: 0 (or a byte count for the interface reads and writes) on success; negative on
// failure: kSimBadArgument for an absent module, a wrong module kind or an invalid argument,
// kSimNotOpen when the interface must be open first, kSimTimeout for a reply that came too late,
// kSimInjected for a failure injected by a test. A reply buffer is never written beyond its size;
// text replies are NUL-terminated when there is room.
//
// Reply formats (see SimMca.h, SimScan2D.h, SimMotor.h for the module sides):
// - KX10Motor_Get_Status: "S", moving, CCW lamp, '0', CW lamp, '0' ('1'/'0' each; characters 1, 2
//   and 4 are the ones the program reads);
// - KX10Motor_Read_Paddress: "P" and the pulse address as "%+010d" (11 characters);
// - KX10SC24_Status: "C0" (present, not counting).

#include "app/Clock.h"
#include "instrument/Kx10.h"
#include "sim/SimConfig.h"
#include "sim/SimEmission.h"
#include "sim/SimFaults.h"
#include "sim/SimMca.h"
#include "sim/SimMotor.h"
#include "sim/SimRandom.h"
#include "sim/SimSample.h"
#include "sim/SimScan2D.h"
#include "sim/SimUsb.h"

#include <memory>

namespace qor {

constexpr int32_t kSimBadArgument = -1;
constexpr int32_t kSimNotOpen = -2;
constexpr int32_t kSimTimeout = -3;
constexpr int32_t kSimInjected = -4;

class Kx10Simulator : public Kx10 {
public:
    explicit Kx10Simulator(MonotonicClock& clock) : Kx10Simulator(clock, SimConfig{}) {}
    Kx10Simulator(MonotonicClock& clock, const SimConfig& config);
    ~Kx10Simulator() override;

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

    // --- For tests and demos ---
    SimFaults& faults() { return faults_; }
    const SimConfig& config() const { return cfg_; }
    // Unplugs the module at a HEX-SW address (its operations fail from now on) or fits one.
    bool removeModule(int address);
    bool addModule(int address, SimModuleKind kind);
    SimModuleKind moduleAt(int address) const;
    // Brings the instrument up to the clock's present time.
    void advance();
    // Module internals at an address (nullptr when no such module is fitted), up to date after
    // advance().
    const SimMca* mca(int address) const;
    const SimScan2D* scan(int address) const;
    const SimMotorController* motors(int address) const;
    // The stage position under the beam, logical units (motors 1 and 2, physical position).
    double stageX() const;
    double stageY() const;
    const SimEmission& emission() const { return emission_; }
    const SimSample& sample() const { return sample_; }

    // Address index of a module character ('0'..'9', 'A'..'F'), -1 for anything else; axis index
    // of an axis argument ('0'..'3' or the number 0..3), -1 for anything else.
    static int addressOf(char m);
    static int axisOf(int32_t a);

private:
    struct McaModule;
    // Start of every operation: counts the call, applies an injected failure or delay and brings
    // the world up to date. Returns 0 to go on, or the failure to return.
    int32_t begin(SimOp op, SimFaults::Hit& hit);
    int32_t needOpen() const;
    McaModule* mcaModule(char m);
    SimMotorController* motorModule(char m);
    void advanceTo(int64_t t);
    void stageWeights(double w[kSimComponents]) const;
    void integrateAll(double dt, const double w[kSimComponents]);
    void closePixels();
    // Copies a reply into the caller's buffer after the corruption of `hit`; returns the count.
    static int32_t putText(char* buf, int32_t size, const char* text, int len,
                           const SimFaults::Hit& hit);
    static int32_t putFrame(uint8_t* buf, int32_t size, uint8_t* frame, int len, int endMark,
                            const SimFaults::Hit& hit);

    MonotonicClock& clock_;
    SimConfig cfg_;
    SimFaults faults_;
    SimUsb usb_;
    SimEmission emission_;
    SimSample sample_;
    SimModuleKind present_[kSimAddresses] = {};
    std::unique_ptr<McaModule> mca_[kSimAddresses];
    std::unique_ptr<SimMotorController> motor_[kSimAddresses];
    int64_t now_ = 0;
};

}  // namespace qor
