#pragma once

// Data link files (.udl) and connection strings.
//
// A data link file is the platform's small text file that names a provider
// and a data source:
//
//   [oledb]
//   ; Everything after this line is an OLE DB initstring
//   Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\WINDOWS\system32\NewTestament.mdb
//
// stored as UTF-16LE with a byte-order mark. UTF-8 files (with or without
// their mark) are read as well. Connection strings here are UTF-8 text.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace rt {

// The connection string in a data link file. Fails with err::DataLinkNotFound
// when the file is missing and err::ProviderError when it cannot be read or
// is not a data link file. `shownName` names the file in the error texts
// (the Windows path the program used); the host path when empty.
std::string readDataLink(const std::filesystem::path &file, std::string_view shownName = {});

// The connection string in the bytes of a data link file; nullopt with the
// reason in `problem` when they are not one.
std::optional<std::string> parseDataLink(std::string_view bytes, std::string &problem);

// Writes a data link file in the platform's form (UTF-16LE with its mark).
// Fails with err::PathFileAccess when the file cannot be written.
void writeDataLink(const std::filesystem::path &file, std::string_view connectionString);

// The key/value pairs of a connection string, in their order. Keys compare
// without regard to case; a later key replaces an earlier one.
class ConnectionProperties {
public:
    // "Key=Value;Key2='quoted; value'". Values may be quoted with ' or ",
    // a quote written twice standing for itself; spaces around keys and
    // unquoted values are dropped. Fails with err::InitStringFormat when a
    // part has no '=' or a quote is not closed.
    static ConnectionProperties parse(std::string_view connectionString);

    std::optional<std::string> value(std::string_view key) const;
    void set(std::string_view key, std::string value);
    void remove(std::string_view key);

    const std::vector<std::pair<std::string, std::string>> &items() const { return items_; }

private:
    std::vector<std::pair<std::string, std::string>> items_;
};

} // namespace rt
