#pragma once
// The ROI files as pure functions: the whole ROI table of a slot (.ROI, 100 lines) and the current
// ROI alone (.sroi, one line). Each line is "number,start,end" ended by a bare line feed.
//
// The readers store nothing outside the table: a line whose ROI number lies outside 0..99, or
// whose start or end lies outside channels 0..4095, stores nothing.

#include <cstddef>
#include <cstdint>
#include <string>

namespace qor {

constexpr int kRoiFileCount = 100;     // ROIs 0..99 in a .ROI file
constexpr int kRoiFileChannels = 4096;

// 100 lines "r,start[r],end[r]\n" for r = 0..99 (`start` and `end` are a slot's table rows).
void buildRoiTable(const int32_t* start, const int32_t* end, std::string& out);

// One line "number,start,end\n".
void buildSingleRoi(int32_t number, int32_t start, int32_t end, std::string& out);

struct RoiReadInfo {
    int stored = 0;    // lines stored into the table
    int ignored = 0;   // lines that stored nothing (unreadable, or outside the table)
};

// Reads a .ROI file into a slot's table rows (at least 100 entries each): the position p starts
// at 0; while p < 100 each line "m,s,e" stores s and e into ROI p and moves p to m + 1. A line
// that is not three numbers separated by commas, or lies outside the table, stores nothing and
// moves p on by one. Blank lines are skipped; ROIs no line reaches keep their values.
RoiReadInfo readRoiTable(const char* text, std::size_t size, int32_t* start, int32_t* end);

// A .sroi file as read.
struct SingleRoiLine {
    bool readable = false;      // the file starts with three numbers separated by commas
    bool storeEdges = false;    // its number and channels lie inside the table
    bool setCurrent = false;    // ... and its number is a selectable ROI (1..99)
    int32_t number = 0, start = 0, end = 0;
};

// Reads the first line of a .sroi file. Its edges go into the ROI that is current before the
// read (when `storeEdges`), its number becomes the current ROI (when `setCurrent`).
SingleRoiLine readSingleRoi(const char* text, std::size_t size);

}  // namespace qor
