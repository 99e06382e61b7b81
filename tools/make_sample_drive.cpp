// velumir-make-sample-drive [--force] [<drive-c-folder>]
//
// Writes the sample databases, data link files and pictures below the folder
// that stands for drive C (by default the program's own, see rt::Drive).
// Without --force it writes only into a folder that is missing or empty: a
// folder that holds anything (a drive of the user's, or part of one), a
// symbolic link (to a drive elsewhere) and a folder that cannot be written
// are left as they are, and the maker ends successfully, so that whatever
// starts Velumir after it goes on.

#include "sample_drive.h"

#include "runtime/system/drive.h"

#include <QGuiApplication>

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr const char *kUsage = "usage: velumir-make-sample-drive [--force] [<drive-c-folder>]\n";

// Takes away what a failed make wrote into a folder that was missing or
// empty before, so that the next make starts afresh.
void removeWritten(const fs::path &root, bool existed)
{
    std::error_code ec;
    if (!existed) {
        fs::remove_all(root, ec);
        return;
    }
    for (const fs::directory_entry &entry : fs::directory_iterator(root, ec))
        fs::remove_all(entry.path(), ec);
}

} // namespace

int main(int argc, char **argv)
{
    bool force = false;
    fs::path root;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--force") {
            force = true;
        } else if (argument == "--help" || argument == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (!argument.empty() && argument[0] != '-' && root.empty()) {
            root = argument;
        } else {
            std::cerr << kUsage;
            return 2;
        }
    }
    if (root.empty())
        root = rt::Drive::defaultRoot();

    const sample::DriveFolder found = sample::inspectDriveFolder(root);
    if (!force) {
        switch (found) {
        case sample::DriveFolder::Free:
            break;
        case sample::DriveFolder::Taken:
            std::cout << root.string() << " already holds files (a drive C, or part of one); left unchanged"
                      << " (use --force to write the sample drive into it).\n";
            return 0;
        case sample::DriveFolder::Linked:
            std::cout << root.string() << " is a link to a drive elsewhere; left unchanged.\n";
            return 0;
        case sample::DriveFolder::ReadOnly:
            std::cout << root.string() << " cannot be written; no sample drive made.\n";
            return 0;
        }
    }

    // The pictures are drawn offscreen; no display is needed.
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);

    const bool existed = fs::exists(root);
    try {
        sample::makeSampleDrive(root);
    } catch (const std::exception &error) {
        std::cerr << "velumir-make-sample-drive: " << error.what() << '\n';
        if (found == sample::DriveFolder::Free)
            removeWritten(root, existed);
        return 1;
    }
    std::cout << "Sample drive written to " << root.string() << '\n';
    return 0;
}
