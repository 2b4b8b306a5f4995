// The first session of the README, step by step, against the simulated instrument: the beam at
// stage (0, 0) sees mostly Ti; one live measurement while the stage visits the Fe disc, the Cu
// ring and the Zn triangle gives a spectrum with the Fe, Cu and Zn K lines.

#include "scan/SetupScanPage.h"
#include "spectrum/McaPage.h"
#include "support/Harness.h"

#include <QTabWidget>
#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;

namespace {

// Counts in a line's channels (10 eV per channel at 2048 channels) over the counts of the same
// width on both sides.
double lineOverBackground(const AppState& st, int centre) {
    auto sum = [&st](int from, int to) {
        double s = 0;
        for (int c = from; c <= to; ++c) s += st.spectrum.slot[0][c];
        return s;
    };
    const double line = sum(centre - 4, centre + 4);
    const double side = (sum(centre - 40, centre - 32) + sum(centre + 32, centre + 40)) / 2.0;
    return line / (side > 1.0 ? side : 1.0);
}

void ticks(Harness& h, int seconds) {
    for (int ms = 0; ms < seconds * 1000; ms += 800) h.tick1(800);
}

constexpr int kTiKa = 451, kFeKa = 640, kCuKa = 805, kZnKa = 864;

}  // namespace

TEST(FirstSession, TheReadmeRouteGivesASpectrumWithTheFeCuAndZnLines) {
    Harness h;
    h.form().SpeedButton20->click();   // 1. connect
    ASSERT_EQ(1, h.st().Online);
    McaPage& mca = *h.form().MCAcollect;
    SetupScanPage& stage = *h.form().Setup2DSCAN;

    // At (0, 0) a short measurement shows Ti and none of the three.
    mca.Edit14->setText(QStringLiteral("500"));
    mca.Button5->click();
    ticks(h, 6);
    EXPECT_GT(lineOverBackground(h.st(), kTiKa), 3.0);
    for (int line : {kFeKa, kCuKa, kZnKa}) EXPECT_LT(lineOverBackground(h.st(), line), 1.5) << line;
    mca.Button3->click();   // CLEAR

    // 2. Setup SCAN page: steps X 1.8 and Y 4.5, ▶ and ▲: the Fe disc.
    h.form().PageMaster->setCurrentIndex(TForm9::kSetupScan);
    stage.Edit80->setText(QStringLiteral("1.8"));
    stage.Edit79->setText(QStringLiteral("4.5"));
    stage.Button28->click();
    stage.Button26->click();
    ticks(h, 4);
    EXPECT_EQ(QStringLiteral("    1.8000\r"), stage.Edit123->text());
    EXPECT_EQ(QStringLiteral("    4.5000\r"), stage.Edit122->text());

    // 3. MCA page: live preset 4500 (45 s), START; 15 s on each region.
    h.form().PageMaster->setCurrentIndex(TForm9::kMca);
    mca.Edit14->setText(QStringLiteral("4500"));
    mca.Button5->click();
    ticks(h, 15);
    h.form().PageMaster->setCurrentIndex(TForm9::kSetupScan);
    stage.Edit80->setText(QStringLiteral("3.7"));   // X ▶ 3.7: the Cu ring at (5.5, 4.5)
    stage.Button28->click();
    ticks(h, 15);
    EXPECT_EQ(QStringLiteral("    5.5000\r"), stage.Edit123->text());
    stage.Edit80->setText(QStringLiteral("0.9"));   // X ◀ 0.9, Y ▼ 3.2: the Zn triangle
    stage.Edit79->setText(QStringLiteral("3.2"));
    stage.Button29->click();
    stage.Button27->click();
    ticks(h, 4);
    EXPECT_EQ(QStringLiteral("    4.6000\r"), stage.Edit123->text());
    EXPECT_EQ(QStringLiteral("    1.3000\r"), stage.Edit122->text());
    h.form().PageMaster->setCurrentIndex(TForm9::kMca);
    ticks(h, 20);

    EXPECT_EQ(4500, h.st().spectrum.slot[0][0]) << "the preset is reached";
    for (int line : {kFeKa, kCuKa, kZnKa}) EXPECT_GT(lineOverBackground(h.st(), line), 3.0) << line;
}
