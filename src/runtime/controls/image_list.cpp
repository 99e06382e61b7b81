#include "runtime/controls/image_list.h"

#include "runtime/errors/runtime_error.h"
#include "runtime/system/load_picture.h"

namespace rt {

ImageList::ImageList(Form &form, QWidget *container) : Control(form, container, nullptr) {}

void ImageList::add(const QString &resource, const std::string &key)
{
    images_.push_back({resourceIcon(resource), key});
}

QIcon ImageList::image(const Variant &indexOrKey) const
{
    if (indexOrKey.isString()) {
        for (const auto &entry : images_)
            if (!entry.key.empty() && entry.key == indexOrKey.toString())
                return entry.icon;
        raise(err::ElementNotFound);
    }
    const auto index = indexOrKey.toInteger();
    if (index < 1 || index > std::int64_t(images_.size()))
        raise(35600, "Index out of bounds");
    return images_[std::size_t(index - 1)].icon;
}

QPixmap ImageList::pixmap(const Variant &indexOrKey, int size) const
{
    return image(indexOrKey).pixmap(size, size);
}

void ImageList::setImageSize(int width, int height)
{
    size_ = QSize(width, height);
}

} // namespace rt
