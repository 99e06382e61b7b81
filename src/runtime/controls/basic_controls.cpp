#include "runtime/controls/basic_controls.h"

#include "runtime/text/legacy_text.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

namespace rt {

// ---- Label

Label::Label(Form &form, QWidget *container)
    : Control(form, container, new QLabel(container)), label_(static_cast<QLabel *>(widget()))
{
    label_->setAttribute(Qt::WA_TranslucentBackground);
    label_->setTextFormat(Qt::PlainText);
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void Label::setCaption(const std::string &caption)
{
    caption_ = caption;
    label_->setText(toQString(withoutCarriageReturns(caption)));
    fitToText();
}

void Label::setFont(const FontSpec &font)
{
    label_->setFont(fontOf(font));
    fitToText();
}

void Label::setForeColor(long colorRef)
{
    QPalette palette = label_->palette();
    palette.setColor(QPalette::WindowText, colorOf(colorRef));
    label_->setPalette(palette);
}

void Label::setOpaque(long colorRef)
{
    label_->setAttribute(Qt::WA_TranslucentBackground, false);
    label_->setAttribute(Qt::WA_NoSystemBackground, false);
    QPalette palette = label_->palette();
    palette.setColor(QPalette::Window, colorOf(colorRef));
    label_->setPalette(palette);
    label_->setAutoFillBackground(true);
}

void Label::setAlignment(int alignment)
{
    Qt::Alignment horizontal = alignment == vbCenter        ? Qt::AlignHCenter
                               : alignment == vbRightJustify ? Qt::AlignRight
                                                             : Qt::AlignLeft;
    label_->setAlignment(horizontal | Qt::AlignTop);
}

void Label::setAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    fitToText();
}

void Label::setWordWrap(bool wrap)
{
    label_->setWordWrap(wrap);
}

void Label::fitToText()
{
    if (!autoSize_)
        return;
    const QFontMetrics metrics(label_->font());
    const QStringList lines = label_->text().split('\n');
    int width = 0;
    for (const QString &line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    const int height = metrics.lineSpacing() * int(lines.size());
    setWidth(toTwips(width + 2));
    setHeight(toTwips(height));
}

// ---- CommandButton

CommandButton::CommandButton(Form &form, QWidget *container)
    : Control(form, container, new QPushButton(container)), Click(form.program()),
      button_(static_cast<QPushButton *>(widget()))
{
    // Enter clicks the button that has the focus.
    button_->setAutoDefault(true);
    QObject::connect(button_, &QPushButton::clicked, button_, [this] { Click.raise(); });
}

void CommandButton::setCaption(const std::string &caption)
{
    button_->setText(toQString(caption));
}

std::string CommandButton::Caption() const
{
    return fromQString(button_->text());
}

void CommandButton::setFont(const FontSpec &font)
{
    button_->setFont(fontOf(font));
}

void CommandButton::setDefault(bool isDefault)
{
    button_->setDefault(isDefault);
}


// ---- PictureBox

PictureBox::PictureBox(Form &form, QWidget *container) : Control(form, container, new QFrame(container))
{
    widget()->setAutoFillBackground(true);
}

void PictureBox::setBackColor(long colorRef)
{
    QPalette palette = widget()->palette();
    palette.setColor(QPalette::Window, colorOf(colorRef));
    widget()->setPalette(palette);
}

void PictureBox::setBorder(bool border)
{
    auto *frame = static_cast<QFrame *>(widget());
    frame->setFrameStyle(border ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
}

// ---- Image

class ImageWidget : public QWidget {
public:
    ImageWidget(Image &image, QWidget *parent) : QWidget(parent), image_(image)
    {
        setAttribute(Qt::WA_TranslucentBackground);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (image_.picture_.isNull())
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        if (image_.stretch_)
            painter.drawPixmap(rect(), image_.picture_);
        else
            painter.drawPixmap(0, 0, image_.picture_);
    }
    void mousePressEvent(QMouseEvent *e) override { forward(image_.MouseDown, e); }
    void mouseMoveEvent(QMouseEvent *e) override { forward(image_.MouseMove, e); }
    void mouseReleaseEvent(QMouseEvent *e) override { forward(image_.MouseUp, e); }

private:
    static int buttonOf(Qt::MouseButtons buttons)
    {
        int value = 0;
        if (buttons & Qt::LeftButton) value |= 1;
        if (buttons & Qt::RightButton) value |= 2;
        if (buttons & Qt::MiddleButton) value |= 4;
        return value;
    }
    static int shiftOf(Qt::KeyboardModifiers modifiers)
    {
        int value = 0;
        if (modifiers & Qt::ShiftModifier) value |= 1;
        if (modifiers & Qt::ControlModifier) value |= 2;
        if (modifiers & Qt::AltModifier) value |= 4;
        return value;
    }
    void forward(Event<int, int, float, float> &event, QMouseEvent *e)
    {
        const Qt::MouseButtons buttons = e->type() == QEvent::MouseButtonRelease ? e->button() : e->buttons();
        event.raise(buttonOf(buttons), shiftOf(e->modifiers()), float(e->position().x()) * kTwipsPerPixel,
                    float(e->position().y()) * kTwipsPerPixel);
    }
    Image &image_;
};

Image::Image(Form &form, QWidget *container)
    : Control(form, container, new ImageWidget(*this, container)), MouseDown(form.program()), MouseMove(form.program()),
      MouseUp(form.program())
{
}

void Image::setPicture(const QPixmap &picture)
{
    picture_ = picture;
    if (widget())
        widget()->update();
}

void Image::setStretch(bool stretch)
{
    stretch_ = stretch;
    if (widget())
        widget()->update();
}

void Image::setMousePointer(Qt::CursorShape shape)
{
    widget()->setCursor(shape);
}

// ---- TextBox

TextBox::TextBox(Form &form, QWidget *container)
    : Control(form, container, new QLineEdit(container)), Change(form.program()),
      edit_(static_cast<QLineEdit *>(widget()))
{
    QObject::connect(edit_, &QLineEdit::textChanged, edit_, [this] { Change.raise(); });
}

std::string TextBox::Text() const
{
    return fromQString(edit_->text());
}

void TextBox::setText(const std::string &text)
{
    edit_->setText(toQString(text));
}

void TextBox::setFont(const FontSpec &font)
{
    edit_->setFont(fontOf(font));
}

// ---- Line

namespace {

class LineWidget : public QWidget {
public:
    using QWidget::QWidget;
    QLineF line;
    QColor color;
    int width = 1;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setPen(QPen(color, width));
        painter.drawLine(line);
    }
};

} // namespace

Line::Line(Form &form, QWidget *container) : Control(form, container, new LineWidget(container))
{
    widget()->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Line::setLine(float x1, float y1, float x2, float y2, long colorRef, int width)
{
    auto *w = static_cast<LineWidget *>(widget());
    const float left = std::min(x1, x2);
    const float top = std::min(y1, y2) - toTwips(width);
    Move(left, top, std::abs(x2 - x1) + toTwips(1), std::abs(y2 - y1) + toTwips(2 * width));
    // A wide pen grows below and to the right of the line's own pixels, so
    // that two lines one pixel apart show both.
    const qreal grow = (width - 1) / 2.0;
    w->line = QLineF((x1 - left) / kTwipsPerPixel + grow, (y1 - top) / kTwipsPerPixel + grow,
                     (x2 - left) / kTwipsPerPixel + grow, (y2 - top) / kTwipsPerPixel + grow);
    w->color = colorOf(colorRef);
    w->width = width;
    w->update();
}

} // namespace rt
