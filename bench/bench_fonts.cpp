// The fonts at start: telling the families of a Windows Fonts folder of 320
// files by their name tables, and the whole loading the program does before
// its start window (that folder's Limon font, then the stand-ins), once, in a
// fresh process (so with Qt's first look at the installed fonts in it).

#include "app.h"
#include "runtime/errors/error_report.h"
#include "runtime/forms/program.h"
#include "runtime/system/dialogs.h"
#include "runtime/system/font_names.h"
#include "runtime/system/program_files.h"

#include <QApplication>
#include <QFontDatabase>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 320;

struct Setup {
    QTemporaryDir dir;
    fs::path drive;
    fs::path fonts;
};

Setup *setup = nullptr;

// A Windows Fonts folder: Debian's TrueType fonts copied under other names
// until there are 320 files, one of them a font of the family "Limon S1".
void makeFontsFolder()
{
    setup->drive = fs::path(setup->dir.path().toStdString()) / "drive_c";
    setup->fonts = setup->drive / "WINDOWS" / "Fonts";
    fs::create_directories(setup->fonts);
    std::vector<fs::path> sources;
    for (const char *folder : {"/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/truetype/khmeros"}) {
        for (const auto &entry : fs::directory_iterator(folder))
            sources.push_back(entry.path());
    }
    std::sort(sources.begin(), sources.end());
    for (int i = 0; i + 1 < kFiles; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "FONT%03d.TTF", i);
        fs::copy_file(sources[std::size_t(i) % sources.size()], setup->fonts / name);
    }
    fs::copy_file(rt::programData("fonts") / "LimonS1-StandIn.ttf", setup->fonts / "LIMONS1.TTF");
}

void BM_FamiliesOfAWindowsFontsFolder(benchmark::State &state)
{
    std::size_t families = 0;
    for (auto _ : state) {
        families = 0;
        for (const auto &entry : fs::directory_iterator(setup->fonts))
            families += std::size_t(rt::fontFamilies(entry.path()).size());
        benchmark::DoNotOptimize(families);
    }
    state.counters["files"] = kFiles;
    state.counters["families"] = double(families);
}
BENCHMARK(BM_FamiliesOfAWindowsFontsFolder)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    Setup s;
    setup = &s;
    makeFontsFolder();

    rt::Program::Options options;
    options.driveRoot = s.drive;
    options.report = std::make_unique<rt::RecordedReports>();
    options.dialogs = std::make_unique<rt::ScriptedDialogs>();
    rt::Program program(std::move(options));
    const auto start = std::chrono::steady_clock::now();
    velumir::loadFonts(program);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    std::printf("fonts before the start window (a Fonts folder of %d files, the stand-ins): %.2f ms;"
                " \"Limon S1\" %s, \"Limon R1\" %s\n",
                kFiles, took.count(), QFontDatabase::hasFamily("Limon S1") ? "there" : "missing",
                QFontDatabase::hasFamily("Limon R1") ? "there" : "missing");

    ::benchmark::Initialize(&argc, argv);
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
    return 0;
}
