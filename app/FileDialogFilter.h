#pragma once
// File dialog filters as the window design writes them ("description|mask;mask|description|
// mask"), turned into the "description (mask mask);;..." form of the Qt file dialogs.

#include <QString>

namespace qor {

// The Qt form of `filter`. A text without "|" is taken as already in the Qt form. Masks with
// brackets (which name no real files) are dropped; a description left without a mask is its
// own mask when it is a pattern ("*.*"), else dropped.
QString toQtFileFilter(const QString& filter);

// The entry of a Qt filter text whose masks include `pattern` ("*.DAT"), or an empty text.
QString qtFilterEntryFor(const QString& qtFilter, const QString& pattern);

}  // namespace qor
