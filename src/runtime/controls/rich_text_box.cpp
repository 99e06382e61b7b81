#include "runtime/controls/rich_text_box.h"

#include "runtime/errors/runtime_error.h"
#include "runtime/text/legacy_text.h"
#include "runtime/text/rtf_reader.h"
#include "runtime/text/rtf_writer.h"
#include "runtime/text/text_measure.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextEdit>

#include <algorithm>
#include <cmath>
#include <optional>

namespace rt {

namespace {

constexpr int kPrinterError = 482; // "Printer error"

Variant alignmentOf(const QTextBlockFormat &format)
{
    const Qt::Alignment a = format.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignHCenter)
        return Variant(rtfCenter);
    if (a & (Qt::AlignRight | Qt::AlignTrailing))
        return Variant(rtfRight);
    return Variant(rtfLeft);
}

// Prints the document on the printer as the printer is set up: its page
// range and copies come from the printer dialog. The text prints alone,
// without the page numbers that QTextDocument::print adds to each page.
void printPages(QTextDocument &document, QPrinter &printer)
{
    QPainter painter;
    if (!painter.begin(&printer))
        raise(kPrinterError, "Printer error");
    QAbstractTextDocumentLayout *layout = document.documentLayout();
    layout->setPaintDevice(&printer);
    const QSizeF page = printer.pageLayout().paintRectPixels(printer.resolution()).size();
    document.setPageSize(page);

    const int count = document.pageCount();
    const int first = printer.fromPage() > 0 ? std::min(printer.fromPage(), count) : 1;
    const int last = printer.toPage() > 0 ? std::min(printer.toPage(), count) : count;
    // A printer that makes the copies itself gets each page once.
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    const bool collate = printer.collateCopies();
    bool firstSheet = true;
    auto printPage = [&](int number) {
        if (!firstSheet && !printer.newPage())
            raise(kPrinterError, "Printer error");
        firstSheet = false;
        const QRectF area(QPointF(0, (number - 1) * page.height()), page);
        painter.save();
        painter.translate(0, -area.top());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = area;
        layout->draw(&painter, context);
        painter.restore();
    };
    for (int round = 0; round < (collate ? copies : 1); ++round)
        for (int number = first; number <= last; ++number)
            for (int copy = 0; copy < (collate ? 1 : copies); ++copy)
                printPage(number);
    if (!painter.end())
        raise(kPrinterError, "Printer error");
}

} // namespace

RichTextBox::RichTextBox(Form &form, QWidget *container)
    : Control(form, container, makeEdit(this, container)), edit_(static_cast<QTextEdit *>(widget()))
{
    edit_->setAcceptRichText(true);
    edit_->setTabChangesFocus(false);
    // A word longer than its line breaks where the line ends.
    edit_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
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
    setTextAs(text, kTooLarge);
}

void RichTextBox::setTextAs(const std::string &bytes, const char *what)
{
    const QString text = toQString(withoutCarriageReturns(bytes));
    checkText(text, what);
    replacingText([&] { edit_->setPlainText(text); });
}

void RichTextBox::replacingText(const std::function<void()> &replace)
{
    const QFont font = edit_->font();
    // Replacing the text empties the document first, which hides a vertical
    // scroll bar shown "as needed"; a long new text then brings it back, and
    // the whole text is laid out twice, at two widths. The bar stays shown
    // while the text is replaced, and only then goes if the new text fits.
    const Qt::ScrollBarPolicy vertical = edit_->verticalScrollBarPolicy();
    const bool keepBar = vertical == Qt::ScrollBarAsNeeded;
    if (keepBar)
        edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    replace();
    if (keepBar)
        edit_->setVerticalScrollBarPolicy(vertical);
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
        return Variant((families.isEmpty() ? fallback : families.constFirst()).toStdString());
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
    format.setFontFamilies({QString::fromStdString(family)});
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
    // The wrap width counts the document's margins on both sides of the text.
    const int margins = int(std::lround(2 * edit_->document()->documentMargin()));
    const int width = twips == 0 ? edit_->viewport()->width() : std::max(1, toPixels(twips)) + margins;
    if (!fitsAtWidth(width))
        raise(err::InvalidPropertyValue);
    rightMargin_ = twips;
    if (twips == 0) {
        edit_->setLineWrapMode(QTextEdit::WidgetWidth);
    } else {
        edit_->setLineWrapMode(QTextEdit::FixedPixelWidth);
        edit_->setLineWrapColumnOrWidth(width);
    }
}

std::string RichTextBox::TextRTF() const
{
    return rtf::writeDocument(*edit_->document());
}

void RichTextBox::setTextRTF(const std::string &text)
{
    setTextRtfAs(text, kTooLarge);
}

void RichTextBox::setTextRtfAs(const std::string &text, const char *what)
{
    if (!rtf::looksLikeRtf(text)) {
        setTextAs(text, what);
        return;
    }
    checkRtf(text, what);
    replaceDocument([&](QTextDocument &document) {
        QTextCursor cursor(&document);
        rtf::readInto(text, cursor);
    });
    edit_->moveCursor(QTextCursor::Start);
}

std::string RichTextBox::SelRTF() const
{
    return rtf::writeSelection(edit_->textCursor());
}

void RichTextBox::setSelRTF(const std::string &text)
{
    const bool isRtf = rtf::looksLikeRtf(text);
    const QString plain = isRtf ? QString() : toQString(withoutCarriageReturns(text));
    checkInsertion([&](TextMeasure &m) {
        if (isRtf)
            addRtf(m, text);
        else
            m.addText(plain, edit_->currentCharFormat());
    });
    QTextCursor cursor = edit_->textCursor();
    if (isRtf)
        rtf::readInto(text, cursor);
    else
        cursor.insertText(plain);
    edit_->setTextCursor(cursor);
}

void RichTextBox::SelPrint(QPrinter &printer)
{
    if (!printer.isValid())
        raise(kPrinterError, "Printer error");
    // A copy of what prints, so that the layout for the printer leaves the pane's own alone.
    const QTextCursor cursor = edit_->textCursor();
    QTextDocument copy;
    copy.setDefaultFont(edit_->document()->defaultFont());
    copy.setDefaultTextOption(edit_->document()->defaultTextOption());
    QTextCursor(&copy).insertFragment(cursor.hasSelection() ? cursor.selection()
                                                            : QTextDocumentFragment(edit_->document()));
    printPages(copy, printer);
}

void RichTextBox::mergeSelectionFormat(const QTextCharFormat &format)
{
    // Applies to the selection when there is one, else to what is typed next.
    edit_->mergeCurrentCharFormat(format);
}

} // namespace rt
