#include "scan/JournalRecovery.h"

#include "app/TextCodec.h"
#include "scan/PartialPass.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTime>
#include <algorithm>
#include <cstring>

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

void storeBytes(char* field, std::size_t n, const QByteArray& b) {
    const std::size_t len = std::min<std::size_t>(static_cast<std::size_t>(b.size()), n - 1);
    std::memcpy(field, b.constData(), len);
    field[len] = '\0';
}

QDateTime dateTimeOf(const LineTime& t) {
    return QDateTime(QDate(t.v[0], t.v[1], t.v[2]), QTime(t.v[3], t.v[4], t.v[5]));
}

}  // namespace

InfoRecord scanRecordOf(const JournalReading& reading, QStringList& notRecorded) {
    const JournalHeader& h = reading.header;
    InfoRecord r{};
    storeBytes(r.ScanFileName, sizeof r.ScanFileName, h.scanFileName);
    r.MapPixelsX = h.pixelsX;
    r.MapPixelsY = h.pixelsY;
    r.ScanXSteps = h.pixelsX;   // the map is as wide and as high as the scan's steps
    r.ScanYSteps = h.pixelsY;
    r.ScanMethod = h.method;
    r.ScanUseZ = h.useZ;
    r.ZCount = h.zCount;
    r.ScanRepeat = h.repeat;
    // The file has room for every pass and plane the journal holds, whatever its header says.
    for (const JournalPass& p : reading.passes) {
        r.ScanRepeat = std::max(r.ScanRepeat, p.pass + 1);
        if (p.scanZ > 0) {
            r.ScanUseZ = 1;
            r.ZCount = std::max(r.ZCount, p.scanZ);
        }
    }
    for (int s = 0; s < 20; ++s) {
        if (!((h.slotMask >> s) & 1u)) continue;
        r.MapRoiEnabled[s] = 1;
        storeBytes(r.MapRoiElementName[s], sizeof r.MapRoiElementName[s], h.elementName[s]);
    }
    if (h.hasSettings) {
        r.ScanXPixelPulses = h.pixelPulsesX;
        r.ScanYPixelPulses = h.pixelPulsesY;
        r.ScanXSpeedPps = h.speedX;
        r.XBacklashPulses = h.backlashX;
        r.YBacklashPulses = h.backlashY;
        r.ZStart = h.zStart;
        r.ZEnd = h.zEnd;
        r.ZStep = h.zStep;
        for (int a = 0; a < 3; ++a) r.MotorLogicalPulses[a] = h.pulsesPerUnit[a];
        r.MapChannelIndex = h.channelIndex;
        r.CalibOrder[0] = h.calibOrder;
        r.CalibA[0] = h.calib[0];
        r.CalibB[0] = h.calib[1];
        r.CalibC[0] = h.calib[2];
        r.CalibD[0] = h.calib[3];
        storeBytes(r.EnergyUnit[0], sizeof r.EnergyUnit[0], h.energyUnit);
        for (int s = 0; s < 20; ++s) {
            if (!((h.slotMask >> s) & 1u)) continue;
            r.RoiStart[0][s + 1] = h.roiStart[s];
            r.RoiEnd[0][s + 1] = h.roiEnd[s];
            r.MapRoiKind[s] = h.roiKind[s];
        }
        notRecorded.clear();
        return r;
    }
    // A version 1 journal holds none of them.
    r.MapChannelIndex = -1;   // written as 0 channels
    notRecorded = QStringList{
        QStringLiteral("scan/x_pixel_pulses"),  QStringLiteral("scan/y_pixel_pulses"),
        QStringLiteral("scan/x_pixel_size"),    QStringLiteral("scan/y_pixel_size"),
        QStringLiteral("scan/x_speed"),         QStringLiteral("scan/x_backlash"),
        QStringLiteral("scan/y_backlash"),      QStringLiteral("scan/z_start"),
        QStringLiteral("scan/z_end"),           QStringLiteral("scan/z_step"),
        QStringLiteral("scan/pulses_per_mm"),   QStringLiteral("scan/mca_channels"),
        QStringLiteral("calibration"),          QStringLiteral("<map>/x"),
        QStringLiteral("<map>/y"),              QStringLiteral("<map>/z"),
        QStringLiteral("<map>/roi_start_channel"), QStringLiteral("<map>/roi_end_channel"),
        QStringLiteral("<map>/roi_kind")};
    return r;
}

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

    // The scan file is sized from what the journal holds, so it is looked through once first.
    const JournalReading outline = readJournal(path);
    if (!outline.ok) {
        res.error = outline.problem;
        return res;
    }
    ScanHdf5File scanFile;
    {
        QStringList notRecorded;
        scanFile.beginScan(scanRecordOf(outline, notRecorded), dateTimeOf(outline.header.started));
        scanFile.setNotRecorded(notRecorded);
        scanFile.nameFileIn(QFileInfo(path).absolutePath() + QLatin1Char('/'),
                            QLatin1String(kPartialMark));
    }

    // One reading replays every line into the maps, a pass after the other; when a pass's lines
    // are over, its files are written unless the journal says they were (that record comes
    // before the next pass's first line).
    auto flush = [&](const JournalPass& jp) {
        if (!res.error.isEmpty()) return;
        if (!jp.written) {
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
            if (files.openFailed) {
                res.error = files.error;
                return;
            }
            ++res.passesWritten;
        }
        // Every pass goes into the scan file, whose planes hold their latest pass; it is
        // rewritten pass after pass, as a running scan does.
        const WriteOutcome out =
            scanFile.writePass(maps, jp.lastLine, jp.scanZ, jp.pass, jp.lines,
                               ScanFileState::Recovered, dateTimeOf(jp.lastLine));
        if (!out.ok())
            res.error = out.error;
        else
            res.scanFile = scanFile.path();
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
