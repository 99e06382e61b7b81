#include "fonts/font_tables.h"

#include "runtime/text/legacy_text.h"

#include <QTextLayout>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testing_support {

namespace {

std::vector<std::vector<std::string>> rows(const std::string &file)
{
    std::ifstream in(std::string(VELUMIR_FONT_TOOLS) + "/" + file);
    if (!in)
        throw std::runtime_error("cannot read " + file);
    std::vector<std::vector<std::string>> out;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        std::istringstream split(line);
        for (std::string field; std::getline(split, field, '\t');)
            fields.push_back(field);
        out.push_back(fields);
    }
    return out;
}

QString unicodeText(const std::string &codes)
{
    QString text;
    std::istringstream split(codes);
    for (std::string code; split >> code;)
        text += QChar(char16_t(std::stoi(code, nullptr, 16)));
    return text;
}

} // namespace

QString EncodedByte::legacy() const
{
    return rt::toQString(std::string(1, char(byte)));
}

bool EncodedByte::isLetter() const
{
    return role == "base" && text.size() == 1 && text[0].unicode() >= 0x1780 && text[0].unicode() <= 0x17B3;
}

std::vector<EncodedByte> legacyEncoding()
{
    std::vector<EncodedByte> out;
    for (const auto &fields : rows("limon_encoding.tsv")) {
        if (fields.at(1) != "spells")
            out.push_back({static_cast<unsigned char>(std::stoi(fields.at(0), nullptr, 16)), fields.at(1),
                           unicodeText(fields.at(2))});
    }
    return out;
}

QString Spelling::legacy() const
{
    return rt::toQString(bytes);
}

std::vector<Spelling> spellings()
{
    std::vector<Spelling> out;
    for (const auto &fields : rows("limon_encoding.tsv")) {
        if (fields.at(1) != "spells")
            continue;
        Spelling s{{}, unicodeText(fields.at(2))};
        std::istringstream split(fields.at(0));
        for (std::string byte; split >> byte;)
            s.bytes += char(std::stoi(byte, nullptr, 16));
        out.push_back(s);
    }
    return out;
}

std::vector<StandIn> standIns()
{
    std::vector<StandIn> out;
    for (const auto &fields : rows("families.tsv"))
        out.push_back({QString::fromStdString(fields.at(0)), fields.at(1), fields.at(2)});
    return out;
}

QList<QGlyphRun> glyphRuns(const QFont &font, const QString &text)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    return layout.glyphRuns();
}

} // namespace testing_support
