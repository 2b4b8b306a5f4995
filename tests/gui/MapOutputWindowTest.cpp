// The maps leaving the program, in the running program against the simulated instrument: the
// scan file of a finished and of a stopped scan read back against the CSV files, the live map
// that shows itself (first enabled slot, "auto" scale, colour bar), and the double click that
// moves the stage to a cell.

#include "instrument/SetupPage.h"
#include "scan/MapPicture.h"
#include "scan/Scan2DPage.h"
#include "scan/SetupScanPage.h"
#include "support/Harness.h"
#include "support/ScanSetup.h"
#include "support/Hdf5Read.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTabWidget>
#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;

namespace {

constexpr int kSide = 16;

Scan2DPage& page(Harness& h) { return *h.form().NonStop2Dcollect; }

// A 16 x 16 one-way scan of the specimen tile, slots 1 (Fe) and 2 (Cu), files "run".
void configure(Harness& h) { configureFeCuScan(h, kSide); }

void startScan(Harness& h) {
    h.dialogs.expect({QStringLiteral("exec"), QString(), QDialog::Accepted, nullptr});
    page(h).Button65->click();
    ASSERT_TRUE(h.dialogs.script.empty());
    ASSERT_EQ(2, h.st().ScanMode);
}

template <class Until>
void run(Harness& h, Until until) {
    h.runTimers([&] { return h.st().ScanMode == 2 && !until(); }, 5000);
}

QString onlyFile(Harness& h, const char* pattern) {
    const QStringList l = QDir(h.dir()).entryList({QString::fromLatin1(pattern)}, QDir::Files);
    return l.size() == 1 ? QDir(h.dir()).filePath(l.first()) : QString();
}

// The CSV file's counts, row by row.
std::vector<int32_t> csvCounts(const QString& path) {
    QFile f(path);
    std::vector<int32_t> v;
    if (!f.open(QIODevice::ReadOnly)) return v;
    for (const QByteArray& line : f.readAll().split('\r'))
        for (const QByteArray& field : line.split(','))
            if (!field.trimmed().isEmpty()) v.push_back(field.trimmed().toInt());
    return v;
}

}  // namespace

TEST(MapOutputWindow, ScanFileHoldsWhatTheCsvFilesOfThePassHold) {
    Harness h;
    configure(h);
    page(h).MapTools->CheckAutoPicture->click();   // pictures beside the CSV files too
    startScan(h);
    run(h, [] { return false; });
    ASSERT_EQ(0, h.st().ScanMode);
    ASSERT_TRUE(h.alerts.messages.isEmpty()) << h.alerts.messages.join('|').toStdString();

    const QString file = onlyFile(h, "run-*.h5");
    ASSERT_FALSE(file.isEmpty()) << "one scan file beside the CSV files";
    EXPECT_EQ(file, page(h).sequencer().scanFile().path());
    for (const char* element : {"Fe", "Cu"}) {
        const std::vector<int32_t> csv =
            csvCounts(onlyFile(h, (QByteArray("run-*") + element + ".CSV").constData()));
        ASSERT_EQ(static_cast<size_t>(kSide * kSide), csv.size()) << element;
        const Hdf5Array a = readHdf5(file, (QByteArray("/entry/") + element + "/data").constData());
        ASSERT_TRUE(a.ok) << element;
        EXPECT_EQ((std::vector<uint64_t>{1, kSide, kSide}), a.dims);
        EXPECT_EQ(csv, a.ints) << element << ": cell for cell, row 0 first in both";
    }
    // The pictures of the pass carry the CSV files' names.
    for (const char* element : {"Fe", "Cu"}) {
        QString png = onlyFile(h, (QByteArray("run-*") + element + ".CSV").constData());
        png.replace(QStringLiteral(".CSV"), QStringLiteral(".png"));
        EXPECT_FALSE(QImage(png).isNull()) << png.toStdString();
    }
    EXPECT_EQ(QStringLiteral("complete"), readHdf5String(file, "/entry/scan_state"));
    EXPECT_EQ((std::vector<int32_t>{kSide}), readHdf5(file, "/entry/lines_measured").ints);
    const Hdf5Array xs = readHdf5(file, "/entry/Cu/x");
    ASSERT_EQ(static_cast<size_t>(kSide), xs.reals.size());
    EXPECT_DOUBLE_EQ(0.2, xs.reals.front());
    EXPECT_DOUBLE_EQ(6.2, xs.reals.back());
}

TEST(MapOutputWindow, StoppedScanFileSaysHowManyLinesItHolds) {
    Harness h;
    configure(h);
    startScan(h);
    const ScanRun& run0 = page(h).sequencer().run();
    run(h, [&] { return run0.ScanY == 5 && run0.ScanState == 40 && run0.ScanX > 3; });
    ASSERT_EQ(2, h.st().ScanMode);
    page(h).Button66->click();
    ASSERT_EQ(0, h.st().ScanMode);

    const QString file = page(h).sequencer().scanFile().path();
    ASSERT_TRUE(QFile::exists(file));
    EXPECT_EQ(QStringLiteral("stopped"), readHdf5String(file, "/entry/scan_state"));
    EXPECT_EQ((std::vector<int32_t>{5}), readHdf5(file, "/entry/lines_measured").ints);
    const Hdf5Array a = readHdf5(file, "/entry/Fe/data");
    ASSERT_TRUE(a.ok);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            EXPECT_EQ(h.st().maps.at(0, x, y), a.ints[static_cast<size_t>(y) * kSide + x]);
    EXPECT_EQ(0, a.ints[10 * kSide + 3]) << "lines never scanned hold 0";
}

TEST(MapOutputWindow, LiveMapShowsTheFirstEnabledSlotAndAutoFollowsTheCounts) {
    Harness h;
    configure(h);
    h.st().mapView.MapViewSlot = 7;   // not enabled
    page(h).CheckMapAuto->click();
    EXPECT_TRUE(h.st().settings.boolValue(QStringLiteral("map.autoScale"), false));
    startScan(h);
    EXPECT_EQ(0, h.st().mapView.MapViewSlot) << "the first enabled slot";

    const ScanRun& r = page(h).sequencer().run();
    run(h, [&] { return r.ScanY == 8; });
    h.tick1();
    const int32_t half = largestMapCount(h.st().maps, 0, kSide, kSide);
    EXPECT_GT(half, 0);
    EXPECT_EQ(half, h.st().mapView.MapZMax) << "the MAX rule at the redraw";
    // The colour bar beside the map names the element and spans the scale.
    EXPECT_EQ(QString::number(half), page(h).colourBar().highText());
    EXPECT_EQ(QStringLiteral("0"), page(h).colourBar().lowText());
    const QRect bar = page(h).colourBar().barRect();
    EXPECT_EQ(h.st().mapView.MapGreyScale[127],
              page(h).PaintBoxColourBar->shownImage().pixel(bar.center().x(), bar.top()));
    run(h, [] { return false; });
    h.tick1();
    const int32_t whole = largestMapCount(h.st().maps, 0, kSide, kSide);
    EXPECT_GT(whole, half) << "the Fe disc lies in the upper half";
    EXPECT_EQ(whole, h.st().mapView.MapZMax);
}

TEST(MapOutputWindow, DoubleClickAsksMovesToTheCellCentreAndIsRefusedInAScan) {
    Harness h;
    configure(h);
    Scan2DPage& p = page(h);
    const MapDisplayState& mv = h.st().mapView;
    // The centre of cell (11, 11) on the map image: the Cu ring's band.
    const double cellW = static_cast<double>(mv.DrawExtentX) / kSide;
    const double cellH = static_cast<double>(mv.DrawExtentY) / kSide;
    const int px = static_cast<int>(11.5 * cellW);
    const int py = p.PaintBox2D->height() - 21 - static_cast<int>(11.5 * cellH);
    // Beyond a soft limit: refused before anything is asked.
    h.rec().SoftLimitPlus[0] = 4.0;
    p.PaintBox2DDblClick(px, py);
    ASSERT_EQ(1, h.alerts.messages.size());
    EXPECT_TRUE(h.alerts.messages[0].contains(QStringLiteral("ソフトリミット")))
        << h.alerts.messages[0].toStdString();
    h.rec().SoftLimitPlus[0] = 45.0;

    h.dialogs.expect({QStringLiteral("confirm"), QString(), 1, nullptr});
    p.PaintBox2DDblClick(px, py);
    EXPECT_TRUE(h.dialogs.script.empty()) << "the operator is asked first";
    for (int i = 0; i < 100; ++i) h.tick1();
    EXPECT_NEAR(11.5 * 0.4, h.sim->stageX(), 0.011);
    EXPECT_NEAR(11 * 0.4, h.sim->stageY(), 0.011);

    // In a scan: refused, nothing asked (the fake fails on any dialog not announced).
    startScan(h);
    const int moves = h.sim->faults().calls("KX10Motor_MoveTo_PAddress");
    h.alerts.clear();
    p.PaintBox2DDblClick(px, py);
    EXPECT_EQ(QStringList{StageControl::scanLockText()}, h.alerts.messages);
    EXPECT_EQ(moves, h.sim->faults().calls("KX10Motor_MoveTo_PAddress"));
}
