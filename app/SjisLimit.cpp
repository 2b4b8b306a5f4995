#include "app/SjisLimit.h"

#include "app/TextCodec.h"

#include <algorithm>

namespace qor {

int sjisSize(const QString& text) { return static_cast<int>(toSjis(text).size()); }

QValidator::State SjisByteLimit::validate(QString& text, int& cursor) const {
    int size = sjisSize(text);
    cursor = std::clamp(cursor, 0, static_cast<int>(text.size()));
    while (size > limit_) {
        // The character before the cursor, or the last one when the cursor is at the start.
        int at = cursor > 0 ? cursor : static_cast<int>(text.size());
        int len = 1;
        if (at >= 2 && text.at(at - 1).isLowSurrogate() && text.at(at - 2).isHighSurrogate())
            len = 2;
        size -= sjisSize(text.mid(at - len, len));
        text.remove(at - len, len);
        if (cursor >= at) cursor -= len;
    }
    return Acceptable;
}

}  // namespace qor
