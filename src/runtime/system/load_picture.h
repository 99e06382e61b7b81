#pragma once

// The platform's picture loader: a picture from a file in any format that Qt
// reads. Windows paths go through the drive mapping; a relative path is taken
// against the program's folder.

#include <QPixmap>

#include <string>

namespace rt {

class Program;

// Fails with "File not found" (53) for a missing file and "Invalid picture"
// (481) for a file that holds no picture Qt can read.
QPixmap LoadPicture(const Program &program, const std::string &path);

} // namespace rt
