#pragma once

// Opening a database file for reading, shared by the connection and the
// database engine. The file is opened read-only and is never created.

#include <filesystem>
#include <string>

struct sqlite3;

namespace rt::detail {

enum class OpenOutcome { Opened, Missing, NotADatabase, Failed };

struct OpenedFile {
    OpenOutcome outcome = OpenOutcome::Failed;
    sqlite3 *handle = nullptr; // set only when opened
    std::string message;       // SQLite's message when it failed
};

// Opens `file` read-only and checks that it is a database by reading its
// schema. A file of no bytes counts as no database: SQLite would take it for
// an empty one, but a reference work without a single table is a broken copy.
OpenedFile openDatabaseFile(const std::filesystem::path &file);

} // namespace rt::detail
