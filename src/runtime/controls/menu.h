#pragma once

// A menu entry: a caption, an optional Ctrl shortcut that works from every
// child window, and a click event. A caption "-" is a separator line.

#include "runtime/controls/control.h"

#include <string>

class QAction;
class QMenu;

namespace rt {

class MenuItem : public Control {
public:
    MenuItem(Form &form, QWidget *container, QMenu *menu, const std::string &caption,
             const QKeySequence &shortcut = {});

    QAction *action() const { return action_; }
    // The submenu of this entry, made on first use.
    QMenu *submenu();
    Event<> Click;

private:
    QAction *action_;
    QMenu *submenu_ = nullptr;
};

} // namespace rt
