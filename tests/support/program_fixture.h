#pragma once

// A fresh program for each test: a temporary drive C with the databases the
// test makes, temporary settings and cache folders, the run-time error reports kept
// instead of shown, and scripted answers for the dialogs.

#include "support/file_guards.h"
#include "support/test_support.h"

#include "runtime/errors/error_report.h"
#include "runtime/forms/program.h"
#include "runtime/system/dialogs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

class ProgramTest : public ::testing::Test {
public:
    void SetUp() override;
    void TearDown() override;

    rt::Program &program() { return *program_; }
    template <class F>
    F &form()
    {
        return program_->form<F>();
    }

    // The folder of drive C and its C:\WINDOWS\system32.
    const std::filesystem::path &drive() const { return drive_; }
    std::filesystem::path system32() const { return drive_ / "WINDOWS" / "system32"; }
    // The folder that stands for the user's configuration folder (~/.config).
    const std::filesystem::path &config() const { return config_; }

    // A chapter table in its own database behind the data link file
    // C:\WINDOWS\system32\<udl>, with the given rows.
    void makeTestament(const std::string &udl, const std::string &table,
                       const std::vector<std::pair<std::string, std::string>> &rows);
    // The New Testament with its first `rows` chapters (all 260 by default).
    void makeNewTestament(int rows = 260);
    // The Old Testament with its first `rows` chapters in the order the tree reads them.
    void makeOldTestament(int rows = 929);

    // The reports shown so far: their numbers.
    std::vector<int> reportedNumbers() const;
    rt::RecordedReports &reports() { return *reports_; }
    rt::ScriptedDialogs &dialogs() { return *dialogs_; }

    // Lets the message loop deliver what is queued (posted events, deferred deletes).
    static void processEvents();

    // Starts the program as the user does: the start window, then Enter.
    void startToMainWindow();

    std::vector<std::pair<std::string, std::string>> newTestamentRows;
    std::vector<std::pair<std::string, std::string>> oldTestamentRows;

    // Set before SetUp for a program that asks through the real Qt dialogs
    // (dialogs() then has nothing to answer with).
    bool realDialogs = false;
    // Set before SetUp for a program that finds its drive as an installed
    // one started from the menu does: at the default place (no
    // $VELUMIR_DRIVE_C; a temporary $XDG_DATA_HOME), where a symbolic link
    // leads to drive().
    bool driveThroughDefaultLink = false;

private:
    std::unique_ptr<TempDir> dir_;
    std::filesystem::path drive_;
    std::filesystem::path config_;
    std::unique_ptr<CacheHome> cache_;
    std::unique_ptr<ScopedVariable> dataHome_;
    std::unique_ptr<ScopedVariable> driveVariable_;
    rt::RecordedReports *reports_ = nullptr;
    rt::ScriptedDialogs *dialogs_ = nullptr;
    std::unique_ptr<rt::Program> program_;
};

} // namespace testing_support
