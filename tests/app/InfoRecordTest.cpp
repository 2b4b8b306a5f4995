#include "app/FieldText.h"
#include "app/InfoFile.h"
#include "app/InfoRecord.h"
#include "app/TextCodec.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>

using namespace qor;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

InfoRecord defaults() {
    InfoRecord r{};
    setCreationDefaults(r, "/data/run/");
    return r;
}

}  // namespace

TEST(InfoRecord, CreationDefaultsSitAtTheirFileOffsets) {
    const InfoRecord r = defaults();
    const auto* b = reinterpret_cast<const unsigned char*>(&r);
    EXPECT_EQ(0, std::memcmp(b + 15992, "MCA1\0", 5));
    const unsigned char ch2048[4] = {0x00, 0x08, 0x00, 0x00};
    EXPECT_EQ(0, std::memcmp(b + 3440, ch2048, 4));
    double limit = 0;
    std::memcpy(&limit, b + 1592, 8);
    EXPECT_EQ(-45.0, limit);
    EXPECT_STREQ("c:\\", r.RootPath);
    EXPECT_STREQ("/data/run/", r.SaveFolder);
    EXPECT_STREQ("B4721mRT", r.UsbSerial);
    EXPECT_EQ(2, r.MotorHexSw[3]);
    EXPECT_EQ(3, r.MotorHexSw[4]);
    EXPECT_EQ(3, r.MotorPort[7]);
    EXPECT_EQ(1, r.MotorEnabled[3]);
    EXPECT_EQ(0, r.MotorEnabled[4]);
    EXPECT_STREQ("MOTOR8", r.MotorName[7]);
    EXPECT_STREQ("Scaler CH3", r.CounterName[2]);
    EXPECT_EQ(1, r.MapRoiKind[31]);
    EXPECT_EQ(QStringLiteral("元素名など入力"), fromSjis(r.MapRoiElementName[31]));
    EXPECT_EQ(1020, r.reserved3392[3]);
    EXPECT_EQ(1000, r.McaPresetValue[1]);
    EXPECT_EQ(0, r.McaPresetValue[2]);
    EXPECT_STREQ("keV", r.EnergyUnit[1]);
    EXPECT_STREQ("", r.EnergyUnit[2]);
    EXPECT_EQ(500, r.DebugLogicPulse);
    EXPECT_EQ(1, r.ScanMethod);
    EXPECT_EQ(0.1, r.ZStep);
    EXPECT_EQ(10.0, r.ElemScanYEnd);
}

TEST(InfoFile, RoundTripsEveryByteIncludingReservedOnes) {
    QTemporaryDir dir;
    const QString path = buildInfoFilePath(dir.path());
    InfoRecord r = defaults();
    auto* b = reinterpret_cast<unsigned char*>(&r);
    for (std::size_t i = 0; i < kInfoRecordSize; i += 7) b[i] = static_cast<unsigned char>(i * 13);
    ASSERT_TRUE(saveInfoFile(path, r));
    const QByteArray bytes = readAll(path);
    ASSERT_EQ(static_cast<int>(kInfoRecordSize), bytes.size());
    EXPECT_EQ(0, std::memcmp(bytes.constData(), &r, kInfoRecordSize));

    InfoRecord back{};
    ASSERT_EQ(InfoLoad::Loaded, loadInfoFile(path, back));
    EXPECT_EQ(0, std::memcmp(&back, &r, kInfoRecordSize));
}

TEST(InfoFile, ShortLongAndMissingFiles) {
    QTemporaryDir dir;
    const QString path = buildInfoFilePath(dir.path());
    InfoRecord r{};
    EXPECT_EQ(InfoLoad::Missing, loadInfoFile(path, r));

    // Short file: the bytes present are loaded, the rest stays as it was (zero).
    writeBytes(path, QByteArray(100, '\x11'));
    r = InfoRecord{};
    ASSERT_EQ(InfoLoad::Loaded, loadInfoFile(path, r));
    const auto* b = reinterpret_cast<const unsigned char*>(&r);
    EXPECT_EQ(0x11, b[99]);
    EXPECT_EQ(0, b[100]);
    EXPECT_EQ(0, b[kInfoRecordSize - 1]);

    // Long file: the extra bytes are ignored, and dropped by the next save.
    QByteArray longer(static_cast<int>(kInfoRecordSize) + 50, '\x22');
    writeBytes(path, longer);
    ASSERT_EQ(InfoLoad::Loaded, loadInfoFile(path, r));
    EXPECT_EQ(0x22, b[kInfoRecordSize - 1]);
    ASSERT_TRUE(saveInfoFile(path, r));
    EXPECT_EQ(static_cast<int>(kInfoRecordSize), readAll(path).size());
}

TEST(InfoFile, SaveIntoAnUnwritableFolderFailsAndLeavesNothing) {
    InfoRecord r = defaults();
    EXPECT_FALSE(saveInfoFile(QStringLiteral("/nonexistent-folder/x/QOR10MappingV010.inf"), r));
}

TEST(InfoFile, PathGetsOneSeparator) {
    EXPECT_EQ(QStringLiteral("/home/lab/QOR10MappingV010.inf"),
              buildInfoFilePath(QStringLiteral("/home/lab")));
    EXPECT_EQ(QStringLiteral("/QOR10MappingV010.inf"), buildInfoFilePath(QStringLiteral("/")));
    EXPECT_EQ(QStringLiteral("/data/QOR10MappingV010.inf"),
              buildInfoFilePath(QStringLiteral("/data/")));
}

TEST(FieldText, LeadingNumberRules) {
    int32_t v = 7;
    EXPECT_TRUE(parseLeadingInt(QStringLiteral("12abc"), v));
    EXPECT_EQ(12, v);
    EXPECT_FALSE(parseLeadingInt(QStringLiteral("abc"), v));
    EXPECT_EQ(12, v);
    EXPECT_TRUE(parseLeadingInt(QStringLiteral("  -34"), v));
    EXPECT_EQ(-34, v);
    EXPECT_TRUE(parseLeadingInt(QStringLiteral("+5"), v));
    EXPECT_EQ(5, v);
    EXPECT_FALSE(parseLeadingInt(QStringLiteral("-"), v));
    EXPECT_FALSE(parseLeadingInt(QString(), v));
    EXPECT_TRUE(parseLeadingInt(QStringLiteral("99999999999"), v));
    EXPECT_EQ(INT32_MAX, v);
    EXPECT_TRUE(parseLeadingInt(QStringLiteral("12.9"), v));
    EXPECT_EQ(12, v);

    double d = 1.5;
    EXPECT_TRUE(parseLeadingDouble(QStringLiteral("  -1.239mm"), d));
    EXPECT_DOUBLE_EQ(-1.239, d);
    EXPECT_TRUE(parseLeadingDouble(QStringLiteral("2e3"), d));
    EXPECT_DOUBLE_EQ(2000.0, d);
    EXPECT_TRUE(parseLeadingDouble(QStringLiteral(".5"), d));
    EXPECT_DOUBLE_EQ(0.5, d);
    EXPECT_FALSE(parseLeadingDouble(QStringLiteral("x1"), d));
    EXPECT_DOUBLE_EQ(0.5, d);
    EXPECT_FALSE(parseLeadingDouble(QStringLiteral("--1"), d));
    EXPECT_TRUE(parseLeadingDouble(QStringLiteral("      1.0000\r"), d));
    EXPECT_DOUBLE_EQ(1.0, d);
    // Texts that read as no finite number leave the field as it was.
    for (const char* t : {"nan", "-nan", "NaN(1)", "inf", "-Infinity", "1e999", "-2e400mm"}) {
        d = 2.5;
        EXPECT_FALSE(parseLeadingDouble(QString::fromLatin1(t), d)) << t;
        EXPECT_DOUBLE_EQ(2.5, d) << t;
    }
    EXPECT_TRUE(parseLeadingDouble(QStringLiteral("1e-400"), d));
    EXPECT_DOUBLE_EQ(0.0, d) << "too small to hold reads as 0";
}

TEST(FieldText, Formats) {
    EXPECT_EQ(QStringLiteral("    1.0000\r"), formatPosition(1.0));
    EXPECT_EQ(QStringLiteral("   -2.50\r"), formatC("%8.2lf\r", -2.5));
    EXPECT_EQ(QStringLiteral("      0.10\r"), formatScanSize(0.1));
    EXPECT_EQ(QStringLiteral("-45"), formatGeneral(-45.0));
    EXPECT_EQ(QStringLiteral("0.1"), formatGeneral(0.1));
    EXPECT_EQ(QStringLiteral("0.333333333333333"), formatGeneral(1.0 / 3.0));
}

TEST(TextCodec, CutsLongTextOnCharacterBoundaries) {
    char field[8];
    // Exactly n - 1 bytes fit with the terminator.
    EXPECT_TRUE(storeSjis(field, QStringLiteral("ABCDEFG")));
    EXPECT_STREQ("ABCDEFG", field);
    EXPECT_FALSE(storeSjis(field, QStringLiteral("ABCDEFGH")));
    EXPECT_STREQ("ABCDEFG", field);
    // "A" + three double-byte characters = 7 bytes: fits. One more would split: it is dropped.
    EXPECT_TRUE(storeSjis(field, QStringLiteral("A元素名")));
    EXPECT_EQ(QStringLiteral("A元素名"), fromSjis(field));
    EXPECT_FALSE(storeSjis(field, QStringLiteral("AB元素名")));
    EXPECT_EQ(QStringLiteral("AB元素"), fromSjis(field));
    EXPECT_EQ(0, field[6]);
    EXPECT_EQ(0, field[7]);
    // Characters without a code-page-932 form become '?'; the JIS wave dash is kept.
    EXPECT_EQ("A?B", toSjis(QString::fromUtf8("A😀B")));
    EXPECT_EQ(QString::fromUtf8("1～2"), fromSjis(toSjis(QString::fromUtf8("1〜2")).c_str(), 8));
    // Round trip of Japanese text through code page 932.
    const std::string sj = toSjis(QStringLiteral("情報"));
    EXPECT_EQ(4u, sj.size());
    EXPECT_EQ(static_cast<char>(0x8F), sj[0]);
}
