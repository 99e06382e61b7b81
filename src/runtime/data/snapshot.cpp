#include "runtime/data/snapshot.h"

#include "runtime/text/legacy_text.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace rt::detail {

namespace {

// Where the bytes of a text or blob lie, in its word: the block (24 bits),
// the offset in it (20 bits) and the length (20 bits). A value longer than a
// block would hold well is kept on its own; its word holds its number and
// the length LongValue.
constexpr int OffsetShift = 20;
constexpr int BlockShift = 40;
constexpr std::uint64_t FieldMask = (std::uint64_t(1) << 20) - 1;
constexpr std::uint64_t LongValue = FieldMask;
constexpr std::size_t FirstBlockSize = 4 * 1024;
constexpr std::size_t LargestBlockSize = std::size_t(1) << OffsetShift;
constexpr std::size_t LongestInBlock = 64 * 1024;

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

// The first four bytes of a text, the rest zero.
std::uint32_t headOf(std::string_view text)
{
    std::uint32_t head = 0;
    std::memcpy(&head, text.data(), std::min(text.size(), sizeof head));
    return head;
}

} // namespace

void Snapshot::clear()
{
    columns_.clear();
    columns_.shrink_to_fit();
    blocks_.clear();
    blocks_.shrink_to_fit();
    longValues_ = {};
    free_ = nullptr;
    blockFree_ = 0;
    nextBlockSize_ = FirstBlockSize;
    rows_ = 0;
}

void Snapshot::Column::add(Kind valueKind, std::uint64_t word, std::string_view text)
{
    if (!mixed && valueKind != kind) {
        if (words.size() == 0) {
            kind = valueKind;
        } else {
            for (std::size_t row = 0; row < words.size(); ++row)
                kinds.push_back(kind);
            mixed = true;
            heads.clear();
        }
    }
    if (mixed)
        kinds.push_back(valueKind);
    else if (valueKind == Kind::Text)
        heads.push_back(headOf(text));
    words.push_back(word);
}

std::uint64_t Snapshot::storeBytes(std::string_view bytes)
{
    if (bytes.empty())
        return 0;
    if (bytes.size() > LongestInBlock) {
        longValues_.emplace_back(bytes);
        return (std::uint64_t(longValues_.size() - 1) << OffsetShift) | LongValue;
    }
    if (bytes.size() > blockFree_) {
        const std::size_t size = std::max(nextBlockSize_, bytes.size());
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
        free_ = blocks_.back().get();
        blockFree_ = size;
        nextBlockSize_ = std::min(size * 2, LargestBlockSize);
    }
    const std::uint64_t offset = std::uint64_t(free_ - blocks_.back().get());
    std::memcpy(free_, bytes.data(), bytes.size());
    free_ += bytes.size();
    blockFree_ -= bytes.size();
    return (std::uint64_t(blocks_.size() - 1) << BlockShift) | (offset << OffsetShift) | bytes.size();
}

std::string_view Snapshot::bytesOf(std::uint64_t word) const
{
    const std::uint64_t length = word & FieldMask;
    if (length == LongValue)
        return longValues_[std::size_t(word >> OffsetShift)];
    if (length == 0)
        return {};
    return {blocks_[std::size_t(word >> BlockShift)].get() + ((word >> OffsetShift) & FieldMask), std::size_t(length)};
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

    const int count = sqlite3_column_count(stmt.get());
    columns_.resize(std::size_t(count));
    for (int c = 0; c < count; ++c) {
        const char *name = sqlite3_column_name(stmt.get(), c);
        columns_[std::size_t(c)].name = name ? fromUtf8(name) : std::string();
    }

    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        for (int c = 0; c < count; ++c) {
            Column &column = columns_[std::size_t(c)];
            switch (sqlite3_column_type(stmt.get(), c)) {
            case SQLITE_INTEGER:
                column.add(Kind::Integer, std::uint64_t(sqlite3_column_int64(stmt.get(), c)));
                break;
            case SQLITE_FLOAT: {
                const double real = sqlite3_column_double(stmt.get(), c);
                std::uint64_t bits = 0;
                std::memcpy(&bits, &real, sizeof bits);
                column.add(Kind::Real, bits);
                break;
            }
            case SQLITE_TEXT: {
                const char *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt.get(), c));
                const std::size_t size = text ? std::size_t(sqlite3_column_bytes(stmt.get(), c)) : 0;
                const std::string_view bytes(text ? text : "", size);
                column.add(Kind::Text, storeBytes(bytes), bytes);
                break;
            }
            case SQLITE_BLOB: {
                const char *blob = static_cast<const char *>(sqlite3_column_blob(stmt.get(), c));
                const std::size_t size = blob ? std::size_t(sqlite3_column_bytes(stmt.get(), c)) : 0;
                column.add(Kind::Blob, storeBytes(std::string_view(blob ? blob : "", size)));
                break;
            }
            default:
                column.add(Kind::Null, 0);
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
    return true;
}

Variant Snapshot::value(long row, int column) const
{
    const Column &values = columns_[std::size_t(column)];
    const std::uint64_t word = values.words[std::size_t(row)];
    switch (values.kindOf(row)) {
    case Kind::Integer: return Variant(static_cast<long long>(std::int64_t(word)));
    case Kind::Real: {
        double real = 0;
        std::memcpy(&real, &word, sizeof real);
        return Variant(real);
    }
    case Kind::Text: {
        std::string bytes;
        appendLegacy(bytes, bytesOf(word));
        return Variant(std::move(bytes));
    }
    case Kind::Blob: return Variant(std::string(bytesOf(word)));
    case Kind::Null: break;
    }
    return Variant::null();
}

// The common case, a column of text only: the first four bytes of every
// text, kept apart, are compared with the prefix's at once (in UTF-8 most
// legacy bytes share their first byte), and only the few rows whose first
// bytes are the same are compared whole.
long Snapshot::findTextPrefix(const Column &texts, std::string_view utf8Prefix, long from) const
{
    const std::uint32_t head = headOf(utf8Prefix);
    unsigned char maskBytes[sizeof head] = {};
    std::memset(maskBytes, 0xFF, std::min(utf8Prefix.size(), sizeof head));
    std::uint32_t mask = 0;
    std::memcpy(&mask, maskBytes, sizeof mask);

    for (std::size_t row = std::size_t(from); row < std::size_t(rows_);) {
        const std::span<const std::uint32_t> heads = texts.heads.run(row);
        for (std::size_t i = 0; i < heads.size(); ++i) {
            if (((heads[i] ^ head) & mask) == 0 && bytesOf(texts.words[row + i]).starts_with(utf8Prefix))
                return long(row + i);
        }
        row += heads.size();
    }
    return -1;
}

long Snapshot::findPrefix(int column, std::string_view prefix, long from) const
{
    const Column &values = columns_[std::size_t(column)];
    const std::string utf8 = toUtf8(prefix);
    if (values.allText() && !utf8.empty())
        return findTextPrefix(values, utf8, std::max(from, 0L));
    const auto startsWith = [](std::string_view bytes, std::string_view start) {
        return bytes.size() >= start.size() && std::memcmp(bytes.data(), start.data(), start.size()) == 0;
    };
    for (long row = std::max(from, 0L); row < rows_; ++row) {
        switch (values.kindOf(row)) {
        case Kind::Text:
            if (startsWith(bytesOf(values.words[std::size_t(row)]), utf8))
                return row;
            break;
        case Kind::Blob:
            if (startsWith(bytesOf(values.words[std::size_t(row)]), prefix))
                return row;
            break;
        case Kind::Integer:
        case Kind::Real:
            if (value(row, column).toString().starts_with(prefix))
                return row;
            break;
        case Kind::Null: break;
        }
    }
    return -1;
}

} // namespace rt::detail
