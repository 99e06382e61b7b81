#include "runtime/data/data_errors.h"

#include "runtime/errors/runtime_error.h"
#include "runtime/text/legacy_text.h"

#include <sqlite3.h>

namespace rt::detail {

namespace {

// The text after `prefix` in SQLite's message, when it starts with it.
bool after(std::string_view message, std::string_view prefix, std::string &rest)
{
    if (message.substr(0, prefix.size()) != prefix)
        return false;
    rest = std::string(message.substr(prefix.size()));
    return true;
}

std::string tableNotFound(const std::string &name)
{
    return "The Microsoft Jet database engine cannot find the input table or query '" + name +
           "'. Make sure it exists and that its name is spelled correctly.";
}

} // namespace

void raiseObjectClosed(Dialect dialect)
{
    if (dialect == Dialect::Dao)
        raise(err::DaoObjectInvalid, "Object invalid or no longer set.");
    raise(err::ObjectClosed);
}

void raiseNoCurrentRecord(Dialect dialect)
{
    if (dialect == Dialect::Dao)
        raise(err::NoCurrentRecord, "No current record.");
    raise(err::NoCurrentRecord);
}

void raiseItemNotFound(Dialect dialect)
{
    if (dialect == Dialect::Dao)
        raise(err::ItemNotFound, "Item not found in this collection.");
    raise(err::ItemNotFound,
          "Item cannot be found in the collection corresponding to the requested name or ordinal.");
}

void raiseQueryFailure(Dialect dialect, const QueryFailure &failure)
{
    // SQLite's messages are UTF-8; descriptions are legacy bytes like every text.
    const std::string message = fromUtf8(failure.message);
    const std::string sqlite = " [SQLite: " + message + "]";
    std::string name;
    if (after(message, "no such table: ", name)) {
        if (name.rfind("main.", 0) == 0)
            name.erase(0, 5);
        if (dialect == Dialect::Dao)
            raise(err::DaoTableNotFound, tableNotFound(name));
        raise(err::TableNotFound, tableNotFound(name) + sqlite);
    }
    if (after(message, "no such column: ", name)) {
        if (dialect == Dialect::Dao)
            raise(err::DaoTooFewParameters, "Too few parameters. Expected 1." + sqlite);
        raise(err::ColumnNotFound, "No value given for one or more required parameters." + sqlite);
    }
    if (dialect == Dialect::Dao)
        raise(err::DaoQueryFailed, "The query could not be run." + sqlite);
    if (failure.code == SQLITE_ERROR)
        raise(err::CommandFailed, "The command text could not be run." + sqlite);
    raise(err::ProviderError, "The provider could not read the database." + sqlite);
}

std::string couldNotFindFile(std::string_view windowsPath)
{
    return "Could not find file '" + std::string(windowsPath) + "'.";
}

std::string unrecognizedFormat(std::string_view windowsPath)
{
    return "Unrecognized database format '" + std::string(windowsPath) + "'.";
}

std::string cannotRead(std::string_view windowsPath)
{
    return "The Microsoft Jet database engine cannot open the file '" + std::string(windowsPath) +
           "'. You need permission to view its data.";
}

std::string fileInUse(std::string_view windowsPath)
{
    return "Could not use '" + std::string(windowsPath) + "'; file already in use.";
}

} // namespace rt::detail
