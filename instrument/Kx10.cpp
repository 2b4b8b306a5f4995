#include "instrument/Kx10.h"

#include "app/FieldText.h"

namespace qor {

static_assert(kPaddressReplySize + 1 >= 12, "pulse address replies hold eleven characters");

bool parsePaddressReply(char* reply, int32_t& pulses) {
    reply[0] = ' ';
    reply[11] = '\0';
    return parseLeadingInt(reply, pulses);
}

bool parsePositionReply(const char* reply, int32_t& pulses) {
    int i = 1;
    while (i <= 10 && reply[i] == ' ') ++i;
    bool negative = false;
    if (i <= 10 && (reply[i] == '+' || reply[i] == '-')) negative = reply[i++] == '-';
    int64_t value = 0;
    int digits = 0;
    for (; i <= 10 && reply[i] >= '0' && reply[i] <= '9'; ++i, ++digits)
        value = value * 10 + (reply[i] - '0');
    while (i <= 10 && reply[i] == ' ') ++i;
    // Nine digits at most fit the ten characters with a sign: no overflow is possible.
    if (digits == 0 || i != 11) return false;
    pulses = static_cast<int32_t>(negative ? -value : value);
    return true;
}

char moduleChar(int hexSwIndex) {
    static const char kDigits[] = "0123456789ABCDEFG";
    if (hexSwIndex < 0) hexSwIndex = 0;
    if (hexSwIndex > 16) hexSwIndex = 16;
    return kDigits[hexSwIndex];
}

char axisChar(int motorNumber) {
    const int n = motorNumber < 1 ? 1 : motorNumber;
    return static_cast<char>('0' + ((n - 1) % 4));
}

}  // namespace qor
