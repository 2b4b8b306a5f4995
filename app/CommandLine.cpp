#include "app/CommandLine.h"

#include "analysis/AnalyseCommand.h"

namespace qor {

const char* const kDriverEnvironmentVariable = "QOR10_DRIVER";
const char* const kHostEnvironmentVariable = "QOR10_DRIVER_HOST";
const char* const kProgramVersion = "0.10";

CommandLine::CommandLine()
    : driver_(QStringLiteral("driver"),
              QStringLiteral("Drive the instrument through its driver library at <path> instead "
                             "of the simulated instrument. Also taken from the environment "
                             "variable QOR10_DRIVER; this option wins."),
              QStringLiteral("path")),
      host_(QStringLiteral("driver-host"),
            QStringLiteral("Serve the driver library from the driver host program at <path> "
                           "(kx10host), in a process of its own: for a library of the other "
                           "bitness, or to keep the program running when the library fails. "
                           "Also taken from QOR10_DRIVER_HOST; this option wins."),
            QStringLiteral("path")),
      helpOption_(parser_.addHelpOption()),
      versionOption_(parser_.addVersionOption()) {
    parser_.setApplicationDescription(
        QStringLiteral("QOR-10 / KX-10 operator program. Without options it runs against the "
                       "built-in simulated instrument."));
    parser_.addOption(driver_);
    parser_.addOption(host_);
}

bool CommandLine::parse(const QStringList& arguments, const QString& driverEnvironment,
                        const QString& hostEnvironment) {
    help_ = version_ = false;
    driverPath_.clear();
    hostPath_.clear();
    error_.clear();
    if (!parser_.parse(arguments)) return false;
    help_ = parser_.isSet(helpOption_) || parser_.isSet(QStringLiteral("help-all"));
    version_ = parser_.isSet(versionOption_);
    driverPath_ = parser_.isSet(driver_) ? parser_.value(driver_) : driverEnvironment;
    hostPath_ = parser_.isSet(host_) ? parser_.value(host_) : hostEnvironment;
    if (!hostPath_.isEmpty() && driverPath_.isEmpty() && !help_ && !version_) {
        error_ = QStringLiteral("The driver host %1 needs the driver library it is to serve: "
                                "--driver <path> or QOR10_DRIVER")
                     .arg(hostPath_);
        return false;
    }
    return true;
}

QString CommandLine::helpText() const {
    // The analysis runs without a window and has options of its own (parsed apart, so that they
    // are refused without --analyse).
    // The parser names the program from the running application, which does not exist yet when
    // the options are read (so that --help needs no display): it is named here.
    QString text = parser_.helpText();
    text.replace(QStringLiteral("<executable_name>"), QStringLiteral("qor10"));
    return text + QStringLiteral("\nSpectrum analysis without a window:\n") + analyseUsage();
}

QString CommandLine::versionText() const {
    return QStringLiteral("qor10 %1").arg(QString::fromLatin1(kProgramVersion));
}

}  // namespace qor
