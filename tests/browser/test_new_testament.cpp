#include "support/program_fixture.h"
#include "support/window_helpers.h"

#include "app.h"
#include "browser/new_testament_window.h"
#include "runtime/controls/rich_text_box.h"
#include "runtime/controls/tree_view.h"
#include "sample_data.h"
#include "shell/frm_main.h"

#include <QTreeWidget>

using namespace velumir;
using testing_support::clickNode;
using testing_support::ProgramTest;

namespace {

class NewTestament : public ProgramTest {
protected:
    NT &openNewTestament()
    {
        startToMainWindow();
        return form<NT>();
    }
    // The first line of a sample chapter text is its caption.
    static std::string firstLine(const std::string &text) { return text.substr(0, text.find("\r\n")); }
};

TEST_F(NewTestament, TreeHoldsTheCatalogueCaptionedFromTheRowsInOrder)
{
    auto rows = newTestamentRows;
    rows.push_back({"extra row", "never read"});
    makeTestament("tormin.udl", "mattew", rows);
    auto &nt = openNewTestament();
    auto &nodes = nt.tv().nodes();

    ASSERT_EQ(nodes.Count(), 288);
    rt::Node &root = nodes.Item("root");
    EXPECT_EQ(root.Tag(), rt::Variant("root"));
    EXPECT_EQ(root.Children(), 27);
    EXPECT_EQ(root.Child()->Key(), "a");
    EXPECT_EQ(root.Child()->Text(), "m:afay");
    EXPECT_EQ(root.Child()->Children(), 28);
    EXPECT_EQ(nodes.Item("zz").Next(), &nodes.Item("xx"));
    EXPECT_EQ(nodes.Item("xx").Children(), 22);
    EXPECT_EQ(nodes.Item("a").Tag(), rt::Variant());

    EXPECT_EQ(nodes.Item("t13").Text(), rows[216].first);
    EXPECT_EQ(nodes.Item("xx22").Text(), rows[259].first);
    EXPECT_EQ(nodes.Item("a10").Text(), rows[9].first);
    EXPECT_EQ(nodes.Item("xx22").Tag(), rt::Variant("child"));
    EXPECT_EQ(nt.nodAdded, &nodes.Item("xx22"));
    EXPECT_EQ(nt.rsWords.AbsolutePosition(), 261);
    EXPECT_TRUE(reportedNumbers().empty());
}

TEST_F(NewTestament, ClickingAChapterShowsItsTextAndABookOrTheRootEmptiesThePane)
{
    makeNewTestament();
    auto &nt = openNewTestament();
    auto &tv = nt.tv();

    clickNode(tv, tv.nodes().Item("c3"));
    EXPECT_EQ(firstLine(nt.Text1().Text()), newTestamentRows[46].first);
    EXPECT_EQ(nt.Text1().Text(), newTestamentRows[46].second);

    clickNode(tv, tv.nodes().Item("a5")); // its caption holds a single quote
    EXPECT_NE(tv.nodes().Item("a5").Text().find('\''), std::string::npos);
    EXPECT_EQ(nt.Text1().Text(), newTestamentRows[4].second);

    clickNode(tv, tv.nodes().Item("c"));
    EXPECT_EQ(nt.Text1().Text(), "");

    clickNode(tv, tv.nodes().Item("xx22"));
    EXPECT_EQ(nt.Text1().Text(), newTestamentRows[259].second);
    clickNode(tv, tv.nodes().Item("root"));
    EXPECT_EQ(nt.Text1().Text(), "");
    EXPECT_TRUE(reportedNumbers().empty());
}

TEST_F(NewTestament, ACaptionThatMatchesNoRowLeavesThePaneAndOnlyTheTagChildLooksUp)
{
    makeNewTestament();
    auto &nt = openNewTestament();
    auto &tv = nt.tv();
    clickNode(tv, tv.nodes().Item("b1"));
    const std::string shown = nt.Text1().Text();

    tv.nodes().Item("b2").setText("no such chapter");
    clickNode(tv, tv.nodes().Item("b2"));
    EXPECT_EQ(nt.Text1().Text(), shown);

    tv.nodes().Item("b3").setTag("Child");
    clickNode(tv, tv.nodes().Item("b3"));
    EXPECT_EQ(nt.Text1().Text(), "");
    EXPECT_TRUE(reportedNumbers().empty());
}

TEST_F(NewTestament, LegacyBytesAndQuotesRoundTripThroughTheDatabase)
{
    auto rows = newTestamentRows;
    rows[0] = {"a\x81\x91\xA7'b", "text of \x81\x91\xA7 and '"};
    makeTestament("tormin.udl", "mattew", rows);
    auto &nt = openNewTestament();
    rt::Node &first = nt.tv().nodes().Item("a1");
    EXPECT_EQ(first.Text(), rows[0].first);
    clickNode(nt.tv(), first);
    EXPECT_EQ(nt.Text1().Text(), rows[0].second);
}

TEST_F(NewTestament, ANullChapterTextIsReportedAndThePaneKeepsItsText)
{
    std::vector<sample::ChapterRow> rows;
    for (const auto &[word, text] : newTestamentRows)
        rows.push_back({word, text});
    rows[1].text.reset();
    sample::makeChapterTableWithNulls(system32() / "nt.db", "mattew", rows);
    sample::writeDataLink(system32() / "tormin.udl",
                          "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\WINDOWS\\system32\\nt.db");
    auto &nt = openNewTestament();
    clickNode(nt.tv(), nt.tv().nodes().Item("a1"));
    clickNode(nt.tv(), nt.tv().nodes().Item("a2"));
    EXPECT_EQ(reportedNumbers(), std::vector<int>{rt::err::InvalidUseOfNull});
    EXPECT_EQ(nt.Text1().Text(), newTestamentRows[0].second);
    EXPECT_TRUE(nt.IsLoaded());
}

TEST_F(NewTestament, ClosingAndReopeningRebuildsFromTheFirstRowOnTheSameLink)
{
    makeNewTestament();
    auto &nt = openNewTestament();
    clickNode(nt.tv(), nt.tv().nodes().Item("d4"));
    const rt::Connection *connection = &nt.cnTestament;

    nt.outer()->close();
    processEvents();
    EXPECT_FALSE(nt.IsLoaded());
    EXPECT_EQ(nt.cnTestament.State(), 0);
    EXPECT_EQ(nt.rsWords.State(), 0);

    form<frmMain>().Show();
    nt.Show();
    processEvents();
    EXPECT_EQ(&form<NT>(), &nt);
    EXPECT_EQ(&nt.cnTestament, connection);
    EXPECT_EQ(nt.cnTestament.State(), 1);
    EXPECT_EQ(nt.tv().nodes().Count(), 288);
    EXPECT_EQ(nt.tv().nodes().Item("a1").Text(), newTestamentRows[0].first);
    EXPECT_EQ(nt.Text1().Text(), "");
}

TEST_F(NewTestament, SelectedNodesShowTheOpenBookAndTheTreeHasTheFocus)
{
    makeNewTestament();
    auto &nt = openNewTestament();
    QTreeWidgetItem *book = nt.tv().nodes().Item("a").item();
    const QIcon icon = book->icon(0);
    EXPECT_FALSE(icon.pixmap(16, QIcon::Normal).toImage() == icon.pixmap(16, QIcon::Selected).toImage());
    QTreeWidgetItem *root = nt.tv().nodes().Item("root").item();
    EXPECT_TRUE(root->icon(0).pixmap(16, QIcon::Normal).toImage() ==
                root->icon(0).pixmap(16, QIcon::Selected).toImage());
    EXPECT_EQ(QApplication::focusWidget(), nt.tv().widget()) << (QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className() : "none");
}

} // namespace
