// The rows a recordset keeps: every value back as it was stored, at any
// size; only the kept fields of a table; and the search for a row by the
// start of its text.

#include "runtime/data/connection.h"
#include "runtime/data/data_errors.h"
#include "runtime/data/recordset.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/system/drive.h"
#include "runtime/text/legacy_text.h"
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace {

namespace fs = std::filesystem;
using rt::Variant;

// A value as the tests write it: legacy text (stored as its UTF-8), a whole
// number, a blob's bytes, or Null.
struct Blob {
    std::string bytes;
};
using Value = std::variant<std::monostate, std::string, std::int64_t, Blob>;

class RowsTest : public ::testing::Test {
protected:
    RowsTest() { fs::create_directories(temp.path() / "WINDOWS" / "system32"); }

    fs::path file() const { return temp.path() / "WINDOWS" / "system32" / "rows"; }

    void exec(const std::string &sql)
    {
        sqlite3 *db = nullptr;
        sqlite3_open(file().c_str(), &db);
        char *message = nullptr;
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK)
            ADD_FAILURE() << sql << ": " << (message ? message : "?");
        sqlite3_free(message);
        sqlite3_close(db);
    }

    void insert(const std::string &table, const std::vector<std::vector<Value>> &rows)
    {
        sqlite3 *db = nullptr;
        sqlite3_open(file().c_str(), &db);
        for (const std::vector<Value> &row : rows) {
            std::string sql = "INSERT INTO " + table + " VALUES (";
            for (std::size_t i = 0; i < row.size(); ++i)
                sql += i ? ", ?" : "?";
            sqlite3_stmt *stmt = nullptr;
            ASSERT_EQ(sqlite3_prepare_v2(db, (sql + ")").c_str(), -1, &stmt, nullptr), SQLITE_OK);
            for (std::size_t i = 0; i < row.size(); ++i) {
                const int at = int(i) + 1;
                if (const auto *text = std::get_if<std::string>(&row[i])) {
                    const std::string utf8 = rt::toUtf8(*text);
                    sqlite3_bind_text(stmt, at, utf8.data(), int(utf8.size()), SQLITE_TRANSIENT);
                } else if (const auto *number = std::get_if<std::int64_t>(&row[i])) {
                    sqlite3_bind_int64(stmt, at, *number);
                } else if (const auto *blob = std::get_if<Blob>(&row[i])) {
                    sqlite3_bind_blob(stmt, at, blob->bytes.data(), int(blob->bytes.size()), SQLITE_TRANSIENT);
                }
            }
            EXPECT_EQ(sqlite3_step(stmt), SQLITE_DONE);
            sqlite3_finalize(stmt);
        }
        sqlite3_close(db);
    }

    rt::Connection &connection()
    {
        if (!cn.State())
            cn.Open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\WINDOWS\\system32\\rows");
        return cn;
    }

    testing_support::TempDir temp;
    rt::Drive drive{temp.path()};
    rt::Connection cn{drive};
};

int errorNumber(const std::function<void()> &statement)
{
    try {
        statement();
    } catch (const rt::RuntimeError &e) {
        return e.number();
    }
    return 0;
}

std::string repeated(const std::string &part, std::size_t times)
{
    std::string text;
    for (std::size_t i = 0; i < times; ++i)
        text += part;
    return text;
}

// More rows than one chunk of the copy holds, numbers that outgrow four
// bytes, texts from none to 1.25 MB of UTF-8 across many blocks, and a column
// whose kind changes late.
TEST_F(RowsTest, EveryValueComesBackAsStoredAtAnySize)
{
    constexpr long rows = 70000;
    exec("CREATE TABLE t (n INTEGER, word TEXT, mixed, r REAL)");
    exec("WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k WHERE i < " + std::to_string(rows) +
         ") INSERT INTO t SELECT CASE WHEN i > 3000 AND i % 7 = 0 THEN -i ELSE i * i * 1000 END, "
         "CASE WHEN i % 25000 = 0 THEN replace(hex(zeroblob(250000)), '00', char(225, 8216)) "
         "WHEN i % 5000 = 1 THEN replace(hex(zeroblob(15000)), '00', 'xy') "
         "WHEN i % 1000 = 0 THEN '' "
         "ELSE 'w' || i || char(225) || substr('abcdefghijklmnopqrstuvwxyz', 1, i % 27) END, "
         "CASE WHEN i <= 66000 THEN 'm' || i WHEN i % 3 = 0 THEN i WHEN i % 3 = 1 THEN NULL ELSE i + 0.5 END, "
         "i / 4.0 FROM k");
    const auto word = [](long i) -> std::string {
        if (i % 25000 == 0)
            return repeated("\xE1\x91", 250000); // U+00E1 and U+2018: 1.25 MB of UTF-8
        if (i % 5000 == 1)
            return repeated("xy", 15000);
        if (i % 1000 == 0)
            return "";
        return "w" + std::to_string(i) + "\xE1" + std::string("abcdefghijklmnopqrstuvwxyz").substr(0, i % 27);
    };
    const auto mixed = [](long i) -> Variant {
        if (i <= 66000)
            return "m" + std::to_string(i);
        if (i % 3 == 0)
            return Variant(i);
        if (i % 3 == 1)
            return Variant::null();
        return Variant(double(i) + 0.5);
    };

    rt::Recordset rs;
    rs.Open("t", connection(), 3, 3, rt::Recordset::CommandTable);
    ASSERT_EQ(rs.RecordCount(), rows);
    long wrong = 0;
    for (long i = 1; i <= rows && wrong < 5; ++i) {
        const long row = i - 1;
        const long long n = i > 3000 && i % 7 == 0 ? -i : static_cast<long long>(i) * i * 1000;
        const Variant expected[] = {Variant(n), Variant(word(i)),
                                    mixed(i), Variant(double(i) / 4.0)};
        for (int column = 0; column < 4; ++column) {
            if (rs.cell(row, column) != expected[column]) {
                ADD_FAILURE() << "row " << row << ", column " << column;
                ++wrong;
            }
        }
    }
    rs.MoveLast();
    EXPECT_EQ(rs.Fields("word").Value(), Variant(word(rows)));
}

TEST_F(RowsTest, ATableKeepsOnlyTheKeptFieldsInItsOwnOrder)
{
    exec("CREATE TABLE kt (ID INTEGER, Names TEXT, Traslation TEXT, Extra TEXT)");
    insert("kt", {{std::int64_t(1), std::string("k\xE1"), std::string("one"), std::string("x")},
                  {std::int64_t(2), std::string("kh"), std::string("two"), std::monostate{}}});
    rt::Recordset rs;
    rs.setKeptFields({"names", "ID", "Nothing"});
    for (long options : {long(rt::Recordset::CommandTable), -1L}) {
        rs.Open("kt", connection(), 3, 3, options);
        ASSERT_EQ(rs.FieldCount(), 2) << options;
        EXPECT_EQ(rs.Fields(0).Name(), "ID");
        EXPECT_EQ(rs.Fields(1).Name(), "Names");
        EXPECT_EQ(rs.Fields("Names").Value(), Variant("k\xE1"));
        EXPECT_EQ(errorNumber([&] { rs.Fields("Traslation"); }), rt::err::ItemNotFound);
        rs.MoveNext();
        EXPECT_EQ(rs.Fields(0).Value(), Variant(2));
        rs.Close();
    }
    // Command text keeps what it selects, and a table with none of the kept
    // fields keeps all of its own.
    rs.Open("SELECT * FROM kt", connection(), 3, 3, rt::Recordset::CommandText);
    EXPECT_EQ(rs.FieldCount(), 4);
    rs.Close();
    rs.setKeptFields({"Nothing"});
    rs.Open("kt", connection(), 3, 3, rt::Recordset::CommandTable);
    EXPECT_EQ(rs.FieldCount(), 4);
}

// Column a holds text only; b holds every kind. Row 4 of a is a long text.
TEST_F(RowsTest, FindPrefixComparesTheBytesAsStored)
{
    exec("CREATE TABLE f (a TEXT, b)");
    const std::string longText = "k\x91" + std::string(70000, 'z');
    insert("f", {{std::string("k\x91" "a"), std::string("k\x91" "a")},
                 {std::string("kz"), std::monostate{}},
                 {std::string("12x"), std::int64_t(123)},
                 {std::string("k\x91" "b"), std::string("k\x91" "b")},
                 {longText, Blob{"k\x91"}},
                 {std::string(""), std::string("")}});
    exec("UPDATE f SET b = 12.5 WHERE rowid = 6");
    rt::Recordset rs;
    rs.Open("f", connection(), 3, 3, rt::Recordset::CommandTable);

    struct Case {
        int column;
        std::string prefix;
        long from;
        long row;
    } cases[] = {
        {0, "k\x91", 0, 0}, {0, "k\x91", 1, 3},   {0, "k\x91", 4, 4},  {0, "k\x91", 5, -1}, {0, "kz", 0, 1},
        {0, "12", 0, 2},    {0, "k\x91z", 0, 4},  {0, "z", 0, -1},     {0, "k", 6, -1},     {0, "", 1, 1},
        {1, "k\x91", 0, 0}, {1, "k\x91", 1, 3},   {1, "k\x91", 4, 4},  {1, "12", 0, 2},     {1, "12.", 0, 5},
        {1, "123", 3, -1},  {1, "k\x91" "c", 0, -1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(rs.findPrefix(c.column, c.prefix, c.from), c.row)
            << "column " << c.column << ", \"" << c.prefix << "\" from " << c.from;
    EXPECT_EQ(errorNumber([&] { rs.findPrefix(2, "k"); }), rt::err::ItemNotFound);
    rs.Close();
    EXPECT_EQ(errorNumber([&] { rs.findPrefix(0, "k"); }), rt::err::ObjectClosed);
}

} // namespace
