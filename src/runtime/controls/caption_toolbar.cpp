#include "runtime/controls/caption_toolbar.h"

#include "runtime/text/legacy_text.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QToolButton>
#include <QToolTip>

namespace rt {

CaptionToolbar::CaptionToolbar(Form &form, QWidget *container)
    : Control(form, container, new QFrame(container)), ButtonClick(form.program())
{
    auto *frame = static_cast<QFrame *>(widget());
    frame->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    auto *layout = new QHBoxLayout(frame);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(2);
    layout->addStretch(1);
    setAlign(Align::Top);
    setHeight(765);
}

void CaptionToolbar::setCaptionFont(const FontSpec &font)
{
    captionFont_ = fontOf(font);
    for (QToolButton *b : buttons_)
        b->setFont(captionFont_);
}

void CaptionToolbar::setTooltipFont(const FontSpec &font)
{
    QToolTip::setFont(fontOf(font));
}

void CaptionToolbar::addButton(const std::string &key, const std::string &caption, const std::string &tooltip,
                               const QString &picture)
{
    auto *button = new QToolButton(widget());
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    button->setIcon(QIcon(picture));
    button->setIconSize(QSize(32, 32));
    button->setText(toQString(caption));
    button->setToolTip(toQString(tooltip));
    button->setFont(captionFont_);
    auto *layout = static_cast<QHBoxLayout *>(widget()->layout());
    layout->insertWidget(layout->count() - 1, button);
    buttons_.push_back(button);
    keys_.push_back(key);
    const int number = int(buttons_.size());
    QObject::connect(button, &QToolButton::clicked, button,
                     [this, number] { ButtonClick.raise(number, keys_[std::size_t(number - 1)]); });
}

QToolButton *CaptionToolbar::button(int number) const
{
    if (number < 1 || number > int(buttons_.size()))
        return nullptr;
    return buttons_[std::size_t(number - 1)];
}

} // namespace rt
