#include "app/InstrumentChoice.h"

#include "instrument/Kx10Host.h"
#include "instrument/Kx10Library.h"
#include "sim/Kx10Simulator.h"

#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>

namespace qor {

const char* const kSimulatedInstrumentName = "simulated instrument";

InstrumentChoice chooseInstrument(const QString& driverPath, Clock& clock) {
    return chooseInstrument(driverPath, QString(), clock);
}

InstrumentChoice chooseInstrument(const QString& driverPath, const QString& hostPath,
                                  Clock& clock, int hostTimeoutMs) {
    InstrumentChoice choice;
    if (!hostPath.isEmpty() && !driverPath.isEmpty()) {
        std::unique_ptr<Kx10Host> host =
            Kx10Host::start(hostPath, driverPath, &choice.error, hostTimeoutMs);
        if (!host) return choice;
        choice.name = QStringLiteral("%1 via %2").arg(host->libraryName(), host->hostName());
        choice.host = host.get();
        choice.instrument = std::move(host);
        return choice;
    }
    if (driverPath.isEmpty()) {
        choice.instrument = std::make_unique<Kx10Simulator>(clock);
        choice.name = QString::fromLatin1(kSimulatedInstrumentName);
        return choice;
    }
    std::unique_ptr<Kx10Library> library = Kx10Library::load(driverPath, &choice.error);
    if (!library) return choice;
    choice.name = QFileInfo(library->fileName()).fileName();
    choice.instrument = std::move(library);
    return choice;
}

void showInstrumentName(QStatusBar& bar, const QString& name) {
    auto* label = bar.findChild<QLabel*>(QStringLiteral("InstrumentName"));
    if (!label) {
        label = new QLabel(&bar);
        label->setObjectName(QStringLiteral("InstrumentName"));
        bar.addPermanentWidget(label);
    }
    label->setText(name);
}

}  // namespace qor
