#include "runtime/text/rtf_keywords.h"

#include <string>
#include <unordered_map>

namespace rt::rtf::detail {

namespace {

// Destinations whose groups hold nothing the document shows: tables of styles
// and lists, document information, pictures and objects' data, headers and
// footers, notes and comments, field instructions, bookmarks, and the text
// for readers that show no nested tables (the tables' own cells hold it).
constexpr std::string_view kSkipped[] = {
    "aftncn", "aftnsep", "aftnsepc", "annotation", "atnauthor", "atndate", "atnicn",
    "atnid", "atnparent", "atnref", "atntime", "atrfend", "atrfstart", "author",
    "background", "bkmkend", "bkmkstart", "blipuid", "buptim", "category",
    "colorschememapping", "comment", "company", "creatim", "datafield", "datastore",
    "do", "doccomm", "docvar", "falt", "fchars", "filetbl", "fldinst", "footer",
    "footerf", "footerl", "footerr", "footnote", "ftncn", "ftnsep", "ftnsepc",
    "generator", "header", "headerf", "headerl", "headerr", "hlinkbase", "info",
    "keywords", "latentstyles", "lchars", "listoverridetable", "listtable",
    "manager", "mmathPr", "nonesttables", "nonshppict", "objclass", "objdata", "objname",
    "operator", "panose", "pgdsctbl", "pict", "pn", "pnseclvl", "pntxta", "pntxtb",
    "printim", "private", "protusertbl", "revtbl", "revtim", "rsidtbl", "shp",
    "shpinst", "shprslt", "stylesheet", "subject", "tc", "template", "themedata",
    "title", "txe", "userprops", "wgrffmtfilter", "xe", "xmlnstbl",
};

constexpr std::string_view kUnderlines[] = {
    "ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash",
    "ulth", "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash",
    "ululdbwave", "ulw", "ulwave",
};

using Table = std::unordered_map<std::string_view, Keyword>;

Table makeTable()
{
    Table t;
    auto add = [&t](std::string_view name, Word w, char16_t c = 0) { t[name] = Keyword{w, c}; };
    add("ansi", Word::Ansi);
    add("mac", Word::Mac);
    add("pc", Word::Pc);
    add("pca", Word::Pca);
    add("ansicpg", Word::AnsiCpg);
    add("deff", Word::DefFont);
    add("fonttbl", Word::FontTable);
    add("colortbl", Word::ColorTable);
    for (std::string_view name : kSkipped)
        add(name, Word::Skipped);
    add("f", Word::Font);
    add("fcharset", Word::FontCharset);
    add("cpg", Word::CodePage);
    add("red", Word::Red);
    add("green", Word::Green);
    add("blue", Word::Blue);
    add("plain", Word::Plain);
    add("b", Word::Bold);
    add("i", Word::Italic);
    for (std::string_view name : kUnderlines)
        add(name, Word::Underline);
    add("ulnone", Word::UnderlineNone);
    add("strike", Word::Strike);
    add("striked", Word::Strike);
    add("fs", Word::FontSize);
    add("cf", Word::Color);
    add("v", Word::Hidden);
    add("pard", Word::ParDefault);
    add("ql", Word::AlignLeft);
    add("qc", Word::AlignCentre);
    add("qr", Word::AlignRight);
    add("qj", Word::AlignJustify);
    add("qd", Word::AlignJustify);
    for (std::string_view name : {"par", "sect", "page", "row", "nestrow"})
        add(name, Word::Paragraph);
    add("line", Word::Line);
    for (std::string_view name : {"tab", "cell", "nestcell"})
        add(name, Word::Tab);
    add("emdash", Word::Character, 0x2014);
    add("endash", Word::Character, 0x2013);
    add("lquote", Word::Character, 0x2018);
    add("rquote", Word::Character, 0x2019);
    add("ldblquote", Word::Character, 0x201C);
    add("rdblquote", Word::Character, 0x201D);
    add("bullet", Word::Character, 0x2022);
    add("emspace", Word::Character, 0x2003);
    add("enspace", Word::Character, 0x2002);
    add("qmspace", Word::Character, 0x2005);
    add("zwj", Word::Character, 0x200D);
    add("zwnj", Word::Character, 0x200C);
    add("ltrmark", Word::Character, 0x200E);
    add("rtlmark", Word::Character, 0x200F);
    add("u", Word::Unicode);
    add("uc", Word::UnicodeSkip);
    add("bin", Word::Binary);
    add("upr", Word::UnicodePair);
    return t;
}

} // namespace

Keyword lookUp(std::string_view name)
{
    static const Table table = makeTable();
    auto it = table.find(name);
    return it == table.end() ? Keyword{} : it->second;
}

int codePageOfCharset(int charset)
{
    switch (charset) {
    case 0: return kAnsiCodePage;
    case 1: return kDocumentCodePage;
    case 2: return 0; // symbol fonts: the bytes as they stand
    case 77: return 10000;  // Mac Roman
    case 78: return 10001;  // Mac Japanese
    case 79: return 10003;  // Mac Korean
    case 80: return 10008;  // Mac Simplified Chinese
    case 81: return 10002;  // Mac Traditional Chinese
    case 85: return 10006;  // Mac Greek
    case 86: return 10081;  // Mac Turkish
    case 88: return 10029;  // Mac Central European
    case 89: return 10007;  // Mac Cyrillic
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    // Charsets of no code page this table knows (Word for Mac writes 256) are
    // taken for the ANSI one.
    default: return kAnsiCodePage;
    }
}

bool isMacCodePage(int codePage)
{
    return codePage >= 10000 && codePage < 10100;
}

const char *decoderName(int codePage)
{
    switch (codePage) {
    case 437: return "IBM437";
    case 850: return "IBM850";
    case 874: return "windows-874";
    case 932: return "Shift_JIS";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    case 1250: return "windows-1250";
    case 1251: return "windows-1251";
    case 1253: return "windows-1253";
    case 1254: return "windows-1254";
    case 1255: return "windows-1255";
    case 1256: return "windows-1256";
    case 1257: return "windows-1257";
    case 1258: return "windows-1258";
    // The Macintosh code pages; where the converters have no table of their
    // own, the nearest one: Japanese, Chinese and Korean Mac text is Shift_JIS,
    // GB 2312, Big5 and EUC-KR with a few additions, and Icelandic, Romanian
    // and Croatian differ from Mac Roman in a handful of letters.
    case 10000: return "macintosh";
    case 10001: return "Shift_JIS";
    case 10002: return "Big5";
    case 10003: return "EUC-KR";
    case 10006: return "x-mac-greek";
    case 10007: return "x-mac-cyrillic";
    case 10008: return "GB2312";
    case 10010: return "macintosh";
    case 10017: return "x-mac-cyrillic";
    case 10029: return "x-mac-centraleurroman";
    case 10079: return "macintosh";
    case 10081: return "x-mac-turkish";
    case 10082: return "macintosh";
    case 65001: return "UTF-8";
    default: return nullptr; // 1252 and unknown code pages
    }
}

} // namespace rt::rtf::detail
