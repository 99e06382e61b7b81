#pragma once

// Error numbers and texts of the data access layer, as the platform's ADO and
// DAO report them, and the mapping of SQLite's failures onto them.

#include <string>
#include <string_view>

namespace rt {

namespace err {
// ADO
constexpr int BadArguments = 3001;           // "Arguments are of the wrong type, ..."
constexpr int ItemNotFound = 3265;           // "Item cannot be found in the collection ..."
constexpr int ObjectOpen = 3705;             // "Operation is not allowed when the object is open."
constexpr int ProviderNotFound = 3706;       // "Provider cannot be found. It may not be properly installed."
constexpr int ConnectionUnusable = 3709;     // "The connection cannot be used to perform this operation. ..."
constexpr int DataLinkNotFound = -2147024894;  // the system cannot find the data link file (0x80070002)
constexpr int InitStringFormat = -2147217805;  // malformed connection string (0x80040E73)
constexpr int CommandTextNotSet = -2147217908; // empty command text (0x80040E0C)
constexpr int TableNotFound = -2147217865;     // no such table or query (0x80040E37)
constexpr int ColumnNotFound = -2147217904;    // unknown name in the command text (0x80040E10)
constexpr int CommandFailed = -2147217900;     // the command text could not be run (0x80040E14)
// DAO
constexpr int DaoFileNotFound = 3024;        // "Could not find file '...'."
constexpr int DaoFileInUse = 3045;           // "Could not use '...'; file already in use."
constexpr int DaoCannotOpen = 3051;          // "The Microsoft Jet database engine cannot open the file '...'. ..."
constexpr int DaoTooFewParameters = 3061;    // "Too few parameters. Expected 1."
constexpr int DaoQueryFailed = 3075;         // the query text could not be run
constexpr int DaoTableNotFound = 3078;       // "... cannot find the input table or query '...'. ..."
constexpr int DaoUnrecognizedFormat = 3343;  // "Unrecognized database format '...'."
constexpr int DaoObjectInvalid = 3420;       // "Object invalid or no longer set."
} // namespace err

namespace detail {

// Which of the two access layers a recordset speaks for: the numbers and
// texts of its errors differ, its behaviour does not.
enum class Dialect { Ado, Dao };

// A failure that SQLite reported while a statement was prepared or stepped:
// its primary result code and its message (UTF-8, as SQLite gives it).
struct QueryFailure {
    int code = 0;
    std::string message;
};

[[noreturn]] void raiseObjectClosed(Dialect dialect);
[[noreturn]] void raiseNoCurrentRecord(Dialect dialect);
[[noreturn]] void raiseItemNotFound(Dialect dialect);
[[noreturn]] void raiseQueryFailure(Dialect dialect, const QueryFailure &failure);

// The Windows path in the texts of the failures of opening a database file.
std::string couldNotFindFile(std::string_view windowsPath);
std::string unrecognizedFormat(std::string_view windowsPath);
std::string cannotRead(std::string_view windowsPath);
std::string fileInUse(std::string_view windowsPath);

} // namespace detail

} // namespace rt
