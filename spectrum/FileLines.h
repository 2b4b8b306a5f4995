#pragma once
// Reading the text files line by line and number by number, as the spectrum and ROI readers do:
// no allocation, nothing read past the end of the text.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qor::filetext {

// The next line of [p, end) without its line end (CR, LF or CR LF: files from other programs and
// the program's own map files end lines with a bare CR), and p moved past it; false at the end
// of the text.
bool nextLine(const char*& p, const char* end, std::string_view& line);

// Past blanks, tabs and carriage returns.
const char* skipBlanks(const char* p, const char* end);

// A decimal integer as "%d" reads it (an optional sign, then digits), read whole: a number
// beyond the int32 range does not match. The position after it, or null when none matches.
const char* parseInt(const char* p, const char* end, int32_t& v);

// `count` integers separated by commas (blanks allowed around each), at the start of `line`;
// whatever follows the last number is not looked at. False when they are not there.
bool parseCommaInts(std::string_view line, int32_t* values, int count);

// True for a line of nothing but blanks.
bool isBlankLine(std::string_view line);

}  // namespace qor::filetext
