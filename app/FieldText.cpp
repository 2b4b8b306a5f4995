#include "app/FieldText.h"

#include <QByteArray>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>

namespace qor {

namespace {
// Leading blanks as scanf skips them.
int skipBlanks(const QByteArray& s) {
    int i = 0;
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    return i;
}
}  // namespace

bool parseLeadingInt(const char* text, int32_t& value) {
    const char* p = text;
    while (*p && std::isspace(static_cast<unsigned char>(*p))) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    if (!std::isdigit(static_cast<unsigned char>(*p))) return false;
    int64_t v = 0;
    const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min())
                                   : std::numeric_limits<int32_t>::max();
    for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
        v = v * 10 + (*p - '0');
        if (v > limit) v = limit;
    }
    value = static_cast<int32_t>(negative ? -v : v);
    return true;
}

bool parseLeadingInt(const QString& text, int32_t& value) {
    return parseLeadingInt(text.toLatin1().constData(), value);
}

bool parseLeadingDouble(const QString& text, double& value) {
    const QByteArray s = text.toLatin1();
    int i = skipBlanks(s);
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    // from_chars accepts neither a sign nor "0x"; scanf's hexadecimal reals are not typed by
    // operators, so a leading "0x" reads as 0 like the digits before the 'x'.
    double v = 0.0;
    const char* first = s.constData() + i;
    const char* last = s.constData() + s.size();
    if (first < last && *first == '-') return false;  // a second sign is not a number
    const auto res = std::from_chars(first, last, v, std::chars_format::general);
    if (res.ec == std::errc::invalid_argument) return false;
    if (res.ec == std::errc::result_out_of_range) {
        // Too large: no real number a field can hold; too small: 0.
        bool big = false;
        for (const char* p = first; p < res.ptr; ++p)
            if (*p == 'e' || *p == 'E') { big = p + 1 < res.ptr && p[1] != '-'; break; }
        if (big || res.ptr == first) return false;
        v = 0.0;
    }
    // "nan", "inf" and "infinity" read as numbers, but no position, step or range can be one:
    // such a text leaves the field as it was.
    if (!std::isfinite(v)) return false;
    value = negative ? -v : v;
    return true;
}

QString formatC(const char* fmt, ...) {
    char buf[512];
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    return QString::fromLatin1(buf);
}

QString formatGeneral(double v) { return formatC("%.15g", v); }
QString formatPosition(double v) { return formatC("%10.4lf\r", v); }
QString formatScanSize(double v) { return formatC("%10.2lf\r", v); }

}  // namespace qor
