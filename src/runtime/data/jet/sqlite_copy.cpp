#include "runtime/data/jet/sqlite_copy.h"

#include <sqlite3.h>

namespace rt::jet {

namespace {

std::string quoted(const std::string &name)
{
    std::string text = "\"";
    for (const char c : name)
        text += c == '"' ? std::string("\"\"") : std::string(1, c);
    return text + '"';
}

const char *declaredType(Kind kind)
{
    switch (kind) {
    case Kind::Integer: return " INTEGER";
    case Kind::Real: return " REAL";
    case Kind::Text: return " TEXT";
    case Kind::Blob: return " BLOB";
    case Kind::Null: break;
    }
    return "";
}

} // namespace

SqliteCopy::SqliteCopy(const std::string &path)
{
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
        fail("open");
    // A copy that is only renamed into place once it is whole needs no journal.
    exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN");
}

SqliteCopy::~SqliteCopy()
{
    sqlite3_finalize(insert_);
    sqlite3_close_v2(db_);
}

void SqliteCopy::exec(const std::string &sql)
{
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(sql);
}

// A failure to write is the copy's; any other (a name SQLite refuses, two
// tables of one name) comes from what the file holds.
void SqliteCopy::fail(const std::string &what)
{
    const std::string message = what + ": " + (db_ ? sqlite3_errmsg(db_) : "no database");
    if (db_ && (sqlite3_errcode(db_) == SQLITE_ERROR || sqlite3_errcode(db_) == SQLITE_CONSTRAINT))
        throw JetDamaged(message);
    throw CannotWrite(message);
}

void SqliteCopy::beginTable(const std::string &name, const std::vector<Column> &columns)
{
    std::string create = "CREATE TABLE " + quoted(name) + " (";
    std::string insert = "INSERT INTO " + quoted(name) + " VALUES (";
    for (std::size_t c = 0; c < columns.size(); ++c) {
        create += (c ? ", " : "") + quoted(columns[c].name) + declaredType(columns[c].kind);
        insert += c ? ", ?" : "?";
    }
    exec(create + ")");
    sqlite3_finalize(insert_);
    insert_ = nullptr;
    if (sqlite3_prepare_v2(db_, (insert + ")").c_str(), -1, &insert_, nullptr) != SQLITE_OK)
        fail(insert);
}

void SqliteCopy::row(const std::vector<Value> &values)
{
    for (std::size_t c = 0; c < values.size(); ++c) {
        const Value &v = values[c];
        const int at = int(c) + 1;
        switch (v.kind) {
        case Kind::Null: sqlite3_bind_null(insert_, at); break;
        case Kind::Integer: sqlite3_bind_int64(insert_, at, v.integer); break;
        case Kind::Real: sqlite3_bind_double(insert_, at, v.real); break;
        case Kind::Text:
            sqlite3_bind_text64(insert_, at, v.bytes.data(), v.bytes.size(), SQLITE_STATIC, SQLITE_UTF8);
            break;
        case Kind::Blob: sqlite3_bind_blob64(insert_, at, v.bytes.data(), v.bytes.size(), SQLITE_STATIC); break;
        }
    }
    if (sqlite3_step(insert_) != SQLITE_DONE)
        fail("insert");
    sqlite3_reset(insert_);
}

void SqliteCopy::endTable()
{
    sqlite3_finalize(insert_);
    insert_ = nullptr;
}

void SqliteCopy::finish()
{
    exec("COMMIT");
    if (sqlite3_close_v2(db_) != SQLITE_OK)
        fail("close");
    db_ = nullptr;
}

} // namespace rt::jet
