#include "app/TextCodec.h"
#include "scan/MapFileWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qor;

namespace {

struct MapFiles : ::testing::Test {
    MapFiles() {
        setCreationDefaults(r, "/tmp/");
        storeSjis(r.SaveFolder, dir.path() + "/");
        storeSjis(r.ScanFileName, QStringLiteral("run"));
        storeSjis(r.MapRoiElementName[0], QStringLiteral("Cu"));
        storeSjis(r.MapRoiElementName[2], QStringLiteral("Zn"));
        r.MapRoiEnabled[0] = 1;
        r.MapRoiEnabled[2] = 1;
        r.MapPixelsX = 3;
        r.MapPixelsY = 2;
        t.v[0] = 2019; t.v[1] = 8; t.v[2] = 7; t.v[3] = 9; t.v[4] = 30; t.v[5] = 5;
    }
    static MapStore& maps() {
        static MapStore m;
        return m;
    }
    QByteArray read(const QString& path) {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        return f.readAll();
    }
    QTemporaryDir dir;
    InfoRecord r{};
    LineTime t;
    MapFileWriter writer;
};

}  // namespace

TEST_F(MapFiles, TimeAndPlaneTexts) {
    EXPECT_EQ("-20190807-093005", mapTimeText(t));
    EXPECT_EQ("0001", mapPlaneText(0));
    EXPECT_EQ("0011", mapPlaneText(10));
    LineTime late;
    late.v[0] = 2026; late.v[1] = 12; late.v[2] = 31; late.v[3] = 23; late.v[4] = 59; late.v[5] = 59;
    EXPECT_EQ("-20261231-235959", mapTimeText(late));
}

TEST_F(MapFiles, WritesOneFilePerEnabledSlotInTheFixedFormat) {
    maps().clear();
    maps().at(0, 0, 0) = 5;
    maps().at(0, 1, 0) = 12;
    maps().at(0, 2, 0) = 0;
    maps().at(0, 0, 1) = 123456789;
    maps().at(2, 2, 1) = -3;
    const auto res = writer.write(r, maps(), t, 0);
    ASSERT_FALSE(res.openFailed);
    ASSERT_EQ(2, res.written.size());
    EXPECT_EQ(dir.path() + "/run-20190807-093005stepZ0001Cu.CSV", res.written[0]);
    EXPECT_EQ(dir.path() + "/run-20190807-093005stepZ0001Zn.CSV", res.written[1]);
    EXPECT_EQ(QByteArray("       5,      12,       0\r123456789,       0,       0\r"),
              read(res.written[0]));
    EXPECT_EQ(QByteArray("       0,       0,       0\r       0,       0,      -3\r"),
              read(res.written[1]));
}

TEST_F(MapFiles, SameSecondPassesGetNumberedNamesInsteadOfOverwriting) {
    storeSjis(r.ScanFileName, QString());
    writer.beginScan();
    const auto first = writer.write(r, maps(), t, 0);
    const auto second = writer.write(r, maps(), t, 0);
    ASSERT_EQ(2, second.written.size());
    EXPECT_EQ(dir.path() + "/-20190807-093005stepZ0001Cu.CSV", first.written[0]);
    EXPECT_EQ(dir.path() + "/-20190807-093005stepZ0001Cu-2.CSV", second.written[0]);
    EXPECT_TRUE(QFile::exists(first.written[0]));
    writer.beginScan();
    EXPECT_EQ(first.written[0], writer.write(r, maps(), t, 0).written[0])
        << "a new scan starts the names afresh";
}

TEST_F(MapFiles, OpenFailureStopsThePass) {
    storeSjis(r.SaveFolder, QStringLiteral("/nonexistent-folder/"));
    const auto res = writer.write(r, maps(), t, 0);
    EXPECT_TRUE(res.openFailed);
    EXPECT_TRUE(res.written.isEmpty());
}

TEST_F(MapFiles, FullSizeMapFormatsEveryCell) {
    std::string out;
    maps().fillTestPattern();
    formatMapFile(maps(), 31, 1024, 1024, out);
    EXPECT_EQ(static_cast<std::size_t>(1024) * 1024 * 9, out.size());
    EXPECT_EQ("   31000,", out.substr(0, 9));
    EXPECT_EQ("   33046\r", out.substr(out.size() - 9));   // x 1023, y 1023
}
