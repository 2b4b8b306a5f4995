#include "spectrum/FileLines.h"

#include <cstring>

namespace qor::filetext {

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }
}  // namespace

bool nextLine(const char*& p, const char* end, std::string_view& line) {
    if (p >= end) return false;
    const char* e = p;
    while (e < end && *e != '\n' && *e != '\r') ++e;
    line = std::string_view(p, static_cast<std::size_t>(e - p));
    if (e < end && *e == '\r') ++e;   // CR, CR LF or LF ends a line
    if (e < end && *e == '\n') ++e;
    p = e;
    return true;
}

const char* skipBlanks(const char* p, const char* end) {
    while (p < end && isBlank(*p)) ++p;
    return p;
}

const char* parseInt(const char* p, const char* end, int32_t& v) {
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    if (p >= end || *p < '0' || *p > '9') return nullptr;
    int64_t acc = 0;
    while (p < end && *p >= '0' && *p <= '9') {
        acc = acc * 10 + (*p - '0');
        if (acc > 2147483648LL) return nullptr;
        ++p;
    }
    if (negative) acc = -acc;
    if (acc > INT32_MAX) return nullptr;
    v = static_cast<int32_t>(acc);
    return p;
}

bool parseCommaInts(std::string_view line, int32_t* values, int count) {
    const char* p = line.data();
    const char* const end = p + line.size();
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            p = skipBlanks(p, end);
            if (p >= end || *p != ',') return false;
            ++p;
        }
        p = parseInt(skipBlanks(p, end), end, values[i]);
        if (!p) return false;
    }
    return true;
}

bool isBlankLine(std::string_view line) {
    return skipBlanks(line.data(), line.data() + line.size()) == line.data() + line.size();
}

}  // namespace qor::filetext
