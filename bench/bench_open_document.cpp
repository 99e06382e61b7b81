// Opening large documents with File Open: the time from the command to the
// document laid out (what the user waits for), and the peak memory of the
// process, for the largest documents the text box takes and for those it
// refuses. Documents taken, each just within the limits:
//   lines        two million characters in paragraphs of 80;
//   paragraph    two million characters in one paragraph;
//   khmer        legacy Khmer bytes in 14-point Limon S1, phrases of 3 to 15;
//   long-words   two million characters in words of 1000, the longest taken.
// Documents refused, each just beyond one limit:
//   file-64MB    a file of 64 MB and one byte (refused unread);
//   characters   two million and one characters;
//   word         a word of 1001 characters;
//   tall         9000 paragraphs of one letter in the largest type.
// Each iteration opens the document into the window as it stands (its
// design size: lines wrap at about 280 pixels). Options: those of Google
// Benchmark (--benchmark_filter, --benchmark_repetitions, ...).

#include "app.h"
#include "documents/document_window.h"
#include "runtime/controls/rich_text_box.h"
#include "runtime/errors/error_report.h"
#include "runtime/forms/program.h"
#include "runtime/system/dialogs.h"
#include "shell/frm_main.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include <sys/resource.h>

namespace {

namespace fs = std::filesystem;

struct Setup {
    fs::path files;
    std::unique_ptr<rt::Program> program;
    rt::RecordedReports *reports = nullptr;
};
Setup *setup = nullptr;

void write(const std::string &name, const std::string &content)
{
    std::ofstream(setup->files / name, std::ios::binary) << content;
}

std::string words(std::size_t characters, std::size_t wordLength)
{
    std::mt19937 random(7);
    std::string text;
    text.reserve(characters);
    while (text.size() < characters) {
        const std::size_t length = wordLength ? wordLength : 2 + random() % 8;
        for (std::size_t i = 0; i < length; ++i)
            text += char('a' + random() % 16);
        text += ' ';
    }
    text.resize(characters);
    return text;
}

void makeDocuments()
{
    constexpr std::size_t kMost = 2'000'000;
    std::string lines = "{\\rtf1 ";
    const std::string text = words(kMost / 81 * 80, 0);
    for (std::size_t at = 0; at < text.size(); at += 80)
        lines += text.substr(at, 80) + (at + 80 < text.size() ? "\\par\r\n" : "");
    write("lines.rtf", lines + "}");
    write("paragraph.rtf", "{\\rtf1 " + words(kMost - 1, 0) + "}");
    std::mt19937 random(9);
    std::string khmer = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil\\fcharset0 Limon S1;}}\\f0\\fs28 ";
    for (std::size_t characters = 0; characters + 16 < kMost;) {
        const int phrase = 3 + int(random() % 13);
        for (int i = 0; i < phrase; ++i) {
            static constexpr char kHex[] = "0123456789abcdef";
            const int byte = 0xA1 + int(random() % 0x5E);
            khmer += std::string("\\'") + kHex[byte >> 4] + kHex[byte & 15];
        }
        khmer += ' ';
        characters += std::size_t(phrase) + 1;
    }
    write("khmer.rtf", khmer + "}");
    write("long-words.rtf", "{\\rtf1 " + words(kMost - 1, 1000) + "}");

    write("file-64MB.rtf", "{\\rtf1 ");
    fs::resize_file(setup->files / "file-64MB.rtf", 64 * 1024 * 1024 + 1);
    write("characters.rtf", "{\\rtf1 " + words(kMost + 1, 0) + "}");
    write("word.rtf", "{\\rtf1 a " + std::string(1001, 'x') + " b}");
    std::string tall = "{\\rtf1\\fs3276 ";
    for (int i = 0; i < 9000; ++i)
        tall += "x\\par ";
    write("tall.rtf", tall + "}");
}

rt::RichTextBox &box() { return setup->program->form<velumir::frmDocument>().rtfText(); }

void open(benchmark::State &state, const std::string &name, bool taken)
{
    const std::string path = (setup->files / name).string();
    for (auto _ : state) {
        state.PauseTiming();
        box().setText("");
        setup->reports->clear();
        QApplication::processEvents();
        state.ResumeTiming();
        setup->program->run([&] { box().LoadFile(path); });
        benchmark::DoNotOptimize(box().editor()->document()->documentLayout()->documentSize());
        QApplication::processEvents();
        state.PauseTiming();
        if (setup->reports->entries().empty() != taken)
            state.SkipWithError(taken ? "the document was refused" : "the document was taken");
        state.ResumeTiming();
    }
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = double(usage.ru_maxrss) / 1024;
}

void BM_Open(benchmark::State &state, const char *name) { open(state, std::string(name) + ".rtf", true); }
void BM_Refuse(benchmark::State &state, const char *name) { open(state, std::string(name) + ".rtf", false); }

BENCHMARK_CAPTURE(BM_Open, lines, "lines")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_Open, paragraph, "paragraph")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_Open, khmer, "khmer")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_Open, long_words, "long-words")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_Refuse, file_64MB, "file-64MB")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Refuse, characters, "characters")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Refuse, word, "word")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Refuse, tall, "tall")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    QTemporaryDir dir;
    Setup made;
    setup = &made;
    made.files = fs::path(dir.path().toStdString()) / "files";
    fs::create_directories(made.files);
    makeDocuments();
    rt::Program::Options options;
    options.driveRoot = fs::path(dir.path().toStdString()) / "drive_c";
    options.configRoot = fs::path(dir.path().toStdString()) / "config";
    auto reports = std::make_unique<rt::RecordedReports>();
    made.reports = reports.get();
    options.report = std::move(reports);
    options.dialogs = std::make_unique<rt::ScriptedDialogs>();
    made.program = std::make_unique<rt::Program>(std::move(options));
    velumir::initResources();
    made.program->setMdiParentClass<velumir::frmMain>();
    // The main window opens without its New Testament (there is no drive):
    // the document window is all that is measured.
    made.program->form<velumir::frmMain>().Show();
    box();
    QApplication::processEvents();

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    made.program.reset();
    return 0;
}
