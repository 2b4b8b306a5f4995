#pragma once
// The instrument reached through the driver host (host/kx10host): a child process that loads the
// driver library and serves its operations over a pipe (instrument/Kx10Protocol.h). Every Kx10
// call is forwarded as one request and waits for its reply; the reply is copied into the
// caller's buffer, never more than the caller's size, text replies NUL-terminated when the
// caller's buffer has room after them.
//
// The host isolates the program from the library: when the host ends, does not answer within
// the time-out, or answers out of protocol, the call fails with kHostLost, the host is stopped,
// and the loss handler is told what happened (once). Later calls fail at once without waiting,
// until KX10USB_Open (the connect) starts a new host.

#include "instrument/Kx10.h"
#include "instrument/Kx10Protocol.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <functional>
#include <memory>

namespace qor {

class Kx10Host : public Kx10 {
public:
    static constexpr int kDefaultTimeoutMs = 5000;

    // Starts the host at `hostPath` for the library at `libraryPath` and runs the hello. Null on
    // refusal, with the reason in `error`: the host cannot be started, speaks another protocol
    // version, answers out of protocol, or cannot bind the library (its reason).
    static std::unique_ptr<Kx10Host> start(const QString& hostPath, const QString& libraryPath,
                                           QString* error, int timeoutMs = kDefaultTimeoutMs);
    ~Kx10Host() override;

    // Told, once per host, what ended it (a clear sentence naming the host and the cause).
    void setLossHandler(std::function<void(const QString& what)> handler) {
        lossHandler_ = std::move(handler);
    }
    bool running() const { return process_.state() == QProcess::Running && !lost_; }
    qint64 processId() const { return process_.processId(); }
    QString hostName() const;
    QString libraryName() const;
    // The text of the last loss, empty before any.
    QString lastLoss() const { return lastLoss_; }

    int32_t KX10USB_Open(const char* serial, int32_t dev, int32_t p1, int32_t p2) override;
    int32_t KX10USB_ReadQsize(int32_t dev) override;
    int32_t KX10USB_Read(int32_t dev, int32_t n, uint8_t* buf, int32_t size) override;
    int32_t KX10USB_Write(int32_t dev, int32_t n, const uint8_t* bytes) override;
    int32_t KX10MCA_Status(int32_t dev, char m, char* buf, int32_t size) override;
    int32_t KX10MCA_Preset(int32_t dev, char m, int32_t mode, int32_t channels,
                           int32_t preset) override;
    int32_t KX10MCA_Start(int32_t dev, char m) override;
    int32_t KX10MCA_Stop(int32_t dev, char m) override;
    int32_t KX10MCA_Clear(int32_t dev, char m) override;
    int32_t KX10MCA_ReadSEQ(int32_t dev, char m, int32_t first, int32_t* dest) override;
    int32_t KX10MCA_2DSCAN_OFFSET(int32_t dev, char m, int32_t value) override;
    int32_t KX10MCA_2DSCAN_PSET(int32_t dev, char m, int32_t channels) override;
    int32_t KX10MCA_2DSCAN_ROISET(int32_t dev, char m, int32_t roi, int32_t first, int32_t last,
                                  int32_t kind) override;
    int32_t KX10MCA_2DSCAN_Start(int32_t dev, char m) override;
    int32_t KX10MCA_2DSCAN_Stop(int32_t dev, char m) override;
    int32_t KX10MCA_2DSCAN_Status(int32_t dev, char m, char* buf, int32_t size) override;
    int32_t KX10MCA_2DSCAN_ReadROI(int32_t dev, char m, uint8_t* buf, int32_t size) override;
    int32_t KX10MCA_2DSCAN_ReadDebug(int32_t dev, char m, uint8_t* buf, int32_t size) override;
    int32_t KX10Motor_Set_Speed(int32_t dev, char m, int32_t a, int32_t startPps, int32_t maxPps,
                                int32_t ramp, int32_t zero, int32_t accelClass) override;
    int32_t KX10Motor_Get_Status(int32_t dev, char m, int32_t a, char* buf, int32_t size) override;
    int32_t KX10Motor_Read_Paddress(int32_t dev, char m, int32_t a, char* buf,
                                    int32_t size) override;
    int32_t KX10Motor_Set_Pulse_Address(int32_t dev, char m, int32_t a, int32_t pulses) override;
    int32_t KX10Motor_MoveTo_PAddress(int32_t dev, char m, int32_t a, int32_t pulses) override;
    int32_t KX10Motor_RelMove_PAddress(int32_t dev, char m, int32_t a, int32_t pulses) override;
    int32_t KX10Motor_Halt(int32_t dev, char m, int32_t a) override;
    int32_t KX10Motor_Set_Interval_Pulse(int32_t dev, char m, int32_t a, int32_t pulses) override;
    int32_t KX10Motor_Read_18memory2(int32_t dev, char m, int32_t a, uint8_t* buf,
                                     int32_t size) override;
    int32_t KX10SC24_Status(int32_t dev, char m, char* buf, int32_t size) override;

private:
    Kx10Host(const QString& hostPath, const QString& libraryPath, int timeoutMs);
    // Starts the process and runs the hello; false with the reason in `error`.
    bool launch(QString* error);
    void stopProcess();
    // Sends the request in request_ and reads its reply into reply_. False when the host is
    // lost (then the loss is reported) or was lost before.
    bool exchange(QString* failure = nullptr);
    // Reads exactly `n` bytes within the time-out counted from `since`; the failure names what
    // happened.
    bool readExactly(uint8_t* to, qint64 n, const QElapsedTimer& since, QString& failure);
    void lose(const QString& what);
    // One call without reply bytes, with the operation and its arguments.
    int32_t plain(HostOp op, std::initializer_list<int32_t> args);
    // One call whose reply bytes go into `buf` (`size` bytes); `text` adds the NUL.
    int32_t withReply(HostOp op, std::initializer_list<int32_t> args, void* buf, int32_t size,
                      bool text);

    QString hostPath_;
    QString libraryPath_;
    int timeoutMs_;
    QProcess process_;
    bool lost_ = true;
    QString lastLoss_;
    std::function<void(const QString&)> lossHandler_;
    HostRequest request_;
    HostReply reply_;
    uint8_t frame_[kHostMaxFrame];
};

}  // namespace qor
