#include "support/jet_drive.h"

#include "support/test_support.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace testing_support {

namespace fs = std::filesystem;

fs::path jetDrive()
{
    return fs::path(VELUMIR_TEST_DATA) / "jet-drive" / "drive";
}

void copyJetDrive(const fs::path &root)
{
    fs::create_directories(root);
    fs::copy(jetDrive(), root, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

namespace {

std::string fromHex(const std::string &hex)
{
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += char(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

} // namespace

std::vector<std::vector<Expected>> expectedRows(const std::string &name, const std::vector<int> &plain)
{
    std::ifstream in(fs::path(VELUMIR_TEST_DATA) / "jet-drive" / "expected" / (name + ".tsv"), std::ios::binary);
    std::vector<std::vector<Expected>> rows;
    std::string line;
    while (std::getline(in, line)) {
        std::vector<Expected> row;
        std::istringstream fields(line);
        std::string field;
        for (int column = 0; std::getline(fields, field, '\t'); ++column) {
            if (std::find(plain.begin(), plain.end(), column) != plain.end())
                row.emplace_back(field);
            else if (field == "NULL")
                row.emplace_back(std::nullopt);
            else
                row.emplace_back(field == "-" ? std::string() : fromHex(field));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace testing_support
