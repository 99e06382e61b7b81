// The main window's editing toolbar: the file, print, font and colour keys on
// the document and New Testament windows, and the clipboard, style and
// alignment keys on the text control of the active child window.

#include "support/program_fixture.h"

#include "browser/new_testament_window.h"
#include "documents/document_window.h"
#include "runtime/controls/common_dialog.h"
#include "runtime/controls/menu.h"
#include "runtime/controls/rich_text_box.h"
#include "runtime/controls/toolbar.h"
#include "shell/frm_main.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>

#include <fstream>
#include <iterator>

using namespace velumir;
using testing_support::ProgramTest;

namespace {

void select(rt::RichTextBox &box, long start, long length)
{
    box.setSelStart(start);
    box.setSelLength(length);
}

bool boldAt(rt::RichTextBox &box, int position)
{
    QTextCursor cursor(box.editor()->document());
    cursor.setPosition(position + 1);
    return cursor.charFormat().fontWeight() >= QFont::DemiBold;
}

std::string clipboardText()
{
    return QGuiApplication::clipboard()->text().toStdString();
}

class EditingToolbar : public ProgramTest {
public:
    void SetUp() override
    {
        ProgramTest::SetUp();
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

    rt::ToolbarButton &button(const std::string &key) { return form<frmMain>().tbToolBar().Buttons(key); }
    void press(const std::string &key)
    {
        button(key).click();
        processEvents();
    }
    // The pressed look of the button's widget.
    bool looksPressed(const std::string &key) { return button(key).widget()->isChecked(); }

    frmDocument &document() { return form<frmDocument>(); }
    rt::RichTextBox &doc() { return document().rtfText(); }

    // The document window, open and active, holding `text`.
    rt::RichTextBox &openDocument(const std::string &text)
    {
        form<frmMain>().menu("mnuFileNew").action()->trigger();
        processEvents();
        doc().setSelRTF(text);
        EXPECT_EQ(form<frmMain>().ActiveForm(), &document());
        return doc();
    }

    void closeNewTestament()
    {
        form<NT>().outer()->close();
        processEvents();
        ASSERT_FALSE(form<NT>().IsLoaded());
        ASSERT_EQ(form<frmMain>().ActiveForm(), nullptr);
    }
};

struct Style {
    const char *key;
    rt::Variant (rt::RichTextBox::*read)() const;
    void (rt::RichTextBox::*write)(const rt::Variant &);
};

const Style kStyles[] = {
    {"Bold", &rt::RichTextBox::SelBold, &rt::RichTextBox::setSelBold},
    {"Italic", &rt::RichTextBox::SelItalic, &rt::RichTextBox::setSelItalic},
    {"Underline", &rt::RichTextBox::SelUnderline, &rt::RichTextBox::setSelUnderline},
};

TEST_F(EditingToolbar, StyleKeysToggleTheDocumentSelectionAndShowTheStateTheyLeave)
{
    auto &text = openDocument("plain words here");
    for (const Style &s : kStyles) {
        SCOPED_TRACE(s.key);
        select(text, 0, 5);
        press(s.key);
        EXPECT_EQ((text.*s.read)(), rt::Variant(true));
        EXPECT_EQ(button(s.key).Value(), 1);
        EXPECT_TRUE(looksPressed(s.key));

        press(s.key);
        EXPECT_EQ((text.*s.read)(), rt::Variant(false));
        EXPECT_EQ(button(s.key).Value(), 0);
        EXPECT_FALSE(looksPressed(s.key));
    }
}

TEST_F(EditingToolbar, SelectingStyledTextDoesNotPressTheButtonAndAClickRemovesTheStyle)
{
    auto &text = openDocument("plain words here");
    for (const Style &s : kStyles) {
        SCOPED_TRACE(s.key);
        select(text, 6, 5);
        (text.*s.write)(rt::Variant(true));
        select(text, 0, 0);
        select(text, 6, 5);
        EXPECT_FALSE(looksPressed(s.key));

        press(s.key);
        EXPECT_EQ((text.*s.read)(), rt::Variant(false));
        EXPECT_EQ(button(s.key).Value(), 0);
        EXPECT_FALSE(looksPressed(s.key));
    }
}

TEST_F(EditingToolbar, TheFormatMenusBoldLeavesTheButtonAlone)
{
    auto &text = openDocument("plain words");
    select(text, 0, 5);
    press("Bold");
    ASSERT_EQ(button("Bold").Value(), 1);
    form<frmMain>().menu("mnuFmtBold").action()->trigger();
    form<frmMain>().menu("mnuFmtBold").action()->trigger();
    processEvents();
    EXPECT_EQ(button("Bold").Value(), 1);
    EXPECT_TRUE(looksPressed("Bold"));
}

TEST_F(EditingToolbar, StyleKeyOnAMixedSelectionKeepsTheStylesAndLeavesTheButtonUnpressed)
{
    auto &text = openDocument("plain BOLD");
    select(text, 0, 5);
    press("Bold");
    ASSERT_EQ(button("Bold").Value(), 1);
    select(text, 3, 5); // "in BO": half bold
    press("Bold");
    EXPECT_TRUE(text.SelBold().isNull());
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(boldAt(text, i), i < 5) << "character " << i;
    EXPECT_EQ(button("Bold").Value(), 0);
    EXPECT_FALSE(looksPressed("Bold"));
}

// Copy, Paste, the styles and the alignments reach only a child that has `rtfText`.
TEST_F(EditingToolbar, TextKeysChangeNothingWithTheNewTestamentActiveOrNoChild)
{
    for (bool withNewTestament : {true, false}) {
        SCOPED_TRACE(withNewTestament ? "New Testament active" : "no child window");
        if (!withNewTestament)
            closeNewTestament();
        std::string before;
        if (withNewTestament) {
            ASSERT_EQ(form<frmMain>().ActiveForm(), &form<NT>());
            form<NT>().Text1().setText("some chapter text");
            select(form<NT>().Text1(), 5, 7);
            before = form<NT>().Text1().TextRTF();
        }
        QGuiApplication::clipboard()->setText("left on the clipboard");

        for (const char *key : {"Copy", "Paste", "Bold", "Italic", "Underline", "Align Right", "Center"}) {
            SCOPED_TRACE(key);
            press(key);
            EXPECT_EQ(clipboardText(), "left on the clipboard");
            for (const char *style : {"Bold", "Italic", "Underline"})
                EXPECT_EQ(button(style).Value(), 0);
            if (withNewTestament) {
                EXPECT_EQ(form<NT>().Text1().TextRTF(), before);
                EXPECT_EQ(form<NT>().Text1().SelText(), "chapter");
            }
        }
        EXPECT_TRUE(looksPressed("Center"));
        EXPECT_EQ(button("Center").Value(), 1);
        EXPECT_FALSE(looksPressed("Align Right"));
        EXPECT_FALSE(document().IsLoaded());
    }
}

TEST_F(EditingToolbar, CopyThenPasteReproducesTheFormattedSelectionAtTheCaret)
{
    auto &text = openDocument("plain BOLD end");
    select(text, 6, 4);
    text.setSelBold(true);

    press("Copy");
    EXPECT_FALSE(looksPressed("Copy")) << "a push button is not held down";
    const std::string copied = clipboardText();
    EXPECT_EQ(copied.rfind("{\\rtf", 0), 0u) << copied;
    EXPECT_NE(copied.find("BOLD"), std::string::npos);
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->formats(), QStringList{"text/plain"});
    EXPECT_EQ(text.Text(), "plain BOLD end");

    select(text, 14, 0);
    press("Paste");
    EXPECT_FALSE(looksPressed("Paste"));
    EXPECT_EQ(text.Text(), "plain BOLD endBOLD");
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(boldAt(text, i), (i >= 6 && i < 10) || i >= 14) << "character " << i;

    // Paste replaces the selection.
    select(text, 0, 5);
    press("Paste");
    EXPECT_EQ(text.Text(), "BOLD BOLD endBOLD");
    EXPECT_EQ(clipboardText(), copied);
}

TEST_F(EditingToolbar, AlignmentKeysSetTheSelectedParagraphsAndKeepTheLastOnePressed)
{
    auto &text = openDocument("one");
    text.setText("one\r\ntwo\r\nthree");
    const std::pair<const char *, int> keys[] = {{"Center", 2}, {"Align Right", 1}, {"Align Left", 0}};
    for (const auto &[key, value] : keys) {
        SCOPED_TRACE(key);
        select(text, 1, 5); // "ne\r\ntw": the first two paragraphs
        press(key);
        EXPECT_EQ(text.SelAlignment(), rt::Variant(value));
        select(text, 10, 2);
        EXPECT_EQ(text.SelAlignment(), rt::Variant(0)) << "the third paragraph keeps its alignment";
        for (const char *other : {"Align Left", "Center", "Align Right"})
            EXPECT_EQ(looksPressed(other), std::string(other) == key) << other;
    }

    // The program pressing one button of the group releases the others.
    button("Center").setValue(1);
    EXPECT_EQ(button("Align Left").Value(), 0);
    EXPECT_FALSE(looksPressed("Align Left"));
    button("Center").setValue(0);
    EXPECT_FALSE(looksPressed("Center"));
}

TEST_F(EditingToolbar, NewWithTheDocumentClosedOpensItOnceAndTiles)
{
    press("New");
    ASSERT_TRUE(document().IsLoaded());
    EXPECT_TRUE(document().Visible());
    press("New");

    QMdiArea *area = form<frmMain>().mdiArea();
    int documents = 0;
    for (QMdiSubWindow *sub : area->subWindowList())
        documents += sub == document().subWindow();
    EXPECT_EQ(documents, 1);
    EXPECT_EQ(area->subWindowList().size(), 2);
    const QRect nt = form<NT>().subWindow()->geometry();
    const QRect dc = document().subWindow()->geometry();
    EXPECT_FALSE(form<NT>().subWindow()->isMaximized());
    EXPECT_EQ(nt.width(), area->viewport()->width());
    EXPECT_EQ(dc.width(), area->viewport()->width());
    EXPECT_EQ(nt.height() + dc.height(), area->viewport()->height());
}

TEST_F(EditingToolbar, PrintWithTheNewTestamentClosedLoadsItBeforeTheDialog)
{
    closeNewTestament();
    bool loadedAtTheDialog = false;
    dialogs().answer(std::function<bool(QPrinter &)>([&](QPrinter &) {
        loadedAtTheDialog = form<NT>().IsLoaded();
        return false; // Cancel
    }));
    press("Print");
    EXPECT_TRUE(loadedAtTheDialog);
    EXPECT_TRUE(form<NT>().CommonDialog1().CancelError());

    const std::filesystem::path pdf = drive().parent_path() / "empty.pdf";
    dialogs().answer(std::function<bool(QPrinter &)>([&](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf.string()));
        return true;
    }));
    press("Print");
    EXPECT_TRUE(std::filesystem::exists(pdf)); // the empty pane, printed
}

TEST_F(EditingToolbar, FontCancelledWithNoChildChangesNothingAndConfirmedFormatsTheDocument)
{
    closeNewTestament();
    dialogs().cancel();
    press("Font");
    EXPECT_FALSE(document().IsLoaded());
    EXPECT_FALSE(form<NT>().IsLoaded());
    EXPECT_EQ(form<frmMain>().dlgCommonDialog().Filter(), "All Files (*.*)|*.*");

    rt::FontChoice font;
    font.name = "Limon S1";
    font.size = 24;
    font.bold = true;
    dialogs().answer(font);
    press("Font");
    ASSERT_TRUE(document().IsLoaded());
    EXPECT_EQ(doc().SelFontName(), rt::Variant("Limon S1"));
    EXPECT_EQ(doc().SelBold(), rt::Variant(true));
    EXPECT_EQ(button("Bold").Value(), 0);
}

TEST_F(EditingToolbar, ColorOpensTheDocumentAndAppliesTheColourEvenOnCancel)
{
    closeNewTestament();
    dialogs().answer(QColor(0x10, 0x80, 0x30));
    press("Color");
    ASSERT_TRUE(document().IsLoaded());
    EXPECT_TRUE(document().Visible());
    EXPECT_EQ(doc().SelColor(), 0x308010);

    doc().setSelColor(0xFF0000);
    dialogs().cancel();
    press("Color");
    EXPECT_EQ(doc().SelColor(), 0x308010);
}

TEST_F(EditingToolbar, SaveAndOpenRunTheFileCommandsOnTheDocument)
{
    const std::filesystem::path file = drive().parent_path() / "notes.rtf";
    auto &text = openDocument("kept notes");
    dialogs().answer(file.string());
    press("Save");
    std::ifstream in(file, std::ios::binary);
    const std::string saved{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(saved.rfind("{\\rtf", 0), 0u);

    text.setText("changed");
    dialogs().cancel();
    press("Open");
    EXPECT_EQ(text.Text(), "changed");
    dialogs().answer(file.string());
    press("Open");
    EXPECT_EQ(text.Text(), "kept notes");
}

} // namespace
