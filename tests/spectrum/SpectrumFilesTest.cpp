// The binary and CSV spectrum formats: the bytes the writers produce, what the readers accept,
// refuse and where they put what they read.

#include "spectrum/SpectrumFiles.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace qor;

namespace {

int32_t i16(const std::string& b, int at) {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint8_t>(b[at]) |
                                                      (static_cast<uint8_t>(b[at + 1]) << 8)));
}

int32_t i32(const std::string& b, int at) {
    uint32_t u = 0;
    for (int k = 3; k >= 0; --k) u = (u << 8) | static_cast<uint8_t>(b[at + k]);
    return static_cast<int32_t>(u);
}

struct DatSource {
    int32_t roiStart[128] = {};
    int32_t roiEnd[128] = {};
    int32_t data[kFileMaxChannels] = {};
    DatContent content(int32_t n, std::string_view c1 = {}, std::string_view c2 = {}) {
        DatContent c;
        c.channels = n;
        c.roiStart = roiStart;
        c.roiEnd = roiEnd;
        c.preset = 1000;
        c.comment1 = c1;
        c.comment2 = c2;
        c.data = data;
        return c;
    }
};

std::string dat(uint8_t (&header)[kDatHeaderSize], const DatContent& c) {
    std::string out, error;
    EXPECT_TRUE(buildDat(header, c, out, error)) << error;
    return out;
}

DatFile readBack(const std::string& bytes) {
    DatFile f;
    std::string error;
    EXPECT_TRUE(readDat(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), f, error))
        << error;
    return f;
}

std::string csv(const int32_t* data, int32_t n, bool header, std::string_view c1 = {},
                std::string_view c2 = {}) {
    std::string out, error;
    EXPECT_TRUE(buildCsv(data, n, header, c1, c2, out, error)) << error;
    return out;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Binary writer

TEST(BinaryFile, Mca1At2048ChannelsIsByteExactAndUnsetBytesKeepTheBuffer) {
    DatSource s;
    s.roiStart[3] = 100;
    s.roiEnd[3] = 120;
    s.roiStart[99] = 4000;
    s.roiEnd[99] = 0x12345;  // only the low 16 bits travel
    for (int k = 0; k < kFileMaxChannels; ++k) s.data[k] = k * 1000 - 7;
    uint8_t header[kDatHeaderSize];
    std::memset(header, 0xA5, sizeof header);  // as if a file with these bytes had been read
    const std::string b = dat(header, s.content(2048, "first line", "second"));

    ASSERT_EQ(size_t{1024 + 4 * 2048}, b.size());
    EXPECT_EQ(0, std::memcmp(b.data(), header, kDatHeaderSize)) << "the buffer is what is written";
    EXPECT_EQ(std::string("QOR LUMA             Corpration", 31), b.substr(0, 31));
    EXPECT_EQ('\0', b[31]);
    EXPECT_EQ(1, i16(b, 50));
    EXPECT_EQ(0, i16(b, 52));
    EXPECT_EQ(2048, i16(b, 54));
    EXPECT_EQ(2048, i16(b, 756));
    for (int at = 56; at < 80; ++at) EXPECT_EQ(0, b[at]) << at;
    EXPECT_EQ(0, i16(b, 86));
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(i == 3 ? 100 : i == 99 ? 4000 : 0, i16(b, 94 + 2 * i)) << i;
        EXPECT_EQ(i == 3 ? 120 : i == 99 ? 0x2345 : 0, i16(b, 294 + 2 * i)) << i;
        EXPECT_EQ(1, i16(b, 494 + 2 * i)) << i;
    }
    for (int at = 694; at < 702; ++at) EXPECT_EQ(0, b[at]) << at;
    EXPECT_EQ(1000, i32(b, 704));
    for (int at = 712; at < 720; ++at) EXPECT_EQ(0, b[at]) << at;
    const int fixed[7] = {8, 300, 512, 256, 7, 0, 100};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(fixed[i], i16(b, 720 + 2 * i)) << i;
    EXPECT_EQ(0, i16(b, 754));
    EXPECT_EQ(0, i16(b, 758));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(1, i16(b, 760 + 2 * i));
    EXPECT_EQ(std::string("first line") + std::string(22, '\0'), b.substr(774, 32));
    EXPECT_EQ(std::string("second") + std::string(26, '\0'), b.substr(806, 32));

    // Every byte the writer does not set is the buffer's.
    const std::pair<int, int> unset[] = {{32, 50},   {80, 86},   {88, 94},   {702, 704},
                                         {708, 712}, {734, 754}, {766, 774}, {838, 1024}};
    for (const auto& [from, to] : unset)
        for (int at = from; at < to; ++at) EXPECT_EQ(char(0xA5), b[at]) << at;
    for (int k = 0; k < 2048; ++k) ASSERT_EQ(k * 1000 - 7, i32(b, 1024 + 4 * k)) << k;
}

TEST(BinaryFile, ZeroChannelsIsAHeaderAloneAndCountsOutside0To4096AreRefused) {
    DatSource s;
    uint8_t header[kDatHeaderSize] = {};
    EXPECT_EQ(size_t{1024}, dat(header, s.content(0)).size());
    EXPECT_EQ(size_t{1024 + 4 * 4096}, dat(header, s.content(4096)).size());

    std::memset(header, 0x11, sizeof header);
    for (int32_t n : {-1, 4097, 70000}) {
        std::string out = "untouched", error;
        EXPECT_FALSE(buildDat(header, s.content(n), out, error)) << n;
        EXPECT_EQ("untouched", out);
        EXPECT_NE(std::string::npos, error.find(std::to_string(n))) << error;
        for (uint8_t byte : header) ASSERT_EQ(0x11, byte) << "a refused save changes no byte";
    }
}

TEST(BinaryFile, CommentsAreCutTo31BytesWithoutSplittingADoubleByteCharacter) {
    DatSource s;
    uint8_t header[kDatHeaderSize] = {};
    const std::string longAscii(40, 'x');
    // 30 single bytes, then a two-byte character that no longer fits before the NUL.
    const std::string sjis = std::string(30, 'a') + "\x82\xa0" + "b";
    const std::string b = dat(header, s.content(1, longAscii, sjis));
    EXPECT_EQ(std::string(31, 'x') + '\0', b.substr(774, 32));
    EXPECT_EQ(std::string(30, 'a') + std::string(2, '\0'), b.substr(806, 32));
}

// ---------------------------------------------------------------------------------------------
// Binary reader

TEST(BinaryFile, ReadBackGivesChannelsRoisCommentsAndTheHeader) {
    DatSource s;
    s.roiStart[5] = 120;
    s.roiEnd[5] = 180;
    s.roiStart[0] = 3;
    s.roiEnd[0] = 9;
    for (int k = 0; k < 1024; ++k) s.data[k] = 3 * k + 1;
    uint8_t header[kDatHeaderSize] = {};
    std::string b = dat(header, s.content(1024, "sample A", "30 kV"));
    b += "trailing bytes are ignored";
    const DatFile f = readBack(b);
    EXPECT_EQ(1024, f.channels);
    EXPECT_EQ(0, std::memcmp(f.header, b.data(), kDatHeaderSize));
    for (int k = 0; k < 1024; ++k) ASSERT_EQ(3 * k + 1, f.data[k]);
    EXPECT_EQ(0, f.data[1024]) << "nothing beyond n";
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(i == 5 ? 120 : i == 0 ? 3 : 0, f.roiStart[i]) << i;
        EXPECT_EQ(i == 5 ? 180 : i == 0 ? 9 : 0, f.roiEnd[i]) << i;
    }
    EXPECT_STREQ("sample A", f.comment1);
    EXPECT_STREQ("30 kV", f.comment2);
    EXPECT_EQ(0, f.ignoredRois);
}

TEST(BinaryFile, RoiEdgesAreSignExtendedAndThoseOutsideTheChannelsAreReadAsUndefined) {
    std::string b(1024, '\0');
    auto put16 = [&b](int at, int v) {
        b[at] = static_cast<char>(v & 0xFF);
        b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
    };
    put16(94 + 2 * 7, 0xFFFB);  // -5
    put16(294 + 2 * 7, 10);
    put16(94 + 2 * 8, 10);
    put16(294 + 2 * 8, 5000);
    put16(94 + 2 * 9, 4095);
    put16(294 + 2 * 9, 4095);
    // A full comment field carries no NUL of its own.
    std::memset(&b[774], 'c', 32);
    const DatFile f = readBack(b);
    EXPECT_EQ(0, f.channels);
    EXPECT_EQ(0, f.roiStart[7]);
    EXPECT_EQ(0, f.roiEnd[7]);
    EXPECT_EQ(0, f.roiStart[8]);
    EXPECT_EQ(0, f.roiEnd[8]);
    EXPECT_EQ(4095, f.roiStart[9]);
    EXPECT_EQ(4095, f.roiEnd[9]);
    EXPECT_EQ(2, f.ignoredRois);
    EXPECT_EQ(std::string(32, 'c'), std::string(f.comment1));
}

TEST(BinaryFile, ShortFilesAndChannelCountsOutside0To4096AreRefusedWithTheReason) {
    auto withCount = [](int n, size_t dataBytes) {
        std::string b(1024 + dataBytes, '\0');
        b[54] = static_cast<char>(n & 0xFF);
        b[55] = static_cast<char>((n >> 8) & 0xFF);
        return b;
    };
    struct Case {
        std::string bytes;
        std::string mentions;
    };
    const Case cases[] = {
        {std::string(1023, '\0'), "1023"},        // no whole header
        {withCount(5000, 4 * 5000), "5000"},      // beyond the 4096 channels
        {withCount(0xFFFF, 0), "-1"},             // negative (sign-extended)
        {withCount(2048, 4 * 2048 - 1), "2048"},  // the data stop one byte short
    };
    for (const Case& c : cases) {
        DatFile f;
        f.channels = 77;
        std::string error;
        EXPECT_FALSE(
            readDat(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size(), f, error))
            << c.mentions;
        EXPECT_NE(std::string::npos, error.find(c.mentions)) << error;
    }
    EXPECT_EQ(4096, readBack(withCount(4096, 4 * 4096)).channels);
}

// ---------------------------------------------------------------------------------------------
// CSV writer

TEST(CsvFile, WithoutHeaderOneLinePerChannelInPrintfWidths) {
    int32_t data[kFileMaxChannels] = {};
    data[0] = 123;
    data[1] = -45;
    data[999] = 12345678;
    data[1000] = 123456789;  // wider than its field: written in full
    const std::string t = csv(data, 1024, false);
    EXPECT_EQ(0, t.compare(0, 30, "   0,     123\r\n   1,     -45\r\n"));
    EXPECT_NE(std::string::npos,
              t.find("\r\n 999,12345678\r\n1000,123456789\r\n1001,       0\r\n"));
    size_t lines = 0;
    for (char ch : t) lines += ch == '\n';
    EXPECT_EQ(size_t{1024}, lines);
    EXPECT_EQ(size_t{1023 * 15 + 16}, t.size());
}

TEST(CsvFile, HeaderLinesThenDataAndCountsOutside0To4096AreRefused) {
    int32_t data[kFileMaxChannels] = {};
    data[1] = 7;
    EXPECT_EQ("CSVHEADER\r\nfirst\r\n\r\n   0,       0\r\n   1,       7\r\n",
              csv(data, 2, true, "first", ""));
    EXPECT_EQ("CSVHEADER\r\n\r\n\r\n", csv(data, 0, true));
    std::string out = "kept", error;
    EXPECT_FALSE(buildCsv(data, 4097, false, {}, {}, out, error));
    EXPECT_EQ("kept", out);
    EXPECT_NE(std::string::npos, error.find("4097"));
}

// ---------------------------------------------------------------------------------------------
// CSV reader

TEST(CsvFile, EveryCountRoundTripsWithAndWithoutHeaderAnEmptyCommentIncluded) {
    int32_t data[kFileMaxChannels];
    for (int k = 0; k < kFileMaxChannels; ++k) data[k] = k * 7919 - 1000;
    data[2] = 123456789;
    data[3] = INT32_MIN;
    data[4] = INT32_MAX;
    for (bool header : {false, true}) {
        const std::string t = csv(data, 4096, header, "", "comment two");
        int32_t work[kFileMaxChannels];
        std::fill(std::begin(work), std::end(work), -1);
        CsvReadInfo info;
        readCsv(t.data(), t.size(), 4096, work, info);
        EXPECT_EQ(header, info.hasHeader);
        EXPECT_EQ(4096, info.stored);
        EXPECT_EQ(0, info.ignored);
        for (int k = 0; k < kFileMaxChannels; ++k) ASSERT_EQ(data[k], work[k]) << k;
        if (header) {
            EXPECT_STREQ("", info.comment1);
            EXPECT_STREQ("comment two", info.comment2);
        }
    }
}

TEST(CsvFile, CommentsLoseTheirLineEndSoASecondSaveReadsBackTheSame) {
    int32_t data[kFileMaxChannels] = {};
    data[0] = 5;
    data[1] = 6;
    const std::string first = csv(data, 2, true, "alpha", "beta");
    int32_t work[kFileMaxChannels] = {};
    CsvReadInfo info;
    readCsv(first.data(), first.size(), 2, work, info);
    const std::string again = csv(work, 2, true, info.comment1, info.comment2);
    EXPECT_EQ(first, again);

    // A file with bare line feeds and a comment longer than its field.
    const std::string lfOnly = "CSVHEADER\n" + std::string(100, 'z') + "\nshort\n0,9\n";
    readCsv(lfOnly.data(), lfOnly.size(), 2, work, info);
    EXPECT_EQ(std::string(79, 'z'), std::string(info.comment1));
    EXPECT_EQ('\0', info.comment1[79]);
    EXPECT_STREQ("short", info.comment2);
    EXPECT_EQ(9, work[0]);
}

TEST(CsvFile, TheChannelCountDecidesHowManyLinesAreReadAndTheRestKeepsItsValues) {
    int32_t data[kFileMaxChannels];
    for (int k = 0; k < kFileMaxChannels; ++k) data[k] = k + 1;
    const std::string t = csv(data, 4096, false);
    int32_t work[kFileMaxChannels];
    std::fill(std::begin(work), std::end(work), -9);
    CsvReadInfo info;
    readCsv(t.data(), t.size(), 1024, work, info);
    EXPECT_EQ(1024, info.stored);
    EXPECT_EQ(1024, work[1023]);
    EXPECT_EQ(-9, work[1024]);
    // A short file: the channels no line reaches keep theirs.
    const std::string shortFile = "0,50\n1,51\n";
    readCsv(shortFile.data(), shortFile.size(), 4096, work, info);
    EXPECT_EQ(51, work[1]);
    EXPECT_EQ(3, work[2]);
}

TEST(CsvFile, ChannelNumbersSteerTheNextLineAndLinesOutsideTheSlotStoreNothing) {
    const std::string t =
        "10,100\n"         // stored at 0, sends the next line to 11
        "  20 , 200 \n"    // blanks around the numbers; stored at 11, next to 21
        "\n  \r\n"         // blank lines are white space, not lines
        "5000,300\n"       // channel outside the slot: nothing, position 22
        "-1,400\n"         // the same: position 23
        "not a number\n"   // nothing, position 24
        "3,99999999999\n"  // a count beyond int32 is no number: nothing, position 25
        "30,600,extra\n"   // what follows the second number is not looked at: stored at 25
        "4095,700\n";      // stored at 31; the position 4096 ends the read
    int32_t work[kFileMaxChannels] = {};
    CsvReadInfo info;
    readCsv(t.data(), t.size(), 4096, work, info);
    EXPECT_FALSE(info.hasHeader);
    EXPECT_EQ(100, work[0]);
    EXPECT_EQ(200, work[11]);
    for (int k : {10, 20, 21, 22, 23, 24, 3}) EXPECT_EQ(0, work[k]) << k;
    EXPECT_EQ(600, work[25]);
    EXPECT_EQ(700, work[31]);
    EXPECT_EQ(4, info.stored);
    EXPECT_EQ(4, info.ignored);
}

TEST(CsvFile, LinesEndedByABareCarriageReturnAreReadWhole) {
    int32_t data[kFileMaxChannels] = {};
    for (int k = 0; k < 64; ++k) data[k] = 1000 + k;
    std::string text = csv(data, 64, true, "one", "two");
    std::string crOnly;
    for (char ch : text)
        if (ch != '\n') crOnly += ch;
    int32_t work[kFileMaxChannels] = {};
    CsvReadInfo info;
    readCsv(crOnly.data(), crOnly.size(), 64, work, info);
    EXPECT_STREQ("one", info.comment1);
    EXPECT_STREQ("two", info.comment2);
    EXPECT_EQ(64, info.stored);
    for (int k = 0; k < 64; ++k) ASSERT_EQ(1000 + k, work[k]) << k;
}

TEST(CsvFile, TheEarlierProgramsSecondSaveWithAnEmptyLineAfterEachCommentIsReadWhole) {
    // It kept each comment's line end and wrote it again.
    const std::string text =
        "CSVHEADER\r\nFe disc\r\n\r\n45s live\r\n\r\n   0,     450\r\n   1,     470\r\n   2,      "
        "9\r\n";
    int32_t work[kFileMaxChannels] = {-1, -1, -1, -1};
    CsvReadInfo info;
    readCsv(text.data(), text.size(), 4, work, info);
    EXPECT_STREQ("Fe disc", info.comment1);
    EXPECT_STREQ("45s live", info.comment2);
    EXPECT_EQ(3, info.stored);
    EXPECT_EQ(0, info.ignored);
    EXPECT_EQ(450, work[0]) << "the live time lands in channel 0";
    EXPECT_EQ(470, work[1]);
    EXPECT_EQ(9, work[2]);
    EXPECT_EQ(-1, work[3]);
}
