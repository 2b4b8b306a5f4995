// The fitting peak search: the clipped background, the resolution curve, the least-squares fit
// of one peak and of a doublet with their standard errors, and the "自" / "近" commands with it.

#include "analysis/FitPeakCommands.h"
#include "analysis/FitSearch.h"
#include "analysis/PeakFit.h"
#include "analysis/SnipBackground.h"
#include "app/AppState.h"

#include <gtest/gtest.h>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

using namespace qor;

namespace {

constexpr int kN = 4096;

// Expected counts: a flat continuum plus Gaussian peaks {centre, FWHM, area}.
struct Line { double centre, fwhm, area; };
std::vector<double> expected(double flat, const std::vector<Line>& lines, int n = kN) {
    std::vector<double> m(n, flat);
    for (const Line& l : lines) {
        const double s = l.fwhm / kFwhmPerSigma;
        for (int c = 0; c < n; ++c) {
            const double d = (c - l.centre) / s;
            if (std::fabs(d) < 10) m[c] += l.area * std::exp(-0.5 * d * d) / (s * std::sqrt(2 * M_PI));
        }
    }
    return m;
}

std::vector<double> poisson(const std::vector<double>& mean, std::mt19937_64& rng) {
    std::vector<double> y(mean.size());
    for (size_t c = 0; c < mean.size(); ++c) y[c] = std::poisson_distribution<int>(mean[c])(rng);
    return y;
}

}  // namespace

TEST(FitSearch, ClippedBackgroundOfAFlatSpectrumIsTheFlatLevelUnderItsPeaks) {
    std::mt19937_64 rng(1);
    // FWHM^2 = 16 + 0.08 channel: 8 channels at 600, 11.7 at 1500, 16 at 3000.
    const ResolutionCurve curve{16.0, 0.08};
    const std::vector<Line> lines = {{600, 8, 40000}, {1500, 11.7, 8000}, {1520, 11.7, 8000}, {3000, 16, 200000}};
    const std::vector<double> y = poisson(expected(200.0, lines), rng);
    std::vector<double> bg(kN);
    snipBackground(y.data(), kN, curve, 3.0, bg.data());
    for (const Line& l : lines) {
        const double under = bg[int(l.centre)];
        EXPECT_NEAR(200.0, under, 8.0) << "under the peak at " << l.centre;
    }
    EXPECT_NEAR(200.0, bg[1000], 8.0) << "between the peaks";
}

TEST(FitSearch, ResolutionCurveComesFromTheWidthsAndIgnoresAnOutlier) {
    // FWHM^2 = 16 + 0.03 channel; the last point is a doublet taken for one wide peak.
    const double ch[6] = {200, 900, 1600, 2400, 3300, 2000};
    double w[6], e[6];
    for (int i = 0; i < 6; ++i) {
        w[i] = std::sqrt(16.0 + 0.03 * ch[i]);
        e[i] = 0.05 * w[i];
    }
    w[5] *= 1.6;
    ResolutionCurve c;
    ASSERT_TRUE(fitResolutionCurve(ch, w, e, 6, c));
    EXPECT_NEAR(16.0, c.a, 0.1);
    EXPECT_NEAR(0.03, c.b, 1e-4);
    // Too few points for a slope: the mean width everywhere.
    ASSERT_TRUE(fitResolutionCurve(ch, w, e, 2, c));
    EXPECT_DOUBLE_EQ(0.0, c.b);
    EXPECT_GE(c.fwhm(0), w[0] - 1e-9);
    EXPECT_LE(c.fwhm(0), w[1]);
    // Widths shrinking toward higher channels are not a detector's: the mean width.
    const double shrinking[3] = {9.0, 7.0, 5.0};
    ASSERT_TRUE(fitResolutionCurve(ch, shrinking, e, 3, c));
    EXPECT_DOUBLE_EQ(0.0, c.b);
    EXPECT_FALSE(fitResolutionCurve(ch, w, e, 0, c));
}

TEST(FitSearch, OnePeakIsFittedToItsTrueAreaWithinItsStandardErrorInMostTrials) {
    // 400 Poisson trials of a peak of area 3000 on 150 counts a channel: the fitted area lies
    // within one standard error of the truth in about 68 % of them, within two in about 95 %.
    std::mt19937_64 rng(7);
    const std::vector<double> mean = expected(150.0, {{200.4, 9.0, 3000}}, 400);
    const std::vector<double> fixed(400, 150.0);
    int within1 = 0, within2 = 0, trials = 400;
    double centroidSq = 0;
    FitWork work;
    for (int t = 0; t < trials; ++t) {
        const std::vector<double> y = poisson(mean, rng);
        std::vector<double> var(400);
        for (int c = 0; c < 400; ++c) var[c] = std::max(1.0, (y[std::max(c - 1, 0)] + y[c] + y[std::min(c + 1, 399)]) / 3);
        PeakGroup g;
        g.counts = y.data();
        g.fixed = fixed.data();
        g.variance = var.data();
        g.lo = 180;
        g.hi = 221;
        g.peaks = 1;
        g.centroid[0] = 201;
        g.area[0] = 2000;
        g.fwhm[0] = 9.0;
        const GroupFit f = fitPeakGroup(g, work);
        ASSERT_TRUE(f.ok);
        const double d = std::fabs(f.peak[0].area - 3000.0);
        within1 += d <= f.peak[0].areaError;
        within2 += d <= 2 * f.peak[0].areaError;
        centroidSq += (f.peak[0].centroid - 200.4) * (f.peak[0].centroid - 200.4);
    }
    EXPECT_NEAR(0.68, double(within1) / trials, 0.07);
    EXPECT_NEAR(0.95, double(within2) / trials, 0.04);
    EXPECT_LT(std::sqrt(centroidSq / trials), 0.3);
}

TEST(FitSearch, DoubletOneFwhmApartIsFittedAsTwo) {
    std::mt19937_64 rng(11);
    const std::vector<Line> lines = {{1200, 10, 20000}, {1210, 10, 12000}};
    const std::vector<double> y = poisson(expected(100.0, lines), rng);
    FitSearchOptions o;
    o.curveGiven = true;
    o.curve = ResolutionCurve::constant(10.0);
    const FitSearchResult r = fitSearch(y.data(), kN, o);
    ASSERT_EQ(2u, r.peaks.size());
    for (int k = 0; k < 2; ++k) {
        const FittedPeak& p = r.peaks[k].fit;
        EXPECT_NEAR(lines[k].centre, p.centroid, 3 * p.centroidError + 0.1) << k;
        EXPECT_NEAR(lines[k].area, p.area, 3 * p.areaError) << k;
        EXPECT_GT(p.areaError, 0.0);
    }
}

TEST(FitSearch, EmptyOrFlatSpectrumGivesNoPeak) {
    FitSearchOptions o;
    std::vector<double> zero(kN, 0.0);
    EXPECT_TRUE(fitSearch(zero.data(), kN, o).peaks.empty());
    EXPECT_TRUE(fitSearch(zero.data(), 0, o).peaks.empty());
    std::mt19937_64 rng(5);
    for (double level : {3.0, 300.0}) {
        const std::vector<double> flat = poisson(std::vector<double>(kN, level), rng);
        EXPECT_TRUE(fitSearch(flat.data(), kN, o).peaks.empty()) << level;
    }
}

TEST(FitSearch, AutomaticSearchMakesRoisOfOneAndAHalfFwhmWithFittedNets) {
    auto st = std::make_unique<AppState>();
    setCreationDefaults(st->rec, "/tmp/");
    st->rec.SlotViewChannels[0] = 2048;
    st->rec.SigmaIndex = 5;
    std::mt19937_64 rng(3);
    const std::vector<double> y = poisson(expected(60.0, {{640.0, 16, 50000}, {805.0, 17, 30000}}), rng);
    for (int c = 0; c < kSlotChannels; ++c) st->spectrum.slot[0][c] = int32_t(y[c]);
    st->spectrum.slot[0][0] = 4500;   // live and real time are not counts
    st->spectrum.slot[0][1] = 4700;
    for (int k = 0; k < 100; ++k) st->rec.RoiStart[0][k] = st->rec.RoiEnd[0][k] = 7;
    FitSearchSettings fit;
    fit.fit = true;
    PeakResults& res = st->analysis.peaks;
    ASSERT_EQ(2, autoFitSearch(res, st->rec, st->spectrum, fit, 0));
    const double areas[2] = {50000, 30000};
    for (int i = 0; i < 2; ++i) {
        EXPECT_NEAR(areas[i], res.PeakNet[i], 3 * res.PeakError[i]) << i;
        EXPECT_NEAR(std::sqrt(areas[i] + 2 * 60 * 3 * 16), res.PeakError[i], 0.3 * res.PeakError[i]) << i;
        EXPECT_EQ(std::lround(res.PeakChannel[i] - 1.5 * res.PeakFwhm[i]), st->rec.RoiStart[0][i + 1]);
        EXPECT_EQ(std::lround(res.PeakChannel[i] + 1.5 * res.PeakFwhm[i]), st->rec.RoiEnd[0][i + 1]);
        EXPECT_EQ(res.PeakLow[i], st->rec.RoiStart[0][i + 1]);
        EXPECT_NEAR(60.0 * (res.PeakHigh[i] - res.PeakLow[i] + 1), res.PeakBackground[i],
                    0.05 * res.PeakBackground[i]);
    }
    EXPECT_EQ(0, st->rec.RoiEnd[0][0]);
    EXPECT_EQ(0, st->rec.RoiEnd[0][3]);
}

TEST(FitSearch, NearestPeakFitsTheGroupAtTheCursor) {
    auto st = std::make_unique<AppState>();
    setCreationDefaults(st->rec, "/tmp/");
    st->rec.SlotViewChannels[0] = 2048;
    std::mt19937_64 rng(9);
    const std::vector<Line> lines = {{900.0, 12, 9000}, {912.0, 12, 9000}, {1500.0, 14, 40000}};
    const std::vector<double> y = poisson(expected(80.0, lines), rng);
    for (int c = 0; c < kSlotChannels; ++c) st->spectrum.slot[0][c] = int32_t(y[c]);
    FitSearchSettings fit;
    fit.fit = true;
    SpectrumState& sp = st->spectrum;
    sp.CurrentRoi[0] = 4;
    sp.CursorChannel[0] = 914;
    ASSERT_TRUE(measureNearestFit(st->analysis.peaks, st->rec, sp, fit, 0, 3.0, true));
    EXPECT_NEAR(912.0, sp.PeakInfoChannel, 1.0) << "the doublet's second member, not the pair as one";
    EXPECT_NEAR(9000.0, sp.PeakInfoNet, 3 * sp.PeakInfoError);
    EXPECT_EQ(std::lround(sp.PeakInfoChannel - 1.5 * sp.PeakInfoFwhm), st->rec.RoiStart[0][4]);
    EXPECT_EQ(5, sp.CurrentRoi[0]);
    sp.CursorChannel[0] = 1200;   // nothing there
    EXPECT_FALSE(measureNearestFit(st->analysis.peaks, st->rec, sp, fit, 0, 3.0, true));
    EXPECT_EQ(5, sp.CurrentRoi[0]);
}

TEST(FitSearch, ResolutionCurveIsFittedFromTheSpectrumsIsolatedPeaksUnlessGiven) {
    // Twelve peaks whose FWHM^2 = 9 + 0.05 channel (3 channels at 0, 14.6 at 4096).
    const auto width = [](double c) { return std::sqrt(9.0 + 0.05 * c); };
    std::vector<Line> lines;
    for (int i = 0; i < 12; ++i) {
        const double c = 200.0 + 320.0 * i;
        lines.push_back({c, width(c), 20000.0});
    }
    std::mt19937_64 rng(13);
    const std::vector<double> y = poisson(expected(120.0, lines), rng);
    FitSearchOptions o;
    FitSearchResult r = fitSearch(y.data(), kN, o);
    EXPECT_TRUE(r.curveFitted);
    for (double c : {300.0, 2000.0, 3700.0}) EXPECT_NEAR(width(c), r.curve.fwhm(c), 0.04 * width(c)) << c;
    EXPECT_EQ(12u, r.peaks.size());

    o.curveGiven = true;
    o.curve = ResolutionCurve{25.0, 0.02};
    r = fitSearch(y.data(), kN, o);
    EXPECT_FALSE(r.curveFitted);
    EXPECT_DOUBLE_EQ(25.0, r.curve.a);
    EXPECT_DOUBLE_EQ(0.02, r.curve.b);
}

TEST(FitSearch, FreeWidthsGiveEachPeakItsOwnWidthTiedOnesShareOne) {
    std::mt19937_64 rng(17);
    const std::vector<Line> lines = {{1000, 8, 30000}, {1022, 14, 40000}};
    const std::vector<double> y = poisson(expected(100.0, lines), rng);
    FitSearchOptions o;
    o.curveGiven = true;
    o.curve = ResolutionCurve::constant(10.0);
    o.freeWidth = true;
    FitSearchResult r = fitSearch(y.data(), kN, o);
    ASSERT_EQ(2u, r.peaks.size());
    EXPECT_NEAR(8.0, r.peaks[0].fit.fwhm, 3 * r.peaks[0].fit.fwhmError);
    EXPECT_NEAR(14.0, r.peaks[1].fit.fwhm, 3 * r.peaks[1].fit.fwhmError);
    EXPECT_GT(r.peaks[0].fit.fwhmError, 0.0);
    o.freeWidth = false;
    r = fitSearch(y.data(), kN, o);
    ASSERT_GE(r.peaks.size(), 2u);
    for (const FoundPeak& p : r.peaks) {
        EXPECT_DOUBLE_EQ(10.0, p.fit.fwhm) << "an operator's curve: every width is the curve's";
        EXPECT_DOUBLE_EQ(0.0, p.fit.fwhmError);
    }
}

TEST(FitSearch, SettingsKeepTheChoiceAndOnlyAWholeCurve) {
    ProgramSettings s;
    FitSearchSettings f = FitSearchSettings::read(s);
    EXPECT_FALSE(f.fit) << "the standard search by default";
    EXPECT_FALSE(f.freeWidth);
    EXPECT_FALSE(f.curveGiven);
    f.fit = true;
    f.freeWidth = true;
    f.curveGiven = true;
    f.a = 12.5;
    f.b = 0.031;
    f.write(s);
    EXPECT_EQ(QByteArray("peak.fit.a=12.5\npeak.fit.b=0.031\npeak.fit.width=free\npeak.search=fit\n"),
              s.serialise());
    const FitSearchSettings back = FitSearchSettings::read(s);
    EXPECT_TRUE(back.fit && back.freeWidth && back.curveGiven);
    EXPECT_DOUBLE_EQ(12.5, back.a);
    EXPECT_DOUBLE_EQ(0.031, back.b);
    s.setValue(QStringLiteral("peak.fit.b"), QStringLiteral("wide"));
    s.setValue(QStringLiteral("peak.search"), QStringLiteral("fitting"));
    EXPECT_FALSE(FitSearchSettings::read(s).curveGiven) << "half a curve is no curve";
    EXPECT_FALSE(FitSearchSettings::read(s).fit) << "an unknown search is the standard one";
}
