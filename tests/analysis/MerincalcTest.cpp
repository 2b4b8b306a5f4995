// The analysis engine: shared storage, tables, polynomial fit, smoothing filters, Gaussian fit,
// narrow and wide peak searches and the peak measurement.

#include "analysis/Merincalc.h"

#include <gtest/gtest.h>
#include <cmath>
#include <random>
#include <vector>

using namespace qor;

namespace {

// Loads channels 0..4095 into the engine (the rest of the input stays 0).
void load(CMerinCalcc& m, const std::vector<int32_t>& counts) {
    for (int c = 0; c < 4096; ++c) m.SetSource(c, c < int(counts.size()) ? counts[c] : 0);
}

std::vector<int32_t> flat(int32_t v) { return std::vector<int32_t>(4096, v); }

// Adds a noiseless Gaussian of `fwhm` channels and `height` counts centred at `centre`.
void addPeak(std::vector<int32_t>& s, double centre, double fwhm, double height) {
    const double sigma = fwhm / 2.3548;
    for (int c = 0; c < int(s.size()); ++c) {
        const double d = (c - centre) / sigma;
        if (std::fabs(d) < 8) s[c] += int32_t(std::lround(height * std::exp(-0.5 * d * d)));
    }
}

struct Found {
    double position[100] = {}, net[100] = {}, background[100] = {}, error[100] = {},
           fwhm[100] = {};
    int32_t low[100] = {}, high[100] = {};
    int32_t count = 0;
};

Found search(CMerinCalcc& m, double row, double first, double end, double maxPeaks, double k) {
    Found f;
    const double params[5] = {row, first, end, maxPeaks, k};
    f.count = m.SearchPeaks(params, f.position, f.net, f.background, f.error, f.fwhm, f.low,
                            f.high);
    return f;
}

Found search(CMerinCalcc& m) { return search(m, 0, 20, 4076, 99, 1.5); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Storage and tables

TEST(Merincalc, TwoHandlesShareOneStateAndReadsOutsideTheInputAreZero) {
    CMerinCalcc a;
    a.SetSource(100, 1234);
    CMerinCalcc b;
    EXPECT_EQ(1234, b.GetSource(100)) << "a second handle reads the first one's input";
    load(a, flat(5));
    EXPECT_EQ(0, a.GetSource(4096)) << "channels at or above 4096 are never loaded";
    EXPECT_EQ(5, a.GetSource(4095));
    a.SetSource(8191, 77);
    EXPECT_EQ(77, b.GetSource(8191)) << "the input has 8192 channels";
    a.SetSource(8191, 0);
    // Outside the array nothing is written and everything reads 0.
    EXPECT_EQ(0, a.SetSource(-1, 99));
    EXPECT_EQ(0, a.SetSource(8192, 99));
    EXPECT_EQ(0, a.GetSource(-1));
    EXPECT_EQ(0, a.GetSource(8192));
    EXPECT_EQ(0, a.GetResult(-5));
    EXPECT_EQ(0, a.GetResult(100000));
}

TEST(Merincalc, FilterRowsSumToZeroAndWeighTheirSquaredCoefficients) {
    for (int r = 0; r < CMerinCalcc::kFilterRows; ++r) {
        const int32_t* c = CMerinCalcc::DerivativeFilterTable[r];
        const int32_t* w = CMerinCalcc::VarianceWeightTable[r];
        int sum = c[0];
        for (int i = 1; i < CMerinCalcc::FilterTaps[r]; ++i) sum += 2 * c[i];
        EXPECT_EQ(0, sum) << "row " << r;
        for (int i = 0; i < CMerinCalcc::FilterTaps[r]; ++i) {
            const int32_t want = (r == 0 && i == 3) ? 0 : c[i] * c[i];   // row 0 weighs tap 3 0
            EXPECT_EQ(want, w[i]) << "row " << r << " tap " << i;
        }
    }
    EXPECT_EQ(-14, CMerinCalcc::DerivativeFilterTable[5][0]);
    EXPECT_EQ(22, CMerinCalcc::DerivativeFilterTable[5][6]);
    const int taps[6] = {4, 5, 7, 4, 5, 7};
    for (int r = 0; r < 6; ++r) EXPECT_EQ(taps[r], CMerinCalcc::FilterTaps[r]);
}

TEST(Merincalc, SmoothingRowsSumToTheirDivisor) {
    const int halves[6] = {3, 4, 5, 3, 4, 5};
    for (int r = 0; r < 6; ++r) {
        double sum = CMerinCalcc::SmoothingTable[r][0];
        for (int k = 1; k < halves[r]; ++k) sum += 2.0 * CMerinCalcc::SmoothingTable[r][k];
        EXPECT_NEAR(CMerinCalcc::SmoothingDivisor[r], sum, r < 3 ? 1e-9 : 0.0015) << "row " << r;
    }
    EXPECT_FLOAT_EQ(0.0545f, CMerinCalcc::SmoothingTable[3][2]);
    EXPECT_FLOAT_EQ(-21.0f, CMerinCalcc::SmoothingTable[2][4]);
    EXPECT_FLOAT_EQ(0.0665f, CMerinCalcc::SmoothingTable[5][3]);
}

// ---------------------------------------------------------------------------------------------
// Polynomial fit

TEST(MerincalcFit, LinearThroughTwoPointsAndHigherPowersReadZero) {
    CMerinCalcc m;
    const double x[2] = {0, 1}, y[2] = {1, 3};
    ASSERT_EQ(0, m.FitPolynomial(x, y, 2, 1));
    double c[5];
    for (int i = 0; i < 5; ++i) m.GetCoefficient(i, c[i]);
    EXPECT_DOUBLE_EQ(1.0, c[0]);
    EXPECT_DOUBLE_EQ(2.0, c[1]);
    EXPECT_EQ(0.0, c[2]);
    EXPECT_EQ(0.0, c[3]);
    CMerinCalcc other;   // made after the fit
    double b = 0;
    other.GetCoefficient(1, b);
    EXPECT_DOUBLE_EQ(2.0, b) << "another handle reads the last fit";
}

TEST(MerincalcFit, ExactCubicIsReproduced) {
    CMerinCalcc m;
    const auto f = [](double x) { return 0.5 - 1.25 * x + 0.75 * x * x + 0.125 * x * x * x; };
    const double x[4] = {-1, 0.5, 2, 3};
    double y[4];
    for (int i = 0; i < 4; ++i) y[i] = f(x[i]);
    ASSERT_EQ(0, m.FitPolynomial(x, y, 4, 3));
    const double want[4] = {0.5, -1.25, 0.75, 0.125};
    for (int i = 0; i < 4; ++i) {
        double c;
        m.GetCoefficient(i, c);
        EXPECT_NEAR(want[i], c, 1e-12) << "power " << i;
    }
}

TEST(MerincalcFit, CubicCalibrationOverTheWholeChannelRangeKeepsItsPrecision) {
    // Six lines between channel 300 and 3900 on a slightly bent energy scale: the normal
    // equations span x^0 .. x^6 (up to 3e21), which plain elimination cannot carry in double.
    CMerinCalcc m;
    const double a = 0.012, b = 0.00498, c = 2.1e-8, d = -3.3e-12;
    const double x[6] = {300, 640, 1288, 1727, 3100, 3900};
    double y[6];
    for (int i = 0; i < 6; ++i) y[i] = a + b * x[i] + c * x[i] * x[i] + d * x[i] * x[i] * x[i];
    ASSERT_EQ(0, m.FitPolynomial(x, y, 6, 3));
    double got[4];
    for (int i = 0; i < 4; ++i) m.GetCoefficient(i, got[i]);
    EXPECT_NEAR(a, got[0], 1e-9);
    EXPECT_NEAR(b, got[1], 1e-12);
    EXPECT_NEAR(c, got[2], 1e-15);
    EXPECT_NEAR(d, got[3], 1e-18);
}

TEST(MerincalcFit, TooFewDistinctPointsAreRefusedAndLeaveZeroCoefficients) {
    CMerinCalcc m;
    const double x2[2] = {0, 1}, y2[2] = {1, 3};
    ASSERT_EQ(0, m.FitPolynomial(x2, y2, 2, 1));
    const double x[3] = {640, 640, 640}, y[3] = {6.4, 6.4, 6.4};
    EXPECT_EQ(-1, m.FitPolynomial(x, y, 1, 1)) << "one point, two coefficients";
    EXPECT_EQ(-1, m.FitPolynomial(x, y, 3, 1)) << "three equal channels are one point";
    EXPECT_EQ(-1, m.FitPolynomial(x, y, 0, 0)) << "no point at all";
    const double xq[3] = {100, 200, 200}, yq[3] = {1, 2, 2};
    EXPECT_EQ(-1, m.FitPolynomial(xq, yq, 3, 2)) << "two distinct channels, three coefficients";
    for (int i = 0; i < 4; ++i) {
        double v = 1.0;
        m.GetCoefficient(i, v);
        EXPECT_EQ(0.0, v) << "a refused fit leaves no coefficient, power " << i;
    }
    const double xn[2] = {100, 200}, yn[2] = {1, std::nan("")};
    EXPECT_EQ(-1, m.FitPolynomial(xn, yn, 2, 1)) << "a value that is not a number";
    EXPECT_EQ(-1, m.FitPolynomial(x2, y2, 2, 16)) << "beyond the matrix";
    EXPECT_EQ(0, m.FitPolynomial(xq, yq, 3, 1)) << "two distinct channels carry a line";
}

// ---------------------------------------------------------------------------------------------
// Smoothing

TEST(MerincalcSmooth, ConstantSpectraThroughEachKind) {
    CMerinCalcc m;
    load(m, flat(100));
    ASSERT_EQ(0, m.Smooth(0, 5, 2048));
    for (int c : {0, 6, 1000, 2041, 2048}) EXPECT_EQ(100, m.GetResult(c)) << c;
    ASSERT_EQ(0, m.Smooth(2, 5, 2048));
    for (int c : {6, 1000, 2041}) EXPECT_EQ(100, m.GetResult(c)) << c;
    // The Gaussian rows truncate after every step.
    const int want[3] = {98, 99, 98};
    const int points[3] = {5, 7, 9};
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(0, m.Smooth(1, points[i], 2048));
        EXPECT_EQ(want[i], m.GetResult(1000)) << points[i] << " points";
    }
    load(m, flat(1));
    ASSERT_EQ(0, m.Smooth(1, 5, 2048));
    EXPECT_EQ(0, m.GetResult(1000));
    EXPECT_EQ(1, m.GetResult(5)) << "edges are copied";
}

TEST(MerincalcSmooth, SpikeThroughTheFixedWeightsIsAsymmetric) {
    CMerinCalcc m;
    std::vector<int32_t> s(4096, 0);
    s[500] = 90;
    load(m, s);
    ASSERT_EQ(0, m.Smooth(2, 3, 4096));
    EXPECT_EQ(0, m.GetResult(497));
    EXPECT_EQ(20, m.GetResult(498));
    EXPECT_EQ(20, m.GetResult(499));
    EXPECT_EQ(30, m.GetResult(500));
    EXPECT_EQ(10, m.GetResult(501));
    EXPECT_EQ(10, m.GetResult(502));
    EXPECT_EQ(0, m.GetResult(503));
}

TEST(MerincalcSmooth, EdgesAreCopiedAndTheMiddleSmoothed) {
    CMerinCalcc m;
    std::vector<int32_t> s(4096);
    for (int c = 0; c < 4096; ++c) s[c] = (c % 2) ? 1000 : 0;   // alternating: smoothing changes it
    load(m, s);
    ASSERT_EQ(0, m.Smooth(0, 9, 2048));
    for (int c = 0; c <= 9; ++c) EXPECT_EQ(s[c], m.GetResult(c)) << c;
    for (int c = 2039; c <= 2048; ++c) EXPECT_EQ(s[c], m.GetResult(c)) << c;
    for (int c : {10, 11, 1000, 2037, 2038}) EXPECT_NE(s[c], m.GetResult(c)) << c;
}

TEST(MerincalcSmooth, TooFewPointsWriteNothingAndOtherWidthsKeepTheLastRow) {
    CMerinCalcc m;
    load(m, flat(100));
    ASSERT_EQ(0, m.Smooth(0, 5, 2048));
    load(m, flat(7));
    EXPECT_EQ(-1, m.Smooth(2, 1, 2048));
    EXPECT_EQ(-1, m.Smooth(0, -3, 2048));
    EXPECT_EQ(100, m.GetResult(1000)) << "nothing written";
    EXPECT_EQ(100, m.GetResult(0));
    // Kind 1 with 7 points, then kind 1 with 6 points: the 7-point row stays in force.
    load(m, flat(100));
    ASSERT_EQ(0, m.Smooth(1, 7, 2048));
    ASSERT_EQ(0, m.Smooth(1, 6, 2048));
    EXPECT_EQ(99, m.GetResult(1000));
    // Huge widths and channel counts stay inside the arrays.
    EXPECT_EQ(0, m.Smooth(2, 1000000, 4096));
    EXPECT_EQ(0, m.Smooth(0, 5, 100000));
}

// ---------------------------------------------------------------------------------------------
// Gaussian fit

TEST(MerincalcGaussian, DegenerateShapesGiveNoWidth) {
    CMerinCalcc m;
    double w = -1, h = -1, a = -1;
    m.FitGaussian(100.3, 100, 1, 1, 1, 1, w, h, a);
    EXPECT_EQ(0.0, w);
    EXPECT_EQ(0.0, h);
    EXPECT_EQ(0.0, a);
    m.FitGaussian(100.0, 100, 0, 0, 0, 0, w, h, a);
    EXPECT_EQ(0.0, w) << "zeros count as ones";
    EXPECT_EQ(0.0, a);
    // Upward-opening log-parabola: 20, 10, 20, 80.
    m.FitGaussian(100.0, 100, 20, 10, 20, 80, w, h, a);
    EXPECT_EQ(0.0, w);
    EXPECT_EQ(0.0, a);
}

TEST(MerincalcGaussian, GaussianValuesGiveTheirWidthAndArea) {
    CMerinCalcc m;
    const auto g = [](double x, double x0, double fwhm, double h) {
        const double s = fwhm / 2.3548;
        return h * std::exp(-0.5 * (x - x0) * (x - x0) / (s * s));
    };
    double w, h, a;
    m.FitGaussian(200.4, 200, g(199, 200.4, 6, 1000), g(200, 200.4, 6, 1000),
                  g(201, 200.4, 6, 1000), g(202, 200.4, 6, 1000), w, h, a);
    EXPECT_NEAR(6.0, w, 0.01);
    EXPECT_NEAR(1000.0, h, 1.0);
    EXPECT_NEAR(1.064 * w * h, a, 1e-9);
    // 30 channels wide: the width is not believed, the area stays.
    m.FitGaussian(200.0, 200, g(199, 200, 30, 1000), g(200, 200, 30, 1000),
                  g(201, 200, 30, 1000), g(202, 200, 30, 1000), w, h, a);
    EXPECT_EQ(0.0, w);
    EXPECT_NEAR(1.064 * 30 * 1000, a, 30.0);
}

// ---------------------------------------------------------------------------------------------
// Narrow search

TEST(MerincalcSearch, FlatSpectrumHasNoPeak) {
    CMerinCalcc m;
    load(m, flat(500));
    EXPECT_EQ(0, search(m).count);
    load(m, flat(0));
    EXPECT_EQ(0, search(m).count);
}

TEST(MerincalcSearch, OneAndTwoIsolatedPeaksAreFoundOnceEach) {
    CMerinCalcc m;
    std::vector<int32_t> s = flat(50);
    addPeak(s, 1000.3, 5, 2000);
    load(m, s);
    Found one = search(m);
    ASSERT_EQ(1, one.count);
    EXPECT_NEAR(1000.3, one.position[0], 0.1);
    EXPECT_NEAR(5.0, one.fwhm[0], 0.3);
    EXPECT_NEAR(1.064 * 5 * 2000, one.net[0], 600);
    EXPECT_LT(one.low[0], 995);
    EXPECT_GT(one.high[0], 1005);
    EXPECT_GT(one.background[0], 0);
    EXPECT_GT(one.error[0], std::sqrt(one.net[0]));

    addPeak(s, 2500.0, 7, 800);
    load(m, s);
    Found two = search(m);
    ASSERT_EQ(2, two.count);
    EXPECT_NEAR(1000.3, two.position[0], 0.1);
    EXPECT_NEAR(2500.0, two.position[1], 0.1);
}

TEST(MerincalcSearch, AFilterStillSignificantAboveTheMinimumGivesOnePeak) {
    // A wide, tall peak keeps the narrow filter significant on its flanks: the filter rises
    // from its minimum and stays below the threshold for several channels.
    CMerinCalcc m;
    std::vector<int32_t> s = flat(20);
    addPeak(s, 1500, 9, 50000);
    load(m, s);
    Found f = search(m);
    ASSERT_EQ(1, f.count);
    EXPECT_NEAR(1500, f.position[0], 0.2);
}

TEST(MerincalcSearch, ADoubletInsideOneRunGivesTwoPeaks) {
    // Two narrow peaks 3 channels apart: the filter stays significant between them but dips
    // twice.
    CMerinCalcc m;
    std::vector<int32_t> s = flat(20);
    addPeak(s, 1200, 3, 20000);
    addPeak(s, 1203, 3, 20000);
    load(m, s);
    Found f = search(m);
    for (int ch = 1199; ch <= 1204; ++ch) {
        m.FilterAt(ch, 1.5);   // with the search's filter row
        ASSERT_LT(m.filterValue(), m.filterThreshold()) << "one run, channel " << ch;
    }
    ASSERT_EQ(2, f.count);
    EXPECT_NEAR(1200, f.position[0], 0.5);
    EXPECT_NEAR(1203, f.position[1], 0.5);
}

TEST(MerincalcSearch, NoisyPeaksAreFoundOnceAndLieInsideTheirRois) {
    // Poisson spectra of broad and narrow peaks at a low significance (2.0 sigma, a few noise
    // peaks per spectrum): the filter wiggles inside each dip and noise splits its run, yet no
    // peak gives two entries, nearly all give one, and every entry (noise peaks included) lies
    // inside its own ROI.
    CMerinCalcc m;
    const double centres[4] = {600.0, 1500.4, 2400.7, 3300.2};
    const double widths[4] = {9.5, 8.0, 4.0, 10.0};
    int entriesOnPeaks = 0;
    for (int seed = 1; seed <= 200; ++seed) {
        std::mt19937 rng(seed);
        std::vector<double> mean(4096, 150.0);
        for (int i = 0; i < 4; ++i) {
            const double sigma = widths[i] / 2.3548;
            for (int c = 0; c < 4096; ++c) {
                const double d = (c - centres[i]) / sigma;
                mean[c] += 400.0 * std::exp(-0.5 * d * d);
            }
        }
        std::vector<int32_t> s(4096);
        for (int c = 0; c < 4096; ++c) s[c] = std::poisson_distribution<int32_t>(mean[c])(rng);
        load(m, s);
        const Found f = search(m, 0, 20, 4076, 99, 2.0);
        ASSERT_LT(f.count, 99);
        for (int i = 0; i < 4; ++i) {
            int near = 0;
            for (int j = 0; j < f.count; ++j)
                near += std::fabs(f.position[j] - centres[i]) <= 0.5 * widths[i];
            EXPECT_LE(near, 1) << "seed " << seed << ", peak at " << centres[i];
            entriesOnPeaks += near;
        }
        for (int j = 0; j < f.count; ++j) {
            EXPECT_GE(f.position[j], f.low[j] - 1.0) << "seed " << seed << " entry " << j;
            EXPECT_LE(f.position[j], f.high[j] + 1.0) << "seed " << seed << " entry " << j;
        }
    }
    // A peak of 10 channels is wider than the 7-point filter is made for: its dip is shallow
    // against the filter's noise, and a few of the 200 are lost to a noise dip beside them.
    EXPECT_GE(entriesOnPeaks, 795) << "of 800";
}

namespace {

// The candidate channels of the plain search loop (every run of significant channels followed
// to its deepest channel, taken where the filter turns upward, the next channel passed over, or
// where the next run starts), over channels lo..hi, with the filter row of the last search.
std::vector<int> plainLoopCandidates(CMerinCalcc& m, int lo, int hi, double k) {
    std::vector<int> out;
    int cand = -100;
    int64_t candValue = 0;
    bool waiting = false;
    for (int ch = lo; ch <= hi; ++ch) {
        m.FilterAt(ch, k);
        const int64_t F = m.filterValue();
        if (!(double(F) < m.filterThreshold())) continue;
        if (cand + 1 != ch) {
            if (waiting) out.push_back(cand);
        } else if (F > candValue) {
            out.push_back(cand);
            cand = ch++;
            candValue = F;
            waiting = false;
            continue;
        }
        cand = ch;
        candValue = F;
        waiting = true;
    }
    if (waiting) out.push_back(cand);
    return out;
}

}  // namespace

TEST(MerincalcSearch, FindsAtLeastThePeaksThePlainLoopFindsInEveryFilterAndSignificance) {
    // A strong peak with a weak neighbour 1.5-2 FWHM beside it, and two equal peaks 1.5 FWHM
    // apart: wide filters merge each pair into one dip. Whenever a candidate of the plain loop
    // lies on a true peak, the search reports that peak, and no peak is reported twice.
    CMerinCalcc m;
    int plainFound = 0;
    for (int row = 0; row < 6; ++row) {
        for (double k : {1.5, 3.0, 5.0}) {
            for (int seed = 1; seed <= 12; ++seed) {
                std::mt19937 rng(seed * 31 + row);
                const double w = 3.0 + (seed % 3) * 0.5;
                const double centres[4] = {1000.0, 1000.0 + (1.5 + 0.05 * seed) * w, 2000.0,
                                           2000.0 + 1.5 * w};
                const double heights[4] = {3000.0, 300.0 + 40.0 * seed, 2000.0, 2000.0};
                std::vector<double> mean(4096, 100.0);
                for (int i = 0; i < 4; ++i)
                    for (int c = 0; c < 4096; ++c) {
                        const double d = (c - centres[i]) / (w / 2.3548);
                        mean[c] += heights[i] * std::exp(-0.5 * d * d);
                    }
                std::vector<int32_t> s(4096);
                for (int c = 0; c < 4096; ++c)
                    s[c] = std::poisson_distribution<int32_t>(mean[c])(rng);
                load(m, s);
                const Found f = search(m, row, 900, 2100, 99, k);
                ASSERT_LT(f.count, 99);
                const std::vector<int> plain = plainLoopCandidates(m, 900, 2100, k);
                for (int i = 0; i < 4; ++i) {
                    bool plainHas = false;
                    for (int c : plain) plainHas = plainHas || std::fabs(c - centres[i]) <= 1.0;
                    int reported = 0;
                    for (int j = 0; j < f.count; ++j)
                        reported += std::fabs(f.position[j] - centres[i]) < 0.5 * w;
                    EXPECT_LE(reported, 1) << "row " << row << " k " << k << " seed " << seed
                                           << " peak " << centres[i];
                    if (!plainHas) continue;
                    ++plainFound;
                    EXPECT_EQ(1, reported) << "row " << row << " k " << k << " seed " << seed
                                           << " peak " << centres[i];
                }
            }
        }
    }
    EXPECT_GT(plainFound, 200) << "the plain loop sees most of the peaks";
}

TEST(MerincalcSearch, StopsAtTheEndChannelAndTheMaximumCount) {
    CMerinCalcc m;
    std::vector<int32_t> s = flat(30);
    for (int i = 0; i < 30; ++i) addPeak(s, 100 + 130 * i, 4, 3000);
    load(m, s);
    EXPECT_EQ(30, search(m).count);
    EXPECT_EQ(5, search(m, 0, 20, 4076, 5, 1.5).count);
    EXPECT_EQ(10, search(m, 0, 20, 100 + 130 * 9 + 1, 99, 1.5).count) << "end is included";
    EXPECT_EQ(30, search(m, 0, 20, 4076, 1e9, 1.5).count) << "a huge maximum";
    // A row outside the table searches nothing and keeps the last count.
    Found none = search(m, 6, 20, 4076, 99, 1.5);
    EXPECT_EQ(30, none.count);
    EXPECT_EQ(0.0, none.position[0]) << "writes nothing";
    EXPECT_EQ(30, search(m, -1, 20, 4076, 99, 1.5).count);
}

TEST(MerincalcSearch, EveryFilterRowFindsAnIsolatedPeakOnce) {
    CMerinCalcc m;
    std::vector<int32_t> s = flat(40);
    addPeak(s, 2000.0, 6, 5000);
    load(m, s);
    for (int row = 0; row < 6; ++row) {
        Found f = search(m, row, 20, 4076, 99, 3.0);
        ASSERT_EQ(1, f.count) << "row " << row;
        EXPECT_NEAR(2000.0, f.position[0], 0.3) << "row " << row;
    }
}

TEST(MerincalcSearch, PeaksAtTheLowEndReadNothingBelowChannelZero) {
    CMerinCalcc m;
    std::vector<int32_t> s = flat(10);
    addPeak(s, 24, 6, 8000);
    load(m, s);
    Found f = search(m);
    ASSERT_EQ(1, f.count);
    EXPECT_NEAR(24, f.position[0], 0.3);
    EXPECT_TRUE(std::isfinite(f.net[0]) && std::isfinite(f.background[0]));
}

TEST(MerincalcSearch, NegativeBackgroundGivesErrorZero) {
    // A WORK difference: a positive peak on a negative baseline makes the value under the
    // error's square root negative.
    CMerinCalcc m;
    std::vector<int32_t> s = flat(-200);
    addPeak(s, 1500, 5, 3000);
    load(m, s);
    Found f = search(m);
    ASSERT_GE(f.count, 1);
    int at = -1;
    for (int i = 0; i < f.count; ++i)
        if (std::fabs(f.position[i] - 1500) < 1) at = i;
    ASSERT_GE(at, 0);
    EXPECT_GT(f.net[at], 0);
    EXPECT_LT(f.background[at], 0);
    EXPECT_EQ(0.0, f.error[at]);
}

// ---------------------------------------------------------------------------------------------
// Wide search and peak measurement

TEST(MerincalcWide, CandidatesSitOnThePeaksAndStopAt99) {
    CMerinCalcc m;
    std::vector<int32_t> s = flat(20);
    addPeak(s, 700, 30, 4000);
    addPeak(s, 1900, 40, 2500);
    load(m, s);
    int32_t out[100] = {};
    ASSERT_EQ(2, m.FindPeakCandidates(10, 0, 20, 4076, out));
    EXPECT_NEAR(700, out[0], 1);
    EXPECT_NEAR(1900, out[1], 1);
    EXPECT_GT(m.GetResult(690), 0) << "the derivative rises below the peak";
    EXPECT_LT(m.GetResult(710), 0);
    EXPECT_EQ(0, m.GetResult(10)) << "below the first channel the output is cleared";
    EXPECT_EQ(0, m.FindPeakCandidates(10, 100, 20, 4076, out)) << "rising runs are shorter";

    std::vector<int32_t> many = flat(0);
    for (int i = 0; i < 150; ++i) addPeak(many, 30 + 26 * i, 6, 1000);
    load(m, many);
    int32_t big[100];
    for (int32_t& v : big) v = -7;
    EXPECT_EQ(99, m.FindPeakCandidates(6, 0, 20, 4076, big));
    EXPECT_EQ(-7, big[99]) << "nothing written past the 99th candidate";
}

TEST(MerincalcMeasure, APeakGivesItsChannelWidthAndNetCounts) {
    CMerinCalcc m;
    std::vector<int32_t> s = flat(100);
    addPeak(s, 1200, 16, 5000);
    load(m, s);
    int32_t p, lo, hi;
    double net, bg, fwhm, err;
    ASSERT_EQ(0, m.MeasurePeak(16, 1195, 2048, p, lo, hi, net, bg, fwhm, err));
    EXPECT_EQ(1200, p);
    EXPECT_LT(lo, 1190);
    EXPECT_GT(hi, 1210);
    EXPECT_NEAR(16.0, fwhm, 1.5);
    EXPECT_NEAR(100.0 * (hi - lo + 1), bg, 200);
    EXPECT_NEAR(1.0645 * 16 * 5000, net, 0.12 * 1.0645 * 16 * 5000);
    EXPECT_NEAR(std::sqrt(0.5 * (hi - lo + 1) * bg + net + bg), err, 1e-9);
}

TEST(MerincalcMeasure, ExpectedWidthZeroStaysOnTheStartChannel) {
    CMerinCalcc m;
    std::vector<int32_t> s = flat(100);
    addPeak(s, 1200, 16, 5000);
    load(m, s);
    int32_t p, lo, hi;
    double net, bg, fwhm, err;
    EXPECT_EQ(-1, m.MeasurePeak(0, 1195, 2048, p, lo, hi, net, bg, fwhm, err));
    EXPECT_EQ(1195, p);
    EXPECT_GE(lo, 1194);
    EXPECT_LE(hi, 1196);
    EXPECT_EQ(0.0, fwhm);
}

TEST(MerincalcMeasure, ReadsNearTheEndsStayInsideTheInput) {
    CMerinCalcc m;
    std::vector<int32_t> s = flat(0);
    addPeak(s, 3, 4, 1000);
    load(m, s);
    int32_t p, lo, hi;
    double net, bg, fwhm, err;
    m.MeasurePeak(12, 0, 4096, p, lo, hi, net, bg, fwhm, err);
    EXPECT_GE(lo, 2);
    EXPECT_TRUE(std::isfinite(net) && std::isfinite(err) && std::isfinite(fwhm));
    m.MeasurePeak(2000000000, 4095, 4096, p, lo, hi, net, bg, fwhm, err);
    EXPECT_TRUE(std::isfinite(net) && std::isfinite(err));
    m.MeasurePeak(-50, 10, 4096, p, lo, hi, net, bg, fwhm, err);
    EXPECT_TRUE(std::isfinite(net) && std::isfinite(err));
}
