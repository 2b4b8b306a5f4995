#pragma once
// The two spectrum file formats as pure functions from bytes to a result and from a slot to bytes,
// shared by the tool-bar commands, the tests, the benchmarks and the fuzzers:
//
// - the laboratory binary file (.DAT): a 1024-byte header (channel count, ROI table, preset, two
//   comment lines, a fixed company text), then the channels as little-endian int32;
// - the CSV text file (.CSV): optionally "CSVHEADER" and the two comment lines, then one
//   "%4d,%8d" line per channel, every line ended by CR LF.
//
// No Qt here: the formats are plain bytes, the comments 8-bit (Shift-JIS) text. Messages are
// UTF-8.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qor {

constexpr int kDatHeaderSize = 1024;
constexpr int kFileMaxChannels = 4096;   // a slot's channels
constexpr int kFileRoiCount = 100;       // ROI numbers 0..99 travel in the files
constexpr int kDatCommentField = 32;     // 31 bytes of comment and a NUL
constexpr int kCommentFieldSize = 80;    // SpectrumComment1 / SpectrumComment2 of the record

// Offsets of the header fields the reader interprets.
constexpr int kDatChannelsOffset = 54;
constexpr int kDatChannelsAgainOffset = 756;
constexpr int kDatRoiStartOffset = 94;
constexpr int kDatRoiEndOffset = 294;
constexpr int kDatPresetOffset = 704;
constexpr int kDatComment1Offset = 774;
constexpr int kDatComment2Offset = 806;

// The text at offset 0 (31 characters and a NUL).
extern const char kDatCompanyText[32];

// ------------------------------------------------------------------------------------------
// Binary file

// What the binary writer takes from the record and the slots.
struct DatContent {
    int32_t channels = 0;                // n = McaChannels[CurrentSlot]
    const int32_t* roiStart = nullptr;   // ROIs 0..99 of CurrentSlot (low 16 bits are written)
    const int32_t* roiEnd = nullptr;
    int32_t preset = 0;                  // McaPresetValue[CurrentSlot]
    std::string_view comment1;           // SpectrumComment1 up to its NUL
    std::string_view comment2;
    const int32_t* data = nullptr;       // the 4096 channels of the viewed slot
};

// Sets the writer's fields in `header` (every other byte keeps what the buffer holds: zero at
// start, afterwards the bytes of the last file read) and puts the header and channels 0..n-1
// into `out`, 1024 + 4n bytes (its capacity is reused). A channel count outside 0..4096 is
// refused: false, `error` says why, nothing changed.
bool buildDat(uint8_t (&header)[kDatHeaderSize], const DatContent& c, std::string& out,
              std::string& error);

// A binary file as read, before anything of it reaches WORK.
struct DatFile {
    uint8_t header[kDatHeaderSize] = {};   // the file's first 1024 bytes
    int32_t channels = 0;                  // n, the int16 at offset 54
    int32_t data[kFileMaxChannels] = {};   // channels 0..n-1; the rest 0
    int32_t roiStart[kFileRoiCount] = {};  // sign-extended int16 at 94 + 2i
    int32_t roiEnd[kFileRoiCount] = {};    // sign-extended int16 at 294 + 2i
    int ignoredRois = 0;                   // ROIs whose start or end lies outside 0..4095:
                                           // read as undefined (0, 0)
    char comment1[kDatCommentField + 1] = {};   // the comment fields, always NUL-terminated
    char comment2[kDatCommentField + 1] = {};
};

// Reads a whole binary file. Refused (false, `error` says what is wrong, `out` unspecified): a
// file shorter than the header, a channel count outside 0..4096, a file shorter than
// 1024 + 4n bytes. Bytes after the data are ignored.
bool readDat(const uint8_t* bytes, std::size_t size, DatFile& out, std::string& error);

// ------------------------------------------------------------------------------------------
// CSV file

// The CSV text of channels 0..n-1 of `data` (4096 channels), each line "%4d,%8d" CR LF; with
// `header`, first "CSVHEADER" and the two comments, each as one line. A channel count outside
// 0..4096 is refused: false, `error` says why, `out` unchanged.
bool buildCsv(const int32_t* data, int32_t channels, bool header, std::string_view comment1,
              std::string_view comment2, std::string& out, std::string& error);

struct CsvReadInfo {
    bool hasHeader = false;                        // the first line starts with "CS"
    char comment1[kCommentFieldSize] = {};         // the header's comment lines, without their
    char comment2[kCommentFieldSize] = {};         // line ends, cut to the field, NUL-filled
    int stored = 0;                                // data lines stored into the slot
    int ignored = 0;                               // data lines that stored nothing
};

// Reads a CSV file into `work` (4096 channels): the position p starts at 0; while p < n each
// data line "channel,count" stores the count into work[p] and moves p to channel + 1. A line
// that is not two numbers separated by a comma, or whose channel lies outside 0..4095, stores
// nothing and moves p on by one. Blank lines are skipped. Channels no line reaches keep their
// values. n is held inside 0..4096.
void readCsv(const char* text, std::size_t size, int32_t channels,
             int32_t (&work)[kFileMaxChannels], CsvReadInfo& info);

// ------------------------------------------------------------------------------------------
// Shared helpers

// Copies `text` into a field of `fieldSize` bytes: at most fieldSize - 1 bytes, never ending in
// the first byte of a double-byte Shift-JIS character, the rest of the field NUL.
void copyCutSjis(std::string_view text, char* field, std::size_t fieldSize);

// The text of a char field up to its NUL (or the whole field).
std::string_view fieldText(const char* field, std::size_t fieldSize);

}  // namespace qor
