#include "support/main_window_fixture.h"
#include "support/window_helpers.h"

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
#include "shell/letter_window.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QToolButton>

#include <algorithm>
#include <climits>

using namespace velumir;
using testing_support::MainWindowTest;

namespace {

class WindowCommands : public MainWindowTest {
public:
    QRect area() { return main().mdiArea()->viewport()->rect(); }
    std::vector<QMdiSubWindow *> shown()
    {
        std::vector<QMdiSubWindow *> list;
        for (QMdiSubWindow *sub : main().mdiArea()->subWindowList())
            if (sub->isVisible() && !sub->isMinimized())
                list.push_back(sub);
        return list;
    }
    // The windows that are neither minimized nor hidden, one above another,
    // each as wide as `within`, in shares that differ by a pixel at most and
    // together fill it from its top to its bottom.
    void expectOneAboveAnother(const QRect &within) { expectTiled(within, Qt::Vertical); }
    void expectOneAboveAnother() { expectOneAboveAnother(area()); }
    // Side by side, each as high as `within`, filling it from left to right.
    void expectSideBySide(const QRect &within) { expectTiled(within, Qt::Horizontal); }
    void expectSideBySide() { expectSideBySide(area()); }

private:
    void expectTiled(const QRect &within, Qt::Orientation along)
    {
        const bool down = along == Qt::Vertical;
        std::vector<QRect> tiles;
        for (QMdiSubWindow *sub : shown()) {
            EXPECT_FALSE(sub->isMaximized());
            tiles.push_back(sub->geometry());
        }
        ASSERT_FALSE(tiles.empty());
        std::sort(tiles.begin(), tiles.end(),
                  [down](const QRect &a, const QRect &b) { return down ? a.y() < b.y() : a.x() < b.x(); });
        int next = down ? within.top() : within.left();
        int smallest = INT_MAX, largest = 0;
        for (const QRect &tile : tiles) {
            EXPECT_EQ(down ? tile.top() : tile.left(), next);
            EXPECT_EQ(down ? tile.left() : tile.top(), down ? within.left() : within.top());
            EXPECT_EQ(down ? tile.width() : tile.height(), down ? within.width() : within.height());
            const int share = down ? tile.height() : tile.width();
            smallest = std::min(smallest, share);
            largest = std::max(largest, share);
            next += share;
        }
        EXPECT_EQ(next, down ? within.bottom() + 1 : within.right() + 1);
        EXPECT_LE(largest - smallest, 1);
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
    // The window in front takes the first tile.
    EXPECT_EQ(window.subWindow()->geometry().topLeft(), area().topLeft());
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
    EXPECT_EQ(active->subWindow()->geometry().topLeft(), area().topLeft());
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

TEST_F(WindowCommands, TilingRestoresAMaximizedChildAndLeavesAMinimizedOneAtTheFoot)
{
    choose("mnuOT");
    form<OT>().setWindowState(rt::vbMinimized);
    form<NT>().setWindowState(rt::vbMaximized);
    form<frmDocument>().Load();
    processEvents();
    for (const char *entry : {"mnuTH", "mnuNT"}) {
        choose(entry);
        EXPECT_EQ(form<OT>().WindowState(), rt::vbMinimized);
        EXPECT_EQ(form<NT>().WindowState(), rt::vbNormal);
        EXPECT_EQ(shown().size(), 2u);
        // The minimized window stays in reach at the foot of the area; the others share what lies above it.
        const QRect minimized = form<OT>().subWindow()->geometry();
        EXPECT_EQ(minimized.left(), area().left());
        EXPECT_EQ(minimized.bottom(), area().bottom());
        const QRect above = area().adjusted(0, 0, 0, -minimized.height());
        if (std::string(entry) == "mnuTH")
            expectSideBySide(above);
        else
            expectOneAboveAnother(above);
    }
}

TEST_F(WindowCommands, TheLetterWindowTakesItsShareOfTheTiling)
{
    choose("mnuHelp");
    choose("mnuTH");
    expectSideBySide();
    EXPECT_EQ(form<Form3>().subWindow()->width(), area().width() / 2);
    choose("mnuOT");
    EXPECT_EQ(shown().size(), 3u);
    expectOneAboveAnother();
    clickButton(7);
    expectSideBySide();
    // The user still cannot resize it.
    QMdiSubWindow *letter = form<Form3>().subWindow();
    const QSize tiled = letter->size();
    testing_support::dragFrameCorner(letter, QPoint(tiled.width() / 2, tiled.height() / 2));
    EXPECT_EQ(letter->size(), tiled);
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
