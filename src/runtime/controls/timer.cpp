#include "runtime/controls/timer.h"

#include "runtime/errors/runtime_error.h"

#include <QTimer>

namespace rt {

Timer::Timer(Form &form, QWidget *container)
    : Control(form, container, nullptr), TimerEvent(form.program()), clock_(new QTimer)
{
    QObject::connect(clock_, &QTimer::timeout, clock_, [this] { tick(); });
}

Timer::~Timer()
{
    // The timer may be destroyed from inside its own tick (a handler that
    // unloads the window), so the clock goes once that tick has returned.
    clock_->stop();
    clock_->deleteLater();
}

void Timer::setInterval(int milliseconds)
{
    if (milliseconds < 0 || milliseconds > 65535)
        raise(err::InvalidPropertyValue);
    interval_ = milliseconds;
    apply();
}

void Timer::setEnabled(bool enabled)
{
    Control::setEnabled(enabled);
    apply();
}

bool Timer::running() const
{
    return Enabled() && interval_ > 0;
}

void Timer::tick()
{
    if (running())
        TimerEvent.raise();
}

void Timer::apply()
{
    if (running())
        clock_->start(interval_);
    else
        clock_->stop();
}

} // namespace rt
