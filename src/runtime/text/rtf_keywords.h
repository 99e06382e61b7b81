#pragma once

// The control words the RTF reader acts on, and the code pages of RTF font
// charsets. Internal to the reader.

#include <string_view>

namespace rt::rtf::detail {

enum class Word : unsigned char {
    Unknown,
    // document header
    Ansi, Mac, Pc, Pca, AnsiCpg, DefFont,
    // destinations
    FontTable, ColorTable, Skipped,
    // font and colour table entries
    Font, FontCharset, CodePage, Red, Green, Blue,
    // character formatting
    Plain, Bold, Italic, Underline, UnderlineNone, Strike, FontSize, Color, Hidden,
    // paragraph formatting
    ParDefault, AlignLeft, AlignCentre, AlignRight, AlignJustify,
    // breaks and characters
    Paragraph, Line, Tab, Character,
    // Unicode and binary data
    Unicode, UnicodeSkip, Binary,
    // a group in two versions: {\upr{ANSI}{\*\ud{Unicode}}}
    UnicodePair,
};

struct Keyword {
    Word word = Word::Unknown;
    char16_t character = 0; // for Word::Character
};

Keyword lookUp(std::string_view name);

// What a font's code page may be besides a code page number.
inline constexpr int kDocumentCodePage = -1; // the document's own (\ansicpg, \mac)
inline constexpr int kAnsiCodePage = -2;     // Windows-1252, or the document's on a Mac

// Code page of an RTF \fcharset value: a number, kDocumentCodePage or
// kAnsiCodePage; 0 when the font's bytes go through the Windows-1252 table.
int codePageOfCharset(int charset);

// Whether text of a document in this code page was written on a Macintosh,
// whose fonts of the ANSI charset hold their bytes in the document's code page.
bool isMacCodePage(int codePage);

// Name of a code page for QStringDecoder, or nullptr when its bytes go through
// the Windows-1252 table.
const char *decoderName(int codePage);

} // namespace rt::rtf::detail
