// Every input of the fuzzers' corpora, replayed through the same entry points: the file readers'
// checks hold for each, whichever compiler built the tests.

#include "fuzz/FuzzEntries.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

using Entry = const char* (*)(const uint8_t*, std::size_t);

void replay(const char* target, Entry entry) {
    const QDir dir(QStringLiteral(QOR_FUZZ_CORPUS "/") + QString::fromLatin1(target));
    const QStringList inputs = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    EXPECT_GE(inputs.size(), 3) << target << ": the seed corpus is missing";
    for (const QString& name : inputs) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray bytes = f.readAll();
        const char* failed = entry(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                   static_cast<std::size_t>(bytes.size()));
        EXPECT_EQ(nullptr, failed)
            << target << "/" << name.toStdString() << ": " << (failed ? failed : "");
    }
}

}  // namespace

TEST(FileReaderCorpus, EveryInputOfEveryFuzzerPassesItsChecks) {
    replay("fuzz_dat", qor::fuzz::datInput);
    replay("fuzz_csv", qor::fuzz::csvInput);
    replay("fuzz_roi", qor::fuzz::roiInput);
    replay("fuzz_sroi", qor::fuzz::sroiInput);
    replay("fuzz_infofile", qor::fuzz::infoFileInput);
}
