#pragma once
// Where a sound cue is played from: a wave file of that name in the start folder (the letter
// case of the name need not match, as with the wave files brought from the instrument's old
// computer), else the program's own cue of that name, else nowhere.

#include <QString>
#include <QUrl>

namespace qor {

// The folder of the program's own cues, compiled into the program.
extern const char* const kBundledCueFolder;   // ":/cues"

// The file to play for `fileName`, or an empty URL when there is none.
QUrl cueSource(const QString& startDir, const QString& fileName);

}  // namespace qor
