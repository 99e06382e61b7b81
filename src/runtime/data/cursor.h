#pragma once

// What an open recordset holds: its rows, the current position among them
// and its fields. The positions are the platform's: on a row, before the
// first row (BOF), after the last (EOF), or both at once when there is no row.

#include "runtime/data/data_errors.h"
#include "runtime/data/field.h"
#include "runtime/data/snapshot.h"

#include <deque>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace rt::detail {

enum class SourceKind { Unknown, Text, Table };

class Cursor {
public:
    // Runs the source and stands on the first row. A table source reads the
    // whole table in its stored order; an unknown one is a table when it is
    // the bare name of one (or one word, so that a missing table is reported
    // as such), else command text. Of a table, only the columns named in
    // `keptColumns` (letter case aside) are read, when it has any of them.
    // Raises the dialect's errors.
    void open(sqlite3 *db, std::string_view source, SourceKind kind, Dialect dialect,
              const std::vector<std::string> &keptColumns = {});
    void close();
    bool isOpen() const { return open_; }
    Dialect dialect() const { return dialect_; }
    void requireOpen() const;

    bool bof() const;
    bool eof() const;
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    long absolutePosition() const;
    void setAbsolutePosition(long position);

    long recordCount() const;
    int fieldCount() const;
    Field &field(int index);
    Field &field(std::string_view name);
    const std::string &fieldName(int column) const;
    Variant value(int column) const;
    // Any row's value, the row known to be in range.
    Variant cell(long row, int column) const;
    // See Snapshot::findPrefix; the column known to be in range.
    long findPrefix(int column, std::string_view prefix, long from) const;

private:
    void requireRows() const;

    Snapshot rows_;
    std::deque<Field> fields_; // grows only, so that references to fields stay valid
    long position_ = 0;        // -1 before the first row, rowCount() after the last
    bool open_ = false;
    Dialect dialect_ = Dialect::Ado;
};

} // namespace rt::detail
