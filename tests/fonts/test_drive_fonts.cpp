// Fonts on the drive: a Limon font in C:\WINDOWS\Fonts is the one the
// windows draw with. This program runs on its own, so that no stand-in of
// the same family is loaded before the drive's font.

#include "support/program_fixture.h"

#include "app.h"
#include "runtime/controls/basic_controls.h"
#include "shell/frm_log_on.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>

#include <fstream>

using testing_support::ProgramTest;

namespace {

namespace fs = std::filesystem;

const fs::path kTestFonts = fs::path(VELUMIR_TEST_DATA) / "fonts";

class DriveFonts : public ProgramTest {};

// Whether a widget's text is drawn with one of the test fonts: their name
// tables say "Velumir test font" (in UTF-16, big-endian).
bool drawsWithTestFont(const QWidget *widget)
{
    QByteArray marker;
    for (QChar c : QString("Velumir test font")) {
        marker += char(c.unicode() >> 8);
        marker += char(c.unicode() & 0xFF);
    }
    return QRawFont::fromFont(widget->font()).fontTable("name").contains(marker);
}

} // namespace

TEST_F(DriveFonts, TheStartWindowDrawsWithTheDrivesLimonFont)
{
    // The folder as a Windows installation may spell it.
    const fs::path fonts = drive() / "WINDOWS" / "FONTS";
    fs::create_directories(fonts);
    fs::copy_file(kTestFonts / "test-limon-s1.ttf", fonts / "LIMONS1.TTF");
    // A font of a family the program does not name, a damaged font, a file
    // that is no font, and a folder that looks like a font.
    fs::copy_file(kTestFonts / "test-unnamed.ttf", fonts / "unnamed.ttf");
    testing_support::writeFile(fonts / "broken.ttf", testing_support::readFile(fonts / "LIMONS1.TTF").substr(0, 40));
    testing_support::writeFile(fonts / "desktop.ini", "[.ShellClassInfo]\r\n");
    fs::create_directories(fonts / "folder.ttf");

    velumir::start(program());
    processEvents();

    auto &logOn = form<velumir::frmLogOn>();
    const QWidget *button = logOn.cmOK().widget();
    EXPECT_EQ(QFontInfo(button->font()).family(), "Limon S1");
    EXPECT_TRUE(drawsWithTestFont(button)) << "the button does not draw with the drive's font";
    EXPECT_TRUE(drawsWithTestFont(logOn.Command1().widget()));
    EXPECT_FALSE(QFontDatabase::hasFamily("Velumir Unnamed Test"));
    // The other families the windows name still have their stand-ins.
    EXPECT_TRUE(QFontDatabase::hasFamily("Limon R1"));
    EXPECT_EQ(QFontInfo(logOn.Label1().widget()->font()).family(), "Limon R1");
    EXPECT_FALSE(drawsWithTestFont(logOn.Label1().widget()));
}
