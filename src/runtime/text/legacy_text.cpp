#include "runtime/text/legacy_text.h"

namespace rt {

QString toQString(std::string_view bytes)
{
    QString text(qsizetype(bytes.size()), Qt::Uninitialized);
    QChar *out = text.data();
    for (unsigned char b : bytes)
        *out++ = QChar(char16_t(unicodeOf(b)));
    return text;
}

std::string fromQString(const QString &text)
{
    std::string bytes;
    bytes.reserve(std::size_t(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t cp = text.at(i).unicode();
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            ++i;
        }
        unsigned char b;
        bytes += byteOf(cp, b) ? char(b) : '?';
    }
    return bytes;
}

std::string withoutCarriageReturns(std::string_view text)
{
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        plain += text[i] == '\r' ? '\n' : text[i];
    }
    return plain;
}

} // namespace rt
