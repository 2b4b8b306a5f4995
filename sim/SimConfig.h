#pragma once
// Configuration of the simulated instrument: which module answers at which HEX-SW address, the
// interface serial, the stage geometry and the detector parameters. The defaults match the
// information record's creation defaults (MCA at 1, motor controllers at 2 and 3, counter at 7).

#include <cstdint>

namespace qor {

enum class SimModuleKind : uint8_t { None, Mca, Motor, Counter };

constexpr int kSimAddresses = 16;  // HEX-SW positions 0..F

struct SimConfig {
    // Module fitted at each HEX-SW address.
    SimModuleKind modules[kSimAddresses] = {
        SimModuleKind::None,    SimModuleKind::Mca,  SimModuleKind::Motor, SimModuleKind::Motor,
        SimModuleKind::None,    SimModuleKind::None, SimModuleKind::None,  SimModuleKind::Counter,
        SimModuleKind::None,    SimModuleKind::None, SimModuleKind::None,  SimModuleKind::None,
        SimModuleKind::None,    SimModuleKind::None, SimModuleKind::None,  SimModuleKind::None};

    // Seed of every random draw (counts of spectra and pixels).
    uint64_t seed = 20261209;

    // USB interface. An empty serial accepts any serial text; `usbPresent` false makes every open
    // fail. With `requireOpen` the module operations fail until the interface has been opened.
    const char* serial = "";
    bool usbPresent = true;
    bool requireOpen = false;
    int versionReplyDelayMs = 5;             // the 10-byte version reply becomes readable then
    const char* versionText = "KX10 V2.03";  // exactly 10 printable characters

    // An operation whose reply is delayed by at least this long gives up and fails (time-out).
    int replyTimeoutMs = 1500;

    // Stage: sample X and Y follow motors 1 and 2, axes '0' and '1' of the controller here.
    int stageController = 2;
    int stageXAxis = 0;
    int stageYAxis = 1;
    double pulsesPerUnit = 100.0;  // stage pulses per logical unit (mm)

    // End-of-travel switches: every axis travels +-travelPulses around its power-on position.
    // 5000 pulses is 50 units at 100 pulses per unit, wider than the default soft limits +-45.
    int32_t travelPulses = 5000;

    // Sample placement in stage units: the specimen covers [originX, originX + size] x
    // [originY, originY + size].
    double sampleOriginX = 0.0;
    double sampleOriginY = 0.0;
    double sampleSize = 6.4;

    // Detector: count-rate scale (1.0 gives roughly 8000 counts/s on the specimen; the default 3
    // about 24000/s, a busy detector, so that a 0.1 s map pixel in an element region holds a few
    // hundred counts) and the dead time per recorded event.
    double rateScale = 3.0;
    double deadTimeSec = 10e-6;
};

}  // namespace qor
