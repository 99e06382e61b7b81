#include "runtime/data/database_cache.h"

#include "runtime/data/jet/jet_reader_status.h"
#include "runtime/system/helper_process.h"
#include "runtime/system/program_files.h"

#include <QCryptographicHash>

#include <sqlite3.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace rt::detail {

namespace {

namespace fs = std::filesystem;

// Part of every copy's name: raised when copies come to be made differently.
constexpr char CopyFormat[] = "velumir database copy 2";
constexpr char Partial[] = "part-";
constexpr auto StalePartial = std::chrono::hours(1);
constexpr char Made[] = "copy.sqlite";

// What tells one version of a file from another, and when it last changed.
std::string identity(const fs::path &file, std::chrono::system_clock::time_point &changed)
{
    struct stat s = {};
    if (stat(file.c_str(), &s) != 0)
        return "none";
    const auto at = [](const timespec &time) {
        return std::chrono::system_clock::time_point(std::chrono::duration_cast<std::chrono::system_clock::duration>(
            std::chrono::seconds(time.tv_sec) + std::chrono::nanoseconds(time.tv_nsec)));
    };
    changed = std::max({changed, at(s.st_mtim), at(s.st_ctim)});
    return fileVersion(s);
}

// The name of the copy of `files` as they are now, and when the last of
// them changed.
std::string keyOf(const char *kind, const std::vector<fs::path> &files, std::chrono::system_clock::time_point &changed)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArrayView(CopyFormat));
    hash.addData(QByteArrayView(kind));
    for (const fs::path &file : files) {
        std::error_code ec;
        const std::string path = fs::absolute(file, ec).string();
        hash.addData(QByteArrayView(path.data(), qsizetype(path.size() + 1)));
        const std::string id = identity(file, changed);
        hash.addData(QByteArrayView(id.data(), qsizetype(id.size() + 1)));
    }
    return hash.result().toHex().left(40).toStdString();
}

DatabaseCopy outcome(DatabaseCopy::Outcome what, std::string message = {})
{
    DatabaseCopy result;
    result.outcome = what;
    result.message = std::move(message);
    return result;
}

DatabaseCopy fromReader(const HelperEnd &end, std::chrono::milliseconds limit, const fs::path &folder)
{
    using How = HelperEnd::How;
    switch (end.how) {
    case How::NotStarted:
        return outcome(DatabaseCopy::Outcome::Failed, "the program that reads Jet files could not be started (" +
                                                          std::string(std::strerror(end.code)) + ")");
    case How::TimedOut:
        return outcome(DatabaseCopy::Outcome::Damaged,
                       "the file could not be read within " +
                           (limit.count() % 1000 ? std::to_string(limit.count()) + " ms"
                                                 : std::to_string(limit.count() / 1000) + " seconds"));
    case How::Signalled: return outcome(DatabaseCopy::Outcome::Damaged, "the file could not be read");
    case How::Exited: break;
    }
    switch (end.code) {
    case jet::ReaderCopied: return outcome(DatabaseCopy::Outcome::Ready);
    case jet::ReaderNotJet: return outcome(DatabaseCopy::Outcome::NotJet);
    case jet::ReaderDamaged: return outcome(DatabaseCopy::Outcome::Damaged, "the file is damaged");
    case jet::ReaderCutShort: return outcome(DatabaseCopy::Outcome::Damaged, "the file is cut short");
    case jet::ReaderCannotWrite:
        return outcome(DatabaseCopy::Outcome::Failed, "no copy could be written in '" + folder.string() + "'");
    default: return outcome(DatabaseCopy::Outcome::Damaged, "the file could not be read");
    }
}

} // namespace

std::string fileVersion(const struct stat &s)
{
    return std::to_string(s.st_dev) + ':' + std::to_string(s.st_ino) + ':' + std::to_string(s.st_size) + ':' +
           std::to_string(s.st_mtim.tv_sec) + '.' + std::to_string(s.st_mtim.tv_nsec) + ':' +
           std::to_string(s.st_ctim.tv_sec) + '.' + std::to_string(s.st_ctim.tv_nsec);
}

fs::path DatabaseCache::defaultFolder()
{
    fs::path base;
    if (const char *cache = std::getenv("XDG_CACHE_HOME"); cache && fs::path(cache).is_absolute())
        base = cache;
    else if (const char *home = std::getenv("HOME"); home && *home)
        base = fs::path(home) / ".cache";
    else
        base = fs::temp_directory_path() / ("velumir-cache-" + std::to_string(getuid()));
    return base / "velumir" / "databases";
}

DatabaseCache::DatabaseCache(fs::path folder, std::uintmax_t limit, std::chrono::milliseconds settle)
    : folder_(std::move(folder)), limit_(limit), settle_(settle)
{
}

template <class Make>
DatabaseCopy DatabaseCache::copy(const char *kind, const std::vector<fs::path> &sources, Make make)
{
    std::chrono::system_clock::time_point changed;
    const fs::path kept = folder_ / (keyOf(kind, sources, changed) + ".sqlite");
    const bool settled = std::chrono::system_clock::now() - changed >= settle_;
    std::error_code ec;
    if (settled && fs::is_regular_file(kept, ec)) {
        utimensat(AT_FDCWD, kept.c_str(), nullptr, 0); // used now: the last to go
        DatabaseCopy ready = outcome(DatabaseCopy::Outcome::Ready);
        ready.file = kept;
        return ready;
    }

    if (fs::create_directories(folder_, ec))
        fs::permissions(folder_, fs::perms::owner_all, ec); // copies of the user's own databases
    std::string pattern = (folder_ / (std::string(Partial) + "XXXXXX")).string();
    if (!ec && !mkdtemp(pattern.data()))
        ec = std::error_code(errno, std::generic_category());
    if (ec)
        return outcome(DatabaseCopy::Outcome::Failed,
                       "no copy can be kept in '" + folder_.string() + "' (" + ec.message() + ")");
    const fs::path work = pattern;
    DatabaseCopy made = make(work);
    if (made.outcome == DatabaseCopy::Outcome::Ready && !settled) {
        made.file = work / Made;
        made.discard = work;
        return made;
    }
    if (made.outcome == DatabaseCopy::Outcome::Ready) {
        fs::rename(work / Made, kept, ec);
        if (ec)
            made = outcome(DatabaseCopy::Outcome::Failed,
                           "no copy can be kept in '" + folder_.string() + "' (" + ec.message() + ")");
        else
            made.file = kept;
    }
    fs::remove_all(work, ec);
    if (made.outcome == DatabaseCopy::Outcome::Ready)
        keepWithinLimit(kept);
    return made;
}

DatabaseCopy DatabaseCache::jetCopy(const fs::path &source, std::chrono::milliseconds timeLimit)
{
    return copy("jet", {source}, [&](const fs::path &work) {
        std::error_code ec;
        const HelperEnd end = runHelper(helperProgram("velumir-jet-reader"),
                                        {fs::absolute(source, ec).string(), (work / Made).string()}, timeLimit);
        return fromReader(end, timeLimit, folder_);
    });
}

DatabaseCopy DatabaseCache::walCopy(const fs::path &source)
{
    const fs::path log = source.string() + "-wal";
    return copy("wal", {source, log}, [&](const fs::path &work) {
        std::error_code ec;
        const fs::path copied = work / Made;
        // The copies take the originals' permissions, which on a read-only
        // drive forbid the writing that joins them.
        for (const auto &[from, to] : {std::pair{source, copied}, std::pair{log, fs::path(copied.string() + "-wal")}}) {
            if (!ec)
                fs::copy_file(from, to, ec);
            if (!ec)
                fs::permissions(to, fs::perms::owner_read | fs::perms::owner_write, ec);
        }
        if (ec)
            return outcome(DatabaseCopy::Outcome::Failed, "the database could not be copied (" + ec.message() + ")");
        // Opening the copy brings in what its log holds; leaving the log's
        // mode writes it into the file and removes the log.
        sqlite3 *db = nullptr;
        int rc = sqlite3_open_v2(copied.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        if (rc == SQLITE_OK)
            rc = sqlite3_exec(db, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
        const std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        if (sqlite3_close_v2(db) != SQLITE_OK && rc == SQLITE_OK)
            rc = SQLITE_IOERR;
        if (rc == SQLITE_OK)
            return outcome(DatabaseCopy::Outcome::Ready);
        const int primary = rc & 0xFF;
        return outcome(primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT ? DatabaseCopy::Outcome::Damaged
                                                                              : DatabaseCopy::Outcome::Failed,
                       "its write-ahead log could not be read [SQLite: " + message + "]");
    });
}

void DatabaseCache::forget(const fs::path &copy)
{
    std::error_code ec;
    if (copy.parent_path() == folder_)
        fs::remove(copy, ec);
}

void DatabaseCache::keepWithinLimit(const fs::path &keep)
{
    struct Kept {
        fs::path file;
        std::uintmax_t size;
        fs::file_time_type used;
    };
    std::vector<Kept> copies;
    std::uintmax_t total = 0;
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    for (const fs::directory_entry &entry : fs::directory_iterator(folder_, ec)) {
        const fs::file_time_type used = entry.last_write_time(ec);
        if (ec)
            continue;
        const std::string name = entry.path().filename().string();
        // Work a program left when it was killed while copying.
        if (name.rfind(Partial, 0) == 0 && now - used > StalePartial) {
            fs::remove_all(entry.path(), ec);
            continue;
        }
        if (entry.path().extension() != ".sqlite" || !entry.is_regular_file(ec))
            continue;
        copies.push_back({entry.path(), entry.file_size(ec), used});
        total += copies.back().size;
    }
    std::sort(copies.begin(), copies.end(), [](const Kept &a, const Kept &b) { return a.used < b.used; });
    for (const Kept &copy : copies) {
        if (total <= limit_)
            break;
        if (copy.file == keep)
            continue;
        if (fs::remove(copy.file, ec))
            total -= copy.size;
    }
}

} // namespace rt::detail
