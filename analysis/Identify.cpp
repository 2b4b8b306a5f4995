#include "analysis/Identify.h"

#include "analysis/CalibReference.h"
#include "analysis/PeakAnalysis.h"
#include "spectrum/RoiTable.h"
#include "spectrum/SpectrumView.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qor {

namespace {

constexpr double kNoScore = -std::numeric_limits<double>::infinity();
// A line weaker than this share of its family's strongest is not expected to show.
constexpr double kWeakLine = 0.02;
// A family is judged only when a line at least this strong lies inside the range.
constexpr double kMainLine = 0.3;
// A missing line counts against its source when it is expected above this many times the
// weakest peak found.
constexpr double kMissingFactor = 2.0;
// A source is chosen only with at least this significance (in standard deviations).
constexpr double kMinScore = 3.0;
// Weight of a missing line against its source: below 1, since a weak line can also be missed by
// the search that made the peak list.
constexpr double kMissingWeight = 0.5;
// Lines below this energy may be absorbed on their way to the detector: their absence says
// nothing.
constexpr double kAbsorbedKeV = 2.0;
// What is left of a source's score when one of its families is absent from the spectrum.
constexpr double kAbsentFamilyShare = 0.5;
// A chosen source's peak is explained when less than this share of its counts is left over.
constexpr double kLeftOver = 0.3;

struct Work {
    const LineTable& table;
    const std::vector<PeakInput>& peaks;
    const IdentifyOptions& opt;
    std::vector<int> order;        // usable peaks by energy
    std::vector<double> tol;       // per peak
    std::vector<double> remaining; // counts not yet explained, per peak (0: taken or not used)
    std::vector<double> sigma2;    // variance of each peak's net counts (at least 1)
    double weakest = 1.0;
};

// The usable peak nearest to energy e within its tolerance that still has counts (with
// `anyCounts`, also one whose counts are taken); -1 if none.
int nearestPeak(const Work& w, double e, bool anyCounts = false) {
    const auto& P = w.peaks;
    auto it = std::lower_bound(w.order.begin(), w.order.end(), e,
                               [&P](int i, double v) { return P[i].energyKeV < v; });
    int best = -1;
    double bestDist = 0.0;
    auto consider = [&](int i) {
        const double d = std::fabs(P[i].energyKeV - e);
        if (d > w.tol[i] || (!anyCounts && w.remaining[i] <= 0.0)) return;
        if (best < 0 || d < bestDist) {
            best = i;
            bestDist = d;
        }
    };
    // Tolerances are at most maxToleranceKeV, so a few neighbours either side suffice.
    for (auto j = it; j != w.order.end() && P[*j].energyKeV - e <= w.opt.maxToleranceKeV; ++j)
        consider(*j);
    for (auto j = it; j != w.order.begin();) {
        --j;
        if (e - P[*j].energyKeV > w.opt.maxToleranceKeV) break;
        consider(*j);
    }
    return best;
}

// Scratch of one family's judgement (at most this many lines a family).
constexpr int kMaxFamilyLines = 24;
struct FamilyMatch {
    int line[kMaxFamilyLines];
    int peak[kMaxFamilyLines];   // -1 when missing
    int count = 0;
    double scale = 0.0;
};

// Net counts and their variance of a line at energy e with FWHM `fwhmKeV` in the spectrum of the
// options; false without a spectrum or outside it.
bool probeLine(const IdentifyOptions& opt, double e, double fwhmKeV, double& net, double& var) {
    if (!opt.spectrum || opt.channels < 16) return false;
    double ch = 0.0;
    if (!opt.scale.channelOf(e, ch)) return false;
    const double slope = opt.scale.slope(ch);
    if (!(slope > 0.0)) return false;
    const int half = std::max(2, static_cast<int>(std::lround(fwhmKeV / slope)));
    const int c = static_cast<int>(std::lround(ch));
    const int L = c - half, R = c + half;
    if (L - 4 < 2 || R + 4 >= std::min<int32_t>(opt.channels, kSlotChannels)) return false;
    const int32_t* y = opt.spectrum;
    const double bl = (y[L - 1] + y[L - 2] + y[L - 3]) / 3.0;
    const double br = (y[R + 1] + y[R + 2] + y[R + 3]) / 3.0;
    double gross = 0.0, bg = 0.0;
    for (int i = L; i <= R; ++i) {
        gross += y[i];
        bg += bl + (br - bl) * (i - L + 1) / (R - L + 2);
    }
    net = gross - bg;
    var = std::max(1.0, gross + bg * 0.5);
    return true;
}

// True when a listed peak large enough to hide `expected` counts stands within one of its FWHM
// of energy e: a line there sits on that peak's flank, and what the spectrum shows at e is
// that peak's.
bool onPeakFlank(const Work& w, double e, double expected) {
    for (int i : w.order) {
        const double reach = std::max(w.peaks[i].fwhmKeV, w.opt.defaultToleranceKeV);
        if (std::fabs(w.peaks[i].energyKeV - e) <= reach && w.peaks[i].net >= expected) return true;
    }
    return false;
}

bool inRange(const Work& w, const SpectralLine& l) {
    return l.energyKeV >= w.opt.rangeLoKeV && l.energyKeV <= w.opt.rangeHiKeV;
}

// Judges one family of a source: returns its score (kNoScore when it is not judged) and fills
// `m` with its lines and their peaks; `main` is set when a strong line matched.
double judgeFamily(const Work& w, int first, int end, FamilyMatch& m, bool& main) {
    const auto& L = w.table.lines();
    m.count = 0;
    double strongestInRange = 0.0;
    for (int i = first; i < end && m.count < kMaxFamilyLines; ++i) {
        const SpectralLine& l = L[i];
        if (l.relative < kWeakLine || !inRange(w, l)) continue;
        strongestInRange = std::max(strongestInRange, l.relative);
        m.line[m.count] = i;
        m.peak[m.count] = nearestPeak(w, l.energyKeV);
        ++m.count;
    }
    if (strongestInRange < kMainLine) return kNoScore;
    // The scale: the peak of the strongest matched line, over the summed intensity of the
    // family's lines that fall on that same peak.
    int anchor = -1;
    for (int k = 0; k < m.count; ++k)
        if (m.peak[k] >= 0 && (anchor < 0 || L[m.line[k]].relative > L[m.line[anchor]].relative))
            anchor = k;
    if (anchor < 0) return kNoScore;
    auto relOnPeak = [&](int p) {
        double r = 0.0;
        for (int k = 0; k < m.count; ++k)
            if (m.peak[k] == p) r += L[m.line[k]].relative;
        return r;
    };
    const int ap = m.peak[anchor];
    m.scale = w.remaining[ap] / relOnPeak(ap);
    // Counts are weighed by their statistical significance, so that a source confirmed by
    // several lines outranks one resting on a single peak of the same size. The background
    // under the scale's peak stands for the background where a missing line would be.
    const double background = std::max(0.0, w.sigma2[ap] - std::max(0.0, w.peaks[ap].net));
    double score = 0.0;
    for (int k = 0; k < m.count; ++k) {
        const double rel = L[m.line[k]].relative;
        const double expected = m.scale * rel;
        const int p = m.peak[k];
        if (p < 0) {
            if (expected <= kMissingFactor * w.weakest) continue;
            // On a peak (or its flank) another source explains: neither for nor against.
            if (onPeakFlank(w, L[m.line[k]].energyKeV, expected)) continue;
            double net = 0.0, var = 0.0;
            if (probeLine(w.opt, L[m.line[k]].energyKeV, w.peaks[ap].fwhmKeV, net, var)) {
                // Judged on the spectrum: what is there counts as a matched line would.
                net = std::max(0.0, net);
                score += (std::min(net, expected) - 0.5 * std::max(0.0, expected - net)) /
                         std::sqrt(var);
            } else {
                score -= kMissingWeight * expected / std::sqrt(expected + background);
            }
            continue;
        }
        // Each matched peak counts once, for all the family's lines on it.
        bool firstOnPeak = true;
        for (int j = 0; j < k; ++j)
            if (m.peak[j] == p) firstOnPeak = false;
        if (!firstOnPeak) continue;
        const double exp = m.scale * relOnPeak(p);
        const double obs = w.remaining[p];
        score += (std::min(obs, exp) - 0.5 * std::max(0.0, exp - obs)) / std::sqrt(w.sigma2[p]);
        if (rel >= 0.5) main = true;
    }
    return score;
}

// Judges a source over all its families.
double judgeSource(const Work& w, int s, std::vector<FamilyMatch>* keep) {
    const LineSource& src = w.table.sources()[s];
    const auto& L = w.table.lines();
    double total = 0.0;
    bool judged = false, main = false, absentFamily = false;
    const int end = src.firstLine + src.lineCount;
    for (int i = src.firstLine; i < end;) {
        int j = i;
        while (j < end && L[j].family == L[i].family) ++j;
        FamilyMatch m;
        const double f = judgeFamily(w, i, j, m, main);
        if (f != kNoScore) {
            total += f;
            judged = true;
            if (keep) keep->push_back(m);
        } else {
            // A family none of whose lines matched, with a strong line above the absorbed low
            // energies that shows nothing in the spectrum: the source is doubtful (a heavy
            // element's M lines without its L lines).
            for (int k = i; k < j && !absentFamily; ++k) {
                if (L[k].relative < 0.5 || !inRange(w, L[k]) || L[k].energyKeV < kAbsorbedKeV ||
                    onPeakFlank(w, L[k].energyKeV, 0.0))
                    continue;
                double net = 0.0, var = 0.0;
                if (probeLine(w.opt, L[k].energyKeV, 0.15, net, var) && net < 2.0 * std::sqrt(var))
                    absentFamily = true;
            }
        }
        i = j;
    }
    if (absentFamily && total > 0.0) total *= kAbsentFamilyShare;
    return judged && main ? total : kNoScore;
}

std::string lineText(const LineTable& t, const Identification& id, int p) {
    if (p < 0 || p >= static_cast<int>(id.peaks.size())) return std::string();
    const PeakAssignment& a = id.peaks[p];
    if (a.role == PeakRole::Line) return t.lines()[a.line].label;
    return std::string();
}

}  // namespace

Identification identifyPeaks(const LineTable& table, const std::vector<PeakInput>& peaks,
                             const IdentifyOptions& opt) {
    Identification id;
    const int n = static_cast<int>(peaks.size());
    id.peaks.resize(n);
    Work w{table, peaks, opt, {}, {}, {}, {}, 1.0};
    w.tol.assign(n, 0.0);
    w.remaining.assign(n, 0.0);
    w.sigma2.assign(n, 1.0);
    for (int i = 0; i < n; ++i) {
        const PeakInput& p = peaks[i];
        if (!std::isfinite(p.energyKeV) || !std::isfinite(p.net)) continue;
        const double t = p.fwhmKeV > 0.0 && std::isfinite(p.fwhmKeV)
                             ? opt.toleranceShare * p.fwhmKeV
                             : opt.defaultToleranceKeV;
        w.tol[i] = std::clamp(t, opt.minToleranceKeV, opt.maxToleranceKeV);
        const double var = p.error > 0.0 && std::isfinite(p.error) ? p.error * p.error : p.net;
        w.sigma2[i] = std::max(1.0, var);
        w.order.push_back(i);
    }
    std::sort(w.order.begin(), w.order.end(),
              [&peaks](int a, int b) { return peaks[a].energyKeV < peaks[b].energyKeV; });

    // Escape and sum peaks.
    std::vector<int> strongest = w.order;
    std::sort(strongest.begin(), strongest.end(),
              [&peaks](int a, int b) { return peaks[a].net > peaks[b].net; });
    if (static_cast<int>(strongest.size()) > opt.sumParents) strongest.resize(opt.sumParents);
    for (int p : w.order) {
        const double e = peaks[p].energyKeV, net = std::max(peaks[p].net, 0.0);
        PeakAssignment& a = id.peaks[p];
        for (int q : w.order) {
            if (q == p || peaks[q].net * opt.escapeShare <= net) continue;
            if (std::fabs(peaks[q].energyKeV - opt.escapeKeV - e) <= w.tol[p] &&
                (a.role != PeakRole::Escape || peaks[q].net > peaks[a.parentA].net)) {
                a.role = PeakRole::Escape;
                a.parentA = q;
            }
        }
        if (a.role != PeakRole::Unassigned) continue;
        for (size_t i = 0; i < strongest.size() && a.role == PeakRole::Unassigned; ++i)
            for (size_t j = i; j < strongest.size(); ++j) {
                const int qa = strongest[i], qb = strongest[j];
                if (qa == p || qb == p) continue;
                if (std::min(peaks[qa].net, peaks[qb].net) * opt.sumShare <= net) continue;
                if (std::fabs(peaks[qa].energyKeV + peaks[qb].energyKeV - e) <= w.tol[p]) {
                    a.role = PeakRole::Sum;
                    a.parentA = qa;
                    a.parentB = qb;
                    break;
                }
            }
    }
    bool anyUsable = false;
    for (int p : w.order) {
        if (id.peaks[p].role != PeakRole::Unassigned) continue;
        w.remaining[p] = std::max(peaks[p].net, 0.0);
        if (w.remaining[p] <= 0.0) continue;
        w.weakest = anyUsable ? std::min(w.weakest, w.remaining[p]) : w.remaining[p];
        anyUsable = true;
    }

    // Sources best first.
    const int sources = static_cast<int>(table.sources().size());
    std::vector<char> chosen(sources, 0);
    std::vector<FamilyMatch> families;
    while (anyUsable && static_cast<int>(id.ranked.size()) < opt.maxSources) {
        int best = -1;
        double bestScore = 0.0;
        for (int s = 0; s < sources; ++s) {
            if (chosen[s]) continue;
            const double sc = judgeSource(w, s, nullptr);
            if (sc != kNoScore && sc > bestScore) {
                best = s;
                bestScore = sc;
            }
        }
        if (best < 0 || bestScore < kMinScore) break;
        chosen[best] = 1;
        families.clear();
        judgeSource(w, best, &families);
        IdentifiedSource found;
        found.source = best;
        found.score = bestScore;
        for (const FamilyMatch& m : families) {
            for (int k = 0; k < m.count; ++k) {
                const int p = m.peak[k];
                if (p < 0 || w.remaining[p] <= 0.0) continue;
                found.explained.push_back({p, m.line[k]});
                PeakAssignment& a = id.peaks[p];
                if (a.role == PeakRole::Unassigned) {
                    a.role = PeakRole::Line;
                    a.line = m.line[k];
                }
            }
            // Take out what the family explains, once per peak.
            for (int k = 0; k < m.count; ++k) {
                const int p = m.peak[k];
                if (p < 0 || w.remaining[p] <= 0.0) continue;
                double rel = 0.0;
                for (int j = 0; j < m.count; ++j)
                    if (m.peak[j] == p) rel += table.lines()[m.line[j]].relative;
                const double left = w.remaining[p] - m.scale * rel;
                w.remaining[p] = left < kLeftOver * std::max(peaks[p].net, 0.0) ? 0.0 : left;
            }
        }
        id.ranked.push_back(std::move(found));
        bool left = false;
        for (int p : w.order) left = left || w.remaining[p] > 0.0;
        if (!left) break;
    }

    // Texts.
    for (int p = 0; p < n; ++p) {
        PeakAssignment& a = id.peaks[p];
        if (a.role == PeakRole::Line) {
            a.text = table.lines()[a.line].label;
        } else if (a.role == PeakRole::Escape) {
            const std::string parent = lineText(table, id, a.parentA);
            a.text = parent.empty() ? std::string("esc") : parent + " esc";
        } else if (a.role == PeakRole::Sum) {
            std::string pa = lineText(table, id, a.parentA), pb = lineText(table, id, a.parentB);
            if (pa.empty()) pa = "?";
            if (pb.empty()) pb = "?";
            a.text = pa + "+" + pb + " sum";
        }
    }
    return id;
}

void setRangeFromScale(IdentifyOptions& options, const EnergyScale& scale) {
    const int last = std::max(scale.channels - 20, 21);
    options.rangeLoKeV = std::max(1.0, scale.energy(20.0));
    options.rangeHiKeV = scale.energy(last);
}

std::vector<PeakInput> peaksFromSearch(const PeakResults& res, const EnergyScale& scale) {
    std::vector<PeakInput> out;
    const int count = std::clamp(res.PeakCount, 0, kPeakSearchMax);
    for (int i = 0; i < count; ++i) {
        PeakInput p;
        p.channel = res.PeakChannel[i];
        p.energyKeV = scale.energy(p.channel);
        p.fwhmKeV = res.PeakFwhm[i] * std::fabs(scale.slope(p.channel));
        p.net = res.PeakNet[i];
        p.error = res.PeakError[i];
        out.push_back(p);
    }
    return out;
}

void remeasurePeaks(const int32_t* counts, int32_t channels, const EnergyScale& scale,
                    std::vector<PeakInput>& peaks) {
    const int n = std::clamp<int32_t>(channels, 0, kSlotChannels);
    auto y = [&](int i) -> double { return i >= 2 && i < n ? counts[i] : 0.0; };
    auto mean3 = [&](int i) { return (y(i - 1) + y(i) + y(i + 1)) / 3.0; };
    constexpr int kReach = 40;
    for (PeakInput& p : peaks) {
        if (!std::isfinite(p.channel)) continue;
        const int c0 = static_cast<int>(std::lround(p.channel));
        if (c0 < 8 || c0 > n - 8) continue;
        int cp = c0;
        for (int i = c0 - 2; i <= c0 + 2; ++i)
            if (mean3(i) > mean3(cp)) cp = i;
        // The lowest smoothed counts either side stand for the background under the peak.
        double lowL = mean3(cp), lowR = mean3(cp);
        for (int i = std::max(3, cp - kReach); i <= cp - 3; ++i) lowL = std::min(lowL, mean3(i));
        for (int i = cp + 3; i <= std::min(n - 3, cp + kReach); ++i) lowR = std::min(lowR, mean3(i));
        const double base = 0.5 * (lowL + lowR);
        const double half = 0.5 * (mean3(cp) - base);
        if (!(half > 0.0)) continue;
        double xl = cp, xr = cp;
        // Half height either side; a valley before it (a neighbour peak rising) ends the walk.
        const double shoulder = 1.5 * half;
        for (int i = cp; i > cp - kReach && i > 3; --i) {
            if (mean3(i - 1) - base < half) {
                const double a = mean3(i) - base, b = mean3(i - 1) - base;
                xl = i - (a - half) / (a - b);
                break;
            }
            if (mean3(i) - base < shoulder && mean3(i - 2) > mean3(i)) {
                xl = i;
                break;
            }
        }
        for (int i = cp; i < cp + kReach && i < n - 4; ++i) {
            if (mean3(i + 1) - base < half) {
                const double a = mean3(i) - base, b = mean3(i + 1) - base;
                xr = i + (a - half) / (a - b);
                break;
            }
            if (mean3(i) - base < shoulder && mean3(i + 2) > mean3(i)) {
                xr = i;
                break;
            }
        }
        const double fwhm = xr - xl;
        if (!(fwhm > 1.0)) continue;
        const int L = std::max(3, static_cast<int>(std::floor(cp - 1.5 * fwhm)));
        const int R = std::min(n - 4, static_cast<int>(std::ceil(cp + 1.5 * fwhm)));
        if (R - L < 4) continue;
        const double bl = mean3(L), br = mean3(R);
        double net = 0.0, gross = 0.0;
        for (int i = L; i <= R; ++i) {
            net += y(i) - (bl + (br - bl) * (i - L) / (R - L));
            gross += y(i);
        }
        if (!(net > 0.0)) continue;
        p.net = net;
        p.fwhmKeV = fwhm * std::fabs(scale.slope(cp));
        p.error = std::sqrt(std::max(gross, 0.0));
    }
}

std::vector<PeakInput> peaksFromRois(const int32_t* counts, const int32_t* roiStart,
                                     const int32_t* roiEnd, int32_t channels,
                                     const EnergyScale& scale) {
    std::vector<PeakInput> out;
    for (int r = 1; r < kRoiCount; ++r) {
        if (roiEnd[r] == 0) continue;
        const int32_t lo = clampChannel(roiStart[r]), hi = clampChannel(roiEnd[r]);
        if (hi < lo) continue;
        PeakInput p;
        p.channel = calibReferenceChannel(counts, kSlotChannels, lo, hi);
        p.energyKeV = scale.energy(p.channel);
        p.fwhmKeV = (hi - lo + 1) / 3.0 * std::fabs(scale.slope(p.channel));
        const RoiCounts c = roiNetGross(counts, lo, hi, channels);
        p.net = c.net;
        p.error = std::sqrt(std::max<double>(c.gross, 0.0));
        out.push_back(p);
    }
    return out;
}

}  // namespace qor
