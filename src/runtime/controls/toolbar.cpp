#include "runtime/controls/toolbar.h"

#include "runtime/controls/image_list.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/text/legacy_text.h"

#include <QButtonGroup>
#include <QToolBar>
#include <QToolButton>

namespace rt {

void ToolbarButton::setValue(int value)
{
    value_ = value ? 1 : 0;
    if (!button_)
        return;
    QButtonGroup *group = button_->group();
    if (group && value_ == 0 && button_->isChecked()) {
        // An exclusive group refuses to release its pressed button by itself.
        group->setExclusive(false);
        button_->setChecked(false);
        group->setExclusive(true);
        return;
    }
    button_->setChecked(value_ == 1);
}

int ToolbarButton::Value() const
{
    // The buttons of a group release each other, so their widgets hold their state.
    if (button_ && button_->group())
        return button_->isChecked() ? 1 : 0;
    return value_;
}

void ToolbarButton::click()
{
    if (button_)
        button_->click();
}

Toolbar::Toolbar(Form &form, QWidget *container)
    : Control(form, container, new QToolBar(container)), ButtonClick(form.program()),
      bar_(static_cast<QToolBar *>(widget()))
{
    bar_->setMovable(false);
    bar_->setFloatable(false);
    bar_->setIconSize(QSize(16, 16));
    setAlign(Align::Top);
    setHeight(420);
}

Toolbar::~Toolbar() = default;

void Toolbar::setButtonSize(int widthPixels, int heightPixels)
{
    buttonSize_ = QSize(widthPixels, heightPixels);
    for (auto &button : buttons_)
        if (button->button_)
            button->button_->setFixedSize(buttonSize_);
}

ToolbarButton &Toolbar::addButton(const std::string &key, const std::string &tooltip, ButtonStyle style,
                                  const Variant &image)
{
    auto button = std::make_unique<ToolbarButton>();
    button->key_ = key;
    button->tooltip_ = tooltip;
    button->style_ = style;
    button->index_ = int(buttons_.size()) + 1;
    if (style == ButtonStyle::Separator) {
        bar_->addSeparator();
    } else {
        auto *tool = new QToolButton(bar_);
        tool->setToolTip(toQString(tooltip));
        tool->setAccessibleName(toQString(key));
        tool->setFixedSize(buttonSize_);
        tool->setCheckable(true);
        tool->setAutoRaise(true);
        // A toolbar is no tab stop, and a click on it leaves the focus where it is.
        tool->setFocusPolicy(Qt::NoFocus);
        if (images_ && !image.isEmpty())
            tool->setIcon(images_->image(image));
        if (style == ButtonStyle::Group) {
            if (!group_) {
                group_ = new QButtonGroup(bar_);
                group_->setExclusive(true);
            }
            group_->addButton(tool);
        }
        bar_->addWidget(tool);
        button->button_ = tool;
        ToolbarButton *raw = button.get();
        QObject::connect(tool, &QToolButton::clicked, tool, [this, raw] { clicked(*raw); });
    }
    buttons_.push_back(std::move(button));
    return *buttons_.back();
}

void Toolbar::addSeparator()
{
    addButton({}, {}, ButtonStyle::Separator);
}

void Toolbar::clicked(ToolbarButton &button)
{
    if (button.style_ == ButtonStyle::Group) {
        button.value_ = 1;
        for (auto &other : buttons_)
            if (other.get() != &button && other->style_ == ButtonStyle::Group)
                other->value_ = 0;
    } else if (button.style_ == ButtonStyle::Check) {
        button.value_ = button.button_->isChecked() ? 1 : 0;
    } else {
        // A push button is held down only by its Value.
        button.button_->setChecked(button.value_ == 1);
    }
    ButtonClick.raise(button);
}

ToolbarButton &Toolbar::Buttons(int index)
{
    if (index < 1 || index > int(buttons_.size()))
        raise(35600, "Index out of bounds");
    return *buttons_[std::size_t(index - 1)];
}

ToolbarButton &Toolbar::Buttons(const std::string &key)
{
    for (auto &button : buttons_)
        if (button->key_ == key && !key.empty())
            return *button;
    raise(err::ElementNotFound);
}

} // namespace rt
