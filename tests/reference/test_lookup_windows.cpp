#include "support/program_fixture.h"

#include "reference/lookup_window.h"
#include "runtime/controls/basic_controls.h"
#include "runtime/controls/data_combo.h"
#include "runtime/controls/data_combo_list.h"
#include "runtime/controls/rich_text_box.h"
#include "runtime/controls/status_bar.h"
#include "runtime/data/data_errors.h"
#include "runtime/text/legacy_text.h"
#include "sample_data.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include <functional>

using namespace velumir;
using sample::LookupRow;
using testing_support::ProgramTest;

namespace {

const char *const kKhmerDictionary = "Khmer Dictionary";

class LookupTest : public ProgramTest {
public:
    void SetUp() override
    {
        ProgramTest::SetUp();
        makeNewTestament();
    }

    void makeLookup(const std::string &file, const std::vector<LookupRow> &rows)
    {
        sample::makeLookupTable(system32() / file, rows);
    }
    void sql(const std::string &file, const std::string &statement) { sample::execute(system32() / file, statement); }

    template <class W>
    W &open()
    {
        startToMainWindow();
        program().run([&] { form<W>().Show(); });
        processEvents();
        return form<W>();
    }

    // Clicks a line of the headword list, as the user chooses a headword.
    static void clickRow(LookupWindow &window, long row)
    {
        rt::DataComboList *list = window.DC1().listBox();
        list->verticalScrollBar()->setValue(int(row)); // scrolled so that the line shows at the top
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->lineRect(row).center());
    }

    static std::vector<LookupRow> threeRows()
    {
        return {{1, "kak", "entry one"}, {2, "kh\xE2y", "entry two \xA7\xFE"}, {3, "gat", "entry three"}};
    }
};

// ---- the three windows

struct WindowCase {
    std::string file;
    std::function<LookupWindow &(LookupTest &)> open;
    std::string caption;
    std::string title;
};

class ThreeWindows : public LookupTest, public ::testing::WithParamInterface<int> {
public:
    LookupWindow &openCase(const WindowCase &c) { return c.open(*this); }
    static std::vector<WindowCase> cases()
    {
        return {{"Concordance", [](LookupTest &t) -> LookupWindow & { return t.open<Concordance>(); },
                 "Concordance", "xeyag nig Bn\xFCl;xKm<Ir"},
                {"Bible Dictionary", [](LookupTest &t) -> LookupWindow & { return t.open<Dictionary>(); },
                 "Bible Dictionary", "Bn\xFCl;Bak\xFCk\xF1\xFAgRBHKm<Ir"},
                {"Khmer Dictionary", [](LookupTest &t) -> LookupWindow & { return t.open<KhmerDic>(); },
                 "Khmer Dictionary", "vnanuRkmEx\xB5r"}};
    }
};

TEST_P(ThreeWindows, EachListsItsOwnDatabaseAndShowsTheChosenEntry)
{
    const WindowCase c = cases()[std::size_t(GetParam())];
    // Every window reads its own file: the others hold other rows.
    for (const WindowCase &other : cases())
        makeLookup(other.file, {{7, "in " + other.file, "from " + other.file}, {8, "second", "second entry"}});

    LookupWindow &window = openCase(c);
    ASSERT_TRUE(window.IsLoaded());
    EXPECT_EQ(window.Caption(), c.caption);
    EXPECT_EQ(window.lblTitle().Caption(), c.title);
    EXPECT_EQ(window.WindowState(), rt::vbMaximized);
    ASSERT_EQ(window.DC1().ListCount(), 2);
    EXPECT_EQ(window.DC1().List(0), "in " + c.file);
    EXPECT_EQ(window.RTB1().Text(), "");

    clickRow(window, 0);
    EXPECT_EQ(window.DC1().BoundText(), "7");
    EXPECT_EQ(window.DC1().Text(), "in " + c.file);
    EXPECT_EQ(window.RTB1().Text(), "from " + c.file);
    clickRow(window, 1); // the text replaces the whole pane
    EXPECT_EQ(window.RTB1().Text(), "second entry");
    EXPECT_TRUE(reportedNumbers().empty());
}

INSTANTIATE_TEST_SUITE_P(Windows, ThreeWindows, ::testing::Values(0, 1, 2));

// ---- entries

TEST_F(LookupTest, ListsTheHeadwordsInRowOrderAsLegacyBytes)
{
    makeLookup(kKhmerDictionary, {{30, "z last first", "a"}, {10, "\xE1\xA7\xFF", "b"}, {20, "mid", "c"}});
    auto &window = open<KhmerDic>();
    ASSERT_EQ(window.DC1().ListCount(), 3);
    EXPECT_EQ(window.DC1().List(0), "z last first");
    EXPECT_EQ(window.DC1().List(1), "\xE1\xA7\xFF");
    EXPECT_EQ(window.DC1().listBox()->lineText(1), rt::toQString("\xE1\xA7\xFF"));
    clickRow(window, 1);
    EXPECT_EQ(window.DC1().BoundText(), "10");
    EXPECT_EQ(window.RTB1().Text(), "b");
}

TEST_F(LookupTest, ANullEntryEmptiesThePane)
{
    makeLookup(kKhmerDictionary, {{1, "full", "some text"}, {2, "null", std::nullopt}});
    auto &window = open<KhmerDic>();
    clickRow(window, 0);
    ASSERT_EQ(window.RTB1().Text(), "some text");
    clickRow(window, 1);
    EXPECT_EQ(window.RTB1().Text(), "");
    EXPECT_TRUE(reportedNumbers().empty());
}

TEST_F(LookupTest, ARowRemovedAfterLoadIsStillListedAndLeavesThePaneAsItWas)
{
    makeLookup(kKhmerDictionary, threeRows());
    auto &window = open<KhmerDic>();
    clickRow(window, 0);
    ASSERT_EQ(window.RTB1().Text(), "entry one");

    sql(kKhmerDictionary, "DELETE FROM tblDictionary WHERE ID=2");
    sql(kKhmerDictionary, "INSERT INTO tblDictionary VALUES (4, 'new', 'not listed')");
    ASSERT_EQ(window.DC1().ListCount(), 3);
    EXPECT_EQ(window.DC1().List(1), "kh\xE2y");
    clickRow(window, 1);
    EXPECT_EQ(window.DC1().BoundText(), "2");
    EXPECT_EQ(window.RTB1().Text(), "entry one");
    EXPECT_TRUE(reportedNumbers().empty());
}

TEST_F(LookupTest, TwoRowsWithOneIdShowTheFirstRowsEntry)
{
    makeLookup(kKhmerDictionary, {{5, "first", "first entry"}, {6, "other", "other entry"}, {5, "twin", "twin entry"}});
    auto &window = open<KhmerDic>();
    clickRow(window, 1);
    clickRow(window, 2);
    EXPECT_EQ(window.DC1().Text(), "twin");
    EXPECT_EQ(window.RTB1().Text(), "first entry");
}

TEST_F(LookupTest, AnEmptyTableGivesAnEmptyListAndPane)
{
    makeLookup(kKhmerDictionary, {});
    auto &window = open<KhmerDic>();
    ASSERT_TRUE(window.IsLoaded());
    EXPECT_EQ(window.DC1().ListCount(), 0);
    QTest::keyClicks(window.DC1().editLine(), "ka");
    EXPECT_EQ(window.DC1().BoundText(), "");
    EXPECT_EQ(window.RTB1().Text(), "");
    EXPECT_TRUE(reportedNumbers().empty());
}

// IDs that are no number never reach the query: the pane keeps its text and
// nothing is reported. Each text that would run as SQL picks another row's
// entry (SQLite runs only the first statement of the text).
struct BadId {
    const char *sqlValue;
};
void PrintTo(const BadId &id, std::ostream *out) { *out << id.sqlValue; }

class BadIds : public LookupTest, public ::testing::WithParamInterface<BadId> {};

TEST_P(BadIds, LeaveThePaneUnchangedAndReportNothing)
{
    sql(kKhmerDictionary, "CREATE TABLE tblDictionary (ID, Names TEXT, Traslation TEXT)");
    sql(kKhmerDictionary, "INSERT INTO tblDictionary VALUES (1, 'one', 'entry one'), (2, 'two', 'entry two'), "
                          "(3, 'three', 'entry three'), (" + std::string(GetParam().sqlValue) + ", 'bad', 'bad entry')");
    auto &window = open<KhmerDic>();
    clickRow(window, 1);
    ASSERT_EQ(window.RTB1().Text(), "entry two");
    clickRow(window, 3);
    EXPECT_EQ(window.DC1().Text(), "bad");
    EXPECT_EQ(window.RTB1().Text(), "entry two");
    EXPECT_TRUE(reportedNumbers().empty());
}

INSTANTIATE_TEST_SUITE_P(Values, BadIds,
                         ::testing::Values(BadId{"'1 OR ID=3'"}, BadId{"'1 OR 1=1 ORDER BY ID DESC'"},
                                           BadId{"'1; DROP TABLE tblDictionary'"}, BadId{"' 3'"}, BadId{"NULL"},
                                           BadId{"''"}, BadId{"'abc'"}));

TEST(NumberText, OnlyPlainNumbersPass)
{
    for (const char *text : {"0", "12", "-3", "2.5", ".5", "7.", "1E+20", "-1.5e-07"})
        EXPECT_TRUE(isNumberText(text)) << text;
    for (const char *text : {"", "-", ".", "1e", "1E+", "0x10", " 1", "1 ", "1;", "1 OR 1=1", "+1", "1-1", "--1"})
        EXPECT_FALSE(isNumberText(text)) << text;
}

// ---- the headword list

TEST_F(LookupTest, TypingJumpsToTheFirstHeadwordThatStartsWithIt)
{
    std::vector<LookupRow> rows;
    for (int i = 1; i <= 2000; ++i) {
        const std::string n = std::to_string(i);
        rows.push_back({i, std::string("w").append(n), std::string("entry ").append(n)});
    }
    rows.push_back({5000, "zeta", "the zeta entry"});
    rows.push_back({5001, "zebra", "the zebra entry"});
    makeLookup(kKhmerDictionary, rows);
    auto &window = open<KhmerDic>();
    rt::DataComboList *list = window.DC1().listBox();

    QTest::keyClicks(window.DC1().editLine(), "zeb");
    EXPECT_EQ(window.DC1().SelectedRow(), 2001);
    EXPECT_EQ(window.DC1().BoundText(), "5001");
    EXPECT_EQ(window.RTB1().Text(), "the zebra entry");
    EXPECT_EQ(window.DC1().Text(), "zeb"); // the typed text stays
    EXPECT_TRUE(list->viewport()->rect().contains(list->lineRect(2001)));

    QTest::keyClick(window.DC1().editLine(), Qt::Key_Up); // the arrows move through the list
    EXPECT_EQ(window.DC1().BoundText(), "5000");
    EXPECT_EQ(window.DC1().Text(), "zeta");
    EXPECT_EQ(window.RTB1().Text(), "the zeta entry");

    // Typing after a choice, in the edit line or in the list, searches afresh.
    QTest::keyClicks(window.DC1().editLine(), "w19");
    EXPECT_EQ(window.DC1().BoundText(), "19");
    clickRow(window, 0);
    QTest::keyClick(list, 'z'); // the first key takes the focus to the edit line
    QTest::keyClicks(window.DC1().editLine(), "et");
    EXPECT_EQ(window.DC1().Text(), "zet");
    EXPECT_EQ(window.DC1().BoundText(), "5000");
    EXPECT_EQ(window.RTB1().Text(), "the zeta entry");

    // Text that starts no headword chooses none; the pane stays.
    window.DC1().editLine()->clear();
    QTest::keyClicks(window.DC1().editLine(), "q");
    EXPECT_EQ(window.DC1().SelectedRow(), -1);
    EXPECT_EQ(window.DC1().BoundText(), "");
    EXPECT_EQ(window.RTB1().Text(), "the zeta entry");
    EXPECT_TRUE(reportedNumbers().empty());
}

TEST_F(LookupTest, DownGoesOnFromWhereTheListStands)
{
    makeLookup(kKhmerDictionary, threeRows());
    auto &window = open<KhmerDic>();
    QLineEdit *edit = window.DC1().editLine();
    ASSERT_TRUE(edit->hasFocus());

    // Freshly opened, the first Down chooses the first headword.
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(window.DC1().SelectedRow(), 0);
    EXPECT_EQ(window.RTB1().Text(), "entry one");
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(window.DC1().SelectedRow(), 1);

    // A search that matches nothing leaves the list where it stands.
    QTest::keyClicks(edit, "q");
    ASSERT_EQ(window.DC1().SelectedRow(), -1);
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(window.DC1().SelectedRow(), 2);
    EXPECT_EQ(window.RTB1().Text(), "entry three");
}

// In the list, the keys move the choice and scroll it into view; from no
// current line any of them takes the first line (End the last), and a key
// that stays on the chosen line changes nothing.
TEST_F(LookupTest, KeysInTheListMoveTheChoice)
{
    std::vector<LookupRow> rows;
    for (int i = 1; i <= 40; ++i)
        rows.push_back({i, "w" + std::to_string(i), "entry " + std::to_string(i)});
    makeLookup(kKhmerDictionary, rows);
    auto &window = open<KhmerDic>();
    rt::DataComboList *list = window.DC1().listBox();
    list->setFocus();
    const long page = list->viewport()->height() / list->lineHeight() - 1;
    ASSERT_GE(page, 1);
    ASSERT_LT(page, 20);

    const struct {
        Qt::Key key;
        long row;
        bool changes;
    } steps[] = {{Qt::Key_Up, 0, true},          {Qt::Key_Up, 0, false},  {Qt::Key_PageDown, page, true},
                 {Qt::Key_End, 39, true},        {Qt::Key_Down, 39, false}, {Qt::Key_PageUp, 39 - page, true},
                 {Qt::Key_Home, 0, true}};
    for (const auto &step : steps) {
        window.RTB1().setText("unchanged");
        QTest::keyClick(list, step.key);
        EXPECT_EQ(window.DC1().SelectedRow(), step.row) << step.key;
        EXPECT_EQ(window.RTB1().Text(), step.changes ? "entry " + std::to_string(step.row + 1) : "unchanged")
            << step.key;
        EXPECT_TRUE(list->viewport()->rect().contains(list->lineRect(step.row))) << step.key;
    }
    EXPECT_EQ(window.DC1().Text(), "w1");
}

TEST_F(LookupTest, ChangeIsRaisedOncePerChoiceAndPerEdit)
{
    makeLookup(kKhmerDictionary, threeRows());
    auto &window = open<KhmerDic>();
    int changes = 0;
    window.DC1().Change.connect([&] { ++changes; });
    clickRow(window, 1);
    EXPECT_EQ(changes, 1);
    clickRow(window, 1); // the same line again changes nothing
    EXPECT_EQ(changes, 1);
    window.DC1().setText("g");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(window.DC1().SelectedRow(), 2);
    window.DC1().setSelectedRow(0);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(window.DC1().Text(), "kak");
}

// ---- loading and unloading

struct LoadFailure {
    const char *name;
    std::function<void(LookupTest &, const std::filesystem::path &)> make;
    int number;
};
void PrintTo(const LoadFailure &failure, std::ostream *out) { *out << failure.name; }

class LoadFailures : public LookupTest, public ::testing::WithParamInterface<LoadFailure> {};

TEST_P(LoadFailures, AreReportedOnceAndTheWindowIsUnloadedAgain)
{
    const std::filesystem::path file = system32() / kKhmerDictionary;
    GetParam().make(*this, file);
    auto &window = open<KhmerDic>();
    EXPECT_EQ(reportedNumbers(), std::vector<int>{GetParam().number});
    EXPECT_FALSE(window.IsLoaded());
    EXPECT_EQ(window.cnLookup.State(), 0);

    // Mended, the next showing opens on the same connection.
    std::filesystem::remove(file);
    makeLookup(kKhmerDictionary, threeRows());
    program().run([&] { window.Show(); });
    EXPECT_TRUE(window.IsLoaded());
    EXPECT_EQ(window.DC1().ListCount(), 3);
    EXPECT_EQ(reportedNumbers().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadFailures,
    ::testing::Values(LoadFailure{"MissingFile", [](LookupTest &, const std::filesystem::path &) {},
                                  rt::err::ProviderError},
                      LoadFailure{"MissingTable",
                                  [](LookupTest &, const std::filesystem::path &file) {
                                      sample::execute(file, "CREATE TABLE other (ID INTEGER)");
                                  },
                                  rt::err::TableNotFound},
                      LoadFailure{"NoNamesColumn",
                                  [](LookupTest &, const std::filesystem::path &file) {
                                      sample::execute(file, "CREATE TABLE tblDictionary (ID INTEGER, Traslation TEXT)");
                                  },
                                  rt::err::ItemNotFound}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(LookupTest, ClosingClosesTheListAndReopeningListsAfreshFromTheFile)
{
    makeLookup(kKhmerDictionary, threeRows());
    auto &window = open<KhmerDic>();
    clickRow(window, 2);
    ASSERT_EQ(window.RTB1().Text(), "entry three");

    window.Unload();
    processEvents();
    EXPECT_FALSE(window.IsLoaded());
    EXPECT_EQ(window.rsLookup.State(), 0);
    EXPECT_EQ(window.cnLookup.State(), 0);

    sql(kKhmerDictionary, "INSERT INTO tblDictionary VALUES (4, 'fourth', 'entry four')");
    program().run([&] { window.Show(); });
    processEvents();
    ASSERT_TRUE(window.IsLoaded());
    EXPECT_EQ(window.rsLookup.State(), 1);
    EXPECT_EQ(window.DC1().ListCount(), 4);
    EXPECT_EQ(window.RTB1().Text(), "");
    clickRow(window, 3);
    EXPECT_EQ(window.RTB1().Text(), "entry four");
    EXPECT_TRUE(reportedNumbers().empty());
}

TEST_F(LookupTest, TwoLookupWindowsKeepTheirOwnConnections)
{
    makeLookup("Concordance", {{1, "con", "concordance entry"}});
    makeLookup(kKhmerDictionary, {{1, "khm", "dictionary entry"}});
    auto &khmer = open<KhmerDic>();
    program().run([&] { form<Concordance>().Show(); });
    auto &concordance = form<Concordance>();
    concordance.Unload();
    clickRow(khmer, 0);
    EXPECT_EQ(khmer.RTB1().Text(), "dictionary entry");
    EXPECT_TRUE(reportedNumbers().empty());
}

// ---- layout

TEST_F(LookupTest, AfterAResizeThePanesStartBelowTheStripAndEndAtTheStatusBar)
{
    makeLookup(kKhmerDictionary, threeRows());
    auto &window = open<KhmerDic>();
    window.setWindowState(rt::vbNormal);
    processEvents();
    window.setWidth(9000);
    window.setHeight(6500);
    processEvents();

    EXPECT_EQ(window.picTitles().Top(), 0);
    EXPECT_EQ(window.picTitles().Height(), 540);
    for (rt::Control *pane : {static_cast<rt::Control *>(&window.DC1()), static_cast<rt::Control *>(&window.RTB1()),
                              static_cast<rt::Control *>(&window.imgSplitter())}) {
        EXPECT_EQ(pane->Top(), 540);
        EXPECT_EQ(pane->Top() + pane->Height(), window.sbStatusBar().Top());
    }
    EXPECT_EQ(window.sbStatusBar().Top() + window.sbStatusBar().Height(), window.ScaleHeight());
    const float x = window.imgSplitter().Left();
    EXPECT_EQ(window.DC1().Width(), x);
    EXPECT_EQ(window.lblTitle().Width(), x);
    EXPECT_EQ(window.RTB1().Left(), x + 40);
    EXPECT_EQ(window.RTB1().Width(), 9000 - (x + 140));
    // The list fills the pane below the edit line.
    EXPECT_EQ(window.DC1().editLine()->geometry().top(), 0);
    EXPECT_EQ(window.DC1().listBox()->geometry().top(), window.DC1().editLine()->geometry().bottom() + 1);
    EXPECT_EQ(window.DC1().listBox()->geometry().bottom(), window.DC1().widget()->height() - 1);
}

} // namespace
