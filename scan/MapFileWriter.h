#pragma once
// The map files of a mapping scan: one CSV text per enabled map ROI slot, per pass and plane.
// Rows are "%8d" fields separated by "," and ended by a bare "\r"; no header.

#include "app/InfoRecord.h"
#include "scan/MapStore.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <string>

namespace qor {

// Date and time at the start of a line: year, month, day, hour, minute, second.
struct LineTime {
    int32_t v[6] = {};
};

// "-YYYYMMDD-hhmmss", every part zero-padded (16 characters).
std::string mapTimeText(const LineTime& t);
// "%4d" of plane + 1 with leading zeros ("0001" for the first plane).
std::string mapPlaneText(int scanZ);

// Formats one map slot as the file text into `out` (reused, so repeated writes do not allocate
// once it has grown): MapPixelsY rows of MapPixelsX fields. Rows from `rowsKept` on are written
// as 0 (a partial pass: the line under way was not completed); -1 keeps every row.
void formatMapFile(const MapStore& maps, int slot, int columns, int rows, std::string& out,
                   int rowsKept = -1);

// What names a pass's map files and shapes them: the folder, the scan's file name, the enabled
// slots with their element names, the map size. Taken from the record when a pass ends, or from
// a scan journal's header when a scan is recovered.
struct MapPassNames {
    QString folder;         // with its trailing separator (or empty: the current folder)
    QString scanFileName;
    bool enabled[20] = {};
    QString element[20];
    int columns = 0;
    int rows = 0;
};
MapPassNames mapPassNames(const InfoRecord& r);

// The mark a partial pass's files carry before their extension.
extern const char* const kPartialMark;   // "-partial"

class MapFileWriter {
public:
    // Forgets the names written so far: called when a scan starts.
    void beginScan() { written_.clear(); }

    struct Result {
        QStringList written;   // paths of the files written, in slot order
        bool openFailed = false;
        QString error;         // the failed file and why ("<path>: <reason>")
    };
    // Writes the files of every enabled slot (0..19), each through the program's safe-write
    // rule. A file that cannot be written stops the pass's remaining files (the caller reports
    // "測定データファイル Open ERROR" with `error`). A name already written earlier in the same
    // scan gets "-2", "-3" ... before ".CSV", so no pass overwrites another one's file.
    Result write(const InfoRecord& r, const MapStore& maps, const LineTime& t, int scanZ);
    Result write(const MapPassNames& names, const MapStore& maps, const LineTime& t, int scanZ);
    // The same for a pass that did not end: rows from `rowsKept` on are 0 in the files, and the
    // names carry kPartialMark before ".CSV".
    Result writePartial(const MapPassNames& names, const MapStore& maps, const LineTime& t,
                        int scanZ, int rowsKept);

private:
    Result writeFiles(const MapPassNames& names, const MapStore& maps, const LineTime& t,
                      int scanZ, int rowsKept);
    QString uniqueName(const QString& base);
    QStringList written_;
    std::string buffer_;
};

}  // namespace qor
