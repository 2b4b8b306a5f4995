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
        if (journalEndOf(path) != JournalEnd::Open) continue;
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
    MapPassNames names;
    JournalHeader header;
    writer.beginScan();
    maps.clear();

    // One reading replays every line into the maps, a pass after the other; when a pass's lines
    // are over, its files are written unless the journal says they were (that record comes
    // before the next pass's first line).
    auto flush = [&](const JournalPass& jp) {
        if (jp.written || !res.error.isEmpty()) return;
        PartialPass p;
        p.names = names;
        p.time = jp.lastLine;
        p.pass = jp.pass;
        p.scanZ = jp.scanZ;
        p.linesDone = jp.lines;
        p.linesPlanned = header.pixelsY;
        p.rowsKept = header.pixelsY;   // the maps hold only measured lines
        const MapFileWriter::Result files = writePartialPass(writer, p, maps);
        res.written << files.written;
        if (files.openFailed)
            res.error = files.error;
        else
            ++res.passesWritten;
    };
    std::size_t group = 0;
    bool started = false;
    const JournalReading reading =
        readJournal(path, [&](const JournalLine& line, const JournalReading& sofar) {
            const std::size_t g = sofar.passes.size() - 1;
            if (!started) {
                header = sofar.header;
                names = namesOf(path, header);
            } else if (g != group) {
                flush(sofar.passes[group]);
                maps.clear();
            }
            started = true;
            group = g;
            int k = 0;
            for (int s = 0; s < 20; ++s) {
                if (!((header.slotMask >> s) & 1u)) continue;
                for (int x = 0; x < line.pixels; ++x) maps.at(s, x, line.row) = line.count(k, x);
                ++k;
            }
        });
    if (!reading.ok) {
        res.error = reading.problem;
        return res;
    }
    res.linesDone = reading.linesDone;
    if (started) flush(reading.passes[group]);
    if (!res.error.isEmpty()) return res;
    QString error;
    if (!ScanJournal::endExisting(path, reading.goodBytes, JournalEnd::Recovered, error)) {
        res.error = error;
        return res;
    }
    res.ok = true;
    return res;
}

}  // namespace qor
