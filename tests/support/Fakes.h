#pragma once
// Recording fakes of the services: nothing blocks, everything is recorded for assertions.

#include "app/Services.h"

#include <QDateTime>
#include <QStringList>
#include <deque>
#include <memory>
#include <vector>
#include <functional>

#include <ostream>

// Readable test failure output for Qt texts.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os) {
    *os << "{ ";
    for (const QString& s : l) *os << '"' << s.toStdString() << "\" ";
    *os << "}";
}

namespace qor::test {

class FakeAlerts : public Alerts {
public:
    void beep() override { ++beeps; }
    void message(const QString& text) override {
        messages << text;
        // A modal box lets the timers fire while it is open: a test can run them here.
        if (whileMessageShown) whileMessageShown();
    }
    std::function<void()> whileMessageShown;
    void status(const QString& text) override { statusTexts << text; }
    int beeps = 0;
    QStringList messages;
    QStringList statusTexts;
    void clear() { beeps = 0; messages.clear(); statusTexts.clear(); }
};

class FakeSounds : public Sounds {
public:
    void play(const QString& fileName) override { played << fileName; }
    QStringList played;
};

// Answers dialogs from a script. Any dialog the test did not announce fails the test.
class FakeDialogs : public Dialogs {
public:
    struct Answer {
        QString kind;                               // "exec", "open", "save", "folder", "confirm"
        QString text;                               // file name for file dialogs
        int result = 0;                             // exec result / confirm (1 yes)
        std::function<void(QDialog&)> beforeClose;  // e.g. type into the dialog's boxes
    };
    void expect(Answer a) { script.push_back(std::move(a)); }
    int exec(QDialog& dialog) override;
    QString openFile(const QString& caption, const QString& folder, const QString& filter) override;
    QString saveFile(const QString& caption, const QString& folder, const QString& filter) override;
    QString chooseFolder(const QString& caption, const QString& folder) override;
    QString openFileNamed(const QString& caption, const QString& folder, const QString& filter,
                          const QString& fileName) override;
    QString saveFileNamed(const QString& caption, const QString& folder, const QString& filter,
                          const QString& fileName) override;
    bool confirm(const QString& caption, const QString& text) override;

    std::deque<Answer> script;
    QStringList asked;   // captions / object names of every dialog asked, in order
    QStringList folders; // the start folders given to the file dialogs
    QStringList filters;   // the filters of the open and save dialogs, in order
    QStringList fileNames; // the file names offered by openFileNamed / saveFileNamed, in order

private:
    Answer take(const QString& kind, const QString& what);
};

// Records every print job: the texts with their position and font, the pictures, the pages.
// The two dialogs answer from `printAnswer` and `setupAnswer`.
class FakePrinting : public Printing {
public:
    struct Text { int page; int x; int y; QString font; QString text; };
    struct Picture { int page; QRect target; QImage image; };
    struct Job { QString title; int pages = 1; std::vector<Text> texts; std::vector<Picture> pictures; };

    bool printDialog() override { ++printDialogs; return printAnswer; }
    bool printerSetupDialog() override { ++setupDialogs; return setupAnswer; }
    std::unique_ptr<PrintCanvas> beginJob(const QString& title) override;

    bool printAnswer = true;
    bool setupAnswer = true;
    bool canStart = true;               // false: the printer cannot start a job
    QRect page = QRect(0, 0, 4960, 7016);   // an A4 page at 600 dpi
    int printDialogs = 0;
    int setupDialogs = 0;
    std::deque<Job> jobs;   // every job begun, in order (a canvas keeps a reference to its job)
};

// A clock the test advances by hand; sleeping advances it.
class ManualClock : public Clock {
public:
    int64_t nowMs() const override { return now; }
    QDateTime localDateTime() const override { return wallStart.addMSecs(now); }
    void sleepMs(int ms) override { if (ms > 0) now += ms; }
    void advance(int64_t ms) { now += ms; }
    int64_t now = 0;
    QDateTime wallStart = QDateTime(QDate(2026, 12, 9), QTime(10, 0, 0));
};

}  // namespace qor::test
