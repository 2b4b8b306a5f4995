// The spectrum view's readouts, checked by what they say and where they stand.

#include "app/TextCodec.h"
#include "spectrum/SpectrumView.h"
#include "spectrum/ViewReadouts.h"

#include <gtest/gtest.h>
#include <cstring>
#include <memory>

using namespace qor;

namespace {

struct View {
    std::unique_ptr<SpectrumState> sp = std::make_unique<SpectrumState>();
    std::unique_ptr<InfoRecord> rec = std::make_unique<InfoRecord>();
    ViewReadouts out;
    View() {
        sp->PlotWidth = 999;
        sp->PlotHeight = 559;
        sp->ViewStartChannel = 512;
        sp->ViewChannelSpan = 1024;
        sp->ViewEndChannel = 1535;
        for (int s = 0; s < 3; ++s) rec->SlotViewChannels[s] = 2048;
    }
    void format() { formatViewReadouts(*sp, *rec, out); }
};

std::string text(const ViewReadout& r) { return r.text; }

}  // namespace

TEST(ViewReadouts, ScaleWindowCursorAndTimesSayTheirValues) {
    View v;
    v.sp->slot[0][0] = 300;
    v.sp->slot[0][1] = 312;
    v.sp->slot[0][640] = 1234;
    v.sp->CursorChannel[0] = 640;
    v.rec->CalibOrder[0] = 0;
    v.rec->CalibA[0] = 0.0;
    v.rec->CalibB[0] = 0.01;
    storeSjis(v.rec->EnergyUnit[0], QStringLiteral("keV"));
    v.format();
    EXPECT_EQ("VFS=LOG          ", text(v.out.scale));
    EXPECT_EQ("512    ", text(v.out.start));
    EXPECT_EQ("1535  ", text(v.out.end));
    EXPECT_EQ("ch= 640     cnt=    1234         6.400 [keV]", text(v.out.cursor));
    EXPECT_TRUE(v.out.cursorUnitAscii);
    EXPECT_EQ("Livetime   300   ", text(v.out.live));
    EXPECT_EQ("Realtime   312   ", text(v.out.real));
    EXPECT_EQ(3, v.out.scale.x);
    EXPECT_EQ(2, v.out.scale.y);
    EXPECT_EQ(4, v.out.start.x);
    EXPECT_EQ(559 - 28, v.out.start.y);
    EXPECT_EQ(999 - 32, v.out.end.x);
    EXPECT_EQ(50, v.out.cursor.x);
    EXPECT_EQ(999 - 100, v.out.live.x);
    EXPECT_EQ(4, v.out.live.y);
    EXPECT_EQ(20, v.out.real.y);
    EXPECT_FALSE(v.out.peakShown);

    // Linear scale, the WORK slot with a quadratic calibration, the cursor of that slot.
    v.sp->FullScale = 1000;
    v.sp->ViewSlot = 2;
    v.sp->slot[2][0] = -5;
    v.sp->slot[2][100] = 77;
    v.sp->CursorChannel[2] = 100;
    v.rec->CalibOrder[2] = 1;
    v.rec->CalibA[2] = 1.0;
    v.rec->CalibB[2] = 0.5;
    v.rec->CalibC[2] = 0.001;
    storeSjis(v.rec->EnergyUnit[2], QStringLiteral("eV"));
    v.format();
    EXPECT_EQ("VFS=    1000   ", text(v.out.scale));
    EXPECT_EQ("ch= 100     cnt=      77        61.000 [eV]", text(v.out.cursor));
    EXPECT_EQ("Livetime    -5   ", text(v.out.live));
}

TEST(ViewReadouts, CursorOutsideTheSlotAndAUnitOutsideAsciiStayInsideTheirBuffers) {
    View v;
    v.sp->CursorChannel[0] = 9000;
    v.sp->slot[0][4095] = 99999999;
    storeSjis(v.rec->EnergyUnit[0], QStringLiteral("キロ電子ボルト"));
    v.format();
    EXPECT_FALSE(v.out.cursorUnitAscii);
    EXPECT_EQ("ch=4095     cnt=99999999         0.000 [", text(v.out.cursor));
    // A unit of 15 printable characters fills its field; only 15 are shown.
    storeSjis(v.rec->EnergyUnit[0], QStringLiteral("ABCDEFGHIJKLMNO"));
    v.format();
    EXPECT_EQ("ch=4095     cnt=99999999         0.000 [ABCDEFGHIJKLMNO]", text(v.out.cursor));
    // Control characters are not printable either: DEL and a tab are left out like SJIS.
    for (const char* unit : {"ke\x7f", "k\teV"}) {
        std::strcpy(v.rec->EnergyUnit[0], unit);
        v.format();
        EXPECT_FALSE(v.out.cursorUnitAscii) << unit;
        EXPECT_EQ("ch=4095     cnt=99999999         0.000 [", text(v.out.cursor));
    }
}

TEST(ViewReadouts, NearestPeakReadoutOnlyOnceAPeakWasMeasured) {
    View v;
    v.sp->PeakInfoChannel = 640.254;
    v.sp->PeakInfoFwhm = 14.5;
    v.sp->PeakInfoNet = 12345.678;
    v.sp->PeakInfoBackground = 210.0;
    v.sp->PeakInfoError = 116.02;
    v.sp->PeakInfoKind = 1;
    v.format();
    EXPECT_FALSE(v.out.peakShown) << "not visible yet";
    v.sp->PeakInfoVisible = 1;
    v.format();
    ASSERT_TRUE(v.out.peakShown);
    EXPECT_EQ("Peak ch =   640.25", text(v.out.peak[0]));
    EXPECT_EQ("FWHM    =    14.50", text(v.out.peak[1]));
    EXPECT_EQ("Net Counts = 12345.68", text(v.out.peak[2]));
    EXPECT_EQ("G.B Counts =   210.00", text(v.out.peak[3]));
    EXPECT_EQ("(+/-)Error =   116.02", text(v.out.peak[4]));
    const int xs[5] = {20, 140, 260, 400, 530};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(xs[i], v.out.peak[i].x);
        EXPECT_EQ(559 - 14, v.out.peak[i].y);
    }
    v.sp->PeakInfoKind = 0;
    v.format();
    EXPECT_FALSE(v.out.peakShown);
}
