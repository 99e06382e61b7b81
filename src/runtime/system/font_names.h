#pragma once

// The family names a TrueType or OpenType font file holds in its name table,
// read without loading the font: the header, the table directory and the
// name table only, so that a Windows Fonts folder of hundreds of files can be
// looked through at start.

#include <QStringList>

#include <filesystem>
#include <string_view>

namespace rt {

// The family names (name IDs 1 and 16) of a font file, of each font of a
// collection (.ttc), without repeats. Empty when the file cannot be read or
// is not a TrueType or OpenType font, or when its tables lie outside it.
QStringList fontFamilies(const std::filesystem::path &file);

// The same for a font file's bytes.
QStringList fontFamiliesOf(std::string_view bytes);

} // namespace rt
