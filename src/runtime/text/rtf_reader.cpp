#include "runtime/text/rtf_reader.h"

#include "runtime/text/legacy_text.h"
#include "runtime/text/rtf_keywords.h"
#include "runtime/text/text_measure.h"

#include <QColor>
#include <QFont>
#include <QStringDecoder>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

namespace rt::rtf {

using detail::Keyword;
using detail::Word;

namespace {

constexpr int kMinHalfPoints = 2;     // 1 point
constexpr int kMaxHalfPoints = 3276;  // 1638 points
constexpr int kDefaultHalfPoints = 24;
constexpr int kMaxFontName = 256;
constexpr int kMaxSkipCount = 64;
constexpr char16_t kReplacement = 0xFFFD;

// Code units of the Windows-1252 table, looked up once.
const std::array<char16_t, 256> &byteTable()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[std::size_t(b)] = char16_t(rt::unicodeOf(static_cast<unsigned char>(b)));
        return t;
    }();
    return table;
}

// Bytes that end a run of plain text: group braces, escapes, CR/LF and the
// other control characters apart from tab.
const std::array<bool, 256> &runEnders()
{
    static const std::array<bool, 256> table = [] {
        std::array<bool, 256> t{};
        for (int b = 0; b < 0x20; ++b)
            t[std::size_t(b)] = b != '\t';
        t['\\'] = t['{'] = t['}'] = true;
        return t;
    }();
    return table;
}

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

enum class Dest : unsigned char { Text, FontTable, ColorTable };
enum class Align : unsigned char { Left, Centre, Right, Justify };

struct CharState {
    int font = 0;
    int halfPoints = kDefaultHalfPoints;
    int color = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    bool operator==(const CharState &) const = default;
};

struct GroupState {
    CharState ch;
    Align align = Align::Left;
    int uc = 1;
    Dest dest = Dest::Text;
};

struct FontEntry {
    QString family;
    int codePage = detail::kDocumentCodePage; // 0: the Windows-1252 table
};

Qt::Alignment qtAlignment(Align a)
{
    switch (a) {
    case Align::Centre: return Qt::AlignHCenter;
    case Align::Right: return Qt::AlignRight;
    case Align::Justify: return Qt::AlignJustify;
    case Align::Left: break;
    }
    return Qt::AlignLeft;
}

class Reader {
public:
    // Reads into the cursor, or only into the measure when there is no cursor.
    Reader(std::string_view in, QTextCursor *cursor, TextMeasure *measure, std::size_t maxCharacters)
        : p_(in.data()), end_(in.data() + in.size()), cur_(cursor), measure_(measure), bytes_(byteTable()),
          enders_(runEnders()), limit_(maxCharacters), baseBlock_(cursor ? cursor->blockFormat() : QTextBlockFormat())
    {
    }

    void run();
    bool tooLong() const { return tooLong_; }

private:
    // input
    struct Control {
        std::string_view name;
        int param = 0;
        bool hasParam = false;
    };
    Control readControlWord();
    void controlSymbol(char c);
    void controlWord(const Control &w);
    void plainText();
    void skipGroup();
    bool unicodeVersionFollows() const;
    void openGroup();
    void closeGroup();

    // text
    void putByte(unsigned char b);
    void putUnicode(int value);
    void putUnit(char16_t u);
    void appendUnit(char16_t u);
    std::size_t room() const;
    void stopTooLong();
    void dropHighSurrogate();
    void flushBytes();
    void startRun();
    void flushRun();
    void paragraph();
    void applyAlignment();
    void setAlignment(Align a)
    {
        st_.align = a;
        alignmentSeen_ = alignmentSinceBreak_ = true;
    }
    bool textVisible() const { return st_.dest == Dest::Text && !st_.ch.hidden; }
    int codePage();
    int resolved(int fontCodePage) const;
    void setAnsiCodePage(int codePage)
    {
        ansiCodePage_ = codePage;
        cachedFont_ = INT32_MIN;
    }
    QStringDecoder *decoder(int codePage);
    const QTextCharFormat &format(const CharState &ch);

    // tables
    void beginFontEntry(int number);
    void flushEntryBytes();
    void commitFontEntry();
    void commitColor();

    const char *p_;
    const char *end_;
    QTextCursor *cur_;
    TextMeasure *measure_;
    const std::array<char16_t, 256> &bytes_;
    const std::array<bool, 256> &enders_;

    std::vector<GroupState> stack_;
    GroupState st_;
    int overflow_ = 0;   // groups opened beyond kMaxGroupDepth
    int skip_ = 0;       // fallback characters still to skip after \uN
    bool skipNextGroup_ = false; // the ANSI version after \upr
    bool done_ = false;
    std::size_t written_ = 0; // characters inserted, paragraph marks included
    std::size_t limit_;
    bool tooLong_ = false;

    int ansiCodePage_ = 0;
    int defaultFont_ = 0;
    std::unordered_map<int, FontEntry> fonts_;
    std::vector<QColor> colors_;

    int entryNumber_ = -1;
    int entryDepth_ = -1;
    FontEntry entry_;
    std::string entryBytes_; // bytes of the entry's name, read in its code page
    int red_ = -1, green_ = -1, blue_ = -1;

    int cachedFont_ = INT32_MIN;
    int cachedCodePage_ = 0;
    std::map<int, std::unique_ptr<QStringDecoder>> decoders_;

    QString run_;
    CharState runCh_;
    bool runOpen_ = false;
    CharState formatCh_;
    QTextCharFormat format_;
    bool formatValid_ = false;
    std::string pendingBytes_;
    char16_t highSurrogate_ = 0;

    QTextBlockFormat baseBlock_;
    bool alignmentSeen_ = false;       // any paragraph alignment in the input so far
    bool alignmentSinceBreak_ = false; // ... since the last paragraph break
};

void Reader::run()
{
    while (p_ < end_ && !done_) {
        const char c = *p_;
        if (c == '{') {
            ++p_;
            openGroup();
        } else if (c == '}') {
            ++p_;
            closeGroup();
        } else if (c == '\\') {
            ++p_;
            if (p_ >= end_)
                break;
            if (isLetter(*p_)) {
                const Control w = readControlWord();
                flushBytes();
                controlWord(w);
            } else {
                controlSymbol(*p_++);
            }
        } else if (enders_[static_cast<unsigned char>(c)]) {
            ++p_; // CR, LF and other control characters are not text
        } else {
            plainText();
        }
    }
    flushBytes();
    dropHighSurrogate();
    flushRun();
    if (alignmentSinceBreak_)
        applyAlignment();
}

Reader::Control Reader::readControlWord()
{
    Control w;
    const char *start = p_;
    while (p_ < end_ && isLetter(*p_))
        ++p_;
    w.name = std::string_view(start, std::size_t(p_ - start));
    bool negative = false;
    if (p_ + 1 < end_ && *p_ == '-' && isDigit(p_[1])) {
        negative = true;
        ++p_;
    }
    if (p_ < end_ && isDigit(*p_)) {
        std::int64_t value = 0;
        while (p_ < end_ && isDigit(*p_)) {
            value = std::min<std::int64_t>(value * 10 + (*p_ - '0'), INT32_MAX);
            ++p_;
        }
        w.param = int(negative ? -value : value);
        w.hasParam = true;
    }
    if (p_ < end_ && *p_ == ' ')
        ++p_;
    return w;
}

void Reader::controlSymbol(char c)
{
    if (c == '\'') {
        int hi = p_ < end_ ? hexValue(*p_) : -1;
        int lo = hi >= 0 && p_ + 1 < end_ ? hexValue(p_[1]) : -1;
        if (lo < 0) {
            p_ += hi >= 0 ? 1 : 0; // a broken escape stands for nothing
            return;
        }
        p_ += 2;
        putByte(static_cast<unsigned char>(hi * 16 + lo));
        return;
    }
    if (c == '\\' || c == '{' || c == '}') {
        putByte(static_cast<unsigned char>(c));
        return;
    }
    flushBytes();
    if (skip_ > 0) {
        --skip_;
        return;
    }
    switch (c) {
    case '*':
        if (!unicodeVersionFollows())
            skipGroup();
        break;
    case '~': putUnit(0x00A0); break;
    case '-': putUnit(0x00AD); break;
    case '_': putUnit(0x2011); break;
    case '\r':
    case '\n':
        if (textVisible())
            paragraph();
        break;
    default: break; // \| \: and unknown symbols
    }
}

void Reader::controlWord(const Control &w)
{
    const Keyword k = detail::lookUp(w.name);
    if (skip_ > 0) {
        --skip_;
        if (k.word == Word::Binary)
            p_ += std::clamp<std::ptrdiff_t>(w.param, 0, end_ - p_);
        return;
    }
    const int param = w.hasParam ? w.param : 1;
    const bool on = param != 0;
    CharState &ch = st_.ch;
    switch (k.word) {
    case Word::Unknown: break;
    case Word::Ansi: setAnsiCodePage(0); break;
    case Word::Mac: setAnsiCodePage(10000); break;
    case Word::Pc: setAnsiCodePage(437); break;
    case Word::Pca: setAnsiCodePage(850); break;
    case Word::AnsiCpg: setAnsiCodePage(w.param > 0 && w.param != 1252 ? w.param : 0); break;
    case Word::DefFont:
        defaultFont_ = w.param;
        ch.font = w.param;
        break;
    case Word::FontTable: st_.dest = Dest::FontTable; break;
    case Word::ColorTable: st_.dest = Dest::ColorTable; break;
    case Word::Skipped: skipGroup(); break;
    case Word::Font:
        if (st_.dest == Dest::FontTable)
            beginFontEntry(w.param);
        else
            ch.font = w.param;
        break;
    case Word::FontCharset:
        if (entryNumber_ >= 0)
            entry_.codePage = detail::codePageOfCharset(w.param);
        break;
    case Word::CodePage:
        if (entryNumber_ >= 0)
            entry_.codePage = w.param == 1252 ? 0 : w.param;
        break;
    case Word::Red: red_ = std::clamp(w.param, 0, 255); break;
    case Word::Green: green_ = std::clamp(w.param, 0, 255); break;
    case Word::Blue: blue_ = std::clamp(w.param, 0, 255); break;
    case Word::Plain: {
        ch = CharState{};
        ch.font = defaultFont_;
        break;
    }
    case Word::Bold: ch.bold = on; break;
    case Word::Italic: ch.italic = on; break;
    case Word::Underline: ch.underline = on; break;
    case Word::UnderlineNone: ch.underline = false; break;
    case Word::Strike: ch.strike = on; break;
    case Word::FontSize:
        ch.halfPoints = w.hasParam ? std::clamp(w.param, kMinHalfPoints, kMaxHalfPoints)
                                   : kDefaultHalfPoints;
        break;
    case Word::Color: ch.color = std::max(w.param, 0); break;
    case Word::Hidden: ch.hidden = on; break;
    case Word::ParDefault: setAlignment(Align::Left); break;
    case Word::AlignLeft: setAlignment(Align::Left); break;
    case Word::AlignCentre: setAlignment(Align::Centre); break;
    case Word::AlignRight: setAlignment(Align::Right); break;
    case Word::AlignJustify: setAlignment(Align::Justify); break;
    case Word::Paragraph:
        if (textVisible())
            paragraph();
        break;
    case Word::Line: putUnit(0x2028); break;
    case Word::Tab: putUnit(u'\t'); break;
    case Word::Character: putUnit(k.character); break;
    case Word::Unicode:
        putUnicode(w.param);
        skip_ = st_.uc;
        break;
    case Word::UnicodeSkip: st_.uc = std::clamp(w.param, 0, kMaxSkipCount); break;
    case Word::Binary: p_ += std::clamp<std::ptrdiff_t>(w.param, 0, end_ - p_); break;
    case Word::UnicodePair: skipNextGroup_ = true; break;
    }
}

// After \*: the Unicode version of a \upr group, {\*\ud{...}}, is read as
// any other group, in place of the ANSI version before it.
bool Reader::unicodeVersionFollows() const
{
    return end_ - p_ >= 3 && p_[0] == '\\' && p_[1] == 'u' && p_[2] == 'd' && (end_ - p_ == 3 || !isLetter(p_[3]));
}

// A run of plain text: decoded a whole run at a time in the common case.
void Reader::plainText()
{
    while (p_ < end_ && !done_ && !enders_[static_cast<unsigned char>(*p_)]) {
        if (skip_ > 0 || !textVisible() || codePage() != 0) {
            putByte(static_cast<unsigned char>(*p_++));
            continue;
        }
        dropHighSurrogate();
        if (tooLong_)
            return;
        startRun();
        const char *start = p_;
        const std::size_t most = room();
        while (p_ < end_ && !enders_[static_cast<unsigned char>(*p_)] && std::size_t(p_ - start) < most)
            ++p_;
        if (std::size_t(p_ - start) == most && p_ < end_ && !enders_[static_cast<unsigned char>(*p_)])
            stopTooLong();
        const qsizetype old = run_.size();
        run_.resize(old + (p_ - start));
        QChar *out = run_.data() + old;
        for (const char *s = start; s < p_; ++s)
            *out++ = QChar(bytes_[static_cast<unsigned char>(*s)]);
    }
}

// Skips the rest of the current group, nested groups and binary data included.
void Reader::skipGroup()
{
    int depth = 1;
    while (p_ < end_) {
        const char c = *p_++;
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth == 0)
                break;
        } else if (c == '\\' && p_ < end_) {
            if (!isLetter(*p_)) {
                ++p_;
                continue;
            }
            const Control w = readControlWord();
            if (w.name == "bin")
                p_ += std::clamp<std::ptrdiff_t>(w.param, 0, end_ - p_);
        }
    }
    if (depth == 0)
        closeGroup();
}

void Reader::openGroup()
{
    flushBytes();
    skip_ = 0;
    if (int(stack_.size()) >= kMaxGroupDepth) {
        ++overflow_;
        return;
    }
    stack_.push_back(st_);
    if (skipNextGroup_) {
        skipNextGroup_ = false;
        skipGroup();
    }
}

void Reader::closeGroup()
{
    flushBytes();
    skip_ = 0;
    skipNextGroup_ = false;
    if (overflow_ > 0) {
        --overflow_;
        return;
    }
    if (st_.dest == Dest::FontTable && int(stack_.size()) == entryDepth_)
        commitFontEntry();
    if (stack_.size() <= 1) {
        done_ = true; // the outermost group: its formatting holds for the last paragraph
        return;
    }
    st_ = stack_.back();
    stack_.pop_back();
}

void Reader::putByte(unsigned char b)
{
    if (skip_ > 0) {
        --skip_;
        return;
    }
    switch (st_.dest) {
    case Dest::FontTable:
        if (b == ';')
            commitFontEntry();
        else if (entry_.family.size() + qsizetype(entryBytes_.size()) < kMaxFontName)
            entryBytes_ += char(b);
        return;
    case Dest::ColorTable:
        if (b == ';')
            commitColor();
        return;
    case Dest::Text:
        break;
    }
    if (st_.ch.hidden)
        return;
    if (codePage() == 0)
        putUnit(bytes_[b]);
    else
        pendingBytes_ += char(b);
}

void Reader::putUnicode(int value)
{
    if (value < 0)
        value += 0x10000;
    putUnit(value >= 0 && value <= 0xFFFF ? char16_t(value) : kReplacement);
}

void Reader::putUnit(char16_t u)
{
    if (st_.dest == Dest::FontTable) {
        flushEntryBytes();
        if (entry_.family.size() < kMaxFontName)
            entry_.family += QChar(u);
        return;
    }
    if (!textVisible())
        return;
    if (highSurrogate_) {
        const char16_t high = highSurrogate_;
        highSurrogate_ = 0;
        if (QChar::isLowSurrogate(u)) {
            appendUnit(high);
            appendUnit(u);
            return;
        }
        appendUnit(kReplacement);
    }
    if (QChar::isHighSurrogate(u)) {
        highSurrogate_ = u;
        return;
    }
    if (QChar::isLowSurrogate(u)) {
        appendUnit(kReplacement);
        return;
    }
    // Word processors write the bytes of symbol fonts as U+F000 plus the byte,
    // and the five bytes that Windows-1252 leaves undefined as U+F100 plus the
    // byte: the document keeps the byte.
    if (u >= 0xF020 && u <= 0xF0FF)
        u = bytes_[u - 0xF000];
    else if (u == 0xF181 || u == 0xF18D || u == 0xF18F || u == 0xF190 || u == 0xF19D)
        u -= 0xF100;
    switch (u) {
    case 0x0000: // nothing readable: no character and the noncharacters
    case 0xFFFE:
    case 0xFFFF:
    case u'\r':
    case u'\n':
    case 0xFDD0: // the document's own frame marks
    case 0xFDD1:
    case 0xFFFC: // object replacement: no object comes with it
        return;
    case 0x2029:
        paragraph();
        return;
    default:
        appendUnit(u);
    }
}

// A high surrogate that no low one follows stands for nothing readable.
void Reader::dropHighSurrogate()
{
    if (highSurrogate_) {
        highSurrogate_ = 0;
        appendUnit(kReplacement);
    }
}

void Reader::appendUnit(char16_t u)
{
    if (tooLong_)
        return;
    if (room() == 0) {
        stopTooLong();
        return;
    }
    startRun();
    run_.append(QChar(u));
}

// Characters that may still be inserted.
std::size_t Reader::room() const
{
    const std::size_t used = written_ + std::size_t(run_.size());
    return used < limit_ ? limit_ - used : 0;
}

// The text goes on beyond the limit: the reading ends here.
void Reader::stopTooLong()
{
    tooLong_ = true;
    done_ = true;
}

void Reader::flushBytes()
{
    if (pendingBytes_.empty())
        return;
    const std::string bytes = std::move(pendingBytes_);
    pendingBytes_.clear();
    QStringDecoder *dec = decoder(codePage());
    const QString text = dec ? dec->decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())))
                             : rt::toQString(bytes);
    for (QChar c : text)
        putUnit(c.unicode());
}

// Makes the run being collected one of the current format.
void Reader::startRun()
{
    if (runOpen_ && runCh_ == st_.ch)
        return;
    flushRun();
    runCh_ = st_.ch;
    runOpen_ = true;
}

void Reader::flushRun()
{
    if (runOpen_ && !run_.isEmpty()) {
        if (cur_)
            cur_->insertText(run_, format(runCh_));
        else
            measure_->addText(run_, format(runCh_));
    }
    written_ += std::size_t(run_.size());
    run_.clear();
    runOpen_ = false;
}

void Reader::paragraph()
{
    dropHighSurrogate();
    if (room() == 0)
        stopTooLong();
    if (tooLong_)
        return;
    flushRun();
    ++written_;
    if (!cur_) {
        measure_->endParagraph();
        return;
    }
    if (alignmentSeen_)
        applyAlignment();
    alignmentSinceBreak_ = false;
    cur_->insertBlock(baseBlock_);
}

void Reader::applyAlignment()
{
    if (!cur_)
        return;
    const Qt::Alignment a = qtAlignment(st_.align);
    if (cur_->blockFormat().alignment() == a)
        return;
    QTextBlockFormat f;
    f.setAlignment(a);
    cur_->mergeBlockFormat(f);
}

int Reader::codePage()
{
    if (st_.ch.font != cachedFont_) {
        auto it = fonts_.find(st_.ch.font);
        if (it == fonts_.end())
            it = fonts_.find(defaultFont_);
        cachedCodePage_ = resolved(it == fonts_.end() ? detail::kDocumentCodePage : it->second.codePage);
        cachedFont_ = st_.ch.font;
    }
    return cachedCodePage_;
}

// A font's code page as a number: fonts of the ANSI charset take Windows-1252,
// but on a Macintosh, which has no such code page, the document's.
int Reader::resolved(int fontCodePage) const
{
    if (fontCodePage == detail::kDocumentCodePage)
        return ansiCodePage_;
    if (fontCodePage == detail::kAnsiCodePage)
        return detail::isMacCodePage(ansiCodePage_) ? ansiCodePage_ : 0;
    return fontCodePage;
}

QStringDecoder *Reader::decoder(int codePage)
{
    const char *name = detail::decoderName(codePage);
    if (!name)
        return nullptr;
    auto it = decoders_.find(codePage);
    if (it == decoders_.end()) {
        auto dec = std::make_unique<QStringDecoder>(name);
        if (!dec->isValid())
            dec.reset();
        it = decoders_.emplace(codePage, std::move(dec)).first;
    }
    return it->second.get();
}

const QTextCharFormat &Reader::format(const CharState &ch)
{
    if (formatValid_ && ch == formatCh_)
        return format_;
    QTextCharFormat f;
    auto it = fonts_.find(ch.font);
    if (it == fonts_.end())
        it = fonts_.find(defaultFont_);
    if (it != fonts_.end())
        f.setFontFamilies({it->second.family});
    f.setFontPointSize(ch.halfPoints / 2.0);
    if (ch.bold)
        f.setFontWeight(QFont::Bold);
    if (ch.italic)
        f.setFontItalic(true);
    if (ch.underline)
        f.setFontUnderline(true);
    if (ch.strike)
        f.setFontStrikeOut(true);
    if (ch.color > 0 && std::size_t(ch.color) < colors_.size() && colors_[std::size_t(ch.color)].isValid())
        f.setForeground(colors_[std::size_t(ch.color)]);
    format_ = f;
    formatCh_ = ch;
    formatValid_ = true;
    return format_;
}

void Reader::beginFontEntry(int number)
{
    commitFontEntry();
    entryNumber_ = number;
    entryDepth_ = int(stack_.size());
    entry_ = FontEntry{};
}

// The bytes of the entry's name so far, decoded in the entry's code page.
void Reader::flushEntryBytes()
{
    if (entryBytes_.empty())
        return;
    const int page = resolved(entry_.codePage);
    QStringDecoder *dec = page == 0 ? nullptr : decoder(page);
    if (dec)
        dec->resetState();
    entry_.family += dec ? dec->decode(QByteArrayView(entryBytes_.data(), qsizetype(entryBytes_.size())))
                         : rt::toQString(entryBytes_);
    entryBytes_.clear();
}

// A family name as a font list can show it: no control characters, single spaces.
QString cleanFamily(const QString &name)
{
    QString out = name;
    for (QChar &c : out) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F || u == 0xFFFC || u == 0x2028 || u == 0x2029 || (u >= 0xFDD0 && u <= 0xFDEF))
            c = u' ';
    }
    return out.simplified();
}

void Reader::commitFontEntry()
{
    flushEntryBytes();
    const QString family = cleanFamily(entry_.family.left(kMaxFontName));
    if (entryNumber_ >= 0 && !family.isEmpty()
        && (fonts_.size() < std::size_t(kMaxFonts) || fonts_.count(entryNumber_))) {
        fonts_[entryNumber_] = FontEntry{family, entry_.codePage};
        cachedFont_ = INT32_MIN;
        formatValid_ = false;
    }
    entryNumber_ = -1;
    entryDepth_ = -1;
    entry_ = FontEntry{};
    entryBytes_.clear();
}

void Reader::commitColor()
{
    if (colors_.size() < std::size_t(kMaxColors)) {
        if (red_ < 0 && green_ < 0 && blue_ < 0)
            colors_.emplace_back();
        else
            colors_.emplace_back(std::max(red_, 0), std::max(green_, 0), std::max(blue_, 0));
        formatValid_ = false;
    }
    red_ = green_ = blue_ = -1;
}

} // namespace

bool looksLikeRtf(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n'))
        ++i;
    return text.substr(i, 5) == "{\\rtf";
}

ReadResult readInto(std::string_view rtf, QTextCursor &at, std::size_t maxCharacters)
{
    if (at.isNull())
        return {false, "no document to read into"};
    if (!looksLikeRtf(rtf))
        return {false, "not RTF: the text does not start with {\\rtf"};
    const std::size_t start = rtf.find('{');
    at.beginEditBlock();
    at.removeSelectedText();
    Reader reader(rtf.substr(start), &at, nullptr, maxCharacters);
    reader.run();
    at.endEditBlock();
    return {true, {}, reader.tooLong()};
}

ReadResult measure(std::string_view rtf, TextMeasure &measure, std::size_t maxCharacters)
{
    if (!looksLikeRtf(rtf))
        return {false, "not RTF: the text does not start with {\\rtf"};
    Reader reader(rtf.substr(rtf.find('{')), nullptr, &measure, maxCharacters);
    reader.run();
    return {true, {}, reader.tooLong()};
}

} // namespace rt::rtf
