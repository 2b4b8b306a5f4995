// The scan file read back through the HDF5 library: the maps of the enabled slots cell for cell
// in [z][row][column] order, the axes in mm, the settings, the line table, and planes written
// earlier kept when a later plane is written.

#include "app/FieldText.h"
#include "app/TextCodec.h"
#include "scan/ScanHdf5.h"
#include "support/Hdf5Read.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;

namespace {

// A 5 x 3 scan, 40 pulses per pixel at 100 pulses per mm, slots 1 (Fe) and 3 (Zn) enabled.
InfoRecord scanRecord(const QString& folder) {
    InfoRecord r{};
    storeSjis(r.SaveFolder, folder + QLatin1Char('/'));
    storeSjis(r.ScanFileName, QStringLiteral("run"));
    r.MapPixelsX = r.ScanXSteps = 5;
    r.MapPixelsY = r.ScanYSteps = 3;
    r.ScanXPixelPulses = 40;
    r.ScanYPixelPulses = 20;
    r.ScanXSpeedPps = 400;
    r.ScanMethod = 1;
    r.ScanRepeat = 1;
    r.MotorLogicalPulses[0] = r.MotorLogicalPulses[1] = r.MotorLogicalPulses[2] = 100;
    r.MapRoiEnabled[0] = r.MapRoiEnabled[2] = 1;
    storeSjis(r.MapRoiElementName[0], QStringLiteral("Fe"));
    storeSjis(r.MapRoiElementName[1], QStringLiteral("Cu"));
    storeSjis(r.MapRoiElementName[2], QStringLiteral("Zn"));
    r.RoiStart[0][3] = 850;
    r.RoiEnd[0][3] = 878;
    r.MapRoiKind[2] = 0;
    r.MapRoiKind[0] = 1;
    r.MapChannelIndex = 3;
    return r;
}

LineTime someTime() {
    LineTime t;
    const int32_t v[6] = {2026, 12, 9, 10, 4, 5};
    std::copy(v, v + 6, t.v);
    return t;
}

QDateTime at(int minute) { return QDateTime(QDate(2026, 12, 9), QTime(10, minute, 0)); }

}  // namespace

TEST(ScanHdf5, FileHoldsTheEnabledSlotsWithAxesSettingsAndLines) {
    QTemporaryDir dir;
    const InfoRecord r = scanRecord(dir.path());
    MapStore maps;
    maps.clear();
    for (int s = 0; s < 3; ++s)
        for (int x = 0; x < 5; ++x)
            for (int y = 0; y < 3; ++y) maps.at(s, x, y) = 1000 * s + 10 * y + x;
    ScanHdf5File f;
    f.beginScan(r, at(0));
    const WriteOutcome out =
        f.writePass(maps, someTime(), 0, 0, 3, ScanFileState::Complete, at(7));
    ASSERT_TRUE(out.ok()) << out.error.toStdString();
    const QString path = dir.filePath(QStringLiteral("run-20261209-100405.h5"));
    EXPECT_EQ(path, f.path());

    // The maps: Fe (slot 0) and Zn (slot 2); Cu is not enabled.
    for (auto [group, slot] : {std::pair{"/entry/Fe/data", 0}, std::pair{"/entry/Zn/data", 2}}) {
        const Hdf5Array a = readHdf5(path, group);
        ASSERT_TRUE(a.ok) << group;
        EXPECT_EQ((std::vector<uint64_t>{1, 3, 5}), a.dims);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(maps.at(slot, x, y), a.ints[static_cast<size_t>(y) * 5 + x])
                    << group << " " << x << "," << y;
    }
    EXPECT_FALSE(readHdf5(path, "/entry/Cu/data").ok);

    // What a viewer needs to open it without help.
    EXPECT_EQ(QStringLiteral("entry"), readHdf5Attr(path, "/", "default"));
    EXPECT_EQ(QStringLiteral("NXentry"), readHdf5Attr(path, "/entry", "NX_class"));
    EXPECT_EQ(QStringLiteral("Fe"), readHdf5Attr(path, "/entry", "default"));
    EXPECT_EQ(QStringLiteral("NXdata"), readHdf5Attr(path, "/entry/Zn", "NX_class"));
    EXPECT_EQ(QStringLiteral("data"), readHdf5Attr(path, "/entry/Zn", "signal"));
    EXPECT_EQ((QStringList{".", "y", "x"}), readHdf5AttrList(path, "/entry/Zn", "axes"));
    EXPECT_TRUE(readHdf5Attr(path, "/entry/Zn/data", "row_order").startsWith("row 0 is the first line scanned"));
    const Hdf5Array xs = readHdf5(path, "/entry/Zn/x");
    const Hdf5Array ys = readHdf5(path, "/entry/Zn/y");
    EXPECT_EQ((std::vector<double>{0.2, 0.6, 1.0, 1.4, 1.8}), xs.reals) << "pixel centres, mm";
    EXPECT_EQ((std::vector<double>{0.0, 0.2, 0.4}), ys.reals) << "line positions, mm";
    EXPECT_EQ(QStringLiteral("mm"), readHdf5Attr(path, "/entry/Zn/x", "units"));

    // Program, times, prefix, state, lines, settings, the map ROI.
    EXPECT_EQ(QStringLiteral("qor10"), readHdf5String(path, "/entry/program_name"));
    EXPECT_EQ(QStringLiteral("0.10"), readHdf5Attr(path, "/entry/program_name", "version"));
    EXPECT_TRUE(readHdf5String(path, "/entry/start_time").startsWith("2026-12-09T10:00:00"));
    EXPECT_TRUE(readHdf5String(path, "/entry/end_time").startsWith("2026-12-09T10:07:00"));
    EXPECT_EQ(QStringLiteral("run"), readHdf5String(path, "/entry/file_name_prefix"));
    EXPECT_EQ(QStringLiteral("complete"), readHdf5String(path, "/entry/scan_state"));
    EXPECT_EQ((std::vector<int32_t>{3}), readHdf5(path, "/entry/lines_measured").ints);
    EXPECT_EQ((std::vector<int32_t>{40}), readHdf5(path, "/entry/scan/x_pixel_pulses").ints);
    EXPECT_EQ((std::vector<double>{0.2}), readHdf5(path, "/entry/scan/y_pixel_size").reals);
    EXPECT_EQ((std::vector<int32_t>{400}), readHdf5(path, "/entry/scan/x_speed").ints);
    EXPECT_EQ(QStringLiteral("X軸で往復"), readHdf5String(path, "/entry/scan/method"));
    EXPECT_EQ((std::vector<int32_t>{2048}), readHdf5(path, "/entry/scan/mca_channels").ints);
    EXPECT_EQ((std::vector<int32_t>{850}), readHdf5(path, "/entry/Zn/roi_start_channel").ints);
    EXPECT_EQ((std::vector<int32_t>{878}), readHdf5(path, "/entry/Zn/roi_end_channel").ints);
    EXPECT_EQ(QStringLiteral("NET"), readHdf5String(path, "/entry/Zn/roi_kind"));
    EXPECT_EQ(QStringLiteral("GROSS"), readHdf5String(path, "/entry/Fe/roi_kind"));
}

TEST(ScanHdf5, LaterPlanesKeepTheEarlierOnesAndTheLineTableSaysWhatEachHolds) {
    QTemporaryDir dir;
    InfoRecord r = scanRecord(dir.path());
    r.ScanUseZ = 1;
    r.ZCount = 1;   // two planes
    r.ZStart = 0.5;
    r.ZEnd = 1.5;
    r.ZStep = 1.0;
    r.ScanRepeat = 2;
    MapStore maps;
    maps.clear();
    maps.at(0, 4, 2) = 111;
    ScanHdf5File f;
    f.beginScan(r, at(0));
    ASSERT_TRUE(f.writePass(maps, someTime(), 0, 1, 3, ScanFileState::Running, at(1)).ok());
    maps.clear();
    maps.at(0, 1, 0) = 222;   // plane 2, stopped after one whole line
    ASSERT_TRUE(f.writePass(maps, someTime(), 1, 0, 1, ScanFileState::Stopped, at(2)).ok());

    const Hdf5Array a = readHdf5(f.path(), "/entry/Fe/data");
    ASSERT_EQ((std::vector<uint64_t>{2, 3, 5}), a.dims);
    EXPECT_EQ(111, a.ints[0 * 15 + 2 * 5 + 4]) << "plane 1 read back from the earlier file";
    EXPECT_EQ(0, a.ints[0 * 15 + 0 * 5 + 1]);
    EXPECT_EQ(222, a.ints[1 * 15 + 0 * 5 + 1]);
    EXPECT_EQ(0, a.ints[1 * 15 + 2 * 5 + 4]);
    // [plane][pass]: plane 1 pass 2 complete, plane 2 pass 1 one line.
    EXPECT_EQ((std::vector<int32_t>{0, 3, 1, 0}), readHdf5(f.path(), "/entry/lines_measured").ints);
    EXPECT_EQ(QStringLiteral("stopped"), readHdf5String(f.path(), "/entry/scan_state"));
    EXPECT_EQ((QStringList{"z", "y", "x"}), readHdf5AttrList(f.path(), "/entry/Fe", "axes"));
    EXPECT_EQ((std::vector<double>{0.5, 1.5}), readHdf5(f.path(), "/entry/Fe/z").reals);
}

TEST(ScanHdf5, GroupNamesAreUniqueAndHoldNoPathSeparator) {
    InfoRecord r{};
    for (int s = 0; s < 4; ++s) r.MapRoiEnabled[s] = 1;
    storeSjis(r.MapRoiElementName[0], QStringLiteral("Fe"));
    storeSjis(r.MapRoiElementName[1], QStringLiteral("Fe"));
    storeSjis(r.MapRoiElementName[3], QStringLiteral("Pb/L"));
    EXPECT_EQ(QStringLiteral("Fe"), scanFileGroupName(r, 0));
    EXPECT_EQ(QStringLiteral("Fe_ROI-2"), scanFileGroupName(r, 1));
    EXPECT_EQ(QStringLiteral("ROI-3"), scanFileGroupName(r, 2));
    EXPECT_EQ(QStringLiteral("Pb_L"), scanFileGroupName(r, 3));
}
