// Opening a Jet database through the data layer, against libmdb alone and
// against SQLite, on the Old Testament of tests/data/jet-drive (929 rows,
// 1.5 MB, long chapters) and its Khmer Dictionary (140 rows):
//
//   libmdb    libmdb in this process reads the whole table, every column
//             bound (what reading a Jet file costs at the least);
//   first     Connection.Open of the Jet file with no copy kept (the cache
//             folder is there, as after any earlier use), then the query the
//             program runs on it: the helper program copies the file into
//             the cache and the copy is opened;
//   sqlite    the same on an SQLite file beside the Jet file, holding the
//             same rows in the same bytes as the copy (the helper's own
//             copy), opened through the same Windows path but for its name;
//   second    the Jet file again with its copy kept, as on every later
//             start: the sqlite open plus finding the copy (a stat of the
//             Jet file and of the copy, and the copy's time of use set);
//   lookup    finding the kept copy alone.
//
// The query is the Old Testament window's catalogue query ("select word
// from Bible") and the lookup window's whole table ("tblDictionary").
// sqlite and second run one after the other, five times each, and the
// summary compares medians: first against libmdb, second against sqlite.
// Options: those of Google Benchmark.

#include "runtime/data/connection.h"
#include "runtime/data/database_cache.h"
#include "runtime/data/recordset.h"
#include "runtime/system/drive.h"

#include "median.h"

#include <glib.h>
#include <mdbtools.h>

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Table {
    const char *name;      // of the benchmark
    const char *jetFile;   // on the drive
    const char *table;
    const char *query;
    long options;
    long rows;
};

const Table tables[] = {
    {"old_testament", "Program Files/Velumir/Data/OldTestament.mdb", "Bible", "select word from Bible", 1, 929},
    {"dictionary", "WINDOWS/system32/Khmer Dictionary", "tblDictionary", "tblDictionary", 2, 140},
};

struct Setup {
    QTemporaryDir dir;
    fs::path drive;
    fs::path cache;
};
Setup *setup = nullptr;

std::string jetSource(const Table &t) { return "C:\\" + std::string(t.jetFile); }
// The SQLite twin lies beside the Jet file, so that its path resolves alike.
std::string sqliteFile(const Table &t) { return std::string(t.jetFile) + ".sqlite"; }
std::string sqliteSource(const Table &t) { return "C:\\" + sqliteFile(t); }

// ---- libmdb alone

void BM_Libmdb(benchmark::State &state, const Table &t)
{
    const std::string path = (setup->drive / t.jetFile).string();
    for (auto _ : state) {
        MdbHandle *mdb = mdb_open(path.c_str(), MDB_NOFLAGS);
        mdb_set_bind_size(mdb, 512 * 1024);
        mdb_read_catalog(mdb, MDB_TABLE);
        MdbTableDef *table = mdb_read_table_by_name(mdb, const_cast<gchar *>(t.table), MDB_TABLE);
        mdb_read_columns(table);
        mdb_rewind_table(table);
        std::vector<std::vector<char>> values(table->num_cols, std::vector<char>(512 * 1024));
        std::vector<int> lengths(table->num_cols);
        for (unsigned c = 0; c < table->num_cols; ++c)
            mdb_bind_column(table, int(c) + 1, values[c].data(), &lengths[c]);
        long rows = 0;
        while (mdb_fetch_row(table))
            ++rows;
        mdb_free_tabledef(table);
        mdb_close(mdb);
        if (rows != t.rows)
            state.SkipWithError("libmdb read another number of rows");
    }
}

// ---- the data layer

void open(benchmark::State &state, const Table &t, const std::string &source)
{
    rt::Connection cn{rt::Drive(setup->drive)};
    cn.Open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + source);
    rt::Recordset rs;
    rs.Open(t.query, cn, 3, 3, t.options);
    if (rs.RecordCount() != t.rows)
        state.SkipWithError("the recordset holds another number of rows");
}

void BM_First(benchmark::State &state, const Table &t)
{
    const fs::path copies = setup->cache / "velumir" / "databases";
    for (auto _ : state) {
        state.PauseTiming();
        std::error_code ec;
        for (const fs::directory_entry &copy : fs::directory_iterator(copies, ec))
            fs::remove(copy.path(), ec);
        state.ResumeTiming();
        open(state, t, jetSource(t));
    }
}

void BM_Second(benchmark::State &state, const Table &t)
{
    open(state, t, jetSource(t)); // the copy is kept
    for (auto _ : state)
        open(state, t, jetSource(t));
}

void BM_Sqlite(benchmark::State &state, const Table &t)
{
    for (auto _ : state)
        open(state, t, sqliteSource(t));
}

void BM_Lookup(benchmark::State &state, const Table &t)
{
    rt::detail::DatabaseCache cache;
    const fs::path source = setup->drive / t.jetFile;
    for (auto _ : state)
        if (cache.jetCopy(source).outcome != rt::detail::DatabaseCopy::Outcome::Ready)
            state.SkipWithError("no kept copy");
}

class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                samples[run.run_name.function_name].push_back(run.GetAdjustedRealTime());
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, std::vector<double>> samples; // milliseconds, one a repetition
};

void printRatio(const SummaryReporter &r, const std::string &ours, const std::string &baseline, const char *what,
                double aim)
{
    const auto a = r.samples.find(ours), b = r.samples.find(baseline);
    if (a == r.samples.end() || b == r.samples.end())
        return;
    const double x = bench::median(a->second), y = bench::median(b->second);
    std::printf("%-22s %8.3f ms  against %-22s %8.3f ms  ratio %.2f (aim: at most %.1f): %s\n", ours.c_str(), x,
                baseline.c_str(), y, x / y, aim, what);
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    Setup s;
    setup = &s;
    s.drive = fs::path(s.dir.path().toStdString()) / "drive_c";
    s.cache = fs::path(s.dir.path().toStdString()) / "cache";
    setenv("XDG_CACHE_HOME", s.cache.c_str(), 1);
    fs::copy(fs::path(VELUMIR_JET_DRIVE), s.drive, fs::copy_options::recursive);
    // The same rows in SQLite files.
    rt::detail::DatabaseCache twins(fs::path(s.dir.path().toStdString()) / "twins",
                                    rt::detail::DatabaseCache::DefaultLimit, std::chrono::milliseconds(0));
    for (const Table &t : tables)
        fs::copy_file(twins.jetCopy(s.drive / t.jetFile).file, s.drive / sqliteFile(t));
    // Files changed moments ago are copied but their copies not kept.
    std::this_thread::sleep_for(rt::detail::DatabaseCache::DefaultSettle + std::chrono::milliseconds(100));

    for (const Table &t : tables) {
        const std::string name = t.name;
        benchmark::RegisterBenchmark(("libmdb/" + name).c_str(), BM_Libmdb, t)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("first/" + name).c_str(), BM_First, t)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("lookup/" + name).c_str(), BM_Lookup, t)->Unit(benchmark::kMillisecond);
        for (int repetition = 0; repetition < 5; ++repetition) {
            benchmark::RegisterBenchmark(("sqlite/" + name).c_str(), BM_Sqlite, t)->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("second/" + name).c_str(), BM_Second, t)->Unit(benchmark::kMillisecond);
        }
    }
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n");
    for (const Table &t : tables) {
        const std::string name = t.name;
        printRatio(reporter, "first/" + name, "libmdb/" + name,
                   "first open of the Jet file (the helper copies it) against libmdb reading it in this process", 2.0);
        printRatio(reporter, "second/" + name, "sqlite/" + name,
                   "later open of the Jet file (its copy kept) against the same rows' SQLite file beside it", 1.2);
    }
    benchmark::Shutdown();
    return 0;
}
