#include "support/program_fixture.h"

#include "reference/pictures_window.h"
#include "runtime/controls/basic_controls.h"
#include "runtime/data/data_errors.h"
#include "sample_data.h"

#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <fstream>
#include <functional>

using namespace velumir;
using sample::PictureRow;
using testing_support::ProgramTest;

namespace {

// "caption 2", "p2.png": a prefix, a number and a suffix.
std::string numbered(const char *prefix, int n, const char *suffix = "")
{
    return std::string(prefix).append(std::to_string(n)).append(suffix);
}

class PicturesTest : public ProgramTest {
public:
    void SetUp() override
    {
        ProgramTest::SetUp();
        makeNewTestament();
        std::filesystem::create_directories(folder() / "Pictures");
    }

    std::filesystem::path folder() const { return drive() / "Program Files" / "Velumir"; }
    std::filesystem::path lib() const { return folder() / "Lib"; }

    // A picture of one colour, at C:\Program Files\Velumir\Pictures\<name>.
    void drawPicture(const std::string &name, QColor color)
    {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(color);
        ASSERT_TRUE(image.save(QString::fromStdString((folder() / "Pictures" / name).string())));
    }

    // Records "1".."n", captions "caption 1".., red, green, blue pictures in
    // turn; the first by its full Windows path, the others relative to the
    // program's folder.
    std::vector<PictureRow> records(int count)
    {
        const QColor colors[] = {Qt::red, Qt::green, Qt::blue};
        std::vector<PictureRow> rows;
        for (int i = 1; i <= count; ++i) {
            const std::string file = numbered("p", i, ".png");
            drawPicture(file, colors[(i - 1) % 3]);
            const std::string path = i == 1 ? "C:\\Program Files\\Velumir\\Pictures\\" + file : "Pictures\\" + file;
            rows.push_back({i, numbered("caption ", i), std::nullopt, path});
        }
        return rows;
    }

    Pictures &open()
    {
        startToMainWindow();
        program().run([&] { form<Pictures>().Show(); });
        processEvents();
        return form<Pictures>();
    }

    static void next(Pictures &p) { QTest::mouseClick(p.CMDNEXT().widget(), Qt::LeftButton); }
    static void back(Pictures &p) { QTest::mouseClick(p.Command1().widget(), Qt::LeftButton); }

    // The colour in the middle of the picture box as painted.
    static QColor shownColor(Pictures &p)
    {
        const QImage shot = p.Photo().widget()->grab().toImage();
        return shot.pixelColor(shot.width() / 2, shot.height() / 2);
    }

    // Record n shown (from 1), or nothing when n is 0.
    static void expectShown(Pictures &p, int n)
    {
        if (n == 0) {
            EXPECT_EQ(p.txtID().Text(), "");
            EXPECT_EQ(p.txtNAME().Text(), "");
            EXPECT_EQ(p.txtPATH().Text(), "");
            EXPECT_TRUE(p.Photo().Picture().isNull());
        } else {
            EXPECT_EQ(p.txtID().Text(), std::to_string(n));
            EXPECT_EQ(p.txtNAME().Text(), numbered("caption ", n));
            EXPECT_FALSE(p.Photo().Picture().isNull());
        }
    }
};

TEST_F(PicturesTest, OpensOnTheFirstRecordWithTheDesign)
{
    sample::makePictureTable(lib(), records(3));
    auto &p = open();
    ASSERT_TRUE(p.IsLoaded());
    EXPECT_EQ(p.Caption(), "Picutes");
    EXPECT_EQ(p.WindowState(), rt::vbMaximized);
    expectShown(p, 1);
    EXPECT_EQ(p.txtPATH().Text(), "C:\\Program Files\\Velumir\\Pictures\\p1.png");

    EXPECT_TRUE(p.txtNAME().Visible());
    EXPECT_FALSE(p.txtNAME().Enabled());
    EXPECT_FALSE(p.Photo().Enabled());
    EXPECT_FALSE(p.txtID().Visible());
    EXPECT_FALSE(p.txtPATH().Visible());
    EXPECT_EQ(p.CMDNEXT().Caption(), "eTAmux");
    EXPECT_EQ(p.Command1().Caption(), "eTAeRkay");
    EXPECT_EQ(p.CMDNEXT().widget()->nextInFocusChain(), p.Command1().widget());
    // The picture is stretched over its whole box.
    EXPECT_EQ(p.Photo().Width(), 5415);
    EXPECT_EQ(p.Photo().Height(), 6855);
    EXPECT_EQ(shownColor(p), QColor(Qt::red));
    const QImage shot = p.Photo().widget()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(shot.width() - 2, shot.height() - 2), QColor(Qt::red));
    EXPECT_TRUE(reportedNumbers().empty());
}

// Every cell of the table of positions: the presses from the opening state
// ('n' next, 'b' back) and the record shown afterwards (0: nothing).
struct Paging {
    int records;
    const char *presses;
    int shown;
};
void PrintTo(const Paging &p, std::ostream *out) { *out << p.records << " records, \"" << p.presses << '"'; }

class PagingTable : public PicturesTest, public ::testing::WithParamInterface<Paging> {};

TEST_P(PagingTable, TheButtonsMoveBetweenThePositions)
{
    sample::makePictureTable(lib(), records(GetParam().records));
    auto &p = open();
    for (const char *c = GetParam().presses; *c; ++c)
        *c == 'n' ? next(p) : back(p);
    expectShown(p, GetParam().shown);
    const Qt::GlobalColor colors[] = {Qt::red, Qt::green, Qt::blue};
    if (GetParam().shown != 0) {
        EXPECT_EQ(shownColor(p), QColor(colors[(GetParam().shown - 1) % 3]));
    }
    EXPECT_TRUE(reportedNumbers().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Positions, PagingTable,
    ::testing::Values(Paging{3, "n", 2},      // on a record, not the last: next shows the following
                      Paging{3, "nb", 1},     // back shows the preceding
                      Paging{3, "b", 0},      // back from the first: before the first, emptied
                      Paging{3, "nnn", 0},    // next from the last: past the last, emptied
                      Paging{3, "nnb", 2},    // back from the last shows the preceding
                      Paging{1, "b", 0},      // one record: back from it empties
                      Paging{3, "nnnn", 0},   // past the last: next fails, stays empty
                      Paging{3, "nnnb", 3},   // past the last: back shows the last
                      Paging{3, "bn", 1},     // before the first: next shows the first
                      Paging{3, "bb", 0},     // before the first: back fails, stays empty
                      Paging{0, "", 0},       // empty table: nothing shown
                      Paging{0, "n", 0},      // empty table: next fails
                      Paging{0, "bnb", 0}));  // empty table: back fails

// A record whose picture cannot be shown keeps its caption and path.
class UnloadablePictures : public PicturesTest, public ::testing::WithParamInterface<const char *> {};

TEST_P(UnloadablePictures, ShowTheCaptionAndNoPicture)
{
    std::ofstream(folder() / "Pictures" / "text.png") << "no picture in here";
    auto rows = records(1);
    rows.push_back({2, "caption 2", std::nullopt, std::string(GetParam())});
    sample::makePictureTable(lib(), rows);
    auto &p = open();
    ASSERT_FALSE(p.Photo().Picture().isNull());
    next(p);
    EXPECT_EQ(p.txtID().Text(), "2");
    EXPECT_EQ(p.txtNAME().Text(), "caption 2");
    EXPECT_EQ(p.txtPATH().Text(), GetParam());
    EXPECT_TRUE(p.Photo().Picture().isNull());
    EXPECT_TRUE(reportedNumbers().empty());
}

INSTANTIATE_TEST_SUITE_P(Paths, UnloadablePictures,
                         ::testing::Values("", "Pictures\\missing.png", "C:\\Program Files\\Velumir\\Pictures\\text.png",
                                           "D:\\elsewhere\\p1.png"));

TEST_F(PicturesTest, ANullCaptionReachedByNextLeavesThePreviousRecordOnScreen)
{
    auto rows = records(3);
    rows[1].caption = std::nullopt;
    sample::makePictureTable(lib(), rows);
    auto &p = open();
    next(p);
    EXPECT_EQ(p.txtID().Text(), "2"); // set before the caption failed
    EXPECT_EQ(p.txtNAME().Text(), "caption 1");
    EXPECT_EQ(p.txtPATH().Text(), rows[0].path);
    EXPECT_EQ(shownColor(p), QColor(Qt::red));
    EXPECT_TRUE(reportedNumbers().empty());
    next(p);
    expectShown(p, 3);
}

struct LoadFailure {
    const char *name;
    std::function<void(PicturesTest &, const std::filesystem::path &)> make;
    int number;
};
void PrintTo(const LoadFailure &failure, std::ostream *out) { *out << failure.name; }

class PictureLoadFailures : public PicturesTest, public ::testing::WithParamInterface<LoadFailure> {};

TEST_P(PictureLoadFailures, AreReportedAndTheWindowIsUnloadedAgain)
{
    GetParam().make(*this, lib());
    auto &p = open();
    EXPECT_EQ(reportedNumbers(), std::vector<int>{GetParam().number});
    EXPECT_FALSE(p.IsLoaded());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PictureLoadFailures,
    ::testing::Values(
        LoadFailure{"MissingLib", [](PicturesTest &, const std::filesystem::path &) {}, rt::err::DaoFileNotFound},
        LoadFailure{"MissingTable",
                    [](PicturesTest &, const std::filesystem::path &lib) {
                        sample::execute(lib, "CREATE TABLE other (ID INTEGER)");
                    },
                    rt::err::DaoTableNotFound},
        LoadFailure{"NullCaptionFirst",
                    [](PicturesTest &, const std::filesystem::path &lib) {
                        sample::makePictureTable(lib, {{1, std::nullopt, std::nullopt, "x.png"}});
                    },
                    rt::err::InvalidUseOfNull},
        LoadFailure{"ThreeColumns",
                    [](PicturesTest &, const std::filesystem::path &lib) {
                        sample::execute(lib, "CREATE TABLE EMP (ID INTEGER, Caption TEXT, Notes TEXT);"
                                             "INSERT INTO EMP VALUES (1, 'a', 'b')");
                    },
                    rt::err::ItemNotFound}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(PicturesTest, ALargePhotoIsShownScaledIntoThePictureBox)
{
    {
        // 48 megapixels in colour: more than an image may take when read whole.
        QImage photo(8000, 6000, QImage::Format_RGB888);
        photo.fill(QColor(0x20, 0x60, 0xC0));
        ASSERT_TRUE(photo.save(QString::fromStdString((folder() / "Pictures" / "large.jpg").string()), "JPEG", 20));
    }
    sample::makePictureTable(lib(), {{1, "caption 1", std::nullopt, "Pictures\\large.jpg"}});
    auto &p = open();
    expectShown(p, 1);
    EXPECT_EQ(p.Photo().Picture().size(), QSize(rt::toPixels(5415), rt::toPixels(6855)));
    const QColor shown = shownColor(p);
    EXPECT_NEAR(shown.red(), 0x20, 8);
    EXPECT_NEAR(shown.green(), 0x60, 8);
    EXPECT_NEAR(shown.blue(), 0xC0, 8);
    EXPECT_TRUE(reportedNumbers().empty());
}

TEST_F(PicturesTest, ReopeningOpensANewRecordsetOnTheFirstRecord)
{
    sample::makePictureTable(lib(), records(2));
    auto &p = open();
    next(p);
    expectShown(p, 2);
    p.Unload();
    processEvents();
    EXPECT_FALSE(p.IsLoaded());
    EXPECT_EQ(p.rsPictures.State(), 1); // never closed

    sample::execute(lib(), "INSERT INTO EMP VALUES (3, 'caption 3', NULL, 'Pictures\\p1.png')");
    program().run([&] { p.Show(); });
    processEvents();
    ASSERT_TRUE(p.IsLoaded());
    expectShown(p, 1);
    next(p);
    next(p);
    expectShown(p, 3);
    EXPECT_TRUE(reportedNumbers().empty());
}

} // namespace
