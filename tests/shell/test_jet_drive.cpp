// The program on a drive C as a Windows installation leaves it: data link
// files, Jet databases, pictures named in another letter case, the drive
// mounted read-only, reached through a symbolic link at the default place.
// Every window that reads a database is run on it as on
// the sample drive, and nothing on the drive changes.

#include "support/file_guards.h"
#include "support/jet_drive.h"
#include "support/program_fixture.h"
#include "support/window_helpers.h"

#include "browser/new_testament_window.h"
#include "browser/old_testament_window.h"
#include "reference/lookup_window.h"
#include "reference/pictures_window.h"
#include "runtime/controls/basic_controls.h"
#include "runtime/controls/data_combo.h"
#include "runtime/controls/data_combo_list.h"
#include "runtime/controls/rich_text_box.h"
#include "runtime/controls/tree_view.h"
#include "runtime/system/drive.h"

#include <QScrollBar>
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <string>

using namespace velumir;
using namespace testing_support;

namespace {

class JetDrive : public ProgramTest {
public:
    void SetUp() override
    {
        ProgramTest::SetUp();
        copyJetDrive(drive());
        makeReadOnly(drive());
        before = listing(drive());
    }
    void TearDown() override
    {
        EXPECT_EQ(listing(drive()), before) << "something changed on the drive";
        EXPECT_TRUE(reportedNumbers().empty());
        makeWritable(drive());
        ProgramTest::TearDown();
    }

    template <class W>
    W &show()
    {
        program().run([&] { form<W>().Show(); });
        processEvents();
        return form<W>();
    }

    // The captions of the chapter nodes, book after book as the tree lists them.
    static std::vector<Expected> captions(rt::TreeView &tv)
    {
        std::vector<Expected> texts;
        for (rt::Node *book = tv.nodes().Item("root").Child(); book; book = book->Next())
            for (rt::Node *chapter = book->Child(); chapter; chapter = chapter->Next())
                texts.emplace_back(chapter->Text());
        return texts;
    }

    // Clicks the chapter captioned as row `row` (from 1) of the table and
    // checks that the pane shows that row's text.
    static void expectChapterShown(rt::TreeView &tv, rt::RichTextBox &pane,
                                   const std::vector<std::vector<Expected>> &rows, std::size_t row)
    {
        const std::vector<Expected> &expected = rows[row - 1];
        rt::Node *node = nullptr;
        for (rt::Node *book = tv.nodes().Item("root").Child(); book && !node; book = book->Next())
            for (rt::Node *chapter = book->Child(); chapter && !node; chapter = chapter->Next())
                if (chapter->Text() == *expected[1])
                    node = chapter;
        ASSERT_NE(node, nullptr) << "row " << row;
        clickNode(tv, *node);
        ASSERT_GT(expected[2]->size(), 16u * 1024) << "row " << row;
        const std::string shown = pane.Text();
        EXPECT_TRUE(shown == *expected[2]) << "row " << row << ": " << shown.size() << " bytes shown of "
                                           << expected[2]->size();
    }

    static std::vector<Expected> column(const std::vector<std::vector<Expected>> &rows, std::size_t column)
    {
        std::vector<Expected> values;
        for (const auto &row : rows)
            values.push_back(row[column]);
        return values;
    }

    TempDir cacheFolder;
    CacheHome cacheHome{cacheFolder.path()};
    HonourPermissions honour;
    std::map<std::string, std::string> before;
};

TEST_F(JetDrive, BothTestamentsCaptionEveryChapterAndShowTheLongOnesWhole)
{
    startToMainWindow();
    NT &nt = form<NT>();
    ASSERT_TRUE(nt.IsLoaded());
    const auto mattew = expectedRows("mattew", {0});
    EXPECT_EQ(captions(nt.tv()), column(mattew, 1));
    expectChapterShown(nt.tv(), nt.Text1(), mattew, 100); // 70 000 bytes
    expectChapterShown(nt.tv(), nt.Text1(), mattew, 101); // 17 000 bytes

    OT &ot = show<OT>();
    ASSERT_TRUE(ot.IsLoaded());
    ot.tv().nodes().Item("root").setExpanded(true);
    processEvents();
    const auto bible = expectedRows("Bible", {0});
    EXPECT_EQ(captions(ot.tv()), column(bible, 1));
    expectChapterShown(ot.tv(), ot.Text1(), bible, 500);
    expectChapterShown(ot.tv(), ot.Text1(), bible, 501);
}

TEST_F(JetDrive, TheLookupWindowsListEveryHeadwordAndShowTheChosenEntry)
{
    startToMainWindow();
    const std::vector<std::pair<std::string, std::function<LookupWindow &()>>> windows = {
        {"Concordance", [&]() -> LookupWindow & { return show<Concordance>(); }},
        {"Bible Dictionary", [&]() -> LookupWindow & { return show<Dictionary>(); }},
        {"Khmer Dictionary", [&]() -> LookupWindow & { return show<KhmerDic>(); }},
    };
    for (const auto &[file, open] : windows) {
        SCOPED_TRACE(file);
        LookupWindow &window = open();
        ASSERT_TRUE(window.IsLoaded());
        const auto rows = expectedRows(file, {0, 1});
        std::vector<Expected> listed;
        for (long i = 0; i < window.DC1().ListCount(); ++i)
            listed.emplace_back(window.DC1().List(i));
        EXPECT_EQ(listed, column(rows, 2));
        // The second headword, then the fifth, whose entry is Null.
        for (const int row : {2, 5}) {
            rt::DataComboList *list = window.DC1().listBox();
            list->verticalScrollBar()->setValue(row - 1); // the line at the top
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->lineRect(row - 1).center());
            EXPECT_EQ(window.DC1().BoundText(), *rows[std::size_t(row - 1)][1]);
            const Expected entry = rows[std::size_t(row - 1)][3];
            EXPECT_TRUE(window.RTB1().Text() == entry.value_or("")) << row;
        }
    }
}

TEST_F(JetDrive, ThePictureViewerShowsEveryPictureAndNoneForTheMissingFile)
{
    startToMainWindow();
    Pictures &p = show<Pictures>();
    ASSERT_TRUE(p.IsLoaded());
    const auto rows = expectedRows("EMP", {0, 2});
    for (const auto &row : rows) {
        SCOPED_TRACE(*row[2]);
        EXPECT_EQ(p.txtNAME().Text(), *row[1]);
        EXPECT_EQ(p.txtPATH().Text(), *row[2]);
        EXPECT_EQ(p.Photo().Picture().isNull(), row[2]->find("missing") != std::string::npos);
        QTest::mouseClick(p.CMDNEXT().widget(), Qt::LeftButton);
    }
    EXPECT_EQ(p.txtNAME().Text(), "");
}

// A reader who starts Velumir from the menu cannot set VELUMIR_DRIVE_C: a
// symbolic link at the default place leads to the mounted disk instead.
class JetDriveThroughALink : public JetDrive {
public:
    void SetUp() override
    {
        driveThroughDefaultLink = true;
        JetDrive::SetUp();
    }
};

TEST_F(JetDriveThroughALink, TheProgramReadsThroughTheLinkAndTheSampleMakerLeavesIt)
{
    const std::filesystem::path link = rt::Drive::defaultRoot();
    ASSERT_TRUE(std::filesystem::is_symlink(link));
    const auto data = listing(link.parent_path().parent_path());

    // What scripts/run.sh does before it starts the program.
    ASSERT_EQ(std::system((std::string(VELUMIR_SAMPLE_MAKER) + " >/dev/null").c_str()), 0);
    EXPECT_EQ(listing(link.parent_path().parent_path()), data);

    startToMainWindow();
    NT &nt = form<NT>();
    ASSERT_TRUE(nt.IsLoaded());
    const auto mattew = expectedRows("mattew", {0});
    EXPECT_EQ(captions(nt.tv()), column(mattew, 1));
    expectChapterShown(nt.tv(), nt.Text1(), mattew, 100);
    Pictures &p = show<Pictures>();
    ASSERT_TRUE(p.IsLoaded());
    const auto first = expectedRows("EMP", {0, 2}).front();
    EXPECT_EQ(p.txtPATH().Text(), *first[2]);
    EXPECT_EQ(p.Photo().Picture().isNull(), first[2]->find("missing") != std::string::npos);
}

} // namespace
