#pragma once
// The one way a pass that did not end is kept: Stop SCAN, an abort and a recovery from the scan
// journal all write their maps here, as map files marked partial, whose rows never measured
// are 0.

#include "scan/MapFileWriter.h"
#include "scan/MapStore.h"

namespace qor {

struct PartialPass {
    MapPassNames names;
    LineTime time;            // start of the latest line measured: the files' time stamp
    int32_t pass = 0;
    int32_t scanZ = 0;
    int32_t linesDone = 0;    // lines completed in this pass and plane
    int32_t linesPlanned = 0;
    // Rows of the maps written as measured; the rows after them are written as 0 (the maps may
    // hold part of the line that was under way). A recovery, whose maps hold only measured
    // lines, keeps every row.
    int32_t rowsKept = 0;
};

// Writes the partial map files of every enabled slot of `p` from `maps`. A pass without a
// completed line writes nothing.
MapFileWriter::Result writePartialPass(MapFileWriter& writer, const PartialPass& p,
                                       const MapStore& maps);

// ": 12 of 32 lines kept in 3 map files", the sentence an end text gets for a kept pass.
QString keptLinesText(const PartialPass& p, const MapFileWriter::Result& files);

}  // namespace qor
