#pragma once

// What the lookup benchmarks share: dictionaries of any size made at run time
// (nothing large is kept in the repository), the index on their ID switched
// on and off, a program on a sample drive with its main window shown, and the
// process's resident size.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace rt {
class Program;
}

namespace velumir {
class LookupWindow;
}

namespace bench {

// The two reference works the benchmarks open: the Khmer Dictionary and the
// Bible Dictionary, with rows as many as the case asks for.
struct DictionaryCase {
    long rows;
    const char *file;        // below drive C
    const char *windowsPath; // the path the window opens
};
const DictionaryCase &dictionaryCase(long rows);
inline constexpr long kSmallRows = 100'000;
inline constexpr long kLargeRows = 1'000'000;

// `tblDictionary` (ID INTEGER, Names TEXT, Traslation TEXT) with IDs 1 to
// `rows` in order, headwords of 4 to 16 bytes and entries of 80 to 300 bytes,
// legacy bytes of ASCII letters and 0xA0 to 0xFF, written as the program's
// databases hold them (UTF-8 of the Windows-1252 characters). No index.
// The same stream gives the same file.
void makeDictionary(const std::filesystem::path &file, long rows, std::uint64_t stream);

// Adds or drops the index on ID that a keyed dictionary would have.
void setIndexed(const std::filesystem::path &file, bool indexed);

// The headword text: its legacy bytes, one per character.
std::int64_t headwordBytes(const std::filesystem::path &file);

// A sample drive in `driveC` whose two dictionaries have the rows of the
// small and the large case.
void makeBenchDrive(const std::filesystem::path &driveC);

// A program on `driveC` (settings below `configRoot`) with its main window
// shown, as the user sees it before opening a reference work.
std::unique_ptr<rt::Program> startProgram(const std::filesystem::path &driveC, const std::filesystem::path &configRoot);

// The window over the case's dictionary.
velumir::LookupWindow &lookupWindow(rt::Program &program, const DictionaryCase &c);

// Lets the message loop deliver what is queued, deferred deletes included.
void settle();

// The resident size of this process, in bytes.
long residentBytes();

} // namespace bench
