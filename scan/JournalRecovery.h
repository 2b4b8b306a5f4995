#pragma once
// Finding the unfinished scan journals of a folder and recovering one: the map files of what it
// holds (marked partial, lines never measured 0) and the maps of its latest pass in the map
// arrays, so the 2D SCAN page shows them. Widget-free; the dialog that asks lives apart.

#include "scan/MapFileWriter.h"
#include "scan/MapStore.h"
#include "scan/ScanHdf5.h"
#include "scan/ScanJournal.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace qor {

struct JournalFound {
    QString path;
    JournalReading reading;   // checked, without the counts
};

// The journals in `folder` that hold a header but no end record, oldest name first. `skip` (a
// running scan's journal) is left out.
std::vector<JournalFound> findUnfinishedJournals(const QString& folder,
                                                 const QString& skip = QString());

// What the recovery dialog says of a journal: the scan's name, its start time, the lines done.
QString describeJournal(const JournalFound& j);

struct Recovery {
    bool ok = false;
    QString error;            // "<path>: <reason>" when something could not be written
    QStringList written;      // the partial map files, in order
    QString scanFile;         // the scan's HDF5 file, once written
    int64_t linesDone = 0;
    int32_t passesWritten = 0;
};

// Writes the partial map files of every pass of the journal whose files were never written and
// the scan's HDF5 file with every pass the journal holds (state "recovered", beside the map
// files, its name marked partial), leaves the maps of its latest pass in `maps` (every other
// cell 0), then marks the journal recovered. A failed write leaves the journal unfinished.
// The scan record the HDF5 file is written from: what the journal's header holds (name, map size,
// method, repeats at least as many as the journal holds, Z use and planes, the enabled slots and
// their elements; from version 2 also pixel pulses, speed, backlashes, Z range, pulses per unit,
// channels, MCA1's calibration and the slots' ROIs). A version 1 journal leaves those 0 and
// `notRecorded` gets the file's names of them; from version 2 it is empty.
InfoRecord scanRecordOf(const JournalReading& reading, QStringList& notRecorded);

Recovery recoverJournal(const QString& path, MapStore& maps, MapFileWriter& writer);

}  // namespace qor
