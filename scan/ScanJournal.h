#pragma once
// The scan journal: a file in the save folder that a mapping scan appends every completed line
// to, flushed to the disk before the next stroke starts, so that a crash, a kill or a power cut
// loses at most the line under way. Little-endian binary, every record with its CRC-32, so a
// torn last record is recognised and dropped (the README describes the layout).
//
//   file    = version (u32) "QORJ" record*
//   record  = length (u32, of the payload) type (u8) payload crc (u32, of type and payload)
//   'H'       header: start time, scan file name, map size, method, repeats, Z use and count,
//             the enabled slots with their element names; from version 2 also the scan's
//             pixel pulses, speed, backlashes, Z range, pulses per unit, channels, MCA1's
//             energy calibration and the map slots' ROI channels and kinds
//   'L'       one completed line: pass, Z plane, row, direction, its start time, slot and pixel
//             counts, then the counts slot after slot in map column order
//   'P'       the map files of a pass were written (pass, Z plane)
//   'E'       the scan ended (how): a journal without it is unfinished

#include "app/InfoRecord.h"
#include "scan/MapFileWriter.h"
#include "scan/MapStore.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

namespace qor {

constexpr uint32_t kJournalVersion = 2;   // written; version 1 is still read
constexpr uint32_t kJournalOldestVersion = 1;
constexpr char kJournalMagic[4] = {'Q', 'O', 'R', 'J'};
// The journal's file name ends so; its stem is the scan's file name and start time.
extern const char* const kJournalSuffix;   // ".scanjournal"
// The largest record the reader accepts (a line of 20 slots x 1024 pixels is 80 KiB).
constexpr uint32_t kJournalMaxRecord = 20u * 1024u * 4u + 1024u;

// How a journal was closed ('E' record).
enum class JournalEnd : uint8_t {
    Open = 0,        // no end record: the scan never ended (crash, kill, power cut)
    Finished = 1,    // the scan ran to its end and every pass's map files were written
    Stopped = 2,     // Stop SCAN: the pass under way was written as partial map files
    Aborted = 3,     // an abort: likewise
    Recovered = 4,   // a later start wrote the partial map files from the journal
};

struct JournalHeader {
    uint32_t version = 0;
    LineTime started;
    QByteArray scanFileName;   // the record's bytes (code page 932)
    int32_t pixelsX = 0;
    int32_t pixelsY = 0;
    int32_t method = 0;
    int32_t repeat = 0;
    int32_t useZ = 0;
    int32_t zCount = 0;
    uint32_t slotMask = 0;           // bit s: map slot s (0..19) enabled
    QByteArray elementName[20];      // of the enabled slots (code page 932)

    // From version 2 (hasSettings): what the scan file needs beyond the above.
    bool hasSettings = false;
    int32_t pixelPulsesX = 0;
    int32_t pixelPulsesY = 0;
    int32_t speedX = 0;              // pulses/s
    int32_t backlashX = 0;
    int32_t backlashY = 0;
    double zStart = 0, zEnd = 0, zStep = 0;
    int32_t pulsesPerUnit[3] = {};   // X, Y, Z motors
    int32_t channelIndex = 0;        // the map's MCA channel setting
    int32_t calibOrder = 0;          // MCA1's energy calibration
    double calib[4] = {};            // a, b, c, d
    QByteArray energyUnit;           // code page 932, at most 15 bytes
    int32_t roiStart[20] = {};       // of the enabled slots: MCA1's ROI s + 1
    int32_t roiEnd[20] = {};
    int32_t roiKind[20] = {};

    int slotCount() const;
};

// One pass of one Z plane as the journal holds it.
struct JournalPass {
    int32_t pass = 0;
    int32_t scanZ = 0;
    int32_t lines = 0;       // line records of this pass (each a completed line)
    bool written = false;    // its map files were written ('P' record)
    LineTime lastLine;       // start time of its latest line
};

// One line record as read: the counts are slot after slot (enabled slots in order), each in
// map column order, little-endian.
struct JournalLine {
    int32_t pass = 0;
    int32_t scanZ = 0;
    int32_t row = 0;
    int32_t direction = 0;   // 0: stroke in +X, 1: stroke in -X (stored mirrored)
    LineTime time;
    int32_t slotCount = 0;
    int32_t pixels = 0;
    const unsigned char* counts = nullptr;
    int32_t count(int slotIndex, int column) const;
};

struct JournalReading {
    bool ok = false;          // a header was read
    QString problem;          // why not
    JournalHeader header;
    std::vector<JournalPass> passes;   // in the order the journal holds them
    int64_t linesDone = 0;
    JournalEnd end = JournalEnd::Open;
    int64_t goodBytes = 0;    // length of the whole, checked records
    bool tornTail = false;    // bytes after them (a record cut or damaged) were dropped
};

// Reads and checks a journal: the header, then every whole record whose check value matches,
// up to the first that is cut short or damaged. `onLine` (when given) sees every line record
// with the reading so far (its last pass is the line's). Nothing in the file is trusted: sizes
// outside the map arrays end the reading there.
using JournalLineFn = std::function<void(const JournalLine&, const JournalReading& sofar)>;
JournalReading readJournal(const QString& path, const JournalLineFn& onLine = {});

// How a journal ended, from its last record alone (an end record is always the last one), so a
// folder of long finished journals is looked through without reading them; Open when its last
// bytes are not an end record.
JournalEnd journalEndOf(const QString& path);

// Appends to a journal; one per scan.
class ScanJournal {
public:
    ScanJournal();
    ~ScanJournal();

    // The journal's path for a scan started at `t`: the save folder, the scan's file name, the
    // time as in the map files' names, kJournalSuffix.
    static QString pathFor(const InfoRecord& r, const LineTime& t);

    // Creates the journal of a scan starting now with the record's settings and writes its
    // header to the disk. False (with the file's name and the reason in `error`) when it cannot.
    bool create(const InfoRecord& r, const LineTime& started, QString& error);
    // Appends the completed `row` of the maps (every enabled slot) and puts it on the disk.
    bool appendLine(int pass, int scanZ, int row, int direction, const LineTime& t,
                    const MapStore& maps, QString& error);
    // The map files of the pass were written.
    bool appendPassWritten(int pass, int scanZ, QString& error);
    // Appends the end record and closes the journal.
    bool finish(JournalEnd how, QString& error);
    // Closes without an end record: the journal stays unfinished (for a later recovery).
    void close();

    bool isOpen() const { return file_.isOpen(); }
    QString path() const { return file_.fileName(); }

    // Opens an existing journal to end it: cuts a torn tail at `goodBytes`, then appends the
    // end record. Used by a recovery.
    static bool endExisting(const QString& path, int64_t goodBytes, JournalEnd how,
                            QString& error);

private:
    bool writeRecord(char type, std::size_t payload, QString& error);
    QFile file_;
    std::vector<unsigned char> buf_;   // one record, sized for a whole line at create
    int slots_[20] = {};
    int slotCount_ = 0;
    int pixels_ = 0;
};

}  // namespace qor
