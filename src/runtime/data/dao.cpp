#include "runtime/data/dao.h"

#include "runtime/data/cursor.h"
#include "runtime/data/data_errors.h"
#include "runtime/data/database_file.h"
#include "runtime/errors/runtime_error.h"

#include <sqlite3.h>

#include <utility>

namespace rt {

Database::Database(sqlite3 *db, std::string name) : db_(db), name_(std::move(name)) {}

Database::~Database()
{
    if (db_)
        sqlite3_close_v2(db_);
}

Database::Database(Database &&other) noexcept
    : db_(std::exchange(other.db_, nullptr)), name_(std::move(other.name_))
{
}

Database &Database::operator=(Database &&other) noexcept
{
    if (this != &other) {
        if (db_)
            sqlite3_close_v2(db_);
        db_ = std::exchange(other.db_, nullptr);
        name_ = std::move(other.name_);
    }
    return *this;
}

Database Database::OpenDatabase(const Drive &drive, std::string_view windowsPath)
{
    detail::OpenedFile file = detail::openDatabaseFile(drive.hostPath(windowsPath));
    if (file.outcome != detail::OpenOutcome::Opened)
        detail::raiseOpenFailure(detail::Dialect::Dao, file, windowsPath);
    return Database(file.handle, std::string(windowsPath));
}

Recordset Database::OpenRecordset(std::string_view name)
{
    if (!db_)
        detail::raiseObjectClosed(detail::Dialect::Dao);
    Recordset recordset;
    recordset.cursor().open(db_, name, detail::SourceKind::Unknown, detail::Dialect::Dao);
    return recordset;
}

void Database::Close()
{
    if (!db_)
        detail::raiseObjectClosed(detail::Dialect::Dao);
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

} // namespace rt
