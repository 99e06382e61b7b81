#include "runtime/forms/mdi_parent.h"

#include "runtime/forms/program.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

namespace rt {

Form *formOf(const QWidget *subWindow)
{
    if (!subWindow)
        return nullptr;
    return static_cast<Form *>(subWindow->property("rt.form").value<void *>());
}

MdiParent::MdiParent(Program &program) : Form(program, FormKind::MdiParent) {}

void MdiParent::windowCreated()
{
    mdiArea_ = new QMdiArea(client());
    // A child window keeps the state it has when another one is activated: a
    // letter of fixed size opened over a maximized browser stays as it is.
    mdiArea_->setOption(QMdiArea::DontMaximizeSubWindowOnActivation, true);
    QObject::connect(mdiArea_, &QMdiArea::subWindowActivated, mdiArea_, [](QMdiSubWindow *sub) {
        Form *form = formOf(sub);
        if (!form)
            return;
        // Activated by its title bar or by the program, a window gives the
        // focus back to its own control; a click on a control keeps it there.
        if (!sub->isMinimized() && !sub->isAncestorOf(QApplication::focusWidget()))
            form->restoreFocus();
        form->raiseActivate();
    });
}

void MdiParent::layoutAligned()
{
    Form::layoutAligned();
    if (mdiArea_) {
        const int top = toPixels(alignedTop_);
        const int bottom = toPixels(alignedBottom_);
        mdiArea_->setGeometry(0, top, client()->width(), std::max(0, bottom - top));
    }
}

Form *MdiParent::ActiveForm() const
{
    if (!mdiArea_)
        return nullptr;
    QMdiSubWindow *sub = mdiArea_->currentSubWindow();
    if (!sub || !sub->isVisible())
        return nullptr;
    return formOf(sub);
}

std::vector<Form *> MdiParent::children() const
{
    std::vector<Form *> result;
    if (!mdiArea_)
        return result;
    const auto list = mdiArea_->subWindowList(QMdiArea::StackingOrder);
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if (Form *form = formOf(*it))
            result.push_back(form);
    return result;
}

namespace {

// Minimized windows in rows along the foot of the area, left to right, as
// the platform keeps them; returns the height of the rows.
int placeMinimized(const std::vector<QMdiSubWindow *> &icons, const QRect &area)
{
    if (icons.empty())
        return 0;
    const int width = std::max(icons.front()->width(), 1);
    const int height = icons.front()->height();
    const int columns = std::max(area.width() / width, 1);
    const int count = int(icons.size());
    for (int i = 0; i < count; ++i) {
        const int row = i / columns;
        const int column = i % columns;
        icons[std::size_t(i)]->move(area.left() + column * width, area.bottom() + 1 - (row + 1) * height);
    }
    return (count + columns - 1) / columns * height;
}

} // namespace

void MdiParent::Arrange(int arrangement)
{
    if (!mdiArea_)
        return;
    if (arrangement != vbTileHorizontal && arrangement != vbTileVertical)
        return;
    QMdiSubWindow *active = mdiArea_->currentSubWindow();
    {
        FocusPause pause(*this);
        std::vector<QMdiSubWindow *> tiled;
        const auto stacking = mdiArea_->subWindowList(QMdiArea::StackingOrder);
        for (auto it = stacking.rbegin(); it != stacking.rend(); ++it) {
            QMdiSubWindow *sub = *it;
            if (!sub->isVisible() || sub->isMinimized())
                continue;
            if (sub->isMaximized())
                sub->showNormal();
            tiled.push_back(sub);
        }
        std::vector<QMdiSubWindow *> minimized;
        for (QMdiSubWindow *sub : mdiArea_->subWindowList(QMdiArea::CreationOrder))
            if (sub->isVisible() && sub->isMinimized())
                minimized.push_back(sub);
        if (tiled.empty() && minimized.empty())
            return;

        // The tiled windows leave the rows of minimized ones free.
        QRect area = mdiArea_->viewport()->rect();
        area.setBottom(area.bottom() - placeMinimized(minimized, area));
        const int n = int(tiled.size());
        for (int i = 0; i < n; ++i) {
            QRect r;
            if (arrangement == vbTileHorizontal) {
                const int y0 = area.top() + area.height() * i / n;
                const int y1 = area.top() + area.height() * (i + 1) / n;
                r = QRect(area.left(), y0, area.width(), y1 - y0);
            } else {
                const int x0 = area.left() + area.width() * i / n;
                const int x1 = area.left() + area.width() * (i + 1) / n;
                r = QRect(x0, area.top(), x1 - x0, area.height());
            }
            tiled[std::size_t(i)]->setGeometry(r);
        }
        // Restoring a maximized window activates it; the active one stays active.
        if (active && mdiArea_->currentSubWindow() != active)
            mdiArea_->setActiveSubWindow(active);
    }
    if (Form *form = formOf(active); form && !active->isMinimized())
        form->restoreFocus();
}

void MdiParent::unloadChildren()
{
    for (Form *child : children())
        child->Unload();
}

} // namespace rt
