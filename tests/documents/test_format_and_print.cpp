// The main window's Format Bold, Italic and Size and File Print commands,
// which act on the New Testament window's text pane whichever child is active.

#include "support/program_fixture.h"
#include "support/window_helpers.h"

#include "browser/new_testament_window.h"
#include "documents/document_window.h"
#include "runtime/controls/common_dialog.h"
#include "runtime/controls/menu.h"
#include "runtime/controls/rich_text_box.h"
#include "runtime/controls/toolbar.h"
#include "shell/frm_main.h"

#include <QAction>
#include <QApplication>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>

#include <algorithm>
#include <map>

using namespace velumir;
using testing_support::clickNode;
using testing_support::ProgramTest;

namespace {

// The chapter shown by the tests: three lines of distinct words.
const std::string kChapter = "ALPHA bravo CHARLIE\r\ndelta ECHO foxtrot\r\nGOLF hotel INDIA";

// The character format of the character at `position` of the box.
QTextCharFormat formatAt(rt::RichTextBox &box, int position)
{
    QTextCursor cursor(box.editor()->document());
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

void select(rt::RichTextBox &box, long start, long length)
{
    box.setSelStart(start);
    box.setSelLength(length);
}

// The text of a PDF file, as pdftotext reads it back.
std::string pdfText(const std::filesystem::path &pdf)
{
    QProcess process;
    process.start("pdftotext", {QString::fromStdString(pdf.string()), "-"});
    if (!process.waitForFinished(30000))
        return "(pdftotext did not finish)";
    return process.readAllStandardOutput().toStdString();
}

// The height of each word of a PDF file, in points, as pdftotext measures it.
std::map<std::string, double> pdfWordHeights(const std::filesystem::path &pdf)
{
    QProcess process;
    process.start("pdftotext", {"-bbox", QString::fromStdString(pdf.string()), "-"});
    process.waitForFinished(30000);
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression word(R"re(yMin="([0-9.]+)"[^>]*yMax="([0-9.]+)">([^<]+)</word>)re");
    std::map<std::string, double> heights;
    for (const auto &m : word.globalMatch(html))
        heights[m.captured(3).toStdString()] = m.captured(2).toDouble() - m.captured(1).toDouble();
    return heights;
}

class FormatAndPrint : public ProgramTest {
public:
    void SetUp() override
    {
        ProgramTest::SetUp();
        auto rows = newTestamentRows;
        rows[0].second = kChapter;
        makeTestament("tormin.udl", "mattew", rows);
        startToMainWindow();
        clickNode(nt().tv(), nt().tv().nodes().Item("a1"));
        ASSERT_EQ(pane().Text(), kChapter);
    }

    void TearDown() override
    {
        EXPECT_TRUE(reportedNumbers().empty());
        EXPECT_EQ(dialogs().unexpected(), 0);
        EXPECT_TRUE(dialogs().allAnswered());
        ProgramTest::TearDown();
    }

    NT &nt() { return form<NT>(); }
    rt::RichTextBox &pane() { return nt().Text1(); }

    void command(const std::string &name)
    {
        form<frmMain>().menu(name).action()->trigger();
        processEvents();
    }

    // A printer dialog answered OK, with the printer sent to a PDF file.
    std::filesystem::path answerPrintToPdf(const std::string &name)
    {
        const std::filesystem::path pdf = drive().parent_path() / name;
        dialogs().answer(std::function<bool(QPrinter &)>([pdf](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(pdf.string()));
            return true;
        }));
        return pdf;
    }
};

struct Toggle {
    const char *command;
    rt::Variant (rt::RichTextBox::*read)() const;
    void (rt::RichTextBox::*write)(const rt::Variant &);
    bool (*of)(const QTextCharFormat &);
};

const Toggle kToggles[] = {
    {"mnuFmtBold", &rt::RichTextBox::SelBold, &rt::RichTextBox::setSelBold,
     [](const QTextCharFormat &f) { return f.fontWeight() >= QFont::DemiBold; }},
    {"mnuFmtItalic", &rt::RichTextBox::SelItalic, &rt::RichTextBox::setSelItalic,
     [](const QTextCharFormat &f) { return f.fontItalic(); }},
};

TEST_F(FormatAndPrint, TogglesTurnAPlainSelectionOnAndAStyledOneOff)
{
    for (const Toggle &t : kToggles) {
        SCOPED_TRACE(t.command);
        select(pane(), 6, 5); // "bravo"
        command(t.command);
        EXPECT_EQ((pane().*t.read)(), rt::Variant(true));
        for (int i = 0; i < 21; ++i)
            EXPECT_EQ(t.of(formatAt(pane(), i)), i >= 6 && i < 11) << "character " << i;

        command(t.command);
        EXPECT_EQ((pane().*t.read)(), rt::Variant(false));
        EXPECT_FALSE(t.of(formatAt(pane(), 8)));
    }
}

TEST_F(FormatAndPrint, ToggleOnAMixedSelectionKeepsEveryCharactersStyle)
{
    for (const Toggle &t : kToggles) {
        SCOPED_TRACE(t.command);
        select(pane(), 0, 5); // "ALPHA" styled
        (pane().*t.write)(rt::Variant(true));
        select(pane(), 3, 6); // "HA bra": half styled
        ASSERT_TRUE((pane().*t.read)().isNull());

        command(t.command);
        EXPECT_TRUE((pane().*t.read)().isNull());
        for (int i = 0; i < 11; ++i)
            EXPECT_EQ(t.of(formatAt(pane(), i)), i < 5) << "character " << i;
        EXPECT_TRUE(nt().IsLoaded());
    }
}

TEST_F(FormatAndPrint, WithNothingSelectedTogglesAndSizesChangeOnlyTheInsertionPoint)
{
    select(pane(), 8, 0); // inside "bravo"
    command("mnuFmtBold");
    command("mnuFmtItalic");
    command("mnuFmtSizeLarge");
    EXPECT_EQ(pane().SelBold(), rt::Variant(true));
    EXPECT_EQ(pane().SelItalic(), rt::Variant(true));
    EXPECT_EQ(pane().SelFontSize(), rt::Variant(30.0));

    for (int i = 0; i < int(pane().editor()->document()->characterCount()) - 1; ++i) {
        const QTextCharFormat f = formatAt(pane(), i);
        EXPECT_FALSE(f.fontWeight() >= QFont::DemiBold || f.fontItalic()) << "character " << i;
        EXPECT_FALSE(f.hasProperty(QTextFormat::FontPointSize) && f.fontPointSize() != 21.75)
            << "character " << i;
    }
}

TEST_F(FormatAndPrint, SizesGiveEverySelectedCharacterTheirSizeOverMixedSizes)
{
    const std::pair<const char *, double> sizes[] = {
        {"mnuFmtSizeSmall", 18}, {"mnuFmtSizeMedium", 22}, {"mnuFmtSizeLarge", 30}};
    for (const auto &[command_, points] : sizes) {
        SCOPED_TRACE(command_);
        select(pane(), 6, 5);
        pane().setSelFontSize(10);
        select(pane(), 0, 11); // 21.75 pt then 10 pt
        ASSERT_TRUE(pane().SelFontSize().isNull());

        command(command_);
        EXPECT_EQ(pane().SelFontSize(), rt::Variant(points));
        for (int i = 0; i < 11; ++i)
            EXPECT_EQ(formatAt(pane(), i).fontPointSize(), points) << "character " << i;
        select(pane(), 11, 1);
        EXPECT_EQ(pane().SelFontSize(), rt::Variant(21.75)); // the space after the selection
    }
}

TEST_F(FormatAndPrint, CtrlBAndCtrlIInTheDocumentWindowStyleTheNewTestamentText)
{
    command("mnuFileNew");
    rt::RichTextBox &doc = form<frmDocument>().rtfText();
    doc.setSelRTF("notes");
    select(doc, 0, 5);
    select(pane(), 12, 7); // "CHARLIE"
    ASSERT_EQ(form<frmMain>().ActiveForm(), &form<frmDocument>());
    ASSERT_EQ(QApplication::focusWidget(), doc.editor());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_B, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_I, Qt::ControlModifier);
    processEvents();

    EXPECT_EQ(pane().SelBold(), rt::Variant(true));
    EXPECT_EQ(pane().SelItalic(), rt::Variant(true));
    EXPECT_EQ(doc.SelBold(), rt::Variant(false));
    EXPECT_EQ(doc.SelItalic(), rt::Variant(false));
    EXPECT_EQ(doc.Text(), "notes");
    EXPECT_EQ(form<frmMain>().ActiveForm(), &form<frmDocument>());
}

TEST_F(FormatAndPrint, PrintWithASelectionPrintsOnlyThatPart)
{
    select(pane(), 20, 18); // "delta ECHO foxtrot"
    // With the notes document active, File "Print" and the editing toolbar's
    // Print still print the New Testament text.
    command("mnuFileNew");
    form<frmDocument>().rtfText().setText("NOTES");
    for (const std::string how : {"menu", "toolbar"}) {
        const auto pdf = answerPrintToPdf(how + ".pdf");
        if (how == "menu")
            command("mnuPrint");
        else
            form<frmMain>().tbToolBar().Buttons("Print").click();
        processEvents();

        ASSERT_TRUE(std::filesystem::exists(pdf)) << how;
        const std::string text = pdfText(pdf);
        EXPECT_NE(text.find("delta ECHO foxtrot"), std::string::npos) << how << ": " << text;
        for (const char *outside : {"ALPHA", "CHARLIE", "GOLF", "INDIA", "NOTES"})
            EXPECT_EQ(text.find(outside), std::string::npos) << outside << " in " << text;
        EXPECT_TRUE(nt().CommonDialog1().CancelError());
    }
}

TEST_F(FormatAndPrint, PrintWithoutASelectionPrintsTheWholeChapterWithItsFormatting)
{
    select(pane(), 0, 5);
    pane().setSelFontSize(30);
    select(pane(), 27, 0);
    const auto pdf = answerPrintToPdf("chapter.pdf");
    command("mnuPrint");

    const std::string text = pdfText(pdf);
    for (const char *line : {"ALPHA bravo CHARLIE", "delta ECHO foxtrot", "GOLF hotel INDIA"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " not in " << text;
    EXPECT_EQ(text.find_first_of("0123456789"), std::string::npos) << "no page number: " << text;

    // The 30 pt word stands as much taller than its 21.75 pt neighbour as in the pane.
    const auto heights = pdfWordHeights(pdf);
    ASSERT_TRUE(heights.count("ALPHA") && heights.count("bravo"));
    EXPECT_NEAR(heights.at("ALPHA") / heights.at("bravo"), 30 / 21.75, 0.03);
}

TEST_F(FormatAndPrint, PrintOfALongTextFillsPageAfterPageWithEveryLineOnce)
{
    std::string lines;
    for (int i = 1; i <= 120; ++i)
        lines += "line " + std::to_string(1000 + i) + (i < 120 ? "\r\n" : "");
    pane().setText(lines);
    const auto pdf = answerPrintToPdf("long.pdf");
    command("mnuPrint");

    const std::string text = pdfText(pdf);
    EXPECT_GE(std::count(text.begin(), text.end(), '\f'), 3);
    for (int i = 1; i <= 120; ++i) {
        const std::string line = "line " + std::to_string(1000 + i);
        const auto at = text.find(line);
        EXPECT_NE(at, std::string::npos) << line;
        EXPECT_EQ(text.find(line, at + 1), std::string::npos) << line << " printed twice";
    }

    // The page range chosen in the printer dialog reaches the print.
    const std::filesystem::path range = drive().parent_path() / "range.pdf";
    dialogs().answer(std::function<bool(QPrinter &)>([range](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(range.string()));
        printer.setFromTo(2, 3);
        return true;
    }));
    command("mnuPrint");
    const std::string pages = pdfText(range);
    EXPECT_EQ(std::count(pages.begin(), pages.end(), '\f'), 2);
    const std::string secondPage = text.substr(text.find('\f') + 1, 12);
    EXPECT_EQ(pages.find(secondPage), 0u) << secondPage << " does not start " << pages.substr(0, 40);
    EXPECT_EQ(pages.find("line 1001"), std::string::npos);
}

TEST_F(FormatAndPrint, PrintCancelledPrintsNothingAndMakesTheColourDialogsCancelKeepTheColour)
{
    const long red = 0x0000FF;
    select(pane(), 0, 5);
    dialogs().answer(QColor(0xFF, 0, 0));
    nt().tbToolBar().Buttons("Color").click();
    ASSERT_EQ(pane().SelColor(), red);

    // Before any print, Cancel applies the colour the dialog holds.
    select(pane(), 6, 5);
    dialogs().cancel();
    nt().tbToolBar().Buttons("Color").click();
    EXPECT_EQ(pane().SelColor(), red);

    // Cancel in the printer dialog, which was set to print to a file: no file.
    bool shown = false;
    const std::filesystem::path pdf = drive().parent_path() / "cancelled.pdf";
    dialogs().answer(std::function<bool(QPrinter &)>([&](QPrinter &printer) {
        shown = true;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf.string()));
        return false;
    }));
    command("mnuPrint");
    EXPECT_TRUE(shown);
    EXPECT_FALSE(std::filesystem::exists(pdf)) << "printed after Cancel";
    EXPECT_TRUE(nt().CommonDialog1().CancelError());

    select(pane(), 12, 7);
    dialogs().cancel();
    nt().tbToolBar().Buttons("Color").click();
    processEvents();
    EXPECT_EQ(pane().SelColor(), 0);
    EXPECT_EQ(formatAt(pane(), 14).foreground().color(), QColor(Qt::black));
}

TEST_F(FormatAndPrint, BoldWithTheNewTestamentWindowClosedReopensItWithAnEmptyPane)
{
    nt().outer()->close();
    processEvents();
    ASSERT_FALSE(nt().IsLoaded());

    command("mnuFmtBold");
    ASSERT_TRUE(nt().IsLoaded());
    EXPECT_TRUE(nt().Visible());
    EXPECT_EQ(pane().Text(), "");
    EXPECT_EQ(pane().SelBold(), rt::Variant(true));
    EXPECT_EQ(nt().tv().nodes().Count(), 288);
    EXPECT_FALSE(form<frmDocument>().IsLoaded());
    EXPECT_EQ(dialogs().shown(), 0);
}

} // namespace
