#pragma once

// The rows a statement returned, copied out of SQLite while it ran, so that
// no statement stays open afterwards. Rows keep the order SQLite gave them.
//
// The copy is compact: one 16-byte cell per value and the text packed into
// large blocks that never move, with no container per row. Text comes back
// from SQLite's UTF-8 as legacy bytes; blobs keep their bytes.

#include "runtime/data/data_errors.h"
#include "runtime/data/variant.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct sqlite3;

namespace rt::detail {

class Snapshot {
public:
    // Runs the first statement of `utf8Sql` to its end and keeps its rows
    // (replacing what was kept). False, with SQLite's failure, when it fails;
    // the snapshot is then empty.
    bool load(sqlite3 *db, const std::string &utf8Sql, QueryFailure &failure);
    void clear();

    long rowCount() const { return rows_; }
    int columnCount() const { return int(names_.size()); }
    const std::string &columnName(int column) const { return names_[std::size_t(column)]; }
    Variant value(long row, int column) const;

private:
    // Utf8: text that is not all ASCII, kept as SQLite gave it and turned
    // into legacy bytes only when it is read, so that a recordset of many
    // rows opens about as fast as SQLite reads them.
    enum class Kind : std::uint8_t { Null, Integer, Real, Text, Utf8 };
    struct Cell {
        Kind kind = Kind::Null;
        std::uint32_t size = 0; // bytes of text
        union {
            std::int64_t integer = 0;
            double real;
            const char *text; // into a block
        };
    };
    static_assert(sizeof(Cell) == 16);

    // Room for `size` bytes of text that stay where they are.
    char *reserveText(std::size_t size);
    void storeText(std::string_view bytes, Cell &cell);

    std::vector<std::string> names_;
    std::vector<Cell> cells_; // row by row
    std::vector<std::unique_ptr<char[]>> blocks_;
    char *free_ = nullptr;      // the unused end of the block being filled
    std::size_t blockFree_ = 0; // and its size
    std::string converted_;     // reused for the conversion of one value
    long rows_ = 0;
};

} // namespace rt::detail
