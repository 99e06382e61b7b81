#include "runtime/data/connection.h"
#include "runtime/data/dao.h"
#include "runtime/data/data_errors.h"
#include "runtime/data/data_link.h"
#include "runtime/data/recordset.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/system/drive.h"
#include "runtime/text/legacy_text.h"
#include "support/file_guards.h"
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using rt::Variant;
using testing_support::contains;
using testing_support::errorOf;
using testing_support::readFile;

// The tests' own writer: opens (and creates) a database file read-write,
// which the data layer never does.
class Writer {
public:
    explicit Writer(const fs::path &file)
    {
        if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
            ADD_FAILURE() << "cannot create " << file;
    }
    ~Writer() { sqlite3_close(db_); }
    Writer(const Writer &) = delete;
    Writer &operator=(const Writer &) = delete;

    void exec(const std::string &sql)
    {
        char *message = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK)
            ADD_FAILURE() << sql << ": " << (message ? message : "?");
        sqlite3_free(message);
    }

    // One row of values: legacy text goes in as its UTF-8, as every writer of
    // the program's databases stores it; nullopt is Null.
    void insert(const std::string &table, const std::vector<std::optional<std::string>> &values)
    {
        std::string sql = "INSERT INTO " + table + " VALUES (";
        for (std::size_t i = 0; i < values.size(); ++i)
            sql += i ? ", ?" : "?";
        sql += ")";
        sqlite3_stmt *stmt = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr), SQLITE_OK) << sql;
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (!values[i]) {
                sqlite3_bind_null(stmt, int(i) + 1);
                continue;
            }
            const std::string utf8 = rt::toUtf8(*values[i]);
            sqlite3_bind_text(stmt, int(i) + 1, utf8.data(), int(utf8.size()), SQLITE_TRANSIENT);
        }
        EXPECT_EQ(sqlite3_step(stmt), SQLITE_DONE) << sqlite3_errmsg(db_);
        sqlite3_finalize(stmt);
    }

    // The text of the first column of the first row, as SQLite holds it.
    std::string rawText(const std::string &sql)
    {
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr);
        std::string text;
        if (sqlite3_step(stmt) == SQLITE_ROW)
            text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0));
        sqlite3_finalize(stmt);
        return text;
    }

private:
    sqlite3 *db_ = nullptr;
};

void writeBytes(const fs::path &file, const std::string &bytes)
{
    std::ofstream(file, std::ios::binary) << bytes;
}

const char *const Jet = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=";

// Drive C in a temporary folder, with its system folder spelled as a Linux
// copy of a Windows installation may spell it: windows/System32.
class DataTest : public ::testing::Test {
protected:
    DataTest()
    {
        fs::create_directories(system32());
    }

    fs::path system32() const { return temp.path() / "windows" / "System32"; }

    // newtestament.mdb: `mattew` (word, text) with three chapters, stored
    // in catalogue order, which is not the order of their captions.
    fs::path makeTestament()
    {
        const fs::path file = system32() / "newtestament.mdb";
        Writer db(file);
        db.exec("CREATE TABLE mattew (word TEXT, text TEXT)");
        db.insert("mattew", {"m1", "first chapter"});
        db.insert("mattew", {"a2", "second chapter"});
        db.insert("mattew", {"z3", "third chapter"});
        db.exec("CREATE TABLE empty (word TEXT, text TEXT)");
        return file;
    }

    std::string testament() const { return std::string(Jet) + "C:\\WINDOWS\\system32\\NewTestament.mdb"; }

    testing_support::TempDir temp;
    rt::Drive drive{temp.path()};
    testing_support::CacheHome cacheHome{temp.path() / "cache"};
};

// ---------------------------------------------------------------- data links

TEST_F(DataTest, DataLinkIsWrittenInThePlatformsFormAndReadBack)
{
    const fs::path udl = system32() / "tormin.udl";
    const std::string connection = testament() + ";Persist Security Info=False";
    rt::writeDataLink(udl, connection);

    const std::string bytes = readFile(udl);
    ASSERT_GE(bytes.size(), 18u);
    EXPECT_EQ(bytes.substr(0, 6), std::string("\xFF\xFE[\0o\0", 6));
    EXPECT_TRUE(contains(bytes, std::string("]\0\r\0\n\0;\0", 8)));
    EXPECT_EQ(rt::readDataLink(udl), connection);
}

TEST_F(DataTest, DataLinkInUtf8IsReadWithOrWithoutItsMark)
{
    for (const std::string mark : {"", "\xEF\xBB\xBF"}) {
        const fs::path udl = system32() / "utf8.udl";
        writeBytes(udl, mark + "[oledb]\n\n; a comment\nProvider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\x.mdb\n");
        EXPECT_EQ(rt::readDataLink(udl), "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\x.mdb") << mark.size();
    }
}

TEST_F(DataTest, GarbledDataLinksFailSayingSo)
{
    struct Case {
        const char *name;
        std::string bytes;
    } cases[] = {
        {"UTF-16 of an odd length", std::string("\xFF\xFE[\0o\0l", 7)},
        {"malformed UTF-8", "[oledb]\r\nProvider=\xC3("},
        {"no [oledb] line", "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\x.mdb"},
        {"no connection string", "[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n"},
        {"empty file", ""},
        {"NUL characters", std::string("[oledb]\r\nProvider\0=x", 19)},
    };
    for (const Case &c : cases) {
        const fs::path udl = system32() / "bad.udl";
        writeBytes(udl, c.bytes);
        const rt::RuntimeError e = errorOf([&] { rt::readDataLink(udl, "C:\\bad.udl"); });
        EXPECT_EQ(e.number(), rt::err::ProviderError) << c.name;
        EXPECT_TRUE(contains(e.description(), "'C:\\bad.udl' is not a data link file")) << c.name << ": "
                                                                                      << e.description();
    }
}

TEST_F(DataTest, ConnectionStringsSplitIntoPropertiesWithKeysInAnyCase)
{
    const auto properties = rt::ConnectionProperties::parse(
        " Provider = Microsoft.Jet.OLEDB.4.0 ;;Data Source=\"C:\\a;b\\it's \"\"x\"\"\";"
        "Extended Properties='say ''hi''';Mode=Read;mode=Share Deny None;Empty=");
    EXPECT_EQ(properties.value("PROVIDER"), "Microsoft.Jet.OLEDB.4.0");
    EXPECT_EQ(properties.value("data source"), "C:\\a;b\\it's \"x\"");
    EXPECT_EQ(properties.value("Extended Properties"), "say 'hi'");
    EXPECT_EQ(properties.value("MODE"), "Share Deny None"); // the later key wins
    EXPECT_EQ(properties.value("Empty"), "");
    EXPECT_EQ(properties.value("Password"), std::nullopt);
    EXPECT_EQ(properties.items().size(), 5u);
}

TEST_F(DataTest, MalformedConnectionStringsFail)
{
    for (const char *text : {"Provider", "Data Source=\"C:\\x.mdb", "Data Source='x' y", "=value"}) {
        const rt::RuntimeError e = errorOf([&] { rt::ConnectionProperties::parse(text); });
        EXPECT_EQ(e.number(), rt::err::InitStringFormat) << text;
        EXPECT_TRUE(contains(e.description(), text)) << e.description();
    }
}

// ---------------------------------------------------------------- connections

TEST_F(DataTest, ConnectionOpensThroughADataLinkInEitherEncoding)
{
    makeTestament();
    rt::writeDataLink(system32() / "tormin.udl", testament() + ";Persist Security Info=False");
    writeBytes(system32() / "tormio.udl", "\xEF\xBB\xBF[oledb]\r\n; comment\r\n" + testament() + "\r\n");

    for (const char *link : {"file name=C:\\WINDOWS\\system32\\tormin.udl", "File Name=C:\\WINDOWS\\system32\\tormio.udl"}) {
        rt::Connection cn(drive);
        EXPECT_EQ(cn.State(), 0);
        cn.Open(link, "", "", -1);
        EXPECT_EQ(cn.State(), 1) << link;
        EXPECT_TRUE(contains(cn.ConnectionString(), "Data Source=C:\\WINDOWS\\system32\\NewTestament.mdb"));
        rt::Recordset rs;
        rs.Open("select word from mattew", cn, 2, 3, 1);
        EXPECT_EQ(rs.Fields(0).Value(), Variant("m1"));
        rs.Close();
        cn.Close();
        EXPECT_EQ(cn.State(), 0);
    }
}

TEST_F(DataTest, WindowsPathsResolveWithoutRegardToCase)
{
    // The file is windows/System32/newtestament.mdb; the program names
    // C:\WINDOWS\system32\NewTestament.mdb.
    makeTestament();
    rt::Connection cn(drive);
    cn.Open(testament());
    EXPECT_EQ(cn.State(), 1);
    rt::Connection lower(drive);
    lower.Open("provider=microsoft.jet.oledb.4.0;data source=c:\\windows\\SYSTEM32\\newtestament.MDB");
    EXPECT_EQ(lower.State(), 1);
    rt::Database db = rt::Database::OpenDatabase(drive, "c:/Windows/SYSTEM32/NEWTESTAMENT.MDB");
    EXPECT_EQ(db.OpenRecordset("MATTEW").RecordCount(), 3);
}

TEST_F(DataTest, WindowsNamesInTheirCodePageFindTheHostsUtf8Names)
{
    // A Windows program holds "Café" as the byte E9; the host names the
    // folder in UTF-8. Names already in UTF-8 stay as they are.
    fs::create_directories(temp.path() / "Pictures" / "Caf\xC3\xA9" / "\xE1\x9E\x81");
    EXPECT_EQ(drive.hostPath("C:\\pictures\\CAF\xC9"), temp.path() / "Pictures" / "Caf\xC3\xA9");
    EXPECT_EQ(drive.hostPath("C:\\Pictures\\Caf\xC3\xA9\\\xE1\x9E\x81"),
              temp.path() / "Pictures" / "Caf\xC3\xA9" / "\xE1\x9E\x81");
    EXPECT_EQ(drive.hostPath("C:\\Pictures\\Caf\xE9\\new"), temp.path() / "Pictures" / "Caf\xC3\xA9" / "new");
}

TEST_F(DataTest, EachFailureToOpenAConnectionHasItsOwnMessage)
{
    makeTestament();
    writeBytes(system32() / "notes.mdb", "These are notes, not a database; long enough to hold a header.\n");
    writeBytes(system32() / "zero.mdb", "");
    writeBytes(system32() / "garbled.udl", "Provider=Microsoft.Jet.OLEDB.4.0");
    rt::writeDataLink(system32() / "lost.udl", std::string(Jet) + "C:\\WINDOWS\\system32\\Lost.mdb");
    rt::writeDataLink(system32() / "other.udl", "Provider=SQLOLEDB;Data Source=server");

    struct Case {
        std::string connection;
        int number;
        std::string message;
    } cases[] = {
        {"Provider=SQLOLEDB.1;Data Source=C:\\WINDOWS\\system32\\NewTestament.mdb", rt::err::ProviderNotFound,
         "Provider cannot be found. It may not be properly installed."},
        {"file name=C:\\WINDOWS\\system32\\other.udl", rt::err::ProviderNotFound, "Provider cannot be found."},
        {"Data Source=C:\\WINDOWS\\system32\\NewTestament.mdb", rt::err::ProviderNotFound,
         "Provider cannot be found."},
        {"file name=C:\\WINDOWS\\system32\\tormin.udl", rt::err::DataLinkNotFound,
         "Could not find the data link file 'C:\\WINDOWS\\system32\\tormin.udl'."},
        {"file name=C:\\WINDOWS\\system32\\garbled.udl", rt::err::ProviderError,
         "The data link file 'C:\\WINDOWS\\system32\\garbled.udl' is not a data link file"},
        {std::string(Jet) + "C:\\WINDOWS\\system32\\Missing.mdb", rt::err::ProviderError,
         "Could not find file 'C:\\WINDOWS\\system32\\Missing.mdb'."},
        {"file name=C:\\WINDOWS\\system32\\lost.udl", rt::err::ProviderError,
         "Could not find file 'C:\\WINDOWS\\system32\\Lost.mdb'."},
        {std::string(Jet) + "C:\\WINDOWS\\system32", rt::err::ProviderError,
         "Could not find file 'C:\\WINDOWS\\system32'."},
        {std::string(Jet) + "C:\\WINDOWS\\system32\\notes.mdb", rt::err::ProviderError,
         "Unrecognized database format 'C:\\WINDOWS\\system32\\notes.mdb'."},
        {std::string(Jet) + "C:\\WINDOWS\\system32\\zero.mdb", rt::err::ProviderError,
         "Unrecognized database format 'C:\\WINDOWS\\system32\\zero.mdb'."},
    };
    for (const Case &c : cases) {
        rt::Connection cn(drive);
        const rt::RuntimeError e = errorOf([&] { cn.Open(c.connection, "", "", -1); });
        EXPECT_EQ(e.number(), c.number) << c.connection;
        EXPECT_TRUE(contains(e.description(), c.message)) << c.connection << ": " << e.description();
        EXPECT_EQ(cn.State(), 0);
    }
}

TEST_F(DataTest, OpeningAMissingDatabaseNeverCreatesIt)
{
    const auto before = std::distance(fs::directory_iterator(system32()), fs::directory_iterator());
    rt::Connection cn(drive);
    errorOf([&] { cn.Open(std::string(Jet) + "C:\\WINDOWS\\system32\\Missing.mdb"); });
    errorOf([&] { rt::Database::OpenDatabase(drive, "C:\\WINDOWS\\system32\\Concordance"); });
    errorOf([&] { rt::Database::OpenDatabase(drive, "C:\\Program\\Lib"); });
    EXPECT_EQ(std::distance(fs::directory_iterator(system32()), fs::directory_iterator()), before);
    EXPECT_FALSE(fs::exists(temp.path() / "Program"));
}

TEST_F(DataTest, OpeningAnOpenConnectionOrClosingAClosedOneFails)
{
    makeTestament();
    rt::Connection cn(drive);
    EXPECT_EQ(errorOf([&] { cn.Close(); }).number(), rt::err::ObjectClosed);
    cn.Open(testament());
    const rt::RuntimeError e = errorOf([&] { cn.Open(testament()); });
    EXPECT_EQ(e.number(), rt::err::ObjectOpen);
    EXPECT_EQ(e.description(), "Operation is not allowed when the object is open.");
    EXPECT_EQ(cn.State(), 1);
    cn.Close();
    EXPECT_EQ(errorOf([&] { cn.Close(); }).description(), "Operation is not allowed when the object is closed.");
    cn.Open(testament()); // the same object opens again
    EXPECT_EQ(cn.State(), 1);
}

TEST_F(DataTest, ClosingAConnectionLeavesItsRecordsetsReadable)
{
    makeTestament();
    rt::Connection cn(drive);
    cn.Open(testament());
    rt::Recordset rs;
    rs.Open("select word from mattew", cn, 2, 3, 1);
    cn.Close();
    rs.MoveNext();
    EXPECT_EQ(rs.Fields(0).Value(), Variant("a2"));
    rs.Close();
    EXPECT_EQ(errorOf([&] { rs.Open("select word from mattew", cn); }).number(), rt::err::ConnectionUnusable);
}

TEST_F(DataTest, TheDatabaseIsOnlyRead)
{
    const fs::path file = makeTestament();
    rt::Connection cn(drive);
    cn.Open(testament());
    rt::Recordset rs;
    const rt::RuntimeError e = errorOf([&] { rs.Open("delete from mattew", cn); });
    EXPECT_EQ(e.number(), rt::err::ProviderError);
    EXPECT_TRUE(contains(e.description(), "readonly")) << e.description();
    rt::Database db = rt::Database::OpenDatabase(drive, "C:\\WINDOWS\\system32\\NewTestament.mdb");
    EXPECT_NE(errorOf([&] { db.OpenRecordset("delete from mattew"); }).number(), 0);
    EXPECT_EQ(Writer(file).rawText("select count(*) from mattew"), "3");
}

// ------------------------------------------- nothing beside the database

TEST_F(DataTest, AWalModeDatabaseOpensWithNothingCreatedBesideItAlsoInAReadOnlyFolder)
{
    const fs::path file = system32() / "wal.mdb";
    {
        Writer db(file);
        db.exec("PRAGMA journal_mode=WAL");
        db.exec("CREATE TABLE mattew (word TEXT, text TEXT)");
        db.insert("mattew", {"m1", "first chapter"});
    } // the last connection writes its log into the file and removes it; the file stays in WAL mode
    ASSERT_EQ(readFile(file)[18], 2);
    const auto before = testing_support::listing(system32());
    const auto readBoth = [&] {
        rt::Connection cn(drive);
        cn.Open(std::string(Jet) + "C:\\WINDOWS\\system32\\wal.mdb");
        rt::Recordset rs;
        rs.Open("select word from mattew", cn, 2, 3, 1);
        EXPECT_EQ(rs.Fields(0).Value(), Variant("m1"));
        rt::Database db = rt::Database::OpenDatabase(drive, "C:\\WINDOWS\\system32\\wal.mdb");
        EXPECT_EQ(db.OpenRecordset("mattew").Fields(1).Value(), Variant("first chapter"));
    };
    readBoth();
    EXPECT_EQ(testing_support::listing(system32()), before);

    testing_support::makeReadOnly(system32());
    {
        testing_support::HonourPermissions honour;
        readBoth();
    }
    testing_support::makeWritable(system32());
    EXPECT_EQ(testing_support::listing(system32()), before);
}

TEST_F(DataTest, AWalModeDatabaseWhoseLogHoldsRowsIsReadWithThemAndLeftAsItIs)
{
    // What a program that was stopped before it wrote its log into the file
    // leaves: the file and a "-wal" file that holds the rows.
    const fs::path original = temp.path() / "writer.db";
    Writer writer(original);
    writer.exec("PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0");
    writer.exec("CREATE TABLE mattew (word TEXT, text TEXT)");
    writer.insert("mattew", {"m1", "in the log"});
    const fs::path file = system32() / "logged.mdb";
    fs::copy_file(original, file);
    fs::copy_file(original.string() + "-wal", file.string() + "-wal");
    const auto before = testing_support::listing(system32());

    testing_support::makeReadOnly(system32());
    {
        testing_support::HonourPermissions honour;
        rt::Connection cn(drive);
        cn.Open(std::string(Jet) + "C:\\WINDOWS\\system32\\logged.mdb");
        rt::Recordset rs;
        rs.Open("select * from mattew", cn);
        EXPECT_EQ(rs.Fields(1).Value(), Variant("in the log"));
    }
    testing_support::makeWritable(system32());
    EXPECT_EQ(testing_support::listing(system32()), before);
}

TEST_F(DataTest, AFileThatCannotBeReadSaysSo)
{
    const fs::path file = makeTestament();
    fs::permissions(file, fs::perms::none);
    testing_support::HonourPermissions honour;
    const std::string text = "The Microsoft Jet database engine cannot open the file "
                             "'C:\\WINDOWS\\system32\\NewTestament.mdb'. You need permission to view its data.";
    const rt::RuntimeError ado = errorOf([&] { rt::Connection(drive).Open(testament()); });
    EXPECT_EQ(ado.number(), rt::err::ProviderError);
    EXPECT_TRUE(contains(ado.description(), text)) << ado.description();
    const rt::RuntimeError dao =
        errorOf([&] { rt::Database::OpenDatabase(drive, "C:\\WINDOWS\\system32\\NewTestament.mdb"); });
    EXPECT_EQ(dao.number(), rt::err::DaoCannotOpen);
    EXPECT_TRUE(contains(dao.description(), text)) << dao.description();
}

TEST_F(DataTest, ALockedDatabaseSaysItIsInUse)
{
    Writer lib(temp.path() / "Lib");
    lib.exec("CREATE TABLE EMP (ID INTEGER, Caption TEXT, Notes TEXT, Path TEXT)");
    lib.exec("BEGIN EXCLUSIVE");
    lib.insert("EMP", {"1", "one", std::nullopt, "/a.jpg"});
    const rt::RuntimeError dao = errorOf([&] { rt::Database::OpenDatabase(drive, "C:\\Lib"); });
    EXPECT_EQ(dao.number(), rt::err::DaoFileInUse);
    EXPECT_EQ(dao.description(), "Could not use 'C:\\Lib'; file already in use.");
    const rt::RuntimeError ado = errorOf([&] { rt::Connection(drive).Open(std::string(Jet) + "C:\\Lib"); });
    EXPECT_EQ(ado.number(), rt::err::ProviderError);
    EXPECT_EQ(ado.description(), "Could not use 'C:\\Lib'; file already in use.");
    lib.exec("COMMIT");
    EXPECT_EQ(rt::Database::OpenDatabase(drive, "C:\\Lib").OpenRecordset("EMP").RecordCount(), 1);
}

// ---------------------------------------------------------------- queries

TEST_F(DataTest, EachFailingQueryHasItsOwnNumberAndSQLitesMessage)
{
    makeTestament();
    rt::Connection cn(drive);
    cn.Open(testament());
    struct Case {
        std::string source;
        long options;
        int number;
        std::vector<std::string> parts;
    } cases[] = {
        {"select word from Bible", 1, rt::err::TableNotFound,
         {"cannot find the input table or query 'Bible'", "no such table: Bible"}},
        {"Bible", 2, rt::err::TableNotFound, {"'Bible'", "no such table"}},
        {"Bible", -1, rt::err::TableNotFound, {"'Bible'", "no such table"}},
        {"select wrod from mattew", 1, rt::err::ColumnNotFound, {"no such column: wrod"}},
        {"select * from mattew wher word='x'", 1, rt::err::CommandFailed, {"syntax error"}},
        {"mattew", 1, rt::err::CommandFailed, {"syntax error"}}, // text is never taken for a table
        {"SELECT Traslation FROM tblDictionary where ID=", 1, rt::err::CommandFailed, {"incomplete input"}},
        {"  ", -1, rt::err::CommandTextNotSet, {"Command text was not set"}},
        {"select word from mattew", 4, rt::err::BadArguments, {"out of acceptable range"}},
    };
    for (const Case &c : cases) {
        rt::Recordset rs;
        const rt::RuntimeError e = errorOf([&] { rs.Open(c.source, cn, -1, -1, c.options); });
        EXPECT_EQ(e.number(), c.number) << c.source;
        for (const std::string &part : c.parts)
            EXPECT_TRUE(contains(e.description(), part)) << c.source << ": " << e.description();
        EXPECT_EQ(rs.State(), 0);
    }
}

TEST_F(DataTest, RecordsetStatesAndMisuse)
{
    makeTestament();
    rt::Connection cn(drive);
    rt::Recordset rs;
    EXPECT_EQ(errorOf([&] { rs.Open("select word from mattew", cn); }).number(), rt::err::ConnectionUnusable);
    cn.Open(testament());
    EXPECT_EQ(rs.State(), 0);
    EXPECT_EQ(errorOf([&] { rs.Close(); }).number(), rt::err::ObjectClosed);
    EXPECT_EQ(errorOf([&] { (void)rs.Eof(); }).number(), rt::err::ObjectClosed);
    EXPECT_EQ(errorOf([&] { rs.Open("mattew", cn, 7, 3, 2); }).number(), rt::err::BadArguments);
    rs.Open("select word from mattew", cn, 2, 3, 1);
    EXPECT_EQ(rs.State(), 1);
    EXPECT_EQ(errorOf([&] { rs.Open("select word from mattew", cn); }).number(), rt::err::ObjectOpen);
    rs.Close();
    EXPECT_EQ(rs.State(), 0);
    EXPECT_EQ(errorOf([&] { rs.Fields(0).Value(); }).number(), rt::err::ObjectClosed);
}

TEST_F(DataTest, FieldsAreFoundByPositionOrByNameInAnyCase)
{
    makeTestament();
    rt::Connection cn(drive);
    cn.Open(testament());
    rt::Recordset rs;
    rs.Open("select * from mattew where word='a2'", cn);
    EXPECT_EQ(rs.FieldCount(), 2);
    EXPECT_EQ(rs.Fields(1).Name(), "text");
    EXPECT_EQ(rs.Fields("TEXT").Value(), Variant("second chapter"));
    EXPECT_EQ(&rs.Fields("Word"), &rs.Fields(0));
    for (const auto &lookup : std::vector<std::function<void()>>{[&] { rs.Fields(2); }, [&] { rs.Fields(-1); },
                                                                  [&] { rs.Fields("Traslation"); }}) {
        const rt::RuntimeError e = errorOf(lookup);
        EXPECT_EQ(e.number(), rt::err::ItemNotFound);
        EXPECT_EQ(e.description(),
                  "Item cannot be found in the collection corresponding to the requested name or ordinal.");
    }
}

// ------------------------------------------------------------- positions

enum class Move { Next, Previous, First, Last };

struct PositionCase {
    const char *name;
    int rows;                // 0 or the rows "r1", "r2", ... of column n
    std::vector<Move> moves; // the last one may fail
    bool fails;              // the last move fails with "no current record"
    bool bof;
    bool eof;
    const char *current;     // the current row's value, or null when there is none
};

const PositionCase positionCases[] = {
    {"empty: nothing to stand on", 0, {}, false, true, true, nullptr},
    {"empty: next fails", 0, {Move::Next}, true, true, true, nullptr},
    {"empty: previous fails", 0, {Move::Previous}, true, true, true, nullptr},
    {"empty: first fails", 0, {Move::First}, true, true, true, nullptr},
    {"empty: last fails", 0, {Move::Last}, true, true, true, nullptr},
    {"opens on the first row", 3, {}, false, false, false, "r1"},
    {"next", 3, {Move::Next}, false, false, false, "r2"},
    {"next from the last: after it", 3, {Move::Next, Move::Next, Move::Next}, false, false, true, nullptr},
    {"next from after the last fails", 3, {Move::Last, Move::Next, Move::Next}, true, false, true, nullptr},
    {"previous from after the last: the last", 3, {Move::Last, Move::Next, Move::Previous}, false, false, false, "r3"},
    {"previous from the first: before it", 3, {Move::Previous}, false, true, false, nullptr},
    {"previous from before the first fails", 3, {Move::Previous, Move::Previous}, true, true, false, nullptr},
    {"next from before the first: the first", 3, {Move::Previous, Move::Next}, false, false, false, "r1"},
    {"last", 3, {Move::Last}, false, false, false, "r3"},
    {"first from after the last", 3, {Move::Last, Move::Next, Move::First}, false, false, false, "r1"},
    {"last from before the first", 3, {Move::Previous, Move::Last}, false, false, false, "r3"},
    {"one row: next goes after it", 1, {Move::Next}, false, false, true, nullptr},
    {"one row: previous goes before it", 1, {Move::Previous}, false, true, false, nullptr},
};

void move(rt::Recordset &rs, Move m)
{
    switch (m) {
    case Move::Next: rs.MoveNext(); break;
    case Move::Previous: rs.MovePrevious(); break;
    case Move::First: rs.MoveFirst(); break;
    case Move::Last: rs.MoveLast(); break;
    }
}

// Runs each case on a recordset from `open` and checks the position it
// ends in; `noRecord` is the text of "no current record" of the layer.
void checkPositions(const std::function<rt::Recordset(int rows)> &open, const std::string &noRecord)
{
    for (const PositionCase &c : positionCases) {
        SCOPED_TRACE(c.name);
        rt::Recordset rs = open(c.rows);
        rt::Field &n = rs.Fields("n");
        for (std::size_t i = 0; i < c.moves.size(); ++i) {
            if (c.fails && i + 1 == c.moves.size()) {
                const rt::RuntimeError e = errorOf([&] { move(rs, c.moves[i]); });
                EXPECT_EQ(e.number(), rt::err::NoCurrentRecord);
                EXPECT_EQ(e.description(), noRecord);
            } else {
                move(rs, c.moves[i]);
            }
        }
        EXPECT_EQ(rs.Bof(), c.bof);
        EXPECT_EQ(rs.Eof(), c.eof);
        if (c.current) {
            EXPECT_EQ(n.Value(), Variant(c.current));
        } else {
            const rt::RuntimeError e = errorOf([&] { n.Value(); });
            EXPECT_EQ(e.number(), rt::err::NoCurrentRecord);
            EXPECT_EQ(e.description(), noRecord);
        }
    }
}

class PositionTest : public DataTest {
protected:
    PositionTest()
    {
        Writer db(system32() / "positions.mdb");
        for (int rows : {0, 1, 3}) {
            const std::string table = "t" + std::to_string(rows);
            db.exec("CREATE TABLE " + table + " (n TEXT)");
            for (int i = 1; i <= rows; ++i)
                db.insert(table, {"r" + std::to_string(i)});
        }
    }
    const char *path = "C:\\WINDOWS\\system32\\positions.mdb";
};

TEST_F(PositionTest, AdoRecordsetsMoveAsThePlatformsDo)
{
    rt::Connection cn(drive);
    cn.Open(std::string(Jet) + path);
    checkPositions(
        [&](int rows) {
            rt::Recordset rs;
            rs.Open("select n from t" + std::to_string(rows), cn, 3, 3, 1);
            return rs;
        },
        rt::standardDescription(rt::err::NoCurrentRecord));
}

TEST_F(PositionTest, DaoTableRecordsetsMoveAsThePlatformsDo)
{
    rt::Database db = rt::Database::OpenDatabase(drive, path);
    checkPositions([&](int rows) { return db.OpenRecordset("t" + std::to_string(rows)); }, "No current record.");
}

TEST_F(PositionTest, AbsolutePositionCountsFromOne)
{
    rt::Database db = rt::Database::OpenDatabase(drive, path);
    rt::Recordset rs = db.OpenRecordset("t3");
    EXPECT_EQ(rs.AbsolutePosition(), 1);
    rs.setAbsolutePosition(3);
    EXPECT_EQ(rs.Fields(0).Value(), Variant("r3"));
    rs.MoveNext();
    EXPECT_EQ(rs.AbsolutePosition(), -3);
    rs.MoveFirst();
    rs.MovePrevious();
    EXPECT_EQ(rs.AbsolutePosition(), -2);
    EXPECT_EQ(errorOf([&] { rs.setAbsolutePosition(4); }).number(), rt::err::BadArguments);
}

// ------------------------------------------------------------- values

TEST_F(DataTest, LegacyBytesRoundTripAndAreFoundByEquality)
{
    const fs::path file = system32() / "newtestament.mdb";
    const std::string captions[] = {"\x81", "k\x91\xA7", "it's", "\x81\x91\xA7'"};
    {
        Writer db(file);
        db.exec("CREATE TABLE mattew (word TEXT, text TEXT)");
        for (const std::string &caption : captions)
            db.insert("mattew", {caption, "text of " + caption});
        // Stored as the UTF-8 of the Windows-1252 characters: 0x91 is U+2018.
        EXPECT_EQ(db.rawText("select word from mattew where rowid=2"), "k\xE2\x80\x98\xC2\xA7");
    }
    rt::Connection cn(drive);
    cn.Open(testament());

    rt::Recordset words;
    words.Open("select word from mattew", cn, 2, 3, 1);
    for (const std::string &caption : captions) {
        EXPECT_EQ(words.Fields(0).Value(), Variant(caption));
        words.MoveNext();
    }
    EXPECT_TRUE(words.Eof());

    for (const std::string &caption : captions) {
        std::string literal;
        for (char c : caption)
            literal += c == '\'' ? std::string("''") : std::string(1, c);
        rt::Recordset chapter;
        chapter.Open("select * from mattew where word='" + literal + "'", cn);
        ASSERT_FALSE(chapter.Eof()) << literal;
        EXPECT_EQ(chapter.Fields(1).Value().toString(), "text of " + caption);
        EXPECT_EQ(chapter.RecordCount(), 1);
    }
}

TEST_F(DataTest, ValuesKeepTheirKindAndNullStaysNull)
{
    {
        Writer db(system32() / "kinds.mdb");
        db.exec("CREATE TABLE t (a, b, c, d, e)");
        db.exec("INSERT INTO t VALUES (42, 2.5, 'text', x'00FF9127', NULL)");
    }
    rt::Database db = rt::Database::OpenDatabase(drive, "C:\\WINDOWS\\system32\\kinds.mdb");
    rt::Recordset rs = db.OpenRecordset("t");
    EXPECT_EQ(rs.Fields("a").Value(), Variant(42));
    EXPECT_EQ(rs.Fields("a").Value().toString(), "42");
    EXPECT_EQ(rs.Fields("b").Value(), Variant(2.5));
    EXPECT_EQ(rs.Fields("c").Value(), Variant("text"));
    EXPECT_EQ(rs.Fields("d").Value(), Variant(std::string("\x00\xFF\x91\x27", 4))); // bytes unchanged
    const Variant null = rs.Fields("e").Value();
    EXPECT_TRUE(null.isNull());
    EXPECT_EQ(errorOf([&] { null.toString(); }).number(), rt::err::InvalidUseOfNull);
}

TEST_F(DataTest, RowsComeInStoredOrderWhateverTheIndexes)
{
    // An index on the caption is smaller than the table, whose chapters are
    // long: a scan of the captions alone would read it instead.
    {
        Writer db(system32() / "order.mdb");
        db.exec("CREATE TABLE t (word TEXT UNIQUE, id INTEGER, chapter TEXT)");
        db.exec("CREATE INDEX both_columns ON t (word, id)");
        for (const char *word : {"m", "c", "x", "a"})
            db.insert("t", {word, "1", std::string(2000, 'c')});
        db.exec("ANALYZE");
    }
    const std::vector<Variant> stored = {"m", "c", "x", "a"};
    auto read = [](rt::Recordset rs) {
        std::vector<Variant> words;
        for (; !rs.Eof(); rs.MoveNext())
            words.push_back(rs.Fields("word").Value());
        return words;
    };
    rt::Connection cn(drive);
    cn.Open(std::string(Jet) + "C:\\WINDOWS\\system32\\order.mdb");
    for (const std::vector<std::string> &kept : {std::vector<std::string>{}, {"word"}, {"word", "id"}})
        for (long options : {2L, -1L, 512L}) {
            rt::Recordset rs;
            rs.setKeptFields(kept);
            rs.Open(options == 512 ? "[t]" : "T", cn, 3, 3, options);
            EXPECT_EQ(read(std::move(rs)), stored) << options << ", " << kept.size() << " fields kept";
        }
    EXPECT_EQ(read(rt::Database::OpenDatabase(drive, "C:\\WINDOWS\\system32\\order.mdb").OpenRecordset("t")),
              stored);
}

TEST_F(DataTest, AStaticListDoesNotChangeWhenTheTableChanges)
{
    {
        Writer db(system32() / "khmer dictionary");
        db.exec("CREATE TABLE tblDictionary (ID INTEGER, Names TEXT, Traslation TEXT)");
        db.insert("tblDictionary", {"1", "k\x81", "first"});
        db.insert("tblDictionary", {"2", "kh", std::nullopt});
    }
    rt::Connection cn(drive);
    cn.Open(std::string(Jet) + "C:\\WINDOWS\\system32\\Khmer Dictionary;Persist Security Info=False");
    rt::Recordset list;
    list.Open("tblDictionary", cn, 3, 3, 2);
    {
        Writer db(system32() / "khmer dictionary");
        db.exec("DELETE FROM tblDictionary WHERE ID=1");
        db.exec("UPDATE tblDictionary SET Names='changed'");
        db.insert("tblDictionary", {"3", "new", "third"});
    }
    EXPECT_EQ(list.RecordCount(), 2);
    EXPECT_EQ(list.Fields("Names").Value(), Variant("k\x81"));
    list.MoveNext();
    EXPECT_EQ(list.Fields("Names").Value(), Variant("kh"));
    EXPECT_TRUE(list.Fields("Traslation").Value().isNull());

    // The entry query sees the table as it is now.
    rt::Recordset entry;
    entry.Open("SELECT Traslation FROM tblDictionary where ID=1", cn, 1, 3, 1);
    EXPECT_TRUE(entry.Eof());
    rt::Recordset fresh;
    fresh.Open("tblDictionary", cn, 3, 3, 2);
    EXPECT_EQ(fresh.RecordCount(), 2);
    EXPECT_EQ(fresh.Fields("Names").Value(), Variant("changed"));
}

// ------------------------------------------------------------------- DAO

TEST_F(DataTest, DaoFailuresHaveThePlatformsNumbers)
{
    makeTestament();
    fs::create_directories(temp.path() / "Program");
    writeBytes(temp.path() / "Program" / "Lib", "not a database at all, just some text in a file\n");
    struct Case {
        std::function<void()> statement;
        int number;
        std::string message;
    } cases[] = {
        {[&] { rt::Database::OpenDatabase(drive, "C:\\Program\\Pictures"); }, rt::err::DaoFileNotFound,
         "Could not find file 'C:\\Program\\Pictures'."},
        {[&] { rt::Database::OpenDatabase(drive, "C:\\Program\\Lib"); }, rt::err::DaoUnrecognizedFormat,
         "Unrecognized database format 'C:\\Program\\Lib'."},
        {[&] { rt::Database::OpenDatabase(drive, "C:\\WINDOWS\\system32\\NewTestament.mdb").OpenRecordset("EMP"); },
         rt::err::DaoTableNotFound, "cannot find the input table or query 'EMP'."},
        {[&] {
             rt::Database::OpenDatabase(drive, "C:\\WINDOWS\\system32\\NewTestament.mdb")
                 .OpenRecordset("select wrod from mattew");
         },
         rt::err::DaoTooFewParameters, "Too few parameters. Expected 1."},
        {[&] {
             rt::Database db = rt::Database::OpenDatabase(drive, "C:\\WINDOWS\\system32\\NewTestament.mdb");
             db.Close();
             db.OpenRecordset("mattew");
         },
         rt::err::DaoObjectInvalid, "Object invalid or no longer set."},
        {[&] {
             rt::Database::OpenDatabase(drive, "C:\\WINDOWS\\system32\\NewTestament.mdb").OpenRecordset("mattew").Fields(5);
         },
         rt::err::ItemNotFound, "Item not found in this collection."},
    };
    for (const Case &c : cases) {
        const rt::RuntimeError e = errorOf(c.statement);
        EXPECT_EQ(e.number(), c.number) << c.message;
        EXPECT_TRUE(contains(e.description(), c.message)) << e.description();
    }
}

TEST_F(DataTest, FieldsStayValidWhenTheRecordsetIsMoved)
{
    {
        Writer db(temp.path() / "Lib");
        db.exec("CREATE TABLE EMP (ID INTEGER, Caption TEXT, Notes TEXT, Path TEXT)");
        db.insert("EMP", {"1", "one", std::nullopt, "/a.jpg"});
        db.insert("EMP", {"2", "two", std::nullopt, ""});
    }
    rt::Database db = rt::Database::OpenDatabase(drive, "C:\\Lib");
    rt::Recordset first = db.OpenRecordset("EMP");
    rt::Field &caption = first.Fields(1);
    rt::Recordset rs = std::move(first);
    EXPECT_EQ(caption.Value(), Variant("one"));
    rs.MoveNext();
    EXPECT_EQ(caption.Value(), Variant("two"));
    EXPECT_EQ(rs.Fields(3).Value(), Variant(""));
    db.Close(); // the recordset keeps its rows
    rs.MovePrevious();
    EXPECT_EQ(rs.Fields(0).Value().toString(), "1");
}

} // namespace
