// The line tables read from the X-ray data library: what the X-ray and γ-ray tables hold, the
// search by energy, and lines the library cannot give.

#include "analysis/LineTable.h"

#include <gtest/gtest.h>
#include <cmath>

using namespace qor;

namespace {

const SpectralLine* find(const std::vector<SpectralLine>& lines, const char* name) {
    for (const SpectralLine& l : lines)
        if (l.name == name) return &l;
    return nullptr;
}

}  // namespace

TEST(LineTable, XrayTableHoldsSodiumToUraniumWithMergedLinesAndShares) {
    const LineTable& t = LineTable::xray();
    ASSERT_EQ(82u, t.sources().size());
    EXPECT_EQ("Na", t.sources().front().name);
    EXPECT_EQ("U", t.sources().back().name);
    const int fe = t.findSource("Fe");
    ASSERT_GE(fe, 0);
    const auto k = t.linesOf(fe, LineFamily::K);
    ASSERT_GE(k.size(), 2u);
    // Kα is KL2 and KL3 merged at their weighted energy, the family's strongest line.
    EXPECT_EQ("Kα", k[0].name);
    EXPECT_EQ("Fe Kα", k[0].label);
    EXPECT_NEAR(6.400, k[0].energyKeV, 0.003);
    EXPECT_DOUBLE_EQ(1.0, k[0].relative);
    const SpectralLine* kb = find(k, "Kβ");
    ASSERT_TRUE(kb);
    EXPECT_NEAR(7.058, kb->energyKeV, 0.003);
    EXPECT_NEAR(0.13, kb->relative, 0.03);
    // Lead: L lines with Lβ1 about half of Lα, and its M lines.
    const int pb = t.findSource("Pb");
    const auto l = t.linesOf(pb, LineFamily::L);
    EXPECT_NEAR(10.55, find(l, "Lα")->energyKeV, 0.02);
    EXPECT_NEAR(12.61, find(l, "Lβ1")->energyKeV, 0.02);
    EXPECT_GT(find(l, "Lβ1")->relative, 0.3);
    EXPECT_LT(find(l, "Lβ1")->relative, 0.9);
    EXPECT_NEAR(2.345, t.linesOf(pb, LineFamily::M).at(0).energyKeV, 0.01);
}

TEST(LineTable, GammaTableHoldsTheTenRadionuclidesWithXAndGammaLines) {
    const LineTable& t = LineTable::gamma();
    ASSERT_EQ(10u, t.sources().size());
    const int cs = t.findSource("137Cs");
    ASSERT_GE(cs, 0);
    const auto g = t.linesOf(cs, LineFamily::Gamma);
    ASSERT_FALSE(g.empty());
    EXPECT_NEAR(661.657, g[0].energyKeV, 0.01);
    EXPECT_NEAR(0.85, g[0].perDecay, 0.01);
    EXPECT_EQ("137Cs γ 661.66", g[0].label);
    // 55Fe decays to Mn: its X lines are manganese K lines.
    const auto x = t.linesOf(t.findSource("55Fe"), LineFamily::X);
    ASSERT_FALSE(x.empty());
    EXPECT_EQ("55Fe Mn Kα", x[0].label);
    EXPECT_NEAR(5.895, x[0].energyKeV, 0.005);
}

TEST(LineTable, LinesNearAnEnergyComeNearestFirst) {
    const LineTable& t = LineTable::xray();
    const auto near = t.linesNear(6.45, 0.1);
    ASSERT_GE(near.size(), 2u);
    for (size_t i = 1; i < near.size(); ++i)
        EXPECT_LE(std::fabs(near[i - 1].energyKeV - 6.45), std::fabs(near[i].energyKeV - 6.45));
    for (const SpectralLine& l : near) EXPECT_LE(std::fabs(l.energyKeV - 6.45), 0.1);
    bool fe = false, mn = false;
    for (const SpectralLine& l : near) {
        fe = fe || l.label == "Fe Kα";
        mn = mn || l.label == "Mn Kβ";
    }
    EXPECT_TRUE(fe && mn);
}

TEST(LineTable, LinesTheLibraryCannotGiveAreEmptyListsWithoutAnyMessage) {
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    // Read afresh from the library: sodium has K lines only (no M shell to speak of).
    const auto sodium = elementLinesFromLibrary(11);
    ASSERT_FALSE(sodium.empty());
    for (const SpectralLine& l : sodium) EXPECT_EQ(LineFamily::K, l.family) << l.label;
    EXPECT_TRUE(elementLinesFromLibrary(0).empty());
    EXPECT_TRUE(elementLinesFromLibrary(200).empty());
    EXPECT_EQ("", elementSymbol(0));
    const LineTable& t = LineTable::xray();
    const int na = t.findSource("Na");
    EXPECT_TRUE(t.linesOf(na, LineFamily::M).empty());     // sodium has no M lines
    EXPECT_FALSE(t.linesOf(na, LineFamily::K).empty());
    EXPECT_TRUE(t.linesNear(500.0, 1.0).empty());          // beyond every X line
    EXPECT_TRUE(t.linesNear(6.4, -1.0).empty());
    EXPECT_TRUE(t.linesOf(-1).empty());
    EXPECT_TRUE(t.linesOf(1000).empty());
    EXPECT_EQ(-1, t.findSource("Xx"));
    LineTable::gamma();
    EXPECT_EQ("", testing::internal::GetCapturedStdout());
    EXPECT_EQ("", testing::internal::GetCapturedStderr());
}
