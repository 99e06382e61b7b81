#include "runtime/forms/form.h"

#include "runtime/controls/basic_controls.h"
#include "runtime/controls/control.h"
#include "runtime/forms/form_window.h"
#include "runtime/forms/mdi_parent.h"
#include "runtime/forms/program.h"
#include "runtime/system/load_picture.h"
#include "runtime/text/legacy_text.h"

#include <QApplication>
#include <QIcon>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace rt {

Form::Form(Program &program, FormKind kind) : program_(program), kind_(kind) {}

Form::~Form()
{
    controls_.clear();
    delete events_.data();
    delete outer_.data();
}

void Form::Load()
{
    if (loaded_ || loading_)
        return;
    loading_ = true;
    createWindow();
    design();
    loaded_ = true;
    try {
        Form_Load();
    } catch (RuntimeError &e) {
        if (e.failedLoad() && e.failedLoad() != this) {
            // Another window failed to load inside this window's load handler:
            // the handler is abandoned there, this window stays loaded.
            loading_ = false;
            if (!e.reported())
                program_.report(e);
        } else {
            loading_ = false;
            e.setFailedLoad(this);
            abandonLoad();
            destroyWindow();
            throw;
        }
    }
    loading_ = false;
    if (kind_ == FormKind::MdiChild && loaded_)
        showLoadedChild();
}

void Form::createWindow()
{
    switch (kind_) {
    case FormKind::TopLevel: {
        auto *window = new QWidget(nullptr, Qt::Window);
        outer_ = window;
        client_ = window;
        break;
    }
    case FormKind::MdiParent: {
        auto *window = new QMainWindow;
        auto *central = new QWidget(window);
        window->setCentralWidget(central);
        outer_ = window;
        client_ = central;
        break;
    }
    case FormKind::MdiChild: {
        MdiParent &parent = program_.mdiParent();
        parent.Load();
        // No minimum size of its own: the user can make a child window as
        // small as its title bar and borders, no smaller.
        auto *sub = new FormSubWindow(*this);
        sub->setAttribute(Qt::WA_DeleteOnClose, false);
        auto *area = new QWidget;
        sub->setWidget(area);
        sub->setProperty("rt.form", QVariant::fromValue<void *>(this));
        parent.mdiArea()->addSubWindow(sub);
        sub->hide();
        outer_ = sub;
        client_ = area;
        break;
    }
    }
    auto *events = new FormWindowEvents(*this, outer_);
    events_ = events;
    outer_->installEventFilter(events);
    if (client_ != outer_)
        client_->installEventFilter(events);
    if (auto *app = qobject_cast<QApplication *>(QCoreApplication::instance()))
        QObject::connect(app, &QApplication::focusChanged, events, [this](QWidget *, QWidget *now) { focusMoved(now); });
    if (const QIcon &icon = resourceIcon(":/icon-app.svg"); !icon.isNull())
        outer_->setWindowIcon(icon);
    left_ = top_ = width_ = height_ = Exact{};
    shownOnce_ = false;
    centreByFrame_ = false;
    lastFocus_ = nullptr;
    windowCreated();
}

void Form::destroyWindow()
{
    controls_.clear();
    defaultButton_ = cancelButton_ = nullptr;
    initialFocus_ = nullptr;
    // The widgets go later, from the message loop; from now on their events
    // no longer reach this form.
    if (QObject *events = events_) {
        if (outer_)
            outer_->removeEventFilter(events);
        if (client_)
            client_->removeEventFilter(events);
        delete events;
    }
    if (QWidget *outer = outer_) {
        if (auto *frame = dynamic_cast<FormSubWindow *>(outer))
            frame->forget();
        if (auto *sub = qobject_cast<QMdiSubWindow *>(outer); sub && sub->mdiArea())
            sub->mdiArea()->removeSubWindow(sub);
        outer->hide();
        outer->deleteLater();
    }
    outer_ = nullptr;
    client_ = nullptr;
    loaded_ = false;
}

void Form::showLoadedChild()
{
    auto *sub = subWindow();
    if (!sub)
        return;
    if (!shownOnce_) {
        placeNewWindow();
        shownOnce_ = true;
        if (startMaximized_)
            sub->showMaximized();
        else
            sub->show();
    } else {
        sub->show();
    }
    if (QMdiArea *area = sub->mdiArea())
        area->setActiveSubWindow(sub);
    restoreFocus();
}

void Form::Show()
{
    Load();
    if (!loaded_)
        return;
    switch (kind_) {
    case FormKind::MdiChild:
        showLoadedChild();
        subWindow()->raise();
        break;
    case FormKind::TopLevel:
    case FormKind::MdiParent:
        if (!shownOnce_) {
            placeNewWindow();
            shownOnce_ = true;
            if (startMaximized_) {
                outer_->showMaximized();
            } else {
                outer_->show();
                if (centred_)
                    centreOnScreen();
            }
            restoreFocus();
        } else {
            // A window already open comes back to the front, from the task bar too.
            if (outer_->isMinimized())
                outer_->setWindowState(outer_->windowState() & ~Qt::WindowMinimized);
            outer_->show();
        }
        outer_->raise();
        outer_->activateWindow();
        break;
    }
}

void Form::Hide()
{
    Load();
    if (outer_)
        outer_->hide();
}

void Form::Unload()
{
    if (!loaded_)
        return;
    if (kind_ == FormKind::MdiParent)
        static_cast<MdiParent *>(this)->unloadChildren();
    int cancel = 0;
    program_.run([&] { Form_Unload(cancel); });
    if (cancel != 0)
        return;
    destroyWindow();
    if (kind_ == FormKind::MdiParent)
        program_.mainWindowUnloaded();
    else
        program_.windowUnloaded();
}

void Form::userClose()
{
    program_.run([&] { Unload(); });
}

QMdiSubWindow *Form::subWindow() const
{
    return qobject_cast<QMdiSubWindow *>(outer_.data());
}

std::string Form::Caption() const
{
    return caption_;
}

void Form::setCaption(const std::string &caption)
{
    Load();
    caption_ = caption;
    outer_->setWindowTitle(toQString(caption));
}

void Form::setBackColor(long colorRef)
{
    QPalette palette = client_->palette();
    palette.setColor(QPalette::Window, colorOf(colorRef));
    client_->setPalette(palette);
    client_->setAutoFillBackground(true);
}

void Form::setClientSize(float widthTwips, float heightTwips)
{
    clientWidth_ = widthTwips;
    clientHeight_ = heightTwips;
}

void Form::setIcon(const QString &resource)
{
    outer_->setWindowIcon(resourceIcon(resource));
}

float Form::Left()
{
    Load();
    return left_.read(outer_->x());
}

float Form::Top()
{
    Load();
    return top_.read(outer_->y());
}

float Form::Width()
{
    Load();
    return width_.read(outer_->frameGeometry().width());
}

float Form::Height()
{
    Load();
    return height_.read(outer_->frameGeometry().height());
}

// A minimized window has no client area.
float Form::ScaleWidth()
{
    Load();
    return WindowState() == vbMinimized ? 0 : toTwips(client_->width());
}

float Form::ScaleHeight()
{
    Load();
    return WindowState() == vbMinimized ? 0 : toTwips(client_->height());
}

namespace {

void checkSizable(Form &form)
{
    const int state = form.WindowState();
    if (state == vbMinimized || state == vbMaximized)
        raise(err::CantSizeMinMax);
}

} // namespace

void Form::setLeft(float left)
{
    checkSizable(*this);
    centreByFrame_ = false;
    left_ = {left, toPixels(left)};
    outer_->move(left_.pixels, outer_->y());
}

void Form::setTop(float top)
{
    checkSizable(*this);
    centreByFrame_ = false;
    top_ = {top, toPixels(top)};
    outer_->move(outer_->x(), top_.pixels);
}

void Form::setWidth(float width)
{
    checkSizable(*this);
    if (width < 0)
        raise(err::InvalidPropertyValue);
    width_ = {width, toPixels(width)};
    const int frameExtra = outer_->frameGeometry().width() - outer_->width();
    outer_->resize(width_.pixels - frameExtra, outer_->height());
}

void Form::setHeight(float height)
{
    checkSizable(*this);
    if (height < 0)
        raise(err::InvalidPropertyValue);
    height_ = {height, toPixels(height)};
    const int frameExtra = outer_->frameGeometry().height() - outer_->height();
    outer_->resize(outer_->width(), height_.pixels - frameExtra);
}

int Form::WindowState()
{
    Load();
    const Qt::WindowStates state = outer_->windowState();
    if (state & Qt::WindowMinimized)
        return vbMinimized;
    if (state & Qt::WindowMaximized)
        return vbMaximized;
    return vbNormal;
}

void Form::setWindowState(int state)
{
    Load();
    switch (state) {
    case vbNormal: outer_->showNormal(); break;
    case vbMinimized: outer_->showMinimized(); break;
    case vbMaximized: outer_->showMaximized(); break;
    default: raise(err::InvalidPropertyValue);
    }
}

bool Form::Visible()
{
    return loaded_ && outer_ && outer_->isVisible();
}

void Form::raiseResize()
{
    if (loaded_ && !loading_)
        program_.run([this] { Form_Resize(); });
}

void Form::raiseActivate()
{
    if (loaded_)
        program_.run([this] { Form_Activate(); });
}

void Form::layoutAligned()
{
    if (!client_)
        return;
    const float width = toTwips(client_->width());
    float top = 0;
    float bottom = toTwips(client_->height());
    for (const auto &control : controls_) {
        if (control->container() != client_ || !control->Visible())
            continue;
        if (control->align() == Align::Top) {
            control->placeAligned(0, top, width);
            top += control->Height();
        } else if (control->align() == Align::Bottom) {
            bottom -= control->Height();
            control->placeAligned(0, bottom, width);
        }
    }
    alignedTop_ = top;
    alignedBottom_ = bottom;
}

} // namespace rt
