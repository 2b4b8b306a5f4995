#pragma once
// The program's own settings file "QOR10Settings.ini", beside the information file. The
// information file keeps its fixed layout and only the values the earlier program knows; every
// setting of a later feature (the peak search chosen, map pictures written at the end of a pass,
// ...) lives here instead, one "key=value" line each in UTF-8, read at start-up and written at
// close through the program's one safe-write rule.
//
// Unknown keys are kept as they were read, so an older program never drops a newer one's
// settings. A missing file means every setting at its default; a line without "=" is skipped.

#include "app/SafeWrite.h"

#include <QMap>
#include <QString>

namespace qor {

extern const char* const kSettingsFileName;  // "QOR10Settings.ini"

class ProgramSettings {
public:
    // The settings file beside the information file at `infoFilePath`.
    static QString pathBeside(const QString& infoFilePath);

    // Reads `path`; a missing file leaves every setting at its default and is no error. False,
    // with the reason in `error`, when the file exists but cannot be read (the settings then
    // stay at their defaults and the file is not overwritten at close).
    bool load(const QString& path, QString* error = nullptr);
    WriteOutcome save(const QString& path) const;

    QString value(const QString& key, const QString& fallback = QString()) const;
    int intValue(const QString& key, int fallback) const;
    bool boolValue(const QString& key, bool fallback) const;
    void setValue(const QString& key, const QString& value);
    void setValue(const QString& key, int value);
    void setValue(const QString& key, bool value);

    bool isEmpty() const { return values_.isEmpty(); }

    // The file's text as it would be written: one line per key, sorted by key.
    QByteArray serialise() const;
    // Reads `text` into the settings (keys already set are replaced).
    void parse(const QByteArray& text);

private:
    QMap<QString, QString> values_;
};

}  // namespace qor
