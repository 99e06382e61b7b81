#pragma once

// Legacy Khmer text is 8-bit bytes in a font encoding; the program keeps those
// bytes unchanged. Only at the edges (display, SQLite, RTF) are they converted,
// always through the Windows-1252 table, so that every byte round-trips.

#include <QString>

#include <string>
#include <string_view>

namespace rt {

// The Unicode code point that stands for one byte. The five bytes that
// Windows-1252 leaves undefined map to the C1 controls of the same value.
char32_t unicodeOf(unsigned char byte);

// The byte that stands for a code point, or false when no byte does.
bool byteOf(char32_t codePoint, unsigned char &byte);

QString toQString(std::string_view bytes);
// Characters without a byte become '?'.
std::string fromQString(const QString &text);

std::string toUtf8(std::string_view bytes);
// Characters without a byte become '?'; malformed UTF-8 bytes are taken as they stand.
std::string fromUtf8(std::string_view utf8);

// Line breaks as Qt's text widgets take them: CR LF and a lone CR become LF.
std::string withoutCarriageReturns(std::string_view text);

} // namespace rt
