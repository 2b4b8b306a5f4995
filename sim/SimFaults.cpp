#include "sim/SimFaults.h"

#include <cstring>

namespace qor {

namespace {
const char* const kOpNames[] = {
    "KX10USB_Open", "KX10USB_ReadQsize", "KX10USB_Read", "KX10USB_Write",
    "KX10MCA_Status", "KX10MCA_Preset", "KX10MCA_Start", "KX10MCA_Stop", "KX10MCA_Clear",
    "KX10MCA_ReadSEQ",
    "KX10MCA_2DSCAN_OFFSET", "KX10MCA_2DSCAN_PSET", "KX10MCA_2DSCAN_ROISET",
    "KX10MCA_2DSCAN_Start", "KX10MCA_2DSCAN_Stop", "KX10MCA_2DSCAN_Status",
    "KX10MCA_2DSCAN_ReadROI", "KX10MCA_2DSCAN_ReadDebug",
    "KX10Motor_Set_Speed", "KX10Motor_Get_Status", "KX10Motor_Read_Paddress",
    "KX10Motor_Set_Pulse_Address", "KX10Motor_MoveTo_PAddress", "KX10Motor_RelMove_PAddress",
    "KX10Motor_Halt", "KX10Motor_Set_Interval_Pulse", "KX10Motor_Read_18memory2",
    "KX10SC24_Status",
};
static_assert(sizeof kOpNames / sizeof kOpNames[0] == static_cast<int>(SimOp::Count),
              "one name per operation");
}  // namespace

bool SimFaults::opOf(const char* name, SimOp& op) {
    if (!name) return false;
    for (int i = 0; i < static_cast<int>(SimOp::Count); ++i) {
        if (std::strcmp(kOpNames[i], name) == 0) {
            op = static_cast<SimOp>(i);
            return true;
        }
    }
    return false;
}

const char* SimFaults::nameOf(SimOp op) {
    const int i = static_cast<int>(op);
    return i >= 0 && i < static_cast<int>(SimOp::Count) ? kOpNames[i] : "";
}

bool SimFaults::arm(const char* name, SimFaultKind kind, int delayMs, int times) {
    SimOp op;
    if (!opOf(name, op) || times == 0 || times < kFaultAlways) return false;
    Entry& e = entries_[static_cast<int>(op)];
    e.kind = kind;
    e.remaining = times;
    e.delayMs = delayMs < 0 ? 0 : delayMs;
    return true;
}

bool SimFaults::fail(const char* op, int times) { return arm(op, SimFaultKind::Fail, 0, times); }

bool SimFaults::failAfter(const char* name, int skip, int times) {
    if (skip < 0 || !arm(name, SimFaultKind::Fail, 0, times)) return false;
    SimOp op;
    opOf(name, op);
    entries_[static_cast<int>(op)].skip = skip;
    return true;
}

bool SimFaults::delay(const char* op, int delayMs, int times) {
    return arm(op, SimFaultKind::Delay, delayMs, times);
}

bool SimFaults::corrupt(const char* op, SimFaultKind kind, int times) {
    if (kind != SimFaultKind::MissingEndMark && kind != SimFaultKind::ShortFrame) return false;
    return arm(op, kind, 0, times);
}

bool SimFaults::clear(const char* name) {
    SimOp op;
    if (!opOf(name, op)) return false;
    entries_[static_cast<int>(op)] = Entry{};
    return true;
}

void SimFaults::clearAll() {
    for (Entry& e : entries_) e = Entry{};
}

SimFaults::Hit SimFaults::take(SimOp op) {
    const int i = static_cast<int>(op);
    ++calls_[i];
    Entry& e = entries_[i];
    if (e.kind == SimFaultKind::None || e.remaining == 0) return {};
    if (e.skip > 0) {
        --e.skip;
        return {};
    }
    const Hit hit{e.kind, e.delayMs};
    if (e.remaining > 0 && --e.remaining == 0) e = Entry{};
    return hit;
}

int SimFaults::calls(const char* name) const {
    SimOp op;
    return opOf(name, op) ? calls_[static_cast<int>(op)] : 0;
}

}  // namespace qor
