#include "sample_data.h"
#include "sample_drive.h"

#include "browser/catalogues/kings2_to_psalms.h"
#include "browser/catalogues/new_testament.h"
#include "browser/catalogues/proverbs_to_malachi.h"
#include "runtime/text/legacy_text.h"
#include "fonts/font_tables.h"
#include "runtime/system/drive.h"
#include "support/file_guards.h"
#include "support/test_support.h"

#include <QImage>
#include <QString>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>

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

namespace {

struct MakerRun {
    int status = -1; // the exit status; -1 when the maker did not end normally
    std::string output;
};

// Runs the sample-drive maker with `arguments`. With `asUser`, the maker is
// held to file permissions even under root, as a reader's own account is
// (the capabilities that override them go from its bounding set before it
// starts); with `fileLimit`, it can write no file larger than that.
MakerRun runMaker(const std::vector<std::string> &arguments, bool asUser = false, rlim_t fileLimit = 0)
{
    int out[2];
    if (pipe(out) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], 1);
        dup2(out[1], 2);
        close(out[0]);
        close(out[1]);
        if (asUser)
            for (const int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
                prctl(PR_CAPBSET_DROP, capability, 0, 0, 0);
        if (fileLimit) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit = {fileLimit, fileLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        std::vector<char *> argv = {const_cast<char *>(VELUMIR_SAMPLE_MAKER)};
        for (const std::string &argument : arguments)
            argv.push_back(const_cast<char *>(argument.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    MakerRun run;
    char buffer[4096];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        run.output.append(buffer, std::size_t(n));
    close(out[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status))
        run.status = WEXITSTATUS(status);
    return run;
}

// Makes each folder and (empty) file named, relative to `root`.
void make(const fs::path &root, const std::vector<std::string> &entries)
{
    for (const std::string &entry : entries) {
        if (entry.back() == '/') {
            fs::create_directories(root / entry);
        } else {
            fs::create_directories((root / entry).parent_path());
            std::ofstream(root / entry) << "the reader's own";
        }
    }
}

} // namespace

// A folder that holds anything of a drive, in whatever letter case, a link
// to a drive and a folder that cannot be written are left exactly as they
// are, and the maker ends successfully, so that scripts/run.sh goes on to
// start Velumir.
TEST(SampleDriveMaker, LeavesEveryFolderThatHoldsADriveOrCannotBeWritten)
{
    struct Case {
        const char *what;
        std::function<void(const fs::path &home, const fs::path &drive)> setUp;
        bool readOnly;
        const char *said;
    };
    const std::vector<Case> cases = {
        {"a drive spelled as newer Windows spells it",
         [](const fs::path &, const fs::path &d) { make(d, {"Windows/System32/notepad.exe", "Program Files/"}); },
         false, "left unchanged"},
        {"the sample's own files in another case",
         [](const fs::path &, const fs::path &d) { make(d, {"windows/SYSTEM32/TORMIN.UDL"}); }, false,
         "left unchanged"},
        {"only the picture database",
         [](const fs::path &, const fs::path &d) { make(d, {"PROGRAM FILES/velumir/lib"}); }, false,
         "left unchanged"},
        {"none of the sample's folders", [](const fs::path &, const fs::path &d) { make(d, {"pagefile.sys"}); },
         false, "left unchanged"},
        {"a read-only drive",
         [](const fs::path &, const fs::path &d) { make(d, {"WINDOWS/system32/tormin.udl"}); }, true,
         "left unchanged"},
        {"an empty read-only folder", [](const fs::path &, const fs::path &d) { fs::create_directory(d); }, true,
         "cannot be written"},
        {"no folder, in a read-only one", [](const fs::path &, const fs::path &) {}, true, "cannot be written"},
        {"a link to a drive",
         [](const fs::path &h, const fs::path &d) {
             make(h, {"disk/windows/system32/notepad.exe"});
             fs::create_directory_symlink(h / "disk", d);
         },
         false, "link"},
        {"a link to an empty disk",
         [](const fs::path &h, const fs::path &d) {
             fs::create_directory(h / "disk");
             fs::create_directory_symlink(h / "disk", d);
         },
         false, "link"},
        {"a link to a disk not mounted",
         [](const fs::path &h, const fs::path &d) { fs::create_directory_symlink(h / "media/windows", d); }, false,
         "link"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TempDir home;
        const fs::path drive = home.path() / "drive_c";
        c.setUp(home.path(), drive);
        if (c.readOnly)
            testing_support::makeReadOnly(home.path());
        const auto before = testing_support::listing(home.path());
        const MakerRun run = runMaker({drive.string()}, c.readOnly);
        EXPECT_EQ(run.status, 0) << run.output;
        EXPECT_TRUE(testing_support::contains(run.output, c.said)) << run.output;
        EXPECT_EQ(testing_support::listing(home.path()), before);
        testing_support::makeWritable(home.path());
    }
}

// Told to write into a drive, the maker finds its folders as the program
// does: the files go into the drive's own "windows/SYSTEM32", where the
// program reads them, and not into a second folder beside it.
TEST_F(SampleDrive, ForcedIntoADriveSpelledInAnotherCaseItWritesIntoTheDrivesOwnFolders)
{
    TempDir other;
    make(other.path(), {"windows/SYSTEM32/notepad.exe", "program files/VELUMIR/pictures/ARK.PNG"});
    const MakerRun run = runMaker({"--force", other.path().string()});
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(testing_support::namesIn(other.path()), (std::vector<std::string>{"program files", "windows"}));
    EXPECT_EQ(testing_support::namesIn(other.path() / "windows"), (std::vector<std::string>{"SYSTEM32"}));
    EXPECT_EQ(testing_support::namesIn(other.path() / "program files"), (std::vector<std::string>{"VELUMIR"}));
    EXPECT_EQ(readFile(other.path() / "windows/SYSTEM32/notepad.exe"), "the reader's own");
    const rt::Drive drive(other.path());
    for (const char *relative : {sample::paths::kNewTestamentLink, sample::paths::kOldTestamentDb,
                                 sample::paths::kPictureDb}) {
        const fs::path written = drive.hostPath(relative);
        EXPECT_TRUE(fs::exists(written)) << relative;
        EXPECT_TRUE(readFile(written) == readFile(file(relative))) << relative;
    }
    // The picture the reader's folder holds by that name, drawn again.
    const QImage picture(QString::fromStdString((other.path() / "program files/VELUMIR/pictures/ARK.PNG").string()));
    EXPECT_EQ(picture.size(), QSize(320, 240));
}

// A make that fails part way takes away what it wrote, so that the next one
// does not take the half-written folder for a drive of the reader's.
TEST(SampleDriveMaker, AFailedMakeLeavesTheFolderAsItWas)
{
    TempDir home;
    for (const bool existed : {false, true}) {
        SCOPED_TRACE(existed ? "an empty folder" : "no folder");
        const fs::path drive = home.path() / (existed ? "empty" : "missing");
        if (existed)
            fs::create_directory(drive);
        const MakerRun failed = runMaker({drive.string()}, false, 64 * 1024);
        EXPECT_EQ(failed.status, 1) << failed.output;
        EXPECT_EQ(fs::exists(drive), existed);
        if (existed) {
            EXPECT_TRUE(fs::is_empty(drive));
        }
        const MakerRun made = runMaker({drive.string()});
        EXPECT_EQ(made.status, 0) << made.output;
        EXPECT_TRUE(fs::exists(drive / sample::paths::kNewTestamentLink));
    }
}
