#pragma once
// Which instrument the program talks to: the built-in simulated instrument, or the instrument
// behind the driver library named at start (app/CommandLine). The status bar names it for the
// whole run.

#include "app/Services.h"
#include "instrument/Kx10.h"

#include <QString>
#include <memory>

class QStatusBar;

namespace qor {

class Kx10Host;

extern const char* const kSimulatedInstrumentName;   // "simulated instrument"

struct InstrumentChoice {
    std::unique_ptr<Kx10> instrument;   // null when the driver library was refused
    QString name;                       // "simulated instrument" or the library's file name
                                        // ("<library> via <host>" through the driver host)
    QString error;                      // why the library was refused
    Kx10Host* host = nullptr;           // `instrument` when it is served by the driver host
};

// The simulated instrument on `clock` when `driverPath` is empty, else the driver library
// loaded from it with every operation resolved.
InstrumentChoice chooseInstrument(const QString& driverPath, Clock& clock);
// The same; with a driver host program (`hostPath` not empty) the library is served by that
// host, started as a child process, with a reply time-out of `hostTimeoutMs`.
InstrumentChoice chooseInstrument(const QString& driverPath, const QString& hostPath,
                                  Clock& clock, int hostTimeoutMs = 5000);

// Shows the instrument's name at the right end of the status bar, beside the status texts and
// never hidden by them (a label named "InstrumentName").
void showInstrumentName(QStatusBar& bar, const QString& name);

}  // namespace qor
