#include "app/CommandLine.h"

namespace qor {

const char* const kDriverEnvironmentVariable = "QOR10_DRIVER";
const char* const kProgramVersion = "0.10";

CommandLine::CommandLine()
    : driver_(QStringLiteral("driver"),
              QStringLiteral("Drive the instrument through its driver library at <path> instead "
                             "of the simulated instrument. Also taken from the environment "
                             "variable QOR10_DRIVER; this option wins."),
              QStringLiteral("path")),
      helpOption_(parser_.addHelpOption()),
      versionOption_(parser_.addVersionOption()) {
    parser_.setApplicationDescription(
        QStringLiteral("QOR-10 / KX-10 operator program. Without options it runs against the "
                       "built-in simulated instrument."));
    parser_.addOption(driver_);
}

bool CommandLine::parse(const QStringList& arguments, const QString& driverEnvironment) {
    help_ = version_ = false;
    driverPath_.clear();
    if (!parser_.parse(arguments)) return false;
    help_ = parser_.isSet(helpOption_) || parser_.isSet(QStringLiteral("help-all"));
    version_ = parser_.isSet(versionOption_);
    driverPath_ = parser_.isSet(driver_) ? parser_.value(driver_) : driverEnvironment;
    return true;
}

QString CommandLine::versionText() const {
    return QStringLiteral("qor10 %1").arg(QString::fromLatin1(kProgramVersion));
}

}  // namespace qor
