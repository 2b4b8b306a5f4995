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

extern const char* const kSimulatedInstrumentName;   // "simulated instrument"

struct InstrumentChoice {
    std::unique_ptr<Kx10> instrument;   // null when the driver library was refused
    QString name;                       // "simulated instrument" or the library's file name
    QString error;                      // why the library was refused
};

// The simulated instrument on `clock` when `driverPath` is empty, else the driver library
// loaded from it with every operation resolved.
InstrumentChoice chooseInstrument(const QString& driverPath, Clock& clock);

// Shows the instrument's name at the right end of the status bar, beside the status texts and
// never hidden by them (a label named "InstrumentName").
void showInstrumentName(QStatusBar& bar, const QString& name);

}  // namespace qor
