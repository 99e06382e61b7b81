#pragma once

// The Windows-1252 table that legacy bytes cross the edges by, and UTF-8
// through it: the part of legacy_text.h that needs nothing of Qt, for the
// helper programs.

#include <string>
#include <string_view>

namespace rt {

// The Unicode code point that stands for one byte. The five bytes that
// Windows-1252 leaves undefined map to the C1 controls of the same value.
char32_t unicodeOf(unsigned char byte);

// The byte that stands for a code point, or false when no byte does.
bool byteOf(char32_t codePoint, unsigned char &byte);

std::string toUtf8(std::string_view bytes);
// Characters without a byte become '?'; malformed UTF-8 bytes are taken as they stand.
std::string fromUtf8(std::string_view utf8);

} // namespace rt
