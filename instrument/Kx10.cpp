#include "instrument/Kx10.h"

namespace qor {

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
