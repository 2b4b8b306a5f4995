#pragma once
// The file commands of the tool bar and the ROI menu: choose the save folder, save and read the
// binary and CSV spectrum files, save and load the ROI table and the current ROI. They ask the
// operator through the Dialogs service (file dialogs, the comment and same-file dialogs), read
// and write through the pure formats of SpectrumFiles and RoiFiles, and reach the window only
// through the hooks, so that the handlers stay one line each.

#include "app/AppState.h"
#include "app/DialogSet.h"
#include "app/Services.h"

#include <QString>
#include <functional>
#include <memory>
#include <string>

namespace qor {

struct DatFile;

// What the commands need the window to do.
struct FileCommandHooks {
    std::function<void()> drawSpectrum;                      // DrawSpectrum
    std::function<void()> showCurrentRoi;                    // ShowCurrentRoi
    std::function<void()> showWorkSlot;                      // RadioGroup1 on item 2 "WORK"
    std::function<void(const QString&)> showSaveFolder;      // Edit27
    std::function<void(const QString&, const QString&)> showReadComments;
};

// The file name rule of every spectrum and ROI command: a path without any "." (a "." in a
// folder name counts) gets `extension` appended.
QString applyFileNameRule(const QString& path, const QString& extension);

// The folder of a chosen file: the path up to and including its last "/".
QString folderOfPath(const QString& path);

class SpectrumFileCommands {
public:
    SpectrumFileCommands(AppState& st, Services& svc, DialogSet& dlg, FileCommandHooks hooks);
    ~SpectrumFileCommands();

    void chooseSaveFolder();   // "指定"
    void saveBinary();         // the viewed slot as a .DAT file
    void readBinary();         // a .DAT file into WORK
    void saveCsv();            // the viewed slot as a .CSV file
    void readCsv();            // a .CSV file into WORK
    void saveRoiTable();       // ROIs 0..99 of the viewed slot as a .ROI file
    void loadRoiTable();
    void saveCurrentRoi();     // the current ROI of the viewed slot as a .sroi file
    void loadCurrentRoi();

    // The largest file the readers take in (a spectrum file needs far less).
    static constexpr qint64 kMaxReadBytes = 16 * 1024 * 1024;

private:
    QString saveFolder() const;
    QString askSave(FileDialogProps& d);
    QString askOpen(FileDialogProps& d);
    // The comment dialog, its boxes holding at most `bytes` Shift-JIS bytes.
    bool askComments(int bytes);
    bool confirmOverwrite(const QString& path);
    // Writes `buffer_` to `path` and names it on the status bar; on failure shows `failure`
    // with the path and the reason.
    bool writeBuffer(const QString& path, const char* failure);
    // Reads up to `limit` bytes of `path` into `bytes`; on failure shows `failure`.
    bool readInto(const QString& path, qint64 limit, QByteArray& bytes, const char* failure);
    // The status bar names the file read, and the lines that stored nothing.
    void noteRead(const QString& path, int ignored);
    void switchToWork();

    AppState& st_;
    Services& svc_;
    DialogSet& dlg_;
    FileCommandHooks hooks_;
    std::string buffer_;                 // the bytes of the file being written, reused
    std::unique_ptr<DatFile> datFile_;   // scratch for a binary file until it is accepted
};

}  // namespace qor
