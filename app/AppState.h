#pragma once
// All program state, owned by the main window for the whole run and handed to every page by
// reference.

#include "analysis/LineState.h"
#include "analysis/PeakAnalysis.h"
#include "app/InfoRecord.h"
#include "app/ProgramSettings.h"
#include "scan/MapStore.h"
#include "spectrum/SpectrumFileState.h"
#include "spectrum/SpectrumState.h"

#include <QString>
#include <cstdint>

namespace qor {

// Last motor state read by the position read-back.
struct MotorStatusReadout {
    int32_t pulses = 0;
    int32_t busy = 0;
    uint8_t ccw = 0;
    uint8_t cw = 0;
};

struct AppState {
    InfoRecord rec{};        // the information record, live for the whole run
    QString infoFilePath;    // built once at start-up, used again at close
    ProgramSettings settings;   // the program's own settings file, beside the information file
    QString settingsFilePath;
    bool settingsProtected = false;   // the file exists but could not be read: not overwritten

    // Connection flags.
    int32_t Online = 0;
    int32_t UsbOpenAllowed = 1;
    int32_t MotorsInitialised = 0;

    int32_t ScanMode = 0;            // 0 idle, 2 mapping scan, 3 element scan
    // The preset MCA1 was last started with, as sent (the status reply does not carry it).
    struct PresetSent {
        bool known = false;
        bool sweep = false;          // the element scan's own preset
        int32_t ticks = 0;
    } Mca1PresetSent;
    int32_t PreviousTabIndex = 0;    // page seen by the previous acquisition tick

    SpectrumState spectrum;
    SpectrumFileState files;   // spectrum and ROI files: header buffer, dialogs, comments read
    MapStore maps;
    MapDisplayState mapView;
    MotorStatusReadout LastMotorStatus;
    AnalysisState analysis;   // the main window's analysis engine handle and peak results
    LineState lines;          // line tables: the table chosen, markers, last identification
};

}  // namespace qor
