#pragma once
// Spectrum analysis from the command line, without a window:
//   qor10 --analyse FILE [--search fit|standard] [--filter N] [--sigma S] [--fwhm W]
//                        [--calibration a,b[,c[,d]]] [--json]
// reads a DAT or CSV spectrum file into MCA1 of a scratch state, runs "自" (the standard or the
// fitting search, with the information file's settings or the options given), identifies the
// peaks against the X-ray table as the window does when there is a calibration, and prints one
// line per peak as tab-separated text or as JSON.

#include "analysis/FitSearchSettings.h"
#include "app/InfoRecord.h"

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace qor {

struct AnalyseOptions {
    QString file;
    bool json = false;
    int search = -1;                 // 0 standard, 1 fitting search; -1: the settings file's
    int filter = -1;                 // DerivFilterIndex 0..6; -1: the information file's
    int sigma = -1;                  // SigmaIndex 0..7 (from the factor typed); -1: the file's
    int fwhm = -1;                   // ExpectedFwhm in channels; -1: the file's
    std::vector<double> calibration; // a, b[, c[, d]]; empty: the file's MCA1 calibration
};

// True when the arguments (program name first) ask for the analysis.
bool wantsAnalyse(const QStringList& arguments);
// Parses the arguments of an analysis; false with `error` set on a bad or missing value.
bool parseAnalyseArguments(const QStringList& arguments, AnalyseOptions& out, QString& error);
// The usage text of the analysis options.
QString analyseUsage();

struct AnalyseOutcome {
    int exitCode = 0;       // 0 done; 1 the file could not be read or holds no spectrum
    std::string out;        // what goes to standard output (UTF-8)
    std::string err;        // what goes to standard error (UTF-8)
};

// Runs the analysis of options.file with the settings of `settings` (the information record) and
// `fit` (the search chosen in the program's settings file and the fitting search's choices).
AnalyseOutcome runAnalyse(const AnalyseOptions& options, const InfoRecord& settings,
                          const FitSearchSettings& fit = FitSearchSettings{});

}  // namespace qor
