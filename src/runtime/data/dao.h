#pragma once

// The platform's DAO database engine, served by SQLite 3: a database file
// opened by its Windows path and its tables opened by name. The file is
// opened read-only (the program only reads) and never created.

#include "runtime/data/recordset.h"
#include "runtime/system/drive.h"

#include <string>
#include <string_view>

struct sqlite3;

namespace rt {

class Database {
public:
    // DBEngine.OpenDatabase. Fails with err::DaoFileNotFound "Could not find
    // file '<path>'." and err::DaoUnrecognizedFormat "Unrecognized database
    // format '<path>'."; any other failure to open it is
    // err::DaoUnrecognizedFormat as well, with SQLite's message.
    static Database OpenDatabase(const Drive &drive, std::string_view windowsPath);

    ~Database();
    Database(Database &&other) noexcept;
    Database &operator=(Database &&other) noexcept;
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // A table by name gives a table-type recordset: the whole table in its
    // stored order. Anything else is taken as query text. The recordset
    // stands on the first record when there is one. Failures:
    // err::DaoTableNotFound, err::DaoTooFewParameters (an unknown column),
    // err::DaoQueryFailed; err::DaoObjectInvalid when the database is closed.
    // Its errors afterwards are DAO's: err::NoCurrentRecord "No current
    // record.", err::ItemNotFound "Item not found in this collection.".
    Recordset OpenRecordset(std::string_view name);

    // Closing leaves recordsets opened from the database readable.
    void Close();

    // The Windows path the database was opened by.
    const std::string &Name() const { return name_; }

private:
    Database(sqlite3 *db, std::string name);

    sqlite3 *db_ = nullptr;
    std::string name_;
};

} // namespace rt
