#include "scan/ScanJournal.h"

#include "app/DiskSync.h"
#include "app/TextCodec.h"
#include "scan/Crc32.h"

#include <QFileInfo>
#include <algorithm>
#include <cstring>

namespace qor {

const char* const kJournalSuffix = ".scanjournal";

namespace {

constexpr int kPreamble = 8;        // version, magic
constexpr int kRecordHead = 5;      // length, type
constexpr int kRecordTail = 4;      // check value
constexpr int kLineHead = 4 * 4 + 6 * 4 + 2 + 2;   // pass, Z, row, direction, time, slots, pixels
// The largest header: time, name, six settings, slot mask, 20 names; then (version 2) pixel
// pulses, speed, backlashes, Z range, pulses per unit, channels, calibration, unit, 20 ROIs.
constexpr std::size_t kHeaderMax = 6 * 4 + 2 + 31 + 6 * 4 + 4 + 20 * (1 + 31) + 5 * 4 + 3 * 8 +
                                   3 * 4 + 4 + 4 + 4 * 8 + 1 + 15 + 20 * 3 * 4;

void putU32(unsigned char* p, uint32_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}
uint32_t getU32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
void putU16(unsigned char* p, uint32_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}
uint32_t getU16(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8;
}

// Writes fields one after the other into a record's payload.
struct Out {
    unsigned char* p;
    void u32(uint32_t v) { putU32(p, v); p += 4; }
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void u16(uint32_t v) { putU16(p, v); p += 2; }
    void u8(uint32_t v) { *p++ = static_cast<unsigned char>(v); }
    void bytes(const char* s, std::size_t n) { std::memcpy(p, s, n); p += n; }
    void time(const LineTime& t) { for (int32_t v : t.v) i32(v); }
    void f64(double v) {
        uint64_t b;
        std::memcpy(&b, &v, 8);
        u32(static_cast<uint32_t>(b));
        u32(static_cast<uint32_t>(b >> 32));
    }
};

// Reads fields from a checked payload; any read past its end marks it bad.
struct In {
    const unsigned char* p;
    const unsigned char* end;
    bool bad = false;
    bool need(std::size_t n) {
        if (bad || static_cast<std::size_t>(end - p) < n) bad = true;
        return !bad;
    }
    uint32_t u32() { if (!need(4)) return 0; const uint32_t v = getU32(p); p += 4; return v; }
    int32_t i32() { return static_cast<int32_t>(u32()); }
    uint32_t u16() { if (!need(2)) return 0; const uint32_t v = getU16(p); p += 2; return v; }
    uint32_t u8() { if (!need(1)) return 0; return *p++; }
    QByteArray bytes(std::size_t n) {
        if (!need(n)) return {};
        QByteArray b(reinterpret_cast<const char*>(p), static_cast<qsizetype>(n));
        p += n;
        return b;
    }
    void time(LineTime& t) { for (int32_t& v : t.v) v = i32(); }
    double f64() {
        const uint64_t lo = u32();
        const uint64_t b = lo | static_cast<uint64_t>(u32()) << 32;
        double v;
        std::memcpy(&v, &b, 8);
        return v;
    }
};

std::size_t fieldLength(const char* field, std::size_t max) {
    const void* nul = std::memchr(field, 0, max);
    return nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field) : max;
}

bool validTime(const LineTime& t) {
    return t.v[0] >= 0 && t.v[0] <= 9999 && t.v[1] >= 0 && t.v[1] <= 12 && t.v[2] >= 0 &&
           t.v[2] <= 31 && t.v[3] >= 0 && t.v[3] <= 23 && t.v[4] >= 0 && t.v[4] <= 59 &&
           t.v[5] >= 0 && t.v[5] <= 60;
}

bool readHeader(In& in, JournalHeader& h) {
    in.time(h.started);
    const uint32_t nameLen = in.u16();
    if (nameLen > 31) return false;
    h.scanFileName = in.bytes(nameLen);
    h.pixelsX = in.i32();
    h.pixelsY = in.i32();
    h.method = in.i32();
    h.repeat = in.i32();
    h.useZ = in.i32();
    h.zCount = in.i32();
    h.slotMask = in.u32();
    if (in.bad || !validTime(h.started) || h.pixelsX < 1 || h.pixelsX > kMapSide ||
        h.pixelsY < 1 || h.pixelsY > kMapSide || (h.slotMask >> 20) != 0)
        return false;
    for (int s = 0; s < 20; ++s) {
        if (!(h.slotMask & (1u << s))) continue;
        const uint32_t len = in.u8();
        if (len > 31) return false;
        h.elementName[s] = in.bytes(len);
    }
    if (h.version >= 2) {
        h.pixelPulsesX = in.i32();
        h.pixelPulsesY = in.i32();
        h.speedX = in.i32();
        h.backlashX = in.i32();
        h.backlashY = in.i32();
        h.zStart = in.f64();
        h.zEnd = in.f64();
        h.zStep = in.f64();
        for (int32_t& p : h.pulsesPerUnit) p = in.i32();
        h.channelIndex = in.i32();
        h.calibOrder = in.i32();
        for (double& c : h.calib) c = in.f64();
        const uint32_t unitLen = in.u8();
        if (unitLen > 15) return false;
        h.energyUnit = in.bytes(unitLen);
        for (int s = 0; s < 20; ++s) {
            if (!(h.slotMask & (1u << s))) continue;
            h.roiStart[s] = in.i32();
            h.roiEnd[s] = in.i32();
            h.roiKind[s] = in.i32();
        }
        h.hasSettings = true;
    }
    return !in.bad && in.p == in.end;
}

}  // namespace

int JournalHeader::slotCount() const {
    int n = 0;
    for (int s = 0; s < 20; ++s) n += (slotMask >> s) & 1u;
    return n;
}

int32_t JournalLine::count(int slotIndex, int column) const {
    return static_cast<int32_t>(
        getU32(counts + 4 * (static_cast<std::size_t>(slotIndex) * pixels + column)));
}

JournalReading readJournal(const QString& path, const JournalLineFn& onLine) {
    JournalReading res;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        res.problem = path + QStringLiteral(": ") + f.errorString();
        return res;
    }
    unsigned char pre[kPreamble];
    if (f.read(reinterpret_cast<char*>(pre), kPreamble) != kPreamble ||
        std::memcmp(pre + 4, kJournalMagic, 4) != 0) {
        res.problem = path + QStringLiteral(": not a scan journal");
        return res;
    }
    res.header.version = getU32(pre);
    if (res.header.version < kJournalOldestVersion || res.header.version > kJournalVersion) {
        res.problem = path + QStringLiteral(": journal version %1 is not known to this program")
                                 .arg(res.header.version);
        return res;
    }
    std::vector<unsigned char> buf(kRecordHead + kJournalMaxRecord + kRecordTail);
    int64_t pos = kPreamble;
    const int64_t size = f.size();
    bool first = true;
    while (true) {
        if (f.read(reinterpret_cast<char*>(buf.data()), kRecordHead) != kRecordHead) break;
        const uint32_t len = getU32(buf.data());
        const char type = static_cast<char>(buf[4]);
        if (len > kJournalMaxRecord) break;
        const qint64 rest = static_cast<qint64>(len) + kRecordTail;
        if (f.read(reinterpret_cast<char*>(buf.data()) + kRecordHead, rest) != rest) break;
        if (crc32(buf.data() + 4, 1 + len) != getU32(buf.data() + kRecordHead + len)) break;
        In in{buf.data() + kRecordHead, buf.data() + kRecordHead + len};
        if (first) {
            if (type != 'H' || !readHeader(in, res.header)) {
                res.problem = path + QStringLiteral(": the journal's header is damaged");
                return res;
            }
            res.ok = true;
            first = false;
        } else if (type == 'L') {
            JournalLine line;
            line.pass = in.i32();
            line.scanZ = in.i32();
            line.row = in.i32();
            line.direction = in.i32();
            in.time(line.time);
            line.slotCount = static_cast<int32_t>(in.u16());
            line.pixels = static_cast<int32_t>(in.u16());
            line.counts = in.p;
            const std::size_t countBytes =
                static_cast<std::size_t>(line.slotCount) * static_cast<std::size_t>(line.pixels) * 4;
            if (in.bad || line.pass < 0 || line.scanZ < 0 || line.row < 0 ||
                line.row >= res.header.pixelsY || line.slotCount != res.header.slotCount() ||
                line.pixels != res.header.pixelsX ||
                static_cast<std::size_t>(in.end - in.p) != countBytes)
                break;
            if (res.passes.empty() || res.passes.back().pass != line.pass ||
                res.passes.back().scanZ != line.scanZ)
                res.passes.push_back({line.pass, line.scanZ, 0, false, {}});
            ++res.passes.back().lines;
            res.passes.back().lastLine = line.time;
            ++res.linesDone;
            if (onLine) onLine(line, res);
        } else if (type == 'P') {
            const int32_t pass = in.i32();
            const int32_t z = in.i32();
            if (in.bad) break;
            for (auto it = res.passes.rbegin(); it != res.passes.rend(); ++it)
                if (it->pass == pass && it->scanZ == z) {
                    it->written = true;
                    break;
                }
        } else if (type == 'E') {
            const uint32_t how = in.u8();
            if (in.bad || how < 1 || how > 4) break;
            res.end = static_cast<JournalEnd>(how);
        } else {
            break;   // a record type this version does not write: damaged
        }
        pos += kRecordHead + rest;
    }
    if (first && res.problem.isEmpty()) {
        res.problem = path + QStringLiteral(": the journal's header is missing or damaged");
        return res;
    }
    res.goodBytes = pos;
    res.tornTail = pos < size;
    return res;
}

JournalEnd journalEndOf(const QString& path) {
    QFile f(path);
    constexpr qint64 kEnd = kRecordHead + 1 + kRecordTail;
    unsigned char rec[kEnd];
    if (!f.open(QIODevice::ReadOnly) || f.size() < kPreamble + kEnd || !f.seek(f.size() - kEnd) ||
        f.read(reinterpret_cast<char*>(rec), kEnd) != kEnd)
        return JournalEnd::Open;
    if (getU32(rec) != 1 || rec[4] != 'E' || rec[5] < 1 || rec[5] > 4 ||
        crc32(rec + 4, 2) != getU32(rec + 6))
        return JournalEnd::Open;
    return static_cast<JournalEnd>(rec[5]);
}

ScanJournal::ScanJournal() = default;
ScanJournal::~ScanJournal() { close(); }

QString ScanJournal::pathFor(const InfoRecord& r, const LineTime& t) {
    return fromSjis(r.SaveFolder) + fromSjis(r.ScanFileName) +
           QString::fromLatin1(mapTimeText(t).c_str()) + QLatin1String(kJournalSuffix);
}

bool ScanJournal::writeRecord(char type, std::size_t payload, QString& error) {
    unsigned char* rec = buf_.data();
    putU32(rec, static_cast<uint32_t>(payload));
    rec[4] = static_cast<unsigned char>(type);
    putU32(rec + kRecordHead + payload, crc32(rec + 4, 1 + payload));
    const qint64 n = static_cast<qint64>(kRecordHead + payload + kRecordTail);
    if (file_.write(reinterpret_cast<const char*>(rec), n) != n) {
        error = file_.fileName() + QStringLiteral(": ") + file_.errorString();
        return false;
    }
    if (!syncToDisk(file_)) {
        error = file_.fileName() + QStringLiteral(": the data did not reach the disk");
        return false;
    }
    return true;
}

bool ScanJournal::create(const InfoRecord& r, const LineTime& started, QString& error) {
    close();
    slotCount_ = 0;
    for (int s = 0; s < 20; ++s)
        if (r.MapRoiEnabled[s] == 1) slots_[slotCount_++] = s;
    pixels_ = std::clamp(r.MapPixelsX, 0, kMapSide);
    // Sized once for the largest record of this scan: a line appends without allocating.
    buf_.assign(kPreamble + kRecordHead + std::max<std::size_t>(
                    kLineHead + static_cast<std::size_t>(slotCount_) * pixels_ * 4, kHeaderMax) +
                    kRecordTail,
                0);

    // Two scans started in the same second get "-2", "-3" ... before the suffix.
    const QString base = pathFor(r, started);
    QString path = base;
    for (int k = 2; QFileInfo::exists(path); ++k) {
        path = base;
        path.insert(path.size() - static_cast<int>(std::strlen(kJournalSuffix)),
                    QStringLiteral("-%1").arg(k));
    }
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        error = path + QStringLiteral(": ") + file_.errorString();
        return false;
    }
    unsigned char pre[kPreamble];
    putU32(pre, kJournalVersion);
    std::memcpy(pre + 4, kJournalMagic, 4);
    if (file_.write(reinterpret_cast<const char*>(pre), kPreamble) != kPreamble) {
        error = path + QStringLiteral(": ") + file_.errorString();
        file_.close();
        return false;
    }
    Out o{buf_.data() + kRecordHead};
    o.time(started);
    const std::size_t nameLen = fieldLength(r.ScanFileName, sizeof r.ScanFileName - 1);
    o.u16(static_cast<uint32_t>(nameLen));
    o.bytes(r.ScanFileName, nameLen);
    o.i32(r.MapPixelsX);
    o.i32(r.MapPixelsY);
    o.i32(r.ScanMethod);
    o.i32(r.ScanRepeat);
    o.i32(r.ScanUseZ);
    o.i32(r.ZCount);
    uint32_t mask = 0;
    for (int k = 0; k < slotCount_; ++k) mask |= 1u << slots_[k];
    o.u32(mask);
    for (int k = 0; k < slotCount_; ++k) {
        const char* name = r.MapRoiElementName[slots_[k]];
        const std::size_t len = fieldLength(name, sizeof r.MapRoiElementName[0] - 1);
        o.u8(static_cast<uint32_t>(len));
        o.bytes(name, len);
    }
    o.i32(r.ScanXPixelPulses);
    o.i32(r.ScanYPixelPulses);
    o.i32(r.ScanXSpeedPps);
    o.i32(r.XBacklashPulses);
    o.i32(r.YBacklashPulses);
    o.f64(r.ZStart);
    o.f64(r.ZEnd);
    o.f64(r.ZStep);
    for (int a = 0; a < 3; ++a) o.i32(r.MotorLogicalPulses[a]);
    o.i32(r.MapChannelIndex);
    o.i32(r.CalibOrder[0]);
    for (double c : {r.CalibA[0], r.CalibB[0], r.CalibC[0], r.CalibD[0]}) o.f64(c);
    const std::size_t unitLen = fieldLength(r.EnergyUnit[0], sizeof r.EnergyUnit[0] - 1);
    o.u8(static_cast<uint32_t>(unitLen));
    o.bytes(r.EnergyUnit[0], unitLen);
    for (int k = 0; k < slotCount_; ++k) {
        o.i32(r.RoiStart[0][slots_[k] + 1]);
        o.i32(r.RoiEnd[0][slots_[k] + 1]);
        o.i32(r.MapRoiKind[slots_[k]]);
    }
    if (!writeRecord('H', static_cast<std::size_t>(o.p - buf_.data()) - kRecordHead, error)) {
        file_.close();
        return false;
    }
    // The new file's name goes to the disk too, or a power cut right after the start could lose
    // the whole journal. A folder that cannot be synced (some file systems refuse) does not
    // refuse the scan: the header itself reached the disk, and a failing disk shows in the
    // journal's own writes, so the result is ignored here.
    (void)syncFolderToDisk(QFileInfo(path).absolutePath());
    return true;
}

bool ScanJournal::appendLine(int pass, int scanZ, int row, int direction, const LineTime& t,
                             const MapStore& maps, QString& error) {
    if (!file_.isOpen()) return false;
    Out o{buf_.data() + kRecordHead};
    o.i32(pass);
    o.i32(scanZ);
    o.i32(row);
    o.i32(direction);
    o.time(t);
    o.u16(static_cast<uint32_t>(slotCount_));
    o.u16(static_cast<uint32_t>(pixels_));
    const int y = std::clamp(row, 0, kMapSide - 1);
    for (int k = 0; k < slotCount_; ++k)
        for (int x = 0; x < pixels_; ++x) o.i32(maps.at(slots_[k], x, y));
    return writeRecord('L', static_cast<std::size_t>(o.p - buf_.data()) - kRecordHead, error);
}

bool ScanJournal::appendPassWritten(int pass, int scanZ, QString& error) {
    if (!file_.isOpen()) return false;
    Out o{buf_.data() + kRecordHead};
    o.i32(pass);
    o.i32(scanZ);
    return writeRecord('P', 8, error);
}

bool ScanJournal::finish(JournalEnd how, QString& error) {
    if (!file_.isOpen()) return false;
    buf_[kRecordHead] = static_cast<unsigned char>(how);
    const bool ok = writeRecord('E', 1, error);
    file_.close();
    return ok;
}

void ScanJournal::close() {
    if (file_.isOpen()) file_.close();
}

bool ScanJournal::endExisting(const QString& path, int64_t goodBytes, JournalEnd how,
                              QString& error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite)) {
        error = path + QStringLiteral(": ") + f.errorString();
        return false;
    }
    // A torn last record would hide the end record behind it from every later reading.
    if (f.size() != goodBytes && !f.resize(goodBytes)) {
        error = path + QStringLiteral(": ") + f.errorString();
        return false;
    }
    unsigned char rec[kRecordHead + 1 + kRecordTail];
    putU32(rec, 1);
    rec[4] = 'E';
    rec[5] = static_cast<unsigned char>(how);
    putU32(rec + 6, crc32(rec + 4, 2));
    if (!f.seek(goodBytes) ||
        f.write(reinterpret_cast<const char*>(rec), sizeof rec) != static_cast<qint64>(sizeof rec) ||
        !syncToDisk(f)) {
        error = path + QStringLiteral(": ") + f.errorString();
        return false;
    }
    return true;
}

}  // namespace qor
