#include "runtime/controls/control.h"

#include "runtime/errors/runtime_error.h"
#include "runtime/forms/form.h"
#include "runtime/text/legacy_text.h"

#include <QApplication>
#include <QPalette>

namespace rt {

QColor colorOf(long colorRef)
{
    if (colorRef & 0x80000000L) {
        const QPalette palette = QApplication::palette();
        switch (colorRef & 0xFF) {
        case 0x05: return palette.color(QPalette::Base);
        case 0x08: return palette.color(QPalette::Text);
        case 0x0B: return QColor(0xB4, 0xB4, 0xB4);
        case 0x0F: return palette.color(QPalette::Button);
        case 0x12: return palette.color(QPalette::ButtonText);
        case 0x18: return palette.color(QPalette::ToolTipBase);
        case 0x17: return palette.color(QPalette::ToolTipText);
        default: return palette.color(QPalette::Window);
        }
    }
    return QColor(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF), int((colorRef >> 16) & 0xFF));
}

long colorRefOf(const QColor &color)
{
    return long(color.red()) | (long(color.green()) << 8) | (long(color.blue()) << 16);
}

QFont fontOf(const FontSpec &wanted)
{
    QFont font(toQString(wanted.name));
    font.setPointSizeF(wanted.size);
    font.setBold(wanted.bold);
    font.setItalic(wanted.italic);
    font.setUnderline(wanted.underline);
    font.setStrikeOut(wanted.strikethru);
    return font;
}

Control::Control(Form &form, QWidget *container, QWidget *widget)
    : form_(form), container_(container), widget_(widget)
{
    if (widget_)
        widget_->show();
}

Control::~Control()
{
    if (QWidget *w = widget_) {
        w->hide();
        w->deleteLater();
    }
}

Program &Control::program() const
{
    return form_.program();
}

void Control::applyGeometry()
{
    if (widget_)
        widget_->setGeometry(toPixels(left_), toPixels(top_), toPixels(width_), toPixels(height_));
}

void Control::setGeometryTwips(float left, float top, float width, float height)
{
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    applyGeometry();
}

void Control::setLeft(float left)
{
    setGeometryTwips(left, top_, width_, height_);
}

void Control::setTop(float top)
{
    setGeometryTwips(left_, top, width_, height_);
}

void Control::setWidth(float width)
{
    if (width < 0)
        raise(err::InvalidPropertyValue);
    setGeometryTwips(left_, top_, width, height_);
}

void Control::setHeight(float height)
{
    if (height < 0)
        raise(err::InvalidPropertyValue);
    setGeometryTwips(left_, top_, width_, height);
}

void Control::Move(float left, float top, float width, float height)
{
    if (width < 0 || height < 0)
        raise(err::InvalidPropertyValue);
    setGeometryTwips(left, top, width, height);
}

void Control::setVisible(bool visible)
{
    visible_ = visible;
    if (widget_)
        widget_->setVisible(visible);
}

void Control::setEnabled(bool enabled)
{
    enabled_ = enabled;
    if (widget_)
        widget_->setEnabled(enabled);
}

void Control::SetFocus()
{
    if (!visible_ || !enabled_)
        raise(err::InvalidProcedureCall, "Invalid procedure call or argument");
    if (widget_)
        widget_->setFocus(Qt::OtherFocusReason);
}

void Control::ZOrder(int position)
{
    if (!widget_)
        return;
    if (position == 0)
        widget_->raise();
    else
        widget_->lower();
}

void Control::setAlign(Align align)
{
    align_ = align;
}

void Control::placeAligned(float left, float top, float width)
{
    setGeometryTwips(left, top, width, height_);
}

} // namespace rt
