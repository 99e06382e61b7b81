#pragma once

// Reads Rich Text Format into a QTextDocument at a cursor: the text with its
// fonts, sizes, bold, italic, underline, strike-through, colours and paragraph
// alignment. What the document does not model (styles, pictures, headers,
// document information, lists, tables beyond their text) is skipped. Of a
// group in two versions, {\upr{ANSI}{\*\ud{Unicode}}}, the Unicode one is read.
//
// Bytes of the text (\'hh and 8-bit characters) and of font names are decoded
// through the code page of their font; fonts of charset 0 (the legacy Khmer
// fonts among them) and code page 1252 go through the Windows-1252 table of
// legacy_text.h, so every byte written by rt::rtf::writeDocument comes back
// unchanged. A document written on a Macintosh (\mac, \ansicpg10000 and the
// like) has no Windows-1252: there fonts of charset 0 take the document's code
// page, as do charsets the reader does not know (Word for Mac writes 256),
// and the Mac charsets (\fcharset77, 78, ...) their Mac code pages.
// Characters U+F020..U+F0FF (symbol-font bytes) and U+F100 plus one of the
// five bytes that Windows-1252 leaves undefined come back as those bytes too;
// U+0000, U+FFFE and U+FFFF (\u0, \u-1) stand for nothing and are dropped.
//
// Any input ends cleanly, in time and memory bounded by its length:
// - groups nested deeper than kMaxGroupDepth are flattened: their braces are
//   counted, but the formatting they change stays in force until the reader
//   is back at the capped depth;
// - a brace that closes the outermost group ends the reading; what follows is
//   ignored;
// - a group still open at the end keeps what was read (ok is true);
// - numeric parameters are clamped to 32 bits, font sizes to 1..1638 points;
// - the font and colour tables keep at most kMaxFonts and kMaxColors entries;
//   text in an unknown font takes the default font (\deff), if known.
//
// A paragraph ended by \par takes the alignment in effect at its end, once
// the input has set any paragraph alignment (\pard, \ql, \qc, \qr, \qj);
// before that, paragraphs keep the alignment of the paragraph at the cursor.
// The last paragraph, which no \par ends, takes the alignment only when the
// input sets one after the last \par: a run of text pasted without its
// paragraph mark keeps the alignment of the paragraph it lands in. A \par at
// the very end makes an empty paragraph after the text, as anywhere else.

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

class QTextCursor;

namespace rt {
class TextMeasure;
}

namespace rt::rtf {

inline constexpr int kMaxGroupDepth = 1000;
inline constexpr int kMaxFonts = 4096;
inline constexpr int kMaxColors = 4096;

struct ReadResult {
    bool ok = false;
    std::string error;
    // The text went on beyond maxCharacters: the reading stopped there.
    bool tooLong = false;
};

// True when the text starts with "{\rtf" after optional white space.
bool looksLikeRtf(std::string_view text);

// Inserts the formatted content at the cursor, replacing its selection, as one
// undo step; the cursor ends after the content. Input that does not look like
// RTF fails and leaves the document and the selection untouched. At most
// maxCharacters characters (paragraph marks included) are inserted.
ReadResult readInto(std::string_view rtf, QTextCursor &at,
                    std::size_t maxCharacters = std::numeric_limits<std::size_t>::max());

// Reads the text only into the measure, as readInto would insert it: no
// document is made, so even a text far too large to lay out is measured in
// about the time it takes to read its bytes.
ReadResult measure(std::string_view rtf, TextMeasure &measure,
                   std::size_t maxCharacters = std::numeric_limits<std::size_t>::max());

} // namespace rt::rtf
