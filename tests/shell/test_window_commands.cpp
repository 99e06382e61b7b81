#include "support/program_fixture.h"

#include "app.h"
#include "browser/new_testament_window.h"
#include "browser/old_testament_window.h"
#include "documents/document_window.h"
#include "reference/lookup_window.h"
#include "reference/pictures_window.h"
#include "runtime/controls/caption_toolbar.h"
#include "runtime/controls/menu.h"
#include "runtime/controls/rich_text_box.h"
#include "runtime/controls/tree_view.h"
#include "runtime/data/data_errors.h"
#include "sample_data.h"
#include "shell/frm_main.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QToolButton>

using namespace velumir;
using testing_support::ProgramTest;

namespace {

class WindowCommands : public ProgramTest {
public:
    void SetUp() override
    {
        ProgramTest::SetUp();
        makeNewTestament();
        makeOldTestament();
        const std::vector<sample::LookupRow> rows = {{1, "kmx", "entry one"}, {2, "\xA7" "b", "entry two"}};
        for (const char *name : {"Concordance", "Bible Dictionary", "Khmer Dictionary"})
            sample::makeLookupTable(system32() / name, rows);
        sample::makePictureTable(drive() / "Program Files" / "Velumir" / "Lib", {{1, "caption", {}, ""}});
        startToMainWindow();
    }
    frmMain &main() { return form<frmMain>(); }
    void choose(const std::string &entry)
    {
        main().menu(entry).action()->trigger();
        processEvents();
    }
    void clickButton(int number)
    {
        main().Toolbar1().button(number)->click();
        processEvents();
    }
    QRect area() { return main().mdiArea()->viewport()->rect(); }
    std::vector<QMdiSubWindow *> shown()
    {
        std::vector<QMdiSubWindow *> list;
        for (QMdiSubWindow *sub : main().mdiArea()->subWindowList())
            if (sub->isVisible() && !sub->isMinimized())
                list.push_back(sub);
        return list;
    }
    // One above another, each as wide as the client area, together filling it.
    void expectOneAboveAnother()
    {
        int height = 0;
        for (QMdiSubWindow *sub : shown()) {
            EXPECT_FALSE(sub->isMaximized());
            EXPECT_EQ(sub->x(), area().x());
            EXPECT_EQ(sub->width(), area().width());
            height += sub->height();
        }
        EXPECT_EQ(height, area().height());
    }
    // Side by side, each as high as the client area.
    void expectSideBySide()
    {
        int width = 0;
        for (QMdiSubWindow *sub : shown()) {
            EXPECT_FALSE(sub->isMaximized());
            EXPECT_EQ(sub->y(), area().y());
            EXPECT_EQ(sub->height(), area().height());
            width += sub->width();
        }
        EXPECT_EQ(width, area().width());
    }
};

struct MenuCase {
    const char *entry;
    std::function<rt::Form &(WindowCommands &)> window;
    const char *caption;
};

class MenuCommand : public WindowCommands, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(MenuCommand, ShowsItsWindowAndTilesOneAboveAnother)
{
    choose(GetParam().entry);
    rt::Form &window = GetParam().window(*this);
    ASSERT_TRUE(window.IsLoaded());
    EXPECT_EQ(window.Caption(), GetParam().caption);
    EXPECT_EQ(main().ActiveForm(), &window);
    expectOneAboveAnother();
    EXPECT_TRUE(reportedNumbers().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Entries, MenuCommand,
    ::testing::Values(MenuCase{"mnuOT", [](WindowCommands &t) -> rt::Form & { return t.form<OT>(); }, "Old Testement"},
                      MenuCase{"mnuNT", [](WindowCommands &t) -> rt::Form & { return t.form<NT>(); }, "New Testment"},
                      MenuCase{"mnuBD", [](WindowCommands &t) -> rt::Form & { return t.form<Dictionary>(); },
                               "Bible Dictionary"},
                      MenuCase{"mnuKH", [](WindowCommands &t) -> rt::Form & { return t.form<KhmerDic>(); },
                               "Khmer Dictionary"},
                      MenuCase{"mnuCon", [](WindowCommands &t) -> rt::Form & { return t.form<Concordance>(); },
                               "Concordance"},
                      MenuCase{"mnuMaps", [](WindowCommands &t) -> rt::Form & { return t.form<Pictures>(); },
                               "Picutes"}),
    [](const auto &info) { return std::string(info.param.entry); });

class ToolbarButtonCase : public WindowCommands,
                          public ::testing::WithParamInterface<std::pair<int, const char *>> {};

TEST_P(ToolbarButtonCase, ShowsItsWindowAndTilesSideBySide)
{
    clickButton(GetParam().first);
    rt::Form *active = main().ActiveForm();
    ASSERT_NE(active, nullptr);
    EXPECT_EQ(active->Caption(), GetParam().second);
    expectSideBySide();
}

INSTANTIATE_TEST_SUITE_P(Buttons, ToolbarButtonCase,
                         ::testing::Values(std::pair{1, "Old Testement"}, std::pair{2, "New Testment"},
                                           std::pair{3, "Bible Dictionary"}, std::pair{4, "Concordance"},
                                           std::pair{5, "Khmer Dictionary"}, std::pair{6, "Picutes"}));

TEST_F(WindowCommands, AnOpenWindowIsBroughtToTheFrontWithoutReloading)
{
    choose("mnuOT");
    form<NT>().Text1().setText("kept");
    const rt::Node *root = &form<NT>().tv().nodes().Item("root");
    choose("mnuNT");
    EXPECT_EQ(main().ActiveForm(), &form<NT>());
    EXPECT_EQ(form<NT>().Text1().Text(), "kept");
    EXPECT_EQ(&form<NT>().tv().nodes().Item("root"), root);
    EXPECT_EQ(main().mdiArea()->subWindowList().size(), 2);

    clickButton(1);
    EXPECT_EQ(main().ActiveForm(), &form<OT>());
    expectSideBySide();
    choose("mnuOT");
    expectOneAboveAnother();
    EXPECT_EQ(main().mdiArea()->subWindowList().size(), 2);
}

TEST_F(WindowCommands, AClosedWindowIsLoadedAfresh)
{
    form<NT>().Text1().setText("gone");
    form<NT>().outer()->close();
    processEvents();
    choose("mnuNT");
    ASSERT_TRUE(form<NT>().IsLoaded());
    EXPECT_EQ(form<NT>().Text1().Text(), "");
    EXPECT_EQ(form<NT>().cnTestament.State(), 1);
}

TEST_F(WindowCommands, TilingRestoresAMaximizedChildAndLeavesAMinimizedOne)
{
    choose("mnuOT");
    form<OT>().setWindowState(rt::vbMinimized);
    form<NT>().setWindowState(rt::vbMaximized);
    form<frmDocument>().Load();
    processEvents();
    choose("mnuTH");
    EXPECT_EQ(form<OT>().WindowState(), rt::vbMinimized);
    EXPECT_EQ(form<NT>().WindowState(), rt::vbNormal);
    EXPECT_EQ(shown().size(), 2u);
    expectSideBySide();
}

TEST_F(WindowCommands, TilingOneWindowFillsTheAreaAndNoWindowChangesNothing)
{
    choose("mnuTH");
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown().front()->geometry(), area());
    form<NT>().outer()->close();
    processEvents();
    choose("mnuTH");
    clickButton(7);
    EXPECT_TRUE(main().mdiArea()->subWindowList().empty());
    EXPECT_TRUE(reportedNumbers().empty());
}

TEST_F(WindowCommands, ANumberOutsideOneToSevenDoesNothing)
{
    main().setWindowState(rt::vbMaximized);
    const QRect before = form<NT>().subWindow()->geometry();
    for (int number : {0, 8, -1})
        main().Toolbar1_ButtonClick(number, "OT");
    processEvents();
    EXPECT_FALSE(form<OT>().IsLoaded());
    EXPECT_EQ(form<NT>().subWindow()->geometry(), before);
}

TEST_F(WindowCommands, AWindowThatFailsToLoadIsReportedAndNothingIsTiled)
{
    std::filesystem::remove(system32() / "tormio.udl");
    choose("mnuOT");
    EXPECT_EQ(reportedNumbers(), std::vector<int>{rt::err::DataLinkNotFound});
    EXPECT_FALSE(form<OT>().IsLoaded());
    EXPECT_TRUE(form<NT>().subWindow()->isMaximized());
}

TEST_F(WindowCommands, TheWindowMenuListsTheOpenChildWindows)
{
    choose("mnuOT");
    QMenu *menu = main().menu("mnuTH").action()->associatedObjects().isEmpty()
                      ? nullptr
                      : qobject_cast<QMenu *>(main().menu("mnuTH").action()->associatedObjects().first());
    ASSERT_NE(menu, nullptr);
    emit menu->aboutToShow();
    QStringList titles;
    for (QAction *action : menu->actions())
        if (!action->isSeparator())
            titles << action->text();
    EXPECT_TRUE(titles.contains("Tile Horizontally"));
    EXPECT_TRUE(titles.filter("Old Testement").size() == 1);
    EXPECT_TRUE(titles.filter("New Testment").size() == 1);
}

} // namespace
