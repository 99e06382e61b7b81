// The keyboard focus of a form's window: the control that has it comes back
// whenever the window is shown, activated, restored or tiled; Enter goes to
// the focused button or, with the focus elsewhere, to the default button.

#include "runtime/forms/form.h"

#include "runtime/controls/basic_controls.h"
#include "runtime/forms/mdi_parent.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

namespace rt {

void Form::restoreFocus()
{
    if (!loaded_ || !client_)
        return;
    auto usable = [this](QWidget *w) {
        return w && client_->isAncestorOf(w) && w->isVisible() && w->isEnabled() && w->focusPolicy() != Qt::NoFocus;
    };
    QWidget *target = lastFocus_;
    if (!usable(target))
        target = initialFocus_ ? initialFocus_->widget() : nullptr;
    if (target && target->focusProxy())
        target = target->focusProxy();
    if (usable(target) && QApplication::focusWidget() != target)
        target->setFocus(Qt::OtherFocusReason);
}

void Form::focusMoved(QWidget *now)
{
    if (!now || !client_ || !client_->isAncestorOf(now))
        return;
    if (kind_ == FormKind::MdiChild && program_.mdiParent().focusPaused())
        return;
    lastFocus_ = now;
    // The focused button takes Enter; with the focus elsewhere the default button does.
    if (defaultButton_ && !qobject_cast<QPushButton *>(now))
        defaultButton_->setDefault(true);
}

void Form::childStateChanged(bool wasMinimized)
{
    auto *sub = subWindow();
    if (!sub)
        return;
    const bool minimized = sub->isMinimized();
    if (!minimized && sub->mdiArea() && sub->mdiArea()->activeSubWindow() == sub)
        restoreFocus();
    // Minimizing hides the client area and restoring shows it again: the
    // window's size has changed either way.
    if (minimized != wasMinimized)
        raiseResize();
}

void Form::setDefaultButton(CommandButton *button)
{
    defaultButton_ = button;
    if (button)
        button->setDefault(true);
}

void Form::keyPressed(int key, bool &handled)
{
    CommandButton *button = nullptr;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        button = defaultButton_;
    else if (key == Qt::Key_Escape)
        button = cancelButton_;
    if (button) {
        handled = true;
        button->Click.raise();
    }
}

} // namespace rt
