#pragma once
// The stand-in driver library served by the driver host (build/kx10host) in a child process,
// tied to a test: its control block (clock and spill) lives in a file both processes map, and
// its call log comes back in a file once the host has ended. The environment that tells the
// library so is set while this object lives; hosts started meanwhile inherit it.

#include "instrument/Kx10Host.h"
#include "shim/ShimControl.h"
#include "support/ClockSyncKx10.h"
#include "support/Fakes.h"
#include "support/LoggingKx10.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace qor::test {

class HostedShim {
public:
    // The host and the library the tests use: build/kx10host and build/tests/libkx10shim.so, or
    // QOR10_TEST_DRIVER_HOST and QOR10_TEST_SHIM when set (scripts/wine-host-test runs the
    // Windows host and library under Wine that way).
    static QString hostPath();
    static QString libraryPath();
    // "<library> via <host>", as the status bar names them.
    static QString instrumentName();

    explicit HostedShim(ManualClock& clock);
    ~HostedShim();
    HostedShim(const HostedShim&) = delete;
    HostedShim& operator=(const HostedShim&) = delete;

    // Starts the host for libkx10shim with the given reply time-out; null (and a test failure)
    // when it is refused.
    std::unique_ptr<Kx10Host> start(int timeoutMs = Kx10Host::kDefaultTimeoutMs);
    // `host` behind the clock synchronisation, ready for the harness.
    std::unique_ptr<Kx10> synced(std::unique_ptr<Kx10> host);

    ShimShared& block() { return *block_; }
    // The calls the library logged, read from the file the host wrote when it ended.
    CallLog log() const;

private:
    ManualClock& clock_;
    QTemporaryDir dir_;
    ShimShared* block_ = nullptr;
    uchar* map_ = nullptr;
    class QFile* file_ = nullptr;
};

// Ends the process `pid` at once, as a crash would (SIGKILL; TerminateProcess on Windows).
void killProcess(qint64 pid);

}  // namespace qor::test
