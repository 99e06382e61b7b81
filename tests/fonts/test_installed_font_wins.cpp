// A font installed for the user under a Limon family name wins over the
// stand-in of that family, and of two stand-ins of one family the same one
// is taken on every start. The font is installed before the application
// starts (in a user fonts folder of the test's own), as a user would have
// it; so this program has its own main.

#include "runtime/system/fonts.h"
#include "runtime/system/program_files.h"
#include "support/test_support.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QRawFont>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

namespace fs = std::filesystem;

bool isTestFont(const QFont &font)
{
    QByteArray marker;
    for (QChar c : QString("Velumir test font")) {
        marker += char(c.unicode() >> 8);
        marker += char(c.unicode() & 0xFF);
    }
    return QRawFont::fromFont(font).fontTable("name").contains(marker);
}

} // namespace

TEST(InstalledFont, WinsOverTheStandIn)
{
    ASSERT_TRUE(QFontDatabase::hasFamily("Limon S1")) << "the test font is not installed for the user";
    const QStringList loaded = rt::loadStandInFonts(rt::programData("fonts"));
    EXPECT_FALSE(loaded.contains("Limon S1"));
    EXPECT_TRUE(loaded.contains("Limon R1"));

    QFont s1("Limon S1", 20);
    EXPECT_EQ(QFontInfo(s1).family(), "Limon S1");
    EXPECT_TRUE(isTestFont(s1));
    QFont r1("Limon R1", 20);
    EXPECT_EQ(QFontInfo(r1).family(), "Limon R1");
    EXPECT_FALSE(isTestFont(r1));
}

TEST(StandInFonts, OfOneFamilyTheFileFirstByNameIsTaken)
{
    // Whatever order the folder lists them in: the first file by name is
    // added, the others of its family are then available already.
    testing_support::TempDir folder;
    const fs::path data = fs::path(VELUMIR_TEST_DATA) / "fonts";
    fs::copy_file(data / "test-unnamed.ttf", folder.path() / "a.ttf");
    for (int i = 1; i <= 8; ++i)
        fs::copy_file(data / "test-unnamed-other.ttf", folder.path() / ("b" + std::to_string(i) + ".ttf"));
    EXPECT_EQ(rt::loadStandInFonts(folder.path()), QStringList{"Velumir Unnamed Test"});
    EXPECT_TRUE(isTestFont(QFont("Velumir Unnamed Test", 20)));
}

int main(int argc, char **argv)
{
    // The user's fonts folder and font cache, of this run only.
    testing_support::TempDir home;
    fs::create_directories(home.path() / "data" / "fonts");
    fs::copy_file(fs::path(VELUMIR_TEST_DATA) / "fonts" / "test-limon-s1.ttf",
                  home.path() / "data" / "fonts" / "test-limon-s1.ttf");
    setenv("XDG_DATA_HOME", (home.path() / "data").c_str(), 1);
    setenv("XDG_CACHE_HOME", (home.path() / "cache").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
