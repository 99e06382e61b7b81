#include "support/main_window_fixture.h"
#include "support/window_helpers.h"

#include "app.h"
#include "browser/new_testament_window.h"
#include "browser/old_testament_window.h"
#include "reference/lookup_window.h"
#include "reference/pictures_window.h"
#include "runtime/controls/basic_controls.h"
#include "runtime/controls/caption_toolbar.h"
#include "runtime/controls/data_combo.h"
#include "runtime/controls/menu.h"
#include "runtime/controls/rich_text_box.h"
#include "runtime/controls/toolbar.h"
#include "runtime/controls/tree_view.h"
#include "sample_data.h"
#include "shell/frm_log_on.h"
#include "shell/frm_main.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include <functional>

using namespace velumir;
using testing_support::clickNode;
using testing_support::MainWindowTest;

namespace {

// The widget that takes the keyboard focus for a control.
QWidget *focusOf(QWidget *widget)
{
    while (widget && widget->focusProxy())
        widget = widget->focusProxy();
    return widget;
}
QWidget *focusOf(rt::Control &control)
{
    return focusOf(control.widget());
}

class Focus : public MainWindowTest {
public:
    static QWidget *focused() { return QApplication::focusWidget(); }
};

TEST_F(Focus, TheTreeHasTheFocusWhenTheNewTestamentOpens)
{
    EXPECT_EQ(focused(), focusOf(form<NT>().tv()));
}

// A command that shows a window: the menu entry or the toolbar button, the
// window, and the control first in its tab order.
struct ShowCase {
    const char *name;
    std::function<void(Focus &)> command;
    std::function<rt::Control &(Focus &)> first;
};

class ShowingAWindow : public Focus, public ::testing::WithParamInterface<ShowCase> {};

TEST_P(ShowingAWindow, PutsTheFocusOnItsFirstControlEveryTime)
{
    GetParam().command(*this);
    EXPECT_EQ(focused(), focusOf(GetParam().first(*this))) << "opened";
    choose("mnuNT");
    EXPECT_EQ(focused(), focusOf(form<NT>().tv())) << "the New Testament shown again";
    GetParam().command(*this);
    EXPECT_EQ(focused(), focusOf(GetParam().first(*this))) << "shown again";
    clickButton(7);
    EXPECT_EQ(focused(), focusOf(GetParam().first(*this))) << "tiled";
    EXPECT_TRUE(reportedNumbers().empty());
}

rt::Control &dc1(LookupWindow &window)
{
    return window.DC1();
}

INSTANTIATE_TEST_SUITE_P(
    Commands, ShowingAWindow,
    ::testing::Values(
        ShowCase{"NewTestment", [](Focus &t) { t.choose("mnuNT"); },
                 [](Focus &t) -> rt::Control & { return t.form<NT>().tv(); }},
        ShowCase{"OldTestment", [](Focus &t) { t.choose("mnuOT"); },
                 [](Focus &t) -> rt::Control & { return t.form<OT>().tv(); }},
        ShowCase{"BibleDictionary", [](Focus &t) { t.choose("mnuBD"); },
                 [](Focus &t) -> rt::Control & { return dc1(t.form<Dictionary>()); }},
        ShowCase{"KhmerDictionary", [](Focus &t) { t.choose("mnuKH"); },
                 [](Focus &t) -> rt::Control & { return dc1(t.form<KhmerDic>()); }},
        ShowCase{"Concordance", [](Focus &t) { t.choose("mnuCon"); },
                 [](Focus &t) -> rt::Control & { return dc1(t.form<Concordance>()); }},
        ShowCase{"Pictures", [](Focus &t) { t.choose("mnuMaps"); },
                 [](Focus &t) -> rt::Control & { return t.form<Pictures>().CMDNEXT(); }},
        ShowCase{"ButtonOT", [](Focus &t) { t.clickButton(1); },
                 [](Focus &t) -> rt::Control & { return t.form<OT>().tv(); }},
        ShowCase{"ButtonNT", [](Focus &t) { t.clickButton(2); },
                 [](Focus &t) -> rt::Control & { return t.form<NT>().tv(); }},
        ShowCase{"ButtonConcordance", [](Focus &t) { t.clickButton(4); },
                 [](Focus &t) -> rt::Control & { return dc1(t.form<Concordance>()); }}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Focus, BackStepsTheTreeAfterTheNewTestamentIsShownAgain)
{
    auto &nt = form<NT>();
    clickNode(nt.tv(), nt.tv().nodes().Item("c5"));
    choose("mnuNT");
    QTest::keyClicks(focused(), "x");
    EXPECT_EQ(nt.Text1().Text(), newTestamentRows[48].second) << "typing went into the chapter text";
    nt.tbToolBar().Buttons("Back").click();
    processEvents();
    EXPECT_EQ(nt.tv().SelectedItem()->Key(), "c4");
    EXPECT_EQ(nt.Text1().Text(), newTestamentRows[47].second);
}

TEST_F(Focus, ARestoredWindowGivesTheFocusBackToTheControlThatHadIt)
{
    auto &nt = form<NT>();
    nt.setWindowState(rt::vbMinimized);
    processEvents();
    nt.setWindowState(rt::vbNormal);
    processEvents();
    EXPECT_EQ(focused(), focusOf(nt.tv()));

    // The user moves to the text: that is where the focus comes back to.
    QTest::mouseClick(nt.Text1().editor()->viewport(), Qt::LeftButton);
    ASSERT_EQ(focused(), focusOf(nt.Text1()));
    choose("mnuOT");
    EXPECT_EQ(focused(), focusOf(form<OT>().tv()));
    nt.setWindowState(rt::vbMaximized);
    processEvents();
    choose("mnuNT");
    EXPECT_EQ(main().ActiveForm(), &nt);
    EXPECT_EQ(focused(), focusOf(nt.Text1()));
    nt.setWindowState(rt::vbMinimized);
    processEvents();
    nt.setWindowState(rt::vbNormal);
    processEvents();
    EXPECT_EQ(focused(), focusOf(nt.Text1()));
}

TEST_F(Focus, TilingGivesTheFocusBackToTheActiveWindowsControl)
{
    auto &nt = form<NT>();
    QTest::mouseClick(nt.Text1().editor()->viewport(), Qt::LeftButton);
    ASSERT_EQ(focused(), focusOf(nt.Text1()));
    clickButton(7);
    EXPECT_EQ(focused(), focusOf(nt.Text1())) << "restored from maximized";
    choose("mnuOT");
    form<OT>().setWindowState(rt::vbMaximized);
    processEvents();
    choose("mnuTH");
    EXPECT_EQ(focused(), focusOf(form<OT>().tv())) << "restored from maximized, with another window";
    // The focus has left the windows (a dialog or a toolbar had it): tiling brings it back.
    focused()->clearFocus();
    choose("mnuTH");
    EXPECT_EQ(focused(), focusOf(form<OT>().tv())) << "from nowhere";
}

TEST_F(Focus, AClickOnAControlOfAnotherWindowActivatesItAndLeavesTheFocusThere)
{
    choose("mnuOT");
    choose("mnuNT");
    QTest::mouseClick(form<OT>().Text1().editor()->viewport(), Qt::LeftButton);
    processEvents();
    EXPECT_EQ(main().ActiveForm(), &form<OT>());
    EXPECT_EQ(focused(), focusOf(form<OT>().Text1()));
}

// Tab and Shift+Tab from a window's first control: the next and the previous
// tab stop, in the design's order. Toolbars are no tab stops.
class TabOrder : public Focus {
public:
    // The control reached from `from` by Tab (or Shift+Tab) pressed `times` times.
    QWidget *tabFrom(rt::Control &from, int times, bool backwards = false)
    {
        focusOf(from)->setFocus(Qt::OtherFocusReason);
        for (int i = 0; i < times; ++i)
            QTest::keyClick(focused(), Qt::Key_Tab, backwards ? Qt::ShiftModifier : Qt::NoModifier);
        return focused();
    }
};

TEST_F(TabOrder, BrowserWindowsGoFromTheTreeToTheText)
{
    choose("mnuOT");
    for (BrowserWindow *window : std::initializer_list<BrowserWindow *>{&form<NT>(), &form<OT>()}) {
        if (window == &form<NT>())
            choose("mnuNT");
        EXPECT_EQ(tabFrom(window->tv(), 1), focusOf(window->Text1())) << window->Caption();
        EXPECT_EQ(tabFrom(window->tv(), 1, true), focusOf(window->Text1())) << window->Caption();
    }
}

TEST_F(TabOrder, ThePictureViewerGoesFromNextToBack)
{
    choose("mnuMaps");
    auto &p = form<Pictures>();
    EXPECT_EQ(tabFrom(p.CMDNEXT(), 1), focusOf(p.Command1()));
    EXPECT_EQ(tabFrom(p.CMDNEXT(), 2), focusOf(p.CMDNEXT()));
    EXPECT_EQ(tabFrom(p.CMDNEXT(), 1, true), focusOf(p.Command1()));
}

} // namespace
