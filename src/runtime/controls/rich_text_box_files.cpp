// The rich-text box's files (LoadFile, SaveFile) and the size of document it
// can lay out.

#include "runtime/controls/rich_text_box.h"

#include "runtime/errors/runtime_error.h"
#include "runtime/forms/program.h"
#include "runtime/system/file_access.h"
#include "runtime/text/legacy_text.h"
#include "runtime/text/rtf_reader.h"
#include "runtime/text/rtf_writer.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextEdit>

#include <algorithm>
#include <filesystem>

namespace rt {

namespace {

constexpr int kOutOfMemory = 7;         // "Out of memory"
constexpr int kInvalidFileFormat = 321; // "Invalid file format"

// What a document may hold to be opened. Reading it and laying it out take
// about half a second per million characters, and laying out a word that is
// wider than a line takes time that grows with the square of its length
// (3 s for 128 000 characters). The layout of a document taller than
// 2^23 pixels (where its one "page" ends) never ends: ten million characters
// of ordinary text reach that at an ordinary width, a narrow window or large
// type far sooner. A document opens when it lies within half that height at
// the box's width, which leaves room to narrow the box; the box refuses a
// narrower wrap width at which the text could pass the height.
constexpr std::size_t kMaxFileBytes = 64 * 1024 * 1024;
constexpr std::size_t kMaxCharacters = 2'000'000;
constexpr int kMaxUnbrokenRun = 1000;
constexpr double kMaxLayoutHeight = 8'000'000;
constexpr double kMaxOpenedHeight = kMaxLayoutHeight / 2;

std::filesystem::path hostFile(const Control &control, const std::string &path)
{
    return control.program().drive().hostPath(path, control.program().Path());
}

[[noreturn]] void tooLarge(const std::string &why)
{
    raise(kOutOfMemory, "The document is too large to open: " + why);
}

// "2,000,000"
std::string grouped(std::size_t number)
{
    std::string digits = std::to_string(number);
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, ",");
    return digits;
}

// The most characters in one paragraph between two places where a line may
// break, the spaces before a break not counted.
int longestUnbrokenRun(const QTextDocument &document)
{
    int longest = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.length() - 1 <= longest)
            continue;
        const QString text = block.text();
        QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
        for (qsizetype last = 0, at = breaks.toNextBoundary(); at >= 0; last = at, at = breaks.toNextBoundary()) {
            qsizetype end = at;
            while (end > last && text.at(end - 1).isSpace())
                --end;
            longest = std::max(longest, int(end - last));
        }
    }
    return longest;
}

} // namespace

void RichTextBox::LoadFile(const std::string &path, int fileType)
{
    if (fileType != rtfRTF && fileType != rtfText)
        raise(err::InvalidPropertyValue);
    const std::string content = readWholeFile(hostFile(*this, path), kMaxFileBytes);
    if (fileType == rtfRTF && !rtf::looksLikeRtf(content))
        raise(kInvalidFileFormat, "Invalid file format");
    // Reading takes little time beside laying out, so the file is read twice:
    // on the side, to see that all of it fits, and only then into the box.
    checkFits(content, fileType);
    if (fileType == rtfText)
        setText(content);
    else
        setTextRTF(content);
}

void RichTextBox::SaveFile(const std::string &path, int fileType)
{
    if (fileType != rtfRTF && fileType != rtfText)
        raise(err::InvalidPropertyValue);
    const std::string content = fileType == rtfText ? Text() : TextRTF();
    if (const int error = replaceFile(hostFile(*this, path), content))
        raiseFileError(error, FileAction::Write);
}

// Raises error 7 unless the content, as the box would hold it, is short
// enough, has no word too long to break, and lies within the height the box
// may lay out at its width.
void RichTextBox::checkFits(const std::string &content, int fileType) const
{
    const QTextDocument *box = edit_->document();
    QTextDocument document;
    document.setUndoRedoEnabled(false);
    document.setDefaultFont(box->defaultFont());
    document.setDefaultTextOption(box->defaultTextOption());
    document.setDocumentMargin(box->documentMargin());
    document.setIndentWidth(box->indentWidth());
    document.setUseDesignMetrics(box->useDesignMetrics());

    bool tooLong = false;
    if (fileType == rtfText) {
        const QString text = toQString(withoutCarriageReturns(content));
        tooLong = std::size_t(text.size()) > kMaxCharacters;
        if (!tooLong)
            document.setPlainText(text);
    } else {
        QTextCursor cursor(&document);
        tooLong = rtf::readInto(content, cursor, kMaxCharacters).tooLong;
    }
    if (tooLong)
        tooLarge("it holds more than " + grouped(kMaxCharacters) + " characters.");
    if (longestUnbrokenRun(document) > kMaxUnbrokenRun)
        tooLarge("it holds a word of more than " + grouped(kMaxUnbrokenRun) +
                 " characters, which the text box cannot break into lines in time.");
    // Laid out in pages of the height it may have: a second page is too much.
    const int width = wrapWidth();
    document.setPageSize(QSizeF(width > 0 ? width : QWIDGETSIZE_MAX, kMaxOpenedHeight));
    if (document.pageCount() > 1)
        tooLarge("its text would be too tall for the text box at this width.");
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
