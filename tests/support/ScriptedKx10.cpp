#include "support/ScriptedKx10.h"

#include <cstring>

namespace qor::test {

namespace {
QString arg(char c) { return QString(QChar(c >= 32 ? c : '0' + c)); }
QString arg(int32_t v) { return QString::number(v); }
QString arg(const char* s) { return QString::fromLatin1(s); }
// Axis characters show as the character, the port index of the presence check as its number.
QString argAxis(int32_t a) { return a >= 32 ? QString(QChar(a)) : QString::number(a); }
}  // namespace

int32_t ScriptedKx10::answer(const char* op, const QString& call) {
    calls << call;
    const int index = callCount[op]++;
    auto from = failFromCall.find(op);
    if (from != failFromCall.end() && index >= from->second) return -1;
    auto it = failures.find(op);
    if (it != failures.end() && it->second != 0) {
        if (it->second > 0) --it->second;
        return -1;
    }
    auto r = results.find(op);
    return r == results.end() ? 0 : r->second;
}

void ScriptedKx10::fillReply(const char* op, void* buf, int32_t size) {
    if (!buf || size <= 0) return;
    std::memset(buf, 0, static_cast<size_t>(size));
    std::string text;
    auto q = replyQueue.find(op);
    if (q != replyQueue.end() && !q->second.empty()) {
        text = q->second.front();
        q->second.pop_front();
    } else {
        auto it = replies.find(op);
        if (it == replies.end()) return;
        text = it->second;
    }
    const size_t n = text.size() < static_cast<size_t>(size) ? text.size()
                                                              : static_cast<size_t>(size);
    std::memcpy(buf, text.data(), n);
}

int32_t ScriptedKx10::KX10USB_Open(const char* serial, int32_t dev, int32_t p1, int32_t p2) {
    const int32_t res = answer("KX10USB_Open", QStringLiteral("KX10USB_Open") + " " + arg(serial) + " " + arg(p1) + " " + arg(p2));
    return res;
}

int32_t ScriptedKx10::KX10USB_ReadQsize(int32_t dev) {
    (void)dev;
    calls << QStringLiteral("KX10USB_ReadQsize");
    if (!qsizes.empty()) { const int32_t v = qsizes.front(); qsizes.erase(qsizes.begin()); return v; }
    return qsize;
}

int32_t ScriptedKx10::KX10USB_Read(int32_t dev, int32_t n, uint8_t* buf, int32_t size) {
    const int32_t res = answer("KX10USB_Read", QStringLiteral("KX10USB_Read") + " " + arg(n));
    fillReply("KX10USB_Read", buf, size);
    return res;
}

int32_t ScriptedKx10::KX10USB_Write(int32_t dev, int32_t n, const uint8_t* bytes) {
    const int32_t res = answer("KX10USB_Write", QStringLiteral("KX10USB_Write") + " " + arg(n));
    return res;
}

int32_t ScriptedKx10::KX10MCA_Status(int32_t dev, char m, char* buf, int32_t size) {
    const int32_t res = answer("KX10MCA_Status", QStringLiteral("KX10MCA_Status") + " " + arg(m));
    fillReply("KX10MCA_Status", buf, size);
    return res;
}

int32_t ScriptedKx10::KX10MCA_Preset(int32_t dev, char m, int32_t mode, int32_t channels, int32_t preset) {
    const int32_t res = answer("KX10MCA_Preset", QStringLiteral("KX10MCA_Preset") + " " + arg(m) + " " + arg(mode) + " " + arg(channels) + " " + arg(preset));
    return res;
}

int32_t ScriptedKx10::KX10MCA_Start(int32_t dev, char m) {
    const int32_t res = answer("KX10MCA_Start", QStringLiteral("KX10MCA_Start") + " " + arg(m));
    return res;
}

int32_t ScriptedKx10::KX10MCA_Stop(int32_t dev, char m) {
    const int32_t res = answer("KX10MCA_Stop", QStringLiteral("KX10MCA_Stop") + " " + arg(m));
    return res;
}

int32_t ScriptedKx10::KX10MCA_Clear(int32_t dev, char m) {
    const int32_t res = answer("KX10MCA_Clear", QStringLiteral("KX10MCA_Clear") + " " + arg(m));
    return res;
}

int32_t ScriptedKx10::KX10MCA_ReadSEQ(int32_t dev, char m, int32_t first, int32_t* dest) {
    const int32_t res = answer("KX10MCA_ReadSEQ", QStringLiteral("KX10MCA_ReadSEQ") + " " + arg(m) + " " + arg(first));
    for (int i = 0; i < kMcaBlockChannels; ++i) dest[i] = seqValue(first + i);
    return res;
}

int32_t ScriptedKx10::KX10MCA_2DSCAN_OFFSET(int32_t dev, char m, int32_t value) {
    const int32_t res = answer("KX10MCA_2DSCAN_OFFSET", QStringLiteral("KX10MCA_2DSCAN_OFFSET") + " " + arg(m) + " " + arg(value));
    return res;
}

int32_t ScriptedKx10::KX10MCA_2DSCAN_PSET(int32_t dev, char m, int32_t channels) {
    const int32_t res = answer("KX10MCA_2DSCAN_PSET", QStringLiteral("KX10MCA_2DSCAN_PSET") + " " + arg(m) + " " + arg(channels));
    return res;
}

int32_t ScriptedKx10::KX10MCA_2DSCAN_ROISET(int32_t dev, char m, int32_t roi, int32_t first, int32_t last, int32_t kind) {
    const int32_t res = answer("KX10MCA_2DSCAN_ROISET", QStringLiteral("KX10MCA_2DSCAN_ROISET") + " " + arg(m) + " " + arg(roi) + " " + arg(first) + " " + arg(last) + " " + arg(kind));
    return res;
}

int32_t ScriptedKx10::KX10MCA_2DSCAN_Start(int32_t dev, char m) {
    const int32_t res = answer("KX10MCA_2DSCAN_Start", QStringLiteral("KX10MCA_2DSCAN_Start") + " " + arg(m));
    return res;
}

int32_t ScriptedKx10::KX10MCA_2DSCAN_Stop(int32_t dev, char m) {
    const int32_t res = answer("KX10MCA_2DSCAN_Stop", QStringLiteral("KX10MCA_2DSCAN_Stop") + " " + arg(m));
    return res;
}

int32_t ScriptedKx10::KX10MCA_2DSCAN_Status(int32_t dev, char m, char* buf, int32_t size) {
    const int32_t res = answer("KX10MCA_2DSCAN_Status", QStringLiteral("KX10MCA_2DSCAN_Status") + " " + arg(m));
    fillReply("KX10MCA_2DSCAN_Status", buf, size);
    return res;
}

int32_t ScriptedKx10::KX10MCA_2DSCAN_ReadROI(int32_t dev, char m, uint8_t* buf, int32_t size) {
    const int32_t res = answer("KX10MCA_2DSCAN_ReadROI", QStringLiteral("KX10MCA_2DSCAN_ReadROI") + " " + arg(m));
    fillReply("KX10MCA_2DSCAN_ReadROI", buf, size);
    return res;
}

int32_t ScriptedKx10::KX10MCA_2DSCAN_ReadDebug(int32_t dev, char m, uint8_t* buf, int32_t size) {
    const int32_t res = answer("KX10MCA_2DSCAN_ReadDebug", QStringLiteral("KX10MCA_2DSCAN_ReadDebug") + " " + arg(m));
    fillReply("KX10MCA_2DSCAN_ReadDebug", buf, size);
    return res;
}

int32_t ScriptedKx10::KX10Motor_Set_Speed(int32_t dev, char m, int32_t a, int32_t startPps, int32_t maxPps, int32_t ramp, int32_t zero, int32_t accelClass) {
    const int32_t res = answer("KX10Motor_Set_Speed", QStringLiteral("KX10Motor_Set_Speed") + " " + arg(m) + " " + argAxis(a) + " " + arg(startPps) + " " + arg(maxPps) + " " + arg(ramp) + " " + arg(zero) + " " + arg(accelClass));
    return res;
}

int32_t ScriptedKx10::KX10Motor_Get_Status(int32_t dev, char m, int32_t a, char* buf, int32_t size) {
    const int32_t res = answer("KX10Motor_Get_Status", QStringLiteral("KX10Motor_Get_Status") + " " + arg(m) + " " + argAxis(a));
    fillReply("KX10Motor_Get_Status", buf, size);
    return res;
}

int32_t ScriptedKx10::KX10Motor_Read_Paddress(int32_t dev, char m, int32_t a, char* buf, int32_t size) {
    const int32_t res = answer("KX10Motor_Read_Paddress", QStringLiteral("KX10Motor_Read_Paddress") + " " + arg(m) + " " + argAxis(a));
    fillReply("KX10Motor_Read_Paddress", buf, size);
    return res;
}

int32_t ScriptedKx10::KX10Motor_Set_Pulse_Address(int32_t dev, char m, int32_t a, int32_t pulses) {
    const int32_t res = answer("KX10Motor_Set_Pulse_Address", QStringLiteral("KX10Motor_Set_Pulse_Address") + " " + arg(m) + " " + argAxis(a) + " " + arg(pulses));
    return res;
}

int32_t ScriptedKx10::KX10Motor_MoveTo_PAddress(int32_t dev, char m, int32_t a, int32_t pulses) {
    const int32_t res = answer("KX10Motor_MoveTo_PAddress", QStringLiteral("KX10Motor_MoveTo_PAddress") + " " + arg(m) + " " + argAxis(a) + " " + arg(pulses));
    return res;
}

int32_t ScriptedKx10::KX10Motor_RelMove_PAddress(int32_t dev, char m, int32_t a, int32_t pulses) {
    const int32_t res = answer("KX10Motor_RelMove_PAddress", QStringLiteral("KX10Motor_RelMove_PAddress") + " " + arg(m) + " " + argAxis(a) + " " + arg(pulses));
    return res;
}

int32_t ScriptedKx10::KX10Motor_Halt(int32_t dev, char m, int32_t a) {
    const int32_t res = answer("KX10Motor_Halt", QStringLiteral("KX10Motor_Halt") + " " + arg(m) + " " + argAxis(a));
    return res;
}

int32_t ScriptedKx10::KX10Motor_Set_Interval_Pulse(int32_t dev, char m, int32_t a, int32_t pulses) {
    const int32_t res = answer("KX10Motor_Set_Interval_Pulse", QStringLiteral("KX10Motor_Set_Interval_Pulse") + " " + arg(m) + " " + argAxis(a) + " " + arg(pulses));
    return res;
}

int32_t ScriptedKx10::KX10Motor_Read_18memory2(int32_t dev, char m, int32_t a, uint8_t* buf, int32_t size) {
    const int32_t res = answer("KX10Motor_Read_18memory2", QStringLiteral("KX10Motor_Read_18memory2") + " " + arg(m) + " " + argAxis(a));
    fillReply("KX10Motor_Read_18memory2", buf, size);
    return res;
}

int32_t ScriptedKx10::KX10SC24_Status(int32_t dev, char m, char* buf, int32_t size) {
    const int32_t res = answer("KX10SC24_Status", QStringLiteral("KX10SC24_Status") + " " + arg(m));
    fillReply("KX10SC24_Status", buf, size);
    return res;
}

}  // namespace qor::test
