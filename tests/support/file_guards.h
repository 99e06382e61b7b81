#pragma once

// What the tests of opening files on a user's drive watch for: that nothing
// on the drive changes, that nothing reaches the terminal, and that nothing
// hangs.

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace testing_support {

// Every file and folder under `root` with its size and modification time.
std::map<std::string, std::string> listing(const std::filesystem::path &root);

// Takes the write permission from every file and folder under `root`.
void makeReadOnly(const std::filesystem::path &root);
// Gives it back, so that the folder can be removed.
void makeWritable(const std::filesystem::path &root);

// While it lives, the environment variable `name` holds `value` (is unset
// for nullopt); afterwards it is as it was.
class ScopedVariable {
public:
    ScopedVariable(std::string name, const std::optional<std::string> &value);
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable &) = delete;
    ScopedVariable &operator=(const ScopedVariable &) = delete;

private:
    std::string name_;
    std::optional<std::string> saved_;
};

// While it lives, $XDG_CACHE_HOME names `folder`, so that what the program
// caches goes there and not into the user's own cache.
class CacheHome {
public:
    explicit CacheHome(const std::filesystem::path &folder) : variable_("XDG_CACHE_HOME", folder.string()) {}

private:
    ScopedVariable variable_;
};

// While it lives, the calling thread is held to file permissions even when
// it runs as root (which may otherwise write into read-only folders and read
// unreadable files): the capabilities that override them are set aside.
class HonourPermissions {
public:
    HonourPermissions();
    ~HonourPermissions();
    HonourPermissions(const HonourPermissions &) = delete;
    HonourPermissions &operator=(const HonourPermissions &) = delete;

private:
    unsigned effective_[2] = {};
    bool dropped_ = false;
};

// While it lives, what the process writes to its standard output and error
// goes to a file instead; text() is what came.
class CapturedOutput {
public:
    CapturedOutput();
    ~CapturedOutput();
    CapturedOutput(const CapturedOutput &) = delete;
    CapturedOutput &operator=(const CapturedOutput &) = delete;

    std::string text();

private:
    void restore();
    std::filesystem::path file_;
    int saved_[2] = {-1, -1};
};

// Ends the test program with a message when it lives longer than `limit`
// (four times that in a sanitizer build, which runs about three times
// slower), so that a hang fails the test instead of stalling it.
class Watchdog {
public:
    Watchdog(std::chrono::seconds limit, std::string what);
    ~Watchdog();
    Watchdog(const Watchdog &) = delete;
    Watchdog &operator=(const Watchdog &) = delete;

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread thread_;
};

} // namespace testing_support
