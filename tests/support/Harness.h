#pragma once
// A whole program for window-level tests: the real main window and dialogs, offscreen, against
// the simulated instrument, with recording services and a manual clock, started in a fresh
// temporary directory (or a given one).

#include "app/TForm9.h"
#include "sim/Kx10Simulator.h"
#include "support/Fakes.h"

#include <QTemporaryDir>
#include <functional>
#include <functional>
#include <memory>

namespace qor::test {

class Harness {
public:
    // Starts the program in `dir` (a new temporary directory when empty).
    explicit Harness(const QString& dir = QString());
    // Starts the program against the instrument `make` builds (for instance a pass-through
    // around `sim`, or a driver library on `clock`); the harness keeps it for its lifetime.
    using InstrumentMaker = std::function<std::unique_ptr<Kx10>(Harness&)>;
    explicit Harness(const InstrumentMaker& make, const QString& dir = QString());
    ~Harness();

    TForm9& form() { return *form_; }
    AppState& st() { return form_->state(); }
    InfoRecord& rec() { return form_->state().rec; }
    QString dir() const { return dir_; }
    QString infoPath() const;

    // Closes the window the way the operator does (saves the record).
    void close();
    // One acquisition tick after advancing the clock by `ms`.
    void tick1(int64_t ms = 800);
    void tick2(int64_t ms = 250);
    // Runs Timer2 at its present period, and Timer1 every 800 ms, while `keepGoing` holds, at
    // most `maxTicks` Timer2 ticks. Returns the Timer2 ticks run.
    int runTimers(const std::function<bool()>& keepGoing, int maxTicks);

    template <class W>
    W* find(const char* name) { return form_->findChild<W*>(QString::fromLatin1(name)); }

    FakeAlerts alerts;
    FakeSounds sounds;
    FakeDialogs dialogs;
    ManualClock clock;
    FakePrinting printing;
    Services services{alerts, sounds, dialogs, clock, printing};
    std::unique_ptr<Kx10Simulator> sim;
    std::unique_ptr<Kx10> instrument;   // what the program talks to when not `sim` itself

private:
    std::unique_ptr<QTemporaryDir> tmp_;
    QString dir_;
    std::unique_ptr<TForm9> form_;
};

}  // namespace qor::test
