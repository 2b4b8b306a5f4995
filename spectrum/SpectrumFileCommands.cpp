#include "spectrum/SpectrumFileCommands.h"

#include "app/TextCodec.h"
#include "app/SafeWrite.h"
#include "spectrum/RoiFiles.h"
#include "spectrum/RoiTable.h"
#include "spectrum/SpectrumFileRecord.h"
#include "spectrum/SpectrumFiles.h"
#include "spectrum/SpectrumView.h"
#include "spectrum/TDlgSameF.h"
#include "spectrum/TOKRightDlg2.h"

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

namespace qor {

namespace {

// The fixed texts of the failures (spelled as the operators know them).
const char* const kCreateFailed = "#### ERROR Open file";
const char* const kOpenFailed = "#### ERROR  Open flle";

const char* const kDatSaveFilter = "LIST Data File(*.DAT)|*.DAT;(*.*)|*.*";
const char* const kCsvSaveFilter = "LIST Data File(*.CSV)|*.CSV;(*.*)|*.*";
const char* const kCsvReadFilter = "LIST Data File(*.CVS)|*.CSV;(*.*)|*.*";
const char* const kRoiFilter = "ROI Data File(*.ROI)|*.ROI;(*.*)|*.*";
const char* const kSroiFilter = "ROI Data File(*.sroi)|*.sroi;(*.*)|*.*";

constexpr int kSaveFolderField = 256;  // SaveFolder: 255 bytes and a NUL

QString lines(const QString& a, const QString& b, const QString& c = QString()) {
    QString s = a + QLatin1Char('\n') + b;
    if (!c.isEmpty()) s += QLatin1Char('\n') + c;
    return s;
}

}  // namespace

QString applyFileNameRule(const QString& path, const QString& extension) {
    if (path.contains(QLatin1Char('.'))) return path;
    return path + extension;
}

QString folderOfPath(const QString& path) {
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}

SpectrumFileCommands::SpectrumFileCommands(AppState& st, Services& svc, DialogSet& dlg,
                                           FileCommandHooks hooks)
    : st_(st),
      svc_(svc),
      dlg_(dlg),
      hooks_(std::move(hooks)),
      datFile_(std::make_unique<DatFile>()) {
    buffer_.reserve(kDatHeaderSize + 4 * kFileMaxChannels);
}

SpectrumFileCommands::~SpectrumFileCommands() = default;

// ---------------------------------------------------------------------------------------------
// Dialogs

QString SpectrumFileCommands::saveFolder() const { return fromSjis(st_.rec.SaveFolder); }

QString SpectrumFileCommands::askSave(FileDialogProps& d) {
    const QString path = svc_.dialogs.saveFileNamed(d.title, saveFolder(), d.filter, d.fileName);
    if (!path.isEmpty()) d.fileName = QFileInfo(path).fileName();
    return path;
}

QString SpectrumFileCommands::askOpen(FileDialogProps& d) {
    const QString path = svc_.dialogs.openFileNamed(d.title, saveFolder(), d.filter, d.fileName);
    if (!path.isEmpty()) d.fileName = QFileInfo(path).fileName();
    return path;
}

bool SpectrumFileCommands::askComments() {
    TOKRightDlg2* dlg = dlg_.OKRightDlg2;
    if (!dlg) return false;
    dlg->loadFromRecord();
    if (svc_.dialogs.exec(*dlg) != QDialog::Accepted) return false;
    dlg->storeToRecord();
    return true;
}

bool SpectrumFileCommands::confirmOverwrite(const QString& path) {
    // Anything of that name counts as existing, also a file that may only be read.
    if (!QFileInfo(path).exists() && !QFileInfo(path).isSymLink()) return true;
    if (!dlg_.DlgSameF) return false;
    svc_.alerts.beep();
    return svc_.dialogs.exec(*dlg_.DlgSameF) == QDialog::Accepted;
}

bool SpectrumFileCommands::writeBuffer(const QString& path, const char* failure) {
    const WriteOutcome written = writeFileSafely(path, buffer_.data(), qint64(buffer_.size()));
    if (written) return true;
    svc_.alerts.message(lines(QString::fromUtf8(failure), path, written.reason));
    return false;
}

bool SpectrumFileCommands::readInto(const QString& path, qint64 limit, QByteArray& bytes,
                                    const char* failure) {
    QFile f(path);
    // Reading only: a file the operator may not write is read all the same.
    if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly)) {
        const QString why =
            QFileInfo(path).isDir() ? QStringLiteral("フォルダです") : f.errorString();
        svc_.alerts.message(lines(QString::fromUtf8(failure), path, why));
        return false;
    }
    bytes = f.read(limit);
    if (f.error() != QFileDevice::NoError) {
        svc_.alerts.message(lines(QString::fromUtf8(failure), path, f.errorString()));
        return false;
    }
    return true;
}

void SpectrumFileCommands::noteIgnoredLines(const QString& path, int ignored) {
    if (ignored <= 0) return;
    svc_.alerts.status(
        path + QStringLiteral(": 範囲外または読めない %1 行は読み込みませんでした").arg(ignored));
}

void SpectrumFileCommands::switchToWork() {
    st_.spectrum.ViewSlot = kSlotWork;
    st_.rec.CurrentSlot = kSlotWork;
    if (hooks_.showWorkSlot) hooks_.showWorkSlot();
}

// ---------------------------------------------------------------------------------------------
// Save folder

void SpectrumFileCommands::chooseSaveFolder() {
    FileDialogProps& d = st_.files.SaveDialog1;
    d.filter = QStringLiteral("Data File(*.DAT)|*.DAT;(*.*)|*.*");
    d.title = QStringLiteral("測定データを保存するフォルダの指定");
    d.fileName = QStringLiteral("GAVREL");
    const QString path = askSave(d);
    if (path.isEmpty()) return;
    const QString folder = folderOfPath(path);
    const std::string bytes = toSjis(folder);
    if (bytes.size() > static_cast<std::size_t>(kSaveFolderField - 1)) {
        svc_.alerts.message(
            lines(QStringLiteral("保存フォルダのパスが長すぎます (%1 バイト、255 バイトまで)。"
                                 "保存フォルダは変わりません")
                      .arg(bytes.size()),
                  folder));
        return;
    }
    // A name with a character outside code page 932 would be stored as another name ("café"
    // as "caf?") in which no map file could be created.
    if (fromSjis(bytes.c_str(), bytes.size()) != folder) {
        svc_.alerts.message(
            lines(QStringLiteral("保存フォルダ名に、情報ファイルに記録できない文字 (Shift-JIS にない文字) "
                                 "が含まれています。保存フォルダは変わりません"),
                  folder));
        return;
    }
    storeSjis(st_.rec.SaveFolder, folder);
    const QString shown = fromSjis(st_.rec.SaveFolder);
    if (hooks_.showSaveFolder) hooks_.showSaveFolder(shown);
    svc_.alerts.status(shown);
}

// ---------------------------------------------------------------------------------------------
// Binary file

void SpectrumFileCommands::saveBinary() {
    if (!askComments()) return;
    FileDialogProps& d = st_.files.SaveDialog1;
    d.filter = QString::fromUtf8(kDatSaveFilter);
    d.title = QStringLiteral("表示中のスペクトルをラボ標準ファイルとして保存します");
    QString path = askSave(d);
    if (path.isEmpty()) return;
    path = applyFileNameRule(path, QStringLiteral(".DAT"));
    if (!confirmOverwrite(path)) return;

    const DatContent c =
        binaryContent(st_.rec, st_.spectrum.slot[clampSlot(st_.spectrum.ViewSlot)]);
    std::string error;
    if (!buildDat(st_.files.SpectrumFileHeader, c, buffer_, error)) {
        svc_.alerts.message(lines(QString::fromUtf8(error), path));
        return;
    }
    writeBuffer(path, kCreateFailed);
}

void SpectrumFileCommands::readBinary() {
    FileDialogProps& d = st_.files.OpenDialog1;
    d.title = QStringLiteral("Read Labo: binary Spectrum");
    d.fileName = QStringLiteral("*.DAT");
    QString path = askOpen(d);
    if (path.isEmpty()) return;
    path = applyFileNameRule(path, QStringLiteral(".DAT"));
    QByteArray bytes;
    if (!readInto(path, kDatHeaderSize + 4 * kFileMaxChannels, bytes, kOpenFailed)) return;

    DatFile& f = *datFile_;
    std::string error;
    if (!readDat(reinterpret_cast<const uint8_t*>(bytes.constData()),
                 static_cast<std::size_t>(bytes.size()), f, error)) {
        svc_.alerts.message(
            lines(QStringLiteral("バイナリ形式ファイルを読み込めません。WORK は変わりません"), path,
                  QString::fromUtf8(error)));
        return;
    }
    // The whole file is sound: now it replaces WORK, its ROIs and the header buffer.
    std::memcpy(st_.files.SpectrumFileHeader, f.header, kDatHeaderSize);
    std::memcpy(st_.spectrum.slot[kSlotWork], f.data,
                sizeof(int32_t) * static_cast<std::size_t>(f.channels));
    QString status = path;
    if (f.ignoredRois > 0)
        status += QStringLiteral("  (チャンネル範囲外の ROI %1 個は読み込みませんでした)")
                      .arg(f.ignoredRois);
    svc_.alerts.status(status);
    InfoRecord& r = st_.rec;
    for (int i = 0; i < kFileRoiCount; ++i) {
        r.RoiStart[kSlotWork][i] = f.roiStart[i];
        r.RoiEnd[kSlotWork][i] = f.roiEnd[i];
    }
    r.McaChannels[kSlotWork] = f.channels;
    r.SlotViewChannels[kSlotWork] = f.channels;
    switchToWork();
    st_.files.ReadComment1 = fromSjis(f.comment1);
    st_.files.ReadComment2 = fromSjis(f.comment2);
    if (hooks_.showReadComments)
        hooks_.showReadComments(st_.files.ReadComment1, st_.files.ReadComment2);
    if (hooks_.drawSpectrum) hooks_.drawSpectrum();
    if (hooks_.showCurrentRoi) hooks_.showCurrentRoi();
}

// ---------------------------------------------------------------------------------------------
// CSV file

void SpectrumFileCommands::saveCsv() {
    if (!askComments()) return;
    FileDialogProps& d = st_.files.SaveDialog1;
    d.filter = QString::fromUtf8(kCsvSaveFilter);
    d.title = QStringLiteral("表示中のスペクトルをCSVファイルで保存");
    d.fileName.clear();
    QString path = askSave(d);
    if (path.isEmpty()) return;
    path = applyFileNameRule(path, QStringLiteral(".CSV"));

    const int vs = clampSlot(st_.spectrum.ViewSlot);
    const CsvContent c = csvContent(st_.rec, vs, st_.spectrum.slot[vs]);
    std::string error;
    if (!buildCsv(c.data, c.channels, c.header, c.comment1, c.comment2, buffer_, error)) {
        svc_.alerts.message(lines(QString::fromUtf8(error), path));
        return;
    }
    writeBuffer(path, kOpenFailed);
}

void SpectrumFileCommands::readCsv() {
    FileDialogProps& d = st_.files.OpenDialog1;
    d.filter = QString::fromUtf8(kCsvReadFilter);
    d.title = QStringLiteral("WORKへ保存したEXCELファイルを読み込む");
    d.fileName = QStringLiteral("*.CSV");
    QString path = askOpen(d);
    if (!path.isEmpty()) {
        path = applyFileNameRule(path, QStringLiteral(".CSV"));
        QByteArray bytes;
        if (!readInto(path, kMaxReadBytes, bytes, kOpenFailed)) return;
        CsvReadInfo info;
        qor::readCsv(bytes.constData(), static_cast<std::size_t>(bytes.size()),
                     st_.rec.McaChannels[0], st_.spectrum.slot[kSlotWork], info);
        if (info.hasHeader) {
            std::memcpy(st_.rec.SpectrumComment1, info.comment1, kCommentFieldSize);
            std::memcpy(st_.rec.SpectrumComment2, info.comment2, kCommentFieldSize);
            st_.files.ReadComment1 = fromSjis(info.comment1);
            st_.files.ReadComment2 = fromSjis(info.comment2);
        } else {
            st_.files.ReadComment1.clear();
            st_.files.ReadComment2.clear();
        }
        if (hooks_.showReadComments)
            hooks_.showReadComments(st_.files.ReadComment1, st_.files.ReadComment2);
        noteIgnoredLines(path, info.ignored);
    }
    // Also a cancelled dialog shows WORK.
    switchToWork();
    if (hooks_.drawSpectrum) hooks_.drawSpectrum();
}

// ---------------------------------------------------------------------------------------------
// ROI files

void SpectrumFileCommands::saveRoiTable() {
    FileDialogProps& d = st_.files.SaveDialog1;
    d.filter = QString::fromUtf8(kRoiFilter);
    d.title = QStringLiteral("現在設定してある100個のROI情報を保存します");
    QString path = askSave(d);
    if (path.isEmpty()) {
        if (hooks_.drawSpectrum) hooks_.drawSpectrum();
        return;
    }
    path = applyFileNameRule(path, QStringLiteral(".ROI"));
    if (!confirmOverwrite(path)) return;
    const int s = clampSlot(st_.spectrum.ViewSlot);
    buildRoiTable(st_.rec.RoiStart[s], st_.rec.RoiEnd[s], buffer_);
    if (!writeBuffer(path, kCreateFailed)) return;
    if (hooks_.drawSpectrum) hooks_.drawSpectrum();
}

void SpectrumFileCommands::loadRoiTable() {
    FileDialogProps& d = st_.files.OpenDialog1;
    d.filter = QString::fromUtf8(kRoiFilter);
    d.title = QStringLiteral("現在設定してある100個のROI情報を読出します");
    d.fileName = QStringLiteral("*.ROI");
    QString path = askOpen(d);
    if (path.isEmpty()) {
        if (hooks_.drawSpectrum) hooks_.drawSpectrum();
        return;
    }
    path = applyFileNameRule(path, QStringLiteral(".ROI"));
    QByteArray bytes;
    if (!readInto(path, kMaxReadBytes, bytes, kOpenFailed)) return;
    const int s = clampSlot(st_.spectrum.ViewSlot);
    const RoiReadInfo info = readRoiTable(bytes.constData(), static_cast<std::size_t>(bytes.size()),
                                          st_.rec.RoiStart[s], st_.rec.RoiEnd[s]);
    noteIgnoredLines(path, info.ignored);
    if (hooks_.drawSpectrum) hooks_.drawSpectrum();
}

void SpectrumFileCommands::saveCurrentRoi() {
    FileDialogProps& d = st_.files.SaveDialog1;
    d.filter = QString::fromUtf8(kSroiFilter);
    d.title = QStringLiteral("カレントROIに名前を付けて保存する");
    QString path = askSave(d);
    if (path.isEmpty()) {
        if (hooks_.drawSpectrum) hooks_.drawSpectrum();
        return;
    }
    path = applyFileNameRule(path, QStringLiteral(".sroi"));
    if (!confirmOverwrite(path)) return;
    const int s = clampSlot(st_.spectrum.ViewSlot);
    const int r = roiIndex(st_.spectrum.CurrentRoi[s]);
    buildSingleRoi(r, st_.rec.RoiStart[s][r], st_.rec.RoiEnd[s][r], buffer_);
    if (!writeBuffer(path, kCreateFailed)) return;
    if (hooks_.drawSpectrum) hooks_.drawSpectrum();
}

void SpectrumFileCommands::loadCurrentRoi() {
    FileDialogProps& d = st_.files.OpenDialog1;
    d.filter = QString::fromUtf8(kSroiFilter);
    d.title = QStringLiteral("一つのROI情報を読み込む");
    QString path = askOpen(d);
    if (path.isEmpty()) {
        if (hooks_.drawSpectrum) hooks_.drawSpectrum();
        return;
    }
    path = applyFileNameRule(path, QStringLiteral(".sroi"));
    QByteArray bytes;
    if (!readInto(path, kMaxReadBytes, bytes, kCreateFailed)) return;
    const SingleRoiLine line =
        readSingleRoi(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const int s = clampSlot(st_.spectrum.ViewSlot);
    const int r = roiIndex(st_.spectrum.CurrentRoi[s]);
    if (line.storeEdges) {
        st_.rec.RoiStart[s][r] = line.start;
        st_.rec.RoiEnd[s][r] = line.end;
    }
    if (line.setCurrent) st_.spectrum.CurrentRoi[s] = line.number;
    noteIgnoredLines(path, line.storeEdges ? 0 : 1);
    if (hooks_.drawSpectrum) hooks_.drawSpectrum();
}

}  // namespace qor
