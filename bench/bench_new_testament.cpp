// The New Testament window: how long it takes to load (open the database,
// read the 260 chapter captions, build the tree of 288 nodes) and to show a
// 20 KB chapter after a click, each against the same work done straight on
// sqlite3 and a bare Qt widget ("bare").
//
//   load          Load() of the window (the main window stays loaded), against
//                 opening the file, reading the captions and filling a new
//                 bare tree widget ("bare"), and against the whole window
//                 built from bare Qt widgets ("bare window": an MDI child
//                 with the same toolbar, title strip, tree, text pane,
//                 splitter and status bar, filled the same way and shown
//                 maximized, its pictures made once as the program makes
//                 its own once), which is the like-for-like pair;
//   tree          the window's own tree-building steps on its loaded tree,
//                 against filling a bare tree widget that stays;
//   lookup        a click on a chapter node (select it, raise NodeClick),
//                 against the same query through sqlite3 and setPlainText on
//                 a bare text edit of the same size and font.
// "+paint": the message loop then delivers what the step queued (layout and
// paint), which is when the user sees the result. "+layout": the text pane
// also lays out the whole chapter, which it otherwise does in steps from the
// message loop afterwards. A summary with medians and ratios follows the
// benchmark table. Options: those of Google Benchmark (--benchmark_filter,
// --benchmark_min_time, --benchmark_repetitions).

#include "median.h"
#include "support/quiet_messages.h"
#include "app.h"
#include "browser/book_tree.h"
#include "browser/catalogues/new_testament.h"
#include "browser/new_testament_window.h"
#include "browser/testament_link.h"
#include "runtime/controls/basic_controls.h"
#include "runtime/controls/rich_text_box.h"
#include "runtime/controls/tree_view.h"
#include "runtime/errors/error_report.h"
#include "runtime/forms/mdi_parent.h"
#include "runtime/forms/program.h"
#include "runtime/system/dialogs.h"
#include "runtime/text/legacy_text.h"
#include "sample_data.h"
#include "shell/frm_main.h"

#include <QApplication>
#include <QDate>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTime>
#include <QToolButton>
#include <QTreeWidget>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using bench::median;

namespace {

constexpr std::size_t kChapterBytes = 20 * 1024;
// The two chapters the lookups alternate between (Matthew 5 and 10: their
// captions hold a single quote, so the query's literal is escaped).
constexpr std::size_t kChapterRows[2] = {4, 9};

struct Setup {
    std::filesystem::path drive;
    std::filesystem::path db;
    std::vector<std::pair<std::string, std::string>> rows;
    std::unique_ptr<rt::Program> program;
    QIcon bookIcon, rootIcon; // for the bare tree: the pictures the window's image list holds
    // For the bare window's toolbar: its pictures, made once as the program
    // makes its own once for every window it loads.
    std::vector<QIcon> toolbarIcons;
};
Setup *setup = nullptr;

std::map<std::string, std::vector<double>> samples; // seconds per iteration

using Clock = std::chrono::steady_clock;

void record(benchmark::State &state, const char *name, Clock::time_point start)
{
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    state.SetIterationTime(seconds);
    samples[name].push_back(seconds);
}

void flushEvents()
{
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

void makeSetup(const std::filesystem::path &root)
{
    setup->drive = root / "drive_c";
    const auto system32 = setup->drive / "WINDOWS" / "system32";
    std::filesystem::create_directories(system32);
    std::filesystem::create_directories(setup->drive / "Program Files" / "Velumir");
    std::filesystem::create_directories(root / "config");

    setup->rows = sample::testamentRows({velumir::newTestament()}, 1);
    for (std::size_t i = 0; i < 2; ++i) {
        auto &[caption, text] = setup->rows[kChapterRows[i]];
        text = caption + "\r\n" + sample::pseudoText(77 + i, kChapterBytes);
        text.resize(kChapterBytes);
    }
    setup->db = system32 / "tormin.udl.db";
    sample::makeChapterTable(setup->db, "mattew", setup->rows);
    sample::writeDataLink(system32 / "tormin.udl", "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\WINDOWS\\"
                                                   "system32\\tormin.udl.db;Persist Security Info=False");

    rt::Program::Options options;
    options.driveRoot = setup->drive;
    options.configRoot = root / "config";
    options.report = std::make_unique<rt::RecordedReports>();
    options.dialogs = std::make_unique<rt::ScriptedDialogs>();
    setup->program = std::make_unique<rt::Program>(std::move(options));
    velumir::initResources();
    setup->program->setMdiParentClass<velumir::frmMain>();
    // The main window loads once and shows the New Testament; the benchmarks
    // unload and load that window again.
    setup->program->form<velumir::frmMain>().Show();
    flushEvents();
    setup->bookIcon.addPixmap(QIcon(":/tree-book-closed.svg").pixmap(16, 16), QIcon::Normal);
    setup->bookIcon.addPixmap(QIcon(":/tree-book-open.svg").pixmap(16, 16), QIcon::Selected);
    setup->rootIcon.addPixmap(QIcon(":/tree-book-closed.svg").pixmap(16, 16), QIcon::Normal);
    setup->rootIcon.addPixmap(QIcon(":/tree-book-closed.svg").pixmap(16, 16), QIcon::Selected);
    for (const char *icon : {":/arrow-left.svg", ":/arrow-right.svg", ":/color-a.svg"})
        setup->toolbarIcons.emplace_back(icon);
}

velumir::NT &window() { return setup->program->form<velumir::NT>(); }

// ---- Loading the window

void loadWindow(benchmark::State &state, bool paint, const char *name)
{
    window().Unload();
    flushEvents();
    for (auto _ : state) {
        const auto start = Clock::now();
        window().Load();
        if (paint)
            QApplication::processEvents();
        record(state, name, start);
        if (window().tv().nodes().Count() != 288)
            state.SkipWithError("the tree does not hold 288 nodes");
        window().Unload();
        flushEvents();
    }
    window().Load();
    flushEvents();
}

void BM_WindowLoad(benchmark::State &state) { loadWindow(state, false, "load/window"); }
void BM_WindowLoadPainted(benchmark::State &state) { loadWindow(state, true, "load+paint/window"); }

// The bare tree: the root, the books, and one chapter item per row read.
void fillBareTree(QTreeWidget &tree, sqlite3_stmt *stmt)
{
    auto *root = new QTreeWidgetItem;
    root->setText(0, rt::toQString(std::string(velumir::kRootCaption)));
    root->setIcon(0, setup->rootIcon);
    tree.addTopLevelItem(root);
    for (const velumir::Book &book : velumir::newTestament()) {
        auto *bookItem = new QTreeWidgetItem;
        bookItem->setText(0, rt::toQString(std::string(book.caption)));
        bookItem->setIcon(0, setup->bookIcon);
        root->addChild(bookItem);
        for (int n = 1; n <= book.chapters && sqlite3_step(stmt) == SQLITE_ROW; ++n) {
            auto *chapter = new QTreeWidgetItem;
            chapter->setText(0, QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)),
                                                  sqlite3_column_bytes(stmt, 0)));
            chapter->setIcon(0, setup->bookIcon);
            bookItem->addChild(chapter);
        }
    }
}

// Opens the testament file bare, as sqlite3 alone does, and prepares the
// captions' query.
sqlite3_stmt *bareCaptions(sqlite3 *&db)
{
    if (sqlite3_open_v2(setup->db.string().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        throw std::runtime_error("cannot open the database");
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, "select word from mattew", -1, &stmt, nullptr);
    return stmt;
}

// The same work done bare: open the file, read the captions, fill a tree.
void loadBare(benchmark::State &state, bool paint, const char *name)
{
    QWidget host;
    host.resize(760, 620);
    host.show();
    flushEvents();
    const QFont font = window().tv().treeWidget()->font();
    for (auto _ : state) {
        const auto start = Clock::now();
        sqlite3 *db = nullptr;
        sqlite3_stmt *stmt = bareCaptions(db);
        auto *tree = new QTreeWidget(&host);
        tree->setHeaderHidden(true);
        tree->setFont(font);
        tree->setGeometry(0, 64, 225, 425);
        fillBareTree(*tree, stmt);
        sqlite3_finalize(stmt);
        tree->show();
        if (paint)
            QApplication::processEvents();
        record(state, name, start);
        sqlite3_close(db);
        delete tree;
        flushEvents();
    }
}

void BM_BareLoad(benchmark::State &state) { loadBare(state, false, "load/bare"); }
void BM_BareLoadPainted(benchmark::State &state) { loadBare(state, true, "load+paint/bare"); }

// The whole window from bare Qt widgets, placed as the window's design places
// its controls (twips / 15 = pixels), its tree filled from `stmt`.
QMdiSubWindow *bareWindow(sqlite3_stmt *stmt)
{
    velumir::NT &nt = window();
    auto *sub = new QMdiSubWindow;
    auto *area = new QWidget;
    sub->setWidget(area);
    sub->setWindowTitle("New Testment");
    area->setAutoFillBackground(true);
    area->setPalette(QColor(0xFF, 0xE0, 0xC0));
    area->resize(762, 617);

    auto *toolbar = new QWidget(area);
    toolbar->setGeometry(0, 0, 762, 28);
    auto *buttons = new QHBoxLayout(toolbar);
    buttons->setContentsMargins(2, 2, 2, 2);
    for (const QIcon &icon : setup->toolbarIcons) {
        auto *button = new QToolButton(toolbar);
        button->setIcon(icon);
        button->setAutoRaise(true);
        buttons->addWidget(button);
    }
    buttons->addStretch();

    auto *strip = new QWidget(area);
    strip->setGeometry(0, 28, 762, 36);
    auto *title = new QLabel(rt::toQString(nt.lblTitle().Caption()), strip);
    title->setFont(nt.lblTitle().widget()->font());
    title->setGeometry(0, 0, 129, 36);

    auto *handle = new QLabel(area);
    handle->setGeometry(224, 64, 10, 423);
    handle->setCursor(Qt::SplitHCursor);
    auto *tree = new QTreeWidget(area);
    tree->setHeaderHidden(true);
    tree->setFont(nt.tv().treeWidget()->font());
    tree->setGeometry(0, 64, 225, 425);
    fillBareTree(*tree, stmt);
    auto *text = new QTextEdit(area);
    text->setFont(nt.Text1().editor()->font());
    text->setGeometry(224, 64, 441, 425);
    auto *bar = new QWidget(area);
    bar->setGeometry(664, 56, 5, 432);
    bar->hide();

    auto *status = new QStatusBar(area);
    status->setGeometry(0, 591, 762, 26);
    status->addWidget(new QLabel("Status"), 1);
    status->addPermanentWidget(new QLabel(QDate::currentDate().toString(Qt::ISODate)));
    status->addPermanentWidget(new QLabel(QTime::currentTime().toString()));

    setup->program->mdiParent().mdiArea()->addSubWindow(sub);
    sub->showMaximized();
    return sub;
}

// Open the file, read the captions, build and show the bare window.
void loadBareWindow(benchmark::State &state, bool paint, const char *name)
{
    window().Load(); // its fonts, read by the bare window
    for (auto _ : state) {
        const auto start = Clock::now();
        sqlite3 *db = nullptr;
        sqlite3_stmt *stmt = bareCaptions(db);
        QMdiSubWindow *sub = bareWindow(stmt);
        sqlite3_finalize(stmt);
        if (paint)
            QApplication::processEvents();
        record(state, name, start);
        sqlite3_close(db);
        setup->program->mdiParent().mdiArea()->removeSubWindow(sub);
        delete sub;
        flushEvents();
    }
}

void BM_BareWindowLoad(benchmark::State &state) { loadBareWindow(state, false, "load/bare window"); }
void BM_BareWindowLoadPainted(benchmark::State &state) { loadBareWindow(state, true, "load+paint/bare window"); }

// ---- Building the tree alone: the window's own steps (open the link,
// read the captions, add the 288 nodes) on its loaded tree, against the same
// on a bare tree widget that stays; each is emptied between iterations.

void BM_WindowTreeBuild(benchmark::State &state)
{
    velumir::NT &nt = window();
    rt::TreeView &tv = nt.tv();
    const velumir::TestamentSource source{"C:\\WINDOWS\\system32\\tormin.udl", "mattew"};
    for (auto _ : state) {
        velumir::closeTestamentLink(nt.cnTestament, nt.rsWords);
        tv.nodes().Clear();
        flushEvents();
        const auto start = Clock::now();
        velumir::openTestamentLink(nt.cnTestament, nt.rsWords, source);
        velumir::addRootNode(tv, nt.nodAdded);
        velumir::addBooks(tv, nt.rsWords, nt.nodAdded, velumir::newTestament(), velumir::RunUnguarded{});
        record(state, "tree/window", start);
        if (tv.nodes().Count() != 288)
            state.SkipWithError("the tree does not hold 288 nodes");
    }
}

void BM_BareTreeBuild(benchmark::State &state)
{
    QTreeWidget tree;
    tree.setHeaderHidden(true);
    tree.setFont(window().tv().treeWidget()->font());
    for (auto _ : state) {
        tree.clear();
        flushEvents();
        const auto start = Clock::now();
        sqlite3 *db = nullptr;
        sqlite3_stmt *stmt = bareCaptions(db);
        fillBareTree(tree, stmt);
        sqlite3_finalize(stmt);
        sqlite3_close(db);
        record(state, "tree/bare", start);
    }
}

// ---- Looking up a chapter

std::string chapterKey(std::size_t row)
{
    for (const velumir::Book &book : velumir::newTestament()) {
        if (row < std::size_t(book.chapters))
            return std::string(book.key) + std::to_string(row + 1);
        row -= std::size_t(book.chapters);
    }
    throw std::logic_error("no such chapter");
}

// What follows the handler in the timed part of a lookup.
enum class After { Nothing, Paint, WholeLayout };

// The text pane lays out only the start of a long text at once and the rest
// from the message loop in small steps; asking the document its size lays
// out the rest at once.
void finish(After after, QTextEdit &edit)
{
    if (after == After::WholeLayout)
        benchmark::DoNotOptimize(edit.document()->size());
    if (after != After::Nothing)
        QApplication::processEvents();
}

void lookUpInWindow(benchmark::State &state, After after, const char *name)
{
    rt::TreeView &tv = window().tv();
    rt::Node *nodes[2] = {&tv.nodes().Item(chapterKey(kChapterRows[0])),
                          &tv.nodes().Item(chapterKey(kChapterRows[1]))};
    int turn = 0;
    for (auto _ : state) {
        rt::Node &node = *nodes[turn];
        const auto start = Clock::now();
        // What a click does: the node becomes the selected one, then NodeClick.
        tv.setSelectedItem(&node);
        tv.NodeClick.raise(node);
        finish(after, *window().Text1().editor());
        record(state, name, start);
        if (window().Text1().editor()->document()->characterCount() < 20000)
            state.SkipWithError("the chapter was not shown");
        turn ^= 1;
        flushEvents();
    }
}

void BM_WindowLookup(benchmark::State &state) { lookUpInWindow(state, After::Nothing, "lookup/window"); }
void BM_WindowLookupPainted(benchmark::State &state) { lookUpInWindow(state, After::Paint, "lookup+paint/window"); }
void BM_WindowLookupLaidOut(benchmark::State &state)
{
    lookUpInWindow(state, After::WholeLayout, "lookup+layout/window");
}

// The same query through sqlite3, its text set on a bare text box of the same
// size and font.
void lookUpBare(benchmark::State &state, After after, const char *name)
{
    QTextEdit *shown = window().Text1().editor();
    QWidget host;
    host.resize(760, 620);
    auto *edit = new QTextEdit(&host);
    edit->setFont(shown->font());
    edit->document()->setDefaultFont(shown->document()->defaultFont());
    edit->setGeometry(shown->geometry());
    host.show();
    flushEvents();
    sqlite3 *db = nullptr;
    sqlite3_open_v2(setup->db.string().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    std::string sql[2];
    for (int i = 0; i < 2; ++i) {
        std::string caption = setup->rows[kChapterRows[i]].first;
        std::string literal;
        for (char c : caption)
            literal += c == '\'' ? std::string("''") : std::string(1, c);
        sql[i] = "select * from mattew where word='" + rt::toUtf8(literal) + "'";
    }
    int turn = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(db, sql[turn].c_str(), int(sql[turn].size()), &stmt, nullptr);
        if (sqlite3_step(stmt) == SQLITE_ROW) {
            QString text = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1)),
                                             sqlite3_column_bytes(stmt, 1));
            text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            edit->setPlainText(text);
        }
        sqlite3_finalize(stmt);
        finish(after, *edit);
        record(state, name, start);
        if (edit->document()->characterCount() < 20000)
            state.SkipWithError("the chapter was not shown");
        turn ^= 1;
        flushEvents();
    }
    sqlite3_close(db);
}

void BM_BareLookup(benchmark::State &state) { lookUpBare(state, After::Nothing, "lookup/bare"); }
void BM_BareLookupPainted(benchmark::State &state) { lookUpBare(state, After::Paint, "lookup+paint/bare"); }
void BM_BareLookupLaidOut(benchmark::State &state) { lookUpBare(state, After::WholeLayout, "lookup+layout/bare"); }

BENCHMARK(BM_WindowLoad)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareLoad)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowLoadPainted)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareLoadPainted)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareWindowLoad)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareWindowLoadPainted)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowTreeBuild)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareTreeBuild)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowLookup)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BareLookup)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WindowLookupPainted)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BareLookupPainted)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WindowLookupLaidOut)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BareLookupLaidOut)->UseManualTime()->Unit(benchmark::kMicrosecond);

// One line of the summary: `what` in the window against the same in `against`,
// and what the two do (`compared`).
void summary(const char *what, double aimSeconds, const char *against, const char *compared)
{
    const double program = median(samples[std::string(what) + "/window"]);
    const double bare = median(samples[std::string(what) + "/" + against]);
    if (program == 0 || bare == 0)
        return;
    std::printf("%-14s window %8.3f ms   %-11s %8.3f ms   ratio %5.2fx (aim 1.5x)   under %2.0f ms: %-3s   %s\n",
                what, program * 1e3, against, bare * 1e3, program / bare, aimSeconds * 1e3,
                program <= aimSeconds ? "yes" : "NO", compared);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    testing_support::quietOffscreenMessages();
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    benchmark::Initialize(&argc, argv);

    QTemporaryDir dir;
    Setup state;
    setup = &state;
    makeSetup(std::filesystem::path(dir.path().toStdString()));

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::printf("\nMedians per iteration (window: the New Testament window; bare: sqlite3 and a bare tree; "
                "bare window: sqlite3 and the same window of bare widgets)\n");
    const char *toTree = "the window's Load() vs opening the file, reading the captions, filling a bare tree "
                         "(no floor: the window does more)";
    const char *toWindow = "the window's Load() vs the same window of bare widgets, filled the same way, icons "
                           "made once in both (the floor)";
    summary("load", 0.020, "bare", toTree);
    summary("load", 0.020, "bare window", toWindow);
    summary("load+paint", 0.020, "bare", toTree);
    summary("load+paint", 0.020, "bare window", toWindow);
    summary("tree", 0.020, "bare", "the window's tree-building steps vs filling a bare tree, both from sqlite3");
    summary("lookup", 0.001, "bare", "a click on a chapter vs the query through sqlite3 and setPlainText");
    summary("lookup+paint", 0.001, "bare", "the same, then the paint it queued");
    summary("lookup+layout", 0.001, "bare", "the same, then the layout of the whole chapter");

    state.program.reset();
    flushEvents();
    setup = nullptr;
    return 0;
}
