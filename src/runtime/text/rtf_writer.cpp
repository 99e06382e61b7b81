#include "runtime/text/rtf_writer.h"

#include "runtime/text/legacy_text.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace rt::rtf {

namespace {

constexpr std::size_t kLineLength = 200;     // break at the next word or control word
constexpr std::size_t kHardLineLength = 250; // break inside a long word
constexpr int kMinHalfPoints = 2;
constexpr int kMaxHalfPoints = 3276;

struct Attrs {
    int font = 0;
    int halfPoints = 24;
    int color = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
};

class Writer {
public:
    explicit Writer(const QTextDocument &document);

    std::string write(int start, int end);
    std::string writeEmpty();

private:
    Attrs attrsOf(const QTextFragment &fragment);
    int fontIndex(const QString &family);
    int colorIndex(QRgb rgb);
    std::string finish();

    void paragraphStart(const QTextBlock &block);
    void changeTo(const Attrs &a);
    void text(QStringView text, bool inFontName = false);

    void word(std::string_view name);
    void word(std::string_view name, int value);
    void hexByte(unsigned char b);
    void plain(char c);
    void newLine();
    std::size_t lineLength() const { return out_.size() - lineStart_; }

    const QTextDocument &doc_;
    QString defaultFamily_;
    int defaultHalfPoints_ = 24;
    QStringList fonts_;
    QHash<QString, int> fontIndex_;
    std::vector<QRgb> colors_;
    QHash<QRgb, int> colorIndex_;
    std::unordered_map<int, Attrs> attrsByFormat_;

    std::string out_;
    std::size_t lineStart_ = 0;
    bool delimiter_ = false; // a control word was written that text must not run into
    Attrs written_;          // the character formatting the reader is in
};

Writer::Writer(const QTextDocument &document) : doc_(document)
{
    const QFont font = document.defaultFont();
    defaultFamily_ = font.family();
    if (font.pointSizeF() > 0)
        defaultHalfPoints_ = std::clamp(int(std::lround(font.pointSizeF() * 2)), kMinHalfPoints, kMaxHalfPoints);
    fontIndex(defaultFamily_); // \f0, the \deff font
}

std::string Writer::write(int start, int end)
{
    QTextBlock block = doc_.findBlock(start);
    bool first = true;
    for (; block.isValid() && block.position() <= end; block = block.next()) {
        if (!first) {
            word("par");
            newLine();
        }
        first = false;
        // A paragraph is written with its alignment when its mark is part of
        // what is written; the document's last paragraph, which has no mark,
        // when it is written to its end.
        const int blockEnd = block.position() + block.length() - 1;
        if (end > blockEnd || (!block.next().isValid() && end == blockEnd))
            paragraphStart(block);
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int from = std::max(fragment.position(), start);
            const int to = std::min(fragment.position() + fragment.length(), end);
            if (from >= to)
                continue;
            changeTo(attrsOf(fragment));
            const QString all = fragment.text();
            text(QStringView(all).mid(from - fragment.position(), to - from));
        }
    }
    return finish();
}

std::string Writer::writeEmpty()
{
    return finish();
}

Attrs Writer::attrsOf(const QTextFragment &fragment)
{
    const int index = fragment.charFormatIndex();
    if (auto it = attrsByFormat_.find(index); it != attrsByFormat_.end())
        return it->second;
    const QTextCharFormat f = fragment.charFormat();
    Attrs a;
    const QStringList families = f.fontFamilies().toStringList();
    a.font = fontIndex(families.isEmpty() || families.first().isEmpty() ? defaultFamily_ : families.first());
    const double points = f.fontPointSize();
    a.halfPoints = points > 0 ? std::clamp(int(std::lround(points * 2)), kMinHalfPoints, kMaxHalfPoints)
                              : defaultHalfPoints_;
    a.bold = f.fontWeight() >= QFont::DemiBold;
    a.italic = f.fontItalic();
    a.underline = f.fontUnderline() || f.underlineStyle() != QTextCharFormat::NoUnderline;
    a.strike = f.fontStrikeOut();
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        a.color = colorIndex(f.foreground().color().rgb());
    attrsByFormat_.emplace(index, a);
    return a;
}

int Writer::fontIndex(const QString &family)
{
    auto it = fontIndex_.constFind(family);
    if (it != fontIndex_.constEnd())
        return *it;
    const int index = int(fonts_.size());
    fonts_.append(family);
    fontIndex_.insert(family, index);
    return index;
}

int Writer::colorIndex(QRgb rgb)
{
    rgb &= 0xFFFFFF;
    auto it = colorIndex_.constFind(rgb);
    if (it != colorIndex_.constEnd())
        return *it;
    colors_.push_back(rgb);
    const int index = int(colors_.size()); // entry 0 is the automatic colour
    colorIndex_.insert(rgb, index);
    return index;
}

// The header goes in front of the body, now that the fonts and colours are known.
std::string Writer::finish()
{
    out_ += '}';
    std::string body = std::move(out_);
    out_.clear();
    lineStart_ = 0;
    delimiter_ = false;
    out_ = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl";
    for (int i = 0; i < fonts_.size(); ++i) {
        out_ += '{';
        word("f", i);
        word("fnil");
        word("fcharset", 0);
        text(fonts_.at(i), true);
        out_ += ";}";
    }
    out_ += "}{\\colortbl ;";
    for (QRgb rgb : colors_) {
        word("red", qRed(rgb));
        word("green", qGreen(rgb));
        word("blue", qBlue(rgb));
        out_ += ';';
        delimiter_ = false;
    }
    out_ += '}';
    delimiter_ = false;
    newLine();
    out_ += body;
    return std::move(out_);
}

void Writer::paragraphStart(const QTextBlock &block)
{
    word("pard");
    const Qt::Alignment a = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignHCenter)
        word("qc");
    else if (a & Qt::AlignJustify)
        word("qj");
    else if (a & Qt::AlignRight)
        word("qr");
}

void Writer::changeTo(const Attrs &a)
{
    Attrs &w = written_;
    if (a.font != w.font)
        word("f", a.font);
    if (a.halfPoints != w.halfPoints)
        word("fs", a.halfPoints);
    if (a.bold != w.bold)
        a.bold ? word("b") : word("b", 0);
    if (a.italic != w.italic)
        a.italic ? word("i") : word("i", 0);
    if (a.underline != w.underline)
        a.underline ? word("ul") : word("ulnone");
    if (a.strike != w.strike)
        a.strike ? word("strike") : word("strike", 0);
    if (a.color != w.color)
        word("cf", a.color);
    w = a;
}

void Writer::text(QStringView text, bool inFontName)
{
    for (QChar qc : text) {
        const char16_t u = qc.unicode();
        if (u < 0x80) {
            switch (u) {
            case u'\\': word("\\"); delimiter_ = false; break;
            case u'{': word("{"); delimiter_ = false; break;
            case u'}': word("}"); delimiter_ = false; break;
            case u';':
                if (!inFontName)
                    plain(';');
                break; // a font name cannot hold the table's separator
            case u'\t': word("tab"); break;
            default:
                if (u < 0x20 || u == 0x7F)
                    hexByte(static_cast<unsigned char>(u));
                else
                    plain(char(u));
            }
            continue;
        }
        if (u == 0x2028) {
            word("line");
            continue;
        }
        if (u == 0xFFFC || u == 0x2029 || u == 0xFDD0 || u == 0xFDD1)
            continue; // objects and the document's own marks carry no text
        unsigned char b;
        if (rt::byteOf(u, b)) {
            hexByte(b);
            continue;
        }
        word("u", std::int16_t(u)); // surrogates too: a pair becomes two \u
        out_ += '?';
        delimiter_ = false;
    }
}

void Writer::word(std::string_view name)
{
    if (lineLength() >= kLineLength)
        newLine();
    out_ += '\\';
    out_ += name;
    delimiter_ = true;
}

void Writer::word(std::string_view name, int value)
{
    word(name);
    out_ += std::to_string(value);
}

void Writer::hexByte(unsigned char b)
{
    static constexpr char kHex[] = "0123456789abcdef";
    if (lineLength() >= kLineLength)
        newLine();
    out_ += "\\'";
    out_ += kHex[b >> 4];
    out_ += kHex[b & 15];
    delimiter_ = false;
}

void Writer::plain(char c)
{
    if (delimiter_) {
        out_ += ' ';
        delimiter_ = false;
    }
    if (lineLength() >= kHardLineLength)
        newLine();
    out_ += c;
    if (c == ' ' && lineLength() >= kLineLength)
        newLine();
}

// Readers ignore a bare line break, so it may go anywhere but inside a control word.
void Writer::newLine()
{
    if (delimiter_) {
        out_ += ' ';
        delimiter_ = false;
    }
    out_ += "\r\n";
    lineStart_ = out_.size();
}

} // namespace

std::string writeDocument(const QTextDocument &document)
{
    Writer writer(document);
    return writer.write(0, std::max(0, document.characterCount() - 1));
}

std::string writeSelection(const QTextCursor &selection)
{
    const QTextDocument *document = selection.document();
    if (!document) {
        QTextDocument empty;
        return Writer(empty).writeEmpty();
    }
    Writer writer(*document);
    if (!selection.hasSelection())
        return writer.writeEmpty();
    return writer.write(selection.selectionStart(), selection.selectionEnd());
}

} // namespace rt::rtf
