#pragma once

// Fonts beyond those installed for the user and the system: the fonts of a
// Windows installation's Fonts folder on drive C, and the program's own
// stand-ins for fonts that nothing installed supplies. Both are added to the
// program's fonts (not the system's), once per process and file.

#include <QStringList>

#include <filesystem>

namespace rt {

class Drive;

// Adds the TrueType and OpenType fonts of C:\WINDOWS\Fonts (found without
// regard to case) that hold one of `families` (compared without regard to
// case); only their name tables are read to tell. Other files, and files
// that are damaged, are skipped. Returns the families added.
QStringList loadWindowsFonts(const Drive &drive, const QStringList &families);

// Adds each font file of `folder` whose families are none of them
// available yet, installed or added, so that an installed font of the same
// family always wins. Returns the families added.
QStringList loadStandInFonts(const std::filesystem::path &folder);

} // namespace rt
