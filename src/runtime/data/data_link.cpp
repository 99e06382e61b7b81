#include "runtime/data/data_link.h"

#include "runtime/data/data_errors.h"
#include "runtime/errors/runtime_error.h"

#include <QString>
#include <QStringConverter>
#include <QStringList>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

namespace rt {

namespace {

// Data link files are a few hundred bytes; anything far larger is not one.
constexpr std::uintmax_t MaxDataLinkSize = 64 * 1024;

const char *const Header = "[oledb]";
const char *const Comment = "; Everything after this line is an OLE DB initstring";

bool sameKey(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

[[noreturn]] void badFormat(std::string_view connectionString, std::string_view why)
{
    raise(err::InitStringFormat, "The format of the connection string is not valid (" + std::string(why) +
                                     "): " + std::string(connectionString));
}

// The text of the file, decoded by its byte-order mark; false when the bytes
// are not valid in their encoding.
bool decode(std::string_view bytes, QString &text)
{
    auto starts = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
    QStringConverter::Encoding encoding = QStringConverter::Utf8;
    if (starts("\xFF\xFE")) {
        encoding = QStringConverter::Utf16LE;
        bytes.remove_prefix(2);
    } else if (starts("\xFE\xFF")) {
        encoding = QStringConverter::Utf16BE;
        bytes.remove_prefix(2);
    } else if (starts("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    } else if (bytes.size() >= 2 && bytes[0] != '\0' && bytes[1] == '\0') {
        encoding = QStringConverter::Utf16LE; // UTF-16LE that lost its mark
    }
    if (encoding != QStringConverter::Utf8 && bytes.size() % 2 != 0)
        return false;
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
    text = decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    return !decoder.hasError() && !text.contains(QChar(u'\0'));
}

} // namespace

std::optional<std::string> parseDataLink(std::string_view bytes, std::string &problem)
{
    QString text;
    if (!decode(bytes, text)) {
        problem = "its text is neither UTF-16 nor UTF-8";
        return std::nullopt;
    }
    bool header = false;
    const QStringList lines = text.split(QChar(u'\n'));
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty())
            continue;
        if (!header) {
            if (line.compare(QLatin1String(Header), Qt::CaseInsensitive) != 0) {
                problem = "it does not start with the line [oledb]";
                return std::nullopt;
            }
            header = true;
            continue;
        }
        if (line.startsWith(QChar(u';')))
            continue;
        return line.toStdString();
    }
    problem = header ? "it holds no connection string" : "it is empty";
    return std::nullopt;
}

std::string readDataLink(const std::filesystem::path &file, std::string_view shownName)
{
    const std::string name = shownName.empty() ? file.string() : std::string(shownName);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        raise(err::DataLinkNotFound, "Could not find the data link file '" + name + "'.");
    const auto size = std::filesystem::file_size(file, ec);
    if (ec || size > MaxDataLinkSize)
        raise(err::ProviderError, "The data link file '" + name + "' is not a data link file (it is too large).");
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof())
        raise(err::ProviderError, "The data link file '" + name + "' could not be read.");
    std::string problem;
    std::optional<std::string> connection = parseDataLink(bytes, problem);
    if (!connection)
        raise(err::ProviderError, "The data link file '" + name + "' is not a data link file (" + problem + ").");
    return *connection;
}

void writeDataLink(const std::filesystem::path &file, std::string_view connectionString)
{
    const QString text = QLatin1String(Header) + QLatin1String("\r\n") + QLatin1String(Comment) +
                         QLatin1String("\r\n") +
                         QString::fromUtf8(connectionString.data(), qsizetype(connectionString.size())) +
                         QLatin1String("\r\n");
    QStringEncoder encoder(QStringConverter::Utf16LE);
    const QByteArray bytes = encoder.encode(text);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write("\xFF\xFE", 2);
    out.write(bytes.constData(), bytes.size());
    out.close();
    if (!out)
        raise(err::PathFileAccess, "Path/File access error: the data link file '" + file.string() +
                                       "' could not be written.");
}

ConnectionProperties ConnectionProperties::parse(std::string_view connectionString)
{
    ConnectionProperties properties;
    std::string_view rest = connectionString;
    while (!rest.empty()) {
        const std::size_t equals = rest.find('=');
        const std::size_t semicolon = rest.find(';');
        if (equals == std::string_view::npos || (semicolon != std::string_view::npos && semicolon < equals)) {
            // A part without '=': only an empty one is allowed.
            const std::string_view part = rest.substr(0, semicolon);
            if (!trimmed(part).empty())
                badFormat(connectionString, "a part has no '='");
            rest = semicolon == std::string_view::npos ? std::string_view() : rest.substr(semicolon + 1);
            continue;
        }
        const std::string_view key = trimmed(rest.substr(0, equals));
        if (key.empty())
            badFormat(connectionString, "a part has no key");
        rest.remove_prefix(equals + 1);
        while (!rest.empty() && std::isspace(static_cast<unsigned char>(rest.front())))
            rest.remove_prefix(1);

        std::string value;
        if (!rest.empty() && (rest.front() == '"' || rest.front() == '\'')) {
            const char quote = rest.front();
            std::size_t i = 1;
            bool closed = false;
            while (i < rest.size()) {
                if (rest[i] == quote) {
                    if (i + 1 < rest.size() && rest[i + 1] == quote) {
                        value += quote;
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                value += rest[i++];
            }
            if (!closed)
                badFormat(connectionString, "a quote is not closed");
            rest.remove_prefix(i);
            const std::size_t end = rest.find(';');
            if (!trimmed(rest.substr(0, end)).empty())
                badFormat(connectionString, "text follows a quoted value");
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        } else {
            const std::size_t end = rest.find(';');
            value = std::string(trimmed(rest.substr(0, end)));
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        }
        properties.set(key, std::move(value));
    }
    return properties;
}

std::optional<std::string> ConnectionProperties::value(std::string_view key) const
{
    for (const auto &[k, v] : items_)
        if (sameKey(k, key))
            return v;
    return std::nullopt;
}

void ConnectionProperties::set(std::string_view key, std::string value)
{
    for (auto &[k, v] : items_) {
        if (sameKey(k, key)) {
            v = std::move(value);
            return;
        }
    }
    items_.emplace_back(std::string(key), std::move(value));
}

void ConnectionProperties::remove(std::string_view key)
{
    std::erase_if(items_, [&](const auto &item) { return sameKey(item.first, key); });
}

} // namespace rt
