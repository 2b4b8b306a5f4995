// Element scans in the running program against the simulated instrument: set on the 元素SCAN
// page, advanced by Timer2 with the manual clock while Timer1 shows the growing spectrum on the
// MCA page; the tool-bar labels, the stop, and the exclusion of the mapping scan.

#include "scan/ElementScanPage.h"
#include "scan/Scan2DPage.h"
#include "sim/SimSupport.h"
#include "support/Harness.h"

#include <QTabWidget>
#include <algorithm>
#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;

namespace {

ElementScanPage& page(Harness& h) { return *h.form().TabSheet1; }

// Connects and sets the rectangle on the page's boxes: X 0..6.4, Y 0..6.2 step 0.2 over the
// specimen tile (100 pulses per unit), X at the page's default 100 pulses/s.
void configure(Harness& h) {
    h.form().SpeedButton20->click();
    ASSERT_EQ(1, h.st().Online);
    h.alerts.clear();
    ElementScanPage& p = page(h);
    p.Edit150->setText(QStringLiteral("0"));
    p.Edit151->setText(QStringLiteral("0"));
    p.Edit138->setText(QStringLiteral("6.4"));
    p.Edit148->setText(QStringLiteral("6.2"));
    p.Edit152->setText(QStringLiteral("0.2"));
    ASSERT_EQ(100, h.rec().ElemScanSpeedPps);
    h.form().PageMaster->setCurrentIndex(TForm9::kElementScan);
}

// Runs Timer2 at its period, and Timer1 every 800 ms, while the element scan is armed and
// `until` does not hold, at most `maxTicks` Timer2 ticks. Returns the ticks run.
template <class Until>
int run(Harness& h, Until until, int maxTicks = 5000) {
    return h.runTimers([&] { return page(h).elementScanArmed() && !until(); }, maxTicks);
}

int64_t channels(Harness& h, int first, int last) {
    int64_t s = 0;
    for (int c = first; c <= last; ++c) s += h.st().spectrum.slot[0][c];
    return s;
}

bool shown(QLabel* l) { return l->isVisibleTo(l->parentWidget()); }

bool xMoving(Harness& h) { return simtest::moving(*h.sim, '2', 0); }

}  // namespace

TEST(ElementScanWindow, ASweepOfTheSpecimenShowsItsElementLinesInOneSpectrum) {
    Harness h;
    configure(h);
    page(h).Button80->click();
    EXPECT_EQ(3, h.st().ScanMode);
    EXPECT_EQ(TForm9::kMca, h.form().PageMaster->currentIndex()) << "the spectrum is watched there";
    EXPECT_EQ(QStringLiteral("元素Scan中"), h.form().RunName1->text());
    EXPECT_EQ(QStringLiteral("元素Scan中"), h.form().RunName2->text());
    EXPECT_TRUE(h.alerts.messages.isEmpty());

    // The labels take turns every five ticks.
    run(h, [] { return false; }, 5);
    EXPECT_TRUE(shown(h.form().RunName1));
    EXPECT_FALSE(shown(h.form().RunName2));
    run(h, [] { return false; }, 5);
    EXPECT_FALSE(shown(h.form().RunName1));
    EXPECT_TRUE(shown(h.form().RunName2));

    // Mid-sweep the spectrum grows on every acquisition tick while the stage travels.
    run(h, [&h] { return h.sim->stageY() > 3.0; });
    const int64_t before = channels(h, 2, 2047);
    const double x0 = h.sim->stageX();
    run(h, [] { return false; }, 8);
    EXPECT_GT(channels(h, 2, 2047), before);
    EXPECT_NE(x0, h.sim->stageX());
    EXPECT_TRUE(h.sim->mca(1)->measuring());

    double yMax = 0.0;
    run(h, [&h, &yMax] {
        yMax = std::max(yMax, h.sim->stageY());
        return false;
    });
    EXPECT_DOUBLE_EQ(6.4, yMax) << "the last stroke lies at the first Y beyond Y end";
    EXPECT_EQ(0, h.st().ScanMode);
    EXPECT_FALSE(h.sim->mca(1)->measuring()) << "the MCA is stopped at the end";
    EXPECT_FALSE(shown(h.form().RunName1));
    EXPECT_FALSE(shown(h.form().RunName2));
    EXPECT_EQ(250, h.form().Timer2->interval());
    EXPECT_TRUE(h.alerts.messages.isEmpty()) << h.alerts.messages.join("\n").toStdString();
    // The stage returns to the start corner.
    for (int i = 0; i < 600 && (xMoving(h) || simtest::moving(*h.sim, '2', 1)); ++i)
        h.clock.advance(100);
    EXPECT_EQ(0, simtest::paddress(*h.sim, '2', 0));
    EXPECT_EQ(0, simtest::paddress(*h.sim, '2', 1));
    EXPECT_EQ(0.0, h.sim->stageX());

    // The final spectrum as the MCA page shows it: the lines of all five elements stand well
    // above the continuum beside them (10 eV per channel at 2048 channels).
    h.tick1();
    // 33 strokes of 6.4 s (Y 0 to 6.2 and the one beyond), in ticks of 10 ms.
    EXPECT_GT(h.st().spectrum.slot[0][1], 33 * 640) << "real time covers every stroke";
    struct Line { const char* name; int first, last; };
    const Line lines[] = {{"Ti Ka", 440, 462}, {"Fe Ka", 628, 652}, {"Cu Ka", 793, 817},
                          {"Zn Ka", 852, 876}, {"Pb La", 1040, 1070}};
    for (const Line& l : lines) {
        const int width = l.last - l.first + 1;
        const int64_t peak = channels(h, l.first, l.last);
        const int64_t beside = channels(h, l.first - width, l.first - 1);
        EXPECT_GT(peak, 1000) << l.name;
        EXPECT_GT(peak, 3 * beside / 2) << l.name << ": " << peak << " vs " << beside;
    }
}

TEST(ElementScanWindow, AbortMidStrokeStopsTheMcaAndTheStrokeRunsToItsEnd) {
    Harness h;
    configure(h);
    page(h).Button80->click();
    run(h, [&h] { return h.sim->stageX() > 3.0 && xMoving(h); });
    ASSERT_TRUE(h.sim->mca(1)->measuring());
    const double y = h.sim->stageY();
    page(h).Button87->click();
    EXPECT_EQ(0, h.st().ScanMode);
    EXPECT_FALSE(page(h).elementScanArmed());
    EXPECT_FALSE(h.sim->mca(1)->measuring()) << "stopped at once";
    EXPECT_FALSE(shown(h.form().RunName1));
    EXPECT_FALSE(shown(h.form().RunName2));
    EXPECT_TRUE(xMoving(h)) << "the motors are not halted";
    for (int i = 0; i < 40; ++i) h.tick2();
    EXPECT_FALSE(xMoving(h));
    const int32_t x = simtest::paddress(*h.sim, '2', 0);
    EXPECT_TRUE(x == 0 || x == 640) << x;
    EXPECT_EQ(y, h.sim->stageY()) << "no further Y step";
}

TEST(ElementScanWindow, TheMappingScanCannotStartWhileTheElementScanRunsAndItsStopEndsIt) {
    Harness h;
    configure(h);
    page(h).Button80->click();
    run(h, [&h] { return xMoving(h) && h.sim->stageX() > 1.0; });
    Scan2DPage& scan2d = *h.form().NonStop2Dcollect;
    scan2d.Button65->click();   // no confirmation dialog may be asked
    EXPECT_EQ(QStringList{"すでに自動測定中なので実行できません"}, h.alerts.messages);
    EXPECT_EQ(3, h.st().ScanMode);
    EXPECT_TRUE(h.sim->mca(1)->measuring());

    // Stop SCAN of the 2D SCAN page ends the element scan too: on the next tick its MCA is
    // stopped and the running labels go away.
    run(h, [&h] { return shown(h.form().RunName1) || shown(h.form().RunName2); });
    scan2d.Button66->click();
    EXPECT_EQ(0, h.st().ScanMode);
    h.tick2();
    EXPECT_FALSE(page(h).elementScanArmed());
    EXPECT_FALSE(h.sim->mca(1)->measuring());
    EXPECT_FALSE(shown(h.form().RunName1));
    EXPECT_FALSE(shown(h.form().RunName2));
    EXPECT_EQ(250, h.form().Timer2->interval());
}

TEST(ElementScanWindow, AFailedXStatusReadShowsInErrViewAndTheStrokeGoesOn) {
    Harness h;
    configure(h);
    page(h).Button80->click();
    run(h, [&h] { return page(h).sequencer().run().ElemScanState == 40; });
    h.sim->faults().fail("KX10Motor_Get_Status");
    const int beeps = h.alerts.beeps;
    h.tick2();
    EXPECT_EQ(QStringLiteral("ERR ROI status"), h.form().NonStop2Dcollect->ErrView->text());
    EXPECT_EQ(beeps + 1, h.alerts.beeps);
    EXPECT_EQ(40, page(h).sequencer().run().ElemScanState);
    run(h, [&h] { return page(h).sequencer().run().ElemScanState == 50; });
    EXPECT_EQ(3, h.st().ScanMode);
    EXPECT_TRUE(h.alerts.messages.isEmpty());
}

TEST(ElementScanWindow, CornerButtonsDriveTheStageToEitherCorner) {
    Harness h;
    configure(h);
    page(h).Button89->click();
    for (int i = 0; i < 100 && (xMoving(h) || simtest::moving(*h.sim, '2', 1)); ++i)
        h.clock.advance(100);
    EXPECT_EQ(640, simtest::paddress(*h.sim, '2', 0));
    EXPECT_EQ(620, simtest::paddress(*h.sim, '2', 1));
    page(h).Button88->click();
    for (int i = 0; i < 100 && (xMoving(h) || simtest::moving(*h.sim, '2', 1)); ++i)
        h.clock.advance(100);
    EXPECT_EQ(0, simtest::paddress(*h.sim, '2', 0));
    EXPECT_EQ(0, simtest::paddress(*h.sim, '2', 1));
}
