#pragma once
// The program's clock, injected everywhere time matters (tests give a manual one). A header of
// its own: the part without Qt (the monotonic time and the short wait) is all the simulated
// instrument needs, so the simulator builds without Qt wherever that part is implemented (the
// stand-in driver library cross-built for Windows does). localDateTime()'s type is only
// declared here; its callers and implementations include <QDateTime>.

#include <cstdint>

class QDateTime;

namespace qor {

class MonotonicClock {
public:
    virtual ~MonotonicClock() = default;
    virtual int64_t nowMs() const = 0;            // monotonic milliseconds
    virtual void sleepMs(int ms) = 0;             // a short blocking wait
};

class Clock : public MonotonicClock {
public:
    virtual QDateTime localDateTime() const = 0;  // local date and time for file names
};

}  // namespace qor
