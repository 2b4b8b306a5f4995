#include "scan/JournalRecovery.h"

#include "app/TextCodec.h"
#include "scan/PartialPass.h"

#include <QDir>
#include <QFileInfo>

namespace qor {

namespace {

QString sjis(const QByteArray& b) { return fromSjis(b.constData(), static_cast<std::size_t>(b.size())); }

MapPassNames namesOf(const QString& path, const JournalHeader& h) {
    MapPassNames n;
    n.folder = QFileInfo(path).absolutePath() + QLatin1Char('/');
    n.scanFileName = sjis(h.scanFileName);
    for (int s = 0; s < 20; ++s) {
        n.enabled[s] = (h.slotMask >> s) & 1u;
        if (n.enabled[s]) n.element[s] = sjis(h.elementName[s]);
    }
    n.columns = h.pixelsX;
    n.rows = h.pixelsY;
    return n;
}

}  // namespace

std::vector<JournalFound> findUnfinishedJournals(const QString& folder, const QString& skip) {
    std::vector<JournalFound> found;
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    const QStringList names =
        dir.entryList({QStringLiteral("*") + QLatin1String(kJournalSuffix)}, QDir::Files,
                      QDir::Name);
    const QString skipped = skip.isEmpty() ? QString() : QFileInfo(skip).absoluteFilePath();
    for (const QString& name : names) {
        const QString path = dir.filePath(name);
        if (!skipped.isEmpty() && QFileInfo(path).absoluteFilePath() == skipped) continue;
        JournalReading r = readJournal(path);
        if (r.ok && r.end == JournalEnd::Open) found.push_back({path, std::move(r)});
    }
    return found;
}

QString describeJournal(const JournalFound& j) {
    const JournalReading& r = j.reading;
    const LineTime& t = r.header.started;
    QString text = QStringLiteral("Scan \"%1\" (%2), started %3-%4-%5 %6:%7:%8, did not end.\n")
                       .arg(sjis(r.header.scanFileName), QFileInfo(j.path).fileName())
                       .arg(t.v[0], 4, 10, QLatin1Char('0'))
                       .arg(t.v[1], 2, 10, QLatin1Char('0'))
                       .arg(t.v[2], 2, 10, QLatin1Char('0'))
                       .arg(t.v[3], 2, 10, QLatin1Char('0'))
                       .arg(t.v[4], 2, 10, QLatin1Char('0'))
                       .arg(t.v[5], 2, 10, QLatin1Char('0'));
    text += QStringLiteral("%1 lines done").arg(r.linesDone);
    if (!r.passes.empty()) {
        const JournalPass& last = r.passes.back();
        text += QStringLiteral("; the last pass (pass %1, Z plane %2): %3 of %4 lines, the latest "
                               "at %5:%6:%7")
                    .arg(last.pass + 1)
                    .arg(last.scanZ + 1)
                    .arg(last.lines)
                    .arg(r.header.pixelsY)
                    .arg(last.lastLine.v[3], 2, 10, QLatin1Char('0'))
                    .arg(last.lastLine.v[4], 2, 10, QLatin1Char('0'))
                    .arg(last.lastLine.v[5], 2, 10, QLatin1Char('0'));
    }
    text += QLatin1Char('.');
    if (r.tornTail) text += QStringLiteral("\nThe line under way when it stopped is lost.");
    return text;
}

Recovery recoverJournal(const QString& path, MapStore& maps, MapFileWriter& writer) {
    Recovery res;
    const JournalReading first = readJournal(path);
    if (!first.ok) {
        res.error = first.problem;
        return res;
    }
    const MapPassNames names = namesOf(path, first.header);
    writer.beginScan();
    maps.clear();
    res.linesDone = first.linesDone;

    // The second reading replays the lines of every pass whose files were never written into the
    // maps, and writes each such pass once its last line has been replayed.
    std::size_t group = 0;        // index into first.passes of the line being replayed
    bool started = false;
    int32_t lastPass = -1, lastZ = -1;
    auto flush = [&](std::size_t g) {
        const JournalPass& jp = first.passes[g];
        if (jp.written || !res.error.isEmpty()) return;
        PartialPass p;
        p.names = names;
        p.time = jp.lastLine;
        p.pass = jp.pass;
        p.scanZ = jp.scanZ;
        p.linesDone = jp.lines;
        p.linesPlanned = first.header.pixelsY;
        p.rowsKept = first.header.pixelsY;
        const MapFileWriter::Result files = writePartialPass(writer, p, maps);
        res.written << files.written;
        if (files.openFailed) res.error = files.error;
        else ++res.passesWritten;
    };
    int64_t seen = 0;
    readJournal(path, [&](const JournalLine& line) {
        // Lines past the first reading's end (a journal still growing) are not replayed.
        if (seen++ >= first.linesDone) return;
        if (started && (line.pass != lastPass || line.scanZ != lastZ)) {
            flush(group);
            ++group;
            if (!first.passes[group].written) maps.clear();
        }
        started = true;
        lastPass = line.pass;
        lastZ = line.scanZ;
        if (first.passes[group].written) return;
        int k = 0;
        for (int s = 0; s < 20; ++s) {
            if (!((first.header.slotMask >> s) & 1u)) continue;
            for (int x = 0; x < line.pixels; ++x) maps.at(s, x, line.row) = line.count(k, x);
            ++k;
        }
    });
    if (started) flush(group);
    if (!res.error.isEmpty()) return res;
    QString error;
    if (!ScanJournal::endExisting(path, first.goodBytes, JournalEnd::Recovered, error)) {
        res.error = error;
        return res;
    }
    res.ok = true;
    return res;
}

}  // namespace qor
