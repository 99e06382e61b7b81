// The size of text the rich-text box can lay out in time, checked wherever
// text comes in (a file, an assigned Text or TextRTF, SelRTF, a paste or a
// drop) from what the text holds, before any of it is laid out.

#include "runtime/controls/rich_text_box.h"

#include "runtime/errors/runtime_error.h"
#include "runtime/forms/program.h"
#include "runtime/text/legacy_text.h"
#include "runtime/text/rtf_reader.h"
#include "runtime/text/text_measure.h"

#include <QAbstractTextDocumentLayout>
#include <QMimeData>
#include <QPointer>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>

#include <algorithm>
#include <cmath>

namespace rt {

namespace {

constexpr int kOutOfMemory = 7; // "Out of memory"

// What a text may hold to come into the box. Reading and laying out take
// about half a second per million characters, and a paragraph costs as much
// as some twenty-five characters and 0.75 KB. A run without a space that is
// wider than its line is broken where the line ends; the layout looks for a
// word boundary through the rest of the run at each of its lines, so its
// time grows with the square of the run's length: a quarter of a second for
// one run of 45 000 characters, half a second more than ordinary words for
// two million characters in runs of 1000. The layout of a document taller
// than 2^23 pixels never ends: a text comes in while its estimated height at
// the box's width is within 4 million pixels, so that the laid-out height,
// at most twice the estimate, stays under 8 million; the box refuses a
// narrower wrap width at which the text could pass that.
constexpr std::size_t kMaxCharacters = 2'000'000;
constexpr std::size_t kMaxParagraphs = 100'000;
constexpr std::size_t kMaxLineBreaks = 100'000;
constexpr double kMaxUnbrokenWork = 2e9;
constexpr double kMaxLayoutHeight = 8'000'000;
constexpr double kMaxEstimatedHeight = kMaxLayoutHeight / 2;

// "2,000,000"
std::string grouped(std::size_t number)
{
    std::string digits = std::to_string(number);
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, ",");
    return digits;
}

// The text edit of the box: a paste or a drop comes in only once the box has
// seen that the box can take it.
class BoxEdit : public QTextEdit {
public:
    BoxEdit(QWidget *parent, std::function<bool(const QMimeData &)> accepts)
        : QTextEdit(parent), accepts_(std::move(accepts))
    {
    }

protected:
    void insertFromMimeData(const QMimeData *source) override
    {
        if (source && accepts_(*source))
            QTextEdit::insertFromMimeData(source);
    }

private:
    std::function<bool(const QMimeData &)> accepts_;
};

} // namespace

QTextEdit *RichTextBox::makeEdit(RichTextBox *box, QWidget *container)
{
    return new BoxEdit(container, [box](const QMimeData &source) { return box->acceptsPaste(source); });
}

TextMeasure RichTextBox::measure() const
{
    const QTextDocument *box = edit_->document();
    const double margins = 2 * box->documentMargin();
    const int width = wrapWidth();
    return TextMeasure(box->defaultFont(), width > 0 ? std::max(1.0, width - margins) : 0,
                       box->defaultTextOption().tabStopDistance());
}

void RichTextBox::checkFits(const TextMeasure &text, const char *what) const
{
    auto refuse = [what](const std::string &why) { raise(kOutOfMemory, what + why); };
    if (text.characters() > kMaxCharacters)
        refuse("it holds more than " + grouped(kMaxCharacters) + " characters.");
    if (text.paragraphs() > kMaxParagraphs)
        refuse("it holds more than " + grouped(kMaxParagraphs) + " paragraphs.");
    if (text.lineBreaks() > kMaxLineBreaks)
        refuse("it holds more than " + grouped(kMaxLineBreaks) + " line breaks.");
    if (text.unbrokenWork() > kMaxUnbrokenWork)
        refuse("its words without a space (the longest of " + grouped(text.longestRun()) +
               " characters) are too long for the text box to break into lines in time.");
    if (text.height() > kMaxEstimatedHeight)
        refuse("its text would be too tall for the text box at this width.");
}

void RichTextBox::checkText(const QString &text, const char *what) const
{
    TextMeasure m = measure();
    // A text far over the limit is measured only as far as the limit.
    m.addText(QStringView(text).left(qsizetype(kMaxCharacters) + 1), QTextCharFormat());
    checkFits(m, what);
}

// Reads no further than one character beyond the limit.
void RichTextBox::addRtf(TextMeasure &measure, const std::string &rtf)
{
    rtf::measure(rtf, measure, kMaxCharacters + 1);
}

void RichTextBox::checkRtf(const std::string &rtf, const char *what) const
{
    TextMeasure m = measure();
    addRtf(m, rtf);
    checkFits(m, what);
}

// The document as it would be with the selection replaced by what `insert` adds.
void RichTextBox::checkInsertion(const std::function<void(TextMeasure &)> &insert) const
{
    const QTextCursor cursor = edit_->textCursor();
    const QTextDocument &document = *edit_->document();
    TextMeasure m = measure();
    m.addDocument(document, 0, cursor.selectionStart());
    insert(m);
    m.addDocument(document, cursor.selectionEnd());
    checkFits(m, kTooLargeToPaste);
}

bool RichTextBox::acceptsPaste(const QMimeData &source)
{
    try {
        // The same choice of format as the text edit's own paste.
        QTextDocumentFragment fragment;
        if (source.hasHtml() && edit_->acceptRichText())
            fragment = QTextDocumentFragment::fromHtml(source.html(), edit_->document());
        else if (source.hasText())
            fragment = QTextDocumentFragment::fromPlainText(source.text());
        QTextDocument pasted;
        QTextCursor(&pasted).insertFragment(fragment);
        checkInsertion([&](TextMeasure &m) { m.addDocument(pasted); });
        return true;
    } catch (RuntimeError &e) {
        program().report(e);
        return false;
    }
}

void RichTextBox::replaceDocument(const std::function<void(QTextDocument &)> &fill)
{
    // The text is read into a document of its own, which nothing lays out,
    // and is then laid out once, in the box.
    const QPointer<QTextDocument> old = edit_->document();
    auto *document = new QTextDocument(edit_);
    document->setUndoRedoEnabled(old->isUndoRedoEnabled());
    document->setDefaultFont(old->defaultFont());
    document->setDefaultTextOption(old->defaultTextOption());
    document->setDocumentMargin(old->documentMargin());
    document->setIndentWidth(old->indentWidth());
    document->setUseDesignMetrics(old->useDesignMetrics());
    fill(*document);
    replacingText([&] { edit_->setDocument(document); });
    // The edit deletes a document that is its child; whatever else is left goes here.
    if (old && old != edit_->document())
        delete old.data();
}

int RichTextBox::wrapWidth() const
{
    switch (edit_->lineWrapMode()) {
    case QTextEdit::FixedPixelWidth: return edit_->lineWrapColumnOrWidth();
    case QTextEdit::NoWrap: return 0;
    default: return edit_->viewport()->width();
    }
}

// Whether the text, wrapped at `width` pixels, stays within the height its
// layout can reach. At a narrower width a paragraph has at most its lines
// times the ratio of the widths, plus one.
bool RichTextBox::fitsAtWidth(int width) const
{
    const int now = wrapWidth();
    if (now <= 0 || width >= now)
        return true;
    const double height = edit_->document()->documentLayout()->documentSize().height();
    return height * (double(now) / std::max(1, width) + 1) <= kMaxLayoutHeight;
}

} // namespace rt
