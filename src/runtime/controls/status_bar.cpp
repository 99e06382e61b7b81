#include "runtime/controls/status_bar.h"

#include "runtime/text/legacy_text.h"

#include <QDateTime>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QTimer>

namespace rt {

StatusBar::StatusBar(Form &form, QWidget *container) : Control(form, container, new QFrame(container))
{
    auto *layout = new QHBoxLayout(widget());
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    timer_ = new QTimer(widget());
    timer_->setInterval(1000);
    QObject::connect(timer_, &QTimer::timeout, widget(), [this] { refresh(); });
    timer_->start();
    setAlign(Align::Bottom);
    setHeight(390);
}

StatusBar::~StatusBar()
{
    // The widget goes later, from the message loop; its clock must not tick for a control that is gone.
    timer_->stop();
    QObject::disconnect(timer_, nullptr, nullptr, nullptr);
}

void StatusBar::addPanel(Panel kind, const std::string &text, float widthTwips)
{
    auto *label = new QLabel(toQString(text), widget());
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    if (widthTwips > 0)
        label->setFixedWidth(toPixels(widthTwips));
    static_cast<QHBoxLayout *>(widget()->layout())->addWidget(label, widthTwips > 0 ? 0 : 1);
    panels_.push_back({kind, label});
    refresh();
}

std::string StatusBar::panelText(int index) const
{
    if (index < 1 || index > int(panels_.size()))
        raise(35600, "Index out of bounds");
    return fromQString(panels_[std::size_t(index - 1)].label->text());
}

void StatusBar::refresh()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale;
    for (auto &panel : panels_) {
        if (panel.kind == Panel::Date)
            panel.label->setText(locale.toString(now.date(), QLocale::ShortFormat));
        else if (panel.kind == Panel::Time)
            panel.label->setText(locale.toString(now.time(), QLocale::ShortFormat));
    }
}

} // namespace rt
