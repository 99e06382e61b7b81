#pragma once

// A window class of the program. Each class has one default instance, owned
// by the Program and created on first reference. Loading builds the window
// from its design (design() creates the controls with their design values),
// then runs Form_Load; unloading runs Form_Unload and destroys the window and
// its controls, while the instance and its window-level state stay. A loaded
// MDI child shows itself.

#include "runtime/forms/program.h"
#include "runtime/forms/twips.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class QMdiSubWindow;

namespace rt {

class Program;
class Control;
class CommandButton;

enum class FormKind { TopLevel, MdiParent, MdiChild };

// WindowState values.
constexpr int vbNormal = 0;
constexpr int vbMinimized = 1;
constexpr int vbMaximized = 2;

class Form {
public:
    Form(Program &program, FormKind kind);
    virtual ~Form();
    Form(const Form &) = delete;
    Form &operator=(const Form &) = delete;

    Program &program() const { return program_; }
    // The default instance of a window class.
    template <class F>
    F &form() const
    {
        return program_.template form<F>();
    }
    FormKind kind() const { return kind_; }
    bool IsLoaded() const { return loaded_; }
    bool isLoading() const { return loading_; }

    // Any reference to the window or its controls: loads it when it is not loaded.
    void Load();
    // Loads when needed, shows, brings to the front and activates.
    void Show();
    void Hide();
    // Runs Form_Unload (which may cancel), then destroys the window and its controls.
    void Unload();

    std::string Caption() const;
    void setCaption(const std::string &caption);

    // The outer frame and the client area, in twips.
    float Left();
    float Top();
    float Width();
    float Height();
    void setLeft(float left);
    void setTop(float top);
    void setWidth(float width);
    void setHeight(float height);
    float ScaleWidth();
    float ScaleHeight();

    int WindowState();
    void setWindowState(int state);

    bool Visible();

    // The window's outer widget and the widget its controls stand on.
    QWidget *outer() const { return outer_; }
    QWidget *client() const { return client_; }
    QMdiSubWindow *subWindow() const;

    // A control looked up by its name at run time, as late-bound code reaches
    // a member of whatever window it holds: a window without a member of that
    // name, or one of another kind, fails with "Object doesn't support this
    // property or method" (438).
    template <class C>
    C &member(const std::string &name)
    {
        Load();
        C *found = dynamic_cast<C *>(namedControl(name));
        if (!found)
            raise(err::NoSuchMember);
        return *found;
    }

    // Raised by the platform (the window widgets and the MDI parent).
    void raiseResize();
    void raiseActivate();
    void userClose();

    // Gives the keyboard focus back to the control that last had it in this
    // window, or to the first control of the tab order when none has had it.
    void restoreFocus();

protected:
    virtual void design() = 0;
    virtual void Form_Load() {}
    virtual void Form_Unload(int &Cancel) { (void)Cancel; }
    virtual void Form_Resize() {}
    virtual void Form_Activate() {}
    // The controls that late-bound code may reach by name; none by default.
    virtual Control *namedControl(const std::string &name) { (void)name; return nullptr; }
    // The window widgets exist; the design comes next.
    virtual void windowCreated() {}
    // After a load that failed: release what the load opened before it failed.
    virtual void abandonLoad() {}

    // Design values, for design().
    void setBackColor(long colorRef);
    void setClientSize(float widthTwips, float heightTwips);
    void setStartMaximized(bool maximized) { startMaximized_ = maximized; }
    void setFixedBorder(bool fixed) { fixedBorder_ = fixed; }
    void setCentred(bool centred) { centred_ = centred; }
    void setIcon(const QString &resource);
    // The default button takes Enter while no other button has the focus, and is drawn so.
    void setDefaultButton(CommandButton *button);
    void setCancelButton(CommandButton *button) { cancelButton_ = button; }
    // The control that has the focus when the window opens (first in the tab order).
    void setInitialFocus(Control *control) { initialFocus_ = control; }

    // Creates a control on the client area, or in `container`; the form owns it until it unloads.
    template <class C, class... Args>
    C *add(Args &&...args)
    {
        auto control = std::make_unique<C>(*this, client_, std::forward<Args>(args)...);
        C *raw = control.get();
        controls_.push_back(std::move(control));
        return raw;
    }
    template <class C, class... Args>
    C *addIn(QWidget *container, Args &&...args)
    {
        auto control = std::make_unique<C>(*this, container, std::forward<Args>(args)...);
        C *raw = control.get();
        controls_.push_back(std::move(control));
        return raw;
    }

    // Lays out the controls aligned to the top or bottom of the client area;
    // what is left between them runs from alignedTop_ to alignedBottom_ (twips).
    virtual void layoutAligned();
    float alignedTop_ = 0;
    float alignedBottom_ = 0;

private:
    friend class FormWindowEvents;
    friend class FormSubWindow;
    friend class MdiParent;
    void createWindow();
    void destroyWindow();
    void showLoadedChild();
    void placeNewWindow();
    void centreOnScreen();
    void keyPressed(int key, bool &handled);
    void focusMoved(QWidget *now);
    void childStateChanged(bool wasMinimized);

    Program &program_;
    FormKind kind_;
    bool loaded_ = false;
    bool loading_ = false;
    bool shownOnce_ = false;
    QPointer<QWidget> outer_;
    QPointer<QWidget> client_;
    QPointer<QObject> events_;
    std::vector<std::unique_ptr<Control>> controls_;
    CommandButton *defaultButton_ = nullptr;
    CommandButton *cancelButton_ = nullptr;
    Control *initialFocus_ = nullptr;
    // The control that last had the focus in this window.
    QPointer<QWidget> lastFocus_;

    float clientWidth_ = 4800;
    float clientHeight_ = 3600;
    bool startMaximized_ = false;
    bool fixedBorder_ = false;
    std::string caption_;
    bool centred_ = false;
    // Centred before the platform had put its frame around the window: centred again once it has.
    bool centreByFrame_ = false;

    // The exact twips last assigned, kept while the widget still has the size they give.
    struct Exact {
        float twips = 0;
        int pixels = -1;
        float read(int actualPixels) const { return actualPixels == pixels ? twips : toTwips(actualPixels); }
    };
    Exact left_, top_, width_, height_;
};

} // namespace rt
