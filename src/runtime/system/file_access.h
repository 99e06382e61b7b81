#pragma once

// Reading and writing the files the user names. A save writes the new content
// where no one sees it and gives it the file's name only once it is complete,
// so that a save that fails or is killed at any point leaves the file that was
// there, and nothing beside it.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace rt {

enum class FileAction { Read, Write };

// The run-time error for a system error (errno) of reading or writing a file:
// "File not found", "Path not found", "Permission denied", "Disk full", ...
[[noreturn]] void raiseFileError(int systemError, FileAction action);

// The whole content of a regular file. A file larger than `maxBytes` is
// refused (error 7) before it is read; so is anything that is not a regular
// file, without waiting on it (a pipe, a device).
std::string readWholeFile(const std::filesystem::path &file, std::size_t maxBytes);

// Creates `target`, or replaces the file it names, with `content`; returns 0,
// or the errno of the step that failed, with the old file as it was.
// - A replaced file keeps its permissions and, where the user may, its owner.
// - A read-only file, a folder or any other kind of file is not replaced.
// - A symbolic link stays: the file it names (which may not exist yet) is
//   written; a chain of links that loops fails with ELOOP.
// - The content goes to an unnamed file in the target's folder, named only
//   once it is complete and on the disk: a new file takes the target's name
//   at once; a replacing one takes a hidden name (kSavingPrefix, the process
//   id, a number) for the moment until it is renamed over the old file. Where
//   the file system has no unnamed files, the content is written under such a
//   hidden name from the start. What a killed save leaves under a hidden name,
//   the next save in that folder removes.
int replaceFile(const std::filesystem::path &target, std::string_view content);

inline constexpr std::string_view kSavingPrefix = ".velumir-saving-";

// Removes from `folder` the files that saves of processes no longer running
// (or of this process, which is not saving now) left under kSavingPrefix.
void removeLeftoverSaves(const std::filesystem::path &folder);

} // namespace rt
