#include "support/program_fixture.h"

#include "runtime/controls/basic_controls.h"
#include "runtime/controls/menu.h"
#include "runtime/controls/timer.h"
#include "shell/about_box.h"
#include "shell/frm_main.h"
#include "shell/letter_window.h"

#include <QAction>
#include <QApplication>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTest>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace velumir;
using testing_support::ProgramTest;

namespace {

std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return lines;
        start = end + 2;
    }
}

class LetterWindow : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        makeNewTestament();
        startToMainWindow();
    }
    void choose(const std::string &entry) { form<frmMain>().menu(entry).action()->trigger(); }
    Form3 &letter() { return form<Form3>(); }
    void ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            letter().Timer1().tick();
    }
};

TEST_F(LetterWindow, OpensAsAChildWithTheLetterBelowTheStrip)
{
    choose("mnuHelp");
    auto &window = letter();
    ASSERT_TRUE(window.IsLoaded());
    ASSERT_NE(window.subWindow(), nullptr);
    EXPECT_TRUE(window.Visible());
    EXPECT_EQ(window.Caption(), "Letter");
    EXPECT_EQ(form<frmMain>().ActiveForm(), &window);

    EXPECT_EQ(window.Label1().Caption(), Form3::letterText());
    EXPECT_EQ(window.Label1().Left(), 600);
    EXPECT_EQ(window.Label1().Top(), 1080);
    EXPECT_GT(window.Label1().Height(), 1080);
    EXPECT_EQ(window.Timer1().Interval(), 200);
    EXPECT_TRUE(window.Timer1().running());

    EXPECT_EQ(window.Picture1().Top(), 0);
    EXPECT_EQ(window.Picture1().Height(), 615);
    EXPECT_EQ(window.Picture1().Width(), window.ScaleWidth());
    EXPECT_EQ(window.Label2().container(), window.Picture1().widget());
    EXPECT_EQ(window.Label2().Left(), 360);
    EXPECT_EQ(window.Label2().Top(), 120);

    // The strip lies above the letter, which passes beneath it.
    const QObjectList &stack = window.client()->children();
    EXPECT_GT(stack.indexOf(window.Picture1().widget()), stack.indexOf(window.Label1().widget()));
    EXPECT_TRUE(reportedNumbers().empty());
}

TEST_F(LetterWindow, TheLetterHasItsTwentyLines)
{
    const std::string text = Form3::letterText();
    const std::vector<std::string> lines = linesOf(text);
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_NE(text.substr(text.size() - 2), "\r\n");
    EXPECT_EQ(text.find('\t'), std::string::npos);

    for (int empty : {0, 1, 2, 5, 7})
        EXPECT_EQ(lines[empty], "") << "line " << empty + 1;
    EXPECT_EQ(lines[3][0], ' ');
    EXPECT_NE(lines[3][1], ' ');
    EXPECT_EQ(lines[4], std::string(61, '-'));
    EXPECT_EQ(lines[18], std::string(61, '-'));

    const std::string heading = lines[6];
    EXPECT_EQ(heading.find_first_not_of(' '), 46u);
    EXPECT_EQ(heading.find(' ', 46), std::string::npos) << "a one-word heading";

    EXPECT_EQ(lines[8].find_first_not_of(' '), 4u);
    for (int i = 9; i <= 17; ++i) {
        EXPECT_FALSE(lines[std::size_t(i)].empty()) << "line " << i + 1;
        EXPECT_NE(lines[std::size_t(i)][0], ' ') << "line " << i + 1;
    }

    const std::string closing = lines[19];
    EXPECT_EQ(closing.find_first_not_of(' '), 23u);
    EXPECT_EQ(closing.substr(23, 4), "-==-");
    EXPECT_EQ(closing.substr(closing.size() - 4), "-==-");
    EXPECT_GT(closing.size(), 23u + 8u);
}

TEST_F(LetterWindow, TheTextMovesUpFortyTwipsATick)
{
    struct Case {
        int ticks;
        float top;
    };
    for (const Case c : {Case{1, 1040}, Case{5, 880}, Case{50, -920}}) {
        choose("mnuHelp");
        ticks(c.ticks);
        EXPECT_EQ(letter().Label1().Top(), c.top) << c.ticks << " ticks";
        EXPECT_EQ(letter().Label1().Left(), 600);
        letter().Unload();
        processEvents();
    }
}

TEST_F(LetterWindow, ChoosingLetterAgainWhileOpenKeepsThePosition)
{
    choose("mnuHelp");
    ticks(5);
    choose("mnuHelp");
    EXPECT_EQ(letter().Label1().Top(), 880);
    EXPECT_EQ(letter().Label1().Caption(), Form3::letterText());
    EXPECT_TRUE(letter().Timer1().running());
}

TEST_F(LetterWindow, ClosingAndReopeningStartsAfresh)
{
    choose("mnuHelp");
    ticks(5);
    letter().outer()->close();
    processEvents();
    EXPECT_FALSE(letter().IsLoaded());

    choose("mnuHelp");
    EXPECT_EQ(letter().Label1().Top(), 1080);
    EXPECT_TRUE(letter().Timer1().running());
    EXPECT_TRUE(reportedNumbers().empty());
}

TEST_F(LetterWindow, TheScrollStopsOnceTheWholeTextHasLeftTheWindow)
{
    choose("mnuHelp");
    rt::Label &text = letter().Label1();
    const float height = text.Height();
    int count = 0;
    while (letter().Timer1().running()) {
        const float before = text.Top();
        ASSERT_GT(before + height, 0) << "still moving after the text has left";
        letter().Timer1().tick();
        ASSERT_EQ(text.Top(), before - 40) << "tick " << count + 1;
        ASSERT_LT(++count, 100000);
    }
    // It moved for as long as any of the text was visible, and no further.
    EXPECT_LE(text.Top() + height, 0);
    EXPECT_GT(text.Top() + height, -40);
    EXPECT_EQ(text.Height(), height);

    const float stopped = text.Top();
    ticks(1000);
    EXPECT_EQ(text.Top(), stopped);
    EXPECT_TRUE(reportedNumbers().empty());
}

TEST_F(LetterWindow, TheClockDrivesTheScroll)
{
    choose("mnuHelp");
    for (int waited = 0; letter().Label1().Top() == 1080 && waited < 5000; waited += 50)
        QTest::qWait(50);
    EXPECT_LT(letter().Label1().Top(), 1080);
    EXPECT_EQ(int(1080 - letter().Label1().Top()) % 40, 0);
}

TEST_F(LetterWindow, OpeningTheLetterLeavesTiledWindowsAsTheyWere)
{
    makeOldTestament();
    choose("mnuOT");
    processEvents();
    std::vector<std::pair<rt::Form *, QRect>> tiled;
    for (rt::Form *child : form<frmMain>().children())
        tiled.emplace_back(child, child->subWindow()->geometry());
    ASSERT_EQ(tiled.size(), 2u);

    choose("mnuHelp");
    processEvents();
    for (const auto &[child, geometry] : tiled)
        EXPECT_EQ(child->subWindow()->geometry(), geometry) << child->Caption();
    EXPECT_EQ(form<frmMain>().ActiveForm(), &letter());
    EXPECT_EQ(letter().ScaleWidth(), 7380);
    EXPECT_EQ(letter().ScaleHeight(), 5370);
}

class AboutBox : public LetterWindow {
protected:
    About &box() { return form<About>(); }
    int visibleAboutWindows()
    {
        int count = 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            count += w->isVisible() && w->windowTitle() == "About";
        return count;
    }
};

TEST_F(AboutBox, OpensCentredOnTheScreenWithTheFocusOnOK)
{
    choose("mnuAbo");
    processEvents();
    ASSERT_TRUE(box().Visible());
    EXPECT_EQ(box().subWindow(), nullptr);
    EXPECT_EQ(box().outer()->parentWidget(), nullptr);
    EXPECT_EQ(box().Caption(), "About");
    EXPECT_EQ(box().ScaleWidth(), 5715);
    EXPECT_EQ(box().ScaleHeight(), 3000);
    EXPECT_EQ(QApplication::focusWidget(), box().cmdOK().widget());

    // Centred by its whole frame, title bar included.
    const QPoint centre = QApplication::primaryScreen()->availableGeometry().center();
    const QRect frame = box().outer()->frameGeometry(), inner = box().outer()->geometry();
    EXPECT_GT(inner.top() - frame.top(), frame.bottom() - inner.bottom()) << "no title bar";
    const QPoint off = frame.center() - centre;
    EXPECT_LE(std::abs(off.x()), 1) << off.x();
    EXPECT_LE(std::abs(off.y()), 1) << off.y();

    EXPECT_EQ(box().Label1().Caption(), "RBHKm<IrbrisuT\xA7");
    EXPECT_EQ(box().lblVersion().Caption(), "Version 3.0.0");
    EXPECT_FALSE(box().lblDescription().Caption().empty());
    EXPECT_FALSE(box().lblDisclaimer().Caption().empty());
    EXPECT_FALSE(box().Image1().Picture().isNull());
    EXPECT_EQ(box().Image1().Top(), -360);
    EXPECT_TRUE(reportedNumbers().empty());
}

TEST_F(AboutBox, ChoosingAboutTwiceShowsOneBox)
{
    choose("mnuAbo");
    QWidget *first = box().outer();
    choose("mnuAbo");
    processEvents();
    EXPECT_EQ(box().outer(), first);
    EXPECT_EQ(visibleAboutWindows(), 1);
}

TEST_F(AboutBox, ChoosingAboutBringsTheOpenBoxBackToTheFront)
{
    choose("mnuAbo");
    processEvents();
    QWidget *window = box().outer();
    for (bool minimized : {false, true}) {
        if (minimized)
            window->showMinimized();
        form<frmMain>().outer()->activateWindow();
        processEvents();
        ASSERT_NE(QApplication::activeWindow(), window);

        choose("mnuAbo");
        processEvents();
        EXPECT_EQ(box().outer(), window);
        EXPECT_FALSE(window->isMinimized()) << minimized;
        EXPECT_EQ(QApplication::activeWindow(), window) << minimized;
        EXPECT_EQ(QApplication::focusWidget(), box().cmdOK().widget()) << minimized;
    }
}

TEST_F(AboutBox, EnterEscAndOKCloseTheBox)
{
    struct Case {
        const char *name;
        std::function<void(About &)> act;
    };
    const std::vector<Case> cases = {
        {"Enter", [](About &b) { QTest::keyClick(b.outer(), Qt::Key_Return); }},
        {"keypad Enter", [](About &b) { QTest::keyClick(b.outer(), Qt::Key_Enter); }},
        {"Esc", [](About &b) { QTest::keyClick(b.outer(), Qt::Key_Escape); }},
        {"Esc on the focused button", [](About &) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); }},
        {"a click on OK", [](About &b) { QTest::mouseClick(b.cmdOK().widget(), Qt::LeftButton); }},
    };
    for (const Case &c : cases) {
        choose("mnuAbo");
        processEvents();
        ASSERT_TRUE(box().Visible()) << c.name;
        c.act(box());
        processEvents();
        EXPECT_FALSE(box().IsLoaded()) << c.name;
        EXPECT_EQ(visibleAboutWindows(), 0) << c.name;
    }
    EXPECT_TRUE(reportedNumbers().empty());
}

TEST_F(AboutBox, TheMainWindowsMenusWorkWhileTheBoxIsOpen)
{
    choose("mnuAbo");
    processEvents();
    choose("mnuHelp");
    processEvents();
    EXPECT_TRUE(letter().Visible());
    EXPECT_EQ(form<frmMain>().ActiveForm(), &letter());
    EXPECT_TRUE(box().IsLoaded());
    EXPECT_TRUE(box().Visible());
    EXPECT_TRUE(reportedNumbers().empty());
}

} // namespace
