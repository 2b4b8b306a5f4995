#pragma once
// A minimal recording stand-in for the driver operations: every call is logged as text
// ("KX10Motor_Get_Status 2 0"), every result and text reply is set by the test. For unit tests
// that check which operations a handler sends; the realistic instrument is Kx10Simulator.

#include "instrument/Kx10.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <map>
#include <QRegularExpression>
#include <string>
#include <vector>

namespace qor::test {

class ScriptedKx10 : public Kx10 {
public:
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

    // Failures by operation name: n > 0 fails the next n calls, -1 fails every call.
    std::map<std::string, int> failures;
    // Failures from the k-th call (counting from 0) of an operation on.
    std::map<std::string, int> failFromCall;
    std::map<std::string, int> callCount;
    // Results by operation name (0 when not set) and text replies copied into reply buffers.
    std::map<std::string, int32_t> results;
    std::map<std::string, std::string> replies;
    // Replies used once each, before `replies`.
    std::map<std::string, std::deque<std::string>> replyQueue;
    // KX10USB_ReadQsize answers: queued values first, then `qsize`.
    std::vector<int32_t> qsizes;
    int32_t qsize = 0;
    // Channel values of KX10MCA_ReadSEQ: channel * seqScale + seqOffset.
    int32_t seqScale = 1, seqOffset = 0;
    int32_t seqValue(int32_t ch) const { return ch * seqScale + seqOffset; }

    QStringList calls;
    // Calls whose text starts with `prefix`.
    QStringList callsOf(const QString& prefix) const { return calls.filter(QRegularExpression("^" + QRegularExpression::escape(prefix) + "( |$)")); }

private:
    int32_t answer(const char* op, const QString& call);
    void fillReply(const char* op, void* buf, int32_t size);
};

}  // namespace qor::test
