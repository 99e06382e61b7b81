#include "sample_data.h"
#include "sample_drive.h"

#include "browser/catalogues/kings2_to_psalms.h"
#include "browser/catalogues/new_testament.h"
#include "browser/catalogues/proverbs_to_malachi.h"
#include "runtime/text/legacy_text.h"
#include "fonts/font_tables.h"
#include "support/test_support.h"

#include <QImage>
#include <QString>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using testing_support::TempDir;

namespace {

std::string readFile(const fs::path &file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Column 0 of every row of a query, as legacy bytes; Null reads as nullopt.
std::vector<std::optional<std::string>> column(const fs::path &db, const std::string &sql)
{
    sqlite3 *raw = nullptr;
    EXPECT_EQ(sqlite3_open_v2(db.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK) << db;
    std::unique_ptr<sqlite3, decltype(&sqlite3_close)> handle(raw, &sqlite3_close);
    sqlite3_stmt *statement = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(raw, sql.c_str(), -1, &statement, nullptr), SQLITE_OK)
        << sql << ": " << sqlite3_errmsg(raw);
    std::vector<std::optional<std::string>> values;
    while (statement && sqlite3_step(statement) == SQLITE_ROW) {
        if (sqlite3_column_type(statement, 0) == SQLITE_NULL) {
            values.emplace_back();
            continue;
        }
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, 0));
        values.emplace_back(rt::fromUtf8(std::string(text, sqlite3_column_bytes(statement, 0))));
    }
    sqlite3_finalize(statement);
    return values;
}

std::string folded(const std::string &legacy)
{
    return rt::toQString(legacy).toCaseFolded().toStdString();
}

class SampleDrive : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = new TempDir;
        sample::makeSampleDrive(dir_->path());
    }
    static void TearDownTestSuite()
    {
        delete dir_;
        dir_ = nullptr;
    }
    static fs::path file(const char *relative) { return dir_->path() / relative; }

    static TempDir *dir_;
};

TempDir *SampleDrive::dir_ = nullptr;

} // namespace

TEST(SampleData, DataLinkIsUtf16WithBomAndCrLf)
{
    TempDir dir;
    sample::writeDataLink(dir.path() / "x.udl", "Data Source=C:\\a");
    std::string expected = "\xFF\xFE";
    for (char c : std::string("[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n"
                              "Data Source=C:\\a\r\n")) {
        expected += c;
        expected += '\0';
    }
    EXPECT_EQ(readFile(dir.path() / "x.udl"), expected);
}

TEST(SampleData, ChapterTableKeepsOrderAndNulls)
{
    TempDir dir;
    const fs::path db = dir.path() / "t.db";
    sample::makeChapterTableWithNulls(db, "mattew",
                                      {{"z'1", "\xA7\x91"}, {std::nullopt, "b"}, {"a", std::nullopt}});
    EXPECT_EQ(column(db, "select word from mattew"),
              (std::vector<std::optional<std::string>>{"z'1", std::nullopt, "a"}));
    EXPECT_EQ(column(db, "select text from mattew"),
              (std::vector<std::optional<std::string>>{"\xA7\x91", "b", std::nullopt}));
    // Stored as the UTF-8 of the legacy bytes.
    EXPECT_EQ(column(db, "select hex(text) from mattew limit 1").front(), "C2A7E28098");
}

// The bytes the legacy encoding uses.
std::set<unsigned char> encodingBytes()
{
    std::set<unsigned char> bytes;
    for (const auto &e : testing_support::legacyEncoding())
        bytes.insert(e.byte);
    return bytes;
}

TEST(SampleData, PseudoTextIsDeterministicKhmerInTheLegacyEncoding)
{
    const std::string text = sample::pseudoText(7, 3000);
    EXPECT_EQ(text, sample::pseudoText(7, 3000));
    EXPECT_NE(text, sample::pseudoText(8, 3000));
    EXPECT_GE(text.size(), 3000u);
    EXPECT_NE(text.find("\r\n"), std::string::npos);
    const std::set<unsigned char> encoding = encodingBytes();
    bool high = false;
    for (unsigned char c : text) {
        EXPECT_TRUE(encoding.count(c) || c == ' ' || c == '\r' || c == '\n') << int(c);
        high = high || c >= 0x80;
    }
    EXPECT_TRUE(high);
}

TEST_F(SampleDrive, RowCounts)
{
    EXPECT_EQ(column(file(sample::paths::kNewTestamentDb), "select word from mattew").size(), 260u);
    EXPECT_EQ(column(file(sample::paths::kOldTestamentDb), "select word from Bible").size(), 929u);
    EXPECT_EQ(column(file(sample::paths::kConcordance), "select Names from tblDictionary").size(), 300u);
    EXPECT_EQ(column(file(sample::paths::kBibleDictionary), "select ID from tblDictionary").size(), 400u);
    EXPECT_EQ(column(file(sample::paths::kKhmerDictionary), "select count(*) from tblDictionary").front(),
              "100000");
    EXPECT_EQ(column(file(sample::paths::kPictureDb), "select ID from EMP").size(), 7u);
}

TEST_F(SampleDrive, ChapterWordsAreUniqueAndInTreeOrder)
{
    struct Case {
        const char *db;
        const char *table;
    };
    for (const Case &c : {Case{sample::paths::kNewTestamentDb, "mattew"},
                          Case{sample::paths::kOldTestamentDb, "Bible"}}) {
        const auto words = column(file(c.db), std::string("select word from ") + c.table);
        std::set<std::string> exact, caseless;
        bool quote = false, high = false;
        for (const auto &word : words) {
            ASSERT_TRUE(word.has_value());
            EXPECT_TRUE(exact.insert(*word).second) << *word;
            EXPECT_TRUE(caseless.insert(folded(*word)).second) << *word;
            quote = quote || word->find('\'') != std::string::npos;
            high = high || word->find_first_of("\xA7\xA9\xB3\xDA\xFE\xE7\xBD\x91") != std::string::npos;
        }
        EXPECT_TRUE(quote) << c.table;
        EXPECT_TRUE(high) << c.table;
    }

    const auto nt = column(file(sample::paths::kNewTestamentDb), "select word from mattew");
    EXPECT_EQ(nt.front(), "m:afay 1");
    EXPECT_EQ(nt.back(), "vivrN\xB3 22");
    const auto ot = column(file(sample::paths::kOldTestamentDb), "select word from Bible");
    EXPECT_EQ(ot[313], sample::chapterCaptions(velumir::proverbsToMalachi()).front());
    EXPECT_EQ(ot[614], sample::chapterCaptions(velumir::secondKingsToPsalms()).front());
    EXPECT_EQ(ot[928], "TMnukdMekIg '150");
}

TEST_F(SampleDrive, ChapterTextsStartWithTheirCaption)
{
    const auto words = column(file(sample::paths::kOldTestamentDb), "select word from Bible");
    const auto texts = column(file(sample::paths::kOldTestamentDb), "select text from Bible");
    ASSERT_EQ(words.size(), texts.size());
    std::size_t longest = 0;
    for (std::size_t i = 0; i < words.size(); ++i) {
        EXPECT_EQ(texts[i]->substr(0, words[i]->size() + 2), *words[i] + "\r\n");
        longest = std::max(longest, texts[i]->size());
    }
    EXPECT_GT(longest, 20u * 1024);
}

TEST_F(SampleDrive, TextsHoldEveryByteOfTheEncoding)
{
    std::set<unsigned char> seen;
    auto take = [&](const char *db, const char *sql) {
        for (const auto &value : column(file(db), sql)) {
            if (value)
                seen.insert(value->begin(), value->end());
        }
    };
    take(sample::paths::kNewTestamentDb, "select text from mattew");
    take(sample::paths::kOldTestamentDb, "select text from Bible");
    for (const char *db : {sample::paths::kConcordance, sample::paths::kBibleDictionary, sample::paths::kKhmerDictionary})
        take(db, "select Traslation from tblDictionary");
    take(sample::paths::kPictureDb, "select Caption from EMP");
    for (unsigned char byte : encodingBytes())
        EXPECT_TRUE(seen.count(byte)) << "byte " << int(byte) << " is in no text";
}

TEST_F(SampleDrive, DataLinksNameTheirDatabases)
{
    const std::string udl = readFile(file(sample::paths::kOldTestamentLink));
    ASSERT_GE(udl.size(), 2u);
    EXPECT_EQ(udl.substr(0, 2), "\xFF\xFE");
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(udl.data() + 2),
                                            qsizetype(udl.size() - 2) / 2);
    EXPECT_TRUE(text.endsWith("\r\nProvider=Microsoft.Jet.OLEDB.4.0;Data Source="
                              "C:\\WINDOWS\\system32\\OldTestament.mdb;Persist Security Info=False\r\n"))
        << text.toStdString();
    EXPECT_EQ(readFile(file(sample::paths::kNewTestamentLink)).substr(0, 2), "\xFF\xFE");
}

TEST_F(SampleDrive, KhmerDictionaryHasNullsAndLegacyHeadwords)
{
    const fs::path db = file(sample::paths::kKhmerDictionary);
    EXPECT_FALSE(column(db, "select ID from tblDictionary where Traslation is null").empty());
    const auto names = column(db, "select Names from tblDictionary limit 50");
    bool high = false;
    for (const auto &name : names)
        high = high || std::any_of(name->begin(), name->end(), [](char c) { return (unsigned char)c > 0x7F; });
    EXPECT_TRUE(high);
}

TEST_F(SampleDrive, PicturePathsNameDrawnFilesAnEmptyOneAndAMissingOne)
{
    const auto paths = column(file(sample::paths::kPictureDb), "select Path from EMP");
    int drawn = 0, empty = 0, missing = 0;
    const std::string prefix = "C:\\Program Files\\Velumir\\Pictures\\";
    for (const auto &path : paths) {
        ASSERT_TRUE(path.has_value());
        if (path->empty()) {
            ++empty;
            continue;
        }
        ASSERT_EQ(path->substr(0, prefix.size()), prefix);
        const fs::path host = file(sample::paths::kPictureFolder) / path->substr(prefix.size());
        if (!fs::exists(host)) {
            ++missing;
            continue;
        }
        EXPECT_FALSE(QImage(QString::fromStdString(host.string())).isNull()) << host;
        ++drawn;
    }
    EXPECT_EQ(empty, 1);
    EXPECT_EQ(missing, 1);
    EXPECT_EQ(drawn, 5);
}

TEST_F(SampleDrive, MakerLeavesAnExistingDriveAloneUnlessForced)
{
    TempDir other;
    const std::string maker = std::string(VELUMIR_SAMPLE_MAKER) + " ";
    const std::string target = "'" + other.path().string() + "'";
    ASSERT_EQ(std::system((maker + target + " >/dev/null").c_str()), 0);

    // Same content as the drive made in-process.
    for (const char *relative : {sample::paths::kNewTestamentDb, sample::paths::kOldTestamentLink,
                                 sample::paths::kKhmerDictionary, sample::paths::kPictureDb}) {
        EXPECT_TRUE(readFile(other.path() / relative) == readFile(file(relative))) << relative;
    }

    const fs::path udl = other.path() / sample::paths::kNewTestamentLink;
    std::ofstream(udl, std::ios::trunc) << "changed";
    ASSERT_EQ(std::system((maker + target + " >/dev/null").c_str()), 0);
    EXPECT_EQ(readFile(udl), "changed");
    ASSERT_EQ(std::system((maker + "--force " + target + " >/dev/null").c_str()), 0);
    EXPECT_EQ(readFile(udl), readFile(file(sample::paths::kNewTestamentLink)));
}
