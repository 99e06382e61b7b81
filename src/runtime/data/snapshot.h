#pragma once

// The rows a statement returned, copied out of SQLite while it ran, so that
// no statement stays open afterwards. Rows keep the order SQLite gave them.
//
// The copy is compact and kept column by column: one 8-byte word per value
// (the number itself, or where its bytes lie), the bytes of texts and blobs
// packed back to back into blocks, and a kind per value only in a column
// whose values are not all of one kind. Nothing that holds rows ever moves
// or copies itself as it grows, and a large copy lies in large blocks that go
// back to the system when it is cleared. Text stays the UTF-8 that SQLite
// gave and becomes legacy bytes when a value is read; blobs keep their bytes.

#include "runtime/data/data_errors.h"
#include "runtime/data/variant.h"

#include <cstdint>
#include <climits>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace rt::detail {

// An array that grows at its end in chunks of 65 536 elements (the first
// chunk grows to that size as usual), so that it never moves what it holds.
template <class T>
class ChunkedArray {
public:
    void push_back(T value)
    {
        const std::size_t chunk = size_ >> Shift;
        if (chunk == chunks_.size()) {
            chunks_.emplace_back();
            if (chunk > 0)
                chunks_.back().reserve(ChunkSize);
        }
        chunks_[chunk].push_back(value);
        ++size_;
    }
    T operator[](std::size_t i) const { return chunks_[i >> Shift][i & (ChunkSize - 1)]; }
    std::size_t size() const { return size_; }

    // The elements from `i` to the end of the chunk that holds `i`.
    std::span<const T> run(std::size_t i) const
    {
        const std::vector<T> &chunk = chunks_[i >> Shift];
        const std::size_t at = i & (ChunkSize - 1);
        return {chunk.data() + at, chunk.size() - at};
    }
    void clear()
    {
        chunks_ = {};
        size_ = 0;
    }

private:
    static constexpr std::size_t Shift = 16;
    static constexpr std::size_t ChunkSize = std::size_t(1) << Shift;
    std::vector<std::vector<T>> chunks_;
    std::size_t size_ = 0;
};

// The words of a column: four bytes each while every word fits in four
// bytes (whole numbers below 2^32, as keys mostly are), eight from the first
// one that does not on.
class Words {
public:
    void push_back(std::uint64_t word)
    {
        if (!wide_ && word > UINT32_MAX) {
            for (std::size_t i = 0; i < narrow_.size(); ++i)
                wideWords_.push_back(narrow_[i]);
            narrow_.clear();
            wide_ = true;
        }
        if (wide_)
            wideWords_.push_back(word);
        else
            narrow_.push_back(std::uint32_t(word));
    }
    std::uint64_t operator[](std::size_t i) const { return wide_ ? wideWords_[i] : narrow_[i]; }
    std::size_t size() const { return wide_ ? wideWords_.size() : narrow_.size(); }

private:
    ChunkedArray<std::uint32_t> narrow_;
    ChunkedArray<std::uint64_t> wideWords_;
    bool wide_ = false;
};

class Snapshot {
public:
    Snapshot() = default;
    Snapshot(const Snapshot &) = delete;
    Snapshot &operator=(const Snapshot &) = delete;

    // Runs the first statement of `utf8Sql` to its end and keeps its rows
    // (replacing what was kept). False, with SQLite's failure, when it fails;
    // the snapshot is then empty.
    bool load(sqlite3 *db, const std::string &utf8Sql, QueryFailure &failure);
    void clear();

    long rowCount() const { return rows_; }
    int columnCount() const { return int(columns_.size()); }
    const std::string &columnName(int column) const { return columns_[std::size_t(column)].name; }
    Variant value(long row, int column) const;

    // The first row from `from` on whose value in `column` starts with the
    // legacy bytes `prefix`, or -1. Text is compared as it is stored, with
    // the prefix turned into UTF-8 once, so that no row is converted; a
    // number by its text, a blob by its bytes; Null starts with nothing.
    long findPrefix(int column, std::string_view prefix, long from) const;

private:
    enum class Kind : std::uint8_t { Null, Integer, Real, Text, Blob };

    struct Column {
        std::string name;
        Kind kind = Kind::Null;            // of every value, while `mixed` is false
        bool mixed = false;                // values of more than one kind: see `kinds`
        ChunkedArray<Kind> kinds;          // per row, once mixed
        Words words;                       // per row
        // Per row, the first four bytes of the text (the rest zero), while
        // every value is text: what the search reads of most rows.
        ChunkedArray<std::uint32_t> heads;

        Kind kindOf(long row) const { return mixed ? kinds[std::size_t(row)] : kind; }
        bool allText() const { return !mixed && kind == Kind::Text; }
        void add(Kind valueKind, std::uint64_t word, std::string_view text = {});
    };

    // The word of a text or blob: where its bytes were put.
    std::uint64_t storeBytes(std::string_view bytes);
    std::string_view bytesOf(std::uint64_t word) const;
    long findTextPrefix(const Column &texts, std::string_view utf8Prefix, long from) const;

    std::vector<Column> columns_;
    std::vector<std::unique_ptr<char[]>> blocks_; // bytes of values, back to back
    std::vector<std::string> longValues_;         // values too long for a block
    char *free_ = nullptr;                         // the unused end of the last block
    std::size_t blockFree_ = 0;                    // and its size
    std::size_t nextBlockSize_ = 0;                // set by clear()
    long rows_ = 0;
};

} // namespace rt::detail
