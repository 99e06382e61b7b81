// Where a form's window first appears: its design size, and centred on the
// screen by its whole frame.

#include "runtime/forms/form.h"

#include <QApplication>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>

namespace rt {

void Form::placeNewWindow()
{
    const QSize client(toPixels(clientWidth_), toPixels(clientHeight_));
    if (kind_ == FormKind::MdiChild) {
        auto *sub = subWindow();
        const int frame = sub->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, sub);
        const int title = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
        sub->resize(client.width() + 2 * frame, client.height() + title + frame);
        if (fixedBorder_) {
            // The user cannot resize it; the program and the tiling can.
            sub->setWindowFlags(Qt::SubWindow | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                                Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        }
        return;
    }
    if (kind_ == FormKind::TopLevel && fixedBorder_) {
        outer_->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        outer_->setFixedSize(client);
    } else if (kind_ == FormKind::MdiParent) {
        // The client area lies below the menu bar.
        const int menu = static_cast<QMainWindow *>(outer_.data())->menuBar()->sizeHint().height();
        outer_->resize(client.width(), client.height() + menu);
    } else {
        outer_->resize(client);
    }
    if (centred_ || kind_ == FormKind::MdiParent)
        centreOnScreen();
}

namespace {

// The frame the platform puts around a top-level window: that of `window`
// once it has one, else that of another window already on the screen.
QMargins frameMargins(const QWidget *window)
{
    auto marginsOf = [](const QWidget *w) {
        const QRect frame = w->frameGeometry();
        const QRect inner = w->geometry();
        return QMargins(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                        frame.bottom() - inner.bottom());
    };
    if (window->isVisible())
        return marginsOf(window);
    for (const QWidget *other : QApplication::topLevelWidgets())
        if (other != window && other->isVisible() && other->frameGeometry() != other->geometry())
            return marginsOf(other);
    return {};
}

} // namespace

// Centred by the whole frame, title bar included. Until the platform has put
// its frame around the window, the frame of the other windows stands in for
// it, and the window is centred again once its own frame is known and it
// stands in its normal state (a window shown maximized: when it is restored).
void Form::centreOnScreen()
{
    QScreen *screen = outer_->screen() ? outer_->screen() : QApplication::primaryScreen();
    if (!screen)
        return;
    const QRect frame = outer_->geometry().marginsAdded(frameMargins(outer_));
    QRect centred = frame;
    centred.moveCenter(screen->availableGeometry().center());
    outer_->move(centred.topLeft());
    centreByFrame_ = !outer_->isVisible() || outer_->frameGeometry() == outer_->geometry() ||
                     (outer_->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

} // namespace rt
