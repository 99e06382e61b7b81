#pragma once

// A row of large captioned picture buttons with keys and tooltips. One click
// event passes the button's number (from 1) and its key. Each picture is
// shown at its own size; the tooltips show in the toolbar's tooltip font.

#include "runtime/controls/control.h"

#include <string>
#include <vector>

class QToolButton;

namespace rt {

class CaptionToolbar : public Control {
public:
    CaptionToolbar(Form &form, QWidget *container);

    void setCaptionFont(const FontSpec &font);
    void setTooltipFont(const FontSpec &font);
    QFont tooltipFont() const { return tooltipFont_; }
    void addButton(const std::string &key, const std::string &caption, const std::string &tooltip,
                   const QString &picture);

    int ButtonCount() const { return int(buttons_.size()); }
    QToolButton *button(int number) const; // from 1

    Event<int, std::string> ButtonClick;

private:
    std::vector<QToolButton *> buttons_;
    std::vector<std::string> keys_;
    QFont captionFont_;
    QFont tooltipFont_;
    QObject *tips_ = nullptr;
};

} // namespace rt
