#include "support/program_fixture.h"
#include "support/window_helpers.h"

#include "app.h"
#include "browser/new_testament_window.h"
#include "browser/old_testament_window.h"
#include "reference/lookup_window.h"
#include "runtime/controls/basic_controls.h"
#include "runtime/controls/common_dialog.h"
#include "runtime/controls/rich_text_box.h"
#include "runtime/controls/status_bar.h"
#include "runtime/controls/toolbar.h"
#include "runtime/controls/tree_view.h"
#include "sample_data.h"
#include "shell/frm_main.h"

#include <QKeyEvent>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>

#include <ctime>
#include <string>
#include <vector>

using namespace velumir;
using testing_support::clickNode;
using testing_support::ProgramTest;

namespace {

class TwoPaneFrameTest : public ProgramTest {
public:
    NT &openRestored(float width = 9000)
    {
        makeNewTestament();
        startToMainWindow();
        auto &nt = form<NT>();
        nt.setWindowState(rt::vbNormal);
        processEvents();
        nt.setWidth(width);
        nt.setHeight(6000);
        processEvents();
        return nt;
    }
    // The child area of the main window, at a size in pixels (a maximized child fills it).
    void childAreaPixels(int width, int height)
    {
        form<frmMain>().mdiArea()->resize(width, height);
        processEvents();
        processEvents();
    }
};

struct Layout {
    float position;       // handed to SizeControls
    float clamped;        // what it becomes
    float textWidth;      // in a window 9000 twips wide
};

class SizeControlsTable : public TwoPaneFrameTest, public ::testing::WithParamInterface<Layout> {};

TEST_P(SizeControlsTable, ClampsThePositionAndLaysThePanesAroundIt)
{
    auto &nt = openRestored(9000);
    ASSERT_EQ(nt.Width(), 9000);
    float x = GetParam().position;
    nt.SizeControls(x);
    EXPECT_EQ(x, GetParam().clamped);
    EXPECT_EQ(nt.tv().Width(), GetParam().clamped);
    EXPECT_EQ(nt.imgSplitter().Left(), GetParam().clamped);
    EXPECT_EQ(nt.Text1().Left(), GetParam().clamped + 40);
    EXPECT_EQ(nt.Text1().Width(), GetParam().textWidth);
    EXPECT_EQ(nt.lblTitle().Width(), GetParam().clamped);

    // Toolbar visible: below toolbar and strip; the panes end at the status bar.
    EXPECT_EQ(nt.tv().Top(), 960);
    EXPECT_EQ(nt.Text1().Top(), 960);
    EXPECT_EQ(nt.imgSplitter().Top(), 960);
    EXPECT_EQ(nt.tv().Height(), nt.ScaleHeight() - (960 + 390));
    EXPECT_EQ(nt.Text1().Height(), nt.tv().Height());
    EXPECT_EQ(nt.imgSplitter().Height(), nt.tv().Height());
    EXPECT_EQ(nt.tv().Top() + nt.tv().Height(), nt.sbStatusBar().Top());
}

INSTANTIATE_TEST_SUITE_P(Positions, SizeControlsTable,
                         ::testing::Values(Layout{1499, 1500, 7360}, Layout{1500, 1500, 7360},
                                           Layout{3360, 3360, 5500}, Layout{7500, 7500, 1360},
                                           Layout{7501, 7500, 1360}, Layout{-20, 1500, 7360}));

TEST_F(TwoPaneFrameTest, TheFirstLayoutUsesTheDesignPosition)
{
    makeNewTestament();
    startToMainWindow();
    auto &nt = form<NT>();
    EXPECT_EQ(nt.tv().Width(), 3360);
    EXPECT_EQ(nt.Text1().Left(), 3400);
    EXPECT_EQ(nt.Text1().Width(), nt.Width() - 3500);
}

TEST_F(TwoPaneFrameTest, ARestoredWindowIsKeptAtLeast3000Wide)
{
    auto &nt = openRestored();
    nt.setWidth(2999);
    processEvents();
    EXPECT_EQ(nt.Width(), 3000);
    nt.setWidth(3000);
    processEvents();
    EXPECT_EQ(nt.Width(), 3000);
    EXPECT_EQ(nt.imgSplitter().Left(), 1500);
}

// The layout's clamp of the splitter position x in a window of outer width w.
float clamped(float x, float w)
{
    if (x < 1500)
        x = 1500;
    if (x > w - 1500)
        x = w - 1500;
    return x;
}

TEST_F(TwoPaneFrameTest, MinimizingAndRestoringLayTheFrameOut)
{
    auto &nt = openRestored(9000);
    const float height = nt.tv().Height();
    nt.setWindowState(rt::vbMinimized);
    processEvents();
    // Minimized, the window is narrow and has no client area: the position
    // follows the narrow width and the panes keep their heights.
    const float minimized = clamped(3360, nt.Width());
    ASSERT_LT(minimized, 3360);
    EXPECT_EQ(nt.ScaleHeight(), 0);
    EXPECT_EQ(nt.imgSplitter().Left(), minimized);
    EXPECT_EQ(nt.tv().Width(), minimized);
    EXPECT_EQ(nt.Text1().Left(), minimized + 40);
    EXPECT_EQ(nt.tv().Height(), height);
    EXPECT_EQ(nt.Text1().Height(), height);

    nt.setWindowState(rt::vbNormal);
    processEvents();
    ASSERT_EQ(nt.Width(), 9000);
    EXPECT_EQ(nt.imgSplitter().Left(), clamped(minimized, 9000));
    EXPECT_EQ(nt.Text1().Width(), 9000 - (clamped(minimized, 9000) + 140));
    EXPECT_EQ(nt.tv().Height(), nt.ScaleHeight() - 1350);
    EXPECT_TRUE(reportedNumbers().empty());
}

TEST_F(TwoPaneFrameTest, ARestoredWindowCannotBeDraggedSmallerThanItsTitleBarAndBorders)
{
    auto &nt = openRestored();
    QMdiSubWindow *sub = nt.subWindow();
    testing_support::dragFrameCorner(sub, QPoint(3, 3));
    processEvents();
    const int title = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
    const int border = sub->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, sub);
    EXPECT_GE(sub->height(), title + border);
    // The frame keeps it 3000 twips wide.
    EXPECT_EQ(nt.Width(), 3000);
}

TEST_F(TwoPaneFrameTest, TheHandleShowsTheWestEastSizingPointer)
{
    makeNewTestament();
    makeOldTestament();
    sample::makeLookupTable(system32() / "Concordance", {{1, "kmx", "entry"}});
    startToMainWindow();
    const std::vector<std::pair<rt::Form *, rt::Image *>> windows = {
        {&form<NT>(), &form<NT>().imgSplitter()},
        {&form<OT>(), &form<OT>().imgSplitter()},
        {&form<Concordance>(), &form<Concordance>().imgSplitter()},
    };
    for (const auto &[window, handle] : windows)
        EXPECT_EQ(handle->widget()->cursor().shape(), Qt::SizeHorCursor) << window->Caption();
    EXPECT_TRUE(reportedNumbers().empty());
}

TEST_F(TwoPaneFrameTest, AClientTooLowForThePanesKeepsTheirHeights)
{
    makeNewTestament();
    startToMainWindow();
    auto &nt = form<NT>();
    const float height = nt.tv().Height();

    childAreaPixels(600, 40); // lower than the strips and the status bar
    EXPECT_LT(nt.ScaleHeight(), 1350);
    EXPECT_EQ(nt.tv().Height(), height);
    EXPECT_EQ(nt.Text1().Height(), height);

    childAreaPixels(600, 400);
    EXPECT_EQ(nt.tv().Height(), nt.ScaleHeight() - 1350);
    EXPECT_TRUE(reportedNumbers().empty());
}

TEST_F(TwoPaneFrameTest, HiddenToolbarAndStatusBarGiveTheirPlaceToThePanes)
{
    auto &nt = openRestored();
    nt.tbToolBar().setVisible(false);
    nt.sbStatusBar().setVisible(false);
    nt.setWidth(9015);
    processEvents();
    EXPECT_EQ(nt.tv().Top(), 540);
    EXPECT_EQ(nt.tv().Height(), nt.ScaleHeight() - 540);
    EXPECT_EQ(nt.Text1().Top(), 540);
}

TEST_F(TwoPaneFrameTest, DraggingTheHandleShowsTheBarAndMovesThePanesOnceOnRelease)
{
    auto &nt = openRestored();
    float x = 3360;
    nt.SizeControls(x);
    QWidget *handle = nt.imgSplitter().widget();
    QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(2, 10));
    EXPECT_TRUE(nt.movingSplitter());
    EXPECT_TRUE(nt.picSplitter().Visible());
    EXPECT_EQ(nt.picSplitter().Left(), 3360);
    EXPECT_EQ(nt.picSplitter().Top(), nt.imgSplitter().Top());
    EXPECT_EQ(nt.picSplitter().Width(), 75);
    EXPECT_EQ(nt.picSplitter().Height(), nt.imgSplitter().Height() - 20);

    QTest::mouseMove(handle, QPoint(100, 10)); // 1500 twips to the right of the handle
    EXPECT_EQ(nt.picSplitter().Left(), 3360 + 1500);
    EXPECT_EQ(nt.tv().Width(), 3360);          // nothing else moves yet

    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(100, 10));
    EXPECT_FALSE(nt.movingSplitter());
    EXPECT_FALSE(nt.picSplitter().Visible());
    EXPECT_EQ(nt.tv().Width(), 4860);
    EXPECT_EQ(nt.Text1().Left(), 4900);

    nt.frame_.imgSplitter_MouseMove(0, 0, 3000, 0); // no button held: nothing moves
    EXPECT_EQ(nt.picSplitter().Left(), 4860);
}

TEST_F(TwoPaneFrameTest, ADragBeyondTheEdgesSnapsBackOnRelease)
{
    auto &nt = openRestored(9000);
    auto &frame = nt.frame_;
    frame.imgSplitter_MouseDown(1, 0, 0, 0);
    frame.imgSplitter_MouseMove(1, 0, -50000, 0);
    EXPECT_EQ(nt.picSplitter().Left(), 0);
    frame.imgSplitter_MouseUp(1, 0, 0, 0);
    EXPECT_EQ(nt.imgSplitter().Left(), 1500);

    frame.imgSplitter_MouseDown(1, 0, 0, 0);
    frame.imgSplitter_MouseMove(1, 0, 50000, 0);
    EXPECT_EQ(nt.picSplitter().Left(), 9000);
    frame.imgSplitter_MouseUp(1, 0, 0, 0);
    EXPECT_EQ(nt.imgSplitter().Left(), 7500);
}

// The date and time of the clock, as numbers, in Germany's short styles.
std::pair<std::string, std::string> germanClock()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    auto two = [](int n) { return (n < 10 ? "0" : "") + std::to_string(n); };
    return {two(local.tm_mday) + "." + two(local.tm_mon + 1) + "." + two(local.tm_year % 100),
            two(local.tm_hour) + ":" + two(local.tm_min)};
}

TEST_F(TwoPaneFrameTest, TheStatusBarShowsStatusTheDateAndTheTime)
{
    // The platform's short date and time styles, here those of Germany.
    struct Restore {
        ~Restore() { QLocale::setDefault(QLocale::system()); }
    } restore;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const auto before = germanClock();
    makeNewTestament();
    startToMainWindow();
    auto &bar = form<NT>().sbStatusBar();
    const auto after = germanClock();
    EXPECT_EQ(bar.panelText(1), "Status");
    // Read while the clock may have moved on.
    const std::string date = bar.panelText(2), time = bar.panelText(3);
    EXPECT_TRUE(date == before.first || date == after.first) << date << " is not " << after.first;
    EXPECT_TRUE(time == before.second || time == after.second) << time << " is not " << after.second;
}

class BrowserToolbar : public TwoPaneFrameTest {
public:
    NT &open()
    {
        makeNewTestament();
        startToMainWindow();
        return form<NT>();
    }
    void press(NT &nt, const std::string &key)
    {
        nt.tbToolBar().Buttons(key).click();
        processEvents();
    }
    static void selectAll(NT &nt)
    {
        QTextCursor cursor = nt.Text1().editor()->textCursor();
        cursor.select(QTextCursor::Document);
        nt.Text1().editor()->setTextCursor(cursor);
    }
};

TEST_F(BrowserToolbar, NextGivesTheTreeTheFocusAndShowsTheNextChapterIntoTheNextBook)
{
    auto &nt = open();
    nt.Text1().SetFocus();
    press(nt, "Next");
    EXPECT_EQ(QApplication::focusWidget(), nt.tv().widget());
    EXPECT_EQ(nt.tv().SelectedItem()->Key(), "a1");
    EXPECT_EQ(nt.Text1().Text(), newTestamentRows[0].second);

    clickNode(nt.tv(), nt.tv().nodes().Item("a28"));
    ASSERT_FALSE(nt.tv().nodes().Item("b").Expanded());
    press(nt, "Next");
    EXPECT_EQ(nt.tv().SelectedItem()->Key(), "b1");
    EXPECT_EQ(nt.Text1().Text(), newTestamentRows[28].second);
    EXPECT_TRUE(nt.tv().nodes().Item("b").Expanded()) << "the next book opens on its first chapter";

    press(nt, "Back");
    EXPECT_EQ(nt.tv().SelectedItem()->Key(), "a28");
    EXPECT_EQ(nt.Text1().Text(), newTestamentRows[27].second);
}

// The keys that reach a widget, with their modifiers.
class KeysReaching : public QObject {
public:
    explicit KeysReaching(QWidget *widget) { widget->installEventFilter(this); }
    std::vector<QKeyCombination> keys;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress)
            keys.push_back(static_cast<QKeyEvent *>(event)->keyCombination());
        return false;
    }
};

TEST_F(BrowserToolbar, BackGoesToTheControlWithTheFocus)
{
    auto &nt = open();
    clickNode(nt.tv(), nt.tv().nodes().Item("c5"));
    const std::string shown = nt.Text1().Text();
    nt.Text1().SetFocus();
    const KeysReaching pane(nt.Text1().widget());
    press(nt, "Back");
    EXPECT_EQ(QApplication::focusWidget(), nt.Text1().widget());
    // Alt+Up went to the text pane, and the tree stayed where it was.
    EXPECT_EQ(pane.keys, std::vector<QKeyCombination>{QKeyCombination(Qt::AltModifier, Qt::Key_Up)});
    EXPECT_EQ(nt.tv().SelectedItem()->Key(), "c5");
    EXPECT_EQ(nt.Text1().Text(), shown);
}

TEST_F(BrowserToolbar, ColorColoursTheSelectionAndCancelAppliesTheColourTheDialogHolds)
{
    auto &nt = open();
    clickNode(nt.tv(), nt.tv().nodes().Item("a1"));
    selectAll(nt);
    dialogs().cancel();
    press(nt, "Color");
    EXPECT_EQ(nt.Text1().SelColor(), 0x000000);

    dialogs().answer(QColor(0x20, 0x40, 0xC0));
    press(nt, "Color");
    EXPECT_EQ(nt.Text1().SelColor(), 0xC04020);

    nt.Text1().setSelColor(0x00FF00);
    dialogs().cancel();
    press(nt, "Color");
    EXPECT_EQ(nt.Text1().SelColor(), 0xC04020);

    // With CancelError on, Cancel leaves the selection alone.
    nt.CommonDialog1().setCancelError(true);
    nt.Text1().setSelColor(0x00FF00);
    dialogs().cancel();
    press(nt, "Color");
    EXPECT_EQ(nt.Text1().SelColor(), 0x00FF00);
    EXPECT_TRUE(dialogs().allAnswered());
    EXPECT_TRUE(reportedNumbers().empty());
}

} // namespace
