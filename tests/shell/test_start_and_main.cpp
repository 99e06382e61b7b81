#include "support/program_fixture.h"

#include "app.h"
#include "browser/new_testament_window.h"
#include "runtime/controls/rich_text_box.h"
#include "runtime/data/data_errors.h"
#include "runtime/controls/basic_controls.h"
#include "runtime/controls/caption_toolbar.h"
#include "runtime/controls/menu.h"
#include "runtime/controls/toolbar.h"
#include "runtime/controls/tree_view.h"
#include "runtime/system/settings.h"
#include "shell/frm_log_on.h"
#include "shell/frm_main.h"

#include <QAction>
#include <QHelpEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

#include <cstdint>
#include <cstdlib>
#include <functional>

using namespace velumir;
using testing_support::ProgramTest;

namespace {

bool drawnAsDefault(rt::CommandButton &button)
{
    return static_cast<QPushButton *>(button.widget())->isDefault();
}

class StartAndMainWindow : public ProgramTest {
protected:
    std::filesystem::path settingsFile() { return config() / "Velumir" / "Velumir.ini"; }

    // Closes the main window restored to 800 x 600 at 30, 40; returns its frame as it closed.
    QRect closeRestoredMainWindow()
    {
        auto &main = form<frmMain>();
        main.setWindowState(rt::vbNormal);
        processEvents();
        main.outer()->setGeometry(30, 40, 800, 600);
        processEvents();
        const QRect frame = main.outer()->frameGeometry();
        main.outer()->close();
        processEvents();
        return frame;
    }
};

TEST_F(StartAndMainWindow, StartWindowShowsItsDesignAndLoadsNothingElse)
{
    velumir::start(program());
    processEvents();
    auto &logOn = form<frmLogOn>();
    EXPECT_TRUE(logOn.Visible());
    EXPECT_EQ(logOn.Caption(), "Velumir (V.3.0)");
    EXPECT_EQ(logOn.ScaleWidth(), 5535);
    EXPECT_EQ(logOn.ScaleHeight(), 2850);
    EXPECT_EQ(logOn.Label1().Caption(), "RBHKm<IrbrisuT\xA7");
    EXPECT_EQ(logOn.Label2().Caption(), "CMnan; TI3");
    EXPECT_EQ(logOn.cmOK().Caption(), "RBHKm<Ir");
    EXPECT_EQ(logOn.Command1().Caption(), "cakecj");
    EXPECT_FALSE(logOn.Image1().Picture().isNull());
    EXPECT_EQ(QApplication::focusWidget(), logOn.cmOK().widget());
    EXPECT_TRUE(drawnAsDefault(logOn.cmOK()));
    EXPECT_EQ(program().loadedForms().size(), 1u);
}

// Centred on the screen by the whole window, frame and title bar included.
void expectCentredOnTheScreen(QWidget *window)
{
    const QRect frame = window->frameGeometry();
    // A title bar, so that centring by the client area would stand off centre.
    EXPECT_GT(window->geometry().top() - frame.top(), frame.bottom() - window->geometry().bottom());
    const QPoint off = frame.center() - QApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE(std::abs(off.x()), 1) << off.x();
    EXPECT_LE(std::abs(off.y()), 1) << off.y();
}

TEST_F(StartAndMainWindow, TheStartWindowIsCentredByItsFrame)
{
    velumir::start(program());
    processEvents();
    expectCentredOnTheScreen(form<frmLogOn>().outer());
}

// Enter clicks the button that has the focus; Tab moves it from the first
// button to the second and back. The button Enter would click is drawn as the default.
struct EnterCase {
    int tabs;
    bool ends;
};

class EnterOnTheStartWindow : public StartAndMainWindow, public ::testing::WithParamInterface<EnterCase> {};

TEST_P(EnterOnTheStartWindow, ClicksTheFocusedButton)
{
    makeNewTestament();
    velumir::start(program());
    processEvents();
    auto &logOn = form<frmLogOn>();
    for (int i = 0; i < GetParam().tabs; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    rt::CommandButton &focused = GetParam().ends ? logOn.Command1() : logOn.cmOK();
    rt::CommandButton &other = GetParam().ends ? logOn.cmOK() : logOn.Command1();
    ASSERT_EQ(QApplication::focusWidget(), focused.widget());
    EXPECT_TRUE(drawnAsDefault(focused));
    EXPECT_FALSE(drawnAsDefault(other));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    processEvents();
    EXPECT_EQ(program().ended(), GetParam().ends);
    EXPECT_EQ(form<frmMain>().IsLoaded(), !GetParam().ends);
}

INSTANTIATE_TEST_SUITE_P(Tabs, EnterOnTheStartWindow,
                         ::testing::Values(EnterCase{0, false}, EnterCase{1, true}, EnterCase{2, false}));

TEST_F(StartAndMainWindow, EnterOpensTheMainWindowWithTheNewTestamentAndHidesTheStartWindow)
{
    makeNewTestament();
    startToMainWindow();

    auto &main = form<frmMain>();
    EXPECT_TRUE(main.Visible());
    EXPECT_EQ(main.Caption(), "Velumir (V.3.0.1)");
    EXPECT_FALSE(form<frmLogOn>().Visible());
    EXPECT_TRUE(form<frmLogOn>().IsLoaded());

    auto &nt = form<NT>();
    ASSERT_TRUE(nt.IsLoaded());
    EXPECT_EQ(nt.WindowState(), rt::vbMaximized);
    EXPECT_EQ(nt.Caption(), "New Testment");
    EXPECT_EQ(main.ActiveForm(), &nt);
    rt::Node *root = nt.tv().nodes().Count() ? &nt.tv().nodes().Item("root") : nullptr;
    ASSERT_NE(root, nullptr);
    EXPECT_FALSE(root->Expanded());
    EXPECT_EQ(root->Text(), "RBHKm<IrbrisuT\xA7");
    EXPECT_EQ(nt.Text1().Text(), "");
    EXPECT_TRUE(reportedNumbers().empty());
}

TEST_F(StartAndMainWindow, MenusAndToolbarsAreThoseOfTheDesign)
{
    makeNewTestament();
    startToMainWindow();
    auto &main = form<frmMain>();

    // The whole menu table of the design, in display order: level 1 the bar,
    // 2 an entry of a menu, 3 one of the "Size" submenu; "-" a separator.
    struct Entry {
        int level;
        std::string caption, name;
        QKeySequence shortcut;
    };
    const std::vector<Entry> design = {
        {1, "File", "mnuFile", {}}, {2, "New", "mnuFileNew", {}}, {2, "Open", "mnuFileOpen", {}},
        {2, "Save", "mnuFileSave", QKeySequence("Ctrl+S")}, {2, "Print", "mnuPrint", {}}, {2, "-", "Sep1", {}},
        {2, "Exit", "mniExit", {}},
        {1, "Bible", "mnuBible", {}}, {2, "Old Testment", "mnuOT", {}}, {2, "New Testment", "mnuNT", {}},
        {2, "-", "Sep3", {}}, {2, "Bible Dictionary", "mnuBD", {}}, {2, "Khmer Dictionary", "mnuKH", {}},
        {2, "Concordance", "mnuCon", {}},
        {1, "Format", "mnuFmt", {}}, {2, "Bold", "mnuFmtBold", QKeySequence("Ctrl+B")},
        {2, "Italic", "mnuFmtItalic", QKeySequence("Ctrl+I")}, {2, "-", "Sep7", {}}, {2, "Size", "mnuFmtSize", {}},
        {3, "Small", "mnuFmtSizeSmall", {}}, {3, "Medium", "mnuFmtSizeMedium", {}},
        {3, "Large", "mnuFmtSizeLarge", {}}, {2, "-", "Sep6", {}}, {2, "Font", "mnuFmtFont", {}},
        {2, "Color", "mnuFmtColor", {}}, {2, "-", "sep2", {}},
        {1, "Pictuers", "mnuMap", {}}, {2, "Pictures", "mnuMaps", {}}, {2, "-", "sep4", {}},
        {1, "Window", "mnuWin", {}}, {2, "Tile Horizontally", "mnuTH", {}}, {2, "-", "sep5", {}},
        {1, "FindWord", "mnuFind", {}},
        {1, "Help", "mnuHel", {}}, {2, "About", "mnuAbo", {}}, {2, "Letter", "mnuHelp", {}}};
    std::vector<std::pair<int, QAction *>> shown;
    std::function<void(const QList<QAction *> &, int)> walk = [&](const QList<QAction *> &actions, int level) {
        for (QAction *action : actions) {
            shown.emplace_back(level, action);
            if (action->menu())
                walk(action->menu()->actions(), level + 1);
        }
    };
    walk(static_cast<QMainWindow *>(main.outer())->menuBar()->actions(), 1);
    ASSERT_EQ(shown.size(), design.size());
    for (std::size_t i = 0; i < design.size(); ++i) {
        const Entry &entry = design[i];
        const auto &[level, action] = shown[i];
        EXPECT_EQ(level, entry.level) << entry.name;
        EXPECT_EQ(action->isSeparator(), entry.caption == "-") << entry.name;
        if (entry.caption != "-") {
            EXPECT_EQ(action->text().toStdString(), entry.caption) << entry.name;
        }
        EXPECT_EQ(action->shortcut(), entry.shortcut) << entry.name;
        if (level > 1) {
            EXPECT_EQ(action, main.menu(entry.name).action()) << entry.name << " stands in another place";
        }
        // Only the menus the table gives entries have a menu: "FindWord" has none.
        const bool hasEntries = i + 1 < design.size() && design[i + 1].level > level;
        EXPECT_EQ(action->menu() != nullptr, hasEntries) << entry.name;
    }
    // Every separator of the table is drawn, the last entry of a menu too.
    for (const char *separator : {"Sep1", "Sep3", "Sep7", "Sep6", "sep2", "sep4", "sep5"}) {
        QAction *action = main.menu(separator).action();
        auto *menu = qobject_cast<QMenu *>(action->associatedObjects().value(0));
        ASSERT_NE(menu, nullptr) << separator;
        EXPECT_GT(menu->actionGeometry(action).height(), 0) << separator;
    }

    auto &editing = main.tbToolBar();
    ASSERT_EQ(editing.ButtonCount(), 20);
    EXPECT_EQ(editing.Top(), 0);
    EXPECT_EQ(editing.Height(), 420);
    EXPECT_EQ(editing.Buttons(16).ToolTipText(), "Aligh Right");
    EXPECT_EQ(editing.Buttons(20).Key(), "Font");
    EXPECT_EQ(editing.Buttons(4).Style(), rt::ButtonStyle::Separator);

    auto &navigation = main.Toolbar1();
    EXPECT_EQ(navigation.ButtonCount(), 7);
    EXPECT_EQ(navigation.Top(), 420);
    EXPECT_EQ(navigation.Height(), 765);
    EXPECT_EQ(navigation.button(5)->toolTip(), "Khmer Dictionary");
    for (int number = 1; number <= 7; ++number)
        EXPECT_EQ(navigation.button(number)->iconSize(), number == 3 ? QSize(24, 24) : QSize(32, 32)) << number;
}

// The label of the tooltip on the screen, once `widget` has been asked for its tooltip.
QLabel *tooltipOf(QWidget *widget)
{
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), widget->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(widget, &help);
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == "qtooltip_label" && w->isVisible())
            return qobject_cast<QLabel *>(w);
    return nullptr;
}

TEST_F(StartAndMainWindow, TheNavigationToolbarsTooltipFontIsItsOwn)
{
    const QFont before = QToolTip::font();
    makeNewTestament();
    startToMainWindow();
    auto &main = form<frmMain>();
    EXPECT_EQ(QToolTip::font(), before);

    QLabel *tip = tooltipOf(main.Toolbar1().button(1));
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(tip->text().contains("Old Testament"));
    EXPECT_TRUE(tip->text().contains("font-family:'MS Sans Serif'")) << tip->text().toStdString();
    EXPECT_TRUE(tip->text().contains("font-size:8.25pt")) << tip->text().toStdString();

    tip = tooltipOf(main.tbToolBar().Buttons("Save").widget());
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->text(), "Save");
    QToolTip::hideText();
}

TEST_F(StartAndMainWindow, TheSecondButtonEndsAtOnceAndWritesNothing)
{
    velumir::start(program());
    form<frmLogOn>().Command1().widget()->setFocus();
    QTest::mouseClick(form<frmLogOn>().Command1().widget(), Qt::LeftButton);
    EXPECT_TRUE(program().ended());
    EXPECT_FALSE(form<frmMain>().IsLoaded());
    EXPECT_FALSE(std::filesystem::exists(settingsFile()));
}

TEST_F(StartAndMainWindow, ClosingTheStartWindowEndsTheProgram)
{
    velumir::start(program());
    form<frmLogOn>().outer()->close();
    processEvents();
    EXPECT_TRUE(program().ended());
    EXPECT_FALSE(form<frmLogOn>().IsLoaded());
    EXPECT_FALSE(form<frmMain>().IsLoaded());
    EXPECT_FALSE(std::filesystem::exists(settingsFile()));
}

TEST_F(StartAndMainWindow, ExitEndsAtOnceWithoutUnloadingAnything)
{
    makeNewTestament();
    startToMainWindow();
    form<frmMain>().menu("mniExit").action()->trigger();
    EXPECT_TRUE(program().ended());
    EXPECT_FALSE(std::filesystem::exists(settingsFile()));
    // No unload handler ran: the New Testament's link is still open.
    EXPECT_EQ(form<NT>().cnTestament.State(), 1);
}

TEST_F(StartAndMainWindow, TheRestoredMainWindowHasItsDesignClientAreaCentredOnTheScreen)
{
    makeNewTestament();
    startToMainWindow();
    auto &main = form<frmMain>();
    EXPECT_EQ(main.WindowState(), rt::vbMaximized);
    main.setWindowState(rt::vbNormal);
    processEvents();
    auto *window = static_cast<QMainWindow *>(main.outer());
    // 10335 x 5820 twips below the menu bar.
    EXPECT_EQ(main.ScaleWidth(), 10335);
    EXPECT_EQ(main.ScaleHeight(), 5820);
    EXPECT_EQ(main.client()->y(), window->menuBar()->height());
    expectCentredOnTheScreen(window);
}

// The frame's place and size in pixels, as twips (15 a pixel) written as whole numbers.
std::string twips(int pixels)
{
    return std::to_string(pixels * 15);
}

// A child window that runs a check as it unloads.
class UnloadProbe : public rt::Form {
public:
    explicit UnloadProbe(rt::Program &program) : rt::Form(program, rt::FormKind::MdiChild) {}
    std::function<void()> unloading;

protected:
    void design() override {}
    void Form_Unload(int &) override { unloading(); }
};

TEST_F(StartAndMainWindow, ClosingTheMainWindowUnloadsTheChildrenThenWritesThePlacement)
{
    makeNewTestament();
    startToMainWindow();
    bool probeUnloaded = false;
    form<UnloadProbe>().unloading = [&] {
        probeUnloaded = true;
        EXPECT_FALSE(std::filesystem::exists(settingsFile())) << "the placement was written before the children unloaded";
    };
    form<UnloadProbe>().Show();
    const QRect frame = closeRestoredMainWindow();

    EXPECT_FALSE(form<NT>().IsLoaded());
    EXPECT_EQ(form<NT>().cnTestament.State(), 0);
    EXPECT_TRUE(probeUnloaded);
    EXPECT_TRUE(program().ended());
    auto &settings = program().settings();
    EXPECT_EQ(settings.GetSetting("Velumir", "Settings", "MainLeft"), twips(frame.x()));
    EXPECT_EQ(settings.GetSetting("Velumir", "Settings", "MainTop"), twips(frame.y()));
    EXPECT_EQ(settings.GetSetting("Velumir", "Settings", "MainWidth"), twips(frame.width()));
    EXPECT_EQ(settings.GetSetting("Velumir", "Settings", "MainHeight"), twips(frame.height()));
    // The frame lies around the client area set above.
    EXPECT_LE(frame.x(), 30);
    EXPECT_GE(frame.width(), 800);
    // In the user's configuration folder, as the README names it.
    EXPECT_TRUE(testing_support::contains(testing_support::readFile(settingsFile()),
                                          "[Settings]\nMainHeight=" + twips(frame.height()) + "\n"));
}

// What the settings file held before the main window closed, and what of it
// stays beside the placement.
struct EarlierSettings {
    const char *name;
    std::string content;
    std::string kept; // a line that stays, or empty: the file holds the placement alone
};

void PrintTo(const EarlierSettings &earlier, std::ostream *os)
{
    *os << earlier.name;
}

class ClosingOverEarlierSettings : public StartAndMainWindow,
                                   public ::testing::WithParamInterface<EarlierSettings> {
};

TEST_P(ClosingOverEarlierSettings, WritesThePlacement)
{
    std::filesystem::create_directories(settingsFile().parent_path());
    testing_support::writeFile(settingsFile(), GetParam().content);
    makeNewTestament();
    startToMainWindow();
    const QRect frame = closeRestoredMainWindow();

    EXPECT_EQ(reportedNumbers(), std::vector<int>{});
    EXPECT_EQ(program().settings().GetSetting("Velumir", "Settings", "MainLeft"), twips(frame.x()));
    EXPECT_EQ(program().settings().GetSetting("Velumir", "Settings", "MainHeight"), twips(frame.height()));
    // A file that could not be read is replaced whole, so the next close
    // reads it; nothing is left beside it.
    const std::string file = testing_support::readFile(settingsFile());
    const std::string kept = GetParam().kept;
    EXPECT_TRUE(kept.empty() ? file.rfind("[Settings]\nMainHeight=", 0) == 0 : testing_support::contains(file, kept))
        << file.substr(0, 200);
    EXPECT_LT(file.size(), 200u);
    EXPECT_EQ(testing_support::namesIn(settingsFile().parent_path()), std::vector<std::string>{"Velumir.ini"});
}

std::string garbage(std::size_t size)
{
    std::string bytes(size, '\0');
    std::uint32_t x = 2463534242u;
    for (char &c : bytes) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = char(x);
    }
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClosingOverEarlierSettings,
    ::testing::Values(
        EarlierSettings{"Garbage", garbage(2 * 1024 * 1024), ""},
        EarlierSettings{"LinesWithoutValues", std::string(2 * 1024 * 1024, 'x'), ""},
        EarlierSettings{"AnotherSection", "[Other]\nKey=kept\n\n[Settings]\nMainLeft=1\n", "[Other]\nKey=kept\n"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(StartAndMainWindow, ClosingTheMainWindowWhileMinimizedWritesNothing)
{
    makeNewTestament();
    startToMainWindow();
    auto &main = form<frmMain>();
    main.setWindowState(rt::vbMinimized);
    processEvents();
    main.outer()->close();
    processEvents();
    EXPECT_TRUE(program().ended());
    EXPECT_FALSE(std::filesystem::exists(settingsFile()));
}

// A New Testament that cannot load is reported once; the main window opens without it.
struct BrokenStart {
    const char *name;
    std::function<void(StartAndMainWindow &)> make;
    int number;
};

class BrokenNewTestament : public StartAndMainWindow, public ::testing::WithParamInterface<BrokenStart> {
};

TEST_P(BrokenNewTestament, IsReportedAndLeavesTheMainWindowUsable)
{
    GetParam().make(*this);
    startToMainWindow();
    EXPECT_EQ(reportedNumbers(), std::vector<int>{GetParam().number});
    if (!reports().entries().empty()) {
        EXPECT_EQ(reports().entries().front().title, "Velumir");
    }
    EXPECT_TRUE(form<frmMain>().Visible());
    EXPECT_FALSE(form<frmLogOn>().Visible());
    EXPECT_FALSE(form<NT>().IsLoaded());
    EXPECT_EQ(form<NT>().cnTestament.State(), 0);
    EXPECT_EQ(form<NT>().rsWords.State(), 0);
    EXPECT_FALSE(program().ended());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BrokenNewTestament,
    ::testing::Values(
        BrokenStart{"MissingDataLinkFile", [](StartAndMainWindow &) {}, rt::err::DataLinkNotFound},
        BrokenStart{"EmptyTable", [](StartAndMainWindow &t) { t.makeNewTestament(0); }, rt::err::NoCurrentRecord},
        BrokenStart{"OneRowShort", [](StartAndMainWindow &t) { t.makeNewTestament(259); },
                    rt::err::NoCurrentRecord},
        BrokenStart{"MissingTable",
                    [](StartAndMainWindow &t) { t.makeTestament("tormin.udl", "matthew", t.newTestamentRows); },
                    rt::err::TableNotFound}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
