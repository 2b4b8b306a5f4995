#include "app/TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <cstring>

namespace qor {

namespace {
bool isSjisLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
}  // namespace

std::string toSjis(const QString& text) {
    QStringEncoder enc("Shift_JIS");
    if (!enc.isValid()) return text.toLatin1().toStdString();
    const QByteArray bytes = enc.encode(text);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString fromSjis(const char* bytes, std::size_t max) {
    std::size_t len = 0;
    while (len < max && bytes[len] != '\0') ++len;
    QStringDecoder dec("Shift_JIS");
    if (!dec.isValid()) return QString::fromLatin1(bytes, static_cast<qsizetype>(len));
    return dec.decode(QByteArrayView(bytes, static_cast<qsizetype>(len)));
}

bool storeSjis(char* field, std::size_t n, const QString& text) {
    if (n == 0) return false;
    const std::string sj = toSjis(text);
    // Walk whole characters so that a double-byte character is never split.
    std::size_t keep = 0;
    while (keep < sj.size()) {
        const std::size_t step =
            (isSjisLeadByte(static_cast<unsigned char>(sj[keep])) && keep + 1 < sj.size()) ? 2 : 1;
        if (keep + step > n - 1) break;
        keep += step;
    }
    std::memset(field, 0, n);
    std::memcpy(field, sj.data(), keep);
    return keep == sj.size();
}

}  // namespace qor
