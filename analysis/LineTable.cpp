#include "analysis/LineTable.h"

#include <xraylib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace qor {

namespace {

// Calls a data-library function with its error slot; false (and the error freed) when it fails
// or gives no positive value.
template <typename F>
bool query(F f, double& out) {
    xrl_error* err = nullptr;
    const double v = f(&err);
    if (err) {
        xrl_error_free(err);
        return false;
    }
    if (!(v > 0.0) || !std::isfinite(v)) return false;
    out = v;
    return true;
}

// Transitions a detector cannot separate, merged into one line.
struct Group {
    LineFamily family;
    const char* name;
    int codes[4];   // 0 ends the list
};

const Group kGroups[] = {
    {LineFamily::K, "Kα", {KL2_LINE, KL3_LINE, 0, 0}},
    {LineFamily::K, "Kβ", {KM2_LINE, KM3_LINE, KM4_LINE, KM5_LINE}},
    {LineFamily::K, "Kβ2", {KN2_LINE, KN3_LINE, 0, 0}},
    {LineFamily::L, "Lα", {L3M4_LINE, L3M5_LINE, 0, 0}},
    {LineFamily::L, "Lβ1", {L2M4_LINE, 0, 0, 0}},
    {LineFamily::L, "Lβ2", {L3N4_LINE, L3N5_LINE, 0, 0}},
    {LineFamily::L, "Lβ3", {L1M3_LINE, 0, 0, 0}},
    {LineFamily::L, "Lβ4", {L1M2_LINE, 0, 0, 0}},
    {LineFamily::L, "Lγ1", {L2N4_LINE, 0, 0, 0}},
    {LineFamily::L, "Lγ3", {L1N2_LINE, L1N3_LINE, 0, 0}},
    {LineFamily::L, "Ll", {L3M1_LINE, 0, 0, 0}},
    {LineFamily::L, "Lη", {L2M1_LINE, 0, 0, 0}},
    {LineFamily::M, "Mα", {M5N6_LINE, M5N7_LINE, 0, 0}},
    {LineFamily::M, "Mβ", {M4N6_LINE, 0, 0, 0}},
    {LineFamily::M, "Mγ", {M3N5_LINE, 0, 0, 0}},
};

// The group of a transition code; nullptr for one outside every group.
const Group* groupOf(int code) {
    for (const Group& g : kGroups)
        for (int c : g.codes)
            if (c != 0 && c == code) return &g;
    return nullptr;
}

// Excitation energy for the relative intensities of a family: just above its highest edge.
bool familyExcitation(int Z, LineFamily f, double& e) {
    const int shell = f == LineFamily::K ? K_SHELL : f == LineFamily::L ? L1_SHELL : M1_SHELL;
    double edge = 0.0;
    if (!query([&](xrl_error** er) { return EdgeEnergy(Z, shell, er); }, edge)) return false;
    e = edge * 1.1;
    return true;
}

struct Merged {
    double weight = 0.0;
    double weightedEnergy = 0.0;
};

// Sorts a source's lines family by family, strongest first, and turns their raw weights (held
// in `relative`) into shares of the family's strongest line.
void finishSource(std::vector<SpectralLine>& lines) {
    std::stable_sort(lines.begin(), lines.end(), [](const SpectralLine& a, const SpectralLine& b) {
        if (a.family != b.family) return a.family < b.family;
        return a.relative > b.relative;
    });
    double top[5] = {};
    for (const SpectralLine& l : lines) {
        double& t = top[static_cast<int>(l.family)];
        t = std::max(t, l.relative);
    }
    for (SpectralLine& l : lines) {
        const double t = top[static_cast<int>(l.family)];
        l.relative = t > 0.0 ? l.relative / t : 0.0;
    }
}

LineTable buildXray() {
    std::vector<LineSource> sources;
    std::vector<SpectralLine> lines;
    for (int Z = 11; Z <= 92; ++Z) {
        LineSource src;
        src.name = elementSymbol(Z);
        src.Z = Z;
        src.firstLine = static_cast<int>(lines.size());
        const int index = static_cast<int>(sources.size());
        for (SpectralLine& l : elementLinesFromLibrary(Z)) {
            l.source = index;
            lines.push_back(std::move(l));
        }
        src.lineCount = static_cast<int>(lines.size()) - src.firstLine;
        sources.push_back(src);
    }
    return LineTable(TableKind::Xray, std::move(sources), std::move(lines));
}

std::string gammaLabel(const std::string& nuclide, double e) {
    char buf[32];
    std::snprintf(buf, sizeof buf, " γ %.2f", e);
    return nuclide + buf;
}

LineTable buildGamma() {
    std::vector<LineSource> sources;
    std::vector<SpectralLine> lines;
    int count = 0;
    xrl_error* err = nullptr;
    char** names = GetRadioNuclideDataList(&count, &err);
    if (err) {
        xrl_error_free(err);
        names = nullptr;
        count = 0;
    }
    for (int i = 0; i < count; ++i) {
        err = nullptr;
        radioNuclideData* d = GetRadioNuclideDataByIndex(i, &err);
        if (err) {
            xrl_error_free(err);
            continue;
        }
        if (!d) continue;
        LineSource src;
        src.name = d->name ? d->name : "";
        src.Z = d->Z;
        src.firstLine = static_cast<int>(lines.size());
        const int index = static_cast<int>(sources.size());
        const std::string xSymbol = elementSymbol(d->Z_xray);
        std::vector<SpectralLine> mine;
        // X lines, merged into the groups a detector resolves.
        std::map<const Group*, Merged> merged;
        for (int k = 0; k < d->nXrays; ++k) {
            const Group* g = groupOf(d->XrayLines[k]);
            double e = 0.0;
            if (!g || !query([&](xrl_error** er) { return LineEnergy(d->Z_xray, d->XrayLines[k], er); }, e))
                continue;
            const double w = d->XrayIntensities[k];
            if (!(w > 0.0)) continue;
            merged[g].weight += w;
            merged[g].weightedEnergy += w * e;
        }
        for (const Group& g : kGroups) {
            auto it = merged.find(&g);
            if (it == merged.end()) continue;
            SpectralLine l;
            l.source = index;
            l.family = LineFamily::X;
            l.name = g.name;
            l.label = src.name + " " + xSymbol + " " + g.name;
            l.energyKeV = it->second.weightedEnergy / it->second.weight;
            l.relative = it->second.weight;
            l.perDecay = it->second.weight;
            mine.push_back(l);
        }
        for (int k = 0; k < d->nGammas; ++k) {
            const double e = d->GammaEnergies[k], w = d->GammaIntensities[k];
            if (!(e > 0.0) || !(w > 0.0)) continue;
            SpectralLine l;
            l.source = index;
            l.family = LineFamily::Gamma;
            l.name = "γ";
            l.label = gammaLabel(src.name, e);
            l.energyKeV = e;
            l.relative = w;
            l.perDecay = w;
            mine.push_back(l);
        }
        FreeRadioNuclideData(d);
        finishSource(mine);
        for (SpectralLine& l : mine) lines.push_back(l);
        src.lineCount = static_cast<int>(lines.size()) - src.firstLine;
        sources.push_back(src);
    }
    if (names) {
        for (int i = 0; i < count; ++i) xrlFree(names[i]);
        xrlFree(names);
    }
    return LineTable(TableKind::Gamma, std::move(sources), std::move(lines));
}

}  // namespace

std::vector<SpectralLine> elementLinesFromLibrary(int Z) {
    std::vector<SpectralLine> mine;
    const std::string symbol = elementSymbol(Z);
    if (symbol.empty()) return mine;
    for (LineFamily fam : {LineFamily::K, LineFamily::L, LineFamily::M}) {
        double excitation = 0.0;
        if (!familyExcitation(Z, fam, excitation)) continue;
        for (const Group& g : kGroups) {
            if (g.family != fam) continue;
            Merged m;
            for (int code : g.codes) {
                if (code == 0) break;
                double e = 0.0, w = 0.0;
                if (!query([&](xrl_error** er) { return LineEnergy(Z, code, er); }, e)) continue;
                if (!query([&](xrl_error** er) { return CS_FluorLine_Kissel(Z, code, excitation, er); }, w))
                    continue;
                m.weight += w;
                m.weightedEnergy += w * e;
            }
            if (m.weight <= 0.0) continue;
            SpectralLine l;
            l.family = fam;
            l.name = g.name;
            l.label = symbol + " " + g.name;
            l.energyKeV = m.weightedEnergy / m.weight;
            l.relative = m.weight;   // raw weight until finishSource
            mine.push_back(l);
        }
    }
    finishSource(mine);
    std::vector<SpectralLine> out;
    for (SpectralLine& l : mine)
        if (l.relative >= 0.01) out.push_back(std::move(l));
    return out;
}

const char* familyName(LineFamily f) {
    switch (f) {
        case LineFamily::K: return "K";
        case LineFamily::L: return "L";
        case LineFamily::M: return "M";
        case LineFamily::X: return "X";
        case LineFamily::Gamma: return "γ";
    }
    return "";
}

std::string elementSymbol(int Z) {
    xrl_error* err = nullptr;
    char* s = AtomicNumberToSymbol(Z, &err);
    if (err) {
        xrl_error_free(err);
        return std::string();
    }
    std::string out = s ? s : "";
    if (s) xrlFree(s);
    return out;
}

LineTable::LineTable(TableKind kind, std::vector<LineSource> sources,
                     std::vector<SpectralLine> lines)
    : kind_(kind), sources_(std::move(sources)), lines_(std::move(lines)) {
    byEnergy_.resize(lines_.size());
    for (size_t i = 0; i < lines_.size(); ++i) byEnergy_[i] = static_cast<int>(i);
    std::sort(byEnergy_.begin(), byEnergy_.end(),
              [this](int a, int b) { return lines_[a].energyKeV < lines_[b].energyKeV; });
}

const LineTable& LineTable::xray() {
    static const LineTable table = buildXray();
    return table;
}

const LineTable& LineTable::gamma() {
    static const LineTable table = buildGamma();
    return table;
}

int LineTable::findSource(const std::string& name) const {
    for (size_t i = 0; i < sources_.size(); ++i)
        if (sources_[i].name == name) return static_cast<int>(i);
    return -1;
}

std::vector<SpectralLine> LineTable::linesOf(int source) const {
    std::vector<SpectralLine> out;
    if (source < 0 || source >= static_cast<int>(sources_.size())) return out;
    const LineSource& s = sources_[source];
    out.assign(lines_.begin() + s.firstLine, lines_.begin() + s.firstLine + s.lineCount);
    return out;
}

std::vector<SpectralLine> LineTable::linesOf(int source, LineFamily f) const {
    std::vector<SpectralLine> out;
    for (SpectralLine& l : linesOf(source))
        if (l.family == f) out.push_back(std::move(l));
    return out;
}

std::vector<SpectralLine> LineTable::linesNear(double energyKeV, double toleranceKeV) const {
    std::vector<SpectralLine> out;
    if (!(toleranceKeV >= 0.0) || !std::isfinite(energyKeV)) return out;
    auto lo = std::lower_bound(byEnergy_.begin(), byEnergy_.end(), energyKeV - toleranceKeV,
                               [this](int i, double e) { return lines_[i].energyKeV < e; });
    for (auto it = lo; it != byEnergy_.end(); ++it) {
        const SpectralLine& l = lines_[*it];
        if (l.energyKeV > energyKeV + toleranceKeV) break;
        out.push_back(l);
    }
    std::stable_sort(out.begin(), out.end(), [energyKeV](const SpectralLine& a, const SpectralLine& b) {
        return std::fabs(a.energyKeV - energyKeV) < std::fabs(b.energyKeV - energyKeV);
    });
    return out;
}

}  // namespace qor
