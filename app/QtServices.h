#pragma once
// Production services: Qt message boxes, the status bar, wave files through QSoundEffect (the
// start folder's, else the program's own cues), Qt file dialogs, the steady clock.

#include "app/Services.h"

#include <QDir>
#include <QHash>
#include <QPointer>
#include <QStatusBar>

class QSoundEffect;

namespace qor {

class QtAlerts : public Alerts {
public:
    // Attaches the main window; a status text given before that is shown now.
    void setWindow(QWidget* window, QStatusBar* bar);
    void beep() override;
    void message(const QString& text) override;
    void status(const QString& text) override;

private:
    QPointer<QWidget> window_;
    QPointer<QStatusBar> bar_;
    QString pendingStatus_;
};

class QtSounds : public Sounds {
public:
    explicit QtSounds(QString startDir) : dir_(std::move(startDir)) {}
    ~QtSounds() override;
    void play(const QString& fileName) override;

private:
    QString dir_;
    QHash<QString, QSoundEffect*> effects_;
};

class QtDialogs : public Dialogs {
public:
    void setParent(QWidget* parent) { parent_ = parent; }
    int exec(QDialog& dialog) override;
    QString openFile(const QString& caption, const QString& folder, const QString& filter) override;
    QString saveFile(const QString& caption, const QString& folder, const QString& filter) override;
    QString chooseFolder(const QString& caption, const QString& folder) override;
    QString openFileNamed(const QString& caption, const QString& folder, const QString& filter,
                          const QString& fileName) override;
    QString saveFileNamed(const QString& caption, const QString& folder, const QString& filter,
                          const QString& fileName) override;
    bool confirm(const QString& caption, const QString& text) override;

private:
    QPointer<QWidget> parent_;
};

class SteadyClock : public Clock {
public:
    int64_t nowMs() const override;
    QDateTime localDateTime() const override;
    void sleepMs(int ms) override;
};

}  // namespace qor
