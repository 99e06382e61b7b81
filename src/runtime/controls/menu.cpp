#include "runtime/controls/menu.h"

#include "runtime/text/legacy_text.h"

#include <QAction>
#include <QMenu>

namespace rt {

MenuItem::MenuItem(Form &form, QWidget *container, QMenu *menu, const std::string &caption,
                   const QKeySequence &shortcut)
    : Control(form, container, nullptr), Click(form.program())
{
    if (caption == "-") {
        // Every separator is drawn, the last entry of a menu too.
        menu->setSeparatorsCollapsible(false);
        action_ = menu->addSeparator();
        return;
    }
    action_ = menu->addAction(toQString(caption));
    if (!shortcut.isEmpty()) {
        action_->setShortcut(shortcut);
        action_->setShortcutContext(Qt::WindowShortcut);
    }
    QObject::connect(action_, &QAction::triggered, action_, [this] { Click.raise(); });
}

QMenu *MenuItem::submenu()
{
    if (!submenu_) {
        submenu_ = new QMenu(action_->text(), container());
        action_->setMenu(submenu_);
    }
    return submenu_;
}

} // namespace rt
