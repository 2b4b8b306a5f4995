// The scan journal: one line of 20 slots x 1024 pixels appended and put on the disk, and the
// recovery of a whole 1024-line journal of 20 slots (reading, checking, 20 partial map files).

#include "app/TextCodec.h"
#include "scan/Crc32.h"
#include "scan/JournalRecovery.h"
#include "scan/ScanJournal.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

qor::MapStore& journalMaps() {
    static qor::MapStore maps;
    return maps;
}

void journalRecord(qor::InfoRecord& r, const QString& folder) {
    qor::setCreationDefaults(r, "/tmp/");
    qor::storeSjis(r.SaveFolder, folder + "/");
    qor::storeSjis(r.ScanFileName, QStringLiteral("bench"));
    for (int s = 0; s < 20; ++s) {
        r.MapRoiEnabled[s] = 1;
        qor::storeSjis(r.MapRoiElementName[s], QStringLiteral("E%1").arg(s));
    }
    r.MapPixelsX = 1024;
    r.MapPixelsY = 1024;
}

}  // namespace

static void BM_JournalAppendLine(benchmark::State& state) {
    journalMaps().fillTestPattern();
    QTemporaryDir dir;
    qor::InfoRecord r{};
    journalRecord(r, dir.path());
    qor::ScanJournal j;
    QString error;
    if (!j.create(r, qor::LineTime{}, error)) {
        state.SkipWithError(error.toLocal8Bit().constData());
        return;
    }
    int row = 0;
    for (auto _ : state) {
        if (!j.appendLine(0, 0, row, 0, qor::LineTime{}, journalMaps(), error)) {
            state.SkipWithError(error.toLocal8Bit().constData());
            return;
        }
        row = (row + 1) % 1024;
    }
}
BENCHMARK(BM_JournalAppendLine)->Unit(benchmark::kMillisecond);

// The bytes of a journal of 1024 lines of 20 slots x 1024 pixels (built once, without a flush per
// line), or empty when it cannot be made.
static QByteArray bigJournal(const qor::InfoRecord& r) {
    QByteArray whole;
    {
        // A journal of 1024 lines of 20 slots, written once (without a flush per line).
        qor::ScanJournal j;
        QString error;
        if (!j.create(r, qor::LineTime{}, error)) {
            return {};
        }
        j.close();
        QFile f(j.path());
        f.open(QIODevice::ReadOnly);
        whole = f.readAll();
        qor::ScanJournal lines;
        QTemporaryDir scratch;
        qor::InfoRecord s = r;
        qor::storeSjis(s.SaveFolder, scratch.path() + "/");
        lines.create(s, qor::LineTime{}, error);
        lines.appendLine(0, 0, 0, 0, qor::LineTime{}, journalMaps(), error);
        lines.close();
        QFile one(lines.path());
        one.open(QIODevice::ReadOnly);
        const QByteArray all = one.readAll();
        const QByteArray line = all.mid(whole.size());   // header of `lines` is as long
        for (int y = 0; y < 1024; ++y) {
            QByteArray rec = line;
            // Row field at offset 5 + 8 of the record; the check value follows the payload.
            rec[13] = static_cast<char>(y & 0xFF);
            rec[14] = static_cast<char>(y >> 8);
            const uint32_t crc = qor::crc32(rec.constData() + 4, static_cast<std::size_t>(rec.size()) - 8);
            for (int b = 0; b < 4; ++b) rec[rec.size() - 4 + b] = static_cast<char>(crc >> (8 * b));
            whole += rec;
        }
    }
    return whole;
}

static void BM_JournalRecover(benchmark::State& state) {
    journalMaps().fillTestPattern();
    QTemporaryDir dir;
    qor::InfoRecord r{};
    journalRecord(r, dir.path());
    const QByteArray whole = bigJournal(r);
    const QString path = QDir(dir.path()).filePath(QStringLiteral("bench-recover.scanjournal"));
    for (auto _ : state) {
        state.PauseTiming();
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        {
            QFile f(path);
            f.open(QIODevice::WriteOnly);
            f.write(whole);
        }
        state.ResumeTiming();
        qor::MapFileWriter writer;
        const qor::Recovery rec = qor::recoverJournal(path, journalMaps(), writer);
        if (!rec.ok || rec.linesDone != 1024) {
            state.SkipWithError("recovery failed");
            return;
        }
    }
}
BENCHMARK(BM_JournalRecover)->Unit(benchmark::kMillisecond)->Iterations(3);

// The journal's share of a recovery: reading and checking 1024 lines and replaying them into the
// maps, without the map files.
static void BM_JournalReplay(benchmark::State& state) {
    QTemporaryDir dir;
    qor::InfoRecord r{};
    journalRecord(r, dir.path());
    const QString path = QDir(dir.path()).filePath(QStringLiteral("bench-replay.scanjournal"));
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bigJournal(r));
    }
    for (auto _ : state) {
        int64_t lines = 0;
        const qor::JournalReading reading = qor::readJournal(path, [&](const qor::JournalLine& l, const qor::JournalReading&) {
            int k = 0;
            for (int s = 0; s < 20; ++s, ++k)
                for (int x = 0; x < l.pixels; ++x) journalMaps().at(s, x, l.row) = l.count(k, x);
            ++lines;
        });
        if (lines != 1024 || reading.linesDone != 1024) {
            state.SkipWithError("replay failed");
            return;
        }
    }
}
BENCHMARK(BM_JournalReplay)->Unit(benchmark::kMillisecond);
