#include "runtime/data/connection.h"
#include "runtime/data/dao.h"
#include "runtime/data/data_errors.h"
#include "runtime/data/database_cache.h"
#include "runtime/data/jet/jet_file.h"
#include "runtime/data/jet/jet_text.h"
#include "runtime/data/recordset.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/system/drive.h"
#include "runtime/system/helper_process.h"
#include "runtime/text/legacy_text.h"
#include "support/file_guards.h"
#include "support/jet_drive.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <thread>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace testing_support;
using Clock = std::chrono::steady_clock;
using rt::Variant;

const char *const Jet = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=";
const char *const Concordance = "C:\\WINDOWS\\system32\\Concordance";
constexpr auto ReportWithin = std::chrono::seconds(10);

// The values of every row from the current one on, in the columns named;
// Null as nullopt, numbers as their decimal text.
std::vector<std::vector<Expected>> valuesOf(rt::Recordset &rs, const std::vector<std::string> &columns)
{
    std::vector<std::vector<Expected>> rows;
    for (; !rs.Eof(); rs.MoveNext()) {
        std::vector<Expected> row;
        for (const std::string &column : columns) {
            const Variant value = rs.Fields(column).Value();
            row.push_back(value.isNull() ? Expected() : Expected(value.toString()));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

// Drive C: a copy of the Jet drive, read-only, which no test may change; the
// cache folder in a temporary folder of its own. The test is held to file
// permissions even when it runs as root.
class JetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        copyJetDrive(root());
        makeReadOnly(root());
        before = listing(root());
    }
    void TearDown() override
    {
        EXPECT_EQ(listing(root()), before) << "something changed on the drive";
        makeWritable(root());
    }

    // Waits until the drive's files have stood unchanged long enough for
    // their copies to be kept.
    static void settle()
    {
        std::this_thread::sleep_for(rt::detail::DatabaseCache::DefaultSettle + std::chrono::milliseconds(100));
    }

    fs::path root() const { return temp.path() / "drive_c"; }
    fs::path system32() const { return root() / "WINDOWS" / "system32"; }
    fs::path cacheFolder() const { return temp.path() / "cache" / "velumir" / "databases"; }

    // The copies the cache holds.
    std::vector<fs::path> copies() const
    {
        std::vector<fs::path> files;
        std::error_code ec;
        for (const fs::directory_entry &entry : fs::directory_iterator(cacheFolder(), ec))
            files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        return files;
    }

    // Replaces a file of the drive (which stays read-only) and takes the
    // listing anew.
    void replace(const fs::path &file, const std::function<void()> &write)
    {
        makeWritable(root());
        std::error_code ec;
        fs::remove_all(file, ec);
        write();
        makeReadOnly(root());
        before = listing(root());
    }

    TempDir temp;
    rt::Drive drive{temp.path() / "drive_c"};
    CacheHome cacheHome{temp.path() / "cache"};
    HonourPermissions honour;
    std::map<std::string, std::string> before;
};

// ------------------------------------------------------------------ values

TEST_F(JetTest, EveryValueOfEveryTableReadsBackByteForByte)
{
    struct Case {
        std::string connection;
        std::string table;
        std::vector<std::string> columns;
        std::string expected;
        std::vector<int> plain; // columns of the expected file given as decimal text
        bool numbered;          // the expected file gives each row's place first
    } cases[] = {
        {"file name=C:\\WINDOWS\\system32\\tormin.udl", "mattew", {"n", "word", "chapter"}, "mattew", {0}, false},
        {"file name=C:\\WINDOWS\\system32\\tormio.udl", "Bible", {"n", "word", "chapter"}, "Bible", {0}, false},
        {std::string(Jet) + Concordance + ";Persist Security Info=False", "tblDictionary",
         {"ID", "Names", "Traslation"}, "Concordance", {0, 1}, true},
        {std::string(Jet) + "C:\\WINDOWS\\system32\\Bible Dictionary", "tblDictionary",
         {"ID", "Names", "Traslation"}, "Bible Dictionary", {0, 1}, true},
        {std::string(Jet) + "C:\\WINDOWS\\system32\\Khmer Dictionary", "tblDictionary",
         {"ID", "Names", "Traslation"}, "Khmer Dictionary", {0, 1}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expected);
        rt::Connection cn(drive);
        cn.Open(c.connection);
        rt::Recordset rs;
        rs.Open(c.table, cn, 3, 3, 2);
        std::vector<std::vector<Expected>> rows = valuesOf(rs, c.columns);
        if (c.numbered)
            for (std::size_t i = 0; i < rows.size(); ++i)
                rows[i].insert(rows[i].begin(), std::to_string(i + 1));
        const auto expected = expectedRows(c.expected, c.plain);
        ASSERT_EQ(rows.size(), expected.size());
        for (std::size_t i = 0; i < rows.size(); ++i)
            ASSERT_EQ(rows[i], expected[i]) << "row " << i + 1;
    }

    // The picture database through the DAO engine, by position.
    rt::Database lib = rt::Database::OpenDatabase(drive, "C:\\Program Files\\Velumir\\Lib");
    rt::Recordset emp = lib.OpenRecordset("EMP");
    std::vector<std::vector<Expected>> rows;
    for (; !emp.Eof(); emp.MoveNext())
        rows.push_back({emp.Fields(0).Value().toString(), emp.Fields(1).Value().toString(),
                        emp.Fields(3).Value().toString()});
    EXPECT_EQ(rows, expectedRows("EMP", {0, 2}));
}

TEST_F(JetTest, TheProgramsQueriesWorkUnchanged)
{
    const auto chapters = expectedRows("mattew", {0});
    rt::Connection nt(drive);
    nt.Open("file name=C:\\WINDOWS\\system32\\tormin.udl", "", "", -1);
    rt::Recordset words;
    words.Open("select word from mattew", nt, 2, 3, 1);
    EXPECT_EQ(words.RecordCount(), 260);
    // Every chapter is found by its caption, quotes and all.
    for (const auto &row : chapters) {
        std::string caption;
        for (const char c : *row[1])
            caption += c == '\'' ? std::string("''") : std::string(1, c);
        rt::Recordset chapter;
        chapter.Open("select * from mattew where word='" + caption + "'", nt);
        ASSERT_EQ(chapter.RecordCount(), 1) << *row[0];
        ASSERT_EQ(chapter.Fields(1).Value(), Variant(*row[2])) << *row[0];
    }

    // The dictionary opened whole, and each entry by its ID.
    rt::Connection dictionary(drive);
    dictionary.Open(std::string(Jet) + Concordance + ";Persist Security Info=False");
    rt::Recordset list;
    list.Open("tblDictionary", dictionary, 3, 3, 2);
    EXPECT_EQ(list.RecordCount(), 60);
    for (const auto &row : expectedRows("Concordance", {0, 1})) {
        rt::Recordset entry;
        entry.Open("SELECT Traslation FROM tblDictionary where ID=" + *row[1], dictionary, 1, 3, 1);
        ASSERT_FALSE(entry.Eof()) << *row[1];
        const Variant value = entry.Fields(0).Value();
        EXPECT_EQ(value.isNull() ? Expected() : Expected(value.toString()), row[3]) << *row[1];
    }

    // The pictures by position, in both directions.
    rt::Recordset emp = rt::Database::OpenDatabase(drive, "C:\\Program Files\\Velumir\\Lib").OpenRecordset("EMP");
    emp.MoveLast();
    EXPECT_EQ(emp.Fields(0).Value().toString(), "14");
    for (int i = 0; i < 4; ++i)
        emp.MovePrevious();
    EXPECT_EQ(emp.Fields(0).Value().toString(), "10");
    emp.MovePrevious();
    EXPECT_TRUE(emp.Bof());
    emp.MoveNext();
    EXPECT_EQ(emp.Fields(3).Value().toString(), "C:\\Program Files\\Velumir\\Pictures\\Nazareth.jpg");
}

TEST_F(JetTest, FailuresAreThoseOfSqliteFiles)
{
    rt::Connection nt(drive);
    nt.Open("file name=C:\\WINDOWS\\system32\\tormin.udl");
    struct Case {
        std::function<void()> statement;
        int number;
        std::string message;
    } cases[] = {
        {[&] { rt::Recordset().Open("select word from Bible", nt, 2, 3, 1); }, rt::err::TableNotFound, "'Bible'"},
        {[&] { rt::Recordset().Open("select wrod from mattew", nt, 2, 3, 1); }, rt::err::ColumnNotFound, "wrod"},
        {[&] { rt::Database::OpenDatabase(drive, "C:\\Program Files\\Velumir\\Lib").OpenRecordset("mattew"); },
         rt::err::DaoTableNotFound, "'mattew'"},
        {[&] { rt::Connection(drive).Open(std::string(Jet) + "C:\\WINDOWS\\system32\\Concordanc"); },
         rt::err::ProviderError, "Could not find file 'C:\\WINDOWS\\system32\\Concordanc'."},
        {[&] { rt::Database::OpenDatabase(drive, "C:\\WINDOWS\\system32\\tormin.udl"); },
         rt::err::DaoUnrecognizedFormat, "Unrecognized database format 'C:\\WINDOWS\\system32\\tormin.udl'."},
    };
    for (const Case &c : cases) {
        const rt::RuntimeError e = errorOf(c.statement);
        EXPECT_EQ(e.number(), c.number) << c.message;
        EXPECT_TRUE(contains(e.description(), c.message)) << e.description();
    }
}

// ------------------------------------------------------------------- cache

TEST_F(JetTest, AnUnchangedFileIsReadFromItsCopyAndAChangedOneAnew)
{
    const auto firstWord = [&] {
        rt::Connection cn(drive);
        cn.Open(std::string(Jet) + Concordance);
        rt::Recordset rs;
        rs.Open("tblDictionary", cn, 3, 3, 2);
        return rs.Fields("Names").Value();
    };
    const Variant head0("head0");
    settle();
    EXPECT_EQ(firstWord(), head0);
    ASSERT_EQ(copies().size(), 1u);
    const fs::path copy = copies().front();
    struct stat made = {};
    stat(copy.c_str(), &made);

    EXPECT_EQ(firstWord(), head0);
    struct stat again = {};
    stat(copy.c_str(), &again);
    EXPECT_EQ(copies(), std::vector<fs::path>{copy});
    EXPECT_EQ(again.st_ino, made.st_ino) << "the copy was made again";

    // Other bytes of the same size are another version of the file; a file
    // changed moments ago is read, but its copy not kept until it settles.
    std::string bytes = readFile(system32() / "Concordance");
    const std::size_t at = bytes.find(std::string("h\0e\0a\0d\0" "0\0", 10));
    ASSERT_NE(at, std::string::npos);
    bytes[at] = 'H';
    replace(system32() / "Concordance", [&] { writeFile(system32() / "Concordance", bytes); });
    const Variant changed("Head0");
    EXPECT_EQ(firstWord(), changed);
    EXPECT_EQ(copies(), std::vector<fs::path>{copy});
    settle();
    EXPECT_EQ(firstWord(), changed);
    EXPECT_EQ(copies().size(), 2u);

    // The cache may be damaged or deleted at any time.
    for (const fs::path &kept : copies())
        writeFile(kept, "not what was kept");
    EXPECT_EQ(firstWord(), changed);
    fs::remove_all(temp.path() / "cache");
    EXPECT_EQ(firstWord(), changed);
}

TEST(DatabaseCache, EachPartOfAFilesStatusTellsAnotherVersion)
{
    struct stat base = {};
    base.st_dev = 2049;
    base.st_ino = 131;
    base.st_size = 4096 * 47;
    base.st_mtim = {1700000000, 500};
    base.st_ctim = {1700000001, 700};
    const std::function<void(struct stat &)> changes[] = {
        [](struct stat &s) { ++s.st_dev; },
        [](struct stat &s) { ++s.st_ino; },
        [](struct stat &s) { s.st_size -= 4096; }, // cut short, its times kept
        [](struct stat &s) { ++s.st_mtim.tv_sec; },
        [](struct stat &s) { ++s.st_mtim.tv_nsec; },
        [](struct stat &s) { ++s.st_ctim.tv_sec; },
        [](struct stat &s) { ++s.st_ctim.tv_nsec; },
    };
    std::set<std::string> versions = {rt::detail::fileVersion(base)};
    for (const auto &change : changes) {
        struct stat other = base;
        change(other);
        EXPECT_TRUE(versions.insert(rt::detail::fileVersion(other)).second) << versions.size();
    }
}

TEST_F(JetTest, TheCacheKeepsWithinItsSizeAndLetsTheCopiesUsedLongestAgoGo)
{
    rt::detail::DatabaseCache cache(cacheFolder(), 550 * 1024, std::chrono::milliseconds(0));
    const auto made = [&](const std::string &name) {
        const auto copy = cache.jetCopy(system32() / name);
        EXPECT_EQ(copy.outcome, rt::detail::DatabaseCopy::Outcome::Ready) << name << ": " << copy.message;
        return copy.file;
    };
    const fs::path concordance = made("Concordance");
    const fs::path bible = made("Bible Dictionary");
    const fs::path khmer = made("Khmer Dictionary");
    fs::create_directories(cacheFolder() / "part-left");
    fs::create_directories(cacheFolder() / "part-stale");
    fs::last_write_time(cacheFolder() / "part-stale", fs::file_time_type::clock::now() - std::chrono::hours(2));
    EXPECT_EQ(copies().size(), 5u);

    EXPECT_EQ(made("Concordance"), concordance); // used again: now the last to go
    const fs::path testament = made("../../Program Files/Velumir/Data/NewTestament.mdb");
    std::vector<fs::path> left = {concordance, testament, cacheFolder() / "part-left"};
    std::sort(left.begin(), left.end());
    EXPECT_EQ(copies(), left) << bible << khmer;
    std::uintmax_t total = 0;
    for (const fs::path &copy : {concordance, testament})
        total += fs::file_size(copy);
    EXPECT_LE(total, 550u * 1024);
}

TEST_F(JetTest, ProgramsCopyingOneFileAtOnceLeaveOneWholeCopy)
{
    rt::detail::DatabaseCache cache(cacheFolder(), rt::detail::DatabaseCache::DefaultLimit,
                                    std::chrono::milliseconds(0));
    const fs::path source = root() / "Program Files" / "Velumir" / "Data" / "NewTestament.mdb";
    std::vector<rt::detail::DatabaseCopy> made(6);
    std::vector<std::thread> programs;
    for (auto &copy : made)
        programs.emplace_back([&] { copy = cache.jetCopy(source); });
    for (std::thread &program : programs)
        program.join();
    for (const auto &copy : made) {
        EXPECT_EQ(copy.outcome, rt::detail::DatabaseCopy::Outcome::Ready) << copy.message;
        EXPECT_EQ(copy.file, made.front().file);
    }
    EXPECT_EQ(copies(), std::vector<fs::path>{made.front().file});
    rt::Connection cn(drive);
    cn.Open("file name=C:\\WINDOWS\\system32\\tormin.udl");
    rt::Recordset words;
    words.Open("select word from mattew", cn, 2, 3, 1);
    EXPECT_EQ(words.RecordCount(), 260);
}

// ------------------------------------------------------------ damaged files

// The page of a Jet 4 file (4 KB pages) at `number`.
std::string pageOf(const std::string &file, std::size_t number)
{
    return file.substr(number * 4096, 4096);
}

std::uint32_t int32At(const std::string &bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + std::size_t(i)]);
    return value;
}

// The first data page (type 1) whose owner satisfies `owner`.
std::size_t dataPage(const std::string &file, const std::function<bool(const std::string &page)> &owner)
{
    for (std::size_t n = 1; n * 4096 < file.size(); ++n)
        if (file[n * 4096] == 1 && owner(pageOf(file, n)))
            return n;
    ADD_FAILURE() << "no such page";
    return 0;
}

TEST_F(JetTest, DamagedFilesAreReportedInTimeQuietlyAndWithNothingWritten)
{
    const std::string whole = readFile(system32() / "Concordance");
    // A page of the table's rows (the one with the headword "head1"), the
    // page of the table's definition that the page names as its owner, and
    // a page of its long texts ("Chapter ...", stored as UCS-2).
    const auto holding = [](const std::string &text) {
        return [text](const std::string &page) { return page.find(text) != std::string::npos; };
    };
    const std::size_t rows = dataPage(whole, holding(std::string("h\0e\0a\0d\0" "1\0", 10)));
    const std::size_t definition = int32At(pageOf(whole, rows), 4);
    const std::size_t longTexts = dataPage(whole, [&](const std::string &page) {
        return page.substr(4, 4) == "LVAL" && holding(std::string("C\0h\0a\0p\0", 8))(page);
    });
    const auto cleared = [&](std::size_t page) {
        std::string bytes = whole;
        std::fill(bytes.begin() + long(page * 4096 + 8), bytes.begin() + long(page * 4096 + 4096), '\0');
        return bytes;
    };
    std::string moreRows = whole;
    moreRows[definition * 4096 + 16] = char(moreRows[definition * 4096 + 16] + 1);

    struct Case {
        std::string name;
        std::function<void(const fs::path &)> make;
        std::string message;
    };
    const auto write = [](std::string bytes) { return [bytes](const fs::path &file) { writeFile(file, bytes); }; };
    const std::string unrecognized = "Unrecognized database format 'C:\\WINDOWS\\system32\\Concordance'.";
    std::vector<Case> cases = {
        {"zero length", write(""), unrecognized},
        {"a folder in its place", [](const fs::path &file) { fs::create_directory(file); },
         "Could not find file 'C:\\WINDOWS\\system32\\Concordance'."},
        {"its rows cleared", write(cleared(rows)), unrecognized + " [the file is damaged]"},
        {"its long texts cleared", write(cleared(longTexts)), unrecognized + " [the file is damaged]"},
        {"more rows counted than it holds", write(moreRows), unrecognized + " [the file is damaged]"},
    };
    for (const std::size_t cut : {std::size_t(20), std::size_t(2048), std::size_t(4096 * 3), whole.size() / 2,
                                  whole.size() - 4096})
        cases.push_back({"cut at " + std::to_string(cut), write(whole.substr(0, cut)),
                         cut < 0x15 ? unrecognized : unrecognized + " [the file is cut short]"});

    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        replace(system32() / "Concordance", [&] { c.make(system32() / "Concordance"); });
        const Watchdog watchdog(std::chrono::seconds(60), c.name);
        CapturedOutput output;
        const auto start = Clock::now();
        const rt::RuntimeError e = errorOf([&] { rt::Connection(drive).Open(std::string(Jet) + Concordance); });
        EXPECT_LT(Clock::now() - start, ReportWithin);
        EXPECT_EQ(output.text(), "");
        EXPECT_EQ(e.number(), rt::err::ProviderError);
        EXPECT_TRUE(contains(e.description(), c.message)) << e.description();
        EXPECT_EQ(listing(root()), before);
    }
    // The DAO engine reports the same through its own number.
    EXPECT_EQ(errorOf([&] { rt::Database::OpenDatabase(drive, Concordance); }).number(),
              rt::err::DaoUnrecognizedFormat);
}

TEST_F(JetTest, FilesWithBytesChangedAnywhereAreReportedOrReadWhole)
{
    const std::string whole = readFile(system32() / "Concordance");
    std::mt19937 random(20240611);
    int reported = 0;
    for (int round = 0; round < 60; ++round) {
        std::string bytes = whole;
        const int changes = 1 + int(random() % 16);
        for (int i = 0; i < changes; ++i)
            bytes[random() % bytes.size()] = char(random());
        replace(system32() / "Concordance", [&] { writeFile(system32() / "Concordance", bytes); });
        const Watchdog watchdog(std::chrono::seconds(60), "round " + std::to_string(round));
        CapturedOutput output;
        const auto start = Clock::now();
        try {
            rt::Connection cn(drive);
            cn.Open(std::string(Jet) + Concordance);
            rt::Recordset rs;
            rs.Open("tblDictionary", cn, 3, 3, 2);
            EXPECT_EQ(rs.RecordCount(), 60) << "round " << round;
        } catch (const rt::RuntimeError &e) {
            ++reported;
        }
        EXPECT_LT(Clock::now() - start, ReportWithin) << "round " << round;
        EXPECT_EQ(output.text(), "") << "round " << round;
    }
    EXPECT_GT(reported, 0);
}

TEST_F(JetTest, AReaderThatDoesNotEndIsStoppedAtTheTimeLimit)
{
    // Reading a pipe nobody writes to never ends.
    const fs::path pipe = temp.path() / "pipe.mdb";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    rt::detail::DatabaseCache cache(cacheFolder());
    const Watchdog watchdog(std::chrono::seconds(30), "the reader of a pipe");
    const auto start = Clock::now();
    const auto copy = cache.jetCopy(pipe, std::chrono::milliseconds(300));
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));
    EXPECT_EQ(copy.outcome, rt::detail::DatabaseCopy::Outcome::Damaged);
    EXPECT_EQ(copy.message, "the file could not be read within 300 ms");
    EXPECT_TRUE(copies().empty()) << "work was left behind";
}

// ------------------------------------------------------------ the helper

TEST(HelperProcess, RunsWithNoTerminalNoEnvironmentButTheSanitizersAndNoneOfOurFilesAndIsStoppedInTime)
{
    const int ours = open("/dev/null", O_RDONLY); // inheritable
    ASSERT_GE(ours, 0);
    CapturedOutput output;
    // The sanitizers' settings alone go with it (a sanitizer build's own, or these).
    const char *given = std::getenv("UBSAN_OPTIONS");
    const std::string sanitizer = given ? given : "print_stacktrace=1";
    rt::HelperEnd end;
    {
        const ScopedVariable secret("VELUMIR_SECRET", "ours");
        const ScopedVariable sanitizerSettings("UBSAN_OPTIONS", sanitizer);
        const std::string script = "echo out; echo err >&2; test -n \"$HOME$VELUMIR_SECRET\" && exit 3; "
                                   "test -e /proc/self/fd/" + std::to_string(ours) + " && exit 4; "
                                   "test \"$UBSAN_OPTIONS\" = '" + sanitizer + "' || exit 5; exit 7";
        end = rt::runHelper("/bin/sh", {"-c", script}, std::chrono::seconds(10));
    }
    EXPECT_EQ(output.text(), "");
    close(ours);
    EXPECT_EQ(end.how, rt::HelperEnd::How::Exited);
    EXPECT_EQ(end.code, 7);

    const auto start = Clock::now();
    EXPECT_EQ(rt::runHelper("/bin/sleep", {"30"}, std::chrono::milliseconds(200)).how, rt::HelperEnd::How::TimedOut);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(rt::runHelper("/bin/sh", {"-c", "kill -9 $$"}, std::chrono::seconds(10)).how,
              rt::HelperEnd::How::Signalled);
    EXPECT_EQ(rt::runHelper("/no/such/program", {}, std::chrono::seconds(1)).how, rt::HelperEnd::How::NotStarted);
}

// ------------------------------------------------------------------ text

TEST(JetValues, DatesOverTheWholeRangeAccessTakes)
{
    struct Case {
        double days;
        const char *text;
    } cases[] = {
        {0.0, "1899-12-30 00:00:00"},
        {-1.25, "1899-12-29 06:00:00"}, // the fraction counts forward on either side
        {-0.5, "1899-12-30 12:00:00"},
        {1.75, "1899-12-31 18:00:00"},
        {-115859.0, "1582-10-14 00:00:00"}, // proleptic Gregorian: no gap at the reform
        {-657434.0, "0100-01-01 00:00:00"},
        {2958465.0 + 86399.0 / 86400, "9999-12-31 23:59:59"},
        {36526.0 + 0.4999999999, "2000-01-01 12:00:00"}, // to the nearest second
        {36526.0 + 0.99999999, "2000-01-02 00:00:00"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(rt::jet::dateText(c.days), c.text) << c.days;
    for (const double outside : {-657435.0, 2958466.0, std::nan(""), HUGE_VAL})
        EXPECT_THROW(rt::jet::dateText(outside), rt::jet::JetDamaged) << outside;

    const unsigned char guid[16] = {0x78, 0x56, 0x34, 0x12, 0xBC, 0x9A, 0xF0, 0xDE,
                                    0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
    EXPECT_EQ(rt::jet::guidText(guid), "{12345678-9ABC-DEF0-0123-456789ABCDEF}");
}

// A handle on a Jet 4 file of the drive, to convert text with.
struct Handle {
    Handle() : mdb(mdb_open((jetDrive() / "WINDOWS" / "system32" / "Concordance").c_str(), MDB_NOFLAGS)) {}
    ~Handle() { mdb_close(mdb); }
    MdbHandle *mdb;
};

std::string everyByte()
{
    std::string bytes;
    for (int b = 1; b < 256; ++b)
        bytes += char(b);
    return bytes;
}

TEST(JetText, Jet3BytesComeBackOneForOneWhateverTheEnvironmentSays)
{
    // No Debian tool writes Jet 3 files: a handle on a Jet 4 file is told
    // its file is Jet 3, and libmdb's own conversion of Jet 3 names runs on
    // the converters JetText sets, whatever the environment asks for.
    setenv("MDB_JET3_CHARSET", "CP1252", 1);
    setenv("MDB_ICONV", "ISO-8859-1", 1);
    Handle handle;
    unsetenv("MDB_JET3_CHARSET");
    unsetenv("MDB_ICONV");
    ASSERT_NE(handle.mdb, nullptr);
    handle.mdb->f->jet_version = MDB_VER_JET3;
    rt::jet::JetText text(handle.mdb);
    ASSERT_TRUE(text.ready());
    const std::string bytes = everyByte();
    std::string utf8;
    ASSERT_TRUE(text.utf8(bytes.data(), bytes.size(), utf8));
    EXPECT_EQ(utf8, rt::toUtf8(bytes));
    EXPECT_EQ(rt::fromUtf8(utf8), bytes);

    std::string name(4 * bytes.size(), '\0');
    const int length = mdb_unicode2ascii(handle.mdb, bytes.data(), bytes.size(), name.data(), name.size());
    name.resize(std::size_t(length));
    EXPECT_EQ(text.name(name), rt::toUtf8(bytes));
}

TEST(JetText, Jet4TextPlainOrCompressedIsItsCharacters)
{
    Handle handle;
    ASSERT_NE(handle.mdb, nullptr);
    rt::jet::JetText text(handle.mdb);
    const std::string bytes = everyByte();
    const QString characters = rt::toQString(bytes);
    std::string plain;
    for (const QChar c : characters) {
        plain += char(c.unicode() & 0xFF);
        plain += char(c.unicode() >> 8);
    }
    std::string utf8;
    ASSERT_TRUE(text.utf8(plain.data(), plain.size(), utf8));
    EXPECT_EQ(utf8, rt::toUtf8(bytes));
    // Compressed: one byte a character, a 0 byte switching to two and back.
    const std::string compressed = std::string("\xFF\xFE" "ab\xE9\0\x18\x20\0c", 10);
    ASSERT_TRUE(text.utf8(compressed.data(), compressed.size(), utf8));
    EXPECT_EQ(utf8, "ab\xC3\xA9\xE2\x80\x98" "c");
    // A pair of surrogates is one character; half a character is no text.
    const std::string pair("\x3D\xD8\x00\xDE", 4);
    ASSERT_TRUE(text.utf8(pair.data(), pair.size(), utf8));
    EXPECT_EQ(utf8, "\xF0\x9F\x98\x80");
    EXPECT_FALSE(text.utf8("a\0b", 3, utf8));
}

} // namespace
