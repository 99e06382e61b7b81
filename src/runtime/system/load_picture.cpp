#include "runtime/system/load_picture.h"

#include "runtime/errors/runtime_error.h"
#include "runtime/forms/program.h"

#include <QHash>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>

#include <filesystem>

namespace rt {

QPixmap LoadPicture(const Program &program, const std::string &path, const QSize &shownSize)
{
    const std::filesystem::path host = program.drive().hostPath(path, program.Path());
    std::error_code ec;
    if (!std::filesystem::is_regular_file(host, ec))
        raise(err::FileNotFound);
    QImageReader reader(QString::fromStdString(host.string()));
    reader.setDecideFormatFromContent(true);
    if (!shownSize.isEmpty())
        reader.setScaledSize(shownSize);
    QImage image = reader.read();
    if (image.isNull())
        raise(481, "Invalid picture");
    return QPixmap::fromImage(image);
}

const QIcon &resourceIcon(const QString &resource)
{
    static QHash<QString, QIcon> icons;
    auto found = icons.find(resource);
    if (found == icons.end())
        found = icons.insert(resource, QIcon(resource));
    return *found;
}

QPixmap renderedPicture(const QString &resource, const QSize &size)
{
    if (!resource.endsWith(".svg", Qt::CaseInsensitive))
        return QPixmap(resource).scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QSvgRenderer renderer(resource);
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    renderer.render(&painter);
    return picture;
}

} // namespace rt
