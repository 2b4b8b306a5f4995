// The file buttons of the tool bar and the ROI menu in the running program: the dialogs they ask
// (titles, filters, offered names, the save folder), the files they write, what a read puts into
// WORK and the view, and what a refused or failed file leaves untouched.

#include "app/RadioGroup.h"
#include "app/TextCodec.h"
#include "spectrum/McaPage.h"
#include "spectrum/SpectrumFiles.h"
#include "spectrum/TOKRightDlg2.h"
#include "support/Harness.h"
#include "support/ReadOnlyPath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <sys/stat.h>
#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;

namespace {

const QString kExec = QStringLiteral("exec");

QByteArray contentOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

int32_t i16At(const QByteArray& b, int at) {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint8_t>(b[at]) |
                                                      (static_cast<uint8_t>(b[at + 1]) << 8)));
}

struct Files : ::testing::Test {
    Harness h;
    McaPage& page() { return *h.form().MCAcollect; }
    QString path(const char* name) const { return QDir(h.dir()).filePath(QString::fromUtf8(name)); }

    void SetUp() override {
        ASSERT_FALSE(h.dir().contains(QLatin1Char('.')))
            << "the file name rule needs a plain folder";
        h.alerts.clear();
        h.dialogs.asked.clear();
    }

    // The last status-bar text, or none (a failed check never reads past the list).
    QString lastStatus() const {
        return h.alerts.statusTexts.isEmpty() ? QString() : h.alerts.statusTexts.last();
    }

    void answerComments(const QString& c1, const QString& c2, int result = QDialog::Accepted) {
        h.dialogs.expect({kExec, QString(), result, [c1, c2](QDialog& d) {
                              auto& dlg = static_cast<TOKRightDlg2&>(d);
                              dlg.Edit1->setText(c1);
                              dlg.Edit2->setText(c2);
                          }});
    }
    void answerSave(const QString& p) { h.dialogs.expect({QStringLiteral("save"), p}); }
    void answerOpen(const QString& p) { h.dialogs.expect({QStringLiteral("open"), p}); }
    void answerSameFile(int result) { h.dialogs.expect({kExec, QString(), result}); }

    void view(int slot) {
        page().RadioGroup1->setItemIndex(slot);
        page().RadioGroup1Click();
    }
    void fillSlot(int s, int32_t base) {
        for (int c = 0; c < kSlotChannels; ++c) h.st().spectrum.slot[s][c] = base + 3 * c;
    }
    // A binary file written by the format itself, with a ROI 5 and two comments.
    QByteArray datFile(int32_t n, int32_t base, const char* c1, const char* c2) {
        static int32_t start[128], end[128], data[kFileMaxChannels];
        std::memset(start, 0, sizeof start);
        std::memset(end, 0, sizeof end);
        start[5] = 120;
        end[5] = 180;
        for (int k = 0; k < kFileMaxChannels; ++k) data[k] = base + k;
        uint8_t header[kDatHeaderSize] = {};
        DatContent c;
        c.channels = n;
        c.roiStart = start;
        c.roiEnd = end;
        c.preset = 500;
        c.comment1 = c1;
        c.comment2 = c2;
        c.data = data;
        std::string out, error;
        EXPECT_TRUE(buildDat(header, c, out, error));
        return QByteArray(out.data(), static_cast<qsizetype>(out.size()));
    }
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Save folder

TEST_F(Files, SaveFolderIsTheFolderOfTheFileChosenAndEveryDialogStartsThere) {
    const QString oldFolder = fromSjis(h.rec().SaveFolder);
    const QString folder = path("run.07") + QLatin1Char('/');
    answerSave(folder + QStringLiteral("GAVREL"));
    h.form().Button16->click();
    EXPECT_EQ(QStringLiteral("測定データを保存するフォルダの指定"), h.dialogs.asked.last());
    EXPECT_EQ(QStringLiteral("Data File(*.DAT)|*.DAT;(*.*)|*.*"), h.dialogs.filters.last());
    EXPECT_EQ(QStringLiteral("GAVREL"), h.dialogs.fileNames.last());
    EXPECT_EQ(oldFolder, h.dialogs.folders.last());
    EXPECT_EQ(folder, fromSjis(h.rec().SaveFolder));
    EXPECT_EQ(folder, h.form().Edit27->text());
    EXPECT_EQ(folder, lastStatus());
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("GAVREL"))) << "no file is created";

    answerOpen(QString());
    h.form().SpeedButton16->click();
    EXPECT_EQ(folder, h.dialogs.folders.last());

    // Cancelled, and a folder longer than the record's 255 bytes: the folder stays.
    answerSave(QString());
    h.form().Button16->click();
    answerSave(QLatin1Char('/') + QString(300, QLatin1Char('d')) + QStringLiteral("/GAVREL"));
    h.form().Button16->click();
    EXPECT_EQ(folder, fromSjis(h.rec().SaveFolder));
    EXPECT_EQ(folder, h.form().Edit27->text());
    ASSERT_EQ(1, h.alerts.messages.size());
    EXPECT_TRUE(h.alerts.messages.last().contains(QStringLiteral("255")))
        << h.alerts.messages.last().toStdString();
}

// ---------------------------------------------------------------------------------------------
// Binary save

TEST_F(Files, BinarySaveWritesTheViewedSlotWithTheRecordsCountPresetRoisAndComments) {
    fillSlot(0, 10);
    h.rec().RoiStart[0][3] = 100;
    h.rec().RoiEnd[0][3] = 120;
    h.rec().McaPresetValue[0] = 1234;
    storeSjis(h.rec().SpectrumComment1, QStringLiteral("offered"));
    answerComments(QStringLiteral("Fe foil"), QStringLiteral("30 kV 1 mA"));
    answerSave(path("mca1"));
    h.form().SpeedButton17->click();

    EXPECT_EQ((QStringList{"OKRightDlg2", "表示中のスペクトルをラボ標準ファイルとして保存します"}),
              h.dialogs.asked);
    EXPECT_EQ(QStringLiteral("LIST Data File(*.DAT)|*.DAT;(*.*)|*.*"), h.dialogs.filters.last());
    EXPECT_STREQ("Fe foil", h.rec().SpectrumComment1);
    EXPECT_STREQ("30 kV 1 mA", h.rec().SpectrumComment2);
    EXPECT_TRUE(h.alerts.messages.isEmpty()) << h.alerts.messages.join(" | ").toStdString();
    const QByteArray b = contentOf(path("mca1.DAT"));
    ASSERT_EQ(1024 + 4 * 2048, b.size());
    EXPECT_EQ(2048, i16At(b, 54));
    EXPECT_EQ(120, i16At(b, 294 + 2 * 3)) << "the ROI table of the current slot";
    int32_t preset = 0;
    std::memcpy(&preset, b.constData() + 704, 4);
    EXPECT_EQ(1234, preset);
    EXPECT_EQ(QByteArray("Fe foil"), b.mid(774, 7));
    EXPECT_EQ(QByteArray("30 kV 1 mA"), b.mid(806, 10));
    int32_t last = 0;
    std::memcpy(&last, b.constData() + 1024 + 4 * 2047, 4);
    EXPECT_EQ(10 + 3 * 2047, last);

    // The next save offers the name just chosen.
    answerComments(QStringLiteral("Fe foil"), QString());
    answerSave(QString());
    h.form().SpeedButton17->click();
    EXPECT_EQ(QStringLiteral("mca1"), h.dialogs.fileNames.last());
}

TEST_F(Files, CancellingTheCommentOrFileDialogWritesNothingButKeepsTheTypedComments) {
    answerComments(QStringLiteral("typed"), QStringLiteral("two"), QDialog::Rejected);
    h.form().SpeedButton17->click();
    EXPECT_STREQ("", h.rec().SpectrumComment1);
    EXPECT_EQ(QStringList{"OKRightDlg2"}, h.dialogs.asked) << "no file dialog after a cancel";

    answerComments(QStringLiteral("typed"), QStringLiteral("two"));
    answerSave(QString());
    h.form().SpeedButton17->click();
    EXPECT_STREQ("typed", h.rec().SpectrumComment1);
    EXPECT_EQ(QStringList(), QDir(h.dir()).entryList({QStringLiteral("*.DAT")}, QDir::Files));
}

TEST_F(Files, AnExistingFileIsOverwrittenOnlyAfterTheSameFileDialog) {
    put(path("old.DAT"), "precious");
    answerComments(QString(), QString());
    answerSave(path("old.DAT"));
    answerSameFile(QDialog::Rejected);
    h.form().SpeedButton17->click();
    EXPECT_EQ(QStringLiteral("DlgSameF"), h.dialogs.asked.last());
    EXPECT_EQ(1, h.alerts.beeps);
    EXPECT_EQ(QByteArray("precious"), contentOf(path("old.DAT")));

    answerComments(QString(), QString());
    answerSave(path("old.DAT"));
    answerSameFile(QDialog::Accepted);
    h.form().SpeedButton17->click();
    EXPECT_EQ(1024 + 4 * 2048, contentOf(path("old.DAT")).size());
}

TEST_F(Files, AnExistingFileThatMayNotBeWrittenIsAskedAboutThenRefusedWithTheReason) {
    put(path("locked.DAT"), "kept");
    ReadOnlyPath guard(path("locked.DAT"));
    if (!guard.active()) GTEST_SKIP() << "cannot make a file unwritable here";
    answerComments(QString(), QString());
    answerSave(path("locked.DAT"));
    answerSameFile(QDialog::Accepted);
    h.form().SpeedButton17->click();
    ASSERT_EQ(1, h.alerts.messages.size());
    EXPECT_TRUE(h.alerts.messages[0].startsWith(QStringLiteral("#### ERROR Open file\n") +
                                                path("locked.DAT") + QLatin1Char('\n')))
        << h.alerts.messages[0].toStdString();
    EXPECT_EQ(QByteArray("kept"), contentOf(path("locked.DAT")));
}

TEST_F(Files, FileNameRuleAppendsTheExtensionOnlyToAPathWithoutAnyDot) {
    ASSERT_TRUE(QDir().mkpath(path("run.2")));
    answerComments(QString(), QString());
    answerSave(path("run.2/spectrum"));
    h.form().SpeedButton17->click();
    EXPECT_TRUE(QFile::exists(path("run.2/spectrum")));
    EXPECT_FALSE(QFile::exists(path("run.2/spectrum.DAT")));

    // A long folder path does not hide the file's own extension.
    const QString deep = path("aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa");
    ASSERT_TRUE(QDir().mkpath(deep));
    answerComments(QString(), QString());
    answerSave(deep + QStringLiteral("/x.DAT"));
    h.form().SpeedButton17->click();
    EXPECT_TRUE(QFile::exists(deep + QStringLiteral("/x.DAT")));
    EXPECT_FALSE(QFile::exists(deep + QStringLiteral("/x.DAT.DAT")));
}

TEST_F(Files, WorkWithoutAChannelCountIsSavedAsAHeaderAlone) {
    view(kSlotWork);
    ASSERT_EQ(0, h.rec().McaChannels[2]);
    answerComments(QString(), QString());
    answerSave(path("work"));
    h.form().SpeedButton17->click();
    const QByteArray b = contentOf(path("work.DAT"));
    ASSERT_EQ(1024, b.size());
    EXPECT_EQ(0, i16At(b, 54));
}

TEST_F(Files, AFileThatCannotBeCreatedIsReportedWithItsPathAndReason) {
    answerComments(QString(), QString());
    answerSave(path("missing/folder/a.DAT"));
    h.form().SpeedButton17->click();
    answerComments(QString(), QString());
    answerSave(path("missing/folder/a.CSV"));
    h.form().SpeedButton18->click();
    ASSERT_EQ(2, h.alerts.messages.size());
    const QStringList dat = h.alerts.messages[0].split(QLatin1Char('\n'));
    const QStringList csv = h.alerts.messages[1].split(QLatin1Char('\n'));
    ASSERT_EQ(3, dat.size());
    EXPECT_EQ(QStringLiteral("#### ERROR Open file"), dat[0]);
    EXPECT_EQ(path("missing/folder/a.DAT"), dat[1]);
    EXPECT_FALSE(dat[2].isEmpty());
    EXPECT_EQ(QStringLiteral("#### ERROR  Open flle"), csv[0]);
}

// ---------------------------------------------------------------------------------------------
// Binary read

TEST_F(Files, BinaryReadReplacesWorkItsRoisAndTheHeaderThenShowsWork) {
    put(path("in.DAT"), datFile(1024, 50000, "sample 7", "Mo tube"));
    fillSlot(kSlotWork, -1);
    h.rec().RoiStart[2][7] = 1;
    h.rec().RoiEnd[2][7] = 2;
    h.st().spectrum.CurrentRoi[2] = 5;
    // The previous command's filter stays on the open dialog.
    answerOpen(QString());
    h.form().LoadROIfromFile1->trigger();
    answerOpen(path("in.DAT"));
    h.form().SpeedButton16->click();

    EXPECT_EQ(QStringLiteral("Read Labo: binary Spectrum"), h.dialogs.asked.last());
    EXPECT_EQ(QStringLiteral("*.DAT"), h.dialogs.fileNames.last());
    EXPECT_EQ(QStringLiteral("ROI Data File(*.ROI)|*.ROI;(*.*)|*.*"), h.dialogs.filters.last());
    EXPECT_TRUE(h.alerts.messages.isEmpty()) << h.alerts.messages.join(" | ").toStdString();
    const auto& work = h.st().spectrum.slot[kSlotWork];
    EXPECT_EQ(50000, work[0]);
    EXPECT_EQ(50000 + 1023, work[1023]);
    EXPECT_EQ(-1 + 3 * 1024, work[1024]) << "channels from n on keep theirs";
    EXPECT_EQ(120, h.rec().RoiStart[2][5]);
    EXPECT_EQ(180, h.rec().RoiEnd[2][5]);
    EXPECT_EQ(0, h.rec().RoiStart[2][7]);
    EXPECT_EQ(0, h.rec().RoiEnd[2][7]) << "the file's table replaces WORK's whole";
    EXPECT_EQ(1024, h.rec().McaChannels[2]);
    EXPECT_EQ(1024, h.rec().SlotViewChannels[2]);
    EXPECT_EQ(2, h.st().spectrum.ViewSlot);
    EXPECT_EQ(2, h.rec().CurrentSlot);
    EXPECT_EQ(2, page().RadioGroup1->itemIndex());
    EXPECT_EQ(QStringLiteral("読み込みました: ") + path("in.DAT"), lastStatus());
    EXPECT_EQ(QStringLiteral("sample 7"), page().FileComment1->text());
    EXPECT_EQ(QStringLiteral("Mo tube"), page().FileComment2->text());
    EXPECT_EQ(QStringLiteral("120"), page().Edit18->text()) << "the ROI group shows ROI 5";
    EXPECT_EQ(QStringLiteral("180"), page().Edit19->text());
    EXPECT_EQ(0, std::memcmp(h.st().files.SpectrumFileHeader, contentOf(path("in.DAT")).constData(),
                             kDatHeaderSize));
    EXPECT_STREQ("", h.rec().SpectrumComment1) << "comments read are shown, not stored";
}

TEST_F(Files, RefusedBinaryFilesNameTheFileAndWhatIsWrongAndChangeNothing) {
    QByteArray tooMany = datFile(16, 0, "", "");
    tooMany[54] = static_cast<char>(5000 & 0xFF);
    tooMany[55] = static_cast<char>(5000 >> 8);
    put(path("many.DAT"), tooMany);
    put(path("short.DAT"), datFile(2048, 0, "", "").left(1024 + 100));
    fillSlot(kSlotWork, 9);
    h.rec().RoiStart[2][4] = 40;
    h.rec().RoiEnd[2][4] = 44;
    std::memset(h.st().files.SpectrumFileHeader, 0x3C, kDatHeaderSize);
    const InfoRecord before = h.rec();
    int32_t workBefore[kSlotChannels];
    std::memcpy(workBefore, h.st().spectrum.slot[kSlotWork], sizeof workBefore);

    for (const char* name : {"many.DAT", "short.DAT"}) {
        h.alerts.clear();
        answerOpen(path(name));
        h.form().SpeedButton16->click();
        ASSERT_EQ(1, h.alerts.messages.size()) << name;
        const QString& m = h.alerts.messages[0];
        EXPECT_TRUE(m.contains(path(name))) << m.toStdString();
        EXPECT_TRUE(m.contains(QString::fromLatin1(name[0] == 'm' ? "5000" : "1124")))
            << m.toStdString();
        EXPECT_TRUE(h.alerts.statusTexts.isEmpty());
    }
    EXPECT_EQ(0, std::memcmp(workBefore, h.st().spectrum.slot[kSlotWork], sizeof workBefore));
    EXPECT_EQ(0, std::memcmp(&before, &h.rec(), sizeof before)) << "ROIs, counts, slot unchanged";
    EXPECT_EQ(0, h.st().spectrum.ViewSlot);
    EXPECT_EQ(0, page().RadioGroup1->itemIndex());
    for (uint8_t byte : h.st().files.SpectrumFileHeader) ASSERT_EQ(0x3C, byte);

    h.alerts.clear();
    answerOpen(path("absent.DAT"));
    h.form().SpeedButton16->click();
    ASSERT_EQ(1, h.alerts.messages.size());
    EXPECT_TRUE(h.alerts.messages[0].startsWith(QStringLiteral("#### ERROR  Open flle\n")));
}

TEST_F(Files, ASavedAgainFileKeepsTheHeaderBytesTheWriterDoesNotSet) {
    QByteArray in = datFile(256, 7, "a", "b");
    for (int at = 32; at < 50; ++at) in[at] = static_cast<char>(0xE0 + at % 16);
    for (int at = 838; at < 1024; ++at) in[at] = static_cast<char>(at & 0x7F);
    in[708] = 'P';
    put(path("orig.DAT"), in);
    answerOpen(path("orig.DAT"));
    h.form().SpeedButton16->click();
    answerComments(QStringLiteral("new"), QString());
    answerSave(path("again.DAT"));
    h.form().SpeedButton17->click();
    const QByteArray out = contentOf(path("again.DAT"));
    ASSERT_EQ(in.size(), out.size());
    EXPECT_EQ(in.mid(32, 18), out.mid(32, 18));
    EXPECT_EQ(in.mid(838, 186), out.mid(838, 186));
    EXPECT_EQ('P', out[708]);
    EXPECT_EQ(QByteArray("new", 4), out.mid(774, 4));
    EXPECT_EQ(in.mid(1024), out.mid(1024)) << "WORK saved as read";
}

// ---------------------------------------------------------------------------------------------
// CSV

TEST_F(Files, CsvWithHeaderAndAnEmptyFirstCommentReadsBackWithItsDataInPlace) {
    fillSlot(0, 100);
    h.st().spectrum.slot[0][5] = 123456789;
    page().CheckBox49->setChecked(true);
    answerComments(QString(), QStringLiteral("second"));
    answerSave(path("sample"));
    h.form().SpeedButton18->click();
    EXPECT_EQ(QStringLiteral("表示中のスペクトルをCSVファイルで保存"), h.dialogs.asked.last());
    EXPECT_EQ(QString(), h.dialogs.fileNames.last());
    const QByteArray text = contentOf(path("sample.CSV"));
    EXPECT_TRUE(text.startsWith("CSVHEADER\r\n\r\nsecond\r\n   0,     100\r\n"))
        << text.left(60).constData();
    EXPECT_TRUE(text.endsWith("2047,    6241\r\n"));
    EXPECT_EQ(QStringLiteral("保存しました: ") + path("sample.CSV"), lastStatus());

    fillSlot(kSlotWork, -5);
    storeSjis(h.rec().SpectrumComment1, QStringLiteral("overwritten by the file"));
    answerOpen(path("sample.CSV"));
    h.form().SpeedButton19->click();
    EXPECT_EQ(QStringLiteral("WORKへ保存したEXCELファイルを読み込む"), h.dialogs.asked.last());
    EXPECT_EQ(QStringLiteral("LIST Data File(*.CVS)|*.CSV;(*.*)|*.*"), h.dialogs.filters.last());
    EXPECT_EQ(QStringLiteral("*.CSV"), h.dialogs.fileNames.last());
    for (int c = 0; c < 2048; ++c)
        ASSERT_EQ(h.st().spectrum.slot[0][c], h.st().spectrum.slot[2][c]) << c;
    EXPECT_EQ(-5 + 3 * 2048, h.st().spectrum.slot[2][2048]);
    EXPECT_STREQ("", h.rec().SpectrumComment1);
    EXPECT_STREQ("second", h.rec().SpectrumComment2);
    EXPECT_EQ(QStringLiteral("second"), page().FileComment2->text());
    EXPECT_EQ(2, page().RadioGroup1->itemIndex());
    EXPECT_EQ(0, h.rec().McaChannels[2]) << "a CSV read leaves WORK's channel count";
    EXPECT_EQ(QStringLiteral("読み込みました: ") + path("sample.CSV"), lastStatus());

    // The comments belong to WORK's file: not over a live spectrum.
    EXPECT_FALSE(page().FileComment2->isHidden());
    view(0);
    EXPECT_TRUE(page().FileComment2->isHidden());
    view(2);
    EXPECT_FALSE(page().FileComment2->isHidden());
}

TEST_F(Files, CommentBoxesHoldWhatTheFileKeepsAndNoHalfOfADoubleByteCharacter) {
    // A binary file keeps 31 bytes of each comment, a CSV file the record's 79.
    QString dat1, dat2, csv1;
    const QString typed = QStringLiteral("Fe disc, 30 kV, 1 mA, 45s live time");   // 35 bytes
    h.dialogs.expect({kExec, QString(), QDialog::Rejected, [&](QDialog& d) {
                          auto& dlg = static_cast<TOKRightDlg2&>(d);
                          dlg.Edit1->clear();
                          for (QChar ch : typed) dlg.Edit1->insert(QString(ch));
                          dlg.Edit2->setText(QString(20, QChar(0x3042)));   // 40 bytes of "あ"
                          dat1 = dlg.Edit1->text();
                          dat2 = dlg.Edit2->text();
                      }});
    h.form().SpeedButton17->click();
    EXPECT_EQ(typed.left(31), dat1) << "typing stops at 31 bytes";
    EXPECT_EQ(QString(15, QChar(0x3042)), dat2) << "30 bytes: the 16th character would be split";

    h.dialogs.expect({kExec, QString(), QDialog::Rejected, [&](QDialog& d) {
                          auto& dlg = static_cast<TOKRightDlg2&>(d);
                          dlg.Edit1->clear();
                          for (QChar ch : typed) dlg.Edit1->insert(QString(ch));
                          csv1 = dlg.Edit1->text();
                      }});
    h.form().SpeedButton18->click();
    EXPECT_EQ(typed, csv1);
}

TEST_F(Files, AReadThatCannotOpenItsFileSaysWhatIsWrongWithThePath) {
    QDir(h.dir()).mkdir(QStringLiteral("folder.DAT"));
    ASSERT_EQ(0, ::mkfifo(path("pipe.DAT").toLocal8Bit().constData(), 0600));
    const struct {
        QString path;
        QString reason;
    } cases[] = {{path("absent.CSV"), QStringLiteral("そのファイルはありません")},
                 {path("folder.DAT"), QStringLiteral("フォルダです。ファイルを選んでください")},
                 {path("pipe.DAT"), QStringLiteral("通常のファイルではありません (デバイスなど)")}};
    for (const auto& c : cases) {
        h.alerts.clear();
        answerOpen(c.path);
        h.form().SpeedButton16->click();
        ASSERT_EQ(1, h.alerts.messages.size()) << c.path.toStdString();
        EXPECT_EQ(QStringLiteral("#### ERROR  Open flle\n") + c.path + QLatin1Char('\n') + c.reason,
                  h.alerts.messages[0]);
    }
}

TEST_F(Files, CsvReadTakesAReadOnlyFileAndACancelStillShowsWork) {
    put(path("ro.CSV"), "   0,      11\r\n   1,      22\r\n");
    ReadOnlyPath guard(path("ro.CSV"));
    answerOpen(path("ro.CSV"));
    h.form().SpeedButton19->click();
    EXPECT_TRUE(h.alerts.messages.isEmpty()) << h.alerts.messages.join(" | ").toStdString();
    EXPECT_EQ(11, h.st().spectrum.slot[2][0]);
    EXPECT_EQ(22, h.st().spectrum.slot[2][1]);

    view(0);
    answerOpen(path("absent.CSV"));
    h.form().SpeedButton19->click();
    EXPECT_EQ(0, page().RadioGroup1->itemIndex())
        << "a file that cannot be opened switches nothing";
    ASSERT_EQ(1, h.alerts.messages.size());
    EXPECT_TRUE(h.alerts.messages[0].startsWith(QStringLiteral("#### ERROR  Open flle\n")));

    answerOpen(QString());
    h.form().SpeedButton19->click();
    EXPECT_EQ(2, page().RadioGroup1->itemIndex());
    EXPECT_EQ(2, h.st().spectrum.ViewSlot);
    EXPECT_EQ(2, h.rec().CurrentSlot);
}

TEST_F(Files, CsvLinesOutsideTheSlotAreCountedOnTheStatusBar) {
    put(path("odd.CSV"), "0,1\n9999,2\nx\n3,4\n");
    answerOpen(path("odd.CSV"));
    h.form().SpeedButton19->click();
    EXPECT_EQ(1, h.st().spectrum.slot[2][0]);
    EXPECT_EQ(4, h.st().spectrum.slot[2][3]);
    ASSERT_FALSE(h.alerts.statusTexts.isEmpty());
    EXPECT_TRUE(lastStatus().contains(QStringLiteral(" 2 ")))
        << lastStatus().toStdString();
}

// ---------------------------------------------------------------------------------------------
// ROI files

TEST_F(Files, RoiTableRoundTripsIntoAnotherSlotAndLeavesTheOthersAlone) {
    h.rec().RoiStart[0][3] = 100;
    h.rec().RoiEnd[0][3] = 120;
    answerSave(path("set"));
    h.form().SaveROItoFile1->trigger();
    EXPECT_EQ(QStringLiteral("現在設定してある100個のROI情報を保存します"), h.dialogs.asked.last());
    QByteArray want;
    for (int r = 0; r < 100; ++r)
        want += r == 3 ? QByteArray("3,100,120\n") : QByteArray::number(r) + ",0,0\n";
    EXPECT_EQ(want, contentOf(path("set.ROI")));

    view(1);
    for (int r = 0; r < 100; ++r) h.rec().RoiEnd[1][r] = 500 + r;
    h.rec().RoiEnd[2][9] = 9;
    answerOpen(path("set.ROI"));
    h.form().LoadROIfromFile1->trigger();
    EXPECT_EQ(QStringLiteral("*.ROI"), h.dialogs.fileNames.last());
    for (int r = 0; r < 100; ++r) {
        EXPECT_EQ(r == 3 ? 100 : 0, h.rec().RoiStart[1][r]) << r;
        EXPECT_EQ(r == 3 ? 120 : 0, h.rec().RoiEnd[1][r]) << r;
    }
    EXPECT_EQ(120, h.rec().RoiEnd[0][3]);
    EXPECT_EQ(9, h.rec().RoiEnd[2][9]);
}

TEST_F(Files, RoiLoaderReadsAReadOnlyFileAndIgnoresLinesOutsideTheTable) {
    put(path("ro.ROI"), "0,1,2\n1,3,4\n2,5,99999\n");
    ReadOnlyPath guard(path("ro.ROI"));
    h.rec().RoiStart[0][2] = 77;
    answerOpen(path("ro.ROI"));
    h.form().LoadROIfromFile1->trigger();
    EXPECT_TRUE(h.alerts.messages.isEmpty()) << h.alerts.messages.join(" | ").toStdString();
    EXPECT_EQ(3, h.rec().RoiStart[0][1]);
    EXPECT_EQ(77, h.rec().RoiStart[0][2]);
    EXPECT_TRUE(lastStatus().contains(QStringLiteral(" 1 ")));
}

TEST_F(Files, CurrentRoiFileGoesIntoTheCurrentRoiAndThenSelectsItsOwnNumber) {
    McaPage& p = page();
    p.Edit17->setText(QStringLiteral("4"));
    h.rec().RoiStart[0][4] = 10;
    h.rec().RoiEnd[0][4] = 20;
    answerSave(path("four"));
    h.form().SaveSingleROItoFile1->trigger();
    EXPECT_EQ(QStringLiteral("カレントROIに名前を付けて保存する"), h.dialogs.asked.last());
    EXPECT_EQ(QStringLiteral("ROI Data File(*.sroi)|*.sroi;(*.*)|*.*"), h.dialogs.filters.last());
    EXPECT_EQ(QByteArray("4,10,20\n"), contentOf(path("four.sroi")));

    p.Edit17->setText(QStringLiteral("9"));
    answerOpen(path("four.sroi"));
    h.form().LoadSingleROIfromFile1->trigger();
    EXPECT_EQ(QStringLiteral("一つのROI情報を読み込む"), h.dialogs.asked.last());
    EXPECT_EQ(10, h.rec().RoiStart[0][9]);
    EXPECT_EQ(20, h.rec().RoiEnd[0][9]);
    EXPECT_EQ(4, h.st().spectrum.CurrentRoi[0]);

    // A number outside 1..99 leaves the current ROI; channels outside the slot store nothing.
    put(path("zero.sroi"), "0,30,40\n");
    put(path("wide.sroi"), "7,30,5000\n");
    answerOpen(path("zero.sroi"));
    h.form().LoadSingleROIfromFile1->trigger();
    EXPECT_EQ(4, h.st().spectrum.CurrentRoi[0]);
    EXPECT_EQ(30, h.rec().RoiStart[0][4]);
    answerOpen(path("wide.sroi"));
    h.form().LoadSingleROIfromFile1->trigger();
    EXPECT_EQ(4, h.st().spectrum.CurrentRoi[0]);
    EXPECT_EQ(40, h.rec().RoiEnd[0][4]);

    answerOpen(path("absent.sroi"));
    h.form().LoadSingleROIfromFile1->trigger();
    ASSERT_EQ(1, h.alerts.messages.size());
    EXPECT_TRUE(h.alerts.messages[0].startsWith(QStringLiteral("#### ERROR Open file\n")));
}

TEST_F(Files, RoiSaversAskBeforeOverwritingAndACancelledDialogOnlyRedraws) {
    put(path("keep.sroi"), "1,2,3\n");
    answerSave(path("keep.sroi"));
    answerSameFile(QDialog::Rejected);
    h.form().SaveSingleROItoFile1->trigger();
    EXPECT_EQ(QByteArray("1,2,3\n"), contentOf(path("keep.sroi")));
    EXPECT_EQ(1, h.alerts.beeps);

    h.rec().RoiStart[0][1] = 10;
    h.rec().RoiEnd[0][1] = 20;
    page().Edit24->setText(QStringLiteral("stale"));
    answerSave(QString());
    h.form().SaveROItoFile1->trigger();
    EXPECT_NE(QStringLiteral("stale"), page().Edit24->text()) << "the view was redrawn";
}

TEST_F(Files, TheLastChosenNameIsOfferedByTheCommandsThatDoNotSetOne) {
    answerSave(path("first.sroi"));
    h.form().SaveSingleROItoFile1->trigger();
    answerSave(QString());
    h.form().SaveROItoFile1->trigger();
    EXPECT_EQ(QStringLiteral("first.sroi"), h.dialogs.fileNames.last());
    answerOpen(path("first.sroi"));
    h.form().LoadSingleROIfromFile1->trigger();
    answerOpen(QString());
    h.form().LoadSingleROIfromFile1->trigger();
    EXPECT_EQ(QStringLiteral("first.sroi"), h.dialogs.fileNames.last());
}

// ---------------------------------------------------------------------------------------------
// A whole session

TEST(FilesSession, AMeasuredSpectrumSavedAsDatAndCsvComesBackAfterARestart) {
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/data/");
    ASSERT_TRUE(QDir().mkpath(folder));
    int32_t measured[kSlotChannels];
    {
        Harness h(dir.path());
        h.alerts.clear();
        h.dialogs.expect({QStringLiteral("save"), folder + QStringLiteral("GAVREL")});
        h.form().Button16->click();
        h.form().SpeedButton20->click();
        McaPage& p = *h.form().MCAcollect;
        p.Edit14->setText(QStringLiteral("100"));
        p.Button5->click();
        for (int i = 0; i < 3; ++i) h.tick1();
        ASSERT_EQ(100, h.st().spectrum.slot[0][0]) << "one second of live time";
        p.Edit17->setText(QStringLiteral("2"));
        h.rec().RoiStart[0][2] = 630;
        h.rec().RoiEnd[0][2] = 650;
        p.CheckBox49->setChecked(true);
        std::memcpy(measured, h.st().spectrum.slot[0], sizeof measured);

        auto comments = [&h](const char* c1, const char* c2) {
            h.dialogs.expect(
                {QStringLiteral("exec"), QString(), QDialog::Accepted, [c1, c2](QDialog& d) {
                     static_cast<TOKRightDlg2&>(d).Edit1->setText(QString::fromUtf8(c1));
                     static_cast<TOKRightDlg2&>(d).Edit2->setText(QString::fromUtf8(c2));
                 }});
        };
        comments("Fe disc", "1 s live");
        h.dialogs.expect({QStringLiteral("save"), folder + QStringLiteral("fe")});
        h.form().SpeedButton17->click();
        comments("Fe disc", "1 s live");
        h.dialogs.expect({QStringLiteral("save"), folder + QStringLiteral("fe")});
        h.form().SpeedButton18->click();
        EXPECT_EQ(folder, h.dialogs.folders.last());
        EXPECT_TRUE(h.alerts.messages.isEmpty()) << h.alerts.messages.join(" | ").toStdString();
        h.close();
    }
    Harness h(dir.path());
    EXPECT_EQ(folder, h.form().Edit27->text()) << "the save folder is kept in the record";
    McaPage& p = *h.form().MCAcollect;
    h.dialogs.expect({QStringLiteral("open"), folder + QStringLiteral("fe.DAT")});
    h.form().SpeedButton16->click();
    for (int c = 0; c < 2048; ++c) ASSERT_EQ(measured[c], h.st().spectrum.slot[2][c]) << c;
    EXPECT_EQ(630, h.rec().RoiStart[2][2]);
    EXPECT_EQ(650, h.rec().RoiEnd[2][2]);
    EXPECT_EQ(QStringLiteral("Fe disc"), p.FileComment1->text());
    EXPECT_EQ(QStringLiteral("1 s live"), p.FileComment2->text());

    for (int c = 0; c < kSlotChannels; ++c) h.st().spectrum.slot[2][c] = 0;
    h.dialogs.expect({QStringLiteral("open"), folder + QStringLiteral("fe.CSV")});
    h.form().SpeedButton19->click();
    for (int c = 0; c < 2048; ++c) ASSERT_EQ(measured[c], h.st().spectrum.slot[2][c]) << c;
    EXPECT_EQ(QStringLiteral("Fe disc"), p.FileComment1->text());
    EXPECT_STREQ("1 s live", h.rec().SpectrumComment2);
}
