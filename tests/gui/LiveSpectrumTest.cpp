// The live spectrum against the simulated instrument: connect, START, watch it grow, preset end.

#include "spectrum/McaPage.h"
#include "spectrum/SpectrumPlot.h"
#include "spectrum/ViewReadouts.h"
#include "support/Harness.h"

#include <QPalette>
#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;

namespace {

QColor base(QLineEdit* e) { return e->palette().color(QPalette::Base); }

int64_t total(const AppState& st, int from, int to) {
    int64_t sum = 0;
    for (int c = from; c <= to; ++c) sum += st.spectrum.slot[0][c];
    return sum;
}

}  // namespace

TEST(LiveSpectrum, ConnectStartGrowAndStopAtThePreset) {
    Harness h;
    h.alerts.clear();
    h.form().SpeedButton20->click();
    ASSERT_EQ(1, h.st().Online) << h.alerts.messages.join(" | ").toStdString();
    EXPECT_TRUE(h.form().qorON->isVisibleTo(&h.form()));
    ASSERT_FALSE(h.alerts.statusTexts.isEmpty());
    EXPECT_EQ(10, h.alerts.statusTexts.last().size()) << "the version text";
    EXPECT_TRUE(h.alerts.messages.isEmpty());

    McaPage& p = *h.form().MCAcollect;
    // Offline the tick drew nothing; online with a fresh MCA the spectrum is read.
    p.ComboBox3->setCurrentIndex(4);
    p.ComboBox3Change();   // 4096 channels, MCA1 selected
    p.Edit14->setText(QStringLiteral("300"));   // 3 s live preset
    p.Button5->click();
    EXPECT_TRUE(h.alerts.messages.isEmpty()) << h.alerts.messages.join(" | ").toStdString();

    h.tick1();
    EXPECT_EQ(QColor(Qt::yellow), base(p.Edit14));
    const int64_t early = total(h.st(), 2, 4095);
    const int32_t live1 = h.st().spectrum.slot[0][0];
    const int32_t real1 = h.st().spectrum.slot[0][1];
    EXPECT_GT(early, 0);
    EXPECT_GT(real1, 0);
    EXPECT_LE(live1, real1) << "live time trails real time";

    h.tick1();
    EXPECT_GT(total(h.st(), 2, 4095), early) << "the spectrum grows with time";

    for (int i = 0; i < 6; ++i) h.tick1();
    EXPECT_EQ(QColor(Qt::white), base(p.Edit14)) << "the preset is reached";
    EXPECT_EQ(300, h.st().spectrum.slot[0][0]) << "live preset ends on its value";
    const int64_t done = total(h.st(), 2, 4095);
    h.tick1();
    EXPECT_EQ(done, total(h.st(), 2, 4095)) << "nothing more after the preset";

    // CLEAR empties the MCA; the next tick shows it.
    p.Button3->click();
    h.tick1();
    EXPECT_EQ(0, total(h.st(), 0, 4095));
    EXPECT_EQ(1, h.st().Online);
}

TEST(LiveSpectrum, RoiOnAPeakShowsGrowingGrossAndNet) {
    Harness h;
    h.form().SpeedButton20->click();
    ASSERT_EQ(1, h.st().Online);
    McaPage& p = *h.form().MCAcollect;
    p.Edit14->setText(QStringLiteral("100000"));
    p.Button5->click();
    h.tick1();
    // Mark the strongest channel's surroundings as ROI 1 with two SET presses.
    int peak = 20;
    for (int c = 20; c < 2000; ++c)
        if (h.st().spectrum.slot[0][c] > h.st().spectrum.slot[0][peak]) peak = c;
    h.st().spectrum.CursorChannel[0] = peak - 12;
    p.Button9->click();
    h.st().spectrum.CursorChannel[0] = peak + 12;
    p.Button9->click();
    EXPECT_EQ(peak - 12, h.rec().RoiStart[0][1]);
    EXPECT_EQ(peak + 12, h.rec().RoiEnd[0][1]);
    h.tick1();
    const long grs1 = p.Edit24->text().toLong();
    const long net1 = p.Edit23->text().toLong();
    EXPECT_GT(grs1, 0);
    EXPECT_GT(net1, 0) << "a peak stands above its background";
    for (int i = 0; i < 3; ++i) h.tick1();
    EXPECT_GT(p.Edit24->text().toLong(), grs1);
    EXPECT_GT(p.Edit23->text().toLong(), net1);
}

TEST(LiveSpectrum, AStartThatCannotRunSaysWhyOnTheStatusBar) {
    Harness h;
    McaPage& p = *h.form().MCAcollect;
    h.alerts.clear();
    p.Button5->click();
    ASSERT_FALSE(h.alerts.statusTexts.isEmpty()) << "offline";
    EXPECT_TRUE(h.alerts.statusTexts.last().startsWith(QStringLiteral("オフラインです")));

    h.form().SpeedButton20->click();
    ASSERT_EQ(1, h.st().Online);
    p.Edit14->setText(QStringLiteral("4.5s"));
    h.alerts.clear();
    p.Button5->click();
    ASSERT_EQ(1, h.alerts.statusTexts.size());
    EXPECT_TRUE(h.alerts.statusTexts[0].startsWith(QStringLiteral("プリセット値「4.5s」を読めません")))
        << h.alerts.statusTexts[0].toStdString();
    EXPECT_EQ(1, h.alerts.beeps);
    EXPECT_FALSE(h.sim->mca(h.rec().Mca1HexSw)->measuring()) << "nothing was started";

    p.Edit14->setText(QStringLiteral(" 450 "));
    p.CheckBox13->setChecked(false);
    h.alerts.clear();
    p.Button5->click();
    ASSERT_EQ(1, h.alerts.statusTexts.size());
    EXPECT_TRUE(h.alerts.statusTexts[0].startsWith(QStringLiteral("MCA1 が選ばれていません")));
    p.CheckBox13->setChecked(true);
    p.Button5->click();
    EXPECT_TRUE(h.sim->mca(h.rec().Mca1HexSw)->measuring()) << "a number with blanks starts";
}

TEST(LiveSpectrum, OfflineTickDoesNotTouchTheSlot) {
    Harness h;
    const int32_t before = h.st().spectrum.slot[0][100];
    h.tick1();
    EXPECT_EQ(before, h.st().spectrum.slot[0][100]);
}

TEST(LiveSpectrum, ReadErrorTakesTheProgramOffline) {
    Harness h;
    h.form().SpeedButton20->click();
    ASSERT_EQ(1, h.st().Online);
    h.sim->faults().failAlways("KX10MCA_ReadSEQ");
    h.alerts.clear();
    h.tick1();
    EXPECT_EQ(0, h.st().Online);
    EXPECT_EQ(QStringList{"MCA Read error"}, h.alerts.messages);
    h.alerts.clear();
    h.tick1();
    EXPECT_TRUE(h.alerts.messages.isEmpty()) << "offline ticks do no instrument work";
}

// What the MCA page's readouts say after a measurement, and that the picture carries exactly
// those texts at their places (each compared with the same text drawn alone).
TEST(LiveSpectrum, TheReadoutsOfTheViewSayTheMeasurement) {
    Harness h;
    h.form().SpeedButton20->click();
    ASSERT_EQ(1, h.st().Online);
    McaPage& p = *h.form().MCAcollect;
    p.Edit14->setText(QStringLiteral("200"));
    p.Button5->click();
    for (int i = 0; i < 4; ++i) h.tick1();
    p.SpeedButton3->click();   // leaves the logarithmic scale through the automatic scale
    const SpectrumState& sp = h.st().spectrum;
    ViewReadouts r;
    formatViewReadouts(sp, h.rec(), r);
    EXPECT_EQ("Livetime   200   ", std::string(r.live.text));
    EXPECT_EQ(std::string("Realtime") + QByteArray::number(sp.slot[0][1]).rightJustified(6).constData() +
                  "   ",
              std::string(r.real.text));
    EXPECT_GT(sp.slot[0][1], 200) << "real time runs ahead of live time";
    char scale[32];
    std::snprintf(scale, sizeof scale, "VFS=%8d   ", sp.FullScale);
    EXPECT_EQ(std::string(scale), std::string(r.scale.text));
    EXPECT_NE(0, sp.FullScale);
    const int c = sp.CursorChannel[0];
    char cursor[96];
    std::snprintf(cursor, sizeof cursor, "ch=%4d     cnt=%8d         0.000 [keV]", c, sp.slot[0][c]);
    EXPECT_EQ(std::string(cursor), std::string(r.cursor.text));

    const GlyphAtlas atlas{QFont()};
    for (const ViewReadout* t : {&r.scale, &r.start, &r.end, &r.cursor, &r.live, &r.real}) {
        // The window's end label at W - 32 runs past the right edge: compare what is inside.
        const int w = std::min(atlas.width(t->text), p.SPCImage.width() - t->x);
        QImage alone(atlas.width(t->text), atlas.height(), QImage::Format_RGB32);
        alone.fill(kViewBackground);
        atlas.drawAscii(alone, 0, 0, t->text);
        alone = alone.copy(0, 0, w, atlas.height());
        EXPECT_EQ(alone, p.SPCImage.copy(t->x, t->y, w, atlas.height())) << t->text;
    }
}
