// The real dialogs the user sees: the save dialog asks before it replaces a
// file and adds no extension, the file-type list is the platform's, and the
// font dialog offers every installed font.

#include "support/test_support.h"

#include "runtime/system/dialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

using testing_support::TempDir;

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
    QStringList filters;
    whenShown<QFileDialog>([&](QFileDialog *dialog) {
        confirmOverwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        suffix = dialog->defaultSuffix();
        filters = dialog->nameFilters();
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
    EXPECT_EQ(filters, QStringList{"All Files (*.*) (*)"});
    EXPECT_TRUE(question.contains("notes")) << question.toStdString();
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, file("notes"));
}

TEST_F(QtDialogsTest, TheFileDialogStartsAtTheLastFileAndCancelGivesNothing)
{
    std::ofstream(file("a.rtf")) << "{\\rtf1 a}";
    QString directory;
    QStringList filters;
    whenShown<QFileDialog>([&](QFileDialog *dialog) {
        directory = dialog->directory().absolutePath();
        filters = dialog->nameFilters();
        dialog->reject();
    });
    EXPECT_FALSE(dialogs_.openFile("", file("a.rtf")).has_value());
    EXPECT_EQ(directory.toStdString(), dir_.path().string());
    // No file-type list: every file is listed.
    EXPECT_TRUE(filters.isEmpty() || filters == QStringList{QFileDialog::tr("All Files (*)")});
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

} // namespace
