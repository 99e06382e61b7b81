#pragma once

// Legacy Khmer text is 8-bit bytes in a font encoding; the program keeps those
// bytes unchanged. Only at the edges (display, SQLite, RTF) are they converted,
// always through the Windows-1252 table, so that every byte round-trips.

#include "runtime/text/legacy_bytes.h"

#include <QString>

#include <string>
#include <string_view>

namespace rt {

QString toQString(std::string_view bytes);
// Characters without a byte become '?'.
std::string fromQString(const QString &text);

// Line breaks as Qt's text widgets take them: CR LF and a lone CR become LF.
std::string withoutCarriageReturns(std::string_view text);

} // namespace rt
