// The stand-in fonts in the windows: the windows' Khmer captions draw in
// each with no glyph missing, the start window's self-sizing labels take the
// sizes of its design, and the font dialog keeps the family name.

#include "fonts/font_tables.h"

#include "app.h"
#include "browser/catalogues/genesis_to_1_kings.h"
#include "browser/catalogues/kings2_to_psalms.h"
#include "browser/catalogues/new_testament.h"
#include "browser/catalogues/proverbs_to_malachi.h"
#include "browser/new_testament_window.h"
#include "browser/old_testament_window.h"
#include "reference/lookup_window.h"
#include "reference/pictures_window.h"
#include "runtime/controls/basic_controls.h"
#include "runtime/controls/caption_toolbar.h"
#include "runtime/system/dialogs.h"
#include "runtime/system/fonts.h"
#include "runtime/system/program_files.h"
#include "runtime/text/legacy_text.h"
#include "sample_data.h"
#include "shell/about_box.h"
#include "shell/frm_log_on.h"
#include "shell/frm_main.h"
#include "shell/letter_window.h"
#include "support/program_fixture.h"

#include <QApplication>
#include <QFontDialog>
#include <QGlyphRun>
#include <QRegularExpression>
#include <QTextLayout>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

using namespace testing_support;

// The font dialog lists a stand-in under its family's name, starts at it and
// gives that name back, so a document's font stays "Limon S1".
TEST(StandInFont, TheFontDialogKeepsTheFamilyName)
{
    rt::loadStandInFonts(rt::programData("fonts"));
    QString shown;
    std::function<void()> whenShown = [&] {
        auto *dialog = qobject_cast<QFontDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) {
            QTimer::singleShot(10, whenShown);
            return;
        }
        shown = dialog->currentFont().family();
        dialog->accept();
    };
    QTimer::singleShot(10, whenShown);
    rt::QtDialogs dialogs;
    rt::FontChoice initial;
    initial.name = "Limon S1";
    initial.size = 20.25f;
    const auto chosen = dialogs.chooseFont(initial);
    EXPECT_EQ(shown, "Limon S1");
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->name, "Limon S1");
}

namespace {

class WindowCaptions : public ProgramTest {
protected:
    // Every Khmer caption of the windows' designs, and the letter's text.
    std::vector<std::string> captions()
    {
        makeNewTestament();
        makeOldTestament();
        for (const char *file : {"Concordance", "Bible Dictionary", "Khmer Dictionary"})
            sample::makeLookupTable(system32() / file, {{1, "kmx", "entry"}});
        sample::makePictureTable(drive() / "Program Files" / "Velumir" / "Lib", {{1, "rUb", {}, ""}});
        startToMainWindow();

        std::vector<std::string> out;
        for (velumir::Catalogue part : {velumir::newTestament(), velumir::genesisTo1Kings(),
                                        velumir::proverbsToMalachi(), velumir::secondKingsToPsalms()})
            for (const velumir::Book &book : part)
                out.push_back(std::string(book.caption));
        auto &logOn = form<velumir::frmLogOn>();
        out.insert(out.end(), {logOn.Label1().Caption(), logOn.Label2().Caption(), logOn.cmOK().Caption(),
                               logOn.Command1().Caption()});
        for (int n = 1; n <= 7; ++n)
            out.push_back(rt::fromQString(form<velumir::frmMain>().Toolbar1().button(n)->text()));
        program().run([&] {
            form<velumir::OT>().Show();
            form<velumir::Concordance>().Show();
            form<velumir::Dictionary>().Show();
            form<velumir::KhmerDic>().Show();
            form<velumir::Pictures>().Show();
            form<velumir::About>().Show();
            form<velumir::Form3>().Show();
        });
        processEvents();
        EXPECT_TRUE(reports().entries().empty());
        out.insert(out.end(), {form<velumir::NT>().lblTitle().Caption(), form<velumir::OT>().lblTitle().Caption(),
                               form<velumir::Concordance>().lblTitle().Caption(),
                               form<velumir::Dictionary>().lblTitle().Caption(),
                               form<velumir::KhmerDic>().lblTitle().Caption(),
                               form<velumir::Pictures>().Command1().Caption(),
                               form<velumir::Pictures>().CMDNEXT().Caption(), form<velumir::About>().Label1().Caption(),
                               form<velumir::Form3>().Label2().Caption(), form<velumir::Form3>().Label1().Caption()});
        return out;
    }
};

} // namespace

TEST_F(WindowCaptions, DrawInEachStandInWithNoGlyphMissing)
{
    rt::loadStandInFonts(rt::programData("fonts"));
    const std::vector<std::string> all = captions();
    EXPECT_GE(all.size(), 66u + 4 + 7 + 10);
    for (const StandIn &standIn : standIns()) {
        for (const std::string &caption : all) {
            for (const QString &line : rt::toQString(caption).split(QRegularExpression("[\\r\\n]+"), Qt::SkipEmptyParts)) {
                for (const QGlyphRun &run : glyphRuns(QFont(standIn.family, 20), line)) {
                    EXPECT_EQ(run.rawFont().familyName(), standIn.family) << caption << ": drawn in another font";
                    EXPECT_FALSE(run.glyphIndexes().contains(0)) << caption << ": a glyph is missing";
                }
            }
        }
    }
}

// The stand-ins are as big as the legacy fonts: the start window's labels,
// which size themselves to their text, come out at the sizes of the
// window's design (which the legacy fonts gave them), within a few pixels.
TEST_F(WindowCaptions, TheStartWindowsLabelsTakeTheSizesOfTheirDesign)
{
    velumir::start(program());
    processEvents();
    auto &logOn = form<velumir::frmLogOn>();
    struct Case {
        rt::Label &label;
        float width, height; // twips
    };
    for (const Case &c : {Case{logOn.Label1(), 1545, 570}, Case{logOn.Label2(), 825, 465}}) {
        EXPECT_NEAR(c.label.Width(), c.width, 75) << c.label.Caption();
        EXPECT_NEAR(c.label.Height(), c.height, 45) << c.label.Caption();
    }
}
