#include "instrument/Kx10Host.h"

#include "instrument/ReplyStage.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

namespace qor {

namespace {
int32_t ch(char c) { return static_cast<uint8_t>(c); }
}  // namespace

Kx10Host::Kx10Host(const QString& hostPath, const QString& libraryPath, int timeoutMs)
    : hostPath_(hostPath), libraryPath_(libraryPath), timeoutMs_(timeoutMs) {
    // The host's warnings (a reply written past its length) reach the program's own error
    // output; its standard output is the protocol.
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

std::unique_ptr<Kx10Host> Kx10Host::start(const QString& hostPath, const QString& libraryPath,
                                          QString* error, int timeoutMs) {
    // Files that exist are handed over with their whole path: the host runs the loader, which
    // would look for a bare name only in the system's folders.
    const QFileInfo host(hostPath);
    const QFileInfo library(libraryPath);
    std::unique_ptr<Kx10Host> h(
        new Kx10Host(host.exists() ? host.absoluteFilePath() : hostPath,
                     library.exists() ? library.absoluteFilePath() : libraryPath, timeoutMs));
    if (!h->launch(error)) return nullptr;
    return h;
}

Kx10Host::~Kx10Host() {
    if (process_.state() == QProcess::NotRunning) return;
    // The end of its input ends the host; one that does not end is stopped.
    process_.closeWriteChannel();
    if (!process_.waitForFinished(1000)) stopProcess();
}

QString Kx10Host::hostName() const { return QFileInfo(hostPath_).fileName(); }
QString Kx10Host::libraryName() const { return QFileInfo(libraryPath_).fileName(); }

bool Kx10Host::launch(QString* error) {
    stopProcess();
    process_.start(hostPath_, {libraryPath_});
    if (!process_.waitForStarted(timeoutMs_)) {
        if (error)
            *error = QStringLiteral("The driver host %1 cannot be started: %2")
                         .arg(hostPath_, process_.errorString());
        return false;
    }
    lost_ = false;
    makeHello(request_);
    QString failure;
    if (!exchange(&failure)) {
        if (error) *error = failure;
        return false;
    }
    int32_t version = 0;
    char refusal[1024];
    QString why;
    if (!readHelloReply(reply_, version, refusal, sizeof refusal))
        why = QStringLiteral("The driver host %1 did not answer the hello of the protocol")
                  .arg(hostPath_);
    else if (version != kHostProtocolVersion)
        why = QStringLiteral("The driver host %1 speaks protocol version %2; this program "
                             "speaks version %3")
                  .arg(hostPath_)
                  .arg(version)
                  .arg(kHostProtocolVersion);
    else if (refusal[0])
        why = QString::fromLocal8Bit(refusal);
    if (!why.isEmpty()) {
        lost_ = true;
        stopProcess();
        if (error) *error = why;
        return false;
    }
    return true;
}

void Kx10Host::stopProcess() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.kill();
    process_.waitForFinished(1000);
}

bool Kx10Host::readExactly(uint8_t* to, qint64 n, const QElapsedTimer& since,
                           QString& failure) {
    qint64 got = 0;
    const char* op = hostOpName(request_.op);
    for (;;) {
        const qint64 r = process_.read(reinterpret_cast<char*>(to) + got, n - got);
        if (r > 0) got += r;
        if (got == n) return true;
        if (process_.bytesAvailable() > 0) continue;
        if (process_.state() == QProcess::NotRunning) {
            const QString how = process_.exitStatus() == QProcess::CrashExit
                                    ? QStringLiteral("it crashed")
                                    : QStringLiteral("exit code %1").arg(process_.exitCode());
            failure = QStringLiteral("The driver host %1 ended during %2 (%3)")
                          .arg(hostName(), QLatin1String(op), how);
            return false;
        }
        const qint64 left = timeoutMs_ - since.elapsed();
        if (left <= 0) {
            failure = QStringLiteral("The driver host %1 did not answer %2 within %3 ms and was "
                                     "stopped")
                          .arg(hostName(), QLatin1String(op))
                          .arg(timeoutMs_);
            return false;
        }
        process_.waitForReadyRead(static_cast<int>(left));
    }
}

bool Kx10Host::exchange(QString* failureOut) {
    if (lost_) return false;
    const size_t n = encodeHostRequest(request_, frame_);
    QString failure;
    if (n == 0 || process_.write(reinterpret_cast<const char*>(frame_), qint64(n)) != qint64(n)) {
        failure = QStringLiteral("The driver host %1 ended before %2")
                      .arg(hostName(), QLatin1String(hostOpName(request_.op)));
    } else {
        QElapsedTimer since;
        since.start();
        uint8_t header[4];
        if (readExactly(header, 4, since, failure)) {
            const uint32_t length = hostFrameLength(header);
            if (length > uint32_t(kHostMaxPayload) ||
                !readExactly(frame_, qint64(length), since, failure) ||
                !decodeHostReply(frame_, length, reply_) || reply_.op != request_.op ||
                (request_.op != HostOp::Hello && reply_.length != hostReplyLength(request_) &&
                 !(reply_.result == kLibraryOverrun && reply_.length == 0))) {
                if (failure.isEmpty())
                    failure = QStringLiteral("The driver host %1 answered %2 out of protocol "
                                             "and was stopped")
                                  .arg(hostName(), QLatin1String(hostOpName(request_.op)));
            }
        }
    }
    if (failure.isEmpty()) return true;
    if (failureOut) *failureOut = failure;
    if (request_.op == HostOp::Hello) {
        lost_ = true;
        stopProcess();
    } else {
        lose(failure + QStringLiteral("; the instrument is offline."));
    }
    return false;
}

void Kx10Host::lose(const QString& what) {
    lost_ = true;
    lastLoss_ = what;
    stopProcess();
    if (lossHandler_) lossHandler_(what);
}

int32_t Kx10Host::plain(HostOp op, std::initializer_list<int32_t> args) {
    if (lost_) return kHostLost;
    request_.op = op;
    request_.dataLength = 0;
    std::copy(args.begin(), args.end(), request_.args);
    return exchange() ? reply_.result : kHostLost;
}

int32_t Kx10Host::withReply(HostOp op, std::initializer_list<int32_t> args, void* buf,
                            int32_t size, bool text) {
    if (!buf) return kLibraryBadBuffer;
    const int32_t result = plain(op, args);
    if (result == kHostLost || result == kLibraryOverrun) return result;
    const int32_t length = reply_.length;
    const int32_t n = std::max<int32_t>(0, std::min(length, size));
    if (n > 0) std::memcpy(buf, reply_.data, static_cast<size_t>(n));
    // A text reply ends with a NUL whenever the caller's buffer has room after it.
    if (text && size > length) static_cast<char*>(buf)[length] = '\0';
    return result;
}

int32_t Kx10Host::KX10USB_Open(const char* serial, int32_t dev, int32_t p1, int32_t p2) {
    // A lost host is replaced by a new one at the connect.
    if (lost_) {
        QString why;
        if (!launch(&why)) {
            lastLoss_ = why;
            if (lossHandler_) lossHandler_(why);
            return kHostLost;
        }
    }
    request_.op = HostOp::KX10USB_Open;
    const size_t len = serial ? std::min<size_t>(std::strlen(serial), kHostMaxData - 1) : 0;
    if (len) std::memcpy(request_.data, serial, len);
    request_.data[len] = 0;
    request_.dataLength = static_cast<int32_t>(len + 1);
    request_.args[0] = dev;
    request_.args[1] = p1;
    request_.args[2] = p2;
    return exchange() ? reply_.result : kHostLost;
}

int32_t Kx10Host::KX10USB_ReadQsize(int32_t dev) { return plain(HostOp::KX10USB_ReadQsize, {dev}); }

int32_t Kx10Host::KX10USB_Read(int32_t dev, int32_t n, uint8_t* buf, int32_t size) {
    const int32_t want = std::clamp(std::min(n, size), 0, ReplyStage::kCapacity);
    return withReply(HostOp::KX10USB_Read, {dev, want}, buf, size, false);
}

int32_t Kx10Host::KX10USB_Write(int32_t dev, int32_t n, const uint8_t* bytes) {
    if (n < 0 || n > kHostMaxData || (n > 0 && !bytes)) return kLibraryBadBuffer;
    if (lost_) return kHostLost;
    request_.op = HostOp::KX10USB_Write;
    if (n) std::memcpy(request_.data, bytes, static_cast<size_t>(n));
    request_.dataLength = n;
    request_.args[0] = dev;
    request_.args[1] = n;
    return exchange() ? reply_.result : kHostLost;
}

int32_t Kx10Host::KX10MCA_Status(int32_t dev, char m, char* buf, int32_t size) {
    return withReply(HostOp::KX10MCA_Status, {dev, ch(m)}, buf, size, true);
}

int32_t Kx10Host::KX10MCA_Preset(int32_t dev, char m, int32_t mode, int32_t channels,
                                 int32_t preset) {
    return plain(HostOp::KX10MCA_Preset, {dev, ch(m), mode, channels, preset});
}

int32_t Kx10Host::KX10MCA_Start(int32_t dev, char m) {
    return plain(HostOp::KX10MCA_Start, {dev, ch(m)});
}

int32_t Kx10Host::KX10MCA_Stop(int32_t dev, char m) {
    return plain(HostOp::KX10MCA_Stop, {dev, ch(m)});
}

int32_t Kx10Host::KX10MCA_Clear(int32_t dev, char m) {
    return plain(HostOp::KX10MCA_Clear, {dev, ch(m)});
}

int32_t Kx10Host::KX10MCA_ReadSEQ(int32_t dev, char m, int32_t first, int32_t* dest) {
    return withReply(HostOp::KX10MCA_ReadSEQ, {dev, ch(m), first}, dest,
                     kMcaBlockChannels * int32_t(sizeof(int32_t)), false);
}

int32_t Kx10Host::KX10MCA_2DSCAN_OFFSET(int32_t dev, char m, int32_t value) {
    return plain(HostOp::KX10MCA_2DSCAN_OFFSET, {dev, ch(m), value});
}

int32_t Kx10Host::KX10MCA_2DSCAN_PSET(int32_t dev, char m, int32_t channels) {
    return plain(HostOp::KX10MCA_2DSCAN_PSET, {dev, ch(m), channels});
}

int32_t Kx10Host::KX10MCA_2DSCAN_ROISET(int32_t dev, char m, int32_t roi, int32_t first,
                                        int32_t last, int32_t kind) {
    return plain(HostOp::KX10MCA_2DSCAN_ROISET, {dev, ch(m), roi, first, last, kind});
}

int32_t Kx10Host::KX10MCA_2DSCAN_Start(int32_t dev, char m) {
    return plain(HostOp::KX10MCA_2DSCAN_Start, {dev, ch(m)});
}

int32_t Kx10Host::KX10MCA_2DSCAN_Stop(int32_t dev, char m) {
    return plain(HostOp::KX10MCA_2DSCAN_Stop, {dev, ch(m)});
}

int32_t Kx10Host::KX10MCA_2DSCAN_Status(int32_t dev, char m, char* buf, int32_t size) {
    return withReply(HostOp::KX10MCA_2DSCAN_Status, {dev, ch(m)}, buf, size, true);
}

int32_t Kx10Host::KX10MCA_2DSCAN_ReadROI(int32_t dev, char m, uint8_t* buf, int32_t size) {
    return withReply(HostOp::KX10MCA_2DSCAN_ReadROI, {dev, ch(m)}, buf, size, false);
}

int32_t Kx10Host::KX10MCA_2DSCAN_ReadDebug(int32_t dev, char m, uint8_t* buf, int32_t size) {
    return withReply(HostOp::KX10MCA_2DSCAN_ReadDebug, {dev, ch(m)}, buf, size, false);
}

int32_t Kx10Host::KX10Motor_Set_Speed(int32_t dev, char m, int32_t a, int32_t startPps,
                                      int32_t maxPps, int32_t ramp, int32_t zero,
                                      int32_t accelClass) {
    return plain(HostOp::KX10Motor_Set_Speed,
                 {dev, ch(m), a, startPps, maxPps, ramp, zero, accelClass});
}

int32_t Kx10Host::KX10Motor_Get_Status(int32_t dev, char m, int32_t a, char* buf, int32_t size) {
    return withReply(HostOp::KX10Motor_Get_Status, {dev, ch(m), a}, buf, size, true);
}

int32_t Kx10Host::KX10Motor_Read_Paddress(int32_t dev, char m, int32_t a, char* buf,
                                          int32_t size) {
    return withReply(HostOp::KX10Motor_Read_Paddress, {dev, ch(m), a}, buf, size, true);
}

int32_t Kx10Host::KX10Motor_Set_Pulse_Address(int32_t dev, char m, int32_t a, int32_t pulses) {
    return plain(HostOp::KX10Motor_Set_Pulse_Address, {dev, ch(m), a, pulses});
}

int32_t Kx10Host::KX10Motor_MoveTo_PAddress(int32_t dev, char m, int32_t a, int32_t pulses) {
    return plain(HostOp::KX10Motor_MoveTo_PAddress, {dev, ch(m), a, pulses});
}

int32_t Kx10Host::KX10Motor_RelMove_PAddress(int32_t dev, char m, int32_t a, int32_t pulses) {
    return plain(HostOp::KX10Motor_RelMove_PAddress, {dev, ch(m), a, pulses});
}

int32_t Kx10Host::KX10Motor_Halt(int32_t dev, char m, int32_t a) {
    return plain(HostOp::KX10Motor_Halt, {dev, ch(m), a});
}

int32_t Kx10Host::KX10Motor_Set_Interval_Pulse(int32_t dev, char m, int32_t a, int32_t pulses) {
    return plain(HostOp::KX10Motor_Set_Interval_Pulse, {dev, ch(m), a, pulses});
}

int32_t Kx10Host::KX10Motor_Read_18memory2(int32_t dev, char m, int32_t a, uint8_t* buf,
                                           int32_t size) {
    return withReply(HostOp::KX10Motor_Read_18memory2, {dev, ch(m), a}, buf, size, false);
}

int32_t Kx10Host::KX10SC24_Status(int32_t dev, char m, char* buf, int32_t size) {
    return withReply(HostOp::KX10SC24_Status, {dev, ch(m)}, buf, size, true);
}

}  // namespace qor
