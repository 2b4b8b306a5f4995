#pragma once
// The program's start options. With none, the program talks to its built-in simulated
// instrument. At the instrument the operator names the driver library with `--driver PATH`, or
// once for the session with the environment variable QOR10_DRIVER=PATH; the option wins over
// the variable. `--driver-host PATH` (or QOR10_DRIVER_HOST=PATH) has the driver library served
// by the driver host program at PATH, in a process of its own.

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

namespace qor {

extern const char* const kDriverEnvironmentVariable;   // "QOR10_DRIVER"
extern const char* const kHostEnvironmentVariable;     // "QOR10_DRIVER_HOST"
extern const char* const kProgramVersion;               // "0.10", the version of the caption

class CommandLine {
public:
    CommandLine();

    // Parses the arguments (program name first) and the values of QOR10_DRIVER and
    // QOR10_DRIVER_HOST (empty when unset). False on an unknown option, a missing value, or a
    // driver host without a driver library; errorText() says which.
    bool parse(const QStringList& arguments, const QString& driverEnvironment,
               const QString& hostEnvironment = QString());

    bool helpRequested() const { return help_; }
    bool versionRequested() const { return version_; }
    // The driver library to load; empty for the simulated instrument.
    QString driverPath() const { return driverPath_; }
    // The driver host program; empty to load the library into the program itself.
    QString hostPath() const { return hostPath_; }
    QString errorText() const { return error_.isEmpty() ? parser_.errorText() : error_; }
    // The usage text that --help prints: the window's options, then those of --analyse.
    QString helpText() const;
    // The text that --version prints.
    QString versionText() const;

private:
    QCommandLineParser parser_;
    QCommandLineOption driver_;
    QCommandLineOption host_;
    QCommandLineOption helpOption_;
    QCommandLineOption versionOption_;
    bool help_ = false;
    bool version_ = false;
    QString driverPath_;
    QString hostPath_;
    QString error_;
};

}  // namespace qor
