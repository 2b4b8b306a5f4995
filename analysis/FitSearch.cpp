#include "analysis/FitSearch.h"

#include "analysis/SnipBackground.h"

#include <algorithm>
#include <cmath>

namespace qor {

namespace {

constexpr double kSnipWidth = 2.5;          // clipping width, FWHM
constexpr double kFilterWidth = 1.0;        // filter Gaussian over the peak's
constexpr double kGroupDistance = 3.0;      // candidates closer than this many FWHM are fitted together
constexpr double kFitMargin = 3.0;          // channels fitted beyond a group's outer peaks, FWHM
constexpr double kCandidateMargin = 1.0;    // candidate threshold below the significance
constexpr double kRoiHalfWidth = 1.5;       // ROI half-width, FWHM
constexpr double kCurveScatter = 0.06;      // widths within 6 % of the curve: tied to it exactly
constexpr double kWidestScale = 3.5;        // a fitted width over the curve's: beyond is no peak
constexpr double kNarrowestScale = 0.3;
constexpr double kClosest = 0.7;            // two peaks closer than this many FWHM are one
constexpr double kSqrt2Pi = 2.5066282746310002;

struct Peak {
    double centroid, area, fwhm;   // fwhm: the curve's width at the peak (the fit's start)
    FittedPeak fit;
};

struct Group {
    std::vector<Peak> peaks;
    GroupFit fit;
    int lo = 0, hi = 0;
};

class Searcher {
public:
    Searcher(const double* counts, int n, const FitSearchOptions& o) : y_(counts), n_(n), o_(o) {
        // The weights: each channel's variance from the mean of three channels, so that a
        // channel that happens to be low does not pull the fit toward it.
        var_.resize(n);
        for (int i = 0; i < n; ++i) {
            const double s = y_[std::max(i - 1, 0)] + y_[i] + y_[std::min(i + 1, n - 1)];
            var_[i] = std::max(s / 3.0, 1.0);
        }
        bg_.resize(n);
        resp_.resize(n);
        rvar_.resize(n);
        model_.resize(n);
        fixed_.resize(n);
        last_ = o.last >= 0 ? std::min(o.last, n - 1) : n - 21;
        first_ = std::max(o.first, 0);
    }

    // One search with `curve`. In the calibration pass only the strongest candidates are fitted,
    // each alone with a free width, and nothing is added from the residuals.
    // Widest peak seen over the curve's width: the clipping reaches that much further, so that
    // a peak wider than the curve says is not clipped into the background.
    void setWidthSpread(double spread) { spread_ = std::clamp(spread, 1.0, 2.5); }
    // Every width exactly the curve's: the isolated peaks follow it closely.
    void setCurveHolds(bool holds) { curveHolds_ = holds; }

    std::vector<FoundPeak> pass(const ResolutionCurve& curve, bool calibration) {
        curve_ = curve;
        calibration_ = calibration;
        std::vector<FoundPeak> out;
        if (last_ - first_ < 4) return out;
        snipBackground(y_, n_, curve, kSnipWidth * spread_, bg_.data());
        resolutionFilter(y_, bg_.data(), n_, curve, kFilterWidth, resp_.data(), rvar_.data());
        const double threshold = calibration ? std::max(8.0, o_.significance)
                                             : std::max(2.5, o_.significance - kCandidateMargin);
        std::vector<int> cands = filterCandidates(resp_.data(), rvar_.data(), n_, first_, last_,
                                                  threshold, curve);
        if (o_.cursor >= 0 && !calibration) {
            const double f = curve.fwhm(o_.cursor);
            windowLo_ = int(std::floor(o_.cursor - f));
            windowHi_ = int(std::ceil(o_.cursor + f));
            seedWindow(cands);
        }
        if (calibration) strongest(cands, 16);
        std::vector<Group> groups = makeGroups(cands);
        std::fill(model_.begin(), model_.end(), 0.0);
        for (const Group& g : groups) addModel(g, 1.0);
        groups_ = &groups;
        for (Group& g : groups) {
            if (o_.cursor >= 0 && !calibration && !reaches(g)) continue;
            addModel(g, -1.0);
            fitGroup(g);
            addModel(g, 1.0);
            for (const Peak& p : g.peaks) out.push_back(found(g, p));
        }
        std::sort(out.begin(), out.end(),
                  [](const FoundPeak& a, const FoundPeak& b) { return a.fit.centroid < b.fit.centroid; });
        return out;
    }

private:
    double z(int i) const { return rvar_[i] > 0 ? resp_[i] / std::sqrt(rvar_[i]) : 0.0; }

    void strongest(std::vector<int>& cands, size_t keep) const {
        if (cands.size() <= keep) return;
        std::sort(cands.begin(), cands.end(), [&](int a, int b) { return z(a) > z(b); });
        cands.resize(keep);
        std::sort(cands.begin(), cands.end());
    }

    // A group with a candidate in the cursor's window.
    bool reaches(const Group& g) const {
        for (const Peak& p : g.peaks)
            if (p.centroid >= windowLo_ && p.centroid <= windowHi_) return true;
        return false;
    }

    // The nearest-peak command: a candidate in the window even when the filter's maximum there
    // is below the threshold (the fit then decides).
    void seedWindow(std::vector<int>& cands) const {
        for (int c : cands)
            if (c >= windowLo_ && c <= windowHi_) return;
        int best = -1;
        for (int i = std::max(windowLo_, 1); i <= std::min(windowHi_, n_ - 2); ++i)
            if (z(i) > 0 && (best < 0 || z(i) > z(best))) best = i;
        if (best >= 0) {
            cands.push_back(best);
            std::sort(cands.begin(), cands.end());
        }
    }

    double heightAt(int c) const {
        double s = 0;
        int k = 0;
        for (int i = std::max(c - 1, 0); i <= std::min(c + 1, n_ - 1); ++i, ++k) s += y_[i] - bg_[i];
        return std::max(s / k, 1.0);
    }

    Peak startPeak(double c) const {
        Peak p{};
        p.centroid = c;
        p.fwhm = curve_.fwhm(c);
        p.area = heightAt(int(std::lround(c))) * p.fwhm / kFwhmPerSigma * kSqrt2Pi;
        p.fit.centroid = c;
        p.fit.area = p.area;
        p.fit.fwhm = p.fwhm;
        return p;
    }

    std::vector<Group> makeGroups(const std::vector<int>& cands) const {
        std::vector<Group> groups;
        for (size_t i = 0; i < cands.size(); ++i) {
            const int c = cands[i];
            const bool join = !calibration_ && !groups.empty() &&
                              int(groups.back().peaks.size()) < kMaxGroupPeaks &&
                              c - groups.back().peaks.back().centroid <
                                  kGroupDistance * curve_.fwhm(0.5 * (c + groups.back().peaks.back().centroid));
            if (!join) groups.emplace_back();
            groups.back().peaks.push_back(startPeak(c));
        }
        for (Group& g : groups) setRange(g);
        return groups;
    }

    void setRange(Group& g) const {
        double lo = 1e300, hi = -1e300;
        for (const Peak& p : g.peaks) {
            const double f = std::max(p.fwhm, p.fit.fwhm);
            lo = std::min(lo, p.fit.centroid - kFitMargin * f);
            hi = std::max(hi, p.fit.centroid + kFitMargin * f);
        }
        g.lo = std::clamp(int(std::floor(lo)), 0, n_ - 1);
        g.hi = std::clamp(int(std::ceil(hi)), 0, n_ - 1);
    }

    // Adds (sign 1) or removes (-1) the group's peaks in the model of all peaks.
    void addModel(const Group& g, double sign) {
        for (const Peak& p : g.peaks) {
            const double sigma = p.fit.fwhm / kFwhmPerSigma;
            if (!(sigma > 0)) continue;
            const int lo = std::max(0, int(p.fit.centroid - 8 * sigma));
            const int hi = std::min(n_ - 1, int(p.fit.centroid + 8 * sigma) + 1);
            for (int c = lo; c <= hi; ++c) {
                const double d = (c - p.fit.centroid) / sigma;
                model_[c] += sign * p.fit.area * std::exp(-0.5 * d * d) / (sigma * kSqrt2Pi);
            }
        }
    }

    GroupFit run(const Group& g) {
        PeakGroup in;
        in.counts = y_;
        in.fixed = fixed_.data();
        in.variance = var_.data();
        in.lo = g.lo;
        in.hi = g.hi;
        in.peaks = int(g.peaks.size());
        for (int k = 0; k < in.peaks; ++k) {
            in.centroid[k] = g.peaks[k].centroid;
            in.area[k] = g.peaks[k].area;
            in.fwhm[k] = g.peaks[k].fwhm;
        }
        in.freeWidth = calibration_ || o_.freeWidth;
        in.fixedWidth = !in.freeWidth && curveHolds_;
        for (int c = g.lo; c <= g.hi; ++c) fixed_[c] = bg_[c] + model_[c];
        return fitPeakGroup(in, work_);
    }

    static double significanceOf(const FittedPeak& p) {
        return p.areaError > 0 ? p.area / p.areaError : (p.area > 0 ? 1e9 : 0.0);
    }

    // Takes the fit's values into the group's peaks (the next fit starts from them).
    void take(Group& g, const GroupFit& f) {
        g.fit = f;
        for (size_t k = 0; k < g.peaks.size(); ++k) {
            g.peaks[k].fit = f.peak[k];
            g.peaks[k].centroid = f.peak[k].centroid;
            g.peaks[k].area = f.peak[k].area;
        }
    }

    // Index of a peak that must go: not fitted inside its range, the weakest below the
    // significance, or the weaker of two that came closer than kClosest FWHM. -1: none.
    int misfit(const Group& g) const {
        int worst = -1;
        double worstSig = 1e300;
        for (size_t k = 0; k < g.peaks.size(); ++k) {
            const FittedPeak& f = g.peaks[k].fit;
            const double s = significanceOf(f);
            // A width at the end of its range is a bend of the continuum or a spike, not a peak.
            const double scale = f.fwhm / g.peaks[k].fwhm;
            const bool outside = f.centroid < g.lo || f.centroid > g.hi || f.centroid < first_ ||
                                 f.centroid > last_ || scale > kWidestScale || scale < kNarrowestScale;
            if (outside) return int(k);
            if (s < o_.significance && s < worstSig) { worst = int(k); worstSig = s; }
        }
        if (worst >= 0) return worst;
        for (size_t k = 1; k < g.peaks.size(); ++k) {
            const FittedPeak& a = g.peaks[k - 1].fit;
            const FittedPeak& b = g.peaks[k].fit;
            if (std::fabs(a.centroid - b.centroid) < kClosest * std::max(g.peaks[k].fwhm, b.fwhm))
                return significanceOf(a) < significanceOf(b) ? int(k - 1) : int(k);
        }
        return -1;
    }

    // Where the fit leaves the most counts unexplained: the channel of the largest residual,
    // smoothed over the peak width, in standard errors. -1 when below 3.
    int residualPeak(const Group& g) const {
        const double sigma = g.peaks[0].fwhm / kFwhmPerSigma;
        const int h = std::max(1, int(std::ceil(1.5 * sigma)));
        const int m = g.hi - g.lo + 1;
        std::vector<double> res(m), w(2 * h + 1);
        for (int i = 0; i < m; ++i) {
            const int c = g.lo + i;
            res[i] = y_[c] - fixed_[c] - g.fit.correction(c) - g.fit.peaksAt(c);
        }
        for (int j = -h; j <= h; ++j) w[j + h] = std::exp(-0.5 * (j / sigma) * (j / sigma));
        int best = -1;
        double bestZ = 3.0;
        for (int i = 0; i < m; ++i) {
            double s = 0, v = 0;
            for (int j = -h; j <= h; ++j) {
                const int k = std::clamp(i + j, 0, m - 1);
                s += w[j + h] * res[k];
                v += w[j + h] * w[j + h] * var_[g.lo + k];
            }
            const double zc = s / std::sqrt(v);
            if (zc > bestZ) { bestZ = zc; best = g.lo + i; }
        }
        return best;
    }

    // Shoulders: maxima of the sharper second-difference filter (a Gaussian's negative second
    // derivative at 0.7 of the peak width) over the group's range, at least 3 standard errors
    // strong and kClosest FWHM away from every fitted peak; strongest first.
    std::vector<int> shoulders(const Group& g) const {
        const double sigma = 0.7 * g.peaks[0].fwhm / kFwhmPerSigma;
        const int h = std::max(2, int(std::ceil(3.0 * sigma)));
        std::vector<double> k(2 * h + 1);
        double mean = 0;
        for (int j = -h; j <= h; ++j) {
            const double u = j / sigma;
            mean += k[j + h] = (1.0 - u * u) * std::exp(-0.5 * u * u);
        }
        mean /= k.size();
        for (double& v : k) v -= mean;
        std::vector<std::pair<double, int>> found;
        const auto zAt = [&](int c) {
            double r = 0, v = 0;
            for (int j = -h; j <= h; ++j) {
                const int i = std::clamp(c + j, 0, n_ - 1);
                r += k[j + h] * y_[i];
                v += k[j + h] * k[j + h] * var_[i];
            }
            return v > 0 ? r / std::sqrt(v) : 0.0;
        };
        double prev2 = zAt(g.lo - 1), prev = zAt(g.lo);
        for (int c = g.lo + 1; c <= g.hi + 1; ++c) {
            const double zc = zAt(c);
            if (prev >= 3.0 && prev >= prev2 && prev > zc) {
                const int at = c - 1;
                bool clear = true;
                for (const Peak& p : g.peaks)
                    clear = clear && std::fabs(p.fit.centroid - at) >= kClosest * std::max(p.fwhm, p.fit.fwhm);
                if (clear) found.push_back({prev, at});
            }
            prev2 = prev;
            prev = zc;
        }
        std::sort(found.begin(), found.end(), [](auto& a, auto& b) { return a.first > b.first; });
        std::vector<int> out;
        for (auto& f : found) out.push_back(f.second);
        return out;
    }

    // A trial group with one more peak at `c`, or with the widest peak split in two.
    bool tryMore(Group& g, double c, bool split, int splitIndex) {
        Group t = g;
        if (split) {
            Peak& p = t.peaks[splitIndex];
            const double half = 0.5 * p.fwhm;
            Peak q = p;
            p.centroid -= half;
            q.centroid += half;
            p.area *= 0.5;
            q.area = p.area;
            t.peaks.insert(t.peaks.begin() + splitIndex + 1, q);
        } else {
            Peak p = startPeak(c);
            p.area = std::max(1.0, 0.5 * p.area);
            t.peaks.push_back(p);
            std::sort(t.peaks.begin(), t.peaks.end(),
                      [](const Peak& a, const Peak& b) { return a.centroid < b.centroid; });
        }
        setRange(t);
        t.lo = std::min(t.lo, g.lo);
        t.hi = std::max(t.hi, g.hi);
        const GroupFit f = run(t);
        if (!f.ok) return false;
        // The same range, so that the two chi-squares compare.
        const GroupFit before = t.lo == g.lo && t.hi == g.hi ? g.fit : run(Group{g.peaks, g.fit, t.lo, t.hi});
        if (!before.ok) return false;
        take(t, f);
        if (misfit(t) >= 0) return false;
        // The gain must stand out against how well the model fits at all (a strong peak whose
        // shape is not quite Gaussian gains from any extra peak).
        const double quality = std::max(1.0, f.chi2 / std::max(1, f.dof));
        // With the widths fixed an extra peak has fewer ways to fit noise: the plain significance
        // suffices; otherwise at least 5 standard errors.
        const double gain = o_.significance * o_.significance;
        if (before.chi2 - f.chi2 < (curveHolds_ ? gain : std::max(25.0, gain)) * quality) return false;
        // A peak of the next group is that group's to fit.
        for (const Group& other : *groups_) {
            if (&other == &g) continue;
            for (const Peak& q : other.peaks)
                for (const Peak& p : t.peaks)
                    if (std::fabs(p.fit.centroid - q.fit.centroid) < std::max(p.fwhm, q.fwhm)) return false;
        }
        for (size_t k = 1; k < t.peaks.size(); ++k)
            if (t.peaks[k].fit.centroid - t.peaks[k - 1].fit.centroid <
                kClosest * std::max(t.peaks[k].fwhm, t.peaks[k].fit.fwhm))
                return false;
        g = t;
        return true;
    }

    void fitGroup(Group& g) {
        int added = 0;
        bool widened = false;
        for (int round = 0; round < 3 * kMaxGroupPeaks && !g.peaks.empty(); ++round) {
            const GroupFit f = run(g);
            if (!f.ok) {
                g.peaks.clear();
                return;
            }
            take(g, f);
            if (!widened) {
                // Peaks wider than the curve says: fitted again over their own width.
                const int lo = g.lo, hi = g.hi;
                setRange(g);
                g.lo = std::min(g.lo, lo);
                g.hi = std::max(g.hi, hi);
                widened = true;
                if (g.lo < lo - 1 || g.hi > hi + 1) continue;
            }
            const int bad = misfit(g);
            if (bad >= 0) {
                g.peaks.erase(g.peaks.begin() + bad);
                continue;
            }
            if (calibration_ || added >= 2 || int(g.peaks.size()) >= kMaxGroupPeaks) return;
            int widest = 0;
            for (size_t k = 1; k < g.peaks.size(); ++k)
                if (g.peaks[k].fit.fwhm / g.peaks[k].fwhm > g.peaks[widest].fit.fwhm / g.peaks[widest].fwhm)
                    widest = int(k);
            bool grown = false;
            for (int c : shoulders(g)) {
                if ((grown = tryMore(g, c, false, 0))) break;
            }
            if (!grown) {
                const int c = residualPeak(g);
                const bool wide = g.peaks[widest].fit.fwhm > 1.2 * g.peaks[widest].fwhm && !o_.freeWidth;
                grown = (c >= 0 && tryMore(g, c, false, 0)) || (wide && tryMore(g, 0, true, widest));
            }
            if (!grown) return;
            ++added;   // the grown group is fitted again, its misfits pruned
        }
    }

    FoundPeak found(const Group& g, const Peak& p) const {
        FoundPeak f;
        f.fit = p.fit;
        const double half = kRoiHalfWidth * p.fit.fwhm;
        f.lo = std::clamp(int(std::lround(p.fit.centroid - half)), 0, n_ - 1);
        f.hi = std::clamp(int(std::lround(p.fit.centroid + half)), 0, n_ - 1);
        for (int c = f.lo; c <= f.hi; ++c)
            f.background += bg_[c] + (c >= g.lo && c <= g.hi ? g.fit.correction(c) : 0.0);
        return f;
    }

    const double* y_;
    int n_;
    FitSearchOptions o_;
    int first_ = 0, last_ = 0;
    int windowLo_ = 0, windowHi_ = -1;
    ResolutionCurve curve_;
    bool calibration_ = false;
    double spread_ = 1.0;
    bool curveHolds_ = false;
    const std::vector<Group>* groups_ = nullptr;
    std::vector<double> var_, bg_, resp_, rvar_, model_, fixed_;
    FitWork work_;
};

}  // namespace

FitSearchResult fitSearch(const double* counts, int n, const FitSearchOptions& o) {
    FitSearchResult r;
    if (n < 16 || !counts) return r;
    Searcher s(counts, n, o);
    ResolutionCurve curve = o.curveGiven ? o.curve
                                         : ResolutionCurve::constant(o.expectedFwhm > 0 ? o.expectedFwhm : 8.0);
    double spread = 1.0;
    bool holds = o.curveGiven;
    if (!o.curveGiven) {
        // The curve from the strong isolated peaks: fitted once, and again when the widths it
        // gives moved by more than 15 % from the start.
        for (int round = 0; round < 2; ++round) {
            const std::vector<FoundPeak> peaks = s.pass(curve, true);
            spread = 1.0;
            std::vector<double> ch, w, e;
            for (const FoundPeak& p : peaks) {
                ch.push_back(p.fit.centroid);
                w.push_back(p.fit.fwhm);
                e.push_back(p.fit.fwhmError);
            }
            ResolutionCurve next;
            if (!fitResolutionCurve(ch.data(), w.data(), e.data(), int(ch.size()), next)) break;
            // How closely the well-measured widths follow the curve: three in four within 25 %
            // of it, and those within kCurveScatter.
            double scatter = 0;
            int kept = 0, measured = 0;
            for (const FoundPeak& p : peaks) {
                if (p.fit.fwhmError >= 0.2 * p.fit.fwhm) continue;
                ++measured;
                const double ratio = p.fit.fwhm / next.fwhm(p.fit.centroid);
                spread = std::max(spread, ratio);
                if (std::fabs(ratio - 1.0) < 0.25) {
                    scatter += (ratio - 1.0) * (ratio - 1.0);
                    ++kept;
                }
            }
            holds = kept >= 4 && 4 * kept >= 3 * measured && std::sqrt(scatter / kept) < kCurveScatter;
            // Widths that follow the curve make a wider peak an unresolved group, not a reason
            // to clip wider.
            if (holds) spread = 1.0;
            const double mid = 0.5 * n;
            const double change = next.fwhm(mid) / curve.fwhm(mid);
            curve = next;
            r.curveFitted = true;
            if (std::fabs(change - 1.0) < 0.15) break;
        }
    }
    r.curve = curve;
    s.setWidthSpread(spread);
    s.setCurveHolds(holds);
    r.peaks = s.pass(curve, false);
    return r;
}

}  // namespace qor
