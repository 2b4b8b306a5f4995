#include "app/CueFiles.h"
#include "WaveCue.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>

using namespace qor;

namespace {

uint32_t le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// Every wave file the program plays by name.
const char* const kPlayed[] = {
    "start.wav", "INIfileGen.WAV", "onseiStart.wav", "onseiEnd.wav", "2dscanOK.wav",
    "2dscanOKpeng.wav", "2DnKaiEnd.WAV", "2DnKaiEndZnext.WAV", "kokoButton.wav",
    "GentenChosei.wav", "roiset2dscan.wav", "PenEdit74.wav", "PenEdit75.wav", "PenEdit76.wav",
    "PenEdit77.wav", "PenEdit78.wav", "PenEdit81.wav", "ss0.wav", "ss1.wav", "ss2.wav", "ss3.wav",
    "ss4.wav", "ss5.wav", "ss6.wav", "ss7.wav", "ss8.wav", "ss9.wav", "ecalStart.wav",
    "ecalroiset.wav", "ecalroicall.wav", "calcsetup.wav"};

}  // namespace

TEST(SoundCues, EveryCueThePlayedNamesNeedIsAPlayableWaveFileOfTheProgram) {
    QByteArray endOfScan, firstSs;
    for (const char* name : kPlayed) {
        const QUrl url = cueSource(QStringLiteral("/nonexistent-folder"), QString::fromLatin1(name));
        ASSERT_EQ(QStringLiteral("qrc:/cues/") + name, url.toString()) << name;
        QFile f(QStringLiteral(":/cues/") + name);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        const QByteArray b = f.readAll();
        ASSERT_GE(b.size(), 44) << name;
        const auto* p = reinterpret_cast<const uint8_t*>(b.constData());
        EXPECT_EQ(0, std::memcmp(p, "RIFF", 4));
        EXPECT_EQ(uint32_t(b.size() - 8), le32(p + 4));
        EXPECT_EQ(0, std::memcmp(p + 8, "WAVEfmt ", 8));
        EXPECT_EQ(1, le16(p + 20)) << "PCM";
        EXPECT_EQ(1, le16(p + 22)) << "mono";
        EXPECT_EQ(uint32_t(cues::kSampleRate), le32(p + 24));
        EXPECT_EQ(16, le16(p + 34));
        EXPECT_EQ(0, std::memcmp(p + 36, "data", 4));
        const uint32_t data = le32(p + 40);
        EXPECT_EQ(uint32_t(b.size() - 44), data);
        const double seconds = data / 2.0 / cues::kSampleRate;
        EXPECT_GT(seconds, 0.1) << name;
        EXPECT_LT(seconds, 1.5) << name << ": a cue is short";
        int16_t peak = 0;
        for (uint32_t i = 0; i < data / 2; ++i)
            peak = std::max<int16_t>(peak, static_cast<int16_t>(le16(p + 44 + 2 * i)));
        EXPECT_GT(peak, 8000) << name << ": audible";
        if (std::strcmp(name, "2DnKaiEnd.WAV") == 0) endOfScan = b;
        if (std::strcmp(name, "ss0.wav") == 0) firstSs = b;
    }
    EXPECT_NE(endOfScan, firstSs) << "cues differ by name";
}

TEST(SoundCues, AFileInTheStartFolderTakesPrecedenceWhateverItsLetterCase) {
    QTemporaryDir dir;
    const QDir d(dir.path());
    QFile own(d.filePath(QStringLiteral("START.WAV")));
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.close();
    EXPECT_EQ(QUrl::fromLocalFile(d.filePath(QStringLiteral("START.WAV"))),
              cueSource(dir.path(), QStringLiteral("start.wav")));
    QFile exact(d.filePath(QStringLiteral("start.wav")));
    ASSERT_TRUE(exact.open(QIODevice::WriteOnly));
    exact.close();
    EXPECT_EQ(QUrl::fromLocalFile(d.filePath(QStringLiteral("start.wav"))),
              cueSource(dir.path(), QStringLiteral("start.wav")));
    // A name with neither a file nor a cue of the program plays nothing.
    EXPECT_TRUE(cueSource(dir.path(), QStringLiteral("unknown.wav")).isEmpty());
    EXPECT_TRUE(cueSource(dir.path(), QStringLiteral("../start.wav")).isEmpty());
}
