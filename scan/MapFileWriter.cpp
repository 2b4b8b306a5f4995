#include "scan/MapFileWriter.h"

#include "app/SafeWrite.h"
#include "app/TextCodec.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace qor {

std::string mapTimeText(const LineTime& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "-%4d%2d%2d-%2d%2d%2d", t.v[0], t.v[1], t.v[2], t.v[3], t.v[4],
                  t.v[5]);
    std::string s(buf);
    for (std::size_t pos : {5u, 7u, 10u, 12u, 14u})
        if (pos < s.size() && s[pos] == ' ') s[pos] = '0';
    if (s.size() > 16) s.resize(16);
    return s;
}

std::string mapPlaneText(int scanZ) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%4d", scanZ + 1);
    std::string s(buf);
    for (std::size_t pos = 0; pos < 3 && pos < s.size(); ++pos)
        if (s[pos] == ' ') s[pos] = '0';
    if (s.size() > 4) s.resize(4);
    return s;
}

const char* const kPartialMark = "-partial";

void formatMapFile(const MapStore& maps, int slot, int columns, int rows, std::string& out,
                   int rowsKept) {
    columns = std::clamp(columns, 0, kMapSide);
    rows = std::clamp(rows, 0, kMapSide);
    if (rowsKept < 0) rowsKept = rows;
    // Every field takes at most 11 digits and sign, plus its separator.
    out.resize(static_cast<std::size_t>(columns) * rows * 13 + 16);
    char* p = out.data();
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns; ++x) {
            char digits[16];
            const int32_t value = y < rowsKept ? maps.at(slot, x, y) : 0;
            const auto res = std::to_chars(digits, digits + sizeof digits, value);
            const int len = static_cast<int>(res.ptr - digits);
            for (int pad = len; pad < 8; ++pad) *p++ = ' ';
            for (int i = 0; i < len; ++i) *p++ = digits[i];
            *p++ = x + 1 < columns ? ',' : '\r';
        }
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
}

QString MapFileWriter::uniqueName(const QString& base) {
    QString name = base;
    for (int k = 2; written_.contains(name); ++k) {
        name = base;
        name.insert(name.size() - 4, QStringLiteral("-%1").arg(k));
    }
    written_ << name;
    return name;
}

MapPassNames mapPassNames(const InfoRecord& r) {
    MapPassNames n;
    n.folder = fromSjis(r.SaveFolder);
    n.scanFileName = fromSjis(r.ScanFileName);
    for (int s = 0; s < 20; ++s) {
        n.enabled[s] = r.MapRoiEnabled[s] == 1;
        if (n.enabled[s]) n.element[s] = fromSjis(r.MapRoiElementName[s]);
    }
    n.columns = r.MapPixelsX;
    n.rows = r.MapPixelsY;
    return n;
}

MapFileWriter::Result MapFileWriter::write(const InfoRecord& r, const MapStore& maps,
                                           const LineTime& t, int scanZ) {
    return writeFiles(mapPassNames(r), maps, t, scanZ, -1);
}

MapFileWriter::Result MapFileWriter::write(const MapPassNames& names, const MapStore& maps,
                                           const LineTime& t, int scanZ) {
    return writeFiles(names, maps, t, scanZ, -1);
}

MapFileWriter::Result MapFileWriter::writePartial(const MapPassNames& names, const MapStore& maps,
                                                  const LineTime& t, int scanZ, int rowsKept) {
    return writeFiles(names, maps, t, scanZ, std::max(rowsKept, 0));
}

MapFileWriter::Result MapFileWriter::writeFiles(const MapPassNames& names, const MapStore& maps,
                                                const LineTime& t, int scanZ, int rowsKept) {
    Result res;
    const QString time = QString::fromLatin1(mapTimeText(t).c_str());
    const QString plane = QString::fromLatin1(mapPlaneText(scanZ).c_str());
    const QString prefix = names.folder + names.scanFileName + time + QStringLiteral("stepZ") + plane;
    const bool partial = rowsKept >= 0;
    for (int s = 0; s < 20; ++s) {
        if (!names.enabled[s]) continue;
        QString path = uniqueName(prefix + names.element[s] + QStringLiteral(".CSV"));
        if (partial) path.insert(path.size() - 4, QLatin1String(kPartialMark));
        formatMapFile(maps, s, names.columns, names.rows, buffer_, rowsKept);
        const WriteOutcome out =
            writeFileSafely(path, buffer_.data(), static_cast<qint64>(buffer_.size()));
        if (!out) {
            res.openFailed = true;
            res.error = out.error;
            return res;
        }
        res.written << path;
    }
    return res;
}

}  // namespace qor
