#pragma once
// Finding the unfinished scan journals of a folder and recovering one: the map files of what it
// holds (marked partial, lines never measured 0) and the maps of its latest pass in the map
// arrays, so the 2D SCAN page shows them. Widget-free; the dialog that asks lives apart.

#include "scan/MapFileWriter.h"
#include "scan/MapStore.h"
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
    int64_t linesDone = 0;
    int32_t passesWritten = 0;
};

// Writes the partial map files of every pass of the journal whose files were never written,
// leaves the maps of its latest pass in `maps` (every other cell 0), then marks the journal
// recovered. A failed write leaves the journal unfinished.
Recovery recoverJournal(const QString& path, MapStore& maps, MapFileWriter& writer);

}  // namespace qor
