#pragma once
// The scan file: one HDF5 file per mapping scan, beside the map CSV files, rewritten at the end of
// every pass (and for a stopped, aborted or recovered pass with what it measured), laid out the
// way NeXus viewers expect, so that a viewer opens it without help:
//
//   /entry                      NXentry: program name and version, start and end time, the
//                               file name prefix, the scan state, lines_measured[plane][pass]
//   /entry/scan                 NXcollection: the scan settings (pixel sizes, steps, speed,
//                               method, backlash, repeats, Z planes, channels)
//   /entry/calibration          NXcollection: the energy calibration of MCA1
//   /entry/<element>            NXdata per enabled map slot: data int32 [z][row][column]
//                               (chunked, compressed), x and y (and z) in mm, the map ROI
//
// Row 0 is the first line scanned (the Y origin), as in the CSV files. Each plane holds the
// latest pass measured on it; lines_measured says, per plane and pass, how many whole lines the
// pass stored, so a partial map says what it holds.
//
// Widget-free. The file is built in memory and written through the program's one safe-write
// rule, so a crash during a write never leaves a damaged file; planes written earlier are read
// back from the previous version of the file.

#include "app/InfoRecord.h"
#include "app/SafeWrite.h"
#include "scan/MapFileWriter.h"
#include "scan/MapStore.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace qor {

// How the pass just written ended.
enum class ScanFileState { Running, Complete, Stopped, Aborted, Recovered };
const char* scanFileStateText(ScanFileState s);   // "running", "complete", ...

// The group name of map slot `slot`: its element name in UTF-8 with '/' and '.' made '_', or
// "ROI-n" when empty; a name already taken by an earlier enabled slot gets "_ROI-n" appended.
QString scanFileGroupName(const InfoRecord& r, int slot);

// Stage coordinates of the map cells in mm: the centre of X pixel `column` (pixel k spans the X
// pulses k x ScanXPixelPulses to (k + 1) x ScanXPixelPulses from the origin), the Y of line
// `row`, and the Z of plane `plane`. A scale of 0 or less gives 0.
double mapColumnMm(const InfoRecord& r, int column);
double mapRowMm(const InfoRecord& r, int row);
double mapPlaneMm(const InfoRecord& r, int plane);

class ScanHdf5File {
public:
    // A new scan: keeps the settings it runs with and its start time, forgets the file of the
    // previous scan and sizes the line table (ZCount + 1 planes when Z is used, ScanRepeat passes).
    void beginScan(const InfoRecord& r, const QDateTime& start);

    // Records that pass `pass` of plane `plane` stored `lines` whole lines, and writes the file
    // with that plane's maps from `maps`. The first write of a scan names the file from `t`:
    // SaveFolder + ScanFileName + the time text + ".h5". Returns the outcome of the write.
    WriteOutcome writePass(const MapStore& maps, const LineTime& t, int plane, int pass,
                           int lines, ScanFileState state, const QDateTime& end);

    // Puts the file into `folder` (with its trailing separator) instead of the record's save
    // folder, with `mark` before ".h5": a scan recovered from its journal is named so. Call after
    // beginScan, before the first write.
    void nameFileIn(const QString& folder, const QString& mark);
    // Settings the file lists although they are not known (a recovered scan's journal lacks
    // them): named, relative to /entry, in its "not_recorded" attribute, so a reader does not
    // take their zeros for values.
    void setNotRecorded(const QStringList& names) { notRecorded_ = names; }

    bool begun() const { return planes_ > 0; }
    const QString& path() const { return path_; }
    int planes() const { return planes_; }
    int passes() const { return passes_; }
    int32_t linesMeasured(int plane, int pass) const;

private:
    InfoRecord rec_{};
    QDateTime start_;
    QString path_;
    QString folder_;                   // null: the record's save folder
    QString mark_;
    QStringList notRecorded_;
    int planes_ = 0;
    int passes_ = 0;
    std::vector<int32_t> lines_;       // [plane][pass]
    std::vector<uint8_t> planeWritten_;
    std::vector<int32_t> buffer_;      // one plane of one slot, row by row
};

}  // namespace qor
