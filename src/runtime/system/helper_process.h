#pragma once

// Runs one of the program's helper programs to its end, or until a time
// limit: with no terminal (its input, output and errors are /dev/null), no
// environment and none of the program's open files, so that whatever it
// prints or inherits stays with it. Only the sanitizers' own settings
// (ASAN_OPTIONS, UBSAN_OPTIONS, LSAN_OPTIONS) are passed on, so that a helper
// built with them reports where its caller does; other builds ignore them.

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace rt {

struct HelperEnd {
    enum class How { Exited, Signalled, TimedOut, NotStarted };
    How how = How::NotStarted;
    int code = 0; // the exit status or the signal
};

// Waits at most `limit`; a helper still running then is killed.
HelperEnd runHelper(const std::filesystem::path &program, const std::vector<std::string> &arguments,
                    std::chrono::milliseconds limit);

} // namespace rt
