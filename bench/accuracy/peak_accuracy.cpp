// Accuracy of the peak commands on synthetic spectra with known truth (run by hand, not a test).
//
// Each of 200 seeded spectra has 4096 channels: a sloped continuum and 20 Gaussian peaks of FWHM
// 3..10 channels with heights spread log-uniformly over two decades, three of the pairs being
// resolved doublets (two peaks of one width 2.5 FWHM apart), the rest isolated. Counts are Poisson
// draws of the expected spectrum. The automatic search runs as the "自" command does with the
// creation-default parameters (narrow search, 7-point Gaussian filter, 1.5 sigma); the
// nearest-peak command ("近") measures every significant peak with the cursor on the channel
// nearest its centre and the expected FWHM set to its width rounded.
//
// Definitions:
// - B: the continuum's expected counts in a window of 2.5 FWHM around a peak; A: the peak's
//   expected net area. A peak is significant when A > 5 sqrt(B). Recall counts significant peaks.
// - A reported peak belongs to the true peak nearest to it if it lies within max(0.5 FWHM, 1.5)
//   channels of it; a reported peak that belongs to none is false; every further report of one
//   true peak is a duplicate.
// - Centroid error: reported position minus true centre (the closest report of each significant
//   found peak). Area error: |reported net - A| / sqrt(A + 2 B), the Poisson sigma of a net
//   area measured over that window with its background.
//
// The last line reads
//   recall R false_per_spectrum F duplicates D centroid_rms C area_sigma_median M area_sigma_p90 P
// for the automatic (narrow) search.
//
// "--search fit" measures both automatic searches side by side, the derivative-filter search at
// its reference setting and the fitting search (4.0 sigma, widths tied to the resolution curve it
// fits), on the set extended by 200 spectra whose peak widths follow a resolution curve
// FWHM^2 = a + b channel (3..6 channels at channel 0, 10..20 at the last) and which hold two
// doublets each at 1.0, 1.5 and 2.5 FWHM beside 8 isolated peaks. Each search's block ends with
// the line above followed by "doublet_1fwhm_as_two R": the share of doublets 1.0 FWHM apart with
// both members significant that are reported as two peaks, each owned by its member. The line
// before it counts the doublets found as two among those whose members both exceed 15 sigma.

#include "analysis/FitPeakCommands.h"
#include "analysis/PeakAnalysis.h"
#include "app/AppState.h"
#include "app/InfoRecord.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <vector>

using namespace qor;

namespace {

constexpr int kSpectra = 200;
constexpr int kChannels = 4096;
constexpr int kPeaksPerSpectrum = 20;
constexpr int kDoublets = 3;

struct TruePeak {
    double mu = 0, fwhm = 0, height = 0, area = 0, bg = 0;
    bool doublet = false;
    double separation = 0;   // doublet members: their distance in FWHM
    int partner = -1;        // doublet members: the other member's index
    bool significant() const { return area > 5.0 * std::sqrt(bg); }
    double areaSigma() const { return std::sqrt(area + 2.0 * bg); }
};

struct Spectrum {
    std::vector<double> expected = std::vector<double>(kChannels, 0.0);
    std::vector<TruePeak> peaks;
};

double gaussCdf(double x, double mu, double sigma) {
    return 0.5 * std::erfc(-(x - mu) / (sigma * std::sqrt(2.0)));
}

// Adds every true peak's expected counts to the spectrum, with its area and the continuum's
// counts in a window of 2.5 FWHM around it.
template <class Continuum>
void addPeaks(Spectrum& s, const Continuum& continuum) {
    for (TruePeak& p : s.peaks) {
        const double sigma = p.fwhm / 2.3548;
        p.area = p.height * sigma * std::sqrt(2.0 * M_PI);
        const int lo = std::max(0, int(p.mu - 8 * sigma)), hi = std::min(kChannels - 1, int(p.mu + 8 * sigma));
        for (int c = lo; c <= hi; ++c)
            s.expected[c] += p.area * (gaussCdf(c + 0.5, p.mu, sigma) - gaussCdf(c - 0.5, p.mu, sigma));
        const double w = 1.25 * p.fwhm;
        p.bg = (continuum(p.mu - w) + continuum(p.mu + w)) * 0.5 * 2.0 * w;
    }
}

Spectrum makeSpectrum(std::mt19937_64& rng) {
    Spectrum s;
    std::uniform_real_distribution<double> u(0.0, 1.0);
    const double b0 = 50.0 + 350.0 * u(rng);
    const double b1 = 10.0 + (b0 - 10.0) * u(rng);   // falling toward high channels
    const auto continuum = [&](double c) { return b0 + (b1 - b0) * c / kChannels; };
    for (int c = 0; c < kChannels; ++c) s.expected[c] = continuum(c);

    // Place 3 doublets and 14 isolated peaks so that no two objects come within 4 FWHM.
    struct Object { double lo, hi; };
    std::vector<Object> taken;
    const auto place = [&](double fwhm, double span) {
        for (;;) {
            const double lo = 40.0 + 4.0 * fwhm;
            const double hi = kChannels - 40.0 - 4.0 * fwhm - span;
            const double x = lo + (hi - lo) * u(rng);
            const Object o{x - 4.0 * fwhm, x + span + 4.0 * fwhm};
            bool clear = true;
            for (const Object& t : taken) clear = clear && (o.hi < t.lo || o.lo > t.hi);
            if (clear) {
                taken.push_back(o);
                return x;
            }
        }
    };
    const auto height = [&]() { return 20.0 * std::pow(100.0, u(rng)); };
    for (int i = 0; i < kDoublets; ++i) {
        const double fwhm = 3.0 + 7.0 * u(rng);
        const double x = place(fwhm, 2.5 * fwhm);
        const int first = int(s.peaks.size());
        for (int j = 0; j < 2; ++j) {
            TruePeak p;
            p.mu = x + j * 2.5 * fwhm;
            p.fwhm = fwhm;
            p.height = height();
            p.doublet = true;
            p.separation = 2.5;
            p.partner = first + 1 - j;
            s.peaks.push_back(p);
        }
    }
    while (int(s.peaks.size()) < kPeaksPerSpectrum) {
        TruePeak p;
        p.fwhm = 3.0 + 7.0 * u(rng);
        p.mu = place(p.fwhm, 0.0);
        p.height = height();
        s.peaks.push_back(p);
    }
    addPeaks(s, continuum);
    return s;
}

// A spectrum of the extension: widths on a resolution curve, two doublets at each of 1.0, 1.5
// and 2.5 FWHM and 8 isolated peaks, on the same kind of continuum.
Spectrum makeExtendedSpectrum(std::mt19937_64& rng) {
    Spectrum s;
    std::uniform_real_distribution<double> u(0.0, 1.0);
    const double b0 = 50.0 + 350.0 * u(rng);
    const double b1 = 10.0 + (b0 - 10.0) * u(rng);
    const auto continuum = [&](double c) { return b0 + (b1 - b0) * c / kChannels; };
    for (int c = 0; c < kChannels; ++c) s.expected[c] = continuum(c);
    const double f0 = 3.0 + 3.0 * u(rng), f1 = 10.0 + 10.0 * u(rng);
    const auto width = [&](double c) { return std::sqrt(f0 * f0 + (f1 * f1 - f0 * f0) * c / kChannels); };

    struct Object { double lo, hi; };
    std::vector<Object> taken;
    const auto place = [&](double spanFwhm) {
        for (;;) {
            const double x = 60.0 + (kChannels - 120.0) * u(rng);
            const double f = width(x);
            const Object o{x - 4.0 * f, x + (spanFwhm + 4.0) * f};
            if (o.lo < 30.0 || o.hi > kChannels - 30.0) continue;
            bool clear = true;
            for (const Object& t : taken) clear = clear && (o.hi < t.lo || o.lo > t.hi);
            if (clear) {
                taken.push_back(o);
                return x;
            }
        }
    };
    const auto height = [&]() { return 20.0 * std::pow(100.0, u(rng)); };
    const double separations[3] = {1.0, 1.5, 2.5};
    for (double sep : separations) {
        for (int i = 0; i < 2; ++i) {
            const double x = place(sep);
            const double f = width(x);
            const int first = int(s.peaks.size());
            for (int j = 0; j < 2; ++j) {
                TruePeak p;
                p.mu = x + j * sep * f;
                p.fwhm = f;
                p.height = height();
                p.doublet = true;
                p.separation = sep;
                p.partner = first + 1 - j;
                s.peaks.push_back(p);
            }
        }
    }
    while (int(s.peaks.size()) < kPeaksPerSpectrum) {
        TruePeak p;
        p.mu = place(0.0);
        p.fwhm = width(p.mu);
        p.height = height();
        s.peaks.push_back(p);
    }
    addPeaks(s, continuum);
    return s;
}

double rms(const std::vector<double>& v) {
    double s = 0;
    for (double x : v) s += x * x;
    return v.empty() ? 0.0 : std::sqrt(s / v.size());
}

double quantile(std::vector<double> v, double q) {
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, size_t(q * (v.size() - 1) + 0.5));
    return v[i];
}

struct Tally {
    int significant = 0, found = 0;
    int doubletSignificant = 0, doubletFound = 0;
    int isolatedSignificant = 0, isolatedFound = 0;
    int falsePeaks = 0, duplicates = 0, reported = 0;
    int pairs[3] = {}, pairsAsTwo[3] = {};   // doublets at 1.0, 1.5, 2.5 FWHM, both significant
    int pairsStrong[3] = {}, pairsStrongAsTwo[3] = {};   // both members above 15 sigma
    std::vector<double> centroid, area, strongCentroid;
};

struct Run {
    Tally narrow, nearest;
    int nearestTried = 0;
};

// A peak far above its limit: A > 25 sqrt(B).
bool strong(const TruePeak& p) { return p.area > 25.0 * std::sqrt(p.bg); }

// Counts the reports of one search on one spectrum against its truth.
void score(Tally& t, const Spectrum& truth, const PeakResults& res, int count) {
    t.reported += count;
    std::vector<std::vector<int>> owners(truth.peaks.size());
    for (int i = 0; i < count; ++i) {
        int best = -1;
        double bestDist = 1e30;
        for (size_t j = 0; j < truth.peaks.size(); ++j) {
            const double d = std::fabs(res.PeakChannel[i] - truth.peaks[j].mu);
            if (d < bestDist) { bestDist = d; best = int(j); }
        }
        if (best >= 0 && bestDist <= std::max(0.5 * truth.peaks[best].fwhm, 1.5))
            owners[best].push_back(i);
        else
            ++t.falsePeaks;
    }
    for (size_t j = 0; j < truth.peaks.size(); ++j) {
        const TruePeak& p = truth.peaks[j];
        if (owners[j].size() > 1) t.duplicates += int(owners[j].size()) - 1;
        if (!p.significant()) continue;
        ++t.significant;
        (p.doublet ? t.doubletSignificant : t.isolatedSignificant)++;
        if (owners[j].empty()) continue;
        ++t.found;
        (p.doublet ? t.doubletFound : t.isolatedFound)++;
        int closest = owners[j][0];
        for (int i : owners[j])
            if (std::fabs(res.PeakChannel[i] - p.mu) < std::fabs(res.PeakChannel[closest] - p.mu))
                closest = i;
        t.centroid.push_back(res.PeakChannel[closest] - p.mu);
        if (strong(p)) t.strongCentroid.push_back(res.PeakChannel[closest] - p.mu);
        t.area.push_back(std::fabs(res.PeakNet[closest] - p.area) / p.areaSigma());
    }
    // Doublets found as two: both members significant, each owning a report.
    for (size_t j = 0; j < truth.peaks.size(); ++j) {
        const TruePeak& p = truth.peaks[j];
        if (p.partner < int(j)) continue;   // each pair once, from its first member
        const TruePeak& q = truth.peaks[p.partner];
        if (!p.significant() || !q.significant()) continue;
        const int k = p.separation < 1.25 ? 0 : p.separation < 2.0 ? 1 : 2;
        ++t.pairs[k];
        const bool two = !owners[j].empty() && !owners[p.partner].empty();
        if (two) ++t.pairsAsTwo[k];
        if (p.area > 15 * std::sqrt(p.bg) && q.area > 15 * std::sqrt(q.bg)) {
            ++t.pairsStrong[k];
            if (two) ++t.pairsStrongAsTwo[k];
        }
    }
}

Run evaluate(AppState& st, int filterIndex, int sigmaIndex) {
    InfoRecord& rec = st.rec;
    SpectrumState& sp = st.spectrum;
    CMerinCalcc& engine = st.analysis.Merin;
    PeakResults& res = st.analysis.peaks;
    Run run;
    Tally& narrow = run.narrow;
    Tally& nearest = run.nearest;
    for (int seed = 0; seed < kSpectra; ++seed) {
        std::mt19937_64 rng(0x5eed0000ULL + seed);
        const Spectrum truth = makeSpectrum(rng);
        for (int c = 0; c < kChannels; ++c) {
            std::poisson_distribution<int32_t> pois(truth.expected[c]);
            sp.slot[0][c] = pois(rng);
        }
        sp.slot[0][0] = sp.slot[0][1] = 0;   // no live and real time in a synthetic spectrum

        rec.PeakWidthIndex = 0;
        rec.DerivFilterIndex = filterIndex;
        rec.SigmaIndex = sigmaIndex;
        const int count = autoPeakSearch(engine, res, rec, sp, 0);
        score(narrow, truth, res, count);

        // Nearest peak with the cursor on each significant peak.
        for (const TruePeak& p : truth.peaks) {
            if (!p.significant()) continue;
            ++run.nearestTried;
            rec.ExpectedFwhm = int32_t(std::lround(p.fwhm));
            sp.CursorChannel[0] = int32_t(std::lround(p.mu));
            sp.CurrentRoi[0] = 1;
            if (!measureNearestPeak(engine, res, rec, sp, 0, sigmaFactor(rec.SigmaIndex), false))
                continue;
            ++nearest.found;
            nearest.centroid.push_back(sp.PeakInfoChannel - p.mu);
            if (strong(p)) nearest.strongCentroid.push_back(sp.PeakInfoChannel - p.mu);
            nearest.area.push_back(std::fabs(sp.PeakInfoNet - p.area) / p.areaSigma());
        }
    }
    return run;
}

double recallOf(const Tally& t) { return double(t.found) / std::max(1, t.significant); }

double share(int part, int whole) { return double(part) / std::max(1, whole); }

// The block of one search over the extended set; its last line carries the figures.
void printSideBySide(const char* name, const Tally& t, int spectra) {
    std::printf("%s: isolated recall %.4f, doublet member recall %.4f, reported %d, "
                "centroid_rms of strong peaks %.3f\n",
                name, share(t.isolatedFound, t.isolatedSignificant),
                share(t.doubletFound, t.doubletSignificant), t.reported, rms(t.strongCentroid));
    std::printf("%s: doublets found as two: 1.0 FWHM %d of %d, 1.5 FWHM %d of %d, 2.5 FWHM %d of %d\n",
                name, t.pairsAsTwo[0], t.pairs[0], t.pairsAsTwo[1], t.pairs[1], t.pairsAsTwo[2],
                t.pairs[2]);
    std::printf("%s: of them with both members above 15 sigma: 1.0 FWHM %d of %d, 1.5 FWHM %d of %d, "
                "2.5 FWHM %d of %d\n",
                name, t.pairsStrongAsTwo[0], t.pairsStrong[0], t.pairsStrongAsTwo[1], t.pairsStrong[1],
                t.pairsStrongAsTwo[2], t.pairsStrong[2]);
    std::printf("recall %.4f false_per_spectrum %.3f duplicates %d centroid_rms %.3f "
                "area_sigma_median %.3f area_sigma_p90 %.3f doublet_1fwhm_as_two %.4f\n",
                recallOf(t), double(t.falsePeaks) / spectra, t.duplicates, rms(t.centroid),
                quantile(t.area, 0.5), quantile(t.area, 0.9), share(t.pairsAsTwo[0], t.pairs[0]));
}

// Both automatic searches on the same spectra: the original 200 and the 200 of the extension.
int sideBySide(AppState& st, int filterIndex, int sigmaIndex) {
    InfoRecord& rec = st.rec;
    SpectrumState& sp = st.spectrum;
    PeakResults& res = st.analysis.peaks;
    FitSearchSettings fit;
    fit.fit = true;
    Tally standard, fitted;
    int significant = 0;
    for (int k = 0; k < 2 * kSpectra; ++k) {
        const bool extended = k >= kSpectra;
        std::mt19937_64 rng(extended ? 0x5eed1000ULL + (k - kSpectra) : 0x5eed0000ULL + k);
        const Spectrum truth = extended ? makeExtendedSpectrum(rng) : makeSpectrum(rng);
        for (int c = 0; c < kChannels; ++c) {
            std::poisson_distribution<int32_t> pois(truth.expected[c]);
            sp.slot[0][c] = pois(rng);
        }
        sp.slot[0][0] = sp.slot[0][1] = 0;
        for (const TruePeak& p : truth.peaks) significant += p.significant();
        rec.PeakWidthIndex = 0;
        rec.DerivFilterIndex = filterIndex;
        rec.SigmaIndex = sigmaIndex;
        rec.ExpectedFwhm = 0;
        score(standard, truth, res, autoPeakSearch(st.analysis.Merin, res, rec, sp, 0));
        score(fitted, truth, res, autoFitSearch(res, rec, sp, fit, 0));
    }
    std::printf("spectra %d (200 as before, 200 with widths 3..20 on a resolution curve and doublets at "
                "1.0, 1.5, 2.5 FWHM), peaks %d, significant %d\n",
                2 * kSpectra, 2 * kSpectra * kPeaksPerSpectrum, significant);
    std::printf("standard search: DerivFilterIndex %d, SigmaIndex %d (%.1f sigma)\n", filterIndex,
                sigmaIndex, sigmaFactor(sigmaIndex));
    printSideBySide("standard", standard, 2 * kSpectra);
    std::printf("fitting search: %.1f sigma, widths tied to the resolution curve fitted to each spectrum\n",
                std::max(3.0, sigmaFactor(sigmaIndex)));
    printSideBySide("fit", fitted, 2 * kSpectra);
    return 0;
}

}  // namespace

// "--search fit [FILTER SIGMA]": both searches side by side on the extended set.
// Without arguments: a table over the significance factors and the filter choices, then the
// figures of the reference setting (DerivFilterIndex 6, the 13-point polynomial filter, at
// SigmaIndex 5, 4.0 sigma). With "FILTER SIGMA" (two indexes): that setting only.
int main(int argc, char** argv) {
    auto st = std::make_unique<AppState>();
    setCreationDefaults(st->rec, "/tmp/");
    st->rec.SlotViewChannels[0] = kChannels;
    st->spectrum.ViewSlot = 0;

    int filterIndex = 6, sigmaIndex = 5;
    if (argc > 2 && std::strcmp(argv[1], "--search") == 0) {
        if (std::strcmp(argv[2], "fit") != 0) {
            std::fprintf(stderr, "usage: qor10_peak_accuracy [FILTER SIGMA | --search fit [FILTER SIGMA]]\n");
            return 2;
        }
        if (argc > 4) {
            filterIndex = std::atoi(argv[3]);
            sigmaIndex = std::atoi(argv[4]);
        }
        return sideBySide(*st, filterIndex, sigmaIndex);
    }
    if (argc > 2) {
        filterIndex = std::atoi(argv[1]);
        sigmaIndex = std::atoi(argv[2]);
    } else {
        std::printf("DerivFilterIndex SigmaIndex: recall false_per_spectrum duplicates centroid_rms\n");
        for (int f = 0; f < 7; ++f) {
            for (int k = 0; k < 8; ++k) {
                const Run r = evaluate(*st, f, k);
                std::printf("%d %d: %.4f %7.3f %3d %.3f\n", f, k, recallOf(r.narrow),
                            double(r.narrow.falsePeaks) / kSpectra, r.narrow.duplicates,
                            rms(r.narrow.centroid));
            }
        }
    }
    const Run r = evaluate(*st, filterIndex, sigmaIndex);
    const Tally& narrow = r.narrow;
    const Tally& nearest = r.nearest;
    std::printf("setting: DerivFilterIndex %d, SigmaIndex %d (%.1f sigma)\n", filterIndex,
                sigmaIndex, sigmaFactor(sigmaIndex));
    std::printf("spectra %d, peaks %d, significant %d (isolated %d, doublet members %d)\n",
                kSpectra, kSpectra * kPeaksPerSpectrum, narrow.significant,
                narrow.isolatedSignificant, narrow.doubletSignificant);
    std::printf("narrow search: isolated recall %.4f, doublet recall %.4f, reported %d, "
                "centroid_rms of strong peaks %.3f\n",
                double(narrow.isolatedFound) / std::max(1, narrow.isolatedSignificant),
                double(narrow.doubletFound) / std::max(1, narrow.doubletSignificant),
                narrow.reported, rms(narrow.strongCentroid));
    std::printf("nearest peak: found %d of %d, centroid_rms %.3f (strong peaks %.3f) "
                "area_sigma_median %.3f area_sigma_p90 %.3f\n",
                nearest.found, r.nearestTried, rms(nearest.centroid), rms(nearest.strongCentroid),
                quantile(nearest.area, 0.5), quantile(nearest.area, 0.9));
    std::printf("recall %.4f false_per_spectrum %.3f duplicates %d centroid_rms %.3f "
                "area_sigma_median %.3f area_sigma_p90 %.3f\n",
                recallOf(narrow), double(narrow.falsePeaks) / kSpectra, narrow.duplicates,
                rms(narrow.centroid), quantile(narrow.area, 0.5), quantile(narrow.area, 0.9));
    return 0;
}
