#pragma once

// The tables of a Jet file written into an SQLite file, as the data layer
// opens it afterwards: one table per Jet table with the same name and
// columns, the rows inserted in the order they come (so that a plain scan
// returns them in the Jet table's stored order), no index, text as UTF-8,
// numbers as INTEGER or REAL, binary values as BLOB.

#include "runtime/data/jet/jet_file.h"

#include <stdexcept>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace rt::jet {

class CannotWrite : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

class SqliteCopy : public TableSink {
public:
    // Opens (or creates) the file; CannotWrite when it cannot.
    explicit SqliteCopy(const std::string &path);
    ~SqliteCopy() override;
    SqliteCopy(const SqliteCopy &) = delete;
    SqliteCopy &operator=(const SqliteCopy &) = delete;

    void beginTable(const std::string &name, const std::vector<Column> &columns) override;
    void row(const std::vector<Value> &values) override;
    void endTable() override;

    // Commits and closes the file. CannotWrite when that fails.
    void finish();

private:
    void exec(const std::string &sql);
    [[noreturn]] void fail(const std::string &what);

    sqlite3 *db_ = nullptr;
    sqlite3_stmt *insert_ = nullptr;
};

} // namespace rt::jet
