// Identification of peaks against the X-ray table: the simulated specimen's element-scan
// spectrum, whole families with their intensity ratios, and escape and sum peaks.

#include "analysis/Identify.h"
#include "analysis/PeakAnalysis.h"
#include "support/SimSpectra.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include <set>

using namespace qor;

namespace {

std::string sourceName(const Identification& id, size_t rank) {
    return LineTable::xray().sources()[id.ranked.at(rank).source].name;
}

PeakInput peak(double e, double net, double fwhm = 0.15) {
    PeakInput p;
    p.energyKeV = e;
    p.channel = e * 100.0;
    p.net = net;
    p.fwhmKeV = fwhm;
    p.error = std::sqrt(net);
    return p;
}

IdentifyOptions options() {
    IdentifyOptions o;
    o.rangeLoKeV = 1.0;
    o.rangeHiKeV = 20.0;
    return o;
}

}  // namespace

// The spectrum an element scan over the whole tile gives, searched as the MCA page's "自" does
// with the settings that suit the specimen, after a two-point calibration on the Ti Kα and Zn
// Kα peaks.
TEST(Identify, ElementScanSpectrumRanksTheSpecimensFiveElementsFirst) {
    auto st = std::make_unique<SpectrumState>();
    elementScanSpectrum(2048, 240.0, 11, st->slot[0]);
    auto rec = std::make_unique<InfoRecord>();
    setCreationDefaults(*rec, "");
    rec->SlotViewChannels[0] = 2048;
    rec->DerivFilterIndex = 6;
    rec->SigmaIndex = 5;
    rec->ExpectedFwhm = 16;
    auto engine = std::make_unique<CMerinCalcc>();
    auto res = std::make_unique<PeakResults>();
    ASSERT_GT(autoPeakSearch(*engine, *res, *rec, *st, 0), 8);
    // Two-point calibration: the peaks nearest channels 451 (Ti Kα) and 864 (Zn Kα).
    auto nearest = [&](double ch) {
        double best = 0.0;
        for (int i = 0; i < res->PeakCount; ++i)
            if (std::fabs(res->PeakChannel[i] - ch) < std::fabs(best - ch)) best = res->PeakChannel[i];
        return best;
    };
    const double ti = nearest(451), zn = nearest(864);
    const double b = (8.639 - 4.511) / (zn - ti);
    const EnergyScale scale = EnergyScale::linear(4.511 - b * ti, b, 2048);
    std::vector<PeakInput> peaks = peaksFromSearch(*res, scale);
    remeasurePeaks(st->slot[0], 2048, scale, peaks);
    IdentifyOptions opt;
    setRangeFromScale(opt, scale);
    const Identification id = identifyPeaks(LineTable::xray(), peaks, opt);

    ASSERT_GE(id.ranked.size(), 5u);
    std::set<std::string> first;
    for (size_t r = 0; r < 5; ++r) first.insert(sourceName(id, r));
    EXPECT_EQ((std::set<std::string>{"Ti", "Fe", "Cu", "Zn", "Pb"}), first);
    // Every assigned peak belongs to the specimen's elements, or to the argon of the air path
    // the beam crosses (in every spectrum, though not in the specimen).
    int assigned = 0;
    for (size_t i = 0; i < peaks.size(); ++i) {
        const PeakAssignment& a = id.peaks[i];
        if (a.role != PeakRole::Line) continue;
        ++assigned;
        const std::string el = LineTable::xray().sources()[LineTable::xray().lines()[a.line].source].name;
        EXPECT_TRUE(el == "Ti" || el == "Fe" || el == "Cu" || el == "Zn" || el == "Pb" || el == "Ar")
            << a.text << " at " << peaks[i].energyKeV << " keV";
    }
    EXPECT_GE(assigned, 10);
    // The main lines by name.
    auto textAt = [&](double e) {
        for (size_t i = 0; i < peaks.size(); ++i)
            if (std::fabs(peaks[i].energyKeV - e) < 0.05) return id.peaks[i].text;
        return std::string("(no peak)");
    };
    EXPECT_EQ("Fe Kα", textAt(6.40));
    EXPECT_EQ("Cu Kα", textAt(8.05));
    EXPECT_EQ("Pb Lα", textAt(10.55));
}

// An element whose strongest line matches but whose other strong lines are missing ranks below
// one whose whole family is there: 10.54 keV is both As Kα and Pb Lα, and only lead's Lβ and Lγ
// stand beside it (arsenic's Kβ at 11.73 keV would hold a sixth of it).
TEST(Identify, AMatchingMainLineWithoutItsFamilyRanksLow) {
    const std::vector<PeakInput> peaks = {peak(10.545, 20000), peak(12.61, 15000),
                                          peak(14.76, 2500), peak(6.40, 30000),
                                          peak(7.06, 4000)};
    const Identification id = identifyPeaks(LineTable::xray(), peaks, options());
    ASSERT_EQ(2u, id.ranked.size());
    EXPECT_EQ((std::set<std::string>{"Fe", "Pb"}),
              (std::set<std::string>{sourceName(id, 0), sourceName(id, 1)}));
    EXPECT_EQ("Pb Lα", id.peaks[0].text);
    // With arsenic's Kβ beside it the same peak is arsenic's.
    const std::vector<PeakInput> alone = {peak(10.545, 20000), peak(11.73, 3000),
                                          peak(6.40, 30000), peak(7.06, 4000)};
    const Identification as = identifyPeaks(LineTable::xray(), alone, options());
    ASSERT_GE(as.ranked.size(), 2u);
    EXPECT_EQ("As Kα", as.peaks[0].text);
    EXPECT_EQ("As Kβ", as.peaks[1].text);
}

// The detector's escape peak (Si Kα less) and the sum peak of two strong lines are named as
// such, and no element is invented for them.
TEST(Identify, EscapeAndSumPeaksAreRecognisedNotTurnedIntoElements) {
    const std::vector<PeakInput> peaks = {peak(6.40, 100000), peak(7.06, 13000),
                                          peak(6.40 - 1.74, 900, 0.14),   // La Lα is at 4.65
                                          peak(12.80, 700, 0.2)};
    const Identification id = identifyPeaks(LineTable::xray(), peaks, options());
    ASSERT_EQ(1u, id.ranked.size());
    EXPECT_EQ("Fe", sourceName(id, 0));
    EXPECT_EQ(PeakRole::Escape, id.peaks[2].role);
    EXPECT_EQ("Fe Kα esc", id.peaks[2].text);
    EXPECT_EQ(PeakRole::Sum, id.peaks[3].role);
    EXPECT_EQ("Fe Kα+Fe Kα sum", id.peaks[3].text);
    // The same weak peaks without their strong parent are lines of elements.
    const Identification alone = identifyPeaks(LineTable::xray(), {peaks[2], peak(5.04, 600)}, options());
    EXPECT_EQ(PeakRole::Line, alone.peaks[0].role) << alone.peaks[0].text;
}
