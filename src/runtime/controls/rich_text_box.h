#pragma once

// A rich-text box over QTextEdit: its text is legacy bytes shown through the
// Windows-1252 table in the box's fonts; line breaks are CR LF to the program.
// The selection's styles read True, False, or Null for a selection that holds
// both; with nothing selected they are those of the insertion point.
// Assigning Null keeps the selection's styles.

#include "runtime/controls/control.h"
#include "runtime/data/variant.h"

#include <functional>
#include <string>

class QMimeData;
class QPrinter;
class QString;
class QTextCharFormat;
class QTextDocument;
class QTextEdit;

namespace rt {

class TextMeasure;

// File types of LoadFile and SaveFile.
constexpr int rtfRTF = 0;
constexpr int rtfText = 1;

// SelAlignment values.
constexpr int rtfLeft = 0;
constexpr int rtfRight = 1;
constexpr int rtfCenter = 2;

class RichTextBox : public Control {
public:
    RichTextBox(Form &form, QWidget *container);

    // Text comes in (by Text, TextRTF, SelRTF, LoadFile, a paste or a drop)
    // only when the box can lay the whole document out in time: at most two
    // million characters, 100 000 paragraphs and 100 000 line breaks, runs
    // without a space whose squared lengths sum to at most 2e9 (one run of
    // 44 721 characters, two million characters in runs of 1000), and text
    // not too tall at the box's width. Text over these limits raises error 7
    // and leaves the document as it was; a refused paste or drop is reported.

    // The whole content as plain text; assigning replaces it.
    std::string Text() const;
    void setText(const std::string &text);

    void setFont(const FontSpec &font);
    void setBackColor(long colorRef);
    void setScrollBars(bool horizontal, bool vertical);

    // The selection, by character positions (from 0).
    long SelStart() const;
    void setSelStart(long start);
    long SelLength() const;
    void setSelLength(long length);
    std::string SelText() const;

    // The colour of the selected text, or of what is typed next at the insertion point.
    long SelColor() const;
    void setSelColor(long colorRef);

    Variant SelBold() const;
    void setSelBold(const Variant &value);
    Variant SelItalic() const;
    void setSelItalic(const Variant &value);
    Variant SelUnderline() const;
    void setSelUnderline(const Variant &value);
    Variant SelStrikeThru() const;
    void setSelStrikeThru(const Variant &value);
    // Points; Null when the selection holds several sizes.
    Variant SelFontSize() const;
    void setSelFontSize(const Variant &points);
    // The family as the host names it, in UTF-8 (as the font dialog gives it).
    Variant SelFontName() const;
    void setSelFontName(const Variant &name);
    // 0 left, 1 right, 2 centre of the selection's paragraphs; Null when they differ.
    Variant SelAlignment() const;
    void setSelAlignment(const Variant &alignment);

    // Lines wrap this many twips from the text's left edge; 0 wraps at the box's
    // edge. A margin at which the text would grow too tall to lay out is refused.
    float RightMargin() const { return rightMargin_; }
    void setRightMargin(float twips);

    // The whole document, and the selection, as RTF. Assigned text that is
    // not RTF is taken as plain text.
    std::string TextRTF() const;
    void setTextRTF(const std::string &rtf);
    std::string SelRTF() const;
    void setSelRTF(const std::string &rtf);

    // Replaces the document with an RTF (0) or text (1) file, whole or not at
    // all: a file that cannot be read, is not RTF, is over 128 MB or holds
    // more than the box takes (above) fails and leaves the document as it
    // was. `path` is the host's, or a Windows path on the drive.
    void LoadFile(const std::string &path, int fileType = rtfRTF);
    // Writes the whole document; the file is replaced only once the new one is
    // complete (see rt::replaceFile). A failure raises the file's error; a
    // document that LoadFile would refuse (typed past the limits above) is
    // not written and raises error 7.
    void SaveFile(const std::string &path, int fileType = rtfRTF);

    // Prints the selection, or the whole text when nothing is selected, with its formatting.
    void SelPrint(QPrinter &printer);

    QTextEdit *editor() const { return edit_; }

private:
    static constexpr const char *kTooLargeToOpen = "The document is too large to open: ";
    static constexpr const char *kTooLarge = "The text is too large for the text box: ";
    static constexpr const char *kTooLargeToPaste = "The text is too large to paste: ";
    static constexpr const char *kTooLargeToSave = "The document is too large to open again once saved: ";

    static QTextEdit *makeEdit(RichTextBox *box, QWidget *container);
    int wrapWidth() const;
    bool fitsAtWidth(int width) const;
    // A measure of text as the box wraps it now.
    TextMeasure measure() const;
    // Raise error 7, its description starting with `what`, unless the box can take the text.
    void checkFits(const TextMeasure &text, const char *what) const;
    void checkText(const QString &text, const char *what) const;
    void checkRtf(const std::string &rtf, const char *what) const;
    static void addRtf(TextMeasure &measure, const std::string &rtf);
    void checkInsertion(const std::function<void(TextMeasure &)> &insert) const;
    bool acceptsPaste(const QMimeData &source);
    // Runs `replace`, which replaces the whole text, keeping the scroll bar and the typing font.
    void replacingText(const std::function<void()> &replace);
    // Replaces the document with one that `fill` makes.
    void replaceDocument(const std::function<void(QTextDocument &)> &fill);
    void setTextAs(const std::string &text, const char *what);
    void setTextRtfAs(const std::string &rtf, const char *what);
    // Applies a character format to the selection, or to the insertion point.
    void mergeSelectionFormat(const QTextCharFormat &format);
    // The value of `property` over the selection: one value, or Null when it differs.
    template <class Read>
    Variant selectionValue(Read read) const;

    QTextEdit *edit_;
    float rightMargin_ = 0;
};

} // namespace rt
