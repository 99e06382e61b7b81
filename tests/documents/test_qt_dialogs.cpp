// The real dialogs the user sees: the save dialog asks before it replaces a
// file and adds no extension, the file-type list reads as the program names it, the font
// dialog offers every installed font, and file and font names keep every
// character from the dialog into the program, the disk and back.

#include "support/program_fixture.h"

#include "documents/document_window.h"
#include "runtime/controls/common_dialog.h"
#include "runtime/controls/menu.h"
#include "runtime/controls/rich_text_box.h"
#include "runtime/system/dialogs.h"
#include "shell/frm_main.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>

using testing_support::ProgramTest;
using testing_support::namesIn;
using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;
namespace fs = std::filesystem;

namespace {

// Runs `act` on the next modal dialog of type D once it is shown.
template <class D>
void whenShown(std::function<void(D *)> act, int triesLeft = 500)
{
    QTimer::singleShot(10, [act = std::move(act), triesLeft] {
        if (auto *dialog = qobject_cast<D *>(QApplication::activeModalWidget()); dialog && dialog->isVisible())
            act(dialog);
        else if (triesLeft > 0)
            whenShown<D>(act, triesLeft - 1);
        else
            ADD_FAILURE() << "no dialog was shown";
    });
}

// Types the path into the file dialog and confirms it; a dialog that does
// not close on that fails the test instead of waiting.
void type(QFileDialog *dialog, const fs::path &file)
{
    auto *typed = dialog->findChild<QLineEdit *>("fileNameEdit");
    ASSERT_NE(typed, nullptr);
    dialog->setDirectory(QFile::decodeName(file.parent_path().c_str()));
    typed->setText(QFile::decodeName(file.filename().c_str()));
    static_cast<QDialog *>(dialog)->accept();
    if (dialog->isVisible()) {
        ADD_FAILURE() << "the dialog did not take " << file;
        dialog->reject();
    }
}

// The file-type list as the dialog shows it.
QStringList shownTypes(QFileDialog *dialog)
{
    QStringList types;
    if (auto *list = dialog->findChild<QComboBox *>("fileTypeCombo"))
        for (int i = 0; i < list->count(); ++i)
            types << list->itemText(i);
    return types;
}

class QtDialogsTest : public ::testing::Test {
public:
    std::string file(const std::string &name) const { return (dir_.path() / name).string(); }
    TempDir dir_;
    rt::QtDialogs dialogs_;
};

TEST_F(QtDialogsTest, SavingOverAnExistingFileAsksFirstAndAddsNoExtension)
{
    std::ofstream(file("notes")) << "there";
    QString question;
    bool confirmOverwrite = false;
    QString suffix = "unset";
    QStringList filters, types;
    whenShown<QFileDialog>([&](QFileDialog *dialog) {
        confirmOverwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        suffix = dialog->defaultSuffix();
        filters = dialog->nameFilters();
        types = shownTypes(dialog);
        whenShown<QMessageBox>([&](QMessageBox *box) {
            question = box->text();
            box->button(QMessageBox::No)->click();
        });
        dialog->selectFile(QString::fromStdString(file("notes")));
        static_cast<QDialog *>(dialog)->accept(); // refused: the user said No
        EXPECT_TRUE(dialog->isVisible());
        whenShown<QMessageBox>([](QMessageBox *box) { box->button(QMessageBox::Yes)->click(); });
        static_cast<QDialog *>(dialog)->accept();
    });
    const auto chosen = dialogs_.saveFile("All Files (*.*)|*.*", "");
    EXPECT_TRUE(confirmOverwrite);
    EXPECT_TRUE(suffix.isEmpty());
    // The list reads as the program names it, and lists every file.
    EXPECT_EQ(types.join('|').toStdString(), "All Files (*.*)");
    EXPECT_EQ(filters.join('|').toStdString(), "All Files (*.*) (*)");
    EXPECT_TRUE(question.contains("notes")) << question.toStdString();
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, file("notes"));
}

TEST_F(QtDialogsTest, TheFileDialogStartsAtTheLastFileAndCancelGivesNothing)
{
    std::ofstream(file("a.rtf")) << "{\\rtf1 a}";
    QString directory;
    QStringList filters, types = {"unread"};
    whenShown<QFileDialog>([&](QFileDialog *dialog) {
        directory = dialog->directory().absolutePath();
        filters = dialog->nameFilters();
        types = shownTypes(dialog);
        dialog->reject();
    });
    EXPECT_FALSE(dialogs_.openFile("", file("a.rtf")).has_value());
    EXPECT_EQ(directory.toStdString(), dir_.path().string());
    // No file-type list, and so no filter: every file is listed.
    EXPECT_TRUE(types.isEmpty()) << types.join('|').toStdString();
    EXPECT_TRUE(filters.isEmpty()) << filters.join('|').toStdString();
}

TEST_F(QtDialogsTest, FileNamesAreTheHostsFromTheDialogAndBack)
{
    const fs::path folder = dir_.path() / "José";
    fs::create_directory(folder);
    const fs::path khmer = folder / "ខ្មែរ.rtf";
    std::ofstream(khmer) << "{\\rtf1 a}";
    QString directory, selected;
    whenShown<QFileDialog>([&](QFileDialog *dialog) {
        directory = dialog->directory().absolutePath();
        selected = dialog->selectedFiles().value(0);
        dialog->reject();
    });
    dialogs_.openFile("", khmer.string());
    EXPECT_EQ(directory, QString::fromUtf8(folder.c_str()));
    EXPECT_EQ(selected, QString::fromUtf8(khmer.c_str()));

    const fs::path made = folder / "ថ្មី é.rtf";
    whenShown<QFileDialog>([&](QFileDialog *dialog) { type(dialog, made); });
    const auto chosen = dialogs_.saveFile("", "");
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, made.string());
}

TEST_F(QtDialogsTest, TheFontDialogOffersEveryInstalledFont)
{
    int listed = -1;
    QString initialFamily;
    whenShown<QFontDialog>([&](QFontDialog *dialog) {
        initialFamily = dialog->currentFont().family();
        // The first list of the dialog holds the families.
        const auto views = dialog->findChildren<QAbstractItemView *>();
        if (!views.isEmpty())
            listed = views.constFirst()->model()->rowCount();
        dialog->reject();
    });
    rt::FontChoice initial;
    initial.name = QFontDatabase::families().constFirst().toStdString();
    EXPECT_FALSE(dialogs_.chooseFont(initial).has_value());
    EXPECT_EQ(listed, QFontDatabase::families().size());
    EXPECT_EQ(initialFamily.toStdString(), initial.name);
}

// A copy of a TrueType font whose names are `family` (as family and full
// name) and plain ASCII ones; empty when the font holds no name table.
QByteArray renamedFont(const QByteArray &font, const QString &family)
{
    auto get16 = [&font](qsizetype at) { return (uchar(font.at(at)) << 8) | uchar(font.at(at + 1)); };
    auto put16 = [](QByteArray &out, int value) {
        out.append(char(value >> 8));
        out.append(char(value & 0xFF));
    };
    auto set32 = [](QByteArray &out, qsizetype at, qsizetype value) {
        for (int i = 0; i < 4; ++i)
            out[at + i] = char(value >> (24 - 8 * i));
    };
    qsizetype record = -1;
    for (int i = 0; i < get16(4); ++i)
        if (font.mid(12 + 16 * i, 4) == "name")
            record = 12 + 16 * i;
    if (record < 0)
        return {};
    const std::pair<int, QString> names[] = {
        {1, family}, {2, "Book"}, {3, "velumir-test-font"}, {4, family}, {6, "VelumirTestFont"}};
    QByteArray table, strings;
    put16(table, 0);
    put16(table, 5);
    put16(table, 6 + 12 * 5);
    for (const auto &[id, text] : names) {
        QByteArray utf16;
        for (QChar c : text)
            put16(utf16, c.unicode());
        for (int value : {3, 1, 0x409, id, int(utf16.size()), int(strings.size())})
            put16(table, value); // Windows, Unicode, US English
        strings += utf16;
    }
    table += strings;
    QByteArray out = font;
    while (out.size() % 4)
        out.append('\0');
    set32(out, record + 8, out.size());
    set32(out, record + 12, table.size());
    return out + table;
}

// The program as the user has it, asking through the real dialogs.
class RealDialogs : public ProgramTest {
public:
    void SetUp() override
    {
        realDialogs = true;
        ProgramTest::SetUp();
        makeNewTestament();
        startToMainWindow();
        command("mnuFileNew");
    }

    void TearDown() override
    {
        EXPECT_TRUE(reportedNumbers().empty());
        ProgramTest::TearDown();
    }

    void command(const std::string &name)
    {
        velumir::frmMain &main = form<velumir::frmMain>();
        main.menu(name).action()->trigger();
        processEvents();
    }

    // Runs Open or Save, typing `file` into its dialog once the dialog lists
    // the file's folder (and agreeing to replace it).
    void choose(const std::string &name, const fs::path &file, bool replacing = false)
    {
        const QString folder = QFile::decodeName(file.parent_path().c_str());
        const int entries = int(std::distance(fs::directory_iterator(file.parent_path()), {}));
        whenShown<QFileDialog>([=](QFileDialog *dialog) {
            dialog->setDirectory(folder);
            whenListed(dialog, folder, entries, [=] {
                if (replacing)
                    whenShown<QMessageBox>([](QMessageBox *box) { box->button(QMessageBox::Yes)->click(); });
                type(dialog, file);
            });
        });
        command(name);
    }

    // Runs `act` once the dialog's list holds the `entries` of `folder`: the
    // dialog selects its first file only then, and would undo what was typed.
    static void whenListed(QFileDialog *dialog, const QString &folder, int entries, std::function<void()> act,
                           int triesLeft = 500)
    {
        auto *model = dialog->findChild<QFileSystemModel *>();
        if (model && model->rowCount(model->index(folder)) == entries) {
            QTimer::singleShot(20, act);
            return;
        }
        if (triesLeft == 0) {
            ADD_FAILURE() << "the dialog never listed " << folder.toStdString();
            return;
        }
        QTimer::singleShot(10, [=] { whenListed(dialog, folder, entries, act, triesLeft - 1); });
    }

    rt::RichTextBox &text() { return form<velumir::frmDocument>().rtfText(); }
};

TEST_F(RealDialogs, FilesKeepKhmerAndAccentedNamesOnTheDiskAndBack)
{
    const fs::path folder = drive().parent_path() / "José";
    fs::create_directory(folder);
    const fs::path khmer = folder / "ខ្មែរ.rtf";
    const fs::path accented = folder / "café.rtf";
    writeFile(accented, "{\\rtf1 old notes}");

    text().setText("Khmer notes");
    choose("mnuFileSave", khmer);
    text().setText("accented notes");
    choose("mnuFileSave", accented, true);
    ASSERT_EQ(namesIn(folder), (std::vector<std::string>{"café.rtf", "ខ្មែរ.rtf"}));

    text().setText("");
    choose("mnuFileOpen", khmer);
    EXPECT_EQ(text().Text(), "Khmer notes");
    choose("mnuFileOpen", accented);
    EXPECT_EQ(text().Text(), "accented notes");
}

TEST_F(RealDialogs, AFontFamilyKeepsEveryCharacterIntoTheDocumentAndItsFile)
{
    QFile dejaVu("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    if (!dejaVu.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "no DejaVu Sans to make a font of";
    const QString family = QString::fromUtf8("ខ្មែរ Café");
    const int id = QFontDatabase::addApplicationFontFromData(renamedFont(dejaVu.readAll(), family));
    ASSERT_NE(id, -1);
    ASSERT_EQ(QFontDatabase::applicationFontFamilies(id), QStringList{family});

    text().setText("notes");
    text().setSelStart(0);
    text().setSelLength(5);
    whenShown<QFontDialog>([&family](QFontDialog *dialog) {
        dialog->setCurrentFont(QFont(family, 14));
        static_cast<QDialog *>(dialog)->accept();
    });
    command("mnuFmtFont");
    EXPECT_EQ(form<velumir::frmMain>().dlgCommonDialog().FontName(), family.toStdString());
    EXPECT_EQ(text().SelFontName(), rt::Variant(family.toStdString()));

    const fs::path file = drive().parent_path() / "font.rtf";
    choose("mnuFileSave", file);
    text().setText("");
    choose("mnuFileOpen", file);
    text().setSelStart(0);
    text().setSelLength(5);
    EXPECT_EQ(text().SelFontName(), rt::Variant(family.toStdString()));
    QFontDatabase::removeApplicationFont(id);
}

} // namespace
