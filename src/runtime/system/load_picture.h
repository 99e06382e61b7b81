#pragma once

// The platform's picture loader: a picture from a file in any format that Qt
// reads. Windows paths go through the drive mapping; a relative path is taken
// against the program's folder.

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

#include <string>

namespace rt {

class Program;

// Fails with "File not found" (53) for a missing file and "Invalid picture"
// (481) for a file that holds no picture Qt can read. A picture that will be
// shown stretched to `shownSize` pixels is read at that size, so that a large
// photo takes no more memory than the box it fills.
QPixmap LoadPicture(const Program &program, const std::string &path, const QSize &shownSize = {});

// One of the program's own pictures as an icon, read once per process.
const QIcon &resourceIcon(const QString &resource);

// One of the program's own pictures drawn at `size` pixels: a drawing (SVG)
// is rendered at that size rather than drawn large and shrunk.
QPixmap renderedPicture(const QString &resource, const QSize &size);

} // namespace rt
