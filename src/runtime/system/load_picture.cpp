#include "runtime/system/load_picture.h"

#include "runtime/errors/runtime_error.h"
#include "runtime/forms/program.h"

#include <QImageReader>

#include <filesystem>

namespace rt {

QPixmap LoadPicture(const Program &program, const std::string &path)
{
    const std::filesystem::path host = program.drive().hostPath(path, program.Path());
    std::error_code ec;
    if (!std::filesystem::is_regular_file(host, ec))
        raise(err::FileNotFound);
    QImageReader reader(QString::fromStdString(host.string()));
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (image.isNull())
        raise(481, "Invalid picture");
    return QPixmap::fromImage(image);
}

} // namespace rt
