// Entry points of the spectrum and ROI file readers.

#include "fuzz/FuzzEntries.h"
#include "spectrum/RoiFiles.h"
#include "spectrum/SpectrumFiles.h"

#include <cstring>
#include <string>

namespace qor::fuzz {

namespace {

int32_t le16(const uint8_t* p) {
    return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
}

int32_t le32(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                                (static_cast<uint32_t>(p[2]) << 16) |
                                (static_cast<uint32_t>(p[3]) << 24));
}

// Lines ended by CR, LF or CR LF, the last one with or without its end.
int lineCount(const char* text, std::size_t size) {
    int n = 0;
    for (std::size_t i = 0; i < size; ++i)
        n += text[i] == '\n' ? (i == 0 || text[i - 1] != '\r') : text[i] == '\r';
    return n + 1;
}

bool terminated(const char* field, std::size_t size) {
    return std::memchr(field, 0, size) != nullptr;
}

// Header bytes the binary writer leaves as the buffer holds them.
bool isUnsetHeaderByte(int at) {
    static const int ranges[][2] = {{32, 50},   {80, 86},   {88, 94},   {702, 704},
                                    {708, 712}, {734, 754}, {766, 774}, {838, 1024}};
    for (const auto& r : ranges)
        if (at >= r[0] && at < r[1]) return true;
    return false;
}

}  // namespace

const char* datInput(const uint8_t* data, std::size_t size) {
    static DatFile f, again;
    std::string error;
    const bool accepted = readDat(data, size, f, error);
    const int32_t n = size >= 56 ? le16(data + kDatChannelsOffset) : -1;
    const bool sound =
        size >= static_cast<std::size_t>(kDatHeaderSize) && n >= 0 && n <= kFileMaxChannels &&
        size >= static_cast<std::size_t>(kDatHeaderSize) + 4 * static_cast<std::size_t>(n);
    QOR_CHECK(accepted == sound, "a binary file is refused exactly when short or its count is bad");
    if (!accepted) {
        QOR_CHECK(!error.empty(), "a refused binary file says why");
        return nullptr;
    }
    QOR_CHECK(f.channels == n, "the channel count is the int16 at 54");
    QOR_CHECK(std::memcmp(f.header, data, kDatHeaderSize) == 0, "the header is the file's");
    for (int32_t k = 0; k < kFileMaxChannels; ++k)
        QOR_CHECK(f.data[k] == (k < n ? le32(data + kDatHeaderSize + 4 * k) : 0),
                  "channels 0..n-1 are the file's, the rest 0");
    int ignored = 0;
    for (int i = 0; i < kFileRoiCount; ++i) {
        QOR_CHECK(f.roiStart[i] >= 0 && f.roiStart[i] < kFileMaxChannels, "ROI start inside");
        QOR_CHECK(f.roiEnd[i] >= 0 && f.roiEnd[i] < kFileMaxChannels, "ROI end inside");
        const int32_t L = le16(data + kDatRoiStartOffset + 2 * i);
        const int32_t R = le16(data + kDatRoiEndOffset + 2 * i);
        if (L == f.roiStart[i] && R == f.roiEnd[i]) continue;
        QOR_CHECK(f.roiStart[i] == 0 && f.roiEnd[i] == 0, "a ROI outside is read as undefined");
        ++ignored;
    }
    QOR_CHECK(ignored == f.ignoredRois, "every ROI left out is counted");
    QOR_CHECK(
        terminated(f.comment1, sizeof f.comment1) && terminated(f.comment2, sizeof f.comment2),
        "comments read are terminated");

    // Saved again as read: the unset header bytes stay, everything reads back the same.
    uint8_t header[kDatHeaderSize];
    std::memcpy(header, f.header, kDatHeaderSize);
    DatContent c;
    c.channels = f.channels;
    c.roiStart = f.roiStart;
    c.roiEnd = f.roiEnd;
    c.preset = le32(data + kDatPresetOffset);
    c.comment1 = fieldText(f.comment1, kDatCommentField);
    c.comment2 = fieldText(f.comment2, kDatCommentField);
    c.data = f.data;
    std::string out;
    QOR_CHECK(buildDat(header, c, out, error), "what was read can be saved");
    QOR_CHECK(out.size() == kDatHeaderSize + 4 * static_cast<std::size_t>(n), "size 1024 + 4n");
    const auto* o = reinterpret_cast<const uint8_t*>(out.data());
    for (int at = 0; at < kDatHeaderSize; ++at)
        if (isUnsetHeaderByte(at)) QOR_CHECK(o[at] == data[at], "unset header bytes are kept");
    QOR_CHECK(readDat(o, out.size(), again, error), "a saved file reads back");
    QOR_CHECK(again.channels == n && std::memcmp(again.data, f.data, sizeof f.data) == 0,
              "channels round-trip");
    QOR_CHECK(std::memcmp(again.roiStart, f.roiStart, sizeof f.roiStart) == 0 &&
                  std::memcmp(again.roiEnd, f.roiEnd, sizeof f.roiEnd) == 0 &&
                  again.ignoredRois == 0,
              "ROIs round-trip");
    QOR_CHECK(std::strlen(again.comment1) <= 31 &&
                  c.comment1.substr(0, std::strlen(again.comment1)) == again.comment1,
              "a comment saved again is the comment read, cut to 31 bytes");
    return nullptr;
}

const char* csvInput(const uint8_t* data, std::size_t size) {
    static int32_t work[kFileMaxChannels], again[kFileMaxChannels];
    const char* text = reinterpret_cast<const char*>(data);
    // A channel count from the first byte too, so that short reads are tried as well.
    const int32_t counts[2] = {size > 0 ? data[0] * 17 % (kFileMaxChannels + 1) : 0,
                               kFileMaxChannels};
    for (int32_t n : counts) {
        for (int k = 0; k < kFileMaxChannels; ++k) work[k] = k * 31 - 7;
        CsvReadInfo info;
        readCsv(text, size, n, work, info);
        QOR_CHECK(info.stored + info.ignored <= lineCount(text, size), "one line, one result");
        for (int k = n; k < kFileMaxChannels; ++k)
            QOR_CHECK(work[k] == k * 31 - 7, "channels from n on keep their values");
        QOR_CHECK(terminated(info.comment1, sizeof info.comment1) &&
                      terminated(info.comment2, sizeof info.comment2),
                  "comments read are terminated inside their fields");
        if (!info.hasHeader)
            QOR_CHECK(info.comment1[0] == 0 && info.comment2[0] == 0, "no header, no comments");

        if (n != kFileMaxChannels) continue;
        // What was read, saved again and read back, is the same.
        std::string out, error;
        QOR_CHECK(buildCsv(work, kFileMaxChannels, info.hasHeader, info.comment1, info.comment2,
                           out, error),
                  "what was read can be saved");
        for (int k = 0; k < kFileMaxChannels; ++k) again[k] = ~work[k];
        CsvReadInfo back;
        readCsv(out.data(), out.size(), kFileMaxChannels, again, back);
        QOR_CHECK(back.hasHeader == info.hasHeader, "the header round-trips");
        QOR_CHECK(back.stored == kFileMaxChannels && back.ignored == 0, "every line is read back");
        QOR_CHECK(std::memcmp(again, work, sizeof work) == 0, "the channels round-trip");
        QOR_CHECK(std::strcmp(back.comment1, info.comment1) == 0 &&
                      std::strcmp(back.comment2, info.comment2) == 0,
                  "the comments round-trip");
    }
    return nullptr;
}

const char* roiInput(const uint8_t* data, std::size_t size) {
    static int32_t start[128], end[128];
    for (int i = 0; i < 128; ++i) {
        start[i] = i * 7 % kRoiFileChannels;
        end[i] = (i * 13 + 5) % kRoiFileChannels;
    }
    const char* text = reinterpret_cast<const char*>(data);
    const RoiReadInfo info = readRoiTable(text, size, start, end);
    QOR_CHECK(info.stored + info.ignored <= lineCount(text, size), "one line, one result");
    for (int i = 0; i < 128; ++i) {
        if (i >= kRoiFileCount) {
            QOR_CHECK(
                start[i] == i * 7 % kRoiFileChannels && end[i] == (i * 13 + 5) % kRoiFileChannels,
                "nothing is stored past ROI 99");
            continue;
        }
        QOR_CHECK(start[i] >= 0 && start[i] < kRoiFileChannels && end[i] >= 0 &&
                      end[i] < kRoiFileChannels,
                  "every ROI stays inside the channels");
    }
    std::string out;
    buildRoiTable(start, end, out);
    int32_t s2[128] = {}, e2[128] = {};
    const RoiReadInfo back = readRoiTable(out.data(), out.size(), s2, e2);
    QOR_CHECK(back.stored == kRoiFileCount && back.ignored == 0, "a saved table reads back whole");
    QOR_CHECK(std::memcmp(s2, start, sizeof(int32_t) * kRoiFileCount) == 0 &&
                  std::memcmp(e2, end, sizeof(int32_t) * kRoiFileCount) == 0,
              "the table round-trips");
    return nullptr;
}

const char* sroiInput(const uint8_t* data, std::size_t size) {
    const SingleRoiLine l = readSingleRoi(reinterpret_cast<const char*>(data), size);
    QOR_CHECK(
        !l.storeEdges || (l.readable && l.number >= 0 && l.number < kRoiFileCount && l.start >= 0 &&
                          l.start < kRoiFileChannels && l.end >= 0 && l.end < kRoiFileChannels),
        "edges are stored only from a line inside the table");
    QOR_CHECK(!l.setCurrent || (l.storeEdges && l.number >= 1), "only ROIs 1..99 become current");
    if (!l.readable) return nullptr;
    std::string out;
    buildSingleRoi(l.number, l.start, l.end, out);
    const SingleRoiLine back = readSingleRoi(out.data(), out.size());
    QOR_CHECK(back.readable && back.number == l.number && back.start == l.start &&
                  back.end == l.end && back.storeEdges == l.storeEdges &&
                  back.setCurrent == l.setCurrent,
              "the line round-trips");
    return nullptr;
}

}  // namespace qor::fuzz
