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

QString FakeDialogs::openFile(const QString& caption, const QString& folder,
                              const QString& filter) {
    folders << folder;
    filters << filter;
    return take(QStringLiteral("open"), caption).text;
}

QString FakeDialogs::saveFile(const QString& caption, const QString& folder,
                              const QString& filter) {
    folders << folder;
    filters << filter;
    return take(QStringLiteral("save"), caption).text;
}

QString FakeDialogs::openFileNamed(const QString& caption, const QString& folder,
                                   const QString& filter, const QString& fileName) {
    fileNames << fileName;
    return openFile(caption, folder, filter);
}

QString FakeDialogs::saveFileNamed(const QString& caption, const QString& folder,
                                   const QString& filter, const QString& fileName) {
    fileNames << fileName;
    return saveFile(caption, folder, filter);
}

QString FakeDialogs::chooseFolder(const QString& caption, const QString& folder) {
    folders << folder;
    return take(QStringLiteral("folder"), caption).text;
}

bool FakeDialogs::confirm(const QString& caption, const QString&) {
    return take(QStringLiteral("confirm"), caption).result != 0;
}

namespace {

class RecordingCanvas : public PrintCanvas {
public:
    RecordingCanvas(FakePrinting::Job& job, QRect page) : job_(job), page_(page) {}
    QRect pageRect() const override { return page_; }
    void setFontName(const QString& family) override { font_ = family; }
    void textOut(int x, int y, const QString& text) override {
        job_.texts.push_back({job_.pages, x, y, font_, text});
    }
    void drawImage(const QRect& target, const QImage& image) override {
        job_.pictures.push_back({job_.pages, target, image});
    }
    void newPage() override { ++job_.pages; }

private:
    FakePrinting::Job& job_;
    QRect page_;
    QString font_;
};

}  // namespace

std::unique_ptr<PrintCanvas> FakePrinting::beginJob(const QString& title) {
    if (!canStart) return nullptr;
    jobs.push_back(Job{title, 1, {}, {}});
    return std::make_unique<RecordingCanvas>(jobs.back(), page);
}

}  // namespace qor::test
