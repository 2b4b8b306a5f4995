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
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()) * 2);
    // One character at a time, so that a character without a code-page-932 form becomes '?'
    // instead of the converter's substitution bytes.
    for (qsizetype i = 0; i < text.size(); ++i) {
        qsizetype len = (text[i].isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        QString one = text.mid(i, len);
        i += len - 1;
        // Input methods type the JIS wave dash; code page 932 keeps it as the fullwidth tilde.
        if (one.size() == 1 && one[0].unicode() == 0x301C) one = QString(QChar(0xFF5E));
        QStringEncoder single("Shift_JIS");
        const QByteArray bytes = single.encode(one);
        if (single.hasError() || bytes.isEmpty())
            out += '?';
        else
            out.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
    return out;
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
