// The document window and the main window's document commands, driven
// through the real menus with scripted dialog answers.

#include "support/program_fixture.h"

#include "browser/new_testament_window.h"
#include "documents/document_window.h"
#include "runtime/controls/common_dialog.h"
#include "runtime/controls/menu.h"
#include "runtime/controls/rich_text_box.h"
#include "shell/frm_main.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

#include <fstream>
#include <iterator>

using namespace velumir;
using testing_support::ProgramTest;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

rt::FontChoice fontChoice(std::string name, float size, bool bold, bool italic, bool underline, bool strike)
{
    rt::FontChoice f;
    f.name = std::move(name);
    f.size = size;
    f.bold = bold;
    f.italic = italic;
    f.underline = underline;
    f.strikethru = strike;
    return f;
}

class DocumentTest : public ProgramTest {
public:
    void SetUp() override
    {
        ProgramTest::SetUp();
        files_ = drive().parent_path() / "files";
        std::filesystem::create_directories(files_);
        makeNewTestament();
        startToMainWindow();
    }

    void TearDown() override
    {
        EXPECT_TRUE(reportedNumbers().empty());
        EXPECT_EQ(dialogs().unexpected(), 0);
        EXPECT_TRUE(dialogs().allAnswered());
        ProgramTest::TearDown();
    }

    void command(const std::string &name)
    {
        form<frmMain>().menu(name).action()->trigger();
        processEvents();
    }

    std::string file(const std::string &name) const { return (files_ / name).string(); }

    frmDocument &document() { return form<frmDocument>(); }
    rt::RichTextBox &text() { return document().rtfText(); }
    rt::CommonDialog &mainDialog() { return form<frmMain>().dlgCommonDialog(); }

    void selectAll()
    {
        text().setSelStart(0);
        text().setSelLength(long(text().Text().size()));
    }

    // The document window, open, restored, and active.
    rt::RichTextBox &openDocument()
    {
        command("mnuFileNew");
        document().setWindowState(rt::vbNormal);
        processEvents();
        return text();
    }

    QRect geometryOf(rt::Form &window) { return window.subWindow()->geometry(); }
    QRect childArea() { return form<frmMain>().mdiArea()->viewport()->rect(); }

    std::filesystem::path files_;
};

// --- File New ---------------------------------------------------------------

TEST_F(DocumentTest, NewWithTheWindowClosedOpensItEmptyAndTilesTheChildren)
{
    ASSERT_FALSE(document().IsLoaded());
    command("mnuFileNew");

    ASSERT_TRUE(document().IsLoaded());
    EXPECT_TRUE(document().Visible());
    EXPECT_EQ(document().Caption(), "frmDocument");
    EXPECT_EQ(text().Text(), "");
    EXPECT_EQ(text().SelColor(), 0);
    // Tiling leaves the new window the active one.
    EXPECT_EQ(form<frmMain>().ActiveForm(), &document());

    // The New Testament window was maximized: both now share the area, one above the other.
    const QRect area = childArea();
    const QRect nt = geometryOf(form<NT>());
    const QRect doc = geometryOf(document());
    EXPECT_FALSE(form<NT>().subWindow()->isMaximized());
    EXPECT_EQ(nt.width(), area.width());
    EXPECT_EQ(doc.width(), area.width());
    EXPECT_EQ(nt.height() + doc.height(), area.height());
    EXPECT_TRUE(nt.top() == doc.bottom() + 1 || doc.top() == nt.bottom() + 1);
}

TEST_F(DocumentTest, NewWithTheWindowOpenKeepsTheTextAndRecoloursTheSelection)
{
    openDocument().setText("first line\r\nsecond");
    dialogs().answer(QColor(0x20, 0x40, 0xC0));
    command("mnuFmtColor");
    text().setSelStart(6);
    text().setSelLength(4);
    ASSERT_EQ(text().SelColor(), 0);

    command("mnuFileNew");
    EXPECT_EQ(text().Text(), "first line\r\nsecond");
    EXPECT_EQ(text().SelText(), "line");
    EXPECT_EQ(text().SelColor(), 0xC04020);
    text().setSelStart(0);
    text().setSelLength(5);
    EXPECT_EQ(text().SelColor(), 0);
}

TEST_F(DocumentTest, NewNeitherActivatesNorRestoresTheOpenWindow)
{
    openDocument();
    form<NT>().Show();
    processEvents();
    ASSERT_EQ(form<frmMain>().ActiveForm(), &form<NT>());

    command("mnuFileNew");
    EXPECT_EQ(form<frmMain>().ActiveForm(), &form<NT>());

    document().setWindowState(rt::vbMinimized);
    processEvents();
    command("mnuFileNew");
    EXPECT_EQ(document().WindowState(), rt::vbMinimized);
    // The minimized window keeps its place at the foot; the other fills the area above it.
    const QRect minimized = geometryOf(document());
    EXPECT_EQ(minimized.bottom(), childArea().bottom());
    EXPECT_EQ(geometryOf(form<NT>()), childArea().adjusted(0, 0, 0, -minimized.height()));
}

// --- File Open and Save -----------------------------------------------------

TEST_F(DocumentTest, OpenCancelledLoadsNothing)
{
    dialogs().cancel();
    command("mnuFileOpen");
    EXPECT_FALSE(document().IsLoaded());
    EXPECT_TRUE(mainDialog().CancelError());

    openDocument().setText("kept");
    dialogs().cancel();
    command("mnuFileOpen");
    EXPECT_EQ(text().Text(), "kept");
}

TEST_F(DocumentTest, OpenConfirmedWithTheWindowClosedShowsTheFile)
{
    writeFile(file("notes.rtf"), "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 Hello {\\b world}}");
    dialogs().answer(file("notes.rtf"));
    command("mnuFileOpen");

    ASSERT_TRUE(document().IsLoaded());
    EXPECT_TRUE(document().Visible());
    EXPECT_EQ(document().Caption(), "frmDocument");
    EXPECT_EQ(text().Text(), "Hello world");
    text().setSelStart(6);
    text().setSelLength(5);
    EXPECT_EQ(text().SelBold(), rt::Variant(true));
    EXPECT_EQ(mainDialog().FileName(), file("notes.rtf"));

    // Shown without tiling, at its design size, laid out before it showed.
    EXPECT_EQ(document().ScaleWidth(), 4680);
    EXPECT_EQ(document().ScaleHeight(), 3090);
    EXPECT_EQ(text().Width(), 4480);
    EXPECT_EQ(text().Height(), 2890);
    EXPECT_EQ(text().RightMargin(), 4080);
}

TEST_F(DocumentTest, SaveWithTheWindowClosedWritesAnEmptyDocument)
{
    dialogs().answer(file("empty.rtf"));
    command("mnuFileSave");

    ASSERT_TRUE(document().IsLoaded());
    EXPECT_TRUE(document().Visible());
    const std::string saved = readFile(file("empty.rtf"));
    ASSERT_EQ(saved.rfind("{\\rtf", 0), 0u) << saved;

    text().setText("something");
    dialogs().answer(file("empty.rtf"));
    command("mnuFileOpen");
    EXPECT_EQ(text().Text(), "");
}

TEST_F(DocumentTest, SaveCancelledWritesNothing)
{
    dialogs().cancel();
    command("mnuFileSave");
    EXPECT_FALSE(document().IsLoaded());
    EXPECT_TRUE(std::filesystem::is_empty(files_));
}

TEST_F(DocumentTest, SaveUsesExactlyTheChosenNameAndAddsNoExtension)
{
    openDocument().setText("plain notes");
    dialogs().answer(file("notes"));
    command("mnuFileSave");
    EXPECT_TRUE(std::filesystem::is_regular_file(file("notes")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(files_), {}), 1);
}

TEST_F(DocumentTest, TheFileTypeListAppearsOnlyAfterAFontCommand)
{
    dialogs().cancel();
    command("mnuFileOpen");
    EXPECT_EQ(dialogs().lastFilter(), "");
    dialogs().cancel();
    command("mnuFileSave");
    EXPECT_EQ(dialogs().lastFilter(), "");

    dialogs().cancel();
    command("mnuFmtFont");
    dialogs().cancel();
    command("mnuFileOpen");
    EXPECT_EQ(dialogs().lastFilter(), "All Files (*.*)|*.*");
    dialogs().cancel();
    command("mnuFileSave");
    EXPECT_EQ(dialogs().lastFilter(), "All Files (*.*)|*.*");

    // "*.*" is every file, with or without a dot.
    EXPECT_EQ(rt::nameFilters("All Files (*.*)|*.*"), QStringList{"All Files (*.*) (*)"});
    EXPECT_TRUE(rt::nameFilters("").isEmpty());
}

TEST_F(DocumentTest, SaveAfterOpenStartsWithTheOpenedFilesPath)
{
    writeFile(file("a.rtf"), "{\\rtf1 a}");
    dialogs().answer(file("a.rtf"));
    command("mnuFileOpen");
    dialogs().cancel();
    command("mnuFileSave");
    EXPECT_EQ(dialogs().lastFileName(), file("a.rtf"));

    // A cancelled dialog keeps the name it started with.
    dialogs().cancel();
    command("mnuFileOpen");
    EXPECT_EQ(dialogs().lastFileName(), file("a.rtf"));
}

TEST_F(DocumentTest, OpeningAFileThatIsNotRichTextLeavesTheDocumentAsItWas)
{
    writeFile(file("plain.txt"), "just some words\n");
    writeFile(file("late.rtf"), "x{\\rtf1 late}");
    auto &box = openDocument();
    box.setText("keep me");
    selectAll();
    box.setSelBold(true);

    std::filesystem::create_directory(files_ / "folder.rtf");
    const std::pair<const char *, int> cases[] = {
        {"plain.txt", 321}, {"late.rtf", 321}, {"missing.rtf", 53}, {"folder.rtf", 75}};
    for (const auto &[name, number] : cases) {
        SCOPED_TRACE(name);
        dialogs().answer(file(name));
        command("mnuFileOpen");
        // Reported, unlike a cancelled dialog.
        EXPECT_EQ(reportedNumbers(), std::vector<int>{number});
        reports().clear();
        EXPECT_EQ(box.Text(), "keep me");
        selectAll();
        EXPECT_EQ(box.SelBold(), rt::Variant(true));
    }

    try {
        box.LoadFile(file("plain.txt"), rt::rtfRTF);
        ADD_FAILURE() << "a text file loaded as RTF";
    } catch (const rt::RuntimeError &e) {
        EXPECT_EQ(e.number(), 321);
    }
}

// --- Format Font and Color --------------------------------------------------

TEST_F(DocumentTest, FontConfirmedSetsAllSixAttributesOfTheInsertionPoint)
{
    ASSERT_FALSE(document().IsLoaded());
    dialogs().answer(fontChoice("Limon S1", 14, true, true, true, true));
    command("mnuFmtFont");
    ASSERT_TRUE(document().IsLoaded());
    EXPECT_TRUE(document().Visible());
    EXPECT_TRUE(mainDialog().CancelError());

    QTest::keyClicks(text().editor(), "typed");
    selectAll();
    EXPECT_EQ(text().SelText(), "typed");
    EXPECT_EQ(text().SelBold(), rt::Variant(true));
    EXPECT_EQ(text().SelItalic(), rt::Variant(true));
    EXPECT_EQ(text().SelUnderline(), rt::Variant(true));
    EXPECT_EQ(text().SelStrikeThru(), rt::Variant(true));
    EXPECT_EQ(text().SelFontName(), rt::Variant(std::string("Limon S1")));
    EXPECT_EQ(text().SelFontSize(), rt::Variant(14.0));
}

TEST_F(DocumentTest, FontSetsEveryAttributeEvenThoseTheUserLeftAlone)
{
    dialogs().answer(fontChoice("Limon S1", 14, true, false, true, false));
    command("mnuFmtFont");
    text().setText("bold underlined");
    selectAll();
    text().setSelBold(true);
    text().setSelUnderline(true);

    // The dialog opens with what it held last; OK without changes.
    dialogs().answer(fontChoice("Limon R1", 10, false, false, false, false));
    command("mnuFmtFont");
    EXPECT_EQ(dialogs().lastFont().name, "Limon S1");
    EXPECT_EQ(dialogs().lastFont().size, 14.0f);
    EXPECT_TRUE(dialogs().lastFont().bold);
    EXPECT_TRUE(dialogs().lastFont().underline);
    EXPECT_EQ(text().SelBold(), rt::Variant(false));
    EXPECT_EQ(text().SelUnderline(), rt::Variant(false));
    EXPECT_EQ(text().SelFontName(), rt::Variant(std::string("Limon R1")));
    EXPECT_EQ(text().SelFontSize(), rt::Variant(10.0));
}

TEST_F(DocumentTest, FontCancelledChangesNothingAndOpensNothing)
{
    dialogs().cancel();
    command("mnuFmtFont");
    EXPECT_FALSE(document().IsLoaded());

    auto &box = openDocument();
    box.setText("styled");
    selectAll();
    box.setSelItalic(true);
    box.setSelFontSize(20.0);
    dialogs().cancel();
    command("mnuFmtFont");
    EXPECT_EQ(box.SelItalic(), rt::Variant(true));
    EXPECT_EQ(box.SelFontSize(), rt::Variant(20.0));
    EXPECT_EQ(box.SelBold(), rt::Variant(false));
}

TEST_F(DocumentTest, AFailingFontAssignmentKeepsThoseBeforeItAndMakesNoneAfter)
{
    auto &box = openDocument();
    box.setText("x");
    selectAll();
    // A size the text box refuses: bold, italic and name are set, the rest is not.
    dialogs().answer(fontChoice("Limon F3", 0, true, true, true, true));
    command("mnuFmtFont");
    EXPECT_EQ(box.SelBold(), rt::Variant(true));
    EXPECT_EQ(box.SelItalic(), rt::Variant(true));
    EXPECT_EQ(box.SelFontName(), rt::Variant(std::string("Limon F3")));
    EXPECT_EQ(box.SelStrikeThru(), rt::Variant(false));
    EXPECT_EQ(box.SelUnderline(), rt::Variant(false));
}

TEST_F(DocumentTest, ColorCancelledAppliesTheColourTheDialogHolds)
{
    writeFile(file("red.rtf"), "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}\\cf1 red text}");
    dialogs().answer(file("red.rtf"));
    command("mnuFileOpen");
    selectAll();
    ASSERT_EQ(text().SelColor(), 0x0000FF);

    // Freshly loaded: the dialog holds black.
    dialogs().cancel();
    command("mnuFmtColor");
    EXPECT_EQ(dialogs().lastColor(), QColor(Qt::black));
    EXPECT_EQ(text().SelColor(), 0);

    dialogs().answer(QColor(0, 128, 0));
    command("mnuFmtColor");
    EXPECT_EQ(text().SelColor(), 0x008000);
    EXPECT_EQ(document().CommonDialog1().Color(), 0x008000);

    text().setSelStart(0);
    text().setSelLength(3);
    dialogs().cancel();
    command("mnuFmtColor");
    EXPECT_EQ(dialogs().lastColor(), QColor(0, 128, 0));
    EXPECT_EQ(text().SelColor(), 0x008000);
    EXPECT_FALSE(document().CommonDialog1().CancelError());
}

TEST_F(DocumentTest, ColorWithTheWindowClosedOpensItBeforeTheDialog)
{
    dialogs().answer(QColor(255, 255, 0));
    command("mnuFmtColor");
    ASSERT_TRUE(document().IsLoaded());
    QTest::keyClicks(text().editor(), "yy");
    selectAll();
    EXPECT_EQ(text().SelColor(), 0x00FFFF);
}

TEST_F(DocumentTest, ClosingAndReopeningGivesAnEmptyDocumentWithABlackDialogColour)
{
    dialogs().answer(QColor(255, 0, 0));
    command("mnuFmtColor");
    dialogs().cancel();
    command("mnuFmtFont");
    QTest::keyClicks(text().editor(), "lost");
    document().outer()->close();
    processEvents();
    ASSERT_FALSE(document().IsLoaded());

    command("mnuFileNew");
    ASSERT_TRUE(document().IsLoaded());
    EXPECT_EQ(text().Text(), "");
    EXPECT_EQ(document().CommonDialog1().Color(), 0);
    QTest::keyClicks(text().editor(), "new");
    selectAll();
    EXPECT_EQ(text().SelColor(), 0);

    // The main window's dialog lives on with what the commands left in it.
    EXPECT_EQ(mainDialog().Filter(), "All Files (*.*)|*.*");
    EXPECT_TRUE(mainDialog().CancelError());
}

// --- Layout -----------------------------------------------------------------

class DocumentLayout : public DocumentTest {
public:
    // Sizes the document window so that its client area is `width` x `height` twips.
    void clientSize(float width, float height)
    {
        QMdiSubWindow *sub = document().subWindow();
        const QSize extra = sub->size() - document().client()->size();
        sub->resize(rt::toPixels(width) + extra.width(), rt::toPixels(height) + extra.height());
        processEvents();
        ASSERT_EQ(document().ScaleWidth(), width);
        ASSERT_EQ(document().ScaleHeight(), height);
    }

    void expectMargins()
    {
        EXPECT_EQ(text().Left(), 100);
        EXPECT_EQ(text().Top(), 100);
        EXPECT_EQ(text().Width(), document().ScaleWidth() - 200);
        EXPECT_EQ(text().Height(), document().ScaleHeight() - 200);
        EXPECT_EQ(text().RightMargin(), text().Width() - 400);
        const QRect box = text().editor()->geometry();
        EXPECT_EQ(box.topLeft(), QPoint(rt::toPixels(100), rt::toPixels(100)));
        EXPECT_EQ(box.width(), rt::toPixels(text().Width()));
    }
};

TEST_F(DocumentLayout, TheTextBoxKeepsAHundredTwipMarginAndWrapsShortOfItsEdge)
{
    openDocument();
    expectMargins();
    clientSize(6000, 3000);
    expectMargins();
}

TEST_F(DocumentLayout, LinesWrapAtTheRightMarginFromTheTextsLeftEdge)
{
    auto &box = openDocument();
    clientSize(6000, 3000);
    std::string words;
    for (int i = 0; i < 80; ++i)
        words += "word ";
    box.setText(words);
    processEvents();
    const int limit = rt::toPixels(box.RightMargin());
    QTextLayout *layout = box.editor()->document()->firstBlock().layout();
    ASSERT_GT(layout->lineCount(), 2);
    for (int i = 0; i < layout->lineCount(); ++i) {
        EXPECT_EQ(layout->lineAt(i).width(), limit) << "line " << i;
        EXPECT_LE(layout->lineAt(i).naturalTextWidth(), limit) << "line " << i;
    }
    // No horizontal scrolling: the wrapped text fits inside the box.
    EXPECT_FALSE(box.editor()->horizontalScrollBar()->isVisible());
}

struct SmallClient {
    float width;
    float height;
};

class SmallClientTable : public DocumentLayout, public ::testing::WithParamInterface<SmallClient> {};

TEST_P(SmallClientTable, BelowTwoHundredTwipsTheBoxKeepsItsPlace)
{
    openDocument();
    clientSize(4800, 3000);
    const float width = text().Width();
    const float height = text().Height();
    const float margin = text().RightMargin();

    clientSize(GetParam().width, GetParam().height);
    EXPECT_EQ(text().Left(), 100);
    EXPECT_EQ(text().Top(), 100);
    EXPECT_EQ(text().Width(), width);
    EXPECT_EQ(text().Height(), height);
    EXPECT_EQ(text().RightMargin(), margin);

    clientSize(4500, 2400);
    expectMargins();
}

INSTANTIATE_TEST_SUITE_P(Sizes, SmallClientTable,
                         ::testing::Values(SmallClient{150, 3000}, SmallClient{4800, 150},
                                           SmallClient{195, 195}, SmallClient{0, 0}));

TEST_F(DocumentLayout, AMarginTheBoxRefusesLeavesThePreviousOne)
{
    openDocument();
    clientSize(4800, 3000);
    ASSERT_EQ(text().RightMargin(), 4200);
    // Wide enough to move the box, too narrow for a margin 400 twips short of it.
    clientSize(450, 3000);
    EXPECT_EQ(text().Width(), 250);
    EXPECT_EQ(text().RightMargin(), 4200);
    clientSize(600, 3000);
    EXPECT_EQ(text().Width(), 400);
    EXPECT_EQ(text().RightMargin(), 0);
}

} // namespace
