#include "sim/Kx10Simulator.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace qor {

struct Kx10Simulator::McaModule {
    McaModule(const SimEmission& e, double deadTime, uint64_t seed)
        : spectrum(e, deadTime), scan(e, deadTime), rng(seed), pixelSeed(seed ^ 0x5049584Cu) {}
    SimMca spectrum;
    SimScan2D scan;
    SimRandom rng;
    // The pixel noise of a line comes from a generator seeded by the module's seed and the
    // line's number since the channel size was last set (one line per 2D start): two scans set
    // up alike draw alike, whatever was measured before them.
    SimRandom pixelRng;
    uint64_t pixelSeed;
    uint64_t linesSincePset = 0;
};

Kx10Simulator::Kx10Simulator(MonotonicClock& clock, const SimConfig& config)
    : clock_(clock),
      cfg_(config),
      emission_(config.rateScale),
      sample_(config.sampleOriginX, config.sampleOriginY, config.sampleSize),
      now_(clock.nowMs()) {
    for (int a = 0; a < kSimAddresses; ++a) addModule(a, cfg_.modules[a]);
}

Kx10Simulator::~Kx10Simulator() = default;

// ---------------------------------------------------------------------------------------------
// Modules and addressing

int Kx10Simulator::addressOf(char m) {
    if (m >= '0' && m <= '9') return m - '0';
    if (m >= 'A' && m <= 'F') return m - 'A' + 10;
    return -1;
}

int Kx10Simulator::axisOf(int32_t a) {
    if (a >= 0 && a <= 3) return a;
    if (a >= '0' && a <= '3') return a - '0';
    return -1;
}

bool Kx10Simulator::removeModule(int address) {
    if (address < 0 || address >= kSimAddresses) return false;
    advance();
    present_[address] = SimModuleKind::None;
    return true;
}

bool Kx10Simulator::addModule(int address, SimModuleKind kind) {
    if (address < 0 || address >= kSimAddresses) return false;
    advance();
    present_[address] = kind;
    if (kind == SimModuleKind::Mca && !mca_[address])
        mca_[address] = std::make_unique<McaModule>(
            emission_, cfg_.deadTimeSec, cfg_.seed * 0x9E3779B97F4A7C15ull + address);
    if (kind == SimModuleKind::Motor && !motor_[address])
        motor_[address] = std::make_unique<SimMotorController>(cfg_.travelPulses);
    return true;
}

SimModuleKind Kx10Simulator::moduleAt(int address) const {
    return address >= 0 && address < kSimAddresses ? present_[address] : SimModuleKind::None;
}

Kx10Simulator::McaModule* Kx10Simulator::mcaModule(char m) {
    const int a = addressOf(m);
    return a >= 0 && present_[a] == SimModuleKind::Mca ? mca_[a].get() : nullptr;
}

SimMotorController* Kx10Simulator::motorModule(char m) {
    const int a = addressOf(m);
    return a >= 0 && present_[a] == SimModuleKind::Motor ? motor_[a].get() : nullptr;
}

const SimMca* Kx10Simulator::mca(int address) const {
    return moduleAt(address) == SimModuleKind::Mca ? &mca_[address]->spectrum : nullptr;
}

const SimScan2D* Kx10Simulator::scan(int address) const {
    return moduleAt(address) == SimModuleKind::Mca ? &mca_[address]->scan : nullptr;
}

const SimMotorController* Kx10Simulator::motors(int address) const {
    return moduleAt(address) == SimModuleKind::Motor ? motor_[address].get() : nullptr;
}

// ---------------------------------------------------------------------------------------------
// Simulated time

void Kx10Simulator::advance() { advanceTo(clock_.nowMs()); }

double Kx10Simulator::stageX() const {
    const int s = cfg_.stageController;
    if (s < 0 || s >= kSimAddresses || !motor_[s] || axisOf(cfg_.stageXAxis) < 0) return 0.0;
    return motor_[s]->physical(cfg_.stageXAxis) / (cfg_.pulsesPerUnit > 0 ? cfg_.pulsesPerUnit : 1.0);
}

double Kx10Simulator::stageY() const {
    const int s = cfg_.stageController;
    if (s < 0 || s >= kSimAddresses || !motor_[s] || axisOf(cfg_.stageYAxis) < 0) return 0.0;
    return motor_[s]->physical(cfg_.stageYAxis) / (cfg_.pulsesPerUnit > 0 ? cfg_.pulsesPerUnit : 1.0);
}

void Kx10Simulator::stageWeights(double w[kSimComponents]) const {
    sample_.weights(stageX(), stageY(), w);
}

void Kx10Simulator::integrateAll(double dt, const double w[kSimComponents]) {
    if (!(dt > 0.0)) return;
    for (int a = 0; a < kSimAddresses; ++a) {
        if (present_[a] != SimModuleKind::Mca) continue;
        mca_[a]->spectrum.integrate(dt, w);
        mca_[a]->scan.integrate(dt, w);
    }
}

void Kx10Simulator::closePixels() {
    for (int a = 0; a < kSimAddresses; ++a)
        if (present_[a] == SimModuleKind::Mca) mca_[a]->scan.closePixel(mca_[a]->pixelRng);
}

void Kx10Simulator::advanceTo(int64_t t) {
    constexpr int kMaxSignals = 64;
    double w[kSimComponents];
    while (now_ < t) {
        bool moving = false;
        for (int a = 0; a < kSimAddresses; ++a)
            if (present_[a] == SimModuleKind::Motor && motor_[a]->anyMoving()) moving = true;
        if (!moving) {
            // Nothing moves: the rest of the interval is spent at one place.
            stageWeights(w);
            integrateAll((t - now_) * 0.001, w);
            now_ = t;
            break;
        }
        // One millisecond of motion; pixel signalAt split it where they fall.
        double signalAt[kMaxSignals];
        int n = 0;
        for (int a = 0; a < kSimAddresses; ++a)
            if (present_[a] == SimModuleKind::Motor)
                n += motor_[a]->stepMs(signalAt + n, kMaxSignals - n);
        std::sort(signalAt, signalAt + n);
        stageWeights(w);
        double done = 0.0;
        for (int k = 0; k < n; ++k) {
            integrateAll((signalAt[k] - done) * 0.001, w);
            closePixels();
            done = signalAt[k];
        }
        integrateAll((1.0 - done) * 0.001, w);
        ++now_;
    }
}

// ---------------------------------------------------------------------------------------------
// Operation frame and replies

int32_t Kx10Simulator::begin(SimOp op, SimFaults::Hit& hit) {
    hit = faults_.take(op);
    if (hit.kind == SimFaultKind::Fail) {
        advance();
        return kSimInjected;
    }
    if (hit.kind == SimFaultKind::Delay && op != SimOp::UsbWrite) {
        // The call blocks until the reply comes or the driver gives up.
        const int wait = std::min(hit.delayMs, cfg_.replyTimeoutMs);
        clock_.sleepMs(wait);
        advance();
        if (hit.delayMs >= cfg_.replyTimeoutMs) return kSimTimeout;
        return 0;
    }
    advance();
    return 0;
}

int32_t Kx10Simulator::needOpen() const {
    return cfg_.requireOpen && !usb_.isOpen() ? kSimNotOpen : 0;
}

int32_t Kx10Simulator::putText(char* buf, int32_t size, const char* text, int len,
                               const SimFaults::Hit& hit) {
    if (hit.kind == SimFaultKind::ShortFrame) len = std::max(1, len / 2);
    const int32_t copy = std::min<int32_t>(len, size);
    std::memcpy(buf, text, copy);
    if (copy < size) buf[copy] = '\0';
    return copy;
}

int32_t Kx10Simulator::putFrame(uint8_t* buf, int32_t size, uint8_t* frame, int len, int endMark,
                                const SimFaults::Hit& hit) {
    if (hit.kind == SimFaultKind::MissingEndMark && endMark >= 0) frame[endMark] = 0;
    if (hit.kind == SimFaultKind::ShortFrame) len = std::max(1, len / 2);
    const int32_t copy = std::min<int32_t>(len, size);
    std::memcpy(buf, frame, copy);
    return copy;
}

// ---------------------------------------------------------------------------------------------
// USB interface

int32_t Kx10Simulator::KX10USB_Open(const char* serial, int32_t dev, int32_t, int32_t) {
    SimFaults::Hit hit;
    if (const int32_t r = begin(SimOp::UsbOpen, hit)) return r;
    if (dev != 1) return kSimBadArgument;
    return usb_.open(serial, cfg_.serial, cfg_.usbPresent) ? 0 : kSimBadArgument;
}

int32_t Kx10Simulator::KX10USB_ReadQsize(int32_t dev) {
    SimFaults::Hit hit;
    if (const int32_t r = begin(SimOp::UsbReadQsize, hit)) return r;
    if (dev != 1) return kSimBadArgument;
    if (!usb_.isOpen()) return kSimNotOpen;
    return usb_.pending(now_);
}

int32_t Kx10Simulator::KX10USB_Read(int32_t dev, int32_t n, uint8_t* buf, int32_t size) {
    SimFaults::Hit hit;
    if (const int32_t r = begin(SimOp::UsbRead, hit)) return r;
    if (dev != 1 || !buf || n < 0 || size < 0) return kSimBadArgument;
    if (!usb_.isOpen()) return kSimNotOpen;
    return usb_.read(now_, n, buf, size);
}

int32_t Kx10Simulator::KX10USB_Write(int32_t dev, int32_t n, const uint8_t* bytes) {
    SimFaults::Hit hit;
    if (const int32_t r = begin(SimOp::UsbWrite, hit)) return r;
    if (dev != 1 || !bytes || n <= 0) return kSimBadArgument;
    if (!usb_.isOpen()) return kSimNotOpen;
    char reply[kVersionReplySize];
    const size_t textLen = cfg_.versionText ? std::strlen(cfg_.versionText) : 0;
    for (int i = 0; i < kVersionReplySize; ++i)
        reply[i] = i < static_cast<int>(textLen) ? cfg_.versionText[i] : ' ';
    int len = kVersionReplySize;
    if (hit.kind == SimFaultKind::ShortFrame) len /= 2;
    const int delay = cfg_.versionReplyDelayMs + (hit.kind == SimFaultKind::Delay ? hit.delayMs : 0);
    usb_.write(now_, n, bytes, reply, len, delay);
    return n;
}

// ---------------------------------------------------------------------------------------------
// MCA

int32_t Kx10Simulator::KX10MCA_Status(int32_t dev, char m, char* buf, int32_t size) {
    SimFaults::Hit hit;
    if (const int32_t r = begin(SimOp::McaStatus, hit)) return r;
    if (const int32_t r = needOpen()) return r;
    McaModule* mod = mcaModule(m);
    if (dev != 1 || !mod || !buf || size <= 0) return kSimBadArgument;
    char text[32];
    const int len = mod->spectrum.statusText(text);
    putText(buf, size, text, len, hit);
    return 0;
}

int32_t Kx10Simulator::KX10MCA_Preset(int32_t dev, char m, int32_t mode, int32_t channels,
                                      int32_t preset) {
    SimFaults::Hit hit;
    if (const int32_t r = begin(SimOp::McaPreset, hit)) return r;
    if (const int32_t r = needOpen()) return r;
    McaModule* mod = mcaModule(m);
    if (dev != 1 || !mod) return kSimBadArgument;
    return mod->spectrum.preset(mode, channels, preset) ? 0 : kSimBadArgument;
}

int32_t Kx10Simulator::KX10MCA_Start(int32_t dev, char m) {
    SimFaults::Hit hit;
    if (const int32_t r = begin(SimOp::McaStart, hit)) return r;
    if (const int32_t r = needOpen()) return r;
    McaModule* mod = mcaModule(m);
    if (dev != 1 || !mod) return kSimBadArgument;
    mod->spectrum.start();
    return 0;
}

int32_t Kx10Simulator::KX10MCA_Stop(int32_t dev, char m) {
    SimFaults::Hit hit;
    if (const int32_t r = begin(SimOp::McaStop, hit)) return r;
    if (const int32_t r = needOpen()) return r;
    McaModule* mod = mcaModule(m);
    if (dev != 1 || !mod) return kSimBadArgument;
    mod->spectrum.stop(mod->rng);
    return 0;
}

int32_t Kx10Simulator::KX10MCA_Clear(int32_t dev, char m) {
    SimFaults::Hit hit;
    if (const int32_t r = begin(SimOp::McaClear, hit)) return r;
    if (const int32_t r = needOpen()) return r;
    McaModule* mod = mcaModule(m);
    if (dev != 1 || !mod) return kSimBadArgument;
    mod->spectrum.clear();
    return 0;
}

int32_t Kx10Simulator::KX10MCA_ReadSEQ(int32_t dev, char m, int32_t first, int32_t* dest) {
    SimFaults::Hit hit;
    if (const int32_t r = begin(SimOp::McaReadSeq, hit)) return r;
    if (const int32_t r = needOpen()) return r;
    McaModule* mod = mcaModule(m);
    if (dev != 1 || !mod || !dest) return kSimBadArgument;
    return mod->spectrum.readBlock(first, dest, mod->rng) ? 0 : kSimBadArgument;
}

// ---------------------------------------------------------------------------------------------
// 2D scan hardware of the MCA

int32_t Kx10Simulator::KX10MCA_2DSCAN_OFFSET(int32_t dev, char m, int32_t) {
    SimFaults::Hit hit;
    if (const int32_t r = begin(SimOp::ScanOffset, hit)) return r;
    if (const int32_t r = needOpen()) return r;
    McaModule* mod = mcaModule(m);
    if (dev != 1 || !mod) return kSimBadArgument;
    mod->scan.reset();
    return 0;
}

int32_t Kx10Simulator::KX10MCA_2DSCAN_PSET(int32_t dev, char m, int32_t channels) {
    SimFaults::Hit hit;
    if (const int32_t r = begin(SimOp::ScanPset, hit)) return r;
    if (const int32_t r = needOpen()) return r;
    McaModule* mod = mcaModule(m);
    if (dev != 1 || !mod) return kSimBadArgument;
    if (!mod->scan.setChannels(channels)) return kSimBadArgument;
    mod->linesSincePset = 0;
    return 0;
}

int32_t Kx10Simulator::KX10MCA_2DSCAN_ROISET(int32_t dev, char m, int32_t roi, int32_t first,
                                             int32_t last, int32_t kind) {
    SimFaults::Hit hit;
    if (const int32_t r = begin(SimOp::ScanRoiSet, hit)) return r;
    if (const int32_t r = needOpen()) return r;
    McaModule* mod = mcaModule(m);
    if (dev != 1 || !mod) return kSimBadArgument;
    return mod->scan.setRoi(roi, first, last, kind) ? 0 : kSimBadArgument;
}

int32_t Kx10Simulator::KX10MCA_2DSCAN_Start(int32_t dev, char m) {
    SimFaults::Hit hit;
    if (const int32_t r = begin(SimOp::ScanStart, hit)) return r;
    if (const int32_t r = needOpen()) return r;
    McaModule* mod = mcaModule(m);
    if (dev != 1 || !mod) return kSimBadArgument;
    mod->scan.start();
    ++mod->linesSincePset;
    mod->pixelRng.reseed(mod->pixelSeed + 0x9E3779B97F4A7C15ull * mod->linesSincePset);
    return 0;
}

int32_t Kx10Simulator::KX10MCA_2DSCAN_Stop(int32_t dev, char m) {
    SimFaults::Hit hit;
    if (const int32_t r = begin(SimOp::ScanStop, hit)) return r;
    if (const int32_t r = needOpen()) return r;
    McaModule* mod = mcaModule(m);
    if (dev != 1 || !mod) return kSimBadArgument;
    mod->scan.stop();
    return 0;
}

int32_t Kx10Simulator::KX10MCA_2DSCAN_Status(int32_t dev, char m, char* buf, int32_t size) {
    SimFaults::Hit hit;
    if (const int32_t r = begin(SimOp::ScanStatus, hit)) return r;
    if (const int32_t r = needOpen()) return r;
    McaModule* mod = mcaModule(m);
    if (dev != 1 || !mod || !buf || size <= 0) return kSimBadArgument;
    char text[32];
    const int len = mod->scan.statusText(text);
    putText(buf, size, text, len, hit);
    return 0;
}

int32_t Kx10Simulator::KX10MCA_2DSCAN_ReadROI(int32_t dev, char m, uint8_t* buf, int32_t size) {
    SimFaults::Hit hit;
    if (const int32_t r = begin(SimOp::ScanReadRoi, hit)) return r;
    if (const int32_t r = needOpen()) return r;
    McaModule* mod = mcaModule(m);
    if (dev != 1 || !mod || !buf || size <= 0) return kSimBadArgument;
    uint8_t frame[kSimFrameSize];
    const bool got = mod->scan.takeFrame(frame);
    putFrame(buf, size, frame, kSimFrameSize, kSimFrameSize - 1, hit);
    // An empty store answers with an all-zero frame and a failure.
    return got ? 0 : kSimBadArgument;
}

int32_t Kx10Simulator::KX10MCA_2DSCAN_ReadDebug(int32_t dev, char m, uint8_t* buf, int32_t size) {
    SimFaults::Hit hit;
    if (const int32_t r = begin(SimOp::ScanReadDebug, hit)) return r;
    if (const int32_t r = needOpen()) return r;
    McaModule* mod = mcaModule(m);
    if (dev != 1 || !mod || !buf || size <= 0) return kSimBadArgument;
    uint8_t block[kSimDebugSize];
    mod->scan.debugBlock(block);
    putFrame(buf, size, block, kSimDebugSize, kSimDebugSize - 1, hit);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Motor controllers

int32_t Kx10Simulator::KX10Motor_Set_Speed(int32_t dev, char m, int32_t a, int32_t startPps,
                                           int32_t maxPps, int32_t ramp, int32_t,
                                           int32_t accelClass) {
    SimFaults::Hit hit;
    if (const int32_t r = begin(SimOp::MotorSetSpeed, hit)) return r;
    if (const int32_t r = needOpen()) return r;
    SimMotorController* c = motorModule(m);
    const int axis = axisOf(a);
    if (dev != 1 || !c || axis < 0) return kSimBadArgument;
    return c->setSpeed(axis, startPps, maxPps, ramp, accelClass) ? 0 : kSimBadArgument;
}

int32_t Kx10Simulator::KX10Motor_Get_Status(int32_t dev, char m, int32_t a, char* buf,
                                            int32_t size) {
    SimFaults::Hit hit;
    if (const int32_t r = begin(SimOp::MotorGetStatus, hit)) return r;
    if (const int32_t r = needOpen()) return r;
    SimMotorController* c = motorModule(m);
    const int axis = axisOf(a);
    if (dev != 1 || !c || axis < 0 || !buf || size <= 0) return kSimBadArgument;
    const char text[] = {'S', c->moving(axis) ? '1' : '0', c->ccwLimit(axis) ? '1' : '0', '0',
                         c->cwLimit(axis) ? '1' : '0', '0'};
    putText(buf, size, text, static_cast<int>(sizeof text), hit);
    return 0;
}

int32_t Kx10Simulator::KX10Motor_Read_Paddress(int32_t dev, char m, int32_t a, char* buf,
                                               int32_t size) {
    SimFaults::Hit hit;
    if (const int32_t r = begin(SimOp::MotorReadPaddress, hit)) return r;
    if (const int32_t r = needOpen()) return r;
    SimMotorController* c = motorModule(m);
    const int axis = axisOf(a);
    if (dev != 1 || !c || axis < 0 || !buf || size <= 0) return kSimBadArgument;
    // Ten characters hold a sign and nine digits.
    const int32_t p = std::clamp(c->address(axis), -999999999, 999999999);
    char text[32];
    const int len = std::snprintf(text, sizeof text, "P%+010d", p);
    putText(buf, size, text, len, hit);
    return 0;
}

int32_t Kx10Simulator::KX10Motor_Set_Pulse_Address(int32_t dev, char m, int32_t a,
                                                   int32_t pulses) {
    SimFaults::Hit hit;
    if (const int32_t r = begin(SimOp::MotorSetPulseAddress, hit)) return r;
    if (const int32_t r = needOpen()) return r;
    SimMotorController* c = motorModule(m);
    const int axis = axisOf(a);
    if (dev != 1 || !c || axis < 0) return kSimBadArgument;
    c->setAddress(axis, pulses);
    return 0;
}

int32_t Kx10Simulator::KX10Motor_MoveTo_PAddress(int32_t dev, char m, int32_t a, int32_t pulses) {
    SimFaults::Hit hit;
    if (const int32_t r = begin(SimOp::MotorMoveTo, hit)) return r;
    if (const int32_t r = needOpen()) return r;
    SimMotorController* c = motorModule(m);
    const int axis = axisOf(a);
    if (dev != 1 || !c || axis < 0) return kSimBadArgument;
    c->moveTo(axis, pulses);
    return 0;
}

int32_t Kx10Simulator::KX10Motor_RelMove_PAddress(int32_t dev, char m, int32_t a,
                                                  int32_t pulses) {
    SimFaults::Hit hit;
    if (const int32_t r = begin(SimOp::MotorRelMove, hit)) return r;
    if (const int32_t r = needOpen()) return r;
    SimMotorController* c = motorModule(m);
    const int axis = axisOf(a);
    if (dev != 1 || !c || axis < 0) return kSimBadArgument;
    c->relMove(axis, pulses);
    return 0;
}

int32_t Kx10Simulator::KX10Motor_Halt(int32_t dev, char m, int32_t a) {
    SimFaults::Hit hit;
    if (const int32_t r = begin(SimOp::MotorHalt, hit)) return r;
    if (const int32_t r = needOpen()) return r;
    SimMotorController* c = motorModule(m);
    const int axis = axisOf(a);
    if (dev != 1 || !c || axis < 0) return kSimBadArgument;
    c->halt(axis);
    return 0;
}

int32_t Kx10Simulator::KX10Motor_Set_Interval_Pulse(int32_t dev, char m, int32_t a,
                                                    int32_t pulses) {
    SimFaults::Hit hit;
    if (const int32_t r = begin(SimOp::MotorSetIntervalPulse, hit)) return r;
    if (const int32_t r = needOpen()) return r;
    SimMotorController* c = motorModule(m);
    if (dev != 1 || !c || axisOf(a) < 0) return kSimBadArgument;
    return c->setInterval(pulses) ? 0 : kSimBadArgument;
}

int32_t Kx10Simulator::KX10Motor_Read_18memory2(int32_t dev, char m, int32_t a, uint8_t* buf,
                                                int32_t size) {
    SimFaults::Hit hit;
    if (const int32_t r = begin(SimOp::MotorReadMemory, hit)) return r;
    if (const int32_t r = needOpen()) return r;
    SimMotorController* c = motorModule(m);
    const int axis = axisOf(a);
    if (dev != 1 || !c || axis < 0 || !buf || size <= 0) return kSimBadArgument;
    uint8_t dump[kSimMemoryDumpSize];
    c->memoryDump(axis, dump);
    putFrame(buf, size, dump, kSimMemoryDumpSize, kSimMemoryDumpSize - 1, hit);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Counter

int32_t Kx10Simulator::KX10SC24_Status(int32_t dev, char m, char* buf, int32_t size) {
    SimFaults::Hit hit;
    if (const int32_t r = begin(SimOp::CounterStatus, hit)) return r;
    if (const int32_t r = needOpen()) return r;
    const int addr = addressOf(m);
    if (dev != 1 || addr < 0 || present_[addr] != SimModuleKind::Counter || !buf || size <= 0)
        return kSimBadArgument;
    putText(buf, size, "C0", 2, hit);
    return 0;
}

}  // namespace qor
