#include "support/HostedShim.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <signal.h>
#endif

namespace qor::test {

namespace {
QString fromEnvironment(const char* name, const char* fallback) {
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? QString::fromLocal8Bit(fallback) : value;
}
}  // namespace

QString HostedShim::hostPath() { return fromEnvironment("QOR10_TEST_DRIVER_HOST", KX10HOST_PATH); }
QString HostedShim::libraryPath() { return fromEnvironment("QOR10_TEST_SHIM", KX10SHIM_PATH); }
QString HostedShim::instrumentName() {
    return QStringLiteral("%1 via %2").arg(QFileInfo(libraryPath()).fileName(),
                                           QFileInfo(hostPath()).fileName());
}

HostedShim::HostedShim(ManualClock& clock) : clock_(clock) {
    file_ = new QFile(dir_.filePath(QStringLiteral("shared")));
    file_->open(QIODevice::ReadWrite);
    file_->resize(sizeof(ShimShared));
    map_ = file_->map(0, sizeof(ShimShared));
    block_ = reinterpret_cast<ShimShared*>(map_);
    block_->nowMs = clock.now;
    block_->spillBytes = 0;
    block_->spillSeen = 0;
    qputenv("KX10SHIM_SHARED", QFile::encodeName(file_->fileName()));
    qputenv("KX10SHIM_LOG", QFile::encodeName(dir_.filePath(QStringLiteral("calls.log"))));
}

HostedShim::~HostedShim() {
    qunsetenv("KX10SHIM_SHARED");
    qunsetenv("KX10SHIM_LOG");
    file_->unmap(map_);
    delete file_;
}

std::unique_ptr<Kx10Host> HostedShim::start(int timeoutMs) {
    QString error;
    std::unique_ptr<Kx10Host> host = Kx10Host::start(hostPath(), libraryPath(), &error,
                                                     timeoutMs);
    EXPECT_TRUE(host) << error.toStdString();
    return host;
}

std::unique_ptr<Kx10> HostedShim::synced(std::unique_ptr<Kx10> host) {
    return std::make_unique<ClockSyncKx10>(std::move(host), clock_, *block_);
}

CallLog HostedShim::log() const {
    CallLog calls;
    QFile f(dir_.filePath(QStringLiteral("calls.log")));
    if (!f.open(QIODevice::ReadOnly)) return calls;
    while (!f.atEnd()) {
        QByteArray line = f.readLine();
        if (line.endsWith('\n')) line.chop(1);
        calls.push_back(line.toStdString());
    }
    return calls;
}

void killProcess(qint64 pid) {
#ifdef _WIN32
    HANDLE h = OpenProcess(PROCESS_TERMINATE, FALSE, static_cast<DWORD>(pid));
    ASSERT_NE(nullptr, h);
    TerminateProcess(h, 9);
    CloseHandle(h);
#else
    ASSERT_EQ(0, ::kill(static_cast<pid_t>(pid), SIGKILL));
#endif
}

}  // namespace qor::test
