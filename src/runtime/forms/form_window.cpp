#include "runtime/forms/form_window.h"

#include "runtime/forms/form.h"
#include "runtime/forms/mdi_parent.h"

#include <QEvent>
#include <QKeyEvent>

namespace rt {

bool FormWindowEvents::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == form_.outer_) {
        if (event->type() == QEvent::Close) {
            event->ignore();
            form_.userClose();
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            bool handled = false;
            form_.keyPressed(static_cast<QKeyEvent *>(event)->key(), handled);
            return handled;
        }
        constexpr Qt::WindowStates notNormal = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
        const auto type = event->type();
        if ((type == QEvent::Move || type == QEvent::Resize) &&
            form_.centreByFrame_ && form_.outer_->isVisible() && !(form_.outer_->windowState() & notNormal) &&
            form_.outer_->frameGeometry() != form_.outer_->geometry())
            form_.centreOnScreen();
    }
    if (watched == form_.client_ && event->type() == QEvent::Resize) {
        form_.layoutAligned();
        form_.raiseResize();
    }
    return false;
}

void FormSubWindow::changeEvent(QEvent *event)
{
    auto *change = event->type() == QEvent::WindowStateChange ? static_cast<QWindowStateChangeEvent *>(event)
                                                               : nullptr;
    // Activation is told apart by its own event; only minimizing,
    // maximizing and restoring count here.
    constexpr Qt::WindowStates sizing = Qt::WindowMinimized | Qt::WindowMaximized;
    if (!form_ || !change || change->isOverride() || !((change->oldState() ^ windowState()) & sizing)) {
        QMdiSubWindow::changeEvent(event);
        return;
    }
    const bool wasMinimized = change->oldState() & Qt::WindowMinimized;
    {
        MdiParent::FocusPause pause(form_->program().mdiParent());
        QMdiSubWindow::changeEvent(event);
    }
    if (form_)
        form_->childStateChanged(wasMinimized);
}

} // namespace rt
