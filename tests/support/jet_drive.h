#pragma once

// The Windows drive C of tests/data/jet-drive, its Jet databases, and every
// value they hold as the expected/*.tsv files give them.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

// tests/data/jet-drive/drive
std::filesystem::path jetDrive();

// Copies the drive's folders and files into `root` (which may exist).
void copyJetDrive(const std::filesystem::path &root);

// One value as the expected files give it: legacy bytes, or nullopt for Null.
using Expected = std::optional<std::string>;

// The rows of expected/<name>.tsv. Fields are hex bytes ("-" empty, "NULL"
// Null) except those whose position is in `plain`, taken as they stand.
std::vector<std::vector<Expected>> expectedRows(const std::string &name, const std::vector<int> &plain = {});

} // namespace testing_support
