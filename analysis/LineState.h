#pragma once
// What the line tables add to the program's state: the table the Table menu chose, the sources
// marked for the spectrum view with their pre-drawn marker labels, and the last identification.

#include "analysis/Identify.h"
#include "analysis/LineTable.h"

#include <QImage>
#include <vector>

namespace qor {

// One marker of the spectrum view: a line at its energy, its height from its relative
// intensity, its label drawn once when the marks change (so a redraw allocates nothing).
struct MarkerLine {
    double energyKeV = 0.0;
    double relative = 0.0;
    QImage label;   // empty for lines too weak to be labelled
};

struct LineState {
    TableKind table = TableKind::Xray;
    std::vector<int> marked;           // sources of `table` marked for the spectrum view
    std::vector<MarkerLine> markers;   // their lines
    QImage needCalibration;            // the note shown when there are markers but no calibration

    // The last identification, of slot `slot` (-1: none yet).
    int slot = -1;
    std::vector<PeakInput> peaks;
    Identification result;
};

// Lines weaker than this share of their family's strongest get no marker.
constexpr double kMarkerMinRelative = 0.05;
// Lines below this energy (absorbed before the detector, and crowded) get no marker.
constexpr double kMarkerMinKeV = 1.0;
// Lines at least this strong get a label.
constexpr double kMarkerLabelRelative = 0.1;
constexpr int kMaxMarkedSources = 8;

// Marks `sources` of `table` (at most kMaxMarkedSources, the rest ignored) and draws their labels.
void setMarkedSources(LineState& st, TableKind table, const std::vector<int>& sources);
// Marks nothing.
void clearMarks(LineState& st);

}  // namespace qor
