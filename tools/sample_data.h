#pragma once

// Sample content for the program's databases, written straight into SQLite
// files: the chapter tables of both Testaments, the lookup tables of the
// reference works, the picture table and the data link files that point the
// browser windows at their databases. Shared by the sample-drive maker and
// by the tests that need real files to read.
//
// Text goes in as the UTF-8 of the legacy bytes (rt::toUtf8), which is how
// the program's data layer reads it back byte for byte.

#include "browser/catalogues/book.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sample {

using velumir::Catalogue;

// A data link file: UTF-16LE with a byte order mark, CRLF line ends, the
// header lines and then the connection string.
void writeDataLink(const std::filesystem::path &udl, const std::string &connectionString);

// Runs SQL on a database file, creating the file when it is missing.
void execute(const std::filesystem::path &db, const std::string &sql);

// A chapter table (`word` TEXT, `text` TEXT) with the rows in the given
// order and no index, so a plain select returns them in that order.
// The file is created when missing; the table must not exist yet.
void makeChapterTable(const std::filesystem::path &db, const std::string &table,
                      const std::vector<std::pair<std::string, std::string>> &rows);

// The same with Nulls: an empty optional writes Null.
struct ChapterRow {
    std::optional<std::string> word;
    std::optional<std::string> text;
};
void makeChapterTableWithNulls(const std::filesystem::path &db, const std::string &table,
                               const std::vector<ChapterRow> &rows);

// A row of `tblDictionary`; an empty translation writes Null.
struct LookupRow {
    std::int64_t id;
    std::string names;
    std::optional<std::string> traslation;
};
// `tblDictionary` (ID INTEGER, Names TEXT, Traslation TEXT), rows in order,
// written in one transaction.
void makeLookupTable(const std::filesystem::path &db, const std::vector<LookupRow> &rows);

// A record of `EMP`; an empty optional writes Null.
struct PictureRow {
    std::optional<std::int64_t> id;
    std::optional<std::string> caption;
    std::optional<std::string> notes;
    std::optional<std::string> path;
};
// `EMP` (ID INTEGER, Caption TEXT, Notes TEXT, Path TEXT), rows in order.
void makePictureTable(const std::filesystem::path &db, const std::vector<PictureRow> &rows);

// One caption per chapter of the catalogue, in catalogue order: the book's
// caption, a space, and the chapter number (which the legacy fonts draw in
// Khmer digits), with a single quote before the numbers divisible by 5
// ("m:afay 1", "m:afay '5"). Unique byte for byte and without regard to
// case as long as the book captions are.
std::vector<std::string> chapterCaptions(Catalogue books);

// Deterministic Khmer text of about `size` bytes in the legacy encoding,
// made of real words at random (khmer_words.h): numbered verses of phrases,
// commas, the sign KHAN, and CR LF line breaks; now and then digits and
// rarer signs, so that the texts of a sample drive hold every byte the
// encoding uses. The same stream number gives the same text.
std::string pseudoText(std::uint64_t stream, std::size_t size);

// A headword: a word of the vocabulary, or two written together.
std::string pseudoWord(std::uint64_t stream);

// The rows of a Testament's chapter table: the captions of the parts in
// order, each with a text that starts with its caption and a CR LF. Texts
// are 1.5 to 5 KB; every hundredth row holds about 24 KB.
std::vector<std::pair<std::string, std::string>>
testamentRows(const std::vector<Catalogue> &parts, std::uint64_t stream);

// The Old Testament in the order the window's tree reads it: Genesis to
// 1 Kings, Proverbs to Malachi, 2 Kings to Psalms (929 rows).
std::vector<Catalogue> oldTestamentReadingOrder();

// `count` dictionary rows with IDs 1 to count. Each entry text starts with
// its headword and has about `minText` to `maxText` bytes more; the rows
// whose ID leaves 7 modulo 250 (7, 257, 507, ...) have a Null translation.
std::vector<LookupRow> lookupRows(std::size_t count, std::uint64_t stream,
                                  std::size_t minText, std::size_t maxText);

} // namespace sample
