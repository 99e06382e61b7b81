#include "runtime/forms/mdi_parent.h"

#include "runtime/forms/program.h"

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
        if (Form *form = formOf(sub))
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

void MdiParent::Arrange(int arrangement)
{
    if (!mdiArea_)
        return;
    if (arrangement != vbTileHorizontal && arrangement != vbTileVertical)
        return;
    // Restoring a maximized window activates it; the active one stays active.
    QMdiSubWindow *active = mdiArea_->currentSubWindow();
    std::vector<QMdiSubWindow *> tiled;
    const auto list = mdiArea_->subWindowList(QMdiArea::StackingOrder);
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        QMdiSubWindow *sub = *it;
        if (!sub->isVisible() || sub->isMinimized())
            continue;
        if (sub->isMaximized())
            sub->showNormal();
        tiled.push_back(sub);
    }
    if (tiled.empty())
        return;
    const QRect area = mdiArea_->viewport()->rect();
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
    if (active && mdiArea_->currentSubWindow() != active)
        mdiArea_->setActiveSubWindow(active);
}

void MdiParent::unloadChildren()
{
    for (Form *child : children())
        child->Unload();
}

} // namespace rt
