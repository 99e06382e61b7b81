#include "runtime/controls/rich_text_box.h"

#include "runtime/errors/runtime_error.h"
#include "runtime/text/legacy_text.h"
#include "runtime/text/rtf_reader.h"
#include "runtime/text/rtf_writer.h"

#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextEdit>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include <unistd.h>

namespace rt {

namespace {

constexpr int kInvalidFileFormat = 321; // "Invalid file format"
constexpr int kPrinterError = 482;      // "Printer error"

std::string withoutCarriageReturns(const std::string &text)
{
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        plain += text[i] == '\r' ? '\n' : text[i];
    }
    return plain;
}

Variant alignmentOf(const QTextBlockFormat &format)
{
    const Qt::Alignment a = format.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignHCenter)
        return Variant(rtfCenter);
    if (a & (Qt::AlignRight | Qt::AlignTrailing))
        return Variant(rtfRight);
    return Variant(rtfLeft);
}

std::filesystem::path hostFile(const Control &control, const std::string &path)
{
    return control.program().drive().hostPath(path, control.program().Path());
}

} // namespace

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
    out.reserve(text.size() + text.size() / 32);
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

void RichTextBox::setText(const std::string &text)
{
    const QFont font = edit_->font();
    edit_->setPlainText(toQString(withoutCarriageReturns(text)));
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

long RichTextBox::SelStart() const
{
    return edit_->textCursor().selectionStart();
}

void RichTextBox::setSelStart(long start)
{
    if (start < 0)
        raise(err::InvalidPropertyValue);
    QTextCursor cursor = edit_->textCursor();
    cursor.setPosition(int(std::min<long>(start, edit_->document()->characterCount() - 1)));
    edit_->setTextCursor(cursor);
}

long RichTextBox::SelLength() const
{
    const QTextCursor cursor = edit_->textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void RichTextBox::setSelLength(long length)
{
    if (length < 0)
        raise(err::InvalidPropertyValue);
    QTextCursor cursor = edit_->textCursor();
    const int start = cursor.selectionStart();
    const int last = edit_->document()->characterCount() - 1;
    cursor.setPosition(start);
    cursor.setPosition(int(std::min<long>(start + length, last)), QTextCursor::KeepAnchor);
    edit_->setTextCursor(cursor);
}

std::string RichTextBox::SelText() const
{
    QString text = edit_->textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, "\r\n");
    return fromQString(text);
}

template <class Read>
Variant RichTextBox::selectionValue(Read read) const
{
    const QTextCursor cursor = edit_->textCursor();
    if (!cursor.hasSelection())
        return read(edit_->currentCharFormat());
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    std::optional<Variant> value;
    const QTextDocument *document = edit_->document();
    for (QTextBlock block = document->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int from = fragment.position();
            const int to = from + fragment.length();
            if (to <= start || from >= end)
                continue;
            Variant v = read(fragment.charFormat());
            if (!value)
                value = v;
            else if (!(*value == v))
                return Variant::null();
        }
    }
    return value ? *value : read(cursor.charFormat());
}

long RichTextBox::SelColor() const
{
    const Variant color = selectionValue([](const QTextCharFormat &f) {
        return Variant(static_cast<long long>(colorRefOf(f.foreground().color())));
    });
    return color.isNull() ? 0 : long(color.toInteger());
}

void RichTextBox::setSelColor(long colorRef)
{
    QTextCharFormat format;
    format.setForeground(colorOf(colorRef));
    mergeSelectionFormat(format);
}

Variant RichTextBox::SelBold() const
{
    return selectionValue([](const QTextCharFormat &f) { return Variant(f.fontWeight() >= QFont::DemiBold); });
}

void RichTextBox::setSelBold(const Variant &value)
{
    if (value.isNull())
        return;
    QTextCharFormat format;
    format.setFontWeight(value.toBool() ? QFont::Bold : QFont::Normal);
    mergeSelectionFormat(format);
}

Variant RichTextBox::SelItalic() const
{
    return selectionValue([](const QTextCharFormat &f) { return Variant(f.fontItalic()); });
}

void RichTextBox::setSelItalic(const Variant &value)
{
    if (value.isNull())
        return;
    QTextCharFormat format;
    format.setFontItalic(value.toBool());
    mergeSelectionFormat(format);
}

Variant RichTextBox::SelUnderline() const
{
    return selectionValue([](const QTextCharFormat &f) { return Variant(f.fontUnderline()); });
}

void RichTextBox::setSelUnderline(const Variant &value)
{
    if (value.isNull())
        return;
    QTextCharFormat format;
    format.setFontUnderline(value.toBool());
    mergeSelectionFormat(format);
}

Variant RichTextBox::SelStrikeThru() const
{
    return selectionValue([](const QTextCharFormat &f) { return Variant(f.fontStrikeOut()); });
}

void RichTextBox::setSelStrikeThru(const Variant &value)
{
    if (value.isNull())
        return;
    QTextCharFormat format;
    format.setFontStrikeOut(value.toBool());
    mergeSelectionFormat(format);
}

Variant RichTextBox::SelFontSize() const
{
    const double fallback = edit_->document()->defaultFont().pointSizeF();
    return selectionValue([fallback](const QTextCharFormat &f) {
        const double size = f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : fallback;
        return Variant(size);
    });
}

void RichTextBox::setSelFontSize(const Variant &points)
{
    if (points.isNull())
        return;
    const double size = points.toDouble();
    if (!(size > 0 && size <= 1638))
        raise(err::InvalidPropertyValue);
    QTextCharFormat format;
    format.setFontPointSize(size);
    mergeSelectionFormat(format);
}

Variant RichTextBox::SelFontName() const
{
    const QString fallback = edit_->document()->defaultFont().family();
    return selectionValue([&fallback](const QTextCharFormat &f) {
        const QStringList families = f.fontFamilies().toStringList();
        return Variant(fromQString(families.isEmpty() ? fallback : families.constFirst()));
    });
}

void RichTextBox::setSelFontName(const Variant &name)
{
    if (name.isNull())
        return;
    const std::string family = name.toString();
    if (family.empty())
        raise(err::InvalidPropertyValue);
    QTextCharFormat format;
    format.setFontFamilies({toQString(family)});
    mergeSelectionFormat(format);
}

Variant RichTextBox::SelAlignment() const
{
    const QTextCursor cursor = edit_->textCursor();
    const QTextDocument *document = edit_->document();
    QTextBlock block = document->findBlock(cursor.selectionStart());
    const QTextBlock last = document->findBlock(cursor.selectionEnd());
    const Variant first = alignmentOf(block.blockFormat());
    for (; block.isValid(); block = block.next()) {
        if (!(alignmentOf(block.blockFormat()) == first))
            return Variant::null();
        if (block == last)
            break;
    }
    return first;
}

void RichTextBox::setSelAlignment(const Variant &alignment)
{
    if (alignment.isNull())
        return;
    Qt::Alignment align;
    switch (alignment.toInteger()) {
    case rtfLeft: align = Qt::AlignLeft; break;
    case rtfRight: align = Qt::AlignRight; break;
    case rtfCenter: align = Qt::AlignHCenter; break;
    default: raise(err::InvalidPropertyValue);
    }
    edit_->setAlignment(align | Qt::AlignAbsolute);
}

void RichTextBox::setRightMargin(float twips)
{
    if (twips < 0)
        raise(err::InvalidPropertyValue);
    rightMargin_ = twips;
    if (twips == 0) {
        edit_->setLineWrapMode(QTextEdit::WidgetWidth);
    } else {
        edit_->setLineWrapMode(QTextEdit::FixedPixelWidth);
        edit_->setLineWrapColumnOrWidth(std::max(1, toPixels(twips)));
    }
}

std::string RichTextBox::TextRTF() const
{
    return rtf::writeDocument(*edit_->document());
}

void RichTextBox::setTextRTF(const std::string &text)
{
    if (!rtf::looksLikeRtf(text)) {
        setText(text);
        return;
    }
    edit_->clear();
    QTextCursor cursor(edit_->document());
    rtf::readInto(text, cursor);
    edit_->moveCursor(QTextCursor::Start);
}

std::string RichTextBox::SelRTF() const
{
    return rtf::writeSelection(edit_->textCursor());
}

void RichTextBox::setSelRTF(const std::string &text)
{
    QTextCursor cursor = edit_->textCursor();
    if (rtf::looksLikeRtf(text))
        rtf::readInto(text, cursor);
    else
        cursor.insertText(toQString(withoutCarriageReturns(text)));
    edit_->setTextCursor(cursor);
}

void RichTextBox::LoadFile(const std::string &path, int fileType)
{
    const std::filesystem::path file = hostFile(*this, path);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        raise(err::FileNotFound);
    std::ifstream in(file, std::ios::binary);
    if (!in)
        raise(err::PathFileAccess);
    const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        raise(err::PathFileAccess);
    if (fileType == rtfText) {
        setText(content);
        return;
    }
    if (!rtf::looksLikeRtf(content))
        raise(kInvalidFileFormat, "Invalid file format");
    setTextRTF(content);
}

void RichTextBox::SaveFile(const std::string &path, int fileType)
{
    const std::string content = fileType == rtfText ? Text() : TextRTF();
    const std::filesystem::path target = hostFile(*this, path);
    std::filesystem::path temporary = target;
    temporary += ".velumir-saving";
    std::FILE *out = std::fopen(temporary.c_str(), "wb");
    if (!out)
        raise(err::PathFileAccess);
    bool written = std::fwrite(content.data(), 1, content.size(), out) == content.size();
    written = std::fflush(out) == 0 && written;
    written = ::fsync(fileno(out)) == 0 && written;
    written = std::fclose(out) == 0 && written;
    std::error_code ec;
    if (written)
        std::filesystem::rename(temporary, target, ec);
    if (!written || ec) {
        std::filesystem::remove(temporary, ec);
        raise(err::PathFileAccess);
    }
}

void RichTextBox::SelPrint(QPrinter &printer)
{
    if (!printer.isValid())
        raise(kPrinterError, "Printer error");
    const QTextCursor cursor = edit_->textCursor();
    if (!cursor.hasSelection()) {
        edit_->document()->print(&printer);
        return;
    }
    QTextDocument selection;
    selection.setDefaultFont(edit_->document()->defaultFont());
    QTextCursor(&selection).insertFragment(cursor.selection());
    selection.print(&printer);
}

void RichTextBox::mergeSelectionFormat(const QTextCharFormat &format)
{
    // Applies to the selection when there is one, else to what is typed next.
    edit_->mergeCurrentCharFormat(format);
}

} // namespace rt
