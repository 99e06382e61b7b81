#pragma once

// The platform's ADO connection, served by SQLite 3.
//
// The provider "Microsoft.Jet.OLEDB.4.0" is a SQLite database file: its Data
// Source is a Windows path, resolved through the Drive. The file is opened
// read-only and never created. Recordsets copy their rows when they open
// (see recordset.h), so closing a connection leaves them readable.

#include "runtime/system/drive.h"

#include <string>
#include <string_view>

struct sqlite3;

namespace rt {

class Connection {
public:
    explicit Connection(const Drive &drive);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // "File Name=<Windows path of a .udl>" reads the data link file and uses
    // its connection string (further keys of the given string override it);
    // "Provider=...;Data Source=<Windows path>;..." opens directly. The user
    // ID and password are not checked: the databases carry none. Options are
    // accepted and ignored: the connection always opens synchronously.
    //
    // Failures (each a RuntimeError):
    //   err::ObjectOpen          the connection is already open
    //   err::InitStringFormat    the connection string is malformed
    //   err::DataLinkNotFound    the data link file is missing
    //   err::ProviderError       the data link file is no data link file;
    //                            "Could not find file '<path>'.";
    //                            "Unrecognized database format '<path>'.";
    //                            any other failure to open the file
    //   err::ProviderNotFound    no provider, or one other than Jet 4.0
    void Open(std::string_view connectionString, std::string_view userId = "",
              std::string_view password = "", long options = -1);

    // Fails with err::ObjectClosed when the connection is not open.
    void Close();

    // 0 closed, 1 open.
    int State() const;

    // The connection string that was opened, with a data link file's content
    // in place of its "File Name"; empty while closed.
    const std::string &ConnectionString() const { return connectionString_; }

    // The SQLite database; null while closed.
    sqlite3 *handle() const { return db_; }

private:
    Drive drive_;
    sqlite3 *db_ = nullptr;
    std::string connectionString_;
};

} // namespace rt
