#include "runtime/data/database_file.h"

#include <sqlite3.h>

namespace rt::detail {

namespace {

// How long a read waits for a writer of another process before it fails.
constexpr int BusyTimeoutMs = 2000;

OpenedFile failed(OpenOutcome outcome, sqlite3 *db, std::string message)
{
    if (db)
        sqlite3_close_v2(db);
    OpenedFile file;
    file.outcome = outcome;
    file.message = std::move(message);
    return file;
}

} // namespace

OpenedFile openDatabaseFile(const std::filesystem::path &file)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        return failed(OpenOutcome::Missing, nullptr, "no such file");
    if (std::filesystem::file_size(file, ec) == 0 && !ec)
        return failed(OpenOutcome::NotADatabase, nullptr, "the file is empty");

    // An absolute path, so that nothing in it is taken for a URI or resolved
    // against a changed working folder.
    const std::string path = std::filesystem::absolute(file, ec).string();
    sqlite3 *db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK)
        return failed(rc == SQLITE_CANTOPEN ? OpenOutcome::Missing : OpenOutcome::Failed, db,
                      db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    sqlite3_busy_timeout(db, BusyTimeoutMs);

    // SQLite reads the header only when the first statement runs.
    sqlite3_stmt *stmt = nullptr;
    rc = sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_master", -1, &stmt, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(stmt);
    std::string message = rc == SQLITE_ROW ? std::string() : std::string(sqlite3_errmsg(db));
    sqlite3_finalize(stmt);
    if (rc != SQLITE_ROW) {
        const int primary = rc & 0xFF;
        return failed(primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT ? OpenOutcome::NotADatabase
                                                                            : OpenOutcome::Failed,
                      db, std::move(message));
    }
    OpenedFile opened;
    opened.outcome = OpenOutcome::Opened;
    opened.handle = db;
    return opened;
}

} // namespace rt::detail
