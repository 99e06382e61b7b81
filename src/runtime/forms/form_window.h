#pragma once

// The platform's side of a form's window: the filter that passes the events
// of its widgets on to the form, and the frame of a child window.

#include <QMdiSubWindow>
#include <QObject>

namespace rt {

class Form;

// Forwards the events of a form's widgets to the form.
class FormWindowEvents : public QObject {
public:
    FormWindowEvents(Form &form, QObject *parent) : QObject(parent), form_(form) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Form &form_;
};

// The frame of a child window: it tells its form when the window has been
// minimized, maximized or restored. While the platform changes the state it
// hides and shows the window, which moves the focus about; those moves are
// not remembered as the window's focus.
class FormSubWindow : public QMdiSubWindow {
public:
    explicit FormSubWindow(Form &form) : form_(&form) {}
    // The form has unloaded; the widget goes later.
    void forget() { form_ = nullptr; }

protected:
    void changeEvent(QEvent *event) override;

private:
    Form *form_;
};

} // namespace rt
