#include "runtime/data/connection.h"

#include "runtime/data/data_errors.h"
#include "runtime/data/data_link.h"
#include "runtime/data/database_file.h"
#include "runtime/errors/runtime_error.h"

#include <QString>

#include <sqlite3.h>

namespace rt {

namespace {

constexpr std::string_view JetProvider = "Microsoft.Jet.OLEDB.4.0";

bool isJet(const std::string &provider)
{
    return QString::fromStdString(provider).compare(QLatin1String(JetProvider.data(), JetProvider.size()),
                                                    Qt::CaseInsensitive) == 0;
}

std::string joined(const ConnectionProperties &properties)
{
    std::string text;
    for (const auto &[key, value] : properties.items()) {
        if (!text.empty())
            text += ';';
        text += key + '=';
        if (value.find_first_of(";'\"") == std::string::npos) {
            text += value;
            continue;
        }
        text += '"';
        for (char c : value)
            text += c == '"' ? std::string("\"\"") : std::string(1, c);
        text += '"';
    }
    return text;
}

} // namespace

Connection::Connection(const Drive &drive) : drive_(drive) {}

Connection::~Connection()
{
    if (db_)
        sqlite3_close_v2(db_);
}

void Connection::Open(std::string_view connectionString, std::string_view, std::string_view, long)
{
    if (db_)
        raise(err::ObjectOpen, "Operation is not allowed when the object is open.");

    ConnectionProperties properties = ConnectionProperties::parse(connectionString);
    if (std::optional<std::string> link = properties.value("File Name")) {
        ConnectionProperties fromFile =
            ConnectionProperties::parse(readDataLink(drive_.hostPath(*link), *link));
        properties.remove("File Name");
        for (const auto &[key, value] : properties.items())
            fromFile.set(key, value);
        fromFile.remove("File Name"); // a data link file names no further one
        properties = std::move(fromFile);
    }

    const std::optional<std::string> provider = properties.value("Provider");
    if (!provider || !isJet(*provider))
        raise(err::ProviderNotFound, "Provider cannot be found. It may not be properly installed.");

    const std::string source = properties.value("Data Source").value_or("");
    detail::OpenedFile file = detail::openDatabaseFile(drive_.hostPath(source));
    if (file.outcome != detail::OpenOutcome::Opened)
        detail::raiseOpenFailure(detail::Dialect::Ado, file, source);
    db_ = file.handle;
    connectionString_ = joined(properties);
}

void Connection::Close()
{
    if (!db_)
        raise(err::ObjectClosed);
    sqlite3_close_v2(db_);
    db_ = nullptr;
    connectionString_.clear();
}

int Connection::State() const
{
    return db_ ? 1 : 0;
}

} // namespace rt
