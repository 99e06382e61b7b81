// velumir-make-sample-drive [--force] [<drive-c-folder>]
//
// Writes the sample databases, data link files and pictures below the folder
// that stands for drive C (by default the program's own, see rt::Drive).
// An existing sample drive is left alone unless --force is given.

#include "sample_drive.h"

#include "runtime/system/drive.h"

#include <QGuiApplication>

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

int main(int argc, char **argv)
{
    bool force = false;
    std::filesystem::path root;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--force") {
            force = true;
        } else if (argument == "--help" || argument == "-h") {
            std::cout << "usage: velumir-make-sample-drive [--force] [<drive-c-folder>]\n";
            return 0;
        } else if (!argument.empty() && argument[0] != '-' && root.empty()) {
            root = argument;
        } else {
            std::cerr << "usage: velumir-make-sample-drive [--force] [<drive-c-folder>]\n";
            return 2;
        }
    }
    if (root.empty())
        root = rt::Drive::defaultRoot();

    if (!force && sample::sampleDriveExists(root)) {
        std::cout << "A sample drive is already in " << root.string()
                  << "; left unchanged (use --force to write it again).\n";
        return 0;
    }

    // The pictures are drawn offscreen; no display is needed.
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);

    try {
        sample::makeSampleDrive(root);
    } catch (const std::exception &error) {
        std::cerr << "velumir-make-sample-drive: " << error.what() << '\n';
        return 1;
    }
    std::cout << "Sample drive written to " << root.string() << '\n';
    return 0;
}
