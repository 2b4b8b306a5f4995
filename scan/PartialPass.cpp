#include "scan/PartialPass.h"

namespace qor {

MapFileWriter::Result writePartialPass(MapFileWriter& writer, const PartialPass& p,
                                       const MapStore& maps) {
    if (p.linesDone <= 0) return {};
    return writer.writePartial(p.names, maps, p.time, p.scanZ, p.rowsKept);
}

QString keptLinesText(const PartialPass& p, const MapFileWriter::Result& files) {
    if (files.openFailed)
        return QStringLiteral(": %1 of %2 lines kept in the scan journal, map files not written")
            .arg(p.linesDone)
            .arg(p.linesPlanned);
    const int n = static_cast<int>(files.written.size());
    return QStringLiteral(": %1 of %2 lines kept in %3 %4")
        .arg(p.linesDone)
        .arg(p.linesPlanned)
        .arg(n)
        .arg(n == 1 ? QStringLiteral("map file") : QStringLiteral("map files"));
}

}  // namespace qor
