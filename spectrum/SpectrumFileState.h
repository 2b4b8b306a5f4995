#pragma once
// What the spectrum and ROI file commands keep for the whole run: the binary file header buffer,
// the properties of the shared save and open dialogs, and the comments of the file last read.

#include "spectrum/SpectrumFiles.h"

#include <QString>
#include <cstdint>

namespace qor {

// The properties a command sets on SaveDialog1 / OpenDialog1; a property a command does not set
// stays as the previous command left it. The folder is always SaveFolder.
struct FileDialogProps {
    QString filter;
    QString title;
    QString fileName;   // offered in the dialog; after a dialog, the name chosen
};

struct SpectrumFileState {
    // Zero at start; a binary read fills it with the file's first 1024 bytes, a binary save sets
    // its fields and writes it whole, so the bytes the writer does not set keep the last read
    // file's.
    uint8_t SpectrumFileHeader[kDatHeaderSize] = {};
    FileDialogProps SaveDialog1;
    FileDialogProps OpenDialog1;
    // The two comment lines of the spectrum file last read, shown on the MCA page.
    QString ReadComment1;
    QString ReadComment2;
};

}  // namespace qor
