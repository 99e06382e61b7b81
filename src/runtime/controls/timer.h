#pragma once

// A timer control: no window of its own; while it is enabled and its
// Interval (milliseconds) is above 0 it raises its Timer event every Interval, on the
// one user-interface thread, through the program's edge.

#include "runtime/controls/control.h"

class QTimer;

namespace rt {

class Timer : public Control {
public:
    Timer(Form &form, QWidget *container);
    ~Timer() override;

    int Interval() const { return interval_; }
    // 0 to 65535; 0 keeps the timer from firing. Setting it restarts the count.
    void setInterval(int milliseconds);
    bool Enabled() const { return Control::Enabled(); }
    void setEnabled(bool enabled);

    // Whether ticks are coming: enabled with an interval above 0.
    bool running() const;
    // One tick as the clock delivers it: raises the Timer event when the timer is running.
    void tick();

    // The Timer event (a member cannot share the class's name).
    Event<> TimerEvent;

private:
    void apply();
    QTimer *clock_;
    int interval_ = 0;
};

} // namespace rt
