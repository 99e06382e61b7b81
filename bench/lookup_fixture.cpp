#include "lookup_fixture.h"

#include "app.h"
#include "reference/lookup_window.h"
#include "runtime/errors/error_report.h"
#include "runtime/forms/program.h"
#include "runtime/system/dialogs.h"
#include "runtime/text/legacy_text.h"
#include "sample_data.h"
#include "sample_drive.h"
#include "sample_random.h"
#include "shell/frm_main.h"

#include <QApplication>

#include <sqlite3.h>

#include <cstdio>
#include <stdexcept>

#include <unistd.h>

namespace bench {

namespace {

namespace fs = std::filesystem;
using sample::Random;

// Legacy bytes: ASCII letters and the upper half that the Khmer fonts use.
std::string legacyText(Random &random, std::size_t size, bool withSpaces)
{
    static const std::string letters = [] {
        std::string bytes;
        for (int c = 'a'; c <= 'z'; ++c)
            bytes += char(c);
        for (int c = 0xA0; c <= 0xFF; ++c)
            bytes += char(c);
        return bytes;
    }();
    std::string text(size, ' ');
    for (char &c : text) {
        if (!withSpaces || random.next() % 7 != 0)
            c = letters[random.next() % letters.size()];
    }
    return text;
}

class Writer {
public:
    explicit Writer(const fs::path &file)
    {
        if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot write " + file.string());
    }
    ~Writer() { sqlite3_close(db_); }
    Writer(const Writer &) = delete;
    Writer &operator=(const Writer &) = delete;

    void exec(const std::string &sql)
    {
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            throw std::runtime_error(sql + ": " + sqlite3_errmsg(db_));
    }
    sqlite3 *handle() const { return db_; }

private:
    sqlite3 *db_ = nullptr;
};

const DictionaryCase kCases[] = {
    {kSmallRows, sample::paths::kKhmerDictionary, "C:\\WINDOWS\\system32\\Khmer Dictionary"},
    {kLargeRows, sample::paths::kBibleDictionary, "C:\\WINDOWS\\system32\\Bible Dictionary"},
};

} // namespace

const DictionaryCase &dictionaryCase(long rows)
{
    for (const DictionaryCase &c : kCases) {
        if (c.rows == rows)
            return c;
    }
    throw std::invalid_argument("no dictionary of " + std::to_string(rows) + " rows");
}

void makeDictionary(const fs::path &file, long rows, std::uint64_t stream)
{
    fs::remove(file);
    Writer db(file);
    db.exec("PRAGMA journal_mode=OFF");
    db.exec("PRAGMA synchronous=OFF");
    db.exec("BEGIN");
    db.exec("CREATE TABLE tblDictionary (ID INTEGER, Names TEXT, Traslation TEXT)");
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(db.handle(), "INSERT INTO tblDictionary VALUES (?, ?, ?)", -1, &insert, nullptr);
    Random random(stream);
    for (long id = 1; id <= rows; ++id) {
        const std::string names = rt::toUtf8(legacyText(random, random.between(4, 16), false));
        const std::string entry = rt::toUtf8(legacyText(random, random.between(80, 300), true));
        sqlite3_bind_int64(insert, 1, id);
        sqlite3_bind_text(insert, 2, names.data(), int(names.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, entry.data(), int(entry.size()), SQLITE_TRANSIENT);
        if (sqlite3_step(insert) != SQLITE_DONE)
            throw std::runtime_error(std::string("insert: ") + sqlite3_errmsg(db.handle()));
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    db.exec("COMMIT");
}

void setIndexed(const fs::path &file, bool indexed)
{
    Writer db(file);
    db.exec("DROP INDEX IF EXISTS tblDictionaryID");
    if (indexed)
        db.exec("CREATE INDEX tblDictionaryID ON tblDictionary (ID)");
}

std::int64_t headwordBytes(const fs::path &file)
{
    Writer db(file);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db.handle(), "SELECT total(length(Names)) FROM tblDictionary", -1, &stmt, nullptr);
    std::int64_t bytes = 0;
    if (sqlite3_step(stmt) == SQLITE_ROW)
        bytes = std::int64_t(sqlite3_column_double(stmt, 0));
    sqlite3_finalize(stmt);
    return bytes;
}

void makeBenchDrive(const fs::path &driveC)
{
    sample::makeSampleDrive(driveC);
    for (const DictionaryCase &c : kCases)
        makeDictionary(driveC / c.file, c.rows, std::uint64_t(c.rows));
}

std::unique_ptr<rt::Program> startProgram(const fs::path &driveC, const fs::path &configRoot)
{
    rt::Program::Options options;
    options.driveRoot = driveC;
    options.configRoot = configRoot;
    options.report = std::make_unique<rt::RecordedReports>();
    options.dialogs = std::make_unique<rt::ScriptedDialogs>();
    auto program = std::make_unique<rt::Program>(std::move(options));
    velumir::initResources();
    program->setMdiParentClass<velumir::frmMain>();
    program->form<velumir::frmMain>().Show();
    settle();
    return program;
}

velumir::LookupWindow &lookupWindow(rt::Program &program, const DictionaryCase &c)
{
    if (c.rows == kSmallRows)
        return program.form<velumir::KhmerDic>();
    return program.form<velumir::Dictionary>();
}

void settle()
{
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

long residentBytes()
{
    long pages = 0, resident = 0;
    if (FILE *f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * sysconf(_SC_PAGESIZE);
}

} // namespace bench
