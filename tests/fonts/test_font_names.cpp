#include "runtime/system/font_names.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using testing_support::TempDir;

namespace {

void put16(std::string &out, unsigned value)
{
    out += char((value >> 8) & 0xFF);
    out += char(value & 0xFF);
}

void put32(std::string &out, std::uint32_t value)
{
    put16(out, value >> 16);
    put16(out, value & 0xFFFF);
}

struct NameRecord {
    unsigned platform, encoding, id;
    std::string bytes;
};

std::string utf16(const std::string &ascii)
{
    std::string out;
    for (char c : ascii)
        put16(out, unsigned(std::uint8_t(c)));
    return out;
}

NameRecord windowsName(unsigned id, const std::string &text)
{
    return {3, 1, id, utf16(text)};
}

// A name table of these records.
std::string nameTable(const std::vector<NameRecord> &records)
{
    std::string head, strings;
    put16(head, 0);
    put16(head, unsigned(records.size()));
    put16(head, unsigned(6 + 12 * records.size()));
    for (const NameRecord &r : records) {
        put16(head, r.platform);
        put16(head, r.encoding);
        put16(head, r.platform == 3 ? 0x409 : 0);
        put16(head, r.id);
        put16(head, unsigned(r.bytes.size()));
        put16(head, unsigned(strings.size()));
        strings += r.bytes;
    }
    return head + strings;
}

// A font whose only table is a name table, its directory at `at` in the file
// (so that fonts can be put together into a collection).
std::string font(const std::vector<NameRecord> &records, std::uint32_t at = 0,
                 std::uint32_t version = 0x00010000)
{
    std::string out;
    put32(out, version);
    put16(out, 1);
    put16(out, 16);
    put16(out, 0);
    put16(out, 0);
    const std::string name = nameTable(records);
    out += "name";
    put32(out, 0);
    put32(out, at + 28);
    put32(out, std::uint32_t(name.size()));
    return out + name;
}

std::string collection(const std::vector<std::vector<NameRecord>> &fonts)
{
    const std::uint32_t header = 12 + 4 * std::uint32_t(fonts.size());
    std::string head = "ttcf", body;
    put32(head, 0x00010000);
    put32(head, std::uint32_t(fonts.size()));
    for (const auto &records : fonts) {
        put32(head, header + std::uint32_t(body.size()));
        body += font(records, header + std::uint32_t(body.size()));
    }
    return head + body;
}

QStringList list(std::initializer_list<const char *> names)
{
    QStringList out;
    for (const char *n : names)
        out << QString::fromUtf8(n);
    return out;
}

} // namespace

TEST(FontNames, FamiliesOfTheNameTable)
{
    struct Case {
        const char *what;
        std::string bytes;
        QStringList families;
    };
    const std::vector<Case> cases = {
        {"Windows family", font({windowsName(1, "Limon S1"), windowsName(4, "Limon S1 Regular")}), list({"Limon S1"})},
        {"typographic family too", font({windowsName(1, "Limon S1"), windowsName(16, "Limon")}),
         list({"Limon S1", "Limon"})},
        {"Mac Roman, once", font({{1, 0, 1, "Limon R1"}, windowsName(1, "Limon R1")}), list({"Limon R1"})},
        {"Unicode platform", font({{0, 3, 1, utf16("Limon F3")}}), list({"Limon F3"})},
        {"symbol encoding", font({{3, 0, 1, utf16("Limon R2")}}), list({"Limon R2"})},
        {"OpenType with outlines in CFF", font({windowsName(1, "Limon S1")}, 0, 0x4F54544F), list({"Limon S1"})},
        {"Apple's TrueType", font({windowsName(1, "Limon S1")}, 0, 0x74727565), list({"Limon S1"})},
        {"not a font", font({windowsName(1, "Limon S1")}, 0, 0x12345678), {}},
        {"no family", font({windowsName(4, "Full name")}), {}},
        {"blank family", font({windowsName(1, "  ")}), {}},
        {"collection", collection({{windowsName(1, "Limon S1")}, {windowsName(1, "Limon R1")}}),
         list({"Limon S1", "Limon R1"})},
        {"empty", "", {}},
        {"a picture", std::string("\x89PNG\r\n\x1a\n", 8) + std::string(64, '\0'), {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(rt::fontFamiliesOf(c.bytes), c.families) << c.what;
}

TEST(FontNames, DamagedFontsGiveWhatLiesInsideThemAtMost)
{
    const std::string good = font({windowsName(1, "Limon S1"), windowsName(16, "Limon")});
    // Cut anywhere: nothing read beyond the end, no family made up.
    for (std::size_t size = 0; size < good.size(); ++size) {
        const QStringList families = rt::fontFamiliesOf(std::string_view(good).substr(0, size));
        for (const QString &family : families)
            EXPECT_TRUE(family == "Limon S1" || family == "Limon") << size << " " << family.toStdString();
    }
    // Offsets and counts that point outside the file.
    auto damaged = [&](std::size_t at, const std::string &bytes) {
        std::string out = good;
        out.replace(at, bytes.size(), bytes);
        return rt::fontFamiliesOf(out);
    };
    EXPECT_TRUE(damaged(4, "\xFF\xFF").isEmpty());                 // tables
    EXPECT_TRUE(damaged(20, "\x7F\xFF\xFF\xFF").isEmpty());         // name table's offset
    EXPECT_TRUE(damaged(24, "\x7F\xFF\xFF\xFF").isEmpty());         // its length
    EXPECT_EQ(damaged(28 + 2, "\xFF\xFF"), list({"Limon S1", "Limon"})); // record count: the records there
    EXPECT_TRUE(damaged(28 + 4, "\xFF\xFF").isEmpty());             // strings' offset
    EXPECT_TRUE(damaged(28 + 6 + 10, "\xFF\xFF").size() < 2);       // first string's offset
    std::string huge = collection({{windowsName(1, "Limon S1")}});
    huge.replace(8, 4, "\x7F\xFF\xFF\xFF");                          // fonts in the collection
    EXPECT_TRUE(rt::fontFamiliesOf(huge).isEmpty());
}

TEST(FontNames, FilesAreReadAndOddOnesGiveNothing)
{
    EXPECT_EQ(rt::fontFamilies(fs::path(VELUMIR_TEST_DATA) / "fonts" / "test-limon-s1.ttf"), list({"Limon S1"}));

    TempDir dir;
    testing_support::writeFile(dir.path() / "font.ttf", font({windowsName(1, "Limon S1")}));
    EXPECT_EQ(rt::fontFamilies(dir.path() / "font.ttf"), list({"Limon S1"}));
    EXPECT_TRUE(rt::fontFamilies(dir.path() / "missing.ttf").isEmpty());
    EXPECT_TRUE(rt::fontFamilies(dir.path()).isEmpty());
    // A pipe in place of a font neither hangs nor gives a family.
    ASSERT_EQ(::mkfifo((dir.path() / "pipe.ttf").c_str(), 0600), 0);
    EXPECT_TRUE(rt::fontFamilies(dir.path() / "pipe.ttf").isEmpty());
}
