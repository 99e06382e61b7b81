#include "runtime/data/cursor.h"

#include "runtime/errors/runtime_error.h"
#include "runtime/text/legacy_text.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <memory>

namespace rt::detail {

namespace {

constexpr long PositionBof = -2; // the platform's adPosBOF
constexpr long PositionEof = -3; // the platform's adPosEOF

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

bool bracketed(std::string_view text)
{
    return text.size() >= 2 && text.front() == '[' && text.back() == ']';
}

// One word that could only be a name, never a statement.
bool oneWord(std::string_view text)
{
    return !text.empty() && std::none_of(text.begin(), text.end(), [](char c) {
        return std::isspace(static_cast<unsigned char>(c)) || std::string_view("(),;'\"=*").find(c) != std::string_view::npos;
    });
}

std::string quotedName(std::string_view utf8Name)
{
    std::string quoted = "\"";
    for (char c : utf8Name)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + '"';
}

// "table" or "view" for the object of that name (case aside), with its name
// as stored; empty when there is none.
std::string objectType(sqlite3 *db, const std::string &utf8Name, std::string &storedName)
{
    sqlite3_stmt *raw = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT type, name FROM sqlite_master WHERE type IN ('table', 'view') "
                       "AND name = ?1 COLLATE NOCASE ORDER BY name = ?1 DESC LIMIT 1",
                       -1, &raw, nullptr);
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> stmt(raw, sqlite3_finalize);
    if (!stmt)
        return {};
    sqlite3_bind_text(stmt.get(), 1, utf8Name.data(), int(utf8Name.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(stmt.get()) != SQLITE_ROW)
        return {};
    storedName = reinterpret_cast<const char *>(sqlite3_column_text(stmt.get(), 1));
    return reinterpret_cast<const char *>(sqlite3_column_text(stmt.get(), 0));
}

bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// The columns of `utf8Table` that `kept` names, quoted and in the table's
// order, joined for a select list; "*" when it has none of them.
std::string selectList(sqlite3 *db, const std::string &utf8Table, const std::vector<std::string> &kept)
{
    if (kept.empty())
        return "*";
    sqlite3_stmt *raw = nullptr;
    const std::string sql = "SELECT * FROM " + quotedName(utf8Table);
    sqlite3_prepare_v2(db, sql.c_str(), int(sql.size()), &raw, nullptr);
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> stmt(raw, sqlite3_finalize);
    std::string list;
    for (int c = 0; stmt && c < sqlite3_column_count(stmt.get()); ++c) {
        const std::string name = sqlite3_column_name(stmt.get(), c);
        const std::string legacyName = fromUtf8(name);
        if (std::any_of(kept.begin(), kept.end(), [&](const std::string &k) { return sameName(k, legacyName); }))
            list += (list.empty() ? "" : ", ") + quotedName(name);
    }
    return list.empty() ? "*" : list;
}

} // namespace

void Cursor::open(sqlite3 *db, std::string_view source, SourceKind kind, Dialect dialect,
                  const std::vector<std::string> &keptColumns)
{
    dialect_ = dialect;
    const std::string_view text = trimmed(source);
    if (text.empty()) {
        if (dialect == Dialect::Dao)
            raise(err::DaoTableNotFound, "The Microsoft Jet database engine cannot find the input table or "
                                         "query ''. Make sure it exists and that its name is spelled correctly.");
        raise(err::CommandTextNotSet, "Command text was not set for the command object.");
    }

    std::string sql;
    if (kind != SourceKind::Text) {
        const std::string_view name = bracketed(text) ? text.substr(1, text.size() - 2) : text;
        const std::string utf8Name = toUtf8(name);
        std::string stored;
        const std::string type = objectType(db, utf8Name, stored);
        // A plain scan of the table itself, never of an index, so that the
        // rows come in their stored order.
        if (type == "table")
            sql = "SELECT " + selectList(db, stored, keptColumns) + " FROM " + quotedName(stored) + " NOT INDEXED";
        else if (type == "view")
            sql = "SELECT " + selectList(db, stored, keptColumns) + " FROM " + quotedName(stored);
        else if (kind == SourceKind::Table || bracketed(text) || oneWord(text))
            sql = "SELECT * FROM " + quotedName(utf8Name); // fails as a missing table
    }
    if (sql.empty())
        sql = toUtf8(text);

    QueryFailure failure;
    if (!rows_.load(db, sql, failure))
        raiseQueryFailure(dialect, failure);
    if (rows_.columnCount() == 0) {
        // A statement that returns no rows leaves the recordset closed.
        rows_.clear();
        return;
    }
    for (int c = int(fields_.size()); c < rows_.columnCount(); ++c)
        fields_.emplace_back(this, c);
    position_ = 0;
    open_ = true;
}

void Cursor::close()
{
    requireOpen();
    rows_.clear();
    position_ = 0;
    open_ = false;
}

void Cursor::requireOpen() const
{
    if (!open_)
        raiseObjectClosed(dialect_);
}

void Cursor::requireRows() const
{
    requireOpen();
    if (rows_.rowCount() == 0)
        raiseNoCurrentRecord(dialect_);
}

bool Cursor::bof() const
{
    requireOpen();
    return rows_.rowCount() == 0 || position_ < 0;
}

bool Cursor::eof() const
{
    requireOpen();
    return rows_.rowCount() == 0 || position_ >= rows_.rowCount();
}

void Cursor::moveFirst()
{
    requireRows();
    position_ = 0;
}

void Cursor::moveLast()
{
    requireRows();
    position_ = rows_.rowCount() - 1;
}

void Cursor::moveNext()
{
    requireRows();
    if (position_ >= rows_.rowCount())
        raiseNoCurrentRecord(dialect_);
    ++position_;
}

void Cursor::movePrevious()
{
    requireRows();
    if (position_ < 0)
        raiseNoCurrentRecord(dialect_);
    --position_;
}

long Cursor::absolutePosition() const
{
    if (bof())
        return PositionBof;
    if (eof())
        return PositionEof;
    return position_ + 1;
}

void Cursor::setAbsolutePosition(long position)
{
    requireOpen();
    if (position < 1 || position > rows_.rowCount())
        raise(err::BadArguments, "Arguments are of the wrong type, are out of acceptable range, or are in "
                                 "conflict with one another.");
    position_ = position - 1;
}

long Cursor::recordCount() const
{
    requireOpen();
    return rows_.rowCount();
}

int Cursor::fieldCount() const
{
    requireOpen();
    return rows_.columnCount();
}

Field &Cursor::field(int index)
{
    requireOpen();
    if (index < 0 || index >= rows_.columnCount())
        raiseItemNotFound(dialect_);
    return fields_[std::size_t(index)];
}

Field &Cursor::field(std::string_view name)
{
    requireOpen();
    for (int c = 0; c < rows_.columnCount(); ++c)
        if (sameName(rows_.columnName(c), name))
            return fields_[std::size_t(c)];
    raiseItemNotFound(dialect_);
}

const std::string &Cursor::fieldName(int column) const
{
    requireOpen();
    if (column >= rows_.columnCount())
        raiseItemNotFound(dialect_);
    return rows_.columnName(column);
}

Variant Cursor::value(int column) const
{
    requireOpen();
    if (column >= rows_.columnCount())
        raiseItemNotFound(dialect_);
    if (position_ < 0 || position_ >= rows_.rowCount())
        raiseNoCurrentRecord(dialect_);
    return rows_.value(position_, column);
}

Variant Cursor::cell(long row, int column) const
{
    requireOpen();
    if (column < 0 || column >= rows_.columnCount())
        raiseItemNotFound(dialect_);
    return rows_.value(row, column);
}

long Cursor::findPrefix(int column, std::string_view prefix, long from) const
{
    requireOpen();
    if (column < 0 || column >= rows_.columnCount())
        raiseItemNotFound(dialect_);
    return rows_.findPrefix(column, prefix, from);
}

} // namespace rt::detail

namespace rt {

const std::string &Field::Name() const
{
    return cursor_->fieldName(column_);
}

Variant Field::Value() const
{
    return cursor_->value(column_);
}

} // namespace rt
