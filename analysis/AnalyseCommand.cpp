#include "analysis/AnalyseCommand.h"

#include "analysis/FitPeakCommands.h"
#include "analysis/LineState.h"
#include "analysis/LineTable.h"
#include "analysis/PeakAnalysis.h"
#include "analysis/SlotIdentify.h"
#include "spectrum/SpectrumFiles.h"
#include "spectrum/SpectrumState.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <cstdio>
#include <memory>

namespace qor {

namespace {

constexpr qint64 kMaxFileBytes = 4 << 20;

std::string fmt(const char* f, double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, f, v);
    return buf;
}

std::string jsonString(const std::string& s) {
    std::string o = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            o += '\\';
            o += static_cast<char>(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            o += buf;
        } else {
            o += static_cast<char>(c);
        }
    }
    return o + "\"";
}

struct Spectrum {
    int32_t data[kSlotChannels] = {};
    int32_t channels = 0;
};

// Reads a DAT file (by its extension, or any file that is not CSV text) or a CSV file.
bool readSpectrumFile(const QString& path, Spectrum& sp, std::string& error) {
    QFile f(path);
    if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly)) {
        error = "cannot read " + path.toStdString() + ": " +
                (QFileInfo::exists(path) ? "the file cannot be opened" : "no such file");
        return false;
    }
    const QByteArray bytes = f.read(kMaxFileBytes + 1);
    if (bytes.size() > kMaxFileBytes) {
        error = "cannot read " + path.toStdString() + ": the file is too large for a spectrum";
        return false;
    }
    const bool csv = path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
    if (!csv) {
        auto dat = std::make_unique<DatFile>();
        std::string why;
        if (!readDat(reinterpret_cast<const uint8_t*>(bytes.constData()),
                     static_cast<std::size_t>(bytes.size()), *dat, why)) {
            error = "cannot read " + path.toStdString() + ": " + why;
            return false;
        }
        std::copy(dat->data, dat->data + kSlotChannels, sp.data);
        sp.channels = dat->channels;
    } else {
        CsvReadInfo info;
        readCsv(bytes.constData(), static_cast<std::size_t>(bytes.size()), kSlotChannels, sp.data,
                info);
        sp.channels = info.stored;
    }
    if (sp.channels < 64 || sp.channels > kSlotChannels) {
        error = "cannot read " + path.toStdString() + ": it holds no spectrum (" +
                std::to_string(sp.channels) + " channels)";
        return false;
    }
    return true;
}

}  // namespace

bool wantsAnalyse(const QStringList& arguments) {
    for (const QString& a : arguments)
        if (a == QLatin1String("--analyse") || a.startsWith(QLatin1String("--analyse=")))
            return true;
    return false;
}

QString analyseUsage() {
    return QStringLiteral(
        "Usage: qor10 --analyse FILE [--search fit|standard] [--filter N] [--sigma S] [--fwhm W]\n"
        "             [--calibration a,b[,c[,d]]] [--json]\n"
        "  FILE             a spectrum file (.DAT binary, or .CSV text)\n"
        "  --search         fit: the fitting peak search; standard: the derivative-filter search\n"
        "                   (default: the choice in QOR10Settings.ini, else standard)\n"
        "  --filter N       peak search filter 0..6 (the parameter dialog's choices, top to bottom)\n"
        "  --sigma S        significance: 1.5, 2.0, ... 5.0\n"
        "  --fwhm W         expected FWHM in channels (the fitting search's start width)\n"
        "  --calibration    energy = a + b x [+ c x^2 [+ d x^3]], x the channel\n"
        "  --json           JSON instead of tab-separated lines\n"
        "Without an option the settings of QOR10MappingV010.inf and QOR10Settings.ini in the\n"
        "current folder apply.\n");
}

bool parseAnalyseArguments(const QStringList& arguments, AnalyseOptions& out, QString& error) {
    QCommandLineParser p;
    p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    QCommandLineOption analyse(QStringLiteral("analyse"), QString(), QStringLiteral("file"));
    QCommandLineOption filter(QStringLiteral("filter"), QString(), QStringLiteral("n"));
    QCommandLineOption sigma(QStringLiteral("sigma"), QString(), QStringLiteral("s"));
    QCommandLineOption fwhm(QStringLiteral("fwhm"), QString(), QStringLiteral("w"));
    QCommandLineOption calib(QStringLiteral("calibration"), QString(), QStringLiteral("a,b"));
    QCommandLineOption json(QStringLiteral("json"));
    QCommandLineOption search(QStringLiteral("search"), QString(), QStringLiteral("kind"));
    p.addOptions({analyse, filter, sigma, fwhm, calib, json, search});
    if (!p.parse(arguments)) {
        error = p.errorText();
        return false;
    }
    if (!p.positionalArguments().isEmpty()) {
        error = QStringLiteral("unexpected argument: ") + p.positionalArguments().first();
        return false;
    }
    out = AnalyseOptions{};
    out.file = p.value(analyse);
    if (out.file.isEmpty()) {
        error = QStringLiteral("--analyse needs a spectrum file");
        return false;
    }
    out.json = p.isSet(json);
    if (p.isSet(search)) {
        const QString v = p.value(search);
        if (v != QLatin1String("fit") && v != QLatin1String("standard")) {
            error = QStringLiteral("--search takes fit or standard, not ") + v;
            return false;
        }
        out.search = v == QLatin1String("fit") ? 1 : 0;
    }
    bool ok = true;
    if (p.isSet(filter)) {
        out.filter = p.value(filter).toInt(&ok);
        if (!ok || out.filter < 0 || out.filter > 6) {
            error = QStringLiteral("--filter takes 0..6, not ") + p.value(filter);
            return false;
        }
    }
    if (p.isSet(sigma)) {
        const double v = p.value(sigma).toDouble(&ok);
        const double steps = (v - 1.5) / 0.5;
        if (!ok || steps < -1e-9 || steps > 7 + 1e-9 || std::fabs(steps - std::round(steps)) > 1e-9) {
            error = QStringLiteral("--sigma takes 1.5, 2.0, ... 5.0, not ") + p.value(sigma);
            return false;
        }
        out.sigma = static_cast<int>(std::lround(steps));
    }
    if (p.isSet(fwhm)) {
        out.fwhm = p.value(fwhm).toInt(&ok);
        if (!ok || out.fwhm < 0 || out.fwhm > 1000) {
            error = QStringLiteral("--fwhm takes a channel count 0..1000, not ") + p.value(fwhm);
            return false;
        }
    }
    if (p.isSet(calib)) {
        const QStringList parts = p.value(calib).split(QLatin1Char(','));
        for (const QString& s : parts) {
            const double v = s.trimmed().toDouble(&ok);
            if (!ok || !std::isfinite(v)) break;
            out.calibration.push_back(v);
        }
        if (!ok || parts.size() < 2 || parts.size() > 4) {
            error = QStringLiteral("--calibration takes a,b or a,b,c or a,b,c,d, not ") +
                    p.value(calib);
            return false;
        }
    }
    return true;
}

AnalyseOutcome runAnalyse(const AnalyseOptions& options, const InfoRecord& settings,
                          const FitSearchSettings& fit) {
    AnalyseOutcome o;
    auto loaded = std::make_unique<Spectrum>();
    std::string error;
    if (!readSpectrumFile(options.file, *loaded, error)) {
        o.exitCode = 1;
        o.err = "qor10: " + error + "\n";
        return o;
    }
    // The spectrum goes into MCA1 of a scratch state, so that the search and the identification
    // are the window's own "自" with MCA1 shown.
    constexpr int s = 0;
    auto rec = std::make_unique<InfoRecord>(settings);
    auto sp = std::make_unique<SpectrumState>();
    std::copy(loaded->data, loaded->data + kSlotChannels, sp->slot[s]);
    rec->SlotViewChannels[s] = loaded->channels;
    if (options.filter >= 0) rec->DerivFilterIndex = options.filter;
    if (options.sigma >= 0) rec->SigmaIndex = options.sigma;
    if (options.fwhm >= 0) rec->ExpectedFwhm = options.fwhm;
    if (!options.calibration.empty()) {
        const auto& c = options.calibration;
        rec->CalibA[s] = c[0];
        rec->CalibB[s] = c[1];
        rec->CalibC[s] = c.size() > 2 ? c[2] : 0.0;
        rec->CalibD[s] = c.size() > 3 ? c[3] : 0.0;
        rec->CalibOrder[s] = static_cast<int32_t>(c.size()) - 2;
    }

    auto res = std::make_unique<PeakResults>();
    const bool useFit = options.search >= 0 ? options.search == 1 : fit.fit;
    int32_t count = 0;
    if (useFit) {
        count = autoFitSearch(*res, *rec, *sp, fit, s);
    } else {
        auto engine = std::make_unique<CMerinCalcc>();
        count = autoPeakSearch(*engine, *res, *rec, *sp, s);
    }
    auto lines = std::make_unique<LineState>();
    const bool calibrated =
        identifySlot(*lines, *res, *rec, *sp, s, PeakSource::Search);
    const EnergyScale scale = EnergyScale::ofSlot(*rec, s);
    const Identification& id = lines->result;
    auto lineOf = [&](int i) -> std::string {
        if (!calibrated || i >= static_cast<int>(id.peaks.size()) || id.peaks[i].text.empty())
            return "undef";
        return id.peaks[i].text;
    };

    if (!options.json) {
        o.out = "channel\tenergy\tfwhm\tnet\tbackground\terror\tline\n";
        for (int i = 0; i < count; ++i) {
            o.out += fmt("%.2f", res->PeakChannel[i]) + "\t" +
                     (calibrated ? fmt("%.4f", scale.energy(res->PeakChannel[i])) : "-") + "\t" +
                     fmt("%.2f", res->PeakFwhm[i]) + "\t" + fmt("%.2f", res->PeakNet[i]) + "\t" +
                     fmt("%.2f", res->PeakBackground[i]) + "\t" + fmt("%.2f", res->PeakError[i]) +
                     "\t" + lineOf(i) + "\n";
        }
        return o;
    }
    o.out = "{\"file\": " + jsonString(options.file.toStdString()) +
            ", \"channels\": " + std::to_string(loaded->channels) + ", \"calibration\": ";
    if (calibrated)
        o.out += "[" + fmt("%.10g", scale.a) + ", " + fmt("%.10g", scale.b) + ", " +
                 fmt("%.10g", scale.c) + ", " + fmt("%.10g", scale.d) + "]";
    else
        o.out += "null";
    o.out += ",\n \"peaks\": [";
    for (int i = 0; i < count; ++i) {
        o.out += i ? ",\n  " : "\n  ";
        o.out += "{\"channel\": " + fmt("%.2f", res->PeakChannel[i]) + ", \"energy\": " +
                 (calibrated ? fmt("%.4f", scale.energy(res->PeakChannel[i])) : "null") +
                 ", \"fwhm\": " + fmt("%.2f", res->PeakFwhm[i]) + ", \"net\": " +
                 fmt("%.2f", res->PeakNet[i]) + ", \"background\": " +
                 fmt("%.2f", res->PeakBackground[i]) + ", \"error\": " +
                 fmt("%.2f", res->PeakError[i]) + ", \"line\": " + jsonString(lineOf(i)) + "}";
    }
    o.out += "],\n \"elements\": [";
    const LineTable* table = calibrated ? &LineTable::xray() : nullptr;
    for (size_t k = 0; k < id.ranked.size(); ++k) {
        const IdentifiedSource& s = id.ranked[k];
        o.out += k ? ", " : "";
        o.out += "{\"name\": " + jsonString(table->sources()[s.source].name) + ", \"lines\": [";
        for (size_t j = 0; j < s.explained.size(); ++j)
            o.out += (j ? ", " : "") + jsonString(table->lines()[s.explained[j].line].label);
        o.out += "]}";
    }
    o.out += "]}\n";
    return o;
}

}  // namespace qor
