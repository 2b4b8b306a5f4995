#pragma once
// Code page 932 (Shift-JIS) text in the record's fixed char fields and in the program's files.

#include <QString>
#include <cstddef>
#include <string>

namespace qor {

// Unicode text to Shift-JIS bytes (no terminator). Characters without a code-page-932 form
// become '?'.
std::string toSjis(const QString& text);

// Shift-JIS bytes up to the first NUL or `max` bytes, whichever comes first, to Unicode.
QString fromSjis(const char* bytes, std::size_t max);

// Stores `text` into a char[n] field: converted to Shift-JIS, cut so that it fits with its NUL
// (never in the middle of a double-byte character), NUL-terminated, the rest of the field zeroed.
// Returns false when the text had to be cut.
bool storeSjis(char* field, std::size_t n, const QString& text);

template <std::size_t N>
bool storeSjis(char (&field)[N], const QString& text) { return storeSjis(field, N, text); }

template <std::size_t N>
QString fromSjis(const char (&field)[N]) { return fromSjis(field, N); }

}  // namespace qor
