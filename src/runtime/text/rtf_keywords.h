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
};

struct Keyword {
    Word word = Word::Unknown;
    char16_t character = 0; // for Word::Character
};

Keyword lookUp(std::string_view name);

// Code page of an RTF \fcharset value; 0 when the font's bytes go through the
// Windows-1252 table, -1 for the document's own code page (\ansicpg).
int codePageOfCharset(int charset);

// Name of a code page for QStringDecoder, or nullptr when its bytes go through
// the Windows-1252 table.
const char *decoderName(int codePage);

} // namespace rt::rtf::detail
