#pragma once

// Opening a database file for reading, shared by the connection and the
// database engine. The file is opened read-only; nothing is created,
// changed or locked beside it, so that a database on a read-only drive
// opens as well.
//
// What the file is, its first bytes tell, not its name:
// - an SQLite file is opened where it lies. One in write-ahead-log mode is
//   opened as unchangeable (SQLite would otherwise create its "-wal" and
//   "-shm" files beside it), or, when a "-wal" file beside it holds part of
//   its content, through a copy that takes that content in;
// - a Jet file (Access 97 to 2003) is opened through its SQLite copy
//   (database_cache.h).

#include "runtime/data/data_errors.h"

#include <filesystem>
#include <string>
#include <string_view>

struct sqlite3;

namespace rt::detail {

enum class OpenOutcome {
    Opened,
    Missing,      // no such file (or a folder)
    Unreadable,   // the file is there but may not be read
    Locked,       // another program holds the database locked for writing
    NotADatabase, // neither SQLite nor Jet, or damaged
    Failed,       // anything else
};

struct OpenedFile {
    OpenOutcome outcome = OpenOutcome::Failed;
    sqlite3 *handle = nullptr; // set only when opened
    std::string message;       // what went wrong, when there is more to say
};

// Opens `file` read-only and checks that it is a database by reading its
// schema. A file of no bytes counts as no database: SQLite would take it for
// an empty one, but a reference work without a single table is a broken copy.
OpenedFile openDatabaseFile(const std::filesystem::path &file);

// Raises the failure of an open as the dialect reports it, naming the file
// by the Windows path the program used:
//   Missing       ADO: provider error; DAO: err::DaoFileNotFound
//                 "Could not find file '<path>'."
//   Unreadable    ADO: provider error; DAO: err::DaoCannotOpen "The Microsoft
//                 Jet database engine cannot open the file '<path>'. You
//                 need permission to view its data."
//   Locked        ADO: provider error; DAO: err::DaoFileInUse
//                 "Could not use '<path>'; file already in use."
//   NotADatabase  ADO: provider error; DAO: err::DaoUnrecognizedFormat
//                 "Unrecognized database format '<path>'."
//   Failed        ADO: provider error; DAO: err::DaoUnrecognizedFormat
// with what more there is to say in brackets after the text.
[[noreturn]] void raiseOpenFailure(Dialect dialect, const OpenedFile &file, std::string_view windowsPath);

} // namespace rt::detail
