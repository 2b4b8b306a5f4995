#include "scan/StageControl.h"

#include "app/FieldText.h"
#include "instrument/Pulses.h"

namespace qor {

QString StageControl::motorText(int n, const char* what) {
    return QStringLiteral("Motor#%1 %2").arg(n).arg(QString::fromLatin1(what));
}

QString StageControl::scanLockText() {
    return QStringLiteral("スキャン中はX・Y・Z軸 (モータ#1～#3) を手動で操作できません。"
                          "スキャンを止めるには Stop SCAN (元素SCANは「中止」) を押してください");
}

bool StageControl::scanLocks(int first, int last) {
    if (!online() || !scanMode_ || *scanMode_ == 0 || first > 3 || last < 1) return false;
    alerts_.beep();
    alerts_.message(scanLockText());
    return true;
}

double StageControl::ReadMotorPosition(int index, bool* ok) {
    if (ok) *ok = false;
    if (index < 0 || index > 7) return 0.0;
    const int n = index + 1;
    const char m = module(n);
    const int32_t a = axisChar(n);

    // The reply: a leading marker, then the signed decimal address in characters 1..10.
    char reply[kPaddressReplySize + 1] = {};
    const bool read = kx_.KX10Motor_Read_Paddress(1, m, a, reply, kPaddressReplySize) >= 0;
    if (!read) {
        alerts_.beep();
        alerts_.status(motorText(n, "Read PAddr error"));
    }
    parsePaddressReply(reply, last_.pulses);
    const double position = pulsesToLogical(last_.pulses, rec_.MotorLogicalPulses[index]);

    char status[kMotorStatusReplySize + 1] = {};
    kx_.KX10Motor_Get_Status(1, m, a, status, kMotorStatusReplySize);
    last_.busy = status[1] == '1' ? 1 : 0;
    last_.ccw = status[2] == '1' ? 1 : 0;
    last_.cw = status[4] == '1' ? 1 : 0;

    if (ok) *ok = read;
    return position;
}

int StageControl::MotorBusy(int index) { return motorState(index).busy; }

MotorState StageControl::motorState(int index) {
    MotorState s;
    if (index < 0 || index > 7) return s;
    const int n = index + 1;
    char status[kMotorStatusReplySize + 1] = {};
    kx_.KX10Motor_Get_Status(1, module(n), axisChar(n), status, kMotorStatusReplySize);
    if (status[1] == '1') s.busy = 1;
    else if (status[1] == '0') s.busy = 0;
    s.ccw = status[2] == '1';
    s.cw = status[4] == '1';
    return s;
}

bool StageControl::hasScale(int n) {
    if (rec_.MotorLogicalPulses[n - 1] > 0) return true;
    alerts_.beep();
    alerts_.status(motorText(n, "LogicalPulse setting error"));
    return false;
}

void StageControl::accessError(int n) {
    alerts_.beep();
    alerts_.message(motorText(n, "access error"));
}

void StageControl::jog(int n, double delta) {
    if (!mayCommand(n) || !hasScale(n)) return;
    bool ok = false;
    const double position = ReadMotorPosition(n - 1, &ok);
    // A target built on a failed read would be garbage: the read error is already shown.
    if (!ok) return;
    const int32_t target = logicalToPulses(rec_.MotorLogicalPulses[n - 1], position + delta);
    if (kx_.KX10Motor_MoveTo_PAddress(1, module(n), axisChar(n), target) < 0) {
        alerts_.beep();
        alerts_.status(motorText(n, "Move error"));
    }
}

void StageControl::setCounter(int n, double logical) {
    if (!mayCommand(n) || !hasScale(n)) return;
    const int32_t pulses = logicalToPulses(rec_.MotorLogicalPulses[n - 1], logical);
    if (kx_.KX10Motor_Set_Pulse_Address(1, module(n), axisChar(n), pulses) < 0) accessError(n);
}

void StageControl::setCounterZero(int n) {
    if (!mayCommand(n)) return;
    if (kx_.KX10Motor_Set_Pulse_Address(1, module(n), axisChar(n), 0) < 0) accessError(n);
}

void StageControl::moveTo(int n, double logical) {
    if (!mayCommand(n) || !hasScale(n)) return;
    const int32_t pulses = logicalToPulses(rec_.MotorLogicalPulses[n - 1], logical);
    if (kx_.KX10Motor_MoveTo_PAddress(1, module(n), axisChar(n), pulses) < 0) accessError(n);
}

void StageControl::moveToZero(int n) {
    if (!mayCommand(n)) return;
    if (kx_.KX10Motor_MoveTo_PAddress(1, module(n), axisChar(n), 0) < 0) accessError(n);
}

void StageControl::halt(int n) {
    if (!mayCommand(n)) return;
    if (kx_.KX10Motor_Halt(1, module(n), axisChar(n)) < 0) accessError(n);
}

}  // namespace qor
