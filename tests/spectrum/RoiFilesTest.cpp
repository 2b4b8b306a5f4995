// The ROI table file (.ROI) and the current-ROI file (.sroi): the text written and where each
// line read goes.

#include "spectrum/RoiFiles.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>

using namespace qor;

namespace {

struct Table {
    int32_t start[128];
    int32_t end[128];
    explicit Table(int32_t fill = 0) {
        std::fill(std::begin(start), std::end(start), fill);
        std::fill(std::begin(end), std::end(end), fill);
    }
    RoiReadInfo read(const std::string& t) { return readRoiTable(t.data(), t.size(), start, end); }
};

}  // namespace

TEST(RoiTableFile, HundredLinesWithUndefinedRoisWrittenAsZeros) {
    Table t;
    t.start[3] = 100;
    t.end[3] = 120;
    std::string out = "previous content";
    buildRoiTable(t.start, t.end, out);
    std::string want;
    for (int r = 0; r < 100; ++r)
        want += r == 3 ? std::string("3,100,120\n") : std::to_string(r) + ",0,0\n";
    EXPECT_EQ(want, out);
}

TEST(RoiTableFile, ATenLineFileChangesRois0To9Only) {
    std::string text;
    for (int r = 0; r < 10; ++r)
        text += std::to_string(r) + "," + std::to_string(r + 1) + ",50\r\n";
    Table t(5);
    t.read(text);
    for (int r = 0; r < 10; ++r) EXPECT_EQ(r + 1, t.start[r]) << r;
    for (int r = 10; r < 100; ++r) EXPECT_EQ(5, t.start[r]) << r;
}

TEST(RoiTableFile, NumbersSteerTheNextLineAndLinesOutsideTheTableStoreNothing) {
    const std::string text =
        "50,1,2\n"                  // ROI 0, the next line goes to 51
        "51,3,4\n"                  // ROI 51, next 52
        "150,5,6\n"                 // ROI number outside 0..99: nothing, position 53
        "53,-1,6\n"                 // start below channel 0: nothing, 54
        "54,7,4096\n"               // end past channel 4095: nothing, 55
        "55;8;9\n"                  // not three numbers with commas: nothing, 56
        "\n"                        // blank: passed over
        " 98 , 10 , 11 trailing\n"  // ROI 56, next 99
        "0,12,13\n"                 // ROI 99, next 1
        "1,14,15\n";                // ROI 1
    Table t(-3);
    const RoiReadInfo info = t.read(text);
    EXPECT_EQ(1, t.start[0]);
    EXPECT_EQ(3, t.start[51]);
    for (int r : {52, 53, 54, 55}) EXPECT_EQ(-3, t.start[r]) << r;
    EXPECT_EQ(10, t.start[56]);
    EXPECT_EQ(11, t.end[56]);
    EXPECT_EQ(12, t.start[99]);
    EXPECT_EQ(14, t.start[1]);
    EXPECT_EQ(5, info.stored);
    EXPECT_EQ(4, info.ignored);
    EXPECT_EQ(-3, t.start[100]) << "nothing past ROI 99";
}

TEST(CurrentRoiFile, OneLineWhoseNumberMustBeSelectableAndEdgesInsideTheChannels) {
    std::string out;
    buildSingleRoi(4, 10, 20, out);
    EXPECT_EQ("4,10,20\n", out);
    struct Case {
        const char* text;
        bool readable, storeEdges, setCurrent;
        int32_t number, start, end;
    };
    const Case cases[] = {
        {"4,10,20\n", true, true, true, 4, 10, 20},
        {"\r\n  9 ,0, 4095\r\n", true, true, true, 9, 0, 4095},
        {"0,1,2", true, true, false, 0, 1, 2},       // ROI 0 is in the table, not selectable
        {"100,1,2", true, false, false, 100, 1, 2},  // outside the table
        {"-1,1,2", true, false, false, -1, 1, 2},
        {"5,1,4096", true, false, false, 5, 1, 4096},
        {"5,-2,7", true, false, false, 5, -2, 7},
        {"5,1", false, false, false, 0, 0, 0},
        {"", false, false, false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const std::string t = c.text;
        const SingleRoiLine l = readSingleRoi(t.data(), t.size());
        EXPECT_EQ(c.readable, l.readable) << c.text;
        EXPECT_EQ(c.storeEdges, l.storeEdges) << c.text;
        EXPECT_EQ(c.setCurrent, l.setCurrent) << c.text;
        if (c.readable) {
            EXPECT_EQ(c.number, l.number) << c.text;
            EXPECT_EQ(c.start, l.start) << c.text;
            EXPECT_EQ(c.end, l.end) << c.text;
        }
    }
}

TEST(RoiTableFile, LinesEndedByABareCarriageReturnAreReadOneByOne) {
    Table table;
    std::string text;
    for (int r = 0; r < 100; ++r) text += std::to_string(r) + "," + std::to_string(r + 10) + "," +
                                          std::to_string(r + 20) + "\r";
    const RoiReadInfo info = table.read(text);
    EXPECT_EQ(100, info.stored);
    EXPECT_EQ(99 + 10, table.start[99]);
    EXPECT_EQ(99 + 20, table.end[99]);
}
