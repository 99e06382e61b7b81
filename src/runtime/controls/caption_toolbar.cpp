#include "runtime/controls/caption_toolbar.h"

#include "runtime/text/legacy_text.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QIcon>
#include <QImageReader>
#include <QToolButton>
#include <QToolTip>

namespace rt {

// Shows a button's tooltip in the toolbar's own tooltip font; the tooltips of
// the rest of the program keep theirs.
class CaptionToolbarTips : public QObject {
public:
    CaptionToolbarTips(CaptionToolbar &bar, QObject *parent) : QObject(parent), bar_(bar) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *button = qobject_cast<QToolButton *>(watched);
        if (!button || event->type() != QEvent::ToolTip || button->toolTip().isEmpty())
            return false;
        const QFont font = bar_.tooltipFont();
        const QString text = QString("<span style=\"font-family:'%1'; font-size:%2pt; font-weight:%3\">%4</span>")
                                 .arg(font.family())
                                 .arg(font.pointSizeF())
                                 .arg(font.bold() ? 700 : 400)
                                 .arg(button->toolTip().toHtmlEscaped());
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), text, button);
        return true;
    }

private:
    CaptionToolbar &bar_;
};

CaptionToolbar::CaptionToolbar(Form &form, QWidget *container)
    : Control(form, container, new QFrame(container)), ButtonClick(form.program())
{
    auto *frame = static_cast<QFrame *>(widget());
    frame->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    auto *layout = new QHBoxLayout(frame);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(2);
    layout->addStretch(1);
    tips_ = new CaptionToolbarTips(*this, frame);
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
    tooltipFont_ = fontOf(font);
}

void CaptionToolbar::addButton(const std::string &key, const std::string &caption, const std::string &tooltip,
                               const QString &picture)
{
    auto *button = new QToolButton(widget());
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    // A toolbar is no tab stop, and a click on it leaves the focus where it is.
    button->setFocusPolicy(Qt::NoFocus);
    button->setIcon(QIcon(picture));
    const QSize size = QImageReader(picture).size();
    button->setIconSize(size.isValid() ? size : QSize(32, 32));
    button->setText(toQString(caption));
    button->setToolTip(toQString(tooltip));
    button->setFont(captionFont_);
    button->installEventFilter(tips_);
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
