#include "support/program_fixture.h"
#include "support/window_helpers.h"

#include "app.h"
#include "browser/new_testament_window.h"
#include "browser/old_testament_window.h"
#include "runtime/controls/common_dialog.h"
#include "runtime/controls/image_list.h"
#include "runtime/controls/menu.h"
#include "runtime/controls/rich_text_box.h"
#include "runtime/controls/toolbar.h"
#include "runtime/controls/tree_view.h"
#include "runtime/data/data_errors.h"
#include "sample_data.h"
#include "shell/frm_main.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTreeWidget>

using namespace velumir;
using testing_support::clickNode;
using testing_support::ProgramTest;

namespace {

class OldTestament : public ProgramTest {
public:
    OT &openOldTestament()
    {
        makeNewTestament();
        startToMainWindow();
        form<OT>().Show();
        processEvents();
        return form<OT>();
    }
    void activate(rt::Form &window)
    {
        form<frmMain>().mdiArea()->setActiveSubWindow(window.subWindow());
        processEvents();
    }
    static std::vector<std::string> bookKeys(rt::TreeView &tv)
    {
        std::vector<std::string> keys;
        for (rt::Node *book = tv.nodes().Item("root").Child(); book; book = book->Next())
            keys.push_back(book->Key());
        return keys;
    }
    std::string row(int number) const { return oldTestamentRows[std::size_t(number - 1)].first; }
};

TEST_F(OldTestament, LoadAndFirstActivationGiveThirtyOneBooksAndTheFirstExpansionCompletesTheTree)
{
    makeOldTestament();
    auto &ot = openOldTestament();
    auto &tv = ot.tv();
    EXPECT_EQ(ot.Caption(), "Old Testement");
    EXPECT_EQ(ot.ImageList1().Count(), 10);
    EXPECT_EQ(tv.nodes().Item("root").Children(), 31);
    EXPECT_FALSE(tv.nodes().Item("root").Expanded());
    EXPECT_EQ(ot.rsWords.AbsolutePosition(), 615);

    tv.nodes().Item("root").setExpanded(true);
    processEvents();
    EXPECT_EQ(tv.nodes().Count(), 969);
    const std::vector<std::string> expected = {"a",  "b",  "c",  "d",  "e",  "f",  "g",  "h",  "i",  "j",
                                               "k",  "u",  "v",  "w",  "aa", "bb", "cc", "dd", "ee", "ff",
                                               "gg", "hh", "ii", "jj", "kk", "ll", "mm", "nn", "oo", "pp",
                                               "qq", "l",  "m",  "n",  "p",  "q",  "r",  "s",  "t"};
    EXPECT_EQ(bookKeys(tv), expected);
    EXPECT_TRUE(ot.rsWords.Eof());

    // The first and last chapter of every part take their own rows.
    const std::pair<const char *, int> rows[] = {{"a1", 1},    {"e34", 187}, {"k22", 313}, {"u1", 314},
                                                 {"bb52", 482}, {"qq4", 614}, {"l1", 615},  {"t150", 929}};
    for (const auto &[key, number] : rows) {
        EXPECT_EQ(tv.nodes().Item(key).Text(), row(number)) << key;
        EXPECT_EQ(tv.nodes().Item(key).Tag(), rt::Variant("child")) << key;
    }
    EXPECT_TRUE(reportedNumbers().empty());
}

TEST_F(OldTestament, LaterActivationsAndExpansionsAddNothingAndReadNoRow)
{
    makeOldTestament();
    auto &ot = openOldTestament();
    activate(form<NT>());
    activate(ot);
    activate(form<NT>());
    activate(ot);
    form<frmMain>().menu("mnuOT").action()->trigger();
    processEvents();
    EXPECT_EQ(ot.tv().nodes().Item("root").Children(), 31);
    EXPECT_EQ(ot.rsWords.AbsolutePosition(), 615);

    ot.tv().nodes().Item("root").setExpanded(true);
    ot.tv().nodes().Item("a").setExpanded(true);
    ot.tv().nodes().Item("t").setExpanded(true);
    processEvents();
    EXPECT_EQ(ot.tv().nodes().Count(), 969);
    EXPECT_EQ(ot.tv().nodes().Item("l1").Text(), row(615));
    EXPECT_EQ(ot.tv().nodes().Item("t150").Text(), row(929));
}

TEST_F(OldTestament, LaterActivationsAndExpansionsReadNoRowOfALongerTable)
{
    // With rows to spare after the 929th, a builder that ran again would move on through them.
    auto rows = oldTestamentRows;
    for (int i = 1; i <= 700; ++i)
        rows.emplace_back("more " + std::to_string(i), "spare text");
    makeTestament("tormio.udl", "Bible", rows);
    auto &ot = openOldTestament();
    auto &root = ot.tv().nodes().Item("root");
    root.setExpanded(true);
    processEvents();
    ASSERT_EQ(ot.rsWords.AbsolutePosition(), 930);

    root.setExpanded(false);
    root.setExpanded(true);
    ot.tv().nodes().Item("t").setExpanded(true);
    activate(form<NT>());
    activate(ot);
    processEvents();
    EXPECT_EQ(ot.rsWords.AbsolutePosition(), 930);
    EXPECT_EQ(ot.tv().nodes().Count(), 969);
    EXPECT_EQ(ot.tv().nodes().Item("t150").Text(), row(929));
}

// Short tables: the builders add what rows there are; every book node stands,
// no book node is tagged, and each chapter that has a row takes its own.
class ShortOldTestament : public OldTestament, public ::testing::WithParamInterface<int> {};

TEST_P(ShortOldTestament, AddsTheChaptersThereAreRowsFor)
{
    const int rows = GetParam();
    makeOldTestament(rows);
    auto &ot = openOldTestament();
    ot.tv().nodes().Item("root").setExpanded(true);
    processEvents();
    auto &nodes = ot.tv().nodes();
    EXPECT_EQ(nodes.Count(), 1 + 39 + rows);
    EXPECT_EQ(nodes.Item("root").Children(), 39);
    for (rt::Node *book = nodes.Item("root").Child(); book; book = book->Next())
        EXPECT_TRUE(book->Tag().isEmpty()) << book->Key();
    if (rows > 313) {
        EXPECT_EQ(nodes.Item("u1").Text(), row(314));
    }
    if (rows > 614) {
        EXPECT_EQ(nodes.Item("l1").Text(), row(615));
    }
    EXPECT_TRUE(reportedNumbers().empty());
}

INSTANTIATE_TEST_SUITE_P(Rows, ShortOldTestament, ::testing::Values(313, 553, 578, 700, 800));

TEST_F(OldTestament, TooFewRowsForTheLoadAreReportedAndTheWindowIsUnloaded)
{
    makeOldTestament(312);
    makeNewTestament();
    startToMainWindow();
    form<frmMain>().menu("mnuOT").action()->trigger();
    processEvents();
    EXPECT_EQ(reportedNumbers(), std::vector<int>{rt::err::NoCurrentRecord});
    EXPECT_FALSE(form<OT>().IsLoaded());
    EXPECT_EQ(form<OT>().cnTestament.State(), 0);
}

TEST_F(OldTestament, ANullCaptionCostsOnlyItsOwnChapter)
{
    std::vector<sample::ChapterRow> rows;
    for (const auto &[word, text] : oldTestamentRows)
        rows.push_back({word, text});
    rows[399].word.reset(); // row 400: a chapter of Isaiah
    sample::makeChapterTableWithNulls(system32() / "ot.db", "Bible", rows);
    sample::writeDataLink(system32() / "tormio.udl",
                          "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\WINDOWS\\system32\\ot.db");
    auto &ot = openOldTestament();
    ot.tv().nodes().Item("root").setExpanded(true);
    processEvents();
    EXPECT_EQ(ot.tv().nodes().Count(), 968);
    EXPECT_EQ(ot.tv().nodes().Item("l1").Text(), row(615));
    EXPECT_TRUE(reportedNumbers().empty());
}

TEST_F(OldTestament, ReloadingStartsAgainFromTheFirstRow)
{
    makeOldTestament();
    auto &ot = openOldTestament();
    ot.tv().nodes().Item("root").setExpanded(true);
    processEvents();
    ot.outer()->close();
    processEvents();
    EXPECT_EQ(ot.cnTestament.State(), 0);

    form<frmMain>().menu("mnuOT").action()->trigger();
    processEvents();
    ASSERT_TRUE(ot.IsLoaded());
    EXPECT_EQ(ot.tv().nodes().Item("a1").Text(), row(1));
    EXPECT_EQ(ot.tv().nodes().Item("u1").Text(), row(314));
    EXPECT_EQ(ot.tv().nodes().Item("root").Children(), 31);
    ot.tv().nodes().Item("root").setExpanded(true);
    processEvents();
    EXPECT_EQ(ot.tv().nodes().Item("t150").Text(), row(929));
}

TEST_F(OldTestament, AClickLooksTheChapterUpInBibleOnItsOwnConnection)
{
    makeOldTestament();
    auto &ot = openOldTestament();
    clickNode(ot.tv(), ot.tv().nodes().Item("k22"));
    EXPECT_EQ(ot.Text1().Text(), oldTestamentRows[312].second);
    clickNode(ot.tv(), ot.tv().nodes().Item("t150"));
    EXPECT_EQ(ot.Text1().Text(), oldTestamentRows[928].second);
    clickNode(ot.tv(), ot.tv().nodes().Item("t"));
    EXPECT_EQ(ot.Text1().Text(), "");
    // The New Testament's pane is untouched.
    EXPECT_EQ(form<NT>().Text1().Text(), "");
}

TEST_F(OldTestament, EachBrowserWindowRemembersItsOwnColour)
{
    makeOldTestament();
    auto &ot = openOldTestament();
    auto &nt = form<NT>();
    dialogs().answer(QColor(0xFF, 0, 0));
    nt.tbToolBar().Buttons("Color").click();
    EXPECT_EQ(nt.CommonDialog1().Color(), 0x0000FF);
    // A green word in the Old Testament's pane: Cancel gives it the colour
    // its own dialog holds, black, not the New Testament's red.
    rt::RichTextBox &pane = ot.Text1();
    pane.setText("alpha bravo");
    pane.setSelStart(0);
    pane.setSelLength(5);
    pane.setSelColor(0x00FF00);
    ASSERT_EQ(pane.SelColor(), 0x00FF00);
    dialogs().cancel();
    ot.tbToolBar().Buttons("Color").click();
    EXPECT_EQ(ot.CommonDialog1().Color(), 0);
    EXPECT_EQ(pane.SelText(), "alpha");
    EXPECT_EQ(pane.SelColor(), 0);
    EXPECT_EQ(ot.tbToolBar().Buttons("Color").ToolTipText(), "Color Bible Text");
}

} // namespace
