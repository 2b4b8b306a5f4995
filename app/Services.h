#pragma once
// Services the windows and the instrument code use to reach the operator and the platform.
// Production implementations live in app/QtServices; tests give recording fakes, so nothing a
// test runs ever blocks on a modal box, a sound or wall time.

#include "app/Clock.h"
#include "app/Printing.h"

#include <QDateTime>
#include <QString>
#include <cstdint>

class QDialog;
class QWidget;

namespace qor {

class Alerts {
public:
    virtual ~Alerts() = default;
    virtual void beep() = 0;                          // the platform's default alert beep
    virtual void message(const QString& text) = 0;    // modal message box
    virtual void status(const QString& text) = 0;     // status-bar text
};

class Sounds {
public:
    virtual ~Sounds() = default;
    // Plays a wave file of the start directory by name, asynchronously; without such a file the
    // program's own cue of that name plays, and a name with neither plays nothing.
    virtual void play(const QString& fileName) = 0;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Runs one of the program's own modal dialogs; returns QDialog::Accepted or Rejected.
    virtual int exec(QDialog& dialog) = 0;
    // File dialogs: the chosen path, or an empty text when cancelled.
    virtual QString openFile(const QString& caption, const QString& folder,
                             const QString& filter) = 0;
    virtual QString saveFile(const QString& caption, const QString& folder,
                             const QString& filter) = 0;
    virtual QString chooseFolder(const QString& caption, const QString& folder) = 0;
    // The same file dialogs offering `fileName` in the folder: a name, empty for none, or a
    // pattern such as "*.DAT" that narrows the list. Filters may be written as the window
    // design writes them ("Data File(*.DAT)|*.DAT;(*.*)|*.*"). By default the name is not
    // offered.
    virtual QString openFileNamed(const QString& caption, const QString& folder,
                                  const QString& filter, const QString& fileName) {
        (void)fileName;
        return openFile(caption, folder, filter);
    }
    virtual QString saveFileNamed(const QString& caption, const QString& folder,
                                  const QString& filter, const QString& fileName) {
        (void)fileName;
        return saveFile(caption, folder, filter);
    }
    // A yes/no question; true for yes.
    virtual bool confirm(const QString& caption, const QString& text) = 0;
};

// Everything a page or dialog needs from the platform, handed around by reference.
struct Services {
    Alerts& alerts;
    Sounds& sounds;
    Dialogs& dialogs;
    Clock& clock;
    Printing& printing;
};

}  // namespace qor
