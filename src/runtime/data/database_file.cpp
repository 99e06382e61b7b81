#include "runtime/data/database_file.h"

#include "runtime/data/database_cache.h"
#include "runtime/errors/runtime_error.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <string_view>

namespace rt::detail {

namespace {

namespace fs = std::filesystem;

// How long a read waits for a writer of another process before it fails.
constexpr int BusyTimeoutMs = 2000;

constexpr std::string_view SqliteMagic{"SQLite format 3\0", 16};
constexpr std::string_view JetMagic{"Standard Jet DB\0", 16};  // Access 97 to 2003
constexpr std::string_view AceMagic{"Standard ACE DB\0", 16};  // later versions

OpenedFile failed(OpenOutcome outcome, sqlite3 *db, std::string message)
{
    if (db)
        sqlite3_close_v2(db);
    OpenedFile file;
    file.outcome = outcome;
    file.message = std::move(message);
    return file;
}

// A URI for SQLite that names the file and nothing else: every byte that
// could mean something in a URI is escaped.
std::string uriOf(const fs::path &file)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string uri = "file:";
    for (const char c : file.string()) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || std::string_view("/-._~").find(c) != std::string_view::npos) {
            uri += c;
        } else {
            uri += '%';
            uri += hex[byte >> 4];
            uri += hex[byte & 0x0F];
        }
    }
    return uri;
}

// Opens an SQLite file read-only and reads its schema, which is when SQLite
// first reads the file.
OpenedFile openSqlite(const std::string &name, int extraFlags)
{
    sqlite3 *db = nullptr;
    int rc = sqlite3_open_v2(name.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX | extraFlags, nullptr);
    if (rc != SQLITE_OK)
        return failed(OpenOutcome::Failed, db,
                      std::string("SQLite: ") + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)));
    sqlite3_busy_timeout(db, BusyTimeoutMs);

    sqlite3_stmt *stmt = nullptr;
    rc = sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_master", -1, &stmt, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(stmt);
    std::string message = rc == SQLITE_ROW ? std::string() : "SQLite: " + std::string(sqlite3_errmsg(db));
    sqlite3_finalize(stmt);
    switch (rc & 0xFF) {
    case SQLITE_ROW: {
        OpenedFile opened;
        opened.outcome = OpenOutcome::Opened;
        opened.handle = db;
        return opened;
    }
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT: return failed(OpenOutcome::NotADatabase, db, std::move(message));
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return failed(OpenOutcome::Locked, db, std::move(message));
    default: return failed(OpenOutcome::Failed, db, std::move(message));
    }
}

// Opens the copy `make` gives; a kept copy that no longer opens (the cache
// is anybody's to delete or damage) is made once more.
template <class Make>
OpenedFile openCopy(DatabaseCache &cache, Make make)
{
    for (int attempt = 0;; ++attempt) {
        const DatabaseCopy copy = make();
        switch (copy.outcome) {
        case DatabaseCopy::Outcome::Ready: break;
        case DatabaseCopy::Outcome::NotJet:
        case DatabaseCopy::Outcome::Damaged: return failed(OpenOutcome::NotADatabase, nullptr, copy.message);
        case DatabaseCopy::Outcome::Failed: return failed(OpenOutcome::Failed, nullptr, copy.message);
        }
        OpenedFile opened = openSqlite(copy.file.string(), 0);
        if (!copy.discard.empty()) {
            // SQLite keeps reading an open file whose name is gone.
            std::error_code ec;
            fs::remove_all(copy.discard, ec);
        }
        if (opened.outcome != OpenOutcome::NotADatabase || attempt > 0)
            return opened;
        cache.forget(copy.file);
    }
}

} // namespace

OpenedFile openDatabaseFile(const fs::path &file)
{
    std::error_code ec;
    if (!fs::is_regular_file(file, ec))
        return failed(OpenOutcome::Missing, nullptr, "no such file");
    // An absolute path, so that nothing in it is resolved against a changed
    // working folder.
    const fs::path path = fs::absolute(file, ec);

    char header[32] = {};
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return failed(errno == ENOENT ? OpenOutcome::Missing : OpenOutcome::Unreadable, nullptr,
                      std::strerror(errno));
    ssize_t got;
    while ((got = pread(fd, header, sizeof header, 0)) < 0 && errno == EINTR) {
    }
    const int readError = errno;
    close(fd);
    if (got < 0)
        return failed(OpenOutcome::Unreadable, nullptr, std::strerror(readError));
    if (got == 0)
        return failed(OpenOutcome::NotADatabase, nullptr, "the file is empty");
    const std::string_view start(header, std::size_t(got));

    if (start.substr(0, SqliteMagic.size()) == SqliteMagic) {
        const bool writeAheadLog = got >= 20 && (header[18] == 2 || header[19] == 2);
        if (!writeAheadLog)
            return openSqlite(path.string(), 0);
        const fs::path log = path.string() + "-wal";
        if (fs::file_size(log, ec) > 0 && !ec) {
            DatabaseCache cache;
            return openCopy(cache, [&] { return cache.walCopy(path); });
        }
        // Nothing beside it holds any of its content: the file is all of it.
        return openSqlite(uriOf(path) + "?immutable=1", SQLITE_OPEN_URI);
    }
    const bool jet = got >= 20 && (start.substr(4, JetMagic.size()) == JetMagic ||
                                   start.substr(4, AceMagic.size()) == AceMagic);
    if (jet) {
        DatabaseCache cache;
        return openCopy(cache, [&] { return cache.jetCopy(path); });
    }
    return failed(OpenOutcome::NotADatabase, nullptr, "neither an SQLite nor a Jet database");
}

void raiseOpenFailure(Dialect dialect, const OpenedFile &file, std::string_view windowsPath)
{
    const bool dao = dialect == Dialect::Dao;
    const std::string more = file.message.empty() ? std::string() : " [" + file.message + "]";
    switch (file.outcome) {
    case OpenOutcome::Missing:
        raise(dao ? err::DaoFileNotFound : err::ProviderError, couldNotFindFile(windowsPath));
    case OpenOutcome::Unreadable:
        raise(dao ? err::DaoCannotOpen : err::ProviderError, cannotRead(windowsPath) + more);
    case OpenOutcome::Locked:
        raise(dao ? err::DaoFileInUse : err::ProviderError, fileInUse(windowsPath));
    case OpenOutcome::NotADatabase:
        raise(dao ? err::DaoUnrecognizedFormat : err::ProviderError, unrecognizedFormat(windowsPath) + more);
    case OpenOutcome::Opened:
    case OpenOutcome::Failed: break;
    }
    if (dao)
        raise(err::DaoUnrecognizedFormat, unrecognizedFormat(windowsPath) + more);
    raise(err::ProviderError, "The database '" + std::string(windowsPath) + "' could not be opened" + more);
}

} // namespace rt::detail
