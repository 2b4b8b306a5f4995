#include "support/Fakes.h"

#include <QDialog>
#include <gtest/gtest.h>

namespace qor::test {

FakeDialogs::Answer FakeDialogs::take(const QString& kind, const QString& what) {
    asked << what;
    if (script.empty()) {
        ADD_FAILURE() << "unexpected dialog: " << kind.toStdString() << " " << what.toStdString();
        return Answer{kind, QString(), 0, nullptr};
    }
    Answer a = std::move(script.front());
    script.pop_front();
    if (a.kind != kind)
        ADD_FAILURE() << "expected a " << a.kind.toStdString() << " dialog, got "
                      << kind.toStdString() << " " << what.toStdString();
    return a;
}

int FakeDialogs::exec(QDialog& dialog) {
    Answer a = take(QStringLiteral("exec"), dialog.objectName());
    if (a.beforeClose) a.beforeClose(dialog);
    return a.result;
}

QString FakeDialogs::openFile(const QString& caption, const QString& folder, const QString&) {
    folders << folder;
    return take(QStringLiteral("open"), caption).text;
}

QString FakeDialogs::saveFile(const QString& caption, const QString& folder, const QString&) {
    folders << folder;
    return take(QStringLiteral("save"), caption).text;
}

QString FakeDialogs::chooseFolder(const QString& caption, const QString& folder) {
    folders << folder;
    return take(QStringLiteral("folder"), caption).text;
}

bool FakeDialogs::confirm(const QString& caption, const QString&) {
    return take(QStringLiteral("confirm"), caption).result != 0;
}

}  // namespace qor::test
