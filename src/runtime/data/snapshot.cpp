#include "runtime/data/snapshot.h"

#include "runtime/text/legacy_text.h"

#include <sqlite3.h>

#include <cstring>
#include <memory>

namespace rt::detail {

namespace {

constexpr std::size_t BlockSize = 256 * 1024;

struct Finalize {
    void operator()(sqlite3_stmt *stmt) const { sqlite3_finalize(stmt); }
};

// Appends the legacy bytes of UTF-8 text. ASCII is the same in both, and
// U+00A0..U+00FF (two bytes, lead 0xC2 or 0xC3) are the bytes 0xA0..0xFF
// themselves, which is most of legacy Khmer text; only the runs of other
// bytes go through the full conversion. Such a run ends before an ASCII
// byte or the lead byte of a sequence, which no decoded sequence reaches
// across, so the result is that of converting it all.
void appendLegacy(std::string &out, std::string_view utf8)
{
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(utf8[k]); };
    const auto latin1 = [&](std::size_t k) {
        return k + 1 < utf8.size() && (at(k + 1) & 0xC0) == 0x80 &&
               (at(k) == 0xC3 || (at(k) == 0xC2 && at(k + 1) >= 0xA0));
    };
    out.reserve(out.size() + utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        if (at(i) < 0x80) {
            std::size_t j = i + 1;
            while (j < utf8.size() && at(j) < 0x80)
                ++j;
            out.append(utf8, i, j - i);
            i = j;
        } else if (latin1(i)) {
            out += char(((at(i) & 0x03) << 6) | (at(i + 1) & 0x3F));
            i += 2;
        } else {
            std::size_t j = i + 1;
            while (j < utf8.size() && at(j) >= 0x80 && !latin1(j))
                ++j;
            out += fromUtf8(utf8.substr(i, j - i));
            i = j;
        }
    }
}

} // namespace

void Snapshot::clear()
{
    names_.clear();
    cells_.clear();
    cells_.shrink_to_fit();
    blocks_.clear();
    free_ = nullptr;
    blockFree_ = 0;
    converted_ = std::string();
    rows_ = 0;
}

char *Snapshot::reserveText(std::size_t size)
{
    if (size > BlockSize / 4) { // a long text gets a block of its own
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
        return blocks_.back().get();
    }
    if (size > blockFree_) {
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(BlockSize));
        free_ = blocks_.back().get();
        blockFree_ = BlockSize;
    }
    char *room = free_;
    free_ += size;
    blockFree_ -= size;
    return room;
}

void Snapshot::storeText(std::string_view bytes, Cell &cell)
{
    cell.kind = Kind::Text;
    cell.size = std::uint32_t(bytes.size());
    cell.text = nullptr;
    if (bytes.empty())
        return;
    char *room = reserveText(bytes.size());
    std::memcpy(room, bytes.data(), bytes.size());
    cell.text = room;
}

bool Snapshot::load(sqlite3 *db, const std::string &utf8Sql, QueryFailure &failure)
{
    clear();
    sqlite3_stmt *raw = nullptr;
    int rc = sqlite3_prepare_v2(db, utf8Sql.c_str(), int(utf8Sql.size()), &raw, nullptr);
    std::unique_ptr<sqlite3_stmt, Finalize> stmt(raw);
    if (rc != SQLITE_OK || !stmt) {
        failure = {rc == SQLITE_OK ? SQLITE_MISUSE : rc & 0xFF,
                   rc == SQLITE_OK ? "no statement in the command text" : sqlite3_errmsg(db)};
        return false;
    }

    const int columns = sqlite3_column_count(stmt.get());
    for (int c = 0; c < columns; ++c) {
        const char *name = sqlite3_column_name(stmt.get(), c);
        names_.push_back(name ? fromUtf8(name) : std::string());
    }

    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            Cell &cell = cells_.emplace_back();
            switch (sqlite3_column_type(stmt.get(), c)) {
            case SQLITE_INTEGER:
                cell.kind = Kind::Integer;
                cell.integer = sqlite3_column_int64(stmt.get(), c);
                break;
            case SQLITE_FLOAT:
                cell.kind = Kind::Real;
                cell.real = sqlite3_column_double(stmt.get(), c);
                break;
            case SQLITE_TEXT: {
                const char *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt.get(), c));
                const std::string_view utf8 =
                    text ? std::string_view(text, std::size_t(sqlite3_column_bytes(stmt.get(), c))) : "";
                storeText(utf8, cell);
                bool ascii = true;
                for (const char byte : utf8)
                    ascii &= static_cast<unsigned char>(byte) < 0x80;
                if (!ascii)
                    cell.kind = Kind::Utf8;
                break;
            }
            case SQLITE_BLOB: {
                const char *blob = static_cast<const char *>(sqlite3_column_blob(stmt.get(), c));
                storeText(std::string_view(blob, std::size_t(sqlite3_column_bytes(stmt.get(), c))), cell);
                break;
            }
            default:
                cell.kind = Kind::Null;
                break;
            }
        }
        ++rows_;
    }
    if (rc != SQLITE_DONE) {
        failure = {rc & 0xFF, sqlite3_errmsg(db)};
        clear();
        return false;
    }
    cells_.shrink_to_fit();
    converted_ = std::string();
    return true;
}

Variant Snapshot::value(long row, int column) const
{
    const Cell &cell = cells_[std::size_t(row) * names_.size() + std::size_t(column)];
    switch (cell.kind) {
    case Kind::Integer: return Variant(static_cast<long long>(cell.integer));
    case Kind::Real: return Variant(cell.real);
    case Kind::Text: return Variant(cell.size ? std::string(cell.text, cell.size) : std::string());
    case Kind::Utf8: {
        std::string bytes;
        appendLegacy(bytes, std::string_view(cell.text, cell.size));
        return Variant(std::move(bytes));
    }
    case Kind::Null: break;
    }
    return Variant::null();
}

} // namespace rt::detail
