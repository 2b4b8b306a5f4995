// The operator program: the main window against the simulated instrument.

#include "app/QtPrinting.h"
#include "app/QtServices.h"
#include "app/TForm9.h"
#include "sim/Kx10Simulator.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <clocale>
#include <exception>

namespace {

// Shows an error raised inside an event handler and lets the message loop go on.
class Application : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            QMessageBox::critical(nullptr, QStringLiteral("QOR-10"), QString::fromLocal8Bit(e.what()));
        } catch (...) {
            QMessageBox::critical(nullptr, QStringLiteral("QOR-10"), QStringLiteral("Unknown error"));
        }
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    Application app(argc, argv);
    // Numbers in boxes and files use the "." decimal point whatever the desktop locale says.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationDisplayName(QStringLiteral("QOR-10"));
    try {
        const QString startDir = QDir::currentPath();
        qor::QtAlerts alerts;
        qor::QtSounds sounds(startDir);
        qor::QtDialogs dialogs;
        qor::SteadyClock clock;
        qor::QtPrinting printing;
        qor::Services services{alerts, sounds, dialogs, clock, printing};
        qor::Kx10Simulator instrument(clock);
        qor::TForm9 form(services, instrument, startDir);
        alerts.setWindow(&form, form.StatusBar1);
        dialogs.setParent(&form);
        printing.setParent(&form);
        form.createDialogs();
        form.show();
        return app.exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QStringLiteral("QOR-10"), QString::fromLocal8Bit(e.what()));
    }
    return 1;
}
