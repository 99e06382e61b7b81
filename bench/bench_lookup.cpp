// The Khmer dictionary window over its 100 000 headwords: opening it (the
// database, the list recordset, the headword list, the first paint) and
// choosing a headword (the entry query and the text pane), each against
// plain SQLite reading the same rows or running the same query. The run ends
// with both times side by side and their ratio, and the heap that the open
// window holds.

#include "app.h"
#include "reference/lookup_window.h"
#include "runtime/controls/data_combo.h"
#include "runtime/controls/rich_text_box.h"
#include "runtime/data/connection.h"
#include "runtime/data/recordset.h"
#include "runtime/errors/error_report.h"
#include "runtime/forms/program.h"
#include "runtime/system/dialogs.h"
#include "sample_data.h"
#include "sample_drive.h"
#include "shell/frm_main.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Setup {
    QTemporaryDir dir;
    fs::path drive;
    std::unique_ptr<rt::Program> program;
};

Setup *setup = nullptr;

fs::path dictionaryFile()
{
    return setup->drive / sample::paths::kKhmerDictionary;
}

velumir::KhmerDic &window()
{
    return setup->program->form<velumir::KhmerDic>();
}

void settle()
{
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

std::size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

long residentBytes()
{
    long pages = 0, resident = 0;
    if (FILE *f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * 4096;
}

long minorFaults()
{
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// Page faults per iteration: fresh memory that the kernel had to hand out.
class FaultCounter {
public:
    explicit FaultCounter(benchmark::State &state) : state_(state), start_(minorFaults()) {}
    ~FaultCounter()
    {
        state_.counters["faults"] = double(minorFaults() - start_) / double(std::max<std::int64_t>(1, state_.iterations()));
    }

private:
    benchmark::State &state_;
    long start_;
};

void openWindow()
{
    setup->program->run([] { window().Show(); });
    settle();
    if (!window().IsLoaded() || window().DC1().ListCount() != sample::kKhmerDictionaryRows)
        std::fprintf(stderr, "the dictionary window did not open with its rows\n");
}

void closeWindow()
{
    settle(); // the status bar's clock ticks that fell due meanwhile
    window().Unload();
    settle();
}

// ---- opening

void BM_OpenWindow(benchmark::State &state)
{
    double heap = 0, resident = 0;
    FaultCounter faults(state);
    for (auto _ : state) {
        state.PauseTiming();
        const std::size_t heapBefore = heapInUse();
        const long residentBefore = residentBytes();
        state.ResumeTiming();
        openWindow();
        state.PauseTiming();
        heap += double(heapInUse()) - double(heapBefore);
        resident += double(residentBytes() - residentBefore);
        closeWindow();
        state.ResumeTiming();
    }
    state.counters["open_heap_MB"] = heap / double(state.iterations()) / 1e6;
    state.counters["open_rss_MB"] = resident / double(state.iterations()) / 1e6;
}

// The part of the opening that is the data layer's: the connection and the
// list recordset, with no window.
void BM_OpenListRecordset(benchmark::State &state)
{
    FaultCounter faults(state);
    for (auto _ : state) {
        rt::Connection connection(setup->program->drive());
        connection.Open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\WINDOWS\\system32\\Khmer Dictionary;"
                        "Persist Security Info=False");
        rt::Recordset rows;
        rows.Open("tblDictionary", connection, 3, 3, rt::Recordset::CommandTable);
        benchmark::DoNotOptimize(rows.RecordCount());
        rows.Close();
        connection.Close();
    }
}

struct Row {
    std::int64_t id;
    std::string names;
    std::string traslation;
};

void BM_OpenBaseline(benchmark::State &state)
{
    const std::string file = dictionaryFile().string();
    FaultCounter faults(state);
    for (auto _ : state) {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(db, "SELECT * FROM tblDictionary", -1, &stmt, nullptr);
        std::vector<Row> rows;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const auto text = [&](int column) {
                const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
                return bytes ? std::string(bytes, std::size_t(sqlite3_column_bytes(stmt, column))) : std::string();
            };
            rows.push_back({sqlite3_column_int64(stmt, 0), text(1), text(2)});
        }
        sqlite3_finalize(stmt);
        sqlite3_close(db);
        benchmark::DoNotOptimize(rows.data());
        if (rows.size() != std::size_t(sample::kKhmerDictionaryRows))
            state.SkipWithError("the baseline read the wrong rows");
    }
}

// ---- choosing

// The headwords chosen in turn, spread over the table.
long chosenRow(std::int64_t k)
{
    return long((k * 7919) % sample::kKhmerDictionaryRows);
}

void BM_ChooseEntry(benchmark::State &state)
{
    openWindow();
    std::int64_t k = 0;
    for (auto _ : state)
        window().DC1().setSelectedRow(chosenRow(++k));
    if (window().RTB1().Text().empty())
        state.SkipWithError("no entry was shown");
    closeWindow();
}

// A keystroke of the keyboard search that matches no headword, and so reads
// every headword of the list.
void BM_TypeUnmatchedPrefix(benchmark::State &state)
{
    openWindow();
    const char *texts[] = {"\x01none", "\x01nothing"};
    int k = 0;
    for (auto _ : state)
        window().DC1().setText(texts[++k % 2]);
    if (window().DC1().SelectedRow() != -1)
        state.SkipWithError("a headword matched");
    closeWindow();
}

// The part of a choice that is the data layer's: the entry query alone.
void BM_EntryQuery(benchmark::State &state)
{
    rt::Connection connection(setup->program->drive());
    connection.Open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\WINDOWS\\system32\\Khmer Dictionary;"
                    "Persist Security Info=False");
    std::int64_t k = 0;
    for (auto _ : state) {
        rt::Recordset entry;
        entry.Open("SELECT Traslation FROM tblDictionary where ID=" + std::to_string(chosenRow(++k) + 1), connection,
                   1, 3, rt::Recordset::CommandText);
        benchmark::DoNotOptimize(entry.Fields(0).Value());
    }
    connection.Close();
}

void BM_ChooseBaseline(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(dictionaryFile().string().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    std::int64_t k = 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        // IDs run from 1 in row order.
        const std::string sql =
            "SELECT Traslation FROM tblDictionary where ID=" + std::to_string(chosenRow(++k) + 1);
        // Run to its end, as a recordset does to hold every row that matches;
        // the first row's text is the entry.
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
        std::string entry;
        bool first = true;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            if (first) {
                const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0));
                entry = text ? text : "";
                first = false;
            }
        }
        bytes += entry.size();
        sqlite3_finalize(stmt);
    }
    benchmark::DoNotOptimize(bytes);
    sqlite3_close(db);
}

// The same choices once the file has an index on ID, as a keyed dictionary
// would: the query no longer reads the whole table. The list still comes in
// stored order (the table is read without its index).
void indexDictionary()
{
    sample::execute(dictionaryFile(), "CREATE INDEX IF NOT EXISTS byId ON tblDictionary (ID)");
}
void BM_ChooseEntryIndexed(benchmark::State &state)
{
    indexDictionary();
    BM_ChooseEntry(state);
}
void BM_ChooseBaselineIndexed(benchmark::State &state)
{
    indexDictionary();
    BM_ChooseBaseline(state);
}

BENCHMARK(BM_OpenWindow)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OpenListRecordset)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OpenBaseline)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ChooseEntry)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EntryQuery)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypeUnmatchedPrefix)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChooseBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChooseEntryIndexed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ChooseBaselineIndexed)->Unit(benchmark::kMicrosecond);

// Prints the runs as usual and keeps their times for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                times[run.run_name.function_name] = run.GetAdjustedRealTime();
            for (const auto &[name, counter] : run.counters)
                counters[name] = counter.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times; // in the runs' unit, milliseconds
    std::map<std::string, double> counters;
};

void printRatio(const SummaryReporter &r, const char *what, const char *ours, const char *baseline)
{
    const auto a = r.times.find(ours), b = r.times.find(baseline);
    if (a == r.times.end() || b == r.times.end())
        return;
    std::printf("%-16s window %9.3f   sqlite3 %9.3f   ratio %.2f   (the runs' unit)\n", what, a->second, b->second,
                a->second / b->second);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // As the program itself does (src/main.cpp).
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
    mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    benchmark::Initialize(&argc, argv);

    Setup s;
    setup = &s;
    s.drive = fs::path(s.dir.path().toStdString()) / "drive_c";
    sample::makeSampleDrive(s.drive);
    rt::Program::Options options;
    options.driveRoot = s.drive;
    options.configRoot = fs::path(s.dir.path().toStdString()) / "config";
    options.report = std::make_unique<rt::RecordedReports>();
    options.dialogs = std::make_unique<rt::ScriptedDialogs>();
    s.program = std::make_unique<rt::Program>(std::move(options));
    velumir::initResources();
    s.program->setMdiParentClass<velumir::frmMain>();
    s.program->form<velumir::frmMain>().Show();
    settle();

    // The first opening, alone: what the open list costs beyond no window.
    const long residentBefore = residentBytes();
    const std::size_t heapBefore = heapInUse();
    const auto started = std::chrono::steady_clock::now();
    openWindow();
    const double firstMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    const double firstHeap = (double(heapInUse()) - double(heapBefore)) / 1e6;
    const double firstResident = double(residentBytes() - residentBefore) / 1e6;
    closeWindow();

    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n");
    printRatio(reporter, "open", "BM_OpenWindow", "BM_OpenBaseline");
    printRatio(reporter, "choose", "BM_ChooseEntry", "BM_ChooseBaseline");
    printRatio(reporter, "choose, indexed", "BM_ChooseEntryIndexed", "BM_ChooseBaselineIndexed");
    std::printf("first opening: %.1f ms, the open window %.1f MB heap, %.1f MB resident\n", firstMs, firstHeap,
                firstResident);
    if (!static_cast<rt::RecordedReports &>(s.program->errorReport()).entries().empty())
        std::printf("run-time errors were reported\n");

    s.program.reset();
    settle();
    benchmark::Shutdown();
    return 0;
}
