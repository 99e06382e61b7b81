#include "runtime/controls/rich_text_box.h"

#include "runtime/text/legacy_text.h"

#include <QTextCursor>
#include <QTextEdit>

namespace rt {

RichTextBox::RichTextBox(Form &form, QWidget *container)
    : Control(form, container, new QTextEdit(container)), edit_(static_cast<QTextEdit *>(widget()))
{
    edit_->setAcceptRichText(true);
    edit_->setTabChangesFocus(false);
}

std::string RichTextBox::Text() const
{
    // The raw text keeps every character as it stands (the plain-text export
    // would turn a no-break space, byte 0xA0, into a space).
    QString raw = edit_->document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
    std::string text = fromQString(raw);
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

void RichTextBox::setText(const std::string &text)
{
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        plain += text[i] == '\r' ? '\n' : text[i];
    }
    const QFont font = edit_->font();
    edit_->setPlainText(toQString(plain));
    edit_->setCurrentFont(font);
}

void RichTextBox::setFont(const FontSpec &font)
{
    edit_->setFont(fontOf(font));
    edit_->document()->setDefaultFont(fontOf(font));
}

void RichTextBox::setBackColor(long colorRef)
{
    QPalette palette = edit_->palette();
    palette.setColor(QPalette::Base, colorOf(colorRef));
    edit_->setPalette(palette);
}

void RichTextBox::setScrollBars(bool horizontal, bool vertical)
{
    edit_->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    edit_->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

long RichTextBox::SelColor() const
{
    return colorRefOf(edit_->textCursor().charFormat().foreground().color());
}

void RichTextBox::setSelColor(long colorRef)
{
    QTextCharFormat format;
    format.setForeground(colorOf(colorRef));
    mergeSelectionFormat(format);
}

void RichTextBox::mergeSelectionFormat(const QTextCharFormat &format)
{
    QTextCursor cursor = edit_->textCursor();
    if (cursor.hasSelection())
        cursor.mergeCharFormat(format);
    edit_->mergeCurrentCharFormat(format);
}

} // namespace rt
