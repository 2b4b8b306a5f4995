#include "app/QtServices.h"

#include "app/CueFiles.h"
#include "app/FileDialogFilter.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSoundEffect>
#include <QThread>
#include <QUrl>
#include <chrono>

namespace qor {

void QtAlerts::beep() { QApplication::beep(); }

void QtAlerts::message(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, window_.data());
    box.exec();
}

void QtAlerts::setWindow(QWidget* window, QStatusBar* bar) {
    window_ = window;
    bar_ = bar;
    if (bar_ && !pendingStatus_.isEmpty()) bar_->showMessage(pendingStatus_);
    pendingStatus_.clear();
}

void QtAlerts::status(const QString& text) {
    if (bar_)
        bar_->showMessage(text);
    else
        pendingStatus_ = text;   // the start-up runs before the window is attached
}

QtSounds::~QtSounds() { qDeleteAll(effects_); }

void QtSounds::play(const QString& fileName) {
    // The start folder's wave file, else the program's own cue; nothing when neither exists.
    const QUrl source = cueSource(dir_, fileName);
    if (source.isEmpty()) return;
    QSoundEffect*& effect = effects_[source.toString()];
    if (!effect) {
        effect = new QSoundEffect;
        effect->setSource(source);
    }
    effect->play();
}

int QtDialogs::exec(QDialog& dialog) { return dialog.exec(); }

QString QtDialogs::openFile(const QString& caption, const QString& folder, const QString& filter) {
    return QFileDialog::getOpenFileName(parent_.data(), caption, folder, filter);
}

QString QtDialogs::saveFile(const QString& caption, const QString& folder, const QString& filter) {
    return QFileDialog::getSaveFileName(parent_.data(), caption, folder, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

QString QtDialogs::chooseFolder(const QString& caption, const QString& folder) {
    return QFileDialog::getExistingDirectory(parent_.data(), caption, folder);
}

namespace {

// The start of a file dialog offering `fileName` in `folder`: a plain name is preselected in
// the folder; a pattern selects the filter entry with that mask (or becomes one).
struct DialogStart {
    QString dir;
    QString filter;
    QString selected;
};

DialogStart dialogStart(const QString& folder, const QString& filter, const QString& fileName) {
    DialogStart d{folder, toQtFileFilter(filter), QString()};
    if (fileName.contains(QLatin1Char('*')) || fileName.contains(QLatin1Char('?'))) {
        d.selected = qtFilterEntryFor(d.filter, fileName);
        if (d.selected.isEmpty()) {
            d.selected = fileName + QStringLiteral(" (") + fileName + QLatin1Char(')');
            d.filter =
                d.filter.isEmpty() ? d.selected : d.selected + QStringLiteral(";;") + d.filter;
        }
    } else if (!fileName.isEmpty()) {
        d.dir = QDir(folder).filePath(QFileInfo(fileName).fileName());
    }
    return d;
}

}  // namespace

QString QtDialogs::openFileNamed(const QString& caption, const QString& folder,
                                 const QString& filter, const QString& fileName) {
    DialogStart d = dialogStart(folder, filter, fileName);
    return QFileDialog::getOpenFileName(parent_.data(), caption, d.dir, d.filter,
                                        d.selected.isEmpty() ? nullptr : &d.selected);
}

QString QtDialogs::saveFileNamed(const QString& caption, const QString& folder,
                                 const QString& filter, const QString& fileName) {
    DialogStart d = dialogStart(folder, filter, fileName);
    // The program asks its own same-file question before it overwrites.
    return QFileDialog::getSaveFileName(parent_.data(), caption, d.dir, d.filter,
                                        d.selected.isEmpty() ? nullptr : &d.selected,
                                        QFileDialog::DontConfirmOverwrite);
}

bool QtDialogs::confirm(const QString& caption, const QString& text) {
    return QMessageBox::question(parent_.data(), caption, text) == QMessageBox::Yes;
}

int64_t SteadyClock::nowMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

QDateTime SteadyClock::localDateTime() const { return QDateTime::currentDateTime(); }

void SteadyClock::sleepMs(int ms) {
    if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

}  // namespace qor
