#pragma once

// A toolbar of picture buttons with keys and tooltips, raising one click
// event with the clicked button. Push buttons look pressed only while their
// Value is 1, which only the program sets; the buttons of a group keep
// exactly one pressed, the last one clicked.

#include "runtime/controls/control.h"
#include "runtime/data/variant.h"

#include <memory>
#include <string>
#include <vector>

class QToolBar;
class QToolButton;
class QButtonGroup;

namespace rt {

class ImageList;

enum class ButtonStyle { Push, Check, Group, Separator };

class ToolbarButton {
public:
    const std::string &Key() const { return key_; }
    const std::string &ToolTipText() const { return tooltip_; }
    ButtonStyle Style() const { return style_; }
    int Index() const { return index_; }
    // Pressed state: 0 unpressed, 1 pressed.
    int Value() const;
    void setValue(int value);
    QToolButton *widget() const { return button_; }
    // A click, as the user makes it.
    void click();

private:
    friend class Toolbar;
    std::string key_;
    std::string tooltip_;
    ButtonStyle style_ = ButtonStyle::Push;
    int index_ = 0;
    int value_ = 0;
    QToolButton *button_ = nullptr;
};

class Toolbar : public Control {
public:
    Toolbar(Form &form, QWidget *container);
    ~Toolbar() override;

    void setImageList(ImageList *images) { images_ = images; }
    // Adds a button; `image` is an index or key in the image list (Empty: none).
    ToolbarButton &addButton(const std::string &key, const std::string &tooltip, ButtonStyle style,
                             const Variant &image = {});
    void addSeparator();
    void setButtonSize(int widthPixels, int heightPixels);

    int ButtonCount() const { return int(buttons_.size()); }
    ToolbarButton &Buttons(int index);            // from 1, separators included
    ToolbarButton &Buttons(const std::string &key);

    Event<ToolbarButton &> ButtonClick;

private:
    void clicked(ToolbarButton &button);
    QToolBar *bar_;
    ImageList *images_ = nullptr;
    QButtonGroup *group_ = nullptr;
    std::vector<std::unique_ptr<ToolbarButton>> buttons_;
    QSize buttonSize_{23, 22};
};

} // namespace rt
