#include "runtime/system/font_names.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <functional>
#include <string>

namespace rt {

namespace {

// Bounds on what a font file may ask us to read: far above real fonts.
constexpr std::uint32_t kMaxTables = 1024;
constexpr std::uint32_t kMaxFontsInCollection = 256;
constexpr std::uint32_t kMaxNameTable = 1u << 20;

constexpr std::uint32_t tag(const char (&t)[5])
{
    return std::uint32_t(std::uint8_t(t[0])) << 24 | std::uint32_t(std::uint8_t(t[1])) << 16 |
           std::uint32_t(std::uint8_t(t[2])) << 8 | std::uint32_t(std::uint8_t(t[3]));
}

// Reads `length` bytes at `offset`; false when they are not all there.
using ReadAt = std::function<bool(std::uint64_t offset, std::size_t length, std::string &out)>;

std::uint16_t u16(const std::string &b, std::size_t at)
{
    return std::uint16_t(std::uint8_t(b[at]) << 8 | std::uint8_t(b[at + 1]));
}

std::uint32_t u32(const std::string &b, std::size_t at)
{
    return std::uint32_t(u16(b, at)) << 16 | u16(b, at + 2);
}

QString decodeName(std::uint16_t platform, std::uint16_t encoding, std::string_view bytes)
{
    if (platform == 0 || platform == 3) { // UTF-16, big-endian
        QString name;
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
            name += QChar(char16_t(std::uint8_t(bytes[i]) << 8 | std::uint8_t(bytes[i + 1])));
        return name;
    }
    if (platform == 1 && encoding == 0) // Mac Roman: family names are ASCII
        return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    return {};
}

// The families of the font whose table directory starts at `offset`.
void readFont(const ReadAt &read, std::uint64_t offset, QStringList &families)
{
    std::string header;
    if (!read(offset, 12, header))
        return;
    const std::uint32_t tables = u16(header, 4);
    std::string directory;
    if (tables > kMaxTables || !read(offset + 12, 16 * std::size_t(tables), directory))
        return;
    for (std::uint32_t i = 0; i < tables; ++i) {
        const std::size_t record = 16 * std::size_t(i);
        if (u32(directory, record) != tag("name"))
            continue;
        const std::uint32_t length = u32(directory, record + 12);
        std::string name;
        if (length < 6 || length > kMaxNameTable || !read(u32(directory, record + 8), length, name))
            return;
        const std::uint16_t count = u16(name, 2);
        const std::size_t strings = u16(name, 4);
        for (std::size_t r = 0; r < count && 6 + 12 * (r + 1) <= name.size(); ++r) {
            const std::size_t at = 6 + 12 * r;
            const std::uint16_t id = u16(name, at + 6);
            const std::size_t size = u16(name, at + 8), start = strings + u16(name, at + 10);
            if ((id != 1 && id != 16) || start + size > name.size())
                continue;
            const QString family = decodeName(u16(name, at), u16(name, at + 2), std::string_view(name).substr(start, size));
            if (!family.trimmed().isEmpty() && !families.contains(family))
                families.append(family);
        }
        return;
    }
}

QStringList familiesFrom(const ReadAt &read)
{
    std::string head;
    if (!read(0, 12, head))
        return {};
    QStringList families;
    switch (u32(head, 0)) {
    case 0x00010000:
    case tag("OTTO"):
    case tag("true"):
        readFont(read, 0, families);
        break;
    case tag("ttcf"): {
        const std::uint32_t fonts = u32(head, 8);
        std::string offsets;
        if (fonts > kMaxFontsInCollection || !read(12, 4 * std::size_t(fonts), offsets))
            return {};
        for (std::uint32_t i = 0; i < fonts; ++i)
            readFont(read, u32(offsets, 4 * std::size_t(i)), families);
        break;
    }
    default:
        break;
    }
    return families;
}

} // namespace

QStringList fontFamiliesOf(std::string_view bytes)
{
    return familiesFrom([bytes](std::uint64_t offset, std::size_t length, std::string &out) {
        if (offset > bytes.size() || length > bytes.size() - offset)
            return false;
        out.assign(bytes.substr(std::size_t(offset), length));
        return true;
    });
}

QStringList fontFamilies(const std::filesystem::path &file)
{
    // (Non-blocking, so that a pipe in place of a font cannot hold the start.)
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return {};
    const QStringList families = familiesFrom([fd](std::uint64_t offset, std::size_t length, std::string &out) {
        out.resize(length);
        std::size_t done = 0;
        while (done < length) {
            const ssize_t n = ::pread(fd, out.data() + done, length - done, off_t(offset + done));
            if (n <= 0)
                return false;
            done += std::size_t(n);
        }
        return true;
    });
    ::close(fd);
    return families;
}

} // namespace rt
