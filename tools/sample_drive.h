#pragma once

// A complete sample drive C: the data link files and databases of both
// Testaments, the three reference works, and the picture database with the
// pictures it names. The content is made up but has the shape the program
// reads, so the program can be run and tested without the real databases.

#include <filesystem>

namespace sample {

// Where the program finds its files, relative to the folder standing for C:.
namespace paths {
inline constexpr const char *kNewTestamentLink = "WINDOWS/system32/tormin.udl";
inline constexpr const char *kNewTestamentDb = "WINDOWS/system32/NewTestament.mdb";
inline constexpr const char *kOldTestamentLink = "WINDOWS/system32/tormio.udl";
inline constexpr const char *kOldTestamentDb = "WINDOWS/system32/OldTestament.mdb";
inline constexpr const char *kConcordance = "WINDOWS/system32/Concordance";
inline constexpr const char *kBibleDictionary = "WINDOWS/system32/Bible Dictionary";
inline constexpr const char *kKhmerDictionary = "WINDOWS/system32/Khmer Dictionary";
inline constexpr const char *kPictureDb = "Program Files/Velumir/Lib";
inline constexpr const char *kPictureFolder = "Program Files/Velumir/Pictures";
} // namespace paths

// Rows of the sample tables.
inline constexpr int kKhmerDictionaryRows = 100000;
inline constexpr int kConcordanceRows = 300;
inline constexpr int kBibleDictionaryRows = 400;

// What is found at a folder that is to stand for drive C.
enum class DriveFolder {
    Free,     // missing or empty, and writable: a sample drive may go there
    Taken,    // holds something already: a drive, or part of one
    Linked,   // a symbolic link, to a drive elsewhere (or nowhere)
    ReadOnly, // missing or empty, but the folder (or the one it would go in) cannot be written
};
DriveFolder inspectDriveFolder(const std::filesystem::path &driveC);

// Writes the sample drive below `driveC`, replacing the files it writes
// (and only those). Names are found as the program finds them, without
// regard to case, so a drive's own "windows/SYSTEM32" takes the files rather
// than a second folder beside it. The same call always writes the same
// content. Drawing the pictures needs no display; throws on failure.
void makeSampleDrive(const std::filesystem::path &driveC);

} // namespace sample
