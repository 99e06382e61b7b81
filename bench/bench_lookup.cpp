// The dictionary windows over 100 000 and 1 000 000 headwords (made at run
// time), each step measured beside bare sqlite3 doing the same reading in the
// same run, the two alternating iteration by iteration:
//
//   open        showing the window until it is painted with its list, against
//               opening the file and reading every ID and Names;
//   recordset   the data layer's part of that: the connection and the list
//               recordset, opened as the window opens them;
//   keystroke   one key in the headword line until the window is painted
//               again, against the 5 ms a keystroke may take: text that
//               starts no headword, so that the search reads the whole list,
//               and a headword near the end, found and chosen;
//   choose      choosing a headword (the entry query and the text pane), with
//               and without an index on ID, against sqlite3 running the same
//               query to its end.
//
// Memory is measured in fresh processes, one per size: the resident size
// before the window opens, while it is open and after it closed, twice over.
// The summary prints every comparison as a ratio. Options: those of Google
// Benchmark (--benchmark_filter, --benchmark_repetitions, ...); the ratios
// use the medians of all iterations of all repetitions.

#include "lookup_fixture.h"
#include "median.h"

#include "reference/lookup_window.h"
#include "runtime/controls/data_combo.h"
#include "runtime/controls/rich_text_box.h"
#include "runtime/data/connection.h"
#include "runtime/data/recordset.h"
#include "runtime/errors/error_report.h"
#include "runtime/forms/program.h"
#include "runtime/system/heap.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

using bench::median;

namespace {

namespace fs = std::filesystem;
using bench::DictionaryCase;
using Clock = std::chrono::steady_clock;

constexpr double kKeystrokeTarget = 0.005; // seconds
constexpr double kMemorySlack = 30e6;      // bytes beyond 1.5 x the headword text
constexpr double kClosedTarget = 1.1;      // resident size after closing, to before opening

struct Setup {
    fs::path drive;
    std::unique_ptr<rt::Program> program;
};
Setup *setup = nullptr;

std::map<std::string, std::vector<double>> samples; // seconds per iteration

double seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

const DictionaryCase &caseOf(const benchmark::State &state)
{
    return bench::dictionaryCase(long(state.range(0)));
}

fs::path fileOf(const DictionaryCase &c)
{
    return setup->drive / c.file;
}

velumir::LookupWindow &window(const DictionaryCase &c)
{
    return bench::lookupWindow(*setup->program, c);
}

bool openWindow(const DictionaryCase &c)
{
    setup->program->run([&] { window(c).Show(); });
    bench::settle();
    return window(c).IsLoaded() && window(c).DC1().ListCount() == c.rows;
}

void closeWindow(const DictionaryCase &c)
{
    bench::settle(); // the status bar's clock ticks that fell due meanwhile
    window(c).Unload();
    bench::settle();
}

// The name a step's samples are kept under: the step and its arguments.
std::string nameOf(const char *what, const benchmark::State &state, bool withIndex = false)
{
    std::string name = std::string(what) + '/' + std::to_string(state.range(0));
    if (withIndex)
        name += '/' + std::to_string(state.range(1));
    return name;
}

// Runs the program's step and the bare one in turn, the order changing every
// iteration, and records both; the benchmark's time is the program's.
void pair(benchmark::State &state, const std::string &name, const std::function<double()> &program,
          const std::function<double()> &bare)
{
    bool programFirst = true;
    for (auto _ : state) {
        double a = 0, b = 0;
        if (programFirst) {
            a = program();
            b = bare();
        } else {
            b = bare();
            a = program();
        }
        programFirst = !programFirst;
        if (a < 0 || b < 0) {
            state.SkipWithError("a step did not do its work");
            break;
        }
        state.SetIterationTime(a);
        samples[name + "/program"].push_back(a);
        samples[name + "/sqlite3"].push_back(b);
    }
}

// ---- opening

// Bare sqlite3: open the file, read every ID and Names, close.
double readBare(const fs::path &file, long rows)
{
    const auto start = Clock::now();
    sqlite3 *db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT ID, Names FROM tblDictionary", -1, &stmt, nullptr);
    long count = 0;
    std::int64_t sum = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        sum += sqlite3_column_int64(stmt, 0);
        const unsigned char *names = sqlite3_column_text(stmt, 1);
        sum += sqlite3_column_bytes(stmt, 1) + (names ? names[0] : 0);
        ++count;
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    benchmark::DoNotOptimize(sum);
    return count == rows ? seconds(start) : -1;
}

void BM_Open(benchmark::State &state)
{
    const DictionaryCase &c = caseOf(state);
    pair(
        state, nameOf("open", state),
        [&] {
            const auto start = Clock::now();
            const bool opened = openWindow(c);
            const double t = seconds(start);

            closeWindow(c);
            return opened ? t : -1;
        },
        [&] { return readBare(fileOf(c), c.rows); });
}

void BM_OpenRecordset(benchmark::State &state)
{
    const DictionaryCase &c = caseOf(state);
    pair(
        state, nameOf("recordset", state),
        [&] {
            const auto start = Clock::now();
            rt::Connection connection(setup->program->drive());
            connection.Open(std::string("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + c.windowsPath +
                            ";Persist Security Info=False");
            rt::Recordset rows;
            rows.setKeptFields({"ID", "Names"}); // as the window opens it
            rows.Open("tblDictionary", connection, 3, 3, rt::Recordset::CommandTable);
            const long count = rows.RecordCount();
            rows.Close();
            connection.Close();
            return count == c.rows ? seconds(start) : -1;
        },
        [&] { return readBare(fileOf(c), c.rows); });
}

// ---- typing

// One key in the headword line, until the window is painted again. Text
// that starts no headword makes the search read the whole list; a whole
// headword near the end of the list is found after reading nearly all of it
// and chosen, its entry looked up by the index on ID.
void BM_Keystroke(benchmark::State &state)
{
    const DictionaryCase &c = caseOf(state);
    const bool chooses = state.range(1) != 0;
    bench::setIndexed(fileOf(c), chooses);
    if (!openWindow(c)) {
        state.SkipWithError("the window did not open with its rows");
        return;
    }
    rt::DataCombo &combo = window(c).DC1();
    // Neither text starts the other, so each key searches from the top.
    const std::string texts[] = {chooses ? combo.List(c.rows - 10) : "\x01none",
                                 chooses ? combo.List(c.rows - 20) : "\x01nothing"};
    int k = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        combo.setText(texts[++k % 2]);
        QApplication::processEvents();
        const double t = seconds(start);
        state.SetIterationTime(t);
        samples[nameOf("keystroke", state, true) + "/program"].push_back(t);
    }
    if ((combo.SelectedRow() >= 0) != chooses)
        state.SkipWithError(chooses ? "no headword was chosen" : "a headword matched");
    closeWindow(c);
    bench::setIndexed(fileOf(c), false);
}

// ---- choosing

// The headwords chosen in turn, spread over the table; IDs run from 1 in row order.
long chosenRow(std::int64_t k, long rows)
{
    return long((k * 7919) % rows);
}

double queryBare(sqlite3 *db, long id)
{
    const auto start = Clock::now();
    const std::string sql = "SELECT Traslation FROM tblDictionary where ID=" + std::to_string(id);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
    std::string entry;
    bool first = true;
    // To its end, as a recordset runs it; the first row's text is the entry.
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        if (first) {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0));
            entry = text ? text : "";
            first = false;
        }
    }
    sqlite3_finalize(stmt);
    return entry.empty() ? -1 : seconds(start);
}

void BM_Choose(benchmark::State &state)
{
    const DictionaryCase &c = caseOf(state);
    const bool indexed = state.range(1) != 0;
    bench::setIndexed(fileOf(c), indexed);
    if (!openWindow(c)) {
        state.SkipWithError("the window did not open with its rows");
        return;
    }
    sqlite3 *db = nullptr;
    sqlite3_open_v2(fileOf(c).c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    rt::DataCombo &combo = window(c).DC1();
    rt::RichTextBox &pane = window(c).RTB1();
    std::int64_t k = 0, kBare = 0; // both choose the same rows in turn
    pair(
        state, nameOf("choose", state, true),
        [&] {
            // Rows whose entry is there, so that the pane changes every time.
            const long row = chosenRow(++k, c.rows);
            pane.setText("");
            const auto start = Clock::now();
            combo.setSelectedRow(row);
            const double t = seconds(start);
            return pane.Text().empty() ? -1 : t;
        },
        [&] { return queryBare(db, chosenRow(++kBare, c.rows) + 1); });
    sqlite3_close(db);
    closeWindow(c);
    bench::setIndexed(fileOf(c), false);
}

void sizes(benchmark::internal::Benchmark *b)
{
    b->Arg(bench::kSmallRows)->Arg(bench::kLargeRows);
}

// The sizes, each with a second argument of 0 and 1.
void sizesAndSwitch(benchmark::internal::Benchmark *b, const char *name)
{
    b->ArgNames({"rows", name});
    for (long rows : {bench::kSmallRows, bench::kLargeRows})
        for (long on : {0, 1})
            b->Args({rows, on});
}
void sizesAndIndexes(benchmark::internal::Benchmark *b) { sizesAndSwitch(b, "indexed"); }
void sizesAndChoosing(benchmark::internal::Benchmark *b) { sizesAndSwitch(b, "chooses"); }

BENCHMARK(BM_Open)->Apply(sizes)->ArgName("rows")->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_OpenRecordset)->Apply(sizes)->ArgName("rows")->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_Keystroke)->Apply(sizesAndChoosing)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Choose)->Apply(sizesAndIndexes)->UseManualTime()->Unit(benchmark::kMillisecond);

// ---- memory, in a process of its own

struct Probe {
    long rows = 0;
    double before = 0, open = 0, closed = 0, openAgain = 0, closedAgain = 0; // resident bytes
    double headwords = 0;                                                    // bytes
    double firstOpenSeconds = 0;
};

// The child: the program as it starts, then the window opened and closed twice.
int probeMemory(const fs::path &drive, long rows)
{
    const DictionaryCase &c = bench::dictionaryCase(rows);
    QTemporaryDir config;
    Setup s;
    setup = &s;
    s.drive = drive;
    s.program = bench::startProgram(drive, fs::path(config.path().toStdString()));
    Probe p;
    p.rows = rows;
    p.headwords = double(bench::headwordBytes(fileOf(c)));
    p.before = double(bench::residentBytes());
    const auto start = Clock::now();
    if (!openWindow(c))
        return 1;
    p.firstOpenSeconds = seconds(start);
    p.open = double(bench::residentBytes());
    closeWindow(c);
    p.closed = double(bench::residentBytes());
    openWindow(c);
    p.openAgain = double(bench::residentBytes());
    closeWindow(c);
    p.closedAgain = double(bench::residentBytes());
    std::printf("probe %ld %.0f %.0f %.0f %.0f %.0f %.0f %.6f\n", p.rows, p.before, p.open, p.closed, p.openAgain,
                p.closedAgain, p.headwords, p.firstOpenSeconds);
    s.program.reset();
    bench::settle();
    return 0;
}

bool runProbe(long rows, Probe &p)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {"--memory-probe", QString::fromStdString(setup->drive.string()), QString::number(rows)});
    if (!child.waitForFinished(600000) || child.exitCode() != 0)
        return false;
    const QByteArray out = child.readAllStandardOutput();
    const int at = out.indexOf("probe ");
    return at >= 0 && std::sscanf(out.constData() + at, "probe %ld %lf %lf %lf %lf %lf %lf %lf", &p.rows, &p.before,
                                  &p.open, &p.closed, &p.openAgain, &p.closedAgain, &p.headwords,
                                  &p.firstOpenSeconds) == 8;
}

// ---- the summary

void printPair(const std::string &what, const char *target)
{
    const double a = median(samples[what + "/program"]);
    const double b = median(samples[what + "/sqlite3"]);
    if (a == 0 || b == 0)
        return;
    std::printf("%-30s program %9.3f ms   sqlite3 %9.3f ms   ratio %6.2f%s\n", what.c_str(), a * 1e3, b * 1e3, a / b,
                target);
}

void printSummary()
{
    std::printf("\nMedians per iteration; ratio = program / bare sqlite3 doing the same reading\n");
    for (long rows : {bench::kSmallRows, bench::kLargeRows}) {
        const std::string n = std::to_string(rows);
        printPair("open/" + n, rows == bench::kLargeRows ? "   (target 1.2)" : "");
        printPair("recordset/" + n, "");
        printPair("choose/" + n + "/0", "   (no index on ID)");
        printPair("choose/" + n + "/1", "   (index on ID)");
        for (const char *chooses : {"0", "1"}) {
            const std::string name = "keystroke/" + n + "/" + chooses;
            const double t = median(samples[name + "/program"]);
            if (t > 0)
                std::printf("%-30s program %9.3f ms   target  %9.3f ms   ratio %6.2f   (target 1.0%s)\n",
                            name.c_str(), t * 1e3, kKeystrokeTarget * 1e3, t / kKeystrokeTarget,
                            *chooses == '1' ? "; chooses a headword" : "; matches none");
        }
    }
}

void printProbe(const Probe &p)
{
    const double added = p.open - p.before;
    const double allowed = 1.5 * p.headwords + kMemorySlack;
    std::printf("memory/%ld: resident %.1f MB before, %.1f MB open, %.1f MB closed, %.1f MB open again, "
                "%.1f MB closed again; first opening %.1f ms\n",
                p.rows, p.before / 1e6, p.open / 1e6, p.closed / 1e6, p.openAgain / 1e6, p.closedAgain / 1e6,
                p.firstOpenSeconds * 1e3);
    std::printf("memory/%ld: the open window adds %.1f MB for %.1f MB of headword text; allowed %.1f MB "
                "(1.5 x text + 30 MB): ratio %.2f (target 1.0)\n",
                p.rows, added / 1e6, p.headwords / 1e6, allowed / 1e6, added / allowed);
    std::printf("memory/%ld: after closing, resident size to before opening: ratio %.2f, again %.2f (target %.1f)\n",
                p.rows, p.closed / p.before, p.closedAgain / p.before, kClosedTarget);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    rt::setHeapPolicy(); // as the program itself does
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc == 4 && std::strcmp(argv[1], "--memory-probe") == 0)
        return probeMemory(argv[2], std::atol(argv[3]));

    benchmark::Initialize(&argc, argv);
    QTemporaryDir dir;
    Setup s;
    setup = &s;
    s.drive = fs::path(dir.path().toStdString()) / "drive_c";
    std::printf("Making the dictionaries (%ld and %ld headwords)...\n", bench::kSmallRows, bench::kLargeRows);
    std::fflush(stdout);
    bench::makeBenchDrive(s.drive);
    s.program = bench::startProgram(s.drive, fs::path(dir.path().toStdString()) / "config");

    benchmark::RunSpecifiedBenchmarks();
    printSummary();
    for (long rows : {bench::kSmallRows, bench::kLargeRows}) {
        Probe p;
        if (runProbe(rows, p))
            printProbe(p);
        else
            std::printf("memory/%ld: the probe process failed\n", rows);
    }
    if (!static_cast<rt::RecordedReports &>(s.program->errorReport()).entries().empty())
        std::printf("run-time errors were reported\n");

    s.program.reset();
    bench::settle();
    benchmark::Shutdown();
    return 0;
}
