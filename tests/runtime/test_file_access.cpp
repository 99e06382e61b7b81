// Saves that are killed halfway, and what killed saves left behind: the file
// is always whole (the old content or the new), and nothing stays beside it.
// Reading files, and the Windows paths that name them on drive C.

#include "support/test_support.h"

#include "runtime/errors/runtime_error.h"
#include "runtime/system/drive.h"
#include "runtime/system/file_access.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

using testing_support::namesIn;
using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

namespace fs = std::filesystem;

namespace {

// A process that has ended.
pid_t endedProcess()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

std::string hidden(pid_t pid, int n)
{
    return std::string(rt::kSavingPrefix) + std::to_string(pid) + "-" + std::to_string(n);
}

TEST(KilledSaves, LeaveAWholeFileAndNothingThatTheNextSaveKeeps)
{
    TempDir dir;
    const fs::path target = dir.path() / "notes.rtf";
    const std::string old(16 << 20, 'o');
    const std::string next(16 << 20, 'n');
    writeFile(target, old);
    std::mt19937 random(15);
    int leftBehind = 0;
    for (int round = 0; round < 40; ++round) {
        const pid_t saver = ::fork();
        if (saver == 0) {
            for (int i = 0;; ++i)
                rt::replaceFile(target, i % 2 ? old : next);
        }
        ::usleep(useconds_t(random() % 40000)); // somewhere in a save
        ::kill(saver, SIGKILL);
        ::waitpid(saver, nullptr, 0);
        const std::string now = readFile(target);
        EXPECT_TRUE(now == old || now == next) << "round " << round << ": " << now.size() << " bytes";
        leftBehind += int(namesIn(dir.path()).size()) - 1;
    }
    // Killed between naming the new file and putting it in place, a save
    // leaves it under its hidden name: the next save in the folder removes it.
    ASSERT_EQ(rt::replaceFile(target, "{\\rtf1 saved}"), 0);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"notes.rtf"});
    RecordProperty("files left behind by 40 killed saves", leftBehind);
}

TEST(KilledSaves, WhatEndedProcessesLeftIsRemovedAndNothingElse)
{
    TempDir dir;
    const pid_t ended = endedProcess();
    const pid_t running = ::getppid();
    for (const std::string &name : {hidden(ended, 0), hidden(ended, 7), hidden(::getpid(), 0), hidden(running, 0),
                                    std::string(rt::kSavingPrefix) + "notes", std::string(rt::kSavingPrefix) + "12-x"})
        writeFile(dir.path() / name, "part of a save");
    fs::create_directory(dir.path() / hidden(ended, 1));
    ASSERT_EQ(rt::replaceFile(dir.path() / "notes.rtf", "{\\rtf1 saved}"), 0);
    std::vector<std::string> kept = {hidden(ended, 1), hidden(running, 0), std::string(rt::kSavingPrefix) + "12-x",
                                     std::string(rt::kSavingPrefix) + "notes", "notes.rtf"};
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(namesIn(dir.path()), kept);
}

TEST(ReadingFiles, WaitsOnNothingAndRefusesWhatIsTooLarge)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir.path() / "pipe").c_str(), 0600), 0);
    writeFile(dir.path() / "small", "12345");
    EXPECT_EQ(rt::readWholeFile(dir.path() / "small", 5), "12345");
    const std::pair<const char *, int> refused[] = {{"pipe", 75}, {"small", 7}, {"missing", 53}, {".", 75}};
    for (const auto &[name, number] : refused) {
        try {
            rt::readWholeFile(dir.path() / name, 4);
            ADD_FAILURE() << name << " was read";
        } catch (const rt::RuntimeError &e) {
            EXPECT_EQ(e.number(), number) << name;
        }
    }
}

TEST(DrivePaths, GoUpNoFurtherThanTheDrive)
{
    TempDir dir;
    const fs::path root = dir.path() / "drive_c";
    fs::create_directories(root / "Program Files" / "Velumir");
    const rt::Drive drive(root);
    const struct {
        const char *path;
        const char *base;
        fs::path host;
    } cases[] = {
        {"C:\\Program Files\\..\\WINDOWS\\win.ini", "C:\\", root / "WINDOWS" / "win.ini"},
        {"C:\\..\\..\\etc\\passwd", "C:\\", root / "etc" / "passwd"},
        {"c:/Program Files/../../../etc", "C:\\", root / "etc"},
        {"..\\..\\..\\..\\etc", "C:\\Program Files\\Velumir", root / "etc"},
        {"..\\data", "C:\\PROGRAM FILES\\velumir", root / "Program Files" / "data"},
        {"D:/../../etc", "C:\\", dir.path() / "drive_d" / "etc"},
        {"d:\\..\\..\\etc\\passwd", "C:\\", dir.path() / "drive_d" / "etc" / "passwd"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(drive.hostPath(c.path, c.base), c.host) << c.path << " from " << c.base;
}

} // namespace
