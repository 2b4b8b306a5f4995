#pragma once
// Fault injection of the simulated instrument, for tests: an operation, named as the driver names
// it ("KX10MCA_Status"), can be made to fail, to answer late, or to answer with a damaged reply,
// once, a given number of times or always. Faults are held in a fixed table indexed by the
// operation, so checking them costs nothing per call.

#include <cstdint>

namespace qor {

enum class SimOp : uint8_t {
    UsbOpen, UsbReadQsize, UsbRead, UsbWrite,
    McaStatus, McaPreset, McaStart, McaStop, McaClear, McaReadSeq,
    ScanOffset, ScanPset, ScanRoiSet, ScanStart, ScanStop, ScanStatus, ScanReadRoi, ScanReadDebug,
    MotorSetSpeed, MotorGetStatus, MotorReadPaddress, MotorSetPulseAddress, MotorMoveTo,
    MotorRelMove, MotorHalt, MotorSetIntervalPulse, MotorReadMemory,
    CounterStatus,
    Count
};

enum class SimFaultKind : uint8_t {
    None,
    Fail,            // the operation returns a failure (negative) and touches no buffer
    Delay,           // the reply comes `delayMs` late; at or past the time-out the call fails
    MissingEndMark,  // a framed reply loses its end mark
    ShortFrame,      // the reply is cut to half its length
};

// Remaining uses of a fault that holds until it is cleared.
constexpr int kFaultAlways = -1;

class SimFaults {
public:
    // The operation of a driver name, false when the name is not an operation.
    static bool opOf(const char* name, SimOp& op);
    static const char* nameOf(SimOp op);

    // Arms a fault on an operation by name; false for an unknown name. `times` is the number of
    // calls it hits (kFaultAlways: every call until cleared).
    bool fail(const char* op, int times = 1);
    bool failAlways(const char* op) { return fail(op, kFaultAlways); }
    // Lets the next `skip` calls of the operation pass, then fails `times` calls: for a fault
    // in the second of two calls of one operation made in a row.
    bool failAfter(const char* op, int skip, int times = 1);
    bool delay(const char* op, int delayMs, int times = 1);
    bool corrupt(const char* op, SimFaultKind kind, int times = 1);
    bool clear(const char* op);
    void clearAll();

    struct Hit {
        SimFaultKind kind = SimFaultKind::None;
        int delayMs = 0;
    };
    // Called by every operation: the fault that hits this call (consuming one use), if any.
    Hit take(SimOp op);
    // Calls made to each operation so far (faulted or not).
    int calls(SimOp op) const { return calls_[static_cast<int>(op)]; }
    int calls(const char* op) const;

private:
    bool arm(const char* op, SimFaultKind kind, int delayMs, int times);

    struct Entry {
        SimFaultKind kind = SimFaultKind::None;
        int remaining = 0;
        int delayMs = 0;
        int skip = 0;   // calls that pass before the fault hits
    };
    Entry entries_[static_cast<int>(SimOp::Count)];
    int calls_[static_cast<int>(SimOp::Count)] = {};
};

}  // namespace qor
