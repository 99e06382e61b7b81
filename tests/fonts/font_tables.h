#pragma once

// The tables the stand-in fonts are made from (tools/fonts), read by the
// font tests: the legacy encoding's bytes and the families with their
// source fonts; and how the text engine lays a text out in a font.

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QString>

#include <string>
#include <vector>

namespace testing_support {

struct EncodedByte {
    unsigned char byte;
    std::string role; // base, joins, pre, after, sub, below, above, part
    QString text;     // the Unicode Khmer it stands for

    QString legacy() const;
    bool isLetter() const;
};

// A character written with several bytes, the last of them a part (the
// hook or tail of an independent vowel, the larger subscript NYO).
struct Spelling {
    std::string bytes;
    QString text; // the Unicode Khmer it stands for

    QString legacy() const;
};

struct StandIn {
    QString family;
    std::string file;   // in the program's fonts folder
    std::string source; // under /usr/share/fonts
};

std::vector<EncodedByte> legacyEncoding();
std::vector<Spelling> spellings();
std::vector<StandIn> standIns();

// The glyph runs of a text in a font, as the text engine lays it out.
QList<QGlyphRun> glyphRuns(const QFont &font, const QString &text);

} // namespace testing_support
