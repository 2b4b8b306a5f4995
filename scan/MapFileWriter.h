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
// once it has grown): MapPixelsY rows of MapPixelsX fields.
void formatMapFile(const MapStore& maps, int slot, int columns, int rows, std::string& out);

class MapFileWriter {
public:
    // Forgets the names written so far: called when a scan starts.
    void beginScan() { written_.clear(); }

    struct Result {
        QStringList written;   // paths of the files written, in slot order
        bool openFailed = false;
    };
    // Writes the files of every enabled slot (0..19). A file that cannot be created stops the
    // pass's remaining files (the caller reports "測定データファイル Open ERROR"). A name already
    // written earlier in the same scan gets "-2", "-3" ... before ".CSV", so no pass overwrites
    // another one's file.
    Result write(const InfoRecord& r, const MapStore& maps, const LineTime& t, int scanZ);

private:
    QString uniqueName(const QString& base);
    QStringList written_;
    std::string buffer_;
};

}  // namespace qor
