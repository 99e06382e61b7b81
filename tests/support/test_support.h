#pragma once

// Shared helpers of the tests: a temporary folder that is removed afterwards,
// whole files read and written as bytes, and the error a statement raises.

#include "runtime/errors/runtime_error.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace testing_support {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::filesystem::path &path() const { return path_; }

private:
    std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path &file);
void writeFile(const std::filesystem::path &file, const std::string &content);

// The names of what a folder holds, sorted.
std::vector<std::string> namesIn(const std::filesystem::path &folder);

// The error that `statement` raises; a test failure when it raises none.
rt::RuntimeError errorOf(const std::function<void()> &statement);

inline bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

} // namespace testing_support
