// The scan journal on its own: what a kill at any byte of the last record leaves recoverable,
// damaged records, passes already written, and the check value itself.

#include "app/TextCodec.h"
#include "scan/Crc32.h"
#include "scan/JournalRecovery.h"
#include "scan/ScanJournal.h"
#include "support/Hdf5Read.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;

namespace {

constexpr int kColumns = 5;
constexpr int kRows = 4;

struct Journal : ::testing::Test {
    Journal() {
        setCreationDefaults(r, "/tmp/");
        storeSjis(r.SaveFolder, dir.path() + "/");
        storeSjis(r.ScanFileName, QStringLiteral("run"));
        r.MapRoiEnabled[0] = 1;
        r.MapRoiEnabled[3] = 1;
        storeSjis(r.MapRoiElementName[0], QStringLiteral("Fe"));
        storeSjis(r.MapRoiElementName[3], QStringLiteral("Cu"));
        r.MapPixelsX = kColumns;
        r.MapPixelsY = kRows;
        // Settings the journal's header carries for the scan file.
        r.ScanXPixelPulses = 250;
        r.MotorLogicalPulses[0] = 1000;   // 0.25 mm pixels
        r.CalibB[0] = 0.01;
        r.RoiStart[0][1] = 610;           // Fe: MCA1's ROI 1
        r.MapRoiKind[0] = 1;
        started.v[0] = 2026; started.v[1] = 12; started.v[2] = 9;
        started.v[3] = 10; started.v[4] = 0; started.v[5] = 0;
    }
    static MapStore& maps() {
        static MapStore m;
        return m;
    }
    static int32_t cell(int pass, int slot, int x, int y) {
        return 100000 * pass + 1000 * slot + 10 * y + x + 1;
    }
    // Fills `rows` lines of pass `pass` into the maps and the journal, line after line.
    void appendPass(ScanJournal& j, int pass, int rows) {
        for (int y = 0; y < rows; ++y) {
            for (int slot : {0, 3})
                for (int x = 0; x < kColumns; ++x) maps().at(slot, x, y) = cell(pass, slot, x, y);
            LineTime t = started;
            t.v[5] = y;
            QString error;
            ASSERT_TRUE(j.appendLine(pass, 0, y, y % 2, t, maps(), error)) << error.toStdString();
        }
    }
    static QByteArray read(const QString& path) {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        return f.readAll();
    }
    static void write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(bytes.size(), f.write(bytes));
    }
    // The partial map file's counts, row after row.
    static std::vector<std::vector<int>> cells(const QString& path) {
        std::vector<std::vector<int>> out;
        for (const QByteArray& row : read(path).split('\r')) {
            if (row.isEmpty()) continue;
            out.emplace_back();
            for (const QByteArray& f : row.split(',')) out.back().push_back(f.trimmed().toInt());
        }
        return out;
    }

    QTemporaryDir dir;
    InfoRecord r{};
    LineTime started;
};

}  // namespace

TEST_F(Journal, CheckValueIsTheStandardCrc32) {
    EXPECT_EQ(0xCBF43926u, crc32("123456789", 9));
    EXPECT_EQ(crc32("123456789", 9), crc32Update(crc32("12345", 5), "6789", 4))
        << "a running value continues over parts";
}

TEST_F(Journal, AKillAtAnyByteOfTheLastLineLosesThatLineOnly) {
    ScanJournal j;
    QString error;
    ASSERT_TRUE(j.create(r, started, error)) << error.toStdString();
    const QString path = j.path();
    EXPECT_EQ(dir.path() + "/run-20261209-100000.scanjournal", path);
    appendPass(j, 0, kRows - 1);
    const qint64 beforeLast = QFileInfo(path).size();
    appendPass(j, 0, kRows);   // rewrites rows 0..2 with the same counts, then row 3
    j.close();
    const QByteArray whole = read(path);
    // Rows 0..2 twice, then row 3: the whole last record starts where the seventh line begins.
    const qint64 lineBytes = (whole.size() - beforeLast) / kRows;
    const qint64 lastStart = whole.size() - lineBytes;

    for (qint64 cut = lastStart; cut < whole.size(); ++cut) {
        SCOPED_TRACE(cut);
        QTemporaryDir copyDir;
        const QString copy = copyDir.path() + "/run-20261209-100000.scanjournal";
        write(copy, whole.left(cut));
        const JournalReading reading = readJournal(copy);
        ASSERT_TRUE(reading.ok);
        EXPECT_EQ(2 * kRows - 2, reading.linesDone);
        EXPECT_EQ(lastStart, reading.goodBytes);
        EXPECT_EQ(cut > lastStart, reading.tornTail);
        EXPECT_EQ(JournalEnd::Open, reading.end);
        ASSERT_EQ(1u, findUnfinishedJournals(copyDir.path()).size());

        MapFileWriter writer;
        maps().at(1, 2, 2) = 77;   // a slot the scan does not map
        maps().at(0, 1, kRows - 1) = 77;   // the lost row, measured in part
        const Recovery rec = recoverJournal(copy, maps(), writer);
        ASSERT_TRUE(rec.ok) << rec.error.toStdString();
        const QString prefix = copyDir.path() + "/run-20261209-100002stepZ0001";
        EXPECT_EQ((QStringList{prefix + "Fe-partial.CSV", prefix + "Cu-partial.CSV"}),
                  rec.written);
        const auto fe = cells(prefix + "Fe-partial.CSV");
        const auto cu = cells(prefix + "Cu-partial.CSV");
        ASSERT_EQ(static_cast<size_t>(kRows), fe.size());
        for (int y = 0; y < kRows; ++y)
            for (int x = 0; x < kColumns; ++x) {
                EXPECT_EQ(y < kRows - 1 ? cell(0, 0, x, y) : 0, fe[y][x]) << x << "," << y;
                EXPECT_EQ(y < kRows - 1 ? cell(0, 3, x, y) : 0, cu[y][x]) << x << "," << y;
                EXPECT_EQ(y < kRows - 1 ? cell(0, 3, x, y) : 0, maps().at(3, x, y));
            }
        EXPECT_EQ(0, maps().at(1, 2, 2)) << "slots the scan did not map are cleared";
        // Recovered once: the torn tail is cut and the end record follows the good records.
        const JournalReading after = readJournal(copy);
        EXPECT_EQ(JournalEnd::Recovered, after.end);
        EXPECT_FALSE(after.tornTail);
        EXPECT_TRUE(findUnfinishedJournals(copyDir.path()).empty());
    }
}

TEST_F(Journal, ADamagedRecordEndsTheReadingThere) {
    ScanJournal j;
    QString error;
    ASSERT_TRUE(j.create(r, started, error));
    appendPass(j, 0, 2);
    const qint64 thirdStart = QFileInfo(j.path()).size();   // every append is on the disk
    appendPass(j, 0, kRows);
    j.close();
    QByteArray bytes = read(j.path());
    // One bit of a count in the third line flipped: it and every line after it are dropped.
    bytes[thirdStart + 60] = static_cast<char>(bytes[thirdStart + 60] ^ 0x01);
    write(j.path(), bytes);
    const JournalReading two = readJournal(j.path());
    EXPECT_TRUE(two.ok);
    EXPECT_EQ(2, two.linesDone);
    EXPECT_EQ(thirdStart, two.goodBytes);
    EXPECT_TRUE(two.tornTail);

    // Not a journal, or one of a later version: refused with the reason.
    write(j.path(), QByteArray("\x03\x00\x00\x00QORJ", 8));
    const JournalReading later = readJournal(j.path());
    EXPECT_FALSE(later.ok);
    EXPECT_TRUE(later.problem.contains(QStringLiteral("version 3"))) << later.problem.toStdString();
    write(j.path(), QByteArray("CSV,1,2,3"));
    EXPECT_FALSE(readJournal(j.path()).ok);
    EXPECT_TRUE(findUnfinishedJournals(dir.path()).empty());
}

TEST_F(Journal, RecoveryWritesOnlyThePassesWhoseFilesWereNotWritten) {
    ScanJournal j;
    QString error;
    ASSERT_TRUE(j.create(r, started, error));
    appendPass(j, 0, kRows);
    ASSERT_TRUE(j.appendPassWritten(0, 0, error));
    appendPass(j, 1, 2);   // the second pass was under way
    j.close();
    const JournalReading reading = readJournal(j.path());
    ASSERT_EQ(2u, reading.passes.size());
    EXPECT_EQ(kRows, reading.passes[0].lines);
    EXPECT_TRUE(reading.passes[0].written);
    EXPECT_EQ(2, reading.passes[1].lines);
    EXPECT_FALSE(reading.passes[1].written);
    const QString text = describeJournal({j.path(), reading});
    EXPECT_TRUE(text.contains(QStringLiteral("Scan \"run\""))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("started 2026-12-09 10:00:00"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("6 lines done"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("(pass 2, Z plane 1): 2 of 4 lines"))) << text.toStdString();

    MapFileWriter writer;
    const Recovery rec = recoverJournal(j.path(), maps(), writer);
    ASSERT_TRUE(rec.ok);
    ASSERT_EQ(2, rec.written.size()) << "pass 1 has its files already";
    const auto fe = cells(rec.written[0]);
    EXPECT_EQ(cell(1, 0, 4, 1), fe[1][4]);
    EXPECT_EQ(0, fe[2][4]);
    EXPECT_EQ(cell(1, 0, 4, 1), maps().at(0, 4, 1)) << "the maps show the recovered pass";

    // The scan file: named from the first pass's end like a running scan's, marked partial,
    // beside the journal; its plane holds the latest pass, and it says how many lines each pass
    // measured.
    EXPECT_EQ(dir.path() + "/run-20261209-100003-partial.h5", rec.scanFile);
    EXPECT_EQ(QStringLiteral("recovered"), readHdf5String(rec.scanFile, "/entry/scan_state"));
    const Hdf5Array lines = readHdf5(rec.scanFile, "/entry/lines_measured");
    ASSERT_TRUE(lines.ok);
    EXPECT_EQ((std::vector<uint64_t>{1, 2}), lines.dims) << "one plane, two passes";
    EXPECT_EQ((std::vector<int32_t>{reading.passes[0].lines, reading.passes[1].lines}), lines.ints);
    int k = 0;
    for (const char* slot : {"/entry/Fe/data", "/entry/Cu/data"}) {
        const Hdf5Array data = readHdf5(rec.scanFile, slot);
        ASSERT_TRUE(data.ok) << slot;
        ASSERT_EQ((std::vector<uint64_t>{1, kRows, kColumns}), data.dims) << slot;
        const auto csv = cells(rec.written[k++]);
        for (int y = 0; y < kRows; ++y)
            for (int x = 0; x < kColumns; ++x)
                ASSERT_EQ(csv[y][x], data.ints[y * kColumns + x]) << slot << " " << x << "," << y;
    }
    // The header held every setting the scan file writes: nothing is listed as not recorded.
    EXPECT_TRUE(readHdf5AttrList(rec.scanFile, "/entry", "not_recorded").isEmpty());
    const Hdf5Array xs = readHdf5(rec.scanFile, "/entry/Fe/x");
    ASSERT_EQ(static_cast<size_t>(kColumns), xs.reals.size());
    for (int c = 0; c < kColumns; ++c) EXPECT_DOUBLE_EQ(mapColumnMm(r, c), xs.reals[c]) << c;
    EXPECT_DOUBLE_EQ(0.125, xs.reals[0]);
    EXPECT_EQ((std::vector<double>{0.25}), readHdf5(rec.scanFile, "/entry/scan/x_pixel_size").reals);
    EXPECT_EQ((std::vector<double>{r.CalibA[0], 0.01, r.CalibC[0], r.CalibD[0]}),
              readHdf5(rec.scanFile, "/entry/calibration/coefficients").reals);
    EXPECT_EQ((std::vector<int32_t>{610}), readHdf5(rec.scanFile, "/entry/Fe/roi_start_channel").ints);
    EXPECT_EQ(QStringLiteral("GROSS"), readHdf5String(rec.scanFile, "/entry/Fe/roi_kind"));

    // A journal that ended (a scan finished, stopped, aborted) is not offered again.
    ScanJournal ended;
    started.v[5] = 30;
    ASSERT_TRUE(ended.create(r, started, error));
    appendPass(ended, 0, 1);
    ASSERT_TRUE(ended.finish(JournalEnd::Stopped, error));
    EXPECT_EQ(JournalEnd::Stopped, readJournal(ended.path()).end);
    EXPECT_EQ(JournalEnd::Stopped, journalEndOf(ended.path())) << "read from its last record";
    EXPECT_EQ(JournalEnd::Recovered, journalEndOf(j.path()));
    EXPECT_TRUE(findUnfinishedJournals(dir.path()).empty());
}

TEST_F(Journal, AVersion1JournalIsRecoveredWithTheSettingsItLacksListed) {
    // A journal written before the header carried the scan's settings, built byte by byte.
    auto le = [](QByteArray& b, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b.append(static_cast<char>(v >> (8 * i)));
    };
    auto record = [&le](char type, const QByteArray& payload) {
        QByteArray typed = type + payload;
        QByteArray rec;
        le(rec, static_cast<uint32_t>(payload.size()), 4);
        rec += typed;
        le(rec, crc32(typed.constData(), static_cast<std::size_t>(typed.size())), 4);
        return rec;
    };
    QByteArray header;
    for (int v : started.v) le(header, static_cast<uint32_t>(v), 4);
    le(header, 3, 2);
    header += "run";
    for (int v : {kColumns, kRows, 0, 1, 0, 0}) le(header, static_cast<uint32_t>(v), 4);
    le(header, 1u << 0 | 1u << 3, 4);
    header += QByteArray("\x02" "Fe\x02" "Cu", 6);
    QByteArray line;
    for (int v : {0, 0, 0, 0}) le(line, static_cast<uint32_t>(v), 4);
    for (int v : started.v) le(line, static_cast<uint32_t>(v), 4);
    le(line, 2, 2);
    le(line, kColumns, 2);
    for (int slot : {0, 3})
        for (int x = 0; x < kColumns; ++x) le(line, static_cast<uint32_t>(cell(0, slot, x, 0)), 4);
    const QString path = dir.path() + "/run-20261209-100000.scanjournal";
    write(path, QByteArray("\x01\x00\x00\x00QORJ", 8) + record('H', header) + record('L', line));

    const JournalReading reading = readJournal(path);
    ASSERT_TRUE(reading.ok) << reading.problem.toStdString();
    EXPECT_EQ(1u, reading.header.version);
    EXPECT_FALSE(reading.header.hasSettings);
    MapFileWriter writer;
    const Recovery rec = recoverJournal(path, maps(), writer);
    ASSERT_TRUE(rec.ok) << rec.error.toStdString();
    ASSERT_EQ(2, rec.written.size());
    EXPECT_EQ(cell(0, 3, 4, 0), cells(rec.written[1])[0][4]);
    const Hdf5Array fe = readHdf5(rec.scanFile, "/entry/Fe/data");
    ASSERT_TRUE(fe.ok);
    EXPECT_EQ(cell(0, 0, 2, 0), fe.ints[2]);
    const QStringList notRecorded = readHdf5AttrList(rec.scanFile, "/entry", "not_recorded");
    EXPECT_TRUE(notRecorded.contains(QStringLiteral("calibration"))) << notRecorded.join(',').toStdString();
    EXPECT_TRUE(notRecorded.contains(QStringLiteral("<map>/x")));
    EXPECT_EQ((std::vector<double>{0.0}), readHdf5(rec.scanFile, "/entry/scan/x_pixel_size").reals);
}

TEST_F(Journal, AFailedMapFileLeavesTheJournalUnfinished) {
    ScanJournal j;
    QString error;
    ASSERT_TRUE(j.create(r, started, error));
    appendPass(j, 0, 2);
    j.close();
    // A folder where the first map file should go: that file cannot be written.
    ASSERT_TRUE(QDir(dir.path()).mkdir("run-20261209-100001stepZ0001Fe-partial.CSV"));
    MapFileWriter writer;
    const Recovery rec = recoverJournal(j.path(), maps(), writer);
    EXPECT_FALSE(rec.ok);
    EXPECT_TRUE(rec.error.startsWith(dir.path() + "/run-20261209-100001stepZ0001Fe-partial.CSV: "))
        << rec.error.toStdString();
    EXPECT_EQ(JournalEnd::Open, readJournal(j.path()).end);

    // Likewise a scan file that cannot be written: named in the error, the journal stays.
    ASSERT_TRUE(QDir(dir.path()).rmdir("run-20261209-100001stepZ0001Fe-partial.CSV"));
    ASSERT_TRUE(QDir(dir.path()).mkdir("run-20261209-100001-partial.h5"));
    const Recovery again = recoverJournal(j.path(), maps(), writer);
    EXPECT_FALSE(again.ok);
    EXPECT_TRUE(again.error.startsWith(dir.path() + "/run-20261209-100001-partial.h5: "))
        << again.error.toStdString();
    EXPECT_EQ(JournalEnd::Open, readJournal(j.path()).end);
}
