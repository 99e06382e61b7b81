#include "runtime/text/legacy_text.h"
#include "runtime/text/rtf_reader.h"
#include "runtime/text/rtf_writer.h"
#include "runtime/text/text_measure.h"

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using Build = std::function<void(QTextCursor &)>;

QTextCharFormat fmt(const char *family = "Limon S1", double points = 12)
{
    QTextCharFormat f;
    f.setFontFamilies({QString::fromLatin1(family)});
    f.setFontPointSize(points);
    return f;
}

void put(QTextCursor &c, std::string_view bytes, const QTextCharFormat &f = fmt())
{
    c.insertText(rt::toQString(bytes), f);
}

QString alignmentName(const QTextBlock &b)
{
    const Qt::Alignment a = b.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignHCenter) return "centre";
    if (a & Qt::AlignJustify) return "justify";
    if (a & Qt::AlignRight) return "right";
    return "left";
}

// The text of a document with what the file format keeps of its formatting,
// runs of equal formatting joined, defaults resolved as a reader sees them.
QString describe(const QTextDocument &doc)
{
    QString out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        out += "[" + alignmentName(b) + "]";
        QString last;
        for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const QStringList families = f.fontFamilies().toStringList();
            const QString family = families.isEmpty() ? doc.defaultFont().family() : families.first();
            const double points = f.fontPointSize() > 0 ? f.fontPointSize() : doc.defaultFont().pointSizeF();
            QString attrs = QString("%1 %2%3%4%5%6 %7")
                                .arg(family)
                                .arg(points)
                                .arg(f.fontWeight() >= QFont::DemiBold ? "b" : "")
                                .arg(f.fontItalic() ? "i" : "")
                                .arg(f.fontUnderline() ? "u" : "")
                                .arg(f.fontStrikeOut() ? "s" : "")
                                .arg(f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color().name() : "auto");
            if (attrs != last)
                out += "<" + attrs + ">";
            last = attrs;
            out += it.fragment().text();
        }
        out += "\n";
    }
    return out;
}

std::unique_ptr<QTextDocument> read(std::string_view rtf, bool *ok = nullptr)
{
    auto doc = std::make_unique<QTextDocument>();
    QTextCursor c(doc.get());
    const rt::rtf::ReadResult r = rt::rtf::readInto(rtf, c);
    if (ok)
        *ok = r.ok;
    else
        EXPECT_TRUE(r.ok) << r.error;
    return doc;
}

// The text with paragraphs as line feeds and every other character as it stands.
QString plainText(const QTextDocument &doc)
{
    QString text = doc.toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

QTextCharFormat formatAt(const QTextDocument &doc, int position)
{
    QTextCursor c(const_cast<QTextDocument *>(&doc));
    c.setPosition(position + 1);
    return c.charFormat();
}

QString familyAt(const QTextDocument &doc, int position)
{
    const QStringList f = formatAt(doc, position).fontFamilies().toStringList();
    return f.isEmpty() ? QString() : f.first();
}

std::string rtfOf(std::string_view body, std::string_view fonts = "{\\fonttbl{\\f0\\fnil\\fcharset0 Limon S1;}}")
{
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0" + std::string(fonts) + std::string(body) + "}";
}

// --- round trips ---------------------------------------------------------

struct RoundTrip {
    const char *name;
    Build build;
};

QTextCharFormat with(std::function<void(QTextCharFormat &)> change)
{
    QTextCharFormat f = fmt();
    change(f);
    return f;
}

void threeRuns(QTextCursor &c, const QTextCharFormat &middle)
{
    put(c, "plain ");
    put(c, "changed", middle);
    put(c, " plain again");
}

void alignedParagraph(QTextCursor &c, Qt::Alignment a, std::string_view text, bool first = false)
{
    if (!first)
        c.insertBlock();
    QTextBlockFormat b;
    b.setAlignment(a);
    c.setBlockFormat(b);
    put(c, text);
}

const RoundTrip kRoundTrips[] = {
    {"plain text", [](QTextCursor &c) { put(c, "Hello world"); }},
    {"bold", [](QTextCursor &c) { threeRuns(c, with([](auto &f) { f.setFontWeight(QFont::Bold); })); }},
    {"italic", [](QTextCursor &c) { threeRuns(c, with([](auto &f) { f.setFontItalic(true); })); }},
    {"underline", [](QTextCursor &c) { threeRuns(c, with([](auto &f) { f.setFontUnderline(true); })); }},
    {"strike-through", [](QTextCursor &c) { threeRuns(c, with([](auto &f) { f.setFontStrikeOut(true); })); }},
    {"all styles at once", [](QTextCursor &c) {
         threeRuns(c, with([](auto &f) {
             f.setFontWeight(QFont::Bold);
             f.setFontItalic(true);
             f.setFontUnderline(true);
             f.setFontStrikeOut(true);
         }));
     }},
    {"sizes", [](QTextCursor &c) {
         for (double pt : {7.5, 10.5, 12.0, 36.0, 1638.0})
             put(c, "x", fmt("Limon S1", pt));
     }},
    {"colours", [](QTextCursor &c) {
         for (QColor col : {QColor(255, 0, 0), QColor(0, 128, 0), QColor(), QColor(1, 2, 3), QColor(255, 0, 0)}) {
             QTextCharFormat f = fmt();
             if (col.isValid())
                 f.setForeground(col);
             put(c, "c", f);
         }
     }},
    {"several fonts", [](QTextCursor &c) {
         for (const char *family : {"Limon S1", "Limon R1", "Arial", "Limon S1", "Khmer OS"})
             put(c, "f", fmt(family));
     }},
    {"every legacy byte", [](QTextCursor &c) {
         std::string bytes;
         for (int b = 0x80; b <= 0xFF; ++b)
             bytes += char(b);
         put(c, bytes);
         c.insertBlock();
         std::string ascii;
         for (int b = 0x20; b < 0x80; ++b)
             ascii += char(b);
         put(c, ascii); // with \ { } and ;
     }},
    {"alignment", [](QTextCursor &c) {
         alignedParagraph(c, Qt::AlignLeft, "left", true);
         alignedParagraph(c, Qt::AlignHCenter, "centre");
         alignedParagraph(c, Qt::AlignRight, "right");
         alignedParagraph(c, Qt::AlignJustify, "justified");
     }},
    {"empty document", [](QTextCursor &) {}},
    {"empty paragraphs", [](QTextCursor &c) {
         put(c, "a");
         c.insertBlock();
         c.insertBlock();
         put(c, "b");
         c.insertBlock();
     }},
    {"tab and line break", [](QTextCursor &c) { c.insertText(QString("a\tb") + QChar::LineSeparator + "c", fmt()); }},
    {"characters outside the byte table", [](QTextCursor &c) {
         c.insertText(QString::fromUtf8("\xE1\x9E\x80\xE1\x9E\xB6 \xF0\x9F\x98\x80") + QChar(0x80), fmt("Khmer OS"));
     }},
    {"mixed paragraphs", [](QTextCursor &c) {
         alignedParagraph(c, Qt::AlignHCenter, "\xb4\xc0\xe0", true);
         QTextCharFormat f = fmt("Limon R1", 20);
         f.setFontWeight(QFont::Bold);
         f.setForeground(QColor(0, 0, 255));
         put(c, " \x81\x8d\x8f\x90\x9d", f);
         alignedParagraph(c, Qt::AlignJustify, "{\\}");
     }},
};

void PrintTo(const RoundTrip &c, std::ostream *os) { *os << c.name; }

class RtfRoundTrip : public testing::TestWithParam<RoundTrip> {};

TEST_P(RtfRoundTrip, ReadsBackWhatWasWritten)
{
    QTextDocument original;
    QTextCursor c(&original);
    GetParam().build(c);
    const std::string rtf = rt::rtf::writeDocument(original);
    ASSERT_TRUE(rt::rtf::looksLikeRtf(rtf));
    auto back = read(rtf);
    EXPECT_EQ(describe(*back).toStdString(), describe(original).toStdString()) << rtf;
    EXPECT_EQ(rt::rtf::writeDocument(*back), rtf);
}

INSTANTIATE_TEST_SUITE_P(Cases, RtfRoundTrip, testing::ValuesIn(kRoundTrips),
                         [](const testing::TestParamInfo<RoundTrip> &info) {
                             std::string name;
                             for (char ch : std::string(info.param.name))
                                 name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             return name;
                         });

// --- writer ----------------------------------------------------------------

TEST(RtfWriter, WritesTheStandardHeaderTablesAndEscapes)
{
    QTextDocument doc;
    doc.setDefaultFont(QFont("Limon S1", 12));
    QTextCursor c(&doc);
    put(c, "a\\{}\xe9");
    QTextCharFormat bold = fmt("Limon R1", 14);
    bold.setFontWeight(QFont::Bold);
    bold.setForeground(QColor(255, 0, 0));
    c.insertText(QString::fromUtf8("\xE1\x9E\x80\xF0\x9F\x98\x80"), bold);
    put(c, "z");
    EXPECT_EQ(rt::rtf::writeDocument(doc),
              "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Limon S1;}"
              "{\\f1\\fnil\\fcharset0 Limon R1;}}{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
              "\\pard a\\\\\\{\\}\\'e9\\f1\\fs28\\b\\cf1\\u6016?\\u-10179?\\u-8704?\\f0\\fs24\\b0\\cf0 z}");
}

TEST(RtfWriter, KeepsLinesShortWithoutAddingText)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    std::string words, khmer(20000, '\xb4'), ascii(3000, 'x');
    for (int i = 0; i < 3000; ++i)
        words += "word\xe9 ";
    put(c, words);
    c.insertBlock();
    put(c, khmer);
    c.insertBlock();
    put(c, ascii);
    const std::string rtf = rt::rtf::writeDocument(doc);
    std::size_t start = 0;
    while (start < rtf.size()) {
        std::size_t nl = rtf.find('\n', start);
        if (nl == std::string::npos)
            nl = rtf.size();
        EXPECT_LE(nl - start, 260u);
        start = nl + 1;
    }
    EXPECT_EQ(plainText(*read(rtf)), plainText(doc));
}

TEST(RtfWriter, EmptySelectionIsAnEmptyDocument)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    put(c, "text");
    const std::string rtf = rt::rtf::writeSelection(c);
    EXPECT_TRUE(rt::rtf::looksLikeRtf(rtf));
    EXPECT_EQ(rtf.back(), '}');
    EXPECT_EQ(plainText(*read(rtf)), "");
}

// --- copy and paste ------------------------------------------------------

TEST(RtfSelection, PastesTheCopiedPieceWithItsFormattingAtTheCaret)
{
    QTextDocument source;
    QTextCursor s(&source);
    alignedParagraph(s, Qt::AlignHCenter, "Hello ", true);
    QTextCharFormat bold = fmt();
    bold.setFontWeight(QFont::Bold);
    put(s, "bold", bold);
    put(s, " world");
    alignedParagraph(s, Qt::AlignRight, "second line");
    s.setPosition(3);
    s.setPosition(8, QTextCursor::KeepAnchor); // "lo bo"

    QTextDocument target;
    QTextCursor t(&target);
    alignedParagraph(t, Qt::AlignJustify, "XXYY", true);
    t.setPosition(2);
    ASSERT_TRUE(rt::rtf::readInto(rt::rtf::writeSelection(s), t).ok);
    EXPECT_EQ(plainText(target), "XXlo boYY");
    EXPECT_FALSE(formatAt(target, 3).fontWeight() >= QFont::Bold);
    EXPECT_TRUE(formatAt(target, 5).fontWeight() >= QFont::Bold);
    EXPECT_EQ(alignmentName(target.begin()), "justify"); // no paragraph mark was copied
    EXPECT_EQ(t.position(), 7);

    // Across the paragraph mark: the first paragraph brings its alignment.
    s.setPosition(12);
    s.setPosition(source.characterCount() - 5, QTextCursor::KeepAnchor);
    t.setPosition(4);
    ASSERT_TRUE(rt::rtf::readInto(rt::rtf::writeSelection(s), t).ok);
    EXPECT_EQ(plainText(target), "XXloorld\nsecond  boYY");
    EXPECT_EQ(alignmentName(target.begin()), "centre");
    EXPECT_EQ(alignmentName(target.begin().next()), "justify");
}

TEST(RtfSelection, ReplacesTheSelection)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    put(c, "Hello world");
    c.setPosition(6);
    c.setPosition(11, QTextCursor::KeepAnchor);
    ASSERT_TRUE(rt::rtf::readInto("{\\rtf1 there}", c).ok);
    EXPECT_EQ(plainText(doc), "Hello there");
}

TEST(RtfReader, RefusesWhatIsNotRtfAndChangesNothing)
{
    for (std::string_view input : {"", "plain text", "{\\rt", "{ \\rtf1 x}", "\\rtf1 x}"}) {
        QTextDocument doc;
        QTextCursor c(&doc);
        put(c, "keep");
        c.setPosition(0);
        c.setPosition(2, QTextCursor::KeepAnchor);
        const rt::rtf::ReadResult r = rt::rtf::readInto(input, c);
        EXPECT_FALSE(r.ok) << input;
        EXPECT_FALSE(r.error.empty());
        EXPECT_EQ(plainText(doc), "keep");
        EXPECT_TRUE(c.hasSelection());
    }
    EXPECT_TRUE(rt::rtf::looksLikeRtf(" \r\n\t{\\rtf1}"));
}

// --- reading what word processors write ----------------------------------

TEST(RtfReader, ReadsAWordPadDocument)
{
    auto doc = read("{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 "
                    "Calibri;}}\r\n{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n\\pard\\sa200\\sl276"
                    "\\slmult1\\f0\\fs22\\lang9 Hello\\par\r\n}\r\n");
    EXPECT_EQ(plainText(*doc), "Hello\n");
    EXPECT_EQ(familyAt(*doc, 0), "Calibri");
    EXPECT_EQ(formatAt(*doc, 0).fontPointSize(), 11);
}

TEST(RtfReader, ReadsALibreOfficeDocument)
{
    auto doc = read(
        "{\\rtf1\\ansi\\deff3\\adeflang1025\r\n"
        "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f1\\froman\\fprq2\\fcharset2 Symbol;}"
        "{\\f2\\fswiss\\fprq2\\fcharset0 Arial;}{\\f3\\froman\\fprq2\\fcharset0 Liberation Serif"
        "{\\*\\falt Times New Roman};}\r\n{\\f4\\fnil\\fprq2\\fcharset0 Limon S1{\\*\\panose 02000500000000000000};}}\r\n"
        "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\r\n"
        "{\\stylesheet{\\s0\\snext0\\hich\\af5\\dbch\\af6\\afs24\\loch\\f3\\fs24\\lang2057 Normal;}\r\n"
        "{\\*\\cs15\\snext15 Default Paragraph Font;}}\r\n"
        "{\\*\\generator LibreOffice/7.4.7.2$Linux_X86_64 LibreOffice_project/40$Build-2}\r\n"
        "{\\info{\\author Someone}{\\creatim\\yr2024\\mo3\\dy1\\hr10\\min5}{\\revtim\\yr2024\\mo3\\dy1}}"
        "{\\*\\userprops}\\deftab709\r\n\\hyphauto1\\viewscale100\r\n"
        "{\\*\\pgdsctbl\r\n{\\pgdsc0\\pgdscuse451\\pgwsxn11906\\pgdscnxt0 Default Page Style;}}\r\n"
        "\\formshade\\paperh16838\\paperw11906\\sectd\\sbknone\\pgndec\\sftnnar\\saftnnar\\sectunlocked1"
        "{\\*\\ftnsep\\chftnsep}\\pgndec\\pard\\plain \\s0\\widctlpar\\hyphpar0\\ltrpar\\qc\\cf1\\kerning1"
        "\\dbch\\af5\\langfe2052\\loch\\f4\\hich\\af3\\fs32\\lang2057{\\b\\rtlch \\ltrch\\loch \\'b4\\'c0\\'e0}\r\n"
        "\\par \\pard\\plain \\s0\\widctlpar\\ltrpar\\loch\\f3\\fs24{\\cf2\\i Red italic}{\\rtlch \\ltrch\\loch  plain}\r\n"
        "\\par }");
    EXPECT_EQ(plainText(*doc), QString::fromUtf8("\xC2\xB4\xC3\x80\xC3\xA0\nRed italic plain\n"));
    EXPECT_EQ(familyAt(*doc, 0), "Limon S1");
    EXPECT_EQ(formatAt(*doc, 0).fontPointSize(), 16);
    EXPECT_GE(formatAt(*doc, 0).fontWeight(), QFont::Bold);
    EXPECT_EQ(alignmentName(doc->begin()), "centre");
    EXPECT_EQ(alignmentName(doc->begin().next()), "left");
    EXPECT_EQ(familyAt(*doc, 4), "Liberation Serif");
    EXPECT_EQ(formatAt(*doc, 4).foreground().color(), QColor(255, 0, 0));
    EXPECT_TRUE(formatAt(*doc, 4).fontItalic());
    EXPECT_FALSE(formatAt(*doc, 15).fontItalic());
}

struct TextCase {
    const char *name;
    std::string body;
    QString text;
};

const TextCase kTextCases[] = {
    {"unicode with fallback", "\\u6016?\\u6017?", QString::fromUtf8("\xE1\x9E\x80\xE1\x9E\x81")},
    {"fallback of two bytes", "\\uc2\\u6016\\'81\\'82x", QString::fromUtf8("\xE1\x9E\x80x")},
    {"no fallback", "\\uc0\\u6016 x", QString::fromUtf8("\xE1\x9E\x80x")},
    {"fallback ended by a group", "{\\uc3\\u6016}abc", QString::fromUtf8("\xE1\x9E\x80" "abc")},
    {"control word as fallback", "\\u8212\\emdash x", QString::fromUtf8("\xE2\x80\x94x")},
    {"surrogate pair", "\\u-10179?\\u-8704?", QString::fromUtf8("\xF0\x9F\x98\x80")},
    {"negative value", "\\u-3000?", QString(QChar(0xF448))},
    {"bytes in the private use area", "\\u61825\\'81\\u-3962?\\u61472?\\u-3683?",
     QString::fromUtf8("\xC2\x81\xE2\x80\xA0 \xC2\x9D")},
    {"unsigned value above 32767", "\\uc0 \\u55357\\uc1 \\u56832\\'3f", QString::fromUtf8("\xF0\x9F\x98\x80")},
    {"value beyond 16 bits", "\\u70000?\\u-70000?", QString(2, QChar(0xFFFD))},
    {"lone surrogates", "\\u-10179?a\\u-8704?", QString("\xEF\xBF\xBD" "a\xEF\xBF\xBD")},
    {"special characters", "\\~\\-\\_\\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet",
     QString::fromUtf8("\xC2\xA0\xC2\xAD\xE2\x80\x91\xE2\x80\x94\xE2\x80\x93\xE2\x80\x98\xE2\x80\x99"
                       "\xE2\x80\x9C\xE2\x80\x9D\xE2\x80\xA2")},
    {"breaks", "a\\tab b\\line c\\cell d\\row e\\\r\nf", QString("a\tb") + QChar::LineSeparator + "c\td\ne\nf"},
    {"bare line breaks are not text", "ab\r\ncd\ref\ngh", "abcdefgh"},
    {"escaped braces", "\\{\\}\\\\", "{}\\"},
    {"five undefined bytes", "\\'81\\'8d\\'8f\\'90\\'9D\\'80", QString::fromUtf8("\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D\xE2\x82\xAC")},
    {"raw 8-bit text", "\xb4\xe0", QString::fromUtf8("\xC2\xB4\xC3\xA0")},
    {"field result", "{\\field{\\*\\fldinst{HYPERLINK \"http://x\"}}{\\fldrslt{\\ul link}}} "
                     "{\\field{\\fldinst PAGE}{\\fldrslt 3}}", "link 3"},
    {"destinations skipped", "a{\\*\\unknown b{c}}{\\pict\\wmetafile8 0a0b}{\\header h}{\\footer f}"
                             "{\\*\\themedata 01}{\\*\\colorschememapping 3c}{\\*\\latentstyles x}"
                             "{\\*\\listtable{\\list x}}{\\stylesheet{\\s1 Normal;}}d", "ad"},
    {"binary data", "a\\bin4 {}\\}b{\\pict\\bin3 }}}c}d", "abd"},
    {"hidden text", "a{\\v hidden}b", "ab"},
    {"text for readers without nested tables", "a\\nestcell{\\*\\nesttableprops\\nestrow}{\\nonesttables b\\par}c",
     "a\tc"},
    {"unicode version of a group", "a{\\upr{b\\'e9}{\\*\\ud{c\\u6016?}}}d", QString::fromUtf8("ac\xE1\x9E\x80" "d")},
    {"list text kept", "{\\pntext\\f0 \\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}item",
     QString::fromUtf8("\xC2\xB7\titem")},
    {"paragraph words ignored", "\\sa200\\sb100\\sl276\\slmult1\\li720\\fi-360\\lang1033\\langfe2052 x", "x"},
    {"nothing readable", "a\\u0?b\\u-1?c\\u-2?d\\uc0\\u65535 e\\u-65536 f\\'00g", "abcdefg"},
    {"cyrillic font", "\\f1\\'c0\\'e1", QString::fromUtf8("\xD0\x90\xD0\xB1")},
    {"japanese font", "\\f2\\'82\\'a0\\'83e", QString::fromUtf8("\xE3\x81\x82\xE3\x83\x86")},
};

void PrintTo(const TextCase &c, std::ostream *os) { *os << c.name; }

class RtfText : public testing::TestWithParam<TextCase> {};

TEST_P(RtfText, ReadsTheText)
{
    const std::string fonts = "{\\fonttbl{\\f0\\fnil\\fcharset0 Limon S1;}{\\f1\\fswiss\\fcharset204 Arial Cyr;}"
                              "{\\f2\\fnil\\fcharset128 MS Gothic;}}";
    EXPECT_EQ(plainText(*read(rtfOf(GetParam().body, fonts))), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Cases, RtfText, testing::ValuesIn(kTextCases),
                         [](const testing::TestParamInfo<TextCase> &info) {
                             std::string name;
                             for (char ch : std::string(info.param.name))
                                 name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             return name;
                         });

// Documents written on a Macintosh: their text, and the name of their first font.
struct MacCase {
    const char *name;
    std::string rtf;
    QString text;
    QString family;
};

const MacCase kMacCases[] = {
    {"mac roman charset", "{\\rtf1\\mac\\ansicpg10000{\\fonttbl\\f0\\fswiss\\fcharset77 Helvetica;}\\f0 caf\\'8e \\'a5}",
     QString::fromUtf8("caf\xC3\xA9 \xE2\x80\xA2"), "Helvetica"},
    {"ansi charset in a mac document", "{\\rtf1\\mac\\ansicpg10000{\\fonttbl\\f0\\fnil\\fcharset0 Menlo-Regular;}"
     "\\f0 \\'8e\\'d2\\'d3\xa5}", QString::fromUtf8("\xC3\xA9\xE2\x80\x9C\xE2\x80\x9D\xE2\x80\xA2"), "Menlo-Regular"},
    {"mac without code page", "{\\rtf1\\mac{\\fonttbl\\f0 Geneva;}\\f0 \\'8e}", QString::fromUtf8("\xC3\xA9"), "Geneva"},
    {"mac japanese", "{\\rtf1\\mac\\ansicpg10001{\\fonttbl\\f0\\fnil\\fcharset78 \\'82\\'6c\\'82\\'72 \\'96\\'be\\'92\\'a9;}"
     "\\f0 \\'82\\'a0}", QString::fromUtf8("\xE3\x81\x82"),
     QString::fromUtf8("\xEF\xBC\xAD\xEF\xBC\xB3 \xE6\x98\x8E\xE6\x9C\x9D")},
    {"mac cyrillic charset", "{\\rtf1\\ansi{\\fonttbl\\f0\\fnil\\fcharset89 Charcoal CY;}\\f0 \\'80\\'e0}",
     QString::fromUtf8("\xD0\x90\xD0\xB0"), "Charcoal CY"},
    {"charset word for mac writes", "{\\rtf1\\mac\\ansicpg10000{\\fonttbl\\f0\\fnil\\fcharset256 Optima-Regular;}"
     "\\f0 caf\\'8e}", QString::fromUtf8("caf\xC3\xA9"), "Optima-Regular"},
    {"mac charset in a windows document", "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset0 Arial;}"
     "{\\f1\\fcharset77 Helvetica;}}\\f0\\'8e\\f1\\'8e}", QString::fromUtf8("\xC5\xBD\xC3\xA9"), "Arial"},
};

void PrintTo(const MacCase &c, std::ostream *os) { *os << c.name; }

class RtfMac : public testing::TestWithParam<MacCase> {};

TEST_P(RtfMac, ReadsTheCharactersOfTheMacCodePage)
{
    auto doc = read(GetParam().rtf);
    EXPECT_EQ(plainText(*doc), GetParam().text);
    EXPECT_EQ(familyAt(*doc, 0), GetParam().family);
}

INSTANTIATE_TEST_SUITE_P(Cases, RtfMac, testing::ValuesIn(kMacCases),
                         [](const testing::TestParamInfo<MacCase> &info) {
                             std::string name;
                             for (char ch : std::string(info.param.name))
                                 name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             return name;
                         });

TEST(RtfReader, StopsAtTheCharacterLimit)
{
    struct Case {
        std::string rtf;
        std::size_t limit;
        bool tooLong;
    } cases[] = {
        {"{\\rtf1 abcde}", 5, false},
        {"{\\rtf1 abcdef}", 5, true},
        {"{\\rtf1 ab\\par cd}", 5, false},
        {"{\\rtf1 ab\\par cde}", 5, true},
        {"{\\rtf1 abcde\\par}", 5, true},
        {"{\\rtf1 a\\u6016?b\\'e9c{\\b d}e}", 7, false},
        {"{\\rtf1 a\\u6016?b\\'e9c{\\b d}ef}", 7, true},
        {"{\\rtf1\\ansicpg1251 " + std::string(100000, '\xc0') + "}", 10, true},
    };
    for (const Case &c : cases) {
        QTextDocument doc;
        QTextCursor cursor(&doc);
        const rt::rtf::ReadResult r = rt::rtf::readInto(c.rtf, cursor, c.limit);
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.tooLong, c.tooLong) << c.rtf.substr(0, 40);
        EXPECT_LE(std::size_t(doc.characterCount() - 1), c.limit) << c.rtf.substr(0, 40);
    }
}

TEST(RtfReader, FontNamesLoseControlCharactersAndExtraSpaces)
{
    auto doc = read("{\\rtf1{\\fonttbl{\\f0\\fnil \\tab Limon\\tab\\line  S1 ;}}\\f0 x}");
    EXPECT_EQ(familyAt(*doc, 0), "Limon S1");
}

TEST(RtfReader, DocumentCodePageAppliesToFontsWithoutCharset)
{
    // Fonts of charset 0 (the legacy Khmer ones) keep Windows-1252.
    auto doc = read("{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fcharset0 Limon S1;}}"
                    "\\'c0\\f1\\'c0}");
    EXPECT_EQ(plainText(*doc), QString::fromUtf8("\xD0\x90\xC3\x80"));
}

TEST(RtfReader, TogglesCharacterFormattingOnAndOff)
{
    auto doc = read(rtfOf("\\b b\\b0 n\\i i\\i0 n\\ul u\\ul0 n\\uldb u\\ulnone n\\strike s\\strike0 n"
                          "\\b\\i\\fs40\\cf1 x\\plain n"),
                    nullptr);
    ASSERT_EQ(plainText(*doc), "bninununsnxn");
    auto on = [&](int pos) {
        const QTextCharFormat f = formatAt(*doc, pos);
        return std::string(f.fontWeight() >= QFont::Bold ? "b" : "") + (f.fontItalic() ? "i" : "")
               + (f.fontUnderline() ? "u" : "") + (f.fontStrikeOut() ? "s" : "");
    };
    const char *expected[] = {"b", "", "i", "", "u", "", "u", "", "s", "", "bi", ""};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(on(i), expected[i]) << i;
    EXPECT_EQ(formatAt(*doc, 10).fontPointSize(), 20);
    EXPECT_EQ(formatAt(*doc, 11).fontPointSize(), 12);
    EXPECT_EQ(familyAt(*doc, 11), "Limon S1");
}

TEST(RtfReader, ParagraphAlignmentFollowsPardAndGroups)
{
    auto doc = read(rtfOf("\\qc a\\par b\\par\\pard c\\par{\\qr d\\par}e\\qj\\par f"));
    QStringList names;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        names << alignmentName(b);
    EXPECT_EQ(names.join(' '), "centre centre left right justify left");
}

TEST(RtfReader, TextWithoutParagraphWordsKeepsTheTargetAlignment)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    alignedParagraph(c, Qt::AlignHCenter, "XXYY", true);
    c.setPosition(2);
    ASSERT_TRUE(rt::rtf::readInto("{\\rtf1 a\\par b}", c).ok);
    EXPECT_EQ(plainText(doc), "XXa\nbYY");
    EXPECT_EQ(alignmentName(doc.begin()), "centre");
    EXPECT_EQ(alignmentName(doc.begin().next()), "centre");
}

// --- malformed input ---------------------------------------------------------

std::string repeat(std::string_view s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

std::string manyFonts()
{
    std::string table = "{\\fonttbl";
    for (int i = 0; i < 50000; ++i)
        table += "{\\f" + std::to_string(i + 1) + "\\fnil\\fcharset0 Font" + std::to_string(i) + ";}";
    return "{\\rtf1\\deff1" + table + "}\\f49000 x\\f2 y}";
}

const TextCase kMalformed[] = {
    {"deep nesting left open", "{\\rtf1 " + repeat("{", 100000) + "deep", "deep"},
    {"deep nesting closed", "{\\rtf1 " + repeat("{\\b ", 5000) + "x" + repeat("}", 5000) + "y}", "xy"},
    {"extra closing brace", "{\\rtf1 a}b}c", "a"},
    {"group open at the end", "{\\rtf1 a{\\b b", "ab"},
    {"unknown fonts", "{\\rtf1\\deff0{\\fonttbl{\\f0 Limon S1;}}\\f-1 a\\f2000000000 b\\f7 c}", "abc"},
    {"tens of thousands of fonts", manyFonts(), "xy"},
    {"parameters beyond 32 bits", "{\\rtf1 \\fs99999999999999999999 a\\fs-99999999999 b\\cf99999999999 c"
                                  "\\uc99999999999 d\\f-99999999999999999999 e}", "abcde"},
    {"broken hex escapes", "{\\rtf1 a\\'zzb\\'4", "azzb"},
    {"hex escape at the end", "{\\rtf1 a\\'", "a"},
    {"backslash at the end", "{\\rtf1 a\\", "a"},
    {"binary length negative", "{\\rtf1 a\\bin-5 bc}", "abc"},
    {"binary length past the end", "{\\rtf1 a\\bin999999 bc}", "a"},
    {"binary length beyond 32 bits", "{\\rtf1 a\\bin99999999999999 bc}", "a"},
    {"skipped destination left open", "{\\rtf1 a{\\*\\x {{{", "a"},
    {"nul and control bytes", std::string("{\\rtf1 a\0b\x01" "c\x1f}", 14), "abc"},
    {"only the header", "{\\rtf", ""},
    {"very long control word", "{\\rtf1 \\" + std::string(100000, 'a') + "1 x}", "x"},
};

class RtfMalformed : public testing::TestWithParam<TextCase> {};

TEST_P(RtfMalformed, EndsCleanlyWithTheTextReadSoFar)
{
    bool ok = false;
    auto doc = read(GetParam().body, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(plainText(*doc), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Cases, RtfMalformed, testing::ValuesIn(kMalformed),
                         [](const testing::TestParamInfo<TextCase> &info) {
                             std::string name;
                             for (char ch : std::string(info.param.name))
                                 name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             return name;
                         });

TEST(RtfMalformed, FormattingInsideTooDeepGroupsStaysUntilTheCappedDepthCloses)
{
    // The group of "x" at `depth`, the outermost one at 1.
    auto nested = [](int depth) {
        return read("{\\rtf1 " + repeat("{", depth - 2) + "{\\b x}y" + repeat("}", depth - 2) + "z}");
    };
    for (int depth : {rt::rtf::kMaxGroupDepth + 1, rt::rtf::kMaxGroupDepth + 500}) {
        auto doc = nested(depth);
        ASSERT_EQ(plainText(*doc), "xyz");
        EXPECT_GE(formatAt(*doc, 0).fontWeight(), QFont::Bold);
        EXPECT_GE(formatAt(*doc, 1).fontWeight(), QFont::Bold) << depth; // flattened: \b leaks out of its group
        EXPECT_LT(formatAt(*doc, 2).fontWeight(), QFont::Bold);
    }
    auto capped = nested(rt::rtf::kMaxGroupDepth);
    EXPECT_GE(formatAt(*capped, 0).fontWeight(), QFont::Bold);
    EXPECT_LT(formatAt(*capped, 1).fontWeight(), QFont::Bold);
}

TEST(RtfMalformed, UnknownFontsAndHugeSizesFallBack)
{
    auto doc = read(manyFonts());
    EXPECT_EQ(familyAt(*doc, 0), "Font0"); // \f49000 lies beyond the kept entries
    EXPECT_EQ(familyAt(*doc, 1), "Font1");
    auto sized = read("{\\rtf1 \\fs99999999999999999999 a\\fs-99999999999 b}");
    EXPECT_EQ(formatAt(*sized, 0).fontPointSize(), 1638);
    EXPECT_EQ(formatAt(*sized, 1).fontPointSize(), 1);
}

// --- Measuring ------------------------------------------------------------------

struct Extent {
    const char *name;
    std::string rtf;
    // Lines mostly full: the estimate is close to the height laid out, not only within twice it.
    bool fullLines;
};

class MeasureTable : public ::testing::TestWithParam<Extent> {};

void PrintTo(const Extent &extent, std::ostream *out) { *out << extent.name; }

// The estimate of the height bounds what the layout makes: never more than
// twice it, and near it when lines are full.
TEST_P(MeasureTable, TheHeightLaidOutIsWithinTwiceTheEstimate)
{
    constexpr double kWidth = 280;
    QTextDocument doc;
    QTextCursor cursor(&doc);
    ASSERT_TRUE(rt::rtf::readInto(GetParam().rtf, cursor).ok);
    doc.setTextWidth(kWidth + 2 * doc.documentMargin());
    const double laidOut = doc.size().height() - 2 * doc.documentMargin();

    rt::TextMeasure measure(doc.defaultFont(), kWidth, doc.defaultTextOption().tabStopDistance());
    rt::rtf::measure(GetParam().rtf, measure);
    EXPECT_LE(laidOut, 2 * measure.height()) << measure.height();
    if (GetParam().fullLines) {
        EXPECT_LE(measure.height(), 1.25 * laidOut) << laidOut;
    }
    EXPECT_EQ(measure.characters(), std::size_t(doc.characterCount() - 1));
    EXPECT_EQ(measure.paragraphs(), std::size_t(doc.blockCount()));
}

std::string wordsOf(int length, int count, const std::string &between = " ")
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += std::string(std::size_t(length), char('a' + i % 26)) + between;
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, MeasureTable,
    ::testing::Values(
        Extent{"Words", "{\\rtf1 " + wordsOf(5, 4000) + "}", true},
        Extent{"Paragraphs", "{\\rtf1 " + wordsOf(3, 2000, "\\par ") + "}", true},
        Extent{"LineBreaks", "{\\rtf1 " + wordsOf(3, 2000, "\\line ") + "}", true},
        Extent{"EmptyParagraphs", "{\\rtf1\\fs40 " + repeat("\\par ", 500) + "}", true},
        Extent{"LongWord", "{\\rtf1 " + std::string(20000, 'w') + "}", true},
        Extent{"LargeType", "{\\rtf1\\fs144 " + wordsOf(4, 300) + "}", true},
        Extent{"MixedSizes", "{\\rtf1 " + repeat("{\\fs16 small }{\\fs64 LARGE }", 300) + "}", true},
        // A tab counts as a whole tab stop, however near the next one is.
        Extent{"Tabs", "{\\rtf1 " + wordsOf(2, 1000, "\\tab ") + "}", false},
        Extent{"KhmerBytes", "{\\rtf1{\\fonttbl{\\f0 Limon S1;}}\\f0\\fs28 " +
                                 repeat("\\'a7\\'b1\\'c9\\'e4 ", 1500) + "}", true},
        // A word just too wide for what is left of each line: half of each line stays empty.
        Extent{"LinesHalfEmpty", "{\\rtf1 " + repeat("i " + std::string(22, 'm') + " ", 300) + "}", false}),
    [](const ::testing::TestParamInfo<Extent> &info) { return info.param.name; });

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
