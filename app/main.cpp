// The operator program: the main window against the simulated instrument, or against the
// instrument's driver library named with --driver PATH or QOR10_DRIVER=PATH, loaded into the
// program or served by the driver host named with --driver-host PATH or QOR10_DRIVER_HOST=PATH.

#include "analysis/AnalyseCommand.h"
#include "app/CommandLine.h"
#include "app/InfoFile.h"
#include "app/InstrumentChoice.h"
#include "app/ProgramSettings.h"
#include "app/QtPrinting.h"
#include "app/QtServices.h"
#include "app/TForm9.h"
#include "instrument/Kx10Host.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QProcessEnvironment>
#include <clocale>
#include <cstdio>
#include <exception>
#include <memory>

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

void print(FILE* to, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), to);
    if (!text.endsWith(QLatin1Char('\n'))) std::fputc('\n', to);
    std::fflush(to);
}

}  // namespace

// The spectrum analysis of the command line: no window, no display.
int analyse(int argc, char** argv) {
    QCoreApplication core(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    qor::AnalyseOptions options;
    QString error;
    if (!qor::parseAnalyseArguments(QCoreApplication::arguments(), options, error)) {
        print(stderr, QStringLiteral("qor10: ") + error);
        print(stderr, qor::analyseUsage());
        return 2;
    }
    const QString infoPath = qor::buildInfoFilePath(QDir::currentPath());
    auto settings = std::make_unique<qor::InfoRecord>();
    if (qor::loadInfoFile(infoPath, *settings) != qor::InfoLoad::Loaded) {
        *settings = qor::InfoRecord{};
        qor::setCreationDefaults(*settings, "");
    }
    // The search chosen in the window, from the settings file beside the information file.
    qor::ProgramSettings programSettings;
    if (QString why; !programSettings.load(qor::ProgramSettings::pathBeside(infoPath), &why))
        print(stderr, QStringLiteral("qor10: cannot read the settings file, defaults apply: ") + why);
    const qor::AnalyseOutcome out =
        qor::runAnalyse(options, *settings, qor::FitSearchSettings::read(programSettings));
    std::fwrite(out.out.data(), 1, out.out.size(), stdout);
    std::fwrite(out.err.data(), 1, out.err.size(), stderr);
    std::fflush(stdout);
    return out.exitCode;
}

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    if (qor::wantsAnalyse(arguments)) return analyse(argc, argv);

    // The options are read before the window's application starts, so that --help, --version
    // and a refused option need no display.
    qor::CommandLine options;
    const QString driverEnvironment = QProcessEnvironment::systemEnvironment().value(
        QString::fromLatin1(qor::kDriverEnvironmentVariable));
    const QString hostEnvironment = QProcessEnvironment::systemEnvironment().value(
        QString::fromLatin1(qor::kHostEnvironmentVariable));
    if (!options.parse(arguments, driverEnvironment, hostEnvironment)) {
        print(stderr, options.errorText());
        print(stderr, options.helpText());
        return 2;
    }
    if (options.helpRequested()) {
        print(stdout, options.helpText());
        return 0;
    }
    if (options.versionRequested()) {
        print(stdout, options.versionText());
        return 0;
    }

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
        // A driver library that cannot be bound whole is refused before any window opens.
        qor::InstrumentChoice choice =
            qor::chooseInstrument(options.driverPath(), options.hostPath(), clock);
        if (!choice.instrument) {
            print(stderr, choice.error);
            QMessageBox::critical(nullptr, QStringLiteral("QOR-10"), choice.error);
            return 1;
        }
        qor::TForm9 form(services, *choice.instrument, startDir);
        alerts.setWindow(&form, form.StatusBar1);
        qor::showInstrumentName(*form.StatusBar1, choice.name);
        if (choice.host)
            choice.host->setLossHandler([&form](const QString& what) { form.instrumentLost(what); });
        dialogs.setParent(&form);
        printing.setParent(&form);
        form.createDialogs();
        form.show();
        const int status = app.exec();
        if (choice.host) choice.host->setLossHandler(nullptr);
        return status;
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QStringLiteral("QOR-10"), QString::fromLocal8Bit(e.what()));
    }
    return 1;
}
