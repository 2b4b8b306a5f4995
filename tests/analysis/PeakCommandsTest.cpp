// The analysis commands' logic: automatic peak search into ROIs, nearest peak, smoothing into
// WORK, calibration ROI store and recall, and the printed peak report.

#include "analysis/CalibRois.h"
#include "analysis/PeakAnalysis.h"
#include "analysis/PeakReport.h"
#include "analysis/Smoothing.h"
#include "app/AppState.h"
#include "sim/SimSample.h"
#include "spectrum/RoiTable.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>
#include <cmath>
#include <memory>
#include <random>

using namespace qor;
using namespace qor::test;

namespace {

struct Rig {
    std::unique_ptr<AppState> st = std::make_unique<AppState>();
    InfoRecord& rec = st->rec;
    SpectrumState& sp = st->spectrum;
    CMerinCalcc& engine = st->analysis.Merin;
    PeakResults& res = st->analysis.peaks;

    Rig() {
        setCreationDefaults(rec, "/tmp/");
        for (int s = 0; s < 3; ++s) rec.SlotViewChannels[s] = 2048;
        for (int s = 0; s < 3; ++s) sp.CurrentRoi[s] = 1;
    }
    void flat(int s, int32_t v) {
        for (int c = 0; c < kSlotChannels; ++c) sp.slot[s][c] = v;
    }
    void peak(int s, double centre, double fwhm, double height) {
        const double sigma = fwhm / 2.3548;
        for (int c = 0; c < kSlotChannels; ++c) {
            const double d = (c - centre) / sigma;
            if (std::fabs(d) < 8) sp.slot[s][c] += int32_t(std::lround(height * std::exp(-0.5 * d * d)));
        }
    }
};

}  // namespace

TEST(PeakCommands, FilterRowsAndSignificanceFactors) {
    const int rows[7] = {0, 1, 2, 3, 3, 4, 5};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(rows[i], derivFilterRow(i)) << i;
    EXPECT_EQ(-1, derivFilterRow(7));
    EXPECT_EQ(-1, derivFilterRow(-1));
    EXPECT_DOUBLE_EQ(1.5, sigmaFactor(0));
    EXPECT_DOUBLE_EQ(3.0, sigmaFactor(3));
    EXPECT_DOUBLE_EQ(5.0, sigmaFactor(7));
    EXPECT_DOUBLE_EQ(5.0, sigmaFactor(100));
    EXPECT_DOUBLE_EQ(1.5, sigmaFactor(-4));
}

TEST(PeakCommands, AutomaticSearchTurnsEachPeakIntoARoiAndClearsTheRest) {
    Rig r;
    r.flat(0, 40);
    r.peak(0, 640.0, 6, 3000);
    r.peak(0, 805.2, 7, 2500);
    r.peak(0, 2045.0, 6, 3000);   // above the end channel N - 20 = 2028: not searched
    for (int k = 0; k < 100; ++k) r.rec.RoiStart[0][k] = r.rec.RoiEnd[0][k] = 5 + k;
    r.rec.RoiStart[1][3] = 7;
    r.rec.RoiEnd[1][3] = 9;
    r.rec.DerivFilterIndex = 4;   // the 7-point polynomial row
    ASSERT_EQ(2, autoPeakSearch(r.engine, r.res, r.rec, r.sp, 0));
    EXPECT_EQ(2, r.res.PeakCount);
    EXPECT_NEAR(640.0, r.res.PeakChannel[0], 0.3);
    EXPECT_NEAR(805.2, r.res.PeakChannel[1], 0.3);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(r.res.PeakLow[i], r.rec.RoiStart[0][i + 1]) << "peak " << i + 1;
        EXPECT_EQ(r.res.PeakHigh[i], r.rec.RoiEnd[0][i + 1]) << "peak " << i + 1;
        EXPECT_LT(r.rec.RoiStart[0][i + 1], r.res.PeakChannel[i]);
        EXPECT_GT(r.rec.RoiEnd[0][i + 1], r.res.PeakChannel[i]);
    }
    EXPECT_EQ(0, r.rec.RoiEnd[0][0]) << "ROI 0 is cleared";
    for (int k = 3; k < 100; ++k) EXPECT_EQ(0, r.rec.RoiEnd[0][k]) << "ROI " << k;
    EXPECT_EQ(9, r.rec.RoiEnd[1][3]) << "other slots keep their ROIs";
    const double params[5] = {3, 20, 2028, 99, 1.5};
    for (int i = 0; i < 5; ++i) EXPECT_DOUBLE_EQ(params[i], r.res.PeakSearchParams[i]) << i;

    // A flat spectrum: nothing found, every ROI empty, the old results cleared.
    r.flat(0, 40);
    EXPECT_EQ(0, autoPeakSearch(r.engine, r.res, r.rec, r.sp, 0));
    EXPECT_EQ(0.0, r.res.PeakChannel[0]);
    EXPECT_EQ(0, r.res.PeakLow[1]);
    for (int k = 0; k < 100; ++k) EXPECT_EQ(0, r.rec.RoiEnd[0][k]) << "ROI " << k;
}

TEST(PeakCommands, WideSearchMeasuresEachCandidate) {
    Rig r;
    r.flat(0, 30);
    r.peak(0, 500, 40, 3000);
    r.peak(0, 1400, 50, 2000);
    r.rec.PeakWidthIndex = 2;
    r.rec.DerivPoints = 20;
    r.rec.ExpectedFwhm = 40;
    ASSERT_EQ(2, autoPeakSearch(r.engine, r.res, r.rec, r.sp, 0));
    EXPECT_EQ(r.res.PeakCandidate[0], r.res.PeakChannel[0]);
    EXPECT_NEAR(500, r.res.PeakChannel[0], 1);
    EXPECT_NEAR(1400, r.res.PeakChannel[1], 1);
    EXPECT_NEAR(1.0645 * 40 * 3000, r.res.PeakNet[0], 0.15 * 1.0645 * 40 * 3000);
    EXPECT_EQ(r.res.PeakLow[1], r.rec.RoiStart[0][2]);
    EXPECT_EQ(r.res.PeakHigh[1], r.rec.RoiEnd[0][2]);
}

TEST(PeakCommands, TheAdvisedSettingsGiveRoisHoldingTheirPeaksOnTheSimulatedSpecimen) {
    // The first session's spectrum: 15 s each on the Fe disc, the Cu ring and the Zn triangle,
    // 2048 channels. With the settings the README gives (peaks up to 30 channels, expected FWHM
    // 16, 10 derivative points) every automatic ROI of a real line measures the NET that the
    // nearest-peak command measures on it, within 10 %.
    Rig g;
    SimEmission emission(1.0);
    const SimSample sample(0.0, 0.0, 6.4);
    const double at[3][2] = {{1.8, 4.5}, {5.5, 4.5}, {4.6, 1.3}};
    std::vector<double> mean(2048, 0.0);
    for (const auto& p : at) {
        double w[kSimComponents];
        sample.weights(p[0], p[1], w);
        for (int c = 0; c < kSimComponents; ++c)
            for (int i = 0; i < kSimFineChannels; ++i) mean[i / 2] += 15.0 * w[c] * emission.rate(c, i);
    }
    std::mt19937 rng(3);
    for (int c = 0; c < 2048; ++c) g.sp.slot[0][c] = std::poisson_distribution<int32_t>(mean[c])(rng);
    g.rec.PeakWidthIndex = 1;
    g.rec.DerivPoints = 10;
    g.rec.ExpectedFwhm = 16;
    g.rec.SigmaIndex = 5;
    const int count = autoPeakSearch(g.engine, g.res, g.rec, g.sp, 0);
    int lines = 0;
    for (double line : {451.0, 640.0, 805.0, 864.0}) {   // Ti, Fe, Cu, Zn K-alpha
        int r = 0;
        for (int i = 1; i <= count; ++i)
            if (g.rec.RoiStart[0][i] < line && line < g.rec.RoiEnd[0][i]) r = i;
        ASSERT_GT(r, 0) << "a ROI holds the line at " << line;
        const int32_t autoNet =
            roiNetGross(g.sp.slot[0], g.rec.RoiStart[0][r], g.rec.RoiEnd[0][r], 2048).net;
        InfoRecord near = g.rec;
        g.sp.CursorChannel[0] = int32_t(line);
        g.sp.CurrentRoi[0] = 50;
        ASSERT_TRUE(measureNearestPeak(g.engine, g.res, near, g.sp, 0, 4.0, true));
        const int32_t nearNet =
            roiNetGross(g.sp.slot[0], near.RoiStart[0][50], near.RoiEnd[0][50], 2048).net;
        EXPECT_NEAR(nearNet, autoNet, 0.1 * nearNet) << "line at " << line;
        EXPECT_GE(g.rec.RoiEnd[0][r] - g.rec.RoiStart[0][r], 30) << "two FWHM at least";
        ++lines;
    }
    EXPECT_EQ(4, lines);
}

TEST(PeakCommands, RoiEndsOfAPeakNearChannelZeroStayInsideTheSlot) {
    Rig r;
    r.flat(2, 0);
    r.peak(2, 21, 14, 5000);
    ASSERT_EQ(1, autoPeakSearch(r.engine, r.res, r.rec, r.sp, 2));
    EXPECT_LT(r.res.PeakLow[0], 0) << "the peak's own range reaches below channel 0";
    EXPECT_EQ(0, r.rec.RoiStart[2][1]);
    EXPECT_GT(r.rec.RoiEnd[2][1], 21);
}

TEST(PeakCommands, NearestPeakBecomesTheCurrentRoiAndMovesTheNumberOn) {
    Rig r;
    r.flat(0, 50);
    r.peak(0, 805, 16, 4000);
    r.rec.ExpectedFwhm = 16;
    r.sp.CursorChannel[0] = 800;
    r.sp.CurrentRoi[0] = 4;
    ASSERT_TRUE(measureNearestPeak(r.engine, r.res, r.rec, r.sp, 0, 1.5, true));
    EXPECT_EQ(5, r.sp.CurrentRoi[0]);
    EXPECT_EQ(r.res.PeakLow[4], r.rec.RoiStart[0][4]);
    EXPECT_EQ(r.res.PeakHigh[4], r.rec.RoiEnd[0][4]);
    EXPECT_EQ(805, r.sp.PeakInfoChannel);
    EXPECT_EQ(r.res.PeakFwhm[4], r.sp.PeakInfoFwhm);
    EXPECT_EQ(r.res.PeakNet[4], r.sp.PeakInfoNet);
    EXPECT_EQ(r.res.PeakBackground[4], r.sp.PeakInfoBackground);
    EXPECT_EQ(r.res.PeakError[4], r.sp.PeakInfoError);
    EXPECT_NEAR(16, r.sp.PeakInfoFwhm, 2);
    EXPECT_EQ(1, r.sp.PeakInfoKind);
    EXPECT_EQ(1, r.sp.PeakInfoVisible);

    // At ROI 99 the number stays and ROI 99 is overwritten each time.
    r.sp.CurrentRoi[0] = 99;
    ASSERT_TRUE(measureNearestPeak(r.engine, r.res, r.rec, r.sp, 0, 1.5, true));
    EXPECT_EQ(99, r.sp.CurrentRoi[0]);
    EXPECT_EQ(r.res.PeakLow[99], r.rec.RoiStart[0][99]);
    r.rec.RoiEnd[0][99] = 1;
    ASSERT_TRUE(measureNearestPeak(r.engine, r.res, r.rec, r.sp, 0, 1.5, true));
    EXPECT_EQ(99, r.sp.CurrentRoi[0]);
    EXPECT_EQ(r.res.PeakHigh[99], r.rec.RoiEnd[0][99]);

    // The FWHM command only shows.
    r.sp.CurrentRoi[0] = 7;
    r.sp.PeakInfoVisible = 0;
    ASSERT_TRUE(measureNearestPeak(r.engine, r.res, r.rec, r.sp, 0, 3.0, false));
    EXPECT_EQ(7, r.sp.CurrentRoi[0]);
    EXPECT_EQ(0, r.rec.RoiEnd[0][7]);
    EXPECT_EQ(1, r.sp.PeakInfoVisible);
}

TEST(PeakCommands, NoPeakNearTheCursorChangesNoRoi) {
    Rig r;
    r.flat(0, 50);
    r.peak(0, 805, 16, 4000);
    r.rec.ExpectedFwhm = 16;
    r.sp.CursorChannel[0] = 1500;   // flat: net below 10
    r.sp.CurrentRoi[0] = 3;
    r.sp.PeakInfoChannel = 123;
    EXPECT_FALSE(measureNearestPeak(r.engine, r.res, r.rec, r.sp, 0, 1.5, true));
    EXPECT_EQ(3, r.sp.CurrentRoi[0]);
    EXPECT_EQ(0, r.rec.RoiEnd[0][3]);
    EXPECT_EQ(123, r.sp.PeakInfoChannel);
    // A weak peak: its error times the factor exceeds its net counts.
    r.flat(0, 2000);
    r.peak(0, 805, 16, 60);
    r.sp.CursorChannel[0] = 805;
    EXPECT_FALSE(measureNearestPeak(r.engine, r.res, r.rec, r.sp, 0, 3.0, true));
    EXPECT_GT(r.res.PeakNet[3], 10.0);
    EXPECT_GT(r.res.PeakError[3] * 3.0, r.res.PeakNet[3]);
}

TEST(PeakCommands, SmoothingFillsWorkAndCopiesTheChannelsAboveTheSpectrum) {
    Rig r;
    for (int c = 0; c < kSlotChannels; ++c) r.sp.slot[1][c] = (c % 2) ? 300 : 100;
    r.rec.SlotViewChannels[1] = 1024;
    r.rec.SmoothFilter = 0;
    r.rec.SmoothPointsIndex = 0;
    ASSERT_TRUE(smoothToWork(r.engine, r.rec, r.sp, 1));
    const int32_t* work = r.sp.slot[kSlotWork];
    EXPECT_EQ(237, work[500]) << "(17*100 + 12*(300+300) - 3*(100+100)) / 35";
    EXPECT_EQ(r.sp.slot[1][3], work[3]) << "the edges are copied";
    EXPECT_EQ(r.sp.slot[1][1024], work[1024]);
    for (int c : {1025, 2000, 4095}) EXPECT_EQ(r.sp.slot[1][c], work[c]) << c;
    EXPECT_EQ(100, r.sp.slot[1][500]) << "the source slot is unchanged";

    // Moving average with fewer than 2 points: refused, WORK as it was.
    r.rec.SmoothFilter = 2;
    r.rec.SmoothAveragePoints = 1;
    r.sp.slot[kSlotWork][500] = -9;
    EXPECT_FALSE(smoothToWork(r.engine, r.rec, r.sp, 1));
    EXPECT_EQ(-9, r.sp.slot[kSlotWork][500]);
    r.rec.SmoothAveragePoints = 5;
    EXPECT_TRUE(smoothToWork(r.engine, r.rec, r.sp, 1));
    EXPECT_EQ(167, r.sp.slot[kSlotWork][500]) << "(3*100 + 2*300+300 + 2*100+100) / 9, rounded";
}

TEST(PeakCommands, CalibrationRoisAreStoredAndRecalledWithABackup) {
    InfoRecord rec{};
    for (int k = 0; k < 10; ++k) {
        rec.RoiStart[2][k] = 100 * k;
        rec.RoiEnd[2][k] = 100 * k + 20;
    }
    storeCalibRois(rec, 2);
    EXPECT_EQ(0, rec.CalibRoiEnd[2][0]) << "ROI 0 is not a calibration ROI";
    EXPECT_EQ(100, rec.CalibRoiStart[2][1]);
    EXPECT_EQ(820, rec.CalibRoiEnd[2][8]);
    EXPECT_EQ(0, rec.CalibRoiEnd[2][9]);
    for (int k = 1; k <= 8; ++k) rec.RoiEnd[2][k] = 7;
    recallCalibRois(rec, 2);
    EXPECT_EQ(7, rec.RoiBackupEnd[2][3]);
    EXPECT_EQ(320, rec.RoiEnd[2][3]);
    EXPECT_EQ(920, rec.RoiEnd[2][9]) << "ROI 9 is not touched";
    recallCalibRois(rec, 2);
    EXPECT_EQ(320, rec.RoiBackupEnd[2][3]) << "a second recall backs up the calibration ROIs";
    rec.CalibRoiEnd[0][1] = 99999;   // from a damaged file
    recallCalibRois(rec, 0);
    EXPECT_EQ(4095, rec.RoiEnd[0][1]);
}

TEST(PeakReport, LinesHeaderEnergyAndPages) {
    Rig r;
    r.res.PeakCount = 99;
    for (int i = 0; i < 99; ++i) {
        r.res.PeakChannel[i] = 100.5 + i;
        r.res.PeakLow[i] = 90 + i;
        r.res.PeakHigh[i] = 111 + i;
        r.res.PeakFwhm[i] = 4.25;
        r.res.PeakNet[i] = 12345.678;
        r.res.PeakBackground[i] = 321.5;
        r.res.PeakError[i] = 45.25;
    }
    r.rec.CalibA[0] = 0.0;
    r.rec.CalibB[0] = 0.01;
    FakePrinting printing;
    auto job = printing.beginJob(QStringLiteral("Peak Report"));
    printPeakReport(*job, r.res, r.rec, 0);
    job.reset();
    ASSERT_EQ(1u, printing.jobs.size());
    const FakePrinting::Job& j = printing.jobs[0];
    EXPECT_EQ(2, j.pages);
    ASSERT_EQ(2u + 99u, j.texts.size());
    const QString header = QStringLiteral(
        " No.   Peak[ch]   Energy[keV]    Low(ch)-Hi(ch)   FWHM(keV)     Net          BG     "
        "(±)Error    Element");
    int perPage[3] = {0, 0, 0};
    for (const auto& t : j.texts) {
        EXPECT_EQ(QStringLiteral("Terminal"), t.font);
        EXPECT_EQ(150, t.x);
        if (t.text == header) {
            EXPECT_EQ(100, t.y);
        } else {
            ++perPage[t.page];
        }
    }
    EXPECT_EQ(71, perPage[1]);
    EXPECT_EQ(28, perPage[2]);
    EXPECT_EQ(header, j.texts[0].text);
    EXPECT_EQ(QStringLiteral("  1      100.50          0.00        90 -  111      4.25     12345.68       321.50      45.25      undef"),
              j.texts[1].text) << "CalibA 0 prints energy 0.00 although CalibB is set";
    EXPECT_EQ(200, j.texts[1].y);
    EXPECT_EQ(200 + 50 * 70, j.texts[71].y) << "the 71st line";
    EXPECT_EQ(header, j.texts[72].text) << "the 72nd line starts a new page with the header";
    EXPECT_EQ(2, j.texts[72].page);
    EXPECT_EQ(200, j.texts[73].y);
    EXPECT_TRUE(j.texts[73].text.startsWith(QStringLiteral(" 72    ")));

    r.rec.CalibA[0] = 0.5;
    r.rec.CalibC[0] = 1.0;   // the report uses the linear terms only
    EXPECT_NEAR(0.5 + 0.01 * 100.5, peakReportEnergy(r.rec, 0, 100.5), 1e-12);
    EXPECT_EQ(QStringLiteral("  1      100.50          1.51        90 -  111      4.25     12345.68       321.50      45.25      undef"),
              peakReportLine(r.res, r.rec, 0, 0));
}
