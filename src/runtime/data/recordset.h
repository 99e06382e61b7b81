#pragma once

// The platform's recordset, served by SQLite 3.
//
// Open runs its query at once and keeps a copy of the rows (a snapshot in
// the order SQLite returns them); every cursor type is served that way, so
// a recordset never sees later changes of its table and holds no SQLite
// statement after Open. Text crosses into SQLite as UTF-8 through the
// Windows-1252 table and comes back as the same legacy bytes.

#include "runtime/data/field.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace rt {

class Connection;
class Database;

namespace detail {
class Cursor;
}

class Recordset {
public:
    // The command types of Open's options (further option flags are ignored).
    static constexpr long CommandText = 1;
    static constexpr long CommandTable = 2;
    static constexpr long CommandUnknown = 8;
    static constexpr long CommandTableDirect = 512;

    Recordset();
    ~Recordset();
    Recordset(Recordset &&) noexcept;
    Recordset &operator=(Recordset &&) noexcept;
    Recordset(const Recordset &) = delete;
    Recordset &operator=(const Recordset &) = delete;

    // Runs `source` on the open connection and stands on the first row.
    // Options 1: `source` is command text; 2 (or 512): a table, read whole
    // in its stored order; -1 or 8: a table when it is the bare name of one,
    // else command text. Cursor types -1..3 and lock types -1..4 are
    // accepted; the rows are always a static, read-only snapshot.
    //
    // Failures: err::ObjectOpen (already open), err::ConnectionUnusable
    // (connection closed), err::BadArguments (cursor type, lock type or
    // command type out of range), err::CommandTextNotSet (empty source),
    // err::TableNotFound, err::ColumnNotFound, err::CommandFailed (any
    // other fault of the command text), err::ProviderError (the database
    // could not be read). Each description carries SQLite's message.
    void Open(std::string_view source, Connection &activeConnection, int cursorType = -1, int lockType = -1,
              long options = -1);

    // The fields that Open keeps of a table, by name (letter case aside), for
    // a list that reads a few columns of a large table: the recordset then
    // holds only those of the table's columns, in the table's order, and
    // copies nothing of the others. A table that has none of them, and any
    // source that is command text, keep every field; so does an empty list,
    // the default. Set before Open; it holds for every later Open.
    void setKeptFields(std::vector<std::string> names) { keptFields_ = std::move(names); }

    // Fails with err::ObjectClosed when not open.
    void Close();
    // 0 closed, 1 open.
    int State() const;

    // Positions: on a row; before the first (Bof); after the last (Eof);
    // both at once when there is no row. Read on a closed recordset they
    // fail with err::ObjectClosed.
    bool Bof() const;
    bool Eof() const;

    // Each fails with err::NoCurrentRecord when there is no row; MoveNext
    // also from after the last row, MovePrevious from before the first.
    // MoveNext from before the first row goes to the first row, MovePrevious
    // from after the last to the last.
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();

    // The current row counted from 1; -2 before the first, -3 after the last.
    // Setting a number outside 1..RecordCount fails with err::BadArguments.
    long AbsolutePosition() const;
    void setAbsolutePosition(long position);

    // A field by position (from 0) or by name (letter case aside); an unknown
    // one fails with err::ItemNotFound.
    Field &Fields(int index);
    Field &Fields(std::string_view name);
    int FieldCount() const;
    long RecordCount() const;

    // The value in column `column` (from 0) of row `row` (from 0), read
    // without moving the current row: for a list that shows the rows on
    // demand. Fails with err::ObjectClosed when not open, err::ItemNotFound
    // for a column and err::BadArguments for a row out of range.
    Variant cell(long row, int column) const;

    // The first row from `fromRow` on (from 0) whose value in column `column`
    // starts with the legacy bytes `prefix`; -1 when none does. Text is
    // compared in the form it is kept in, so that a search over many rows
    // converts none of them; numbers are compared by their text, and Null
    // starts with nothing. Fails like cell().
    long findPrefix(int column, std::string_view prefix, long fromRow = 0) const;

private:
    friend class Database;
    detail::Cursor &cursor() const;

    std::unique_ptr<detail::Cursor> cursor_;
    std::vector<std::string> keptFields_;
};

} // namespace rt
