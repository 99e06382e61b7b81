#pragma once

// A field of a recordset: one column, read in the recordset's current row.
// A Field reference from Recordset::Fields stays valid as long as the
// recordset object lives (also when it is moved, closed or opened again).

#include "runtime/data/variant.h"

#include <string>

namespace rt {

namespace detail {
class Cursor;
}

class Field {
public:
    Field(const detail::Cursor *cursor, int column) : cursor_(cursor), column_(column) {}

    // The column's name, as legacy bytes.
    const std::string &Name() const;

    // The value in the current row: Null, an Integer, a Double or a String
    // (text as legacy bytes, a blob's bytes unchanged). Fails with
    // err::NoCurrentRecord when the recordset stands before its first or
    // after its last row, err::ObjectClosed when it is closed.
    Variant Value() const;

private:
    const detail::Cursor *cursor_;
    int column_;
};

} // namespace rt
