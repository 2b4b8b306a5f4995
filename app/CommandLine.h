#pragma once
// The program's start options. With none, the program talks to its built-in simulated
// instrument. At the instrument the operator names the driver library with `--driver PATH`, or
// once for the session with the environment variable QOR10_DRIVER=PATH; the option wins over
// the variable.

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

namespace qor {

extern const char* const kDriverEnvironmentVariable;   // "QOR10_DRIVER"
extern const char* const kProgramVersion;               // "0.10", the version of the caption

class CommandLine {
public:
    CommandLine();

    // Parses the arguments (program name first) and the value of QOR10_DRIVER (empty when
    // unset). False on an unknown option or a missing value; errorText() says which.
    bool parse(const QStringList& arguments, const QString& driverEnvironment);

    bool helpRequested() const { return help_; }
    bool versionRequested() const { return version_; }
    // The driver library to load; empty for the simulated instrument.
    QString driverPath() const { return driverPath_; }
    QString errorText() const { return parser_.errorText(); }
    // The usage text that --help prints.
    QString helpText() const { return parser_.helpText(); }
    // The text that --version prints.
    QString versionText() const;

private:
    QCommandLineParser parser_;
    QCommandLineOption driver_;
    QCommandLineOption helpOption_;
    QCommandLineOption versionOption_;
    bool help_ = false;
    bool version_ = false;
    QString driverPath_;
};

}  // namespace qor
