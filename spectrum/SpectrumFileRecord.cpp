#include "spectrum/SpectrumFileRecord.h"

#include <algorithm>

namespace qor {

namespace {
std::string_view comment(const char (&field)[kCommentFieldSize]) {
    return fieldText(field, kCommentFieldSize);
}
}  // namespace

DatContent binaryContent(const InfoRecord& r, const int32_t* viewed) {
    const int cs = std::clamp<int32_t>(r.CurrentSlot, 0, 7);   // the per-slot arrays' 8 entries
    DatContent c;
    c.channels = r.McaChannels[cs];
    c.roiStart = r.RoiStart[cs];
    c.roiEnd = r.RoiEnd[cs];
    c.preset = r.McaPresetValue[cs];
    c.comment1 = comment(r.SpectrumComment1);
    c.comment2 = comment(r.SpectrumComment2);
    c.data = viewed;
    return c;
}

CsvContent csvContent(const InfoRecord& r, int viewSlot, const int32_t* viewed) {
    CsvContent c;
    c.data = viewed;
    c.channels = r.McaChannels[std::clamp(viewSlot, 0, 7)];
    c.header = r.CsvHeader == 1;
    c.comment1 = comment(r.SpectrumComment1);
    c.comment2 = comment(r.SpectrumComment2);
    return c;
}

}  // namespace qor
