// The stand-in fonts: every byte of the legacy encoding has its glyph, and
// pairs of bytes draw as the source font draws the Unicode text they stand
// for.

#include "fonts/font_tables.h"

#include "runtime/system/fonts.h"
#include "runtime/system/program_files.h"
#include "runtime/text/legacy_text.h"

#include <QFontDatabase>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

using namespace testing_support;

namespace {

class StandInFonts : public ::testing::Test {
protected:
    static void SetUpTestSuite() { rt::loadStandInFonts(rt::programData("fonts")); }
};

bool isStandIn(const QRawFont &font)
{
    return font.fontTable("name").contains(QByteArray("\0V\0e\0l\0u\0m\0i\0r", 14));
}

// Short texts drawn in a font at `size`, each in a square of its own, in a
// row on a white image whose points are pixels.
QImage draw(QFont font, double size, const QStringList &texts, int square)
{
    font.setPointSizeF(size);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::NoFontMerging);
    QImage image(square * int(texts.size()), square, QImage::Format_Grayscale8);
    image.setDotsPerMeterX(2835); // 72 dots an inch
    image.setDotsPerMeterY(2835);
    image.fill(255);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (int i = 0; i < texts.size(); ++i)
        painter.drawText(QPointF(square * (i + 0.25), square * 0.6), texts[i]);
    return image;
}

// How far two drawings differ in the columns `left` to `right`: pixels
// inked in one with no inked pixel at or next to them in the other, per
// inked pixel of the second. (Edges a fraction of a pixel apart, as the two
// fonts' scales round, do not count.)
double difference(const QImage &a, const QImage &b, int left, int right)
{
    auto inked = [](const QImage &image, int x, int y) {
        return x >= 0 && y >= 0 && x < image.width() && y < image.height() && image.constScanLine(y)[x] < 128;
    };
    auto near = [&](const QImage &image, int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (inked(image, x + dx, y + dy))
                    return true;
        return false;
    };
    long differing = 0, ink = 0;
    for (int y = 0; y < a.height(); ++y) {
        const uchar *rowA = a.constScanLine(y), *rowB = b.constScanLine(y);
        for (int x = left; x < right; ++x) {
            const bool inA = rowA[x] < 128, inB = rowB[x] < 128;
            ink += inB;
            if (inA != inB)
                differing += inA ? !near(b, x, y) : !near(a, x, y);
        }
    }
    return ink ? double(differing) / double(ink) : 1.0;
}

} // namespace

TEST_F(StandInFonts, EveryByteOfTheEncodingHasItsGlyph)
{
    const auto encoding = legacyEncoding();
    for (const StandIn &standIn : standIns()) {
        const QRawFont raw = QRawFont::fromFont(QFont(standIn.family));
        ASSERT_TRUE(isStandIn(raw)) << standIn.family.toStdString();
        for (const EncodedByte &e : encoding)
            EXPECT_TRUE(raw.supportsCharacter(e.legacy().at(0))) << standIn.family.toStdString() << " " << int(e.byte);
    }
}

namespace {

// A byte with the letters, or a subscript with a vowel, in legacy and
// Unicode text; `parts` the Unicode pieces each drawn as on their own.
struct Cell {
    QString legacy, unicode;
    QStringList parts;
};

struct Line {
    QString what;
    std::vector<Cell> cells;
};

std::vector<Line> pairLines()
{
    const auto encoding = legacyEncoding();
    auto with = [&](auto keep) {
        std::vector<EncodedByte> out;
        std::copy_if(encoding.begin(), encoding.end(), std::back_inserter(out), keep);
        return out;
    };
    const auto letters = with([](const EncodedByte &e) { return e.isLetter(); });
    const EncodedByte ka = with([](const EncodedByte &e) { return e.byte == 'k'; }).front();
    // The vowels in two parts: their first part is the vowel E, byte "e".
    const QString twoParts = QString::fromUtf8("\u17BF\u17C0\u17C5");

    // One line per byte that stands beside a letter: with every letter. (The
    // encoding writes BA before AA and AU as byte ")", and NYO over a
    // subscript or a vowel below as "Ba", PO and AA, which draw NYO
    // without its tail.)
    std::vector<Line> lines;
    for (const EncodedByte &e : encoding) {
        if (e.role == "base" || e.role == "joins" || e.role == "part")
            continue;
        Line line{QString("byte %1").arg(int(e.byte), 2, 16), {}};
        for (const EncodedByte &l : letters) {
            QString letter = l.legacy();
            if (l.byte == 'b' && (e.byte == 'a' || e.byte == 'A'))
                letter = ")";
            if (l.byte == 'j' && e.role == "sub")
                letter = "Ba";
            const QString legacy = e.role == "pre" ? e.legacy() + letter
                                                   : (twoParts.contains(e.text) ? "e" : "") + letter + e.legacy();
            line.cells.push_back({legacy, l.text + e.text, {l.text, e.text}});
        }
        lines.push_back(line);
    }
    // Vowels below under each subscript (that has no vowel of its own).
    for (const EncodedByte &v : with([](const EncodedByte &e) { return e.role == "below"; })) {
        Line line{QString("subscripts with byte %1").arg(int(v.byte), 2, 16), {}};
        for (const EncodedByte &s : with([](const EncodedByte &e) { return e.role == "sub" && e.text.size() == 2; }))
            line.cells.push_back({ka.legacy() + s.legacy() + v.legacy(), ka.text + s.text + v.text, {ka.text, s.text, v.text}});
        lines.push_back(line);
    }
    return lines;
}

QList<quint32> glyphsOf(const QFont &font, const QString &text)
{
    QList<quint32> glyphs;
    for (const QGlyphRun &run : glyphRuns(font, text))
        glyphs += run.glyphIndexes();
    std::sort(glyphs.begin(), glyphs.end());
    return glyphs;
}

// Whether the font draws the pieces of a text together with the glyphs it
// draws them with on their own (a mark after KA), rather than with others.
bool drawnAsItsParts(const QFont &font, const Cell &cell)
{
    const QString ka = QString::fromUtf8("\u1780");
    QList<quint32> own = glyphsOf(font, cell.parts.front());
    for (qsizetype i = 1; i < cell.parts.size(); ++i) {
        QList<quint32> afterKa = glyphsOf(font, ka + cell.parts[i]);
        for (quint32 g : glyphsOf(font, ka))
            afterKa.removeOne(g);
        own += afterKa;
    }
    std::sort(own.begin(), own.end());
    return own == glyphsOf(font, cell.unicode);
}

// The box around the ink in the columns `left` to `right`.
QRect inkBox(const QImage &image, int left, int right)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        const uchar *row = image.constScanLine(y);
        for (int x = left; x < right; ++x) {
            if (row[x] < 128)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

} // namespace

// A stand-in and its source font, and the sizes at which the glyphs of both
// are drawn the same: sizes in the ratio of their units per em, both whole
// pixels (as the text engine takes them).
struct Drawing {
    QFont standIn, source;
    double standInSize = 60, sourceSize = 60;
    int square = 120;

    explicit Drawing(const StandIn &font)
        : standIn(font.family)
    {
        const int added = QFontDatabase::addApplicationFont(QString("/usr/share/fonts/") +
                                                            QString::fromStdString(font.source));
        if (added < 0)
            throw std::runtime_error("cannot read " + font.source);
        source = QFont(QFontDatabase::applicationFontFamilies(added).front());
        const double ratio = QRawFont::fromFont(source).unitsPerEm() / QRawFont::fromFont(standIn).unitsPerEm();
        for (double s = 60; s <= 100; ++s) {
            if (std::abs(s * ratio - std::round(s * ratio)) <
                std::abs(standInSize * ratio - std::round(standInSize * ratio)))
                standInSize = s;
        }
        sourceSize = std::round(standInSize * ratio);
        square = int(standInSize * 2);
    }
};

// Where the source font draws a pair with the glyphs of its parts, the
// stand-in draws it the same to the pixel; where the source font draws it
// with other glyphs (a letter joined with AA, NYO without its tail, a
// narrower subscript), which the stand-in does not copy, about the same
// place (it keeps the usual glyph, as the legacy fonts do).
TEST_F(StandInFonts, PairsDrawAsTheSourceFontDrawsTheirUnicodeText)
{
    const std::vector<Line> lines = pairLines();
    for (const StandIn &standIn : standIns()) {
        const Drawing fonts(standIn);
        const QFont &standInFont = fonts.standIn, &sourceFont = fonts.source;
        const int square = fonts.square;
        for (const Line &line : lines) {
            QStringList legacy, unicode;
            for (const Cell &cell : line.cells) {
                legacy << cell.legacy;
                unicode << cell.unicode;
            }
            const QImage drawn = draw(standInFont, fonts.standInSize, legacy, square);
            const QImage expected = draw(sourceFont, fonts.sourceSize, unicode, square);
            for (int i = 0; i < int(line.cells.size()); ++i) {
                const Cell &cell = line.cells[std::size_t(i)];
                const std::string what = standIn.family.toStdString() + ", " + line.what.toStdString() + ": " +
                                         rt::fromQString(cell.legacy) + " drawn unlike " + cell.unicode.toStdString();
                if (drawnAsItsParts(sourceFont, cell)) {
                    EXPECT_LT(difference(drawn, expected, square * i, square * (i + 1)), 0.01) << what;
                    continue;
                }
                const QRect a = inkBox(drawn, square * i, square * (i + 1));
                const QRect b = inkBox(expected, square * i, square * (i + 1));
                const QRect both = a & b;
                const double overlap = double(both.width()) * both.height() / (double(a.width()) * a.height() +
                                       double(b.width()) * b.height() - double(both.width()) * both.height());
                EXPECT_GT(overlap, 0.45) << what;
            }
        }
    }
}

// The independent vowels RY, RYY, LY and LYY, written as BA or PO and the
// hook or tail the vowel adds, draw as the source font draws the vowel, to
// the pixel (its one glyph holds the letter's outline); NYO over its
// subscript, written as PO, AA and the larger subscript, nearly so (the
// source font's NYO without its tail is not quite PO and AA).
TEST_F(StandInFonts, SpelledCharactersDrawAsTheSourceFontDrawsThem)
{
    const std::vector<Spelling> spelled = spellings();
    ASSERT_EQ(spelled.size(), 5u);
    QStringList legacy, unicode;
    for (const Spelling &s : spelled) {
        legacy << s.legacy();
        unicode << s.text;
    }
    for (const StandIn &standIn : standIns()) {
        const Drawing fonts(standIn);
        const QImage drawn = draw(fonts.standIn, fonts.standInSize, legacy, fonts.square);
        const QImage expected = draw(fonts.source, fonts.sourceSize, unicode, fonts.square);
        for (int i = 0; i < int(spelled.size()); ++i) {
            const Spelling &s = spelled[std::size_t(i)];
            const double allowed = glyphsOf(fonts.source, s.text).size() == 1 ? 0.01 : 0.03;
            EXPECT_LT(difference(drawn, expected, fonts.square * i, fonts.square * (i + 1)), allowed)
                << standIn.family.toStdString() << ": " << s.legacy().toStdString() << " drawn unlike "
                << s.text.toStdString();
        }
    }
}
