#include "instrument/Kx10.h"

#include "app/FieldText.h"

namespace qor {

static_assert(kPaddressReplySize + 1 >= 12, "pulse address replies hold eleven characters");

bool parsePaddressReply(char* reply, int32_t& pulses) {
    reply[0] = ' ';
    reply[11] = '\0';
    return parseLeadingInt(reply, pulses);
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
