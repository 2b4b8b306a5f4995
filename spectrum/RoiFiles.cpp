#include "spectrum/RoiFiles.h"

#include "spectrum/FileLines.h"

#include <charconv>

namespace qor {

namespace {

void appendLine(std::string& out, int32_t a, int32_t b, int32_t c) {
    char buf[3 * 12 + 3];
    char* p = buf;
    const int32_t v[3] = {a, b, c};
    for (int i = 0; i < 3; ++i) {
        p = std::to_chars(p, buf + sizeof buf, v[i]).ptr;
        *p++ = i < 2 ? ',' : '\n';
    }
    out.append(buf, static_cast<std::size_t>(p - buf));
}

bool channelInside(int32_t c) { return c >= 0 && c < kRoiFileChannels; }

}  // namespace

void buildRoiTable(const int32_t* start, const int32_t* end, std::string& out) {
    out.clear();
    for (int32_t r = 0; r < kRoiFileCount; ++r) appendLine(out, r, start[r], end[r]);
}

void buildSingleRoi(int32_t number, int32_t start, int32_t end, std::string& out) {
    out.clear();
    appendLine(out, number, start, end);
}

RoiReadInfo readRoiTable(const char* text, std::size_t size, int32_t* start, int32_t* end) {
    RoiReadInfo info;
    const char* p = text;
    const char* const stop = text + size;
    std::string_view line;
    int32_t pos = 0;
    while (pos < kRoiFileCount && filetext::nextLine(p, stop, line)) {
        if (filetext::isBlankLine(line)) continue;
        int32_t v[3] = {0, 0, 0};
        if (!filetext::parseCommaInts(line, v, 3) || v[0] < 0 || v[0] >= kRoiFileCount ||
            !channelInside(v[1]) || !channelInside(v[2])) {
            ++info.ignored;
            ++pos;
            continue;
        }
        start[pos] = v[1];
        end[pos] = v[2];
        ++info.stored;
        pos = v[0] + 1;
    }
    return info;
}

SingleRoiLine readSingleRoi(const char* text, std::size_t size) {
    SingleRoiLine r;
    const char* p = text;
    const char* const stop = text + size;
    std::string_view line;
    // The readers take white space between numbers as the C library does: leading blank lines
    // are passed over.
    while (filetext::nextLine(p, stop, line)) {
        if (filetext::isBlankLine(line)) continue;
        int32_t v[3] = {0, 0, 0};
        if (!filetext::parseCommaInts(line, v, 3)) return r;
        r.readable = true;
        r.number = v[0];
        r.start = v[1];
        r.end = v[2];
        r.storeEdges = v[0] >= 0 && v[0] < kRoiFileCount && channelInside(v[1]) &&
                       channelInside(v[2]);
        r.setCurrent = r.storeEdges && v[0] >= 1;
        return r;
    }
    return r;
}

}  // namespace qor
