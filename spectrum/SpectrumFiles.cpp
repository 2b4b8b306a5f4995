#include "spectrum/SpectrumFiles.h"

#include "spectrum/FileLines.h"

#include <charconv>
#include <cstdio>
#include <cstring>

namespace qor {

const char kDatCompanyText[32] = "QOR LUMA             Corpration";

namespace {

void putInt16(uint8_t* at, int32_t v) {
    const auto u = static_cast<uint16_t>(static_cast<uint32_t>(v) & 0xFFFFu);
    at[0] = static_cast<uint8_t>(u & 0xFF);
    at[1] = static_cast<uint8_t>(u >> 8);
}

void putInt32(uint8_t* at, int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    at[0] = static_cast<uint8_t>(u & 0xFF);
    at[1] = static_cast<uint8_t>((u >> 8) & 0xFF);
    at[2] = static_cast<uint8_t>((u >> 16) & 0xFF);
    at[3] = static_cast<uint8_t>(u >> 24);
}

int32_t getInt16(const uint8_t* at) {
    return static_cast<int16_t>(static_cast<uint16_t>(at[0] | (at[1] << 8)));
}

int32_t getInt32(const uint8_t* at) {
    return static_cast<int32_t>(static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) |
                                (static_cast<uint32_t>(at[2]) << 16) |
                                (static_cast<uint32_t>(at[3]) << 24));
}

bool isSjisLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

std::string channelCountError(int32_t n) {
    char buf[160];
    std::snprintf(buf, sizeof buf, "チャンネル数 %d が 0～4096 の範囲外です。保存できません", n);
    return buf;
}

// `v` right-aligned in `width` characters (wider numbers in full), as printf's "%*d".
char* putPadded(char* p, int32_t v, int width) {
    char digits[12];
    const auto r = std::to_chars(digits, digits + sizeof digits, v);
    const int len = static_cast<int>(r.ptr - digits);
    for (int i = len; i < width; ++i) *p++ = ' ';
    std::memcpy(p, digits, static_cast<std::size_t>(len));
    return p + len;
}

// A line of two comma-separated numbers (blanks around them allowed).
bool isDataLine(std::string_view line) {
    int32_t v[2];
    return filetext::parseCommaInts(line, v, 2);
}

}  // namespace

void copyCutSjis(std::string_view text, char* field, std::size_t fieldSize) {
    if (fieldSize == 0) return;
    std::size_t keep = 0;
    while (keep < text.size()) {
        const std::size_t step =
            (isSjisLeadByte(static_cast<unsigned char>(text[keep])) && keep + 1 < text.size()) ? 2
                                                                                               : 1;
        if (keep + step > fieldSize - 1) break;
        keep += step;
    }
    if (keep > 0) std::memcpy(field, text.data(), keep);   // an empty view may have no data
    std::memset(field + keep, 0, fieldSize - keep);
}

std::string_view fieldText(const char* field, std::size_t fieldSize) {
    const auto* nul = static_cast<const char*>(std::memchr(field, '\0', fieldSize));
    return std::string_view(field, nul ? static_cast<std::size_t>(nul - field) : fieldSize);
}

// ------------------------------------------------------------------------------------------
// Binary file

bool buildDat(uint8_t (&h)[kDatHeaderSize], const DatContent& c, std::string& out,
              std::string& error) {
    const int32_t n = c.channels;
    if (n < 0 || n > kFileMaxChannels) {
        error = channelCountError(n);
        return false;
    }
    std::memcpy(h, kDatCompanyText, sizeof kDatCompanyText);
    putInt16(h + 50, 1);
    putInt16(h + 52, 0);
    putInt16(h + kDatChannelsOffset, n);
    std::memset(h + 56, 0, 80 - 56);  // int16[4], int32[3], int16[2]
    putInt16(h + 86, 0);
    for (int i = 0; i < kFileRoiCount; ++i) {
        putInt16(h + kDatRoiStartOffset + 2 * i, c.roiStart[i]);
        putInt16(h + kDatRoiEndOffset + 2 * i, c.roiEnd[i]);
        putInt16(h + 494 + 2 * i, 1);
    }
    std::memset(h + 694, 0, 8);
    putInt32(h + kDatPresetOffset, c.preset);
    std::memset(h + 712, 0, 8);
    static const int16_t kFixed[7] = {8, 300, 512, 256, 7, 0, 100};
    for (int i = 0; i < 7; ++i) putInt16(h + 720 + 2 * i, kFixed[i]);
    putInt16(h + 754, 0);
    putInt16(h + kDatChannelsAgainOffset, n);
    putInt16(h + 758, 0);
    for (int i = 0; i < 3; ++i) putInt16(h + 760 + 2 * i, 1);
    copyCutSjis(c.comment1, reinterpret_cast<char*>(h + kDatComment1Offset), kDatCommentField);
    copyCutSjis(c.comment2, reinterpret_cast<char*>(h + kDatComment2Offset), kDatCommentField);

    const std::size_t size = kDatHeaderSize + 4 * static_cast<std::size_t>(n);
    out.resize(size);
    auto* dst = reinterpret_cast<uint8_t*>(out.data());
    std::memcpy(dst, h, kDatHeaderSize);
    for (int32_t k = 0; k < n; ++k) putInt32(dst + kDatHeaderSize + 4 * k, c.data[k]);
    return true;
}

bool readDat(const uint8_t* bytes, std::size_t size, DatFile& out, std::string& error) {
    char buf[200];
    if (size < static_cast<std::size_t>(kDatHeaderSize)) {
        std::snprintf(
            buf, sizeof buf,
            "ファイルが %zu バイトしかありません。ヘッダ (1024 バイト) がそろっていません", size);
        error = buf;
        return false;
    }
    const int32_t n = getInt16(bytes + kDatChannelsOffset);
    if (n < 0 || n > kFileMaxChannels) {
        std::snprintf(buf, sizeof buf, "チャンネル数 %d (オフセット 54) が 0～4096 の範囲外です",
                      n);
        error = buf;
        return false;
    }
    const std::size_t need = kDatHeaderSize + 4 * static_cast<std::size_t>(n);
    if (size < need) {
        std::snprintf(buf, sizeof buf,
                      "ファイルが %zu バイトしかありません。%d チャンネルには %zu バイト必要です",
                      size, n, need);
        error = buf;
        return false;
    }
    std::memcpy(out.header, bytes, kDatHeaderSize);
    out.channels = n;
    for (int32_t k = 0; k < n; ++k) out.data[k] = getInt32(bytes + kDatHeaderSize + 4 * k);
    std::memset(out.data + n, 0, sizeof(int32_t) * static_cast<std::size_t>(kFileMaxChannels - n));
    out.ignoredRois = 0;
    for (int i = 0; i < kFileRoiCount; ++i) {
        const int32_t L = getInt16(bytes + kDatRoiStartOffset + 2 * i);
        const int32_t R = getInt16(bytes + kDatRoiEndOffset + 2 * i);
        const bool inside = L >= 0 && L < kFileMaxChannels && R >= 0 && R < kFileMaxChannels;
        out.roiStart[i] = inside ? L : 0;
        out.roiEnd[i] = inside ? R : 0;
        if (!inside) ++out.ignoredRois;
    }
    std::memcpy(out.comment1, bytes + kDatComment1Offset, kDatCommentField);
    std::memcpy(out.comment2, bytes + kDatComment2Offset, kDatCommentField);
    out.comment1[kDatCommentField] = '\0';
    out.comment2[kDatCommentField] = '\0';
    return true;
}

// ------------------------------------------------------------------------------------------
// CSV file

bool buildCsv(const int32_t* data, int32_t n, bool header, std::string_view comment1,
              std::string_view comment2, std::string& out, std::string& error) {
    if (n < 0 || n > kFileMaxChannels) {
        error = channelCountError(n);
        return false;
    }
    constexpr std::size_t kLineMax = 4 + 1 + 11 + 2;  // the widest "%4d,%8d\r\n" of int32s
    const std::size_t headerMax = header ? 9 + comment1.size() + comment2.size() + 6 : 0;
    out.resize(headerMax + kLineMax * static_cast<std::size_t>(n));
    char* p = out.data();
    if (header) {
        auto line = [&p](std::string_view s) {
            if (!s.empty()) std::memcpy(p, s.data(), s.size());
            p += s.size();
            *p++ = '\r';
            *p++ = '\n';
        };
        line("CSVHEADER");
        line(comment1);
        line(comment2);
    }
    for (int32_t k = 0; k < n; ++k) {
        p = putPadded(p, k, 4);
        *p++ = ',';
        p = putPadded(p, data[k], 8);
        *p++ = '\r';
        *p++ = '\n';
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
    return true;
}

void readCsv(const char* text, std::size_t size, int32_t n, int32_t (&work)[kFileMaxChannels],
             CsvReadInfo& info) {
    info = CsvReadInfo{};
    if (n < 0) n = 0;
    if (n > kFileMaxChannels) n = kFileMaxChannels;
    const char* p = text;
    const char* const end = text + size;

    std::string_view line;
    const char* afterFirst = p;
    if (filetext::nextLine(afterFirst, end, line) && line.size() >= 2 && line[0] == 'C' &&
        line[1] == 'S') {
        info.hasHeader = true;
        p = afterFirst;
        std::string_view c1, c2;
        filetext::nextLine(p, end, c1);
        // The earlier program kept each comment's line end and wrote it again, so a file it
        // saved after reading one back has an empty line after each comment. An empty line
        // is an empty comment 2 only when data follow it; otherwise comment 2 is the line after.
        const char* afterEmpty = p;
        std::string_view next;
        if (filetext::nextLine(afterEmpty, end, c2) && c2.empty() &&
            filetext::nextLine(afterEmpty, end, next) && !isDataLine(next)) {
            p = afterEmpty;
            c2 = next;
        } else {
            filetext::nextLine(p, end, c2);
        }
        copyCutSjis(c1, info.comment1, sizeof info.comment1);
        copyCutSjis(c2, info.comment2, sizeof info.comment2);
    }

    int32_t pos = 0;
    while (pos < n && filetext::nextLine(p, end, line)) {
        if (filetext::isBlankLine(line)) continue;  // white space between numbers
        int32_t v[2] = {0, 0};
        if (!filetext::parseCommaInts(line, v, 2) || v[0] < 0 || v[0] >= kFileMaxChannels) {
            ++info.ignored;
            ++pos;
            continue;
        }
        const int32_t channel = v[0], count = v[1];
        work[pos] = count;
        ++info.stored;
        pos = channel + 1;
    }
}

}  // namespace qor
