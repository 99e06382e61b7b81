#include "sample_data.h"

#include "browser/catalogues/genesis_to_1_kings.h"
#include "browser/catalogues/kings2_to_psalms.h"
#include "browser/catalogues/proverbs_to_malachi.h"
#include "khmer_words.h"
#include "sample_random.h"
#include "runtime/text/legacy_text.h"

#include <sqlite3.h>

#include <fstream>
#include <stdexcept>

namespace sample {

namespace {

template <class List>
const auto &pick(Random &random, const List &list)
{
    return list[random.next() % list.size()];
}

// A word of the vocabulary; now and then a sign of it written with the
// other byte that stands for it.
std::string word(Random &random)
{
    std::string out = pick(random, khmerWords());
    for (char &c : out) {
        for (const auto &[usual, other] : sameGlyphs()) {
            if (c == usual && random.chance(15))
                c = other;
        }
    }
    return out;
}

// Words written together, as Khmer writes the words of a phrase; now and
// then quoted, repeated with LEK TOO, or one of the phrases with digits and
// rarer signs.
std::string phrase(Random &random)
{
    if (random.chance(4))
        return pick(random, khmerPhrases());
    std::string out;
    const std::size_t words = random.between(1, 4);
    for (std::size_t i = 0; i < words; ++i)
        out += word(random);
    if (random.chance(3))
        out += '\xB2';
    if (random.chance(5))
        out = "{" + out + "}";
    return out;
}

class Database {
public:
    explicit Database(const std::filesystem::path &file)
    {
        if (sqlite3_open(file.c_str(), &db_) != SQLITE_OK) {
            std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
            sqlite3_close(db_);
            throw std::runtime_error("cannot open " + file.string() + ": " + message);
        }
    }
    ~Database() { sqlite3_close(db_); }
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    void execute(const std::string &sql)
    {
        char *error = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            std::string message = error ? error : "unknown error";
            sqlite3_free(error);
            throw std::runtime_error(sql + ": " + message);
        }
    }

    void fail(const std::string &what) const
    {
        throw std::runtime_error(what + ": " + sqlite3_errmsg(db_));
    }

    sqlite3 *handle() const { return db_; }

private:
    sqlite3 *db_ = nullptr;
};

// One prepared insert, run once per row inside a single transaction.
class Insert {
public:
    Insert(Database &db, const std::string &sql) : db_(db)
    {
        if (sqlite3_prepare_v2(db.handle(), sql.c_str(), -1, &statement_, nullptr) != SQLITE_OK)
            db.fail(sql);
    }
    ~Insert() { sqlite3_finalize(statement_); }
    Insert(const Insert &) = delete;
    Insert &operator=(const Insert &) = delete;

    void bind(int column, const std::optional<std::string> &legacy)
    {
        if (!legacy) {
            sqlite3_bind_null(statement_, column);
            return;
        }
        const std::string utf8 = rt::toUtf8(*legacy);
        sqlite3_bind_text(statement_, column, utf8.data(), int(utf8.size()), SQLITE_TRANSIENT);
    }

    void bind(int column, const std::optional<std::int64_t> &number)
    {
        if (number)
            sqlite3_bind_int64(statement_, column, *number);
        else
            sqlite3_bind_null(statement_, column);
    }

    void run()
    {
        if (sqlite3_step(statement_) != SQLITE_DONE)
            db_.fail("insert");
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }

private:
    Database &db_;
    sqlite3_stmt *statement_ = nullptr;
};

std::string quotedName(const std::string &name)
{
    std::string out = "\"";
    for (char c : name) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + '"';
}

} // namespace

void writeDataLink(const std::filesystem::path &udl, const std::string &connectionString)
{
    const std::string text = "[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n"
                             + connectionString + "\r\n";
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : rt::toQString(text).toStdU16String()) {
        bytes += char(unit & 0xFF);
        bytes += char(unit >> 8);
    }
    std::ofstream out(udl, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + udl.string());
}

void execute(const std::filesystem::path &db, const std::string &sql)
{
    Database(db).execute(sql);
}

void makeChapterTable(const std::filesystem::path &db, const std::string &table,
                      const std::vector<std::pair<std::string, std::string>> &rows)
{
    std::vector<ChapterRow> withNulls;
    withNulls.reserve(rows.size());
    for (const auto &[word, text] : rows)
        withNulls.push_back({word, text});
    makeChapterTableWithNulls(db, table, withNulls);
}

void makeChapterTableWithNulls(const std::filesystem::path &db, const std::string &table,
                               const std::vector<ChapterRow> &rows)
{
    Database database(db);
    const std::string name = quotedName(table);
    database.execute("BEGIN");
    database.execute("CREATE TABLE " + name + " (word TEXT, text TEXT)");
    {
        Insert insert(database, "INSERT INTO " + name + " (word, text) VALUES (?, ?)");
        for (const ChapterRow &row : rows) {
            insert.bind(1, row.word);
            insert.bind(2, row.text);
            insert.run();
        }
    }
    database.execute("COMMIT");
}

void makeLookupTable(const std::filesystem::path &db, const std::vector<LookupRow> &rows)
{
    Database database(db);
    database.execute("BEGIN");
    database.execute("CREATE TABLE tblDictionary (ID INTEGER, Names TEXT, Traslation TEXT)");
    {
        Insert insert(database, "INSERT INTO tblDictionary (ID, Names, Traslation) VALUES (?, ?, ?)");
        for (const LookupRow &row : rows) {
            insert.bind(1, std::optional<std::int64_t>(row.id));
            insert.bind(2, std::optional<std::string>(row.names));
            insert.bind(3, row.traslation);
            insert.run();
        }
    }
    // An entry is looked up by its ID; the list reads the table in its stored
    // order whatever indexes it has.
    database.execute("CREATE INDEX tblDictionaryID ON tblDictionary (ID)");
    database.execute("COMMIT");
}

void makePictureTable(const std::filesystem::path &db, const std::vector<PictureRow> &rows)
{
    Database database(db);
    database.execute("BEGIN");
    database.execute("CREATE TABLE EMP (ID INTEGER, Caption TEXT, Notes TEXT, Path TEXT)");
    {
        Insert insert(database, "INSERT INTO EMP (ID, Caption, Notes, Path) VALUES (?, ?, ?, ?)");
        for (const PictureRow &row : rows) {
            insert.bind(1, row.id);
            insert.bind(2, row.caption);
            insert.bind(3, row.notes);
            insert.bind(4, row.path);
            insert.run();
        }
    }
    database.execute("COMMIT");
}

std::vector<std::string> chapterCaptions(Catalogue books)
{
    std::vector<std::string> captions;
    for (const velumir::Book &book : books) {
        for (int n = 1; n <= book.chapters; ++n) {
            std::string caption(book.caption);
            caption += ' ';
            if (n % 5 == 0)
                caption += '\'';
            caption += std::to_string(n);
            captions.push_back(std::move(caption));
        }
    }
    return captions;
}

std::string pseudoText(std::uint64_t stream, std::size_t size)
{
    Random random(stream);
    std::string text;
    text.reserve(size + 256);
    for (int verse = 1; text.size() < size; ++verse) {
        text += std::to_string(verse); // the legacy fonts draw the digits as Khmer digits
        text += ' ';
        const std::size_t phrases = random.between(2, 6);
        for (std::size_t i = 0; i < phrases; ++i) {
            if (i > 0)
                text += random.chance(25) ? "/ " : " "; // a comma, or a pause
            text += phrase(random);
        }
        text += random.chance(8) ? '\xA1' : '.'; // an exclamation mark, or the sign KHAN
        text += random.chance(40) ? "\r\n" : " ";
    }
    return text;
}

std::string pseudoWord(std::uint64_t stream)
{
    Random random(stream);
    std::string out = word(random);
    if (random.chance(50))
        out += word(random);
    return out;
}

std::vector<std::pair<std::string, std::string>>
testamentRows(const std::vector<Catalogue> &parts, std::uint64_t stream)
{
    std::vector<std::pair<std::string, std::string>> rows;
    for (Catalogue part : parts) {
        for (std::string &caption : chapterCaptions(part)) {
            const std::uint64_t row = rows.size() + 1;
            Random sizes(stream ^ (row * 0x100000001B3ull));
            const std::size_t size = row % 100 == 0 ? 24 * 1024 : sizes.between(1536, 5120);
            std::string text = caption + "\r\n" + pseudoText(stream + row, size);
            rows.emplace_back(std::move(caption), std::move(text));
        }
    }
    return rows;
}

std::vector<Catalogue> oldTestamentReadingOrder()
{
    return {velumir::genesisTo1Kings(), velumir::proverbsToMalachi(), velumir::secondKingsToPsalms()};
}

std::vector<LookupRow> lookupRows(std::size_t count, std::uint64_t stream,
                                  std::size_t minText, std::size_t maxText)
{
    std::vector<LookupRow> rows;
    rows.reserve(count);
    Random sizes(stream);
    for (std::size_t i = 1; i <= count; ++i) {
        const std::uint64_t rowStream = stream + i * 0x9E3779B9ull;
        LookupRow row{std::int64_t(i), pseudoWord(rowStream), std::nullopt};
        if (i % 250 != 7)
            row.traslation = row.names + " " + pseudoText(rowStream, sizes.between(minText, maxText));
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace sample
