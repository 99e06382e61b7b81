// Real files of Access 97, 2000 and 2007 (tests/data/access-files), read
// through the data layer, against the content another reader gives.

#include "runtime/data/dao.h"
#include "runtime/data/data_errors.h"
#include "runtime/data/database_cache.h"
#include "runtime/data/recordset.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/system/drive.h"
#include "runtime/text/legacy_text.h"
#include "support/file_guards.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <thread>

namespace {

namespace fs = std::filesystem;
using namespace testing_support;
using rt::Variant;

fs::path accessFiles() { return fs::path(VELUMIR_TEST_DATA) / "access-files"; }

// Every Jet file of the fixtures, as paths under accessFiles().
std::vector<std::string> fixtureFiles()
{
    std::vector<std::string> files;
    for (const fs::directory_entry &entry : fs::recursive_directory_iterator(accessFiles()))
        if (entry.path().extension() == ".mdb" || entry.path().extension() == ".accdb")
            files.push_back(fs::relative(entry.path(), accessFiles()).string());
    std::sort(files.begin(), files.end());
    return files;
}

struct ExpectedTable {
    std::string name; // UTF-8
    std::vector<std::string> columns, types;
    std::vector<std::vector<std::string>> rows;
};

std::vector<std::string> split(const std::string &line)
{
    std::vector<std::string> fields;
    std::stringstream in(line);
    for (std::string field; std::getline(in, field, '\t');)
        fields.push_back(field);
    return fields;
}

// NAME.expected.tsv (see the README beside the files).
std::vector<ExpectedTable> expectedTables(const std::string &file)
{
    std::ifstream in(accessFiles() / (file + ".expected.tsv"), std::ios::binary);
    std::vector<ExpectedTable> tables;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("# table ", 0) == 0) {
            tables.push_back({line.substr(8, line.rfind(" (") - 8), {}, {}, {}});
        } else if (line.rfind("# columns\t", 0) == 0) {
            tables.back().columns = split(line.substr(10));
        } else if (line.rfind("# types\t", 0) == 0) {
            tables.back().types = split(line.substr(8));
        } else if (!line.empty()) {
            std::vector<std::string> fields = split(line);
            fields.resize(tables.back().columns.size()); // a last empty field
            tables.back().rows.push_back(fields);
        }
    }
    return tables;
}

std::string hex(const std::string &bytes)
{
    if (bytes.empty())
        return "-";
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (const char c : bytes) {
        text += digits[static_cast<unsigned char>(c) >> 4];
        text += digits[static_cast<unsigned char>(c) & 15];
    }
    return text;
}

// Whether the value read is the one expected, written as the file gives it.
bool matches(const Variant &value, const std::string &type, const std::string &expected)
{
    if (expected == "NULL")
        return value.isNull();
    if (type == "TEXT" || type == "MEMO" || type == "BINARY" || type == "OLE")
        return value.isString() && hex(value.toString()) == expected;
    if (type == "BOOLEAN") // stored as -1
        return value == Variant(expected == "1" ? -1 : 0);
    if (type == "BYTE" || type == "INT" || type == "LONG" || type == "BIG_INT")
        return value == Variant(std::stoll(expected));
    if (type == "FLOAT" || type == "DOUBLE" || type == "MONEY" || type == "NUMERIC")
        return value == Variant(std::strtod(expected.c_str(), nullptr));
    return value == Variant(expected); // dates, Replication IDs
}

// The tables of an SQLite file, by name (UTF-8), each as its rows' values.
std::map<std::string, std::vector<std::vector<std::string>>> contentOf(const fs::path &file)
{
    std::map<std::string, std::vector<std::vector<std::string>>> tables;
    sqlite3 *db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *names = nullptr;
    sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type='table'", -1, &names, nullptr);
    while (sqlite3_step(names) == SQLITE_ROW) {
        const std::string name = reinterpret_cast<const char *>(sqlite3_column_text(names, 0));
        auto &rows = tables[name];
        sqlite3_stmt *rs = nullptr;
        sqlite3_prepare_v2(db, ("SELECT * FROM \"" + name + "\"").c_str(), -1, &rs, nullptr);
        while (sqlite3_step(rs) == SQLITE_ROW) {
            rows.emplace_back();
            for (int c = 0; c < sqlite3_column_count(rs); ++c)
                rows.back().emplace_back(reinterpret_cast<const char *>(sqlite3_column_blob(rs, c)),
                                         std::size_t(sqlite3_column_bytes(rs, c)));
        }
        sqlite3_finalize(rs);
    }
    sqlite3_finalize(names);
    sqlite3_close(db);
    return tables;
}

class AccessFiles : public ::testing::Test {
protected:
    TempDir temp;
    CacheHome cacheHome{temp.path() / "cache"};
    rt::Drive drive{accessFiles()};

    // The Windows path of a fixture file on the drive.
    static std::string windowsPath(const std::string &file)
    {
        std::string path = "C:\\" + file;
        std::replace(path.begin(), path.end(), '/', '\\');
        return path;
    }

    // A fixture file changed by `change`, on a drive of its own.
    rt::Database changed(const std::string &file, const std::function<void(std::string &)> &change)
    {
        std::string bytes = readFile(accessFiles() / file);
        change(bytes);
        fs::create_directories(temp.path() / "drive");
        writeFile(temp.path() / "drive" / "changed.mdb", bytes);
        return rt::Database::OpenDatabase(own, "C:\\changed.mdb");
    }
    rt::Drive own{temp.path() / "drive"};
};

TEST_F(AccessFiles, EveryTableRowAndValueIsTheOneAccessWrote)
{
    const std::vector<std::string> files = fixtureFiles();
    ASSERT_EQ(files.size(), 26u);
    rt::detail::DatabaseCache cache;
    for (const std::string &file : files) {
        SCOPED_TRACE(file);
        const std::vector<ExpectedTable> tables = expectedTables(file);
        rt::Database db = rt::Database::OpenDatabase(drive, windowsPath(file));
        // No table more than those expected.
        std::set<std::string> names, expectedNames;
        for (const auto &[name, rows] : contentOf(cache.jetCopy(accessFiles() / file).file))
            names.insert(name);
        for (const ExpectedTable &table : tables)
            expectedNames.insert(table.name);
        EXPECT_EQ(names, expectedNames);

        for (const ExpectedTable &table : tables) {
            SCOPED_TRACE(table.name);
            rt::Recordset rs = db.OpenRecordset(rt::fromUtf8(table.name));
            ASSERT_EQ(rs.FieldCount(), int(table.columns.size()));
            for (int c = 0; c < rs.FieldCount(); ++c)
                EXPECT_EQ(rt::toUtf8(rs.Fields(c).Name()), table.columns[std::size_t(c)]);
            std::size_t row = 0;
            for (; !rs.Eof(); rs.MoveNext(), ++row) {
                ASSERT_LT(row, table.rows.size()) << "more rows than expected";
                for (int c = 0; c < rs.FieldCount(); ++c) {
                    const std::string &expected = table.rows[row][std::size_t(c)];
                    const Variant value = rs.Fields(c).Value();
                    EXPECT_TRUE(matches(value, table.types[std::size_t(c)], expected))
                        << "row " << row + 1 << ", " << table.columns[std::size_t(c)] << ": "
                        << (value.isNull() ? "Null" : value.isString() ? hex(value.toString()) : value.toString())
                        << " where " << expected << " was written";
                }
            }
            EXPECT_EQ(row, table.rows.size());
        }
    }
}

// The pages that some files hold after their last page in use: cut off,
// nothing of the database is missing.
const std::map<std::string, std::size_t> FreePagesAtTheEnd = {
    {"V2000/compIndexTestV2000.mdb", 1},
    {"V2000/test2V2000.mdb", 1},
    {"V2000/testIndexPropertiesV2000.mdb", 1},
    {"V2007/test2V2007.accdb", 2},
};

TEST_F(AccessFiles, AFileCutAnywhereIsReportedAsCutShort)
{
    // Every fixture and every Jet file of the Jet drive, cut at each page's
    // start and in its middle.
    std::vector<fs::path> sources;
    for (const std::string &file : fixtureFiles())
        sources.push_back(accessFiles() / file);
    for (const fs::directory_entry &entry : fs::recursive_directory_iterator(fs::path(VELUMIR_TEST_DATA) / "jet-drive"))
        if (entry.is_regular_file() && readFile(entry.path()).substr(4, 11) == "Standard Je")
            sources.push_back(entry.path());
    ASSERT_EQ(sources.size(), 26u + 6u);

    const Watchdog watchdog(std::chrono::seconds(120), "files cut short");
    rt::detail::DatabaseCache cache(temp.path() / "copies", rt::detail::DatabaseCache::DefaultLimit,
                                    std::chrono::milliseconds(0));
    std::atomic<std::size_t> next{0};
    std::mutex lock;
    std::vector<std::string> faults;
    const auto cutEach = [&](int worker) {
        for (std::size_t i; (i = next++) < sources.size();) {
            const std::string whole = readFile(sources[i]);
            const std::size_t page = whole[0x14] == 0 ? 2048 : 4096;
            const std::size_t pages = whole.size() / page;
            const auto free = FreePagesAtTheEnd.find(fs::relative(sources[i], accessFiles()).string());
            const std::size_t inUse = pages - (free == FreePagesAtTheEnd.end() ? 0 : free->second);
            const auto wholeContent = contentOf(cache.jetCopy(sources[i]).file);
            // One file cut shorter and shorter.
            const fs::path cut = temp.path() / ("cut-" + std::to_string(worker));
            writeFile(cut, whole);
            for (std::size_t size = whole.size() - page / 2; size > 0; size -= page / 2) {
                ASSERT_EQ(truncate(cut.c_str(), off_t(size)), 0);
                const rt::detail::DatabaseCopy copy = cache.jetCopy(cut);
                const bool reported = copy.outcome == rt::detail::DatabaseCopy::Outcome::Damaged &&
                                      copy.message == "the file is cut short";
                const bool asWhole = copy.outcome == rt::detail::DatabaseCopy::Outcome::Ready &&
                                     size % page == 0 && size / page >= inUse && contentOf(copy.file) == wholeContent;
                if (!reported && !asWhole) {
                    const std::lock_guard<std::mutex> held(lock);
                    faults.push_back(sources[i].filename().string() + " cut at " + std::to_string(size) + ": " +
                                     copy.message);
                }
            }
        }
    };
    std::vector<std::thread> workers;
    for (int w = 0; w < int(std::max(4u, std::thread::hardware_concurrency())); ++w)
        workers.emplace_back(cutEach, w);
    for (std::thread &worker : workers)
        worker.join();
    EXPECT_EQ(faults, std::vector<std::string>{});

    // Through the data layer, as the program meets it.
    fs::create_directories(temp.path() / "drive");
    writeFile(temp.path() / "drive" / "cut.mdb", readFile(accessFiles() / "V1997/testV1997.mdb").substr(0, 59392));
    const rt::RuntimeError e = errorOf([&] { rt::Database::OpenDatabase(own, "C:\\cut.mdb"); });
    EXPECT_EQ(e.number(), rt::err::DaoUnrecognizedFormat);
    EXPECT_EQ(e.description(), "Unrecognized database format 'C:\\cut.mdb'. [the file is cut short]");
}

// The column descriptors of the table definition that names `column` (in
// UTF-16), in a Jet 4 or ACE file: the offset of each in the file.
std::vector<std::size_t> columnsOfTableWith(const std::string &file, const std::string &column)
{
    std::string utf16;
    for (const char c : column)
        utf16 += std::string{c, '\0'};
    for (std::size_t page = 0; page * 4096 < file.size(); ++page) {
        const std::string bytes = file.substr(page * 4096, 4096);
        if (bytes[0] != 2 || bytes.find(utf16) == std::string::npos)
            continue;
        const auto u16 = [&](std::size_t at) { return std::size_t(static_cast<unsigned char>(bytes[at])) |
                                                      std::size_t(static_cast<unsigned char>(bytes[at + 1])) << 8; };
        std::vector<std::size_t> columns;
        for (std::size_t c = 0; c < u16(45); ++c)
            columns.push_back(page * 4096 + 63 + u16(51) * 12 + c * 25);
        return columns;
    }
    ADD_FAILURE() << "no table has " << column;
    return {};
}

TEST_F(AccessFiles, AColumnNotConvertedIsLeftOutAndTheRestRead)
{
    // Table1 of oldDatesV2007.accdb: ID (Long), DateField (Date/Time).
    struct Case {
        std::string name;
        std::size_t column;   // the descriptor changed
        std::size_t at;       // its byte
        unsigned char value;  // or-ed in
        std::string kept, left;
    } cases[] = {
        {"a calculated column", 1, 16, 0xC0, "ID", "DateField"},
        {"a column of a type not converted", 0, 0, 0x10 | 0x02 | 0x01, "DateField", "ID"}, // 0x17
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        rt::Database db = changed("V2007/oldDatesV2007.accdb", [&](std::string &bytes) {
            const std::vector<std::size_t> columns = columnsOfTableWith(bytes, "DateField");
            ASSERT_EQ(columns.size(), 2u);
            bytes[columns[c.column] + c.at] = char(bytes[columns[c.column] + c.at] | c.value);
        });
        rt::Recordset rs = db.OpenRecordset("Table1");
        ASSERT_EQ(rs.FieldCount(), 1);
        EXPECT_EQ(rs.Fields(0).Name(), c.kept);
        EXPECT_EQ(rs.RecordCount(), 4);
        EXPECT_EQ(rs.Fields(0).Value(), c.kept == "ID" ? Variant(1) : Variant("1582-10-15 00:00:00"));
        EXPECT_EQ(errorOf([&] { db.OpenRecordset("select " + c.left + " from Table1"); }).number(),
                  rt::err::DaoTooFewParameters);
    }
}

TEST_F(AccessFiles, RowsBeyondTheCountOfTheDefinitionAreReadWhole)
{
    // The definition of overflowTestV2000's Table1 counts one row less than
    // its pages hold.
    rt::Database db = changed("V2000/overflowTestV2000.mdb", [](std::string &bytes) {
        const std::size_t definition = columnsOfTableWith(bytes, "data10").front() / 4096 * 4096;
        ASSERT_EQ(bytes[definition + 16], 7);
        bytes[definition + 16] = 6;
    });
    rt::Recordset rs = db.OpenRecordset("Table1");
    EXPECT_EQ(rs.RecordCount(), 7);
    rs.MoveLast();
    EXPECT_EQ(rs.Fields(0).Value(), Variant("row7col1"));
}

TEST_F(AccessFiles, AMovedRowThatIsNotWhereItsOldPlacePointsIsDamage)
{
    const auto u16 = [](const std::string &bytes, std::size_t at) {
        return std::size_t(static_cast<unsigned char>(bytes[at])) |
               std::size_t(static_cast<unsigned char>(bytes[at + 1])) << 8;
    };
    // The old place of a row of overflowTestV2000's Table1 points to the
    // table's definition instead of the page the row went to.
    const auto rewritten = [&](std::string &bytes) {
        const std::size_t definition = columnsOfTableWith(bytes, "data10").front() / 4096;
        for (std::size_t page = 1; page * 4096 < bytes.size(); ++page) {
            const std::size_t at = page * 4096;
            if (bytes[at] != 1 || u16(bytes, at + 4) != definition)
                continue;
            for (std::size_t row = 0; row < u16(bytes, at + 12); ++row) {
                const std::size_t slot = u16(bytes, at + 14 + 2 * row);
                if ((slot & 0xC000) == 0x4000) {
                    bytes[at + (slot & 0x1FFF) + 1] = char(definition);
                    bytes[at + (slot & 0x1FFF) + 2] = 0;
                    bytes[at + (slot & 0x1FFF) + 3] = 0;
                    return;
                }
            }
        }
        ADD_FAILURE() << "no moved row";
    };
    const rt::RuntimeError e = errorOf([&] { changed("V2000/overflowTestV2000.mdb", rewritten); });
    EXPECT_EQ(e.number(), rt::err::DaoUnrecognizedFormat);
    EXPECT_EQ(e.description(), "Unrecognized database format 'C:\\changed.mdb'. [the file is damaged]");
}

} // namespace
