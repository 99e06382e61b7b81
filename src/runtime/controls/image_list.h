#pragma once

// An image list: pictures by index (from 1) and by key, shown by other
// controls. It has no window of its own.

#include "runtime/controls/control.h"
#include "runtime/data/variant.h"

#include <QIcon>

#include <string>
#include <vector>

namespace rt {

class ImageList : public Control {
public:
    ImageList(Form &form, QWidget *container);

    void add(const QString &resource, const std::string &key = {});
    int Count() const { return int(images_.size()); }
    // By index (from 1) or key; an index out of range fails (35600), an unknown key too (35601).
    QIcon image(const Variant &indexOrKey) const;
    QPixmap pixmap(const Variant &indexOrKey, int size = 16) const;

    void setImageSize(int width, int height);
    QSize imageSize() const { return size_; }

private:
    struct Entry {
        QIcon icon;
        std::string key;
    };
    std::vector<Entry> images_;
    QSize size_{16, 16};
};

} // namespace rt
