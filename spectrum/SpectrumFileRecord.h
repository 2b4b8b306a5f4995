#pragma once
// What the spectrum file writers take from the information record: the binary file the channel
// count, preset and ROI table of CurrentSlot, the CSV file the channel count of the viewed slot;
// both the two comments. Whatever the record holds, every index stays inside its array.

#include "app/InfoRecord.h"
#include "spectrum/SpectrumFiles.h"

namespace qor {

// The binary file's content: `viewed` is the viewed slot's 4096 channels.
DatContent binaryContent(const InfoRecord& r, const int32_t* viewed);

struct CsvContent {
    const int32_t* data = nullptr;
    int32_t channels = 0;
    bool header = false;   // CsvHeader = 1
    std::string_view comment1;
    std::string_view comment2;
};

// The CSV file's content of slot `viewSlot` (0..2) whose channels are `viewed`.
CsvContent csvContent(const InfoRecord& r, int viewSlot, const int32_t* viewed);

}  // namespace qor
