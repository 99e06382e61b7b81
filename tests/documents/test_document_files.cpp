// Documents through File Save and File Open: what is written comes back with
// its text and formatting, and a save that fails leaves the file that was there.

#include "support/program_fixture.h"

#include "documents/document_window.h"
#include "runtime/controls/menu.h"
#include "runtime/controls/rich_text_box.h"
#include "runtime/controls/toolbar.h"
#include "runtime/system/clipboard.h"
#include "shell/frm_main.h"

#include <QAction>
#include <QClipboard>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace velumir;
using testing_support::namesIn;
using testing_support::ProgramTest;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

std::string shown(const rt::Variant &value)
{
    return value.isNull() ? "Null" : value.toString();
}

// Every character of the document with its formatting, as the program reads
// it; sizes in the half points that RTF counts.
std::vector<std::string> formattingOf(rt::RichTextBox &box)
{
    std::vector<std::string> chars;
    const long length = long(box.editor()->document()->characterCount()) - 1;
    for (long i = 0; i < length; ++i) {
        box.setSelStart(i);
        box.setSelLength(1);
        std::ostringstream out;
        out << i << " '" << box.SelText() << "' font=" << shown(box.SelFontName())
            << " halfpoints=" << std::lround(box.SelFontSize().toDouble() * 2) << " b=" << shown(box.SelBold())
            << " i=" << shown(box.SelItalic()) << " u=" << shown(box.SelUnderline())
            << " s=" << shown(box.SelStrikeThru()) << " color=" << std::hex << box.SelColor()
            << " align=" << shown(box.SelAlignment());
        chars.push_back(out.str());
    }
    return chars;
}

class DocumentFiles : public ProgramTest {
public:
    void SetUp() override
    {
        ProgramTest::SetUp();
        files_ = drive().parent_path() / "files";
        std::filesystem::create_directories(files_);
        makeNewTestament();
        startToMainWindow();
        form<frmMain>().menu("mnuFileNew").action()->trigger();
        processEvents();
    }

    void TearDown() override
    {
        EXPECT_TRUE(reportedNumbers().empty());
        EXPECT_EQ(dialogs().unexpected(), 0);
        ProgramTest::TearDown();
    }

    rt::RichTextBox &text() { return form<frmDocument>().rtfText(); }
    std::string file(const std::string &name) const { return (files_ / name).string(); }

    void save(const std::string &path)
    {
        dialogs().answer(path);
        form<frmMain>().menu("mnuFileSave").action()->trigger();
        processEvents();
    }
    void open(const std::string &path)
    {
        dialogs().answer(path);
        form<frmMain>().menu("mnuFileOpen").action()->trigger();
        processEvents();
    }

    // Selects characters [from, to) of the document.
    void select(long from, long to)
    {
        text().setSelStart(from);
        text().setSelLength(to - from);
    }

    std::filesystem::path files_;
};

// --- Round trips ------------------------------------------------------------

struct RoundTrip {
    const char *name;
    std::function<void(DocumentFiles &, rt::RichTextBox &)> build;
};

class RoundTripTable : public DocumentFiles, public ::testing::WithParamInterface<RoundTrip> {};

TEST_P(RoundTripTable, SavedDocumentsOpenAgainUnchanged)
{
    rt::RichTextBox &box = text();
    GetParam().build(*this, box);
    const std::string plain = box.Text();
    const std::vector<std::string> before = formattingOf(box);

    save(file("round.rtf"));
    ASSERT_EQ(readFile(file("round.rtf")).rfind("{\\rtf", 0), 0u);

    // A new load of the window, so nothing of the old document can remain.
    form<frmDocument>().outer()->close();
    processEvents();
    ASSERT_FALSE(form<frmDocument>().IsLoaded());
    open(file("round.rtf"));
    ASSERT_TRUE(form<frmDocument>().IsLoaded());

    // The caret stands at the start of the opened document.
    EXPECT_EQ(text().SelStart(), 0);
    EXPECT_EQ(text().SelLength(), 0);
    EXPECT_EQ(text().Text(), plain);
    EXPECT_EQ(formattingOf(text()), before);
}

std::string allBytes(int from, int to)
{
    std::string s;
    for (int b = from; b <= to; ++b)
        s += char(b);
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Documents, RoundTripTable,
    ::testing::Values(
        RoundTrip{"Empty", [](DocumentFiles &, rt::RichTextBox &) {}},
        RoundTrip{"PlainText",
                  [](DocumentFiles &, rt::RichTextBox &b) {
                      b.setText("first line\r\n\r\n  indented\tand tabbed\r\nlast");
                  }},
        RoundTrip{"CharacterStyles",
                  [](DocumentFiles &t, rt::RichTextBox &b) {
                      b.setText("bold italic underline strike all plain");
                      t.select(0, 4);
                      b.setSelBold(true);
                      t.select(5, 11);
                      b.setSelItalic(true);
                      t.select(12, 21);
                      b.setSelUnderline(true);
                      t.select(22, 28);
                      b.setSelStrikeThru(true);
                      t.select(29, 32);
                      b.setSelBold(true);
                      b.setSelItalic(true);
                      b.setSelUnderline(true);
                      b.setSelStrikeThru(true);
                  }},
        RoundTrip{"FontsAndSizes",
                  [](DocumentFiles &t, rt::RichTextBox &b) {
                      b.setText("Limon S1 Limon R1 Courier big small");
                      t.select(0, 8);
                      b.setSelFontName(std::string("Limon S1"));
                      t.select(9, 17);
                      b.setSelFontName(std::string("Limon R1"));
                      b.setSelFontSize(18.0);
                      t.select(18, 25);
                      b.setSelFontName(std::string("Courier New"));
                      t.select(26, 29);
                      b.setSelFontSize(36.0);
                      t.select(30, 35);
                      b.setSelFontSize(6.5);
                  }},
        RoundTrip{"Colours",
                  [](DocumentFiles &t, rt::RichTextBox &b) {
                      b.setText("red green blue custom white black");
                      t.select(0, 3);
                      b.setSelColor(0x0000FF);
                      t.select(4, 9);
                      b.setSelColor(0x00FF00);
                      t.select(10, 14);
                      b.setSelColor(0xFF0000);
                      t.select(15, 21);
                      b.setSelColor(0x336699);
                      t.select(22, 27);
                      b.setSelColor(0xFFFFFF);
                  }},
        RoundTrip{"Alignment",
                  [](DocumentFiles &t, rt::RichTextBox &b) {
                      b.setText("left\r\ncentred\r\nright\r\nleft again");
                      t.select(5, 6);
                      b.setSelAlignment(rt::rtfCenter);
                      t.select(13, 14);
                      b.setSelAlignment(rt::rtfRight);
                  }},
        RoundTrip{"LegacyBytes",
                  [](DocumentFiles &t, rt::RichTextBox &b) {
                      b.setText(allBytes(0x80, 0xFF) + "\r\n" + allBytes(0x20, 0x7E));
                      t.select(0, 128);
                      b.setSelFontName(std::string("Limon S1"));
                      b.setSelFontSize(16.0);
                  }},
        RoundTrip{"RichTextMarkupAsText",
                  [](DocumentFiles &, rt::RichTextBox &b) {
                      b.setText("{\\rtf1 not markup} \\par \\'41 {{}}");
                  }}),
    [](const ::testing::TestParamInfo<RoundTrip> &info) { return info.param.name; });

// --- Saving safely ------------------------------------------------------------

// Makes a folder refuse new entries, also for a user whom permissions do not
// stop; false when the file system offers no way.
bool lockFolder(const std::filesystem::path &folder)
{
    ::chmod(folder.c_str(), 0555);
    const std::filesystem::path probe = folder / "probe";
    if (std::FILE *f = std::fopen(probe.c_str(), "w")) {
        std::fclose(f);
        std::filesystem::remove(probe);
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        const bool locked = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                            (flags |= FS_IMMUTABLE_FL, ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
        if (fd >= 0)
            ::close(fd);
        return locked;
    }
    return true;
}

void unlockFolder(const std::filesystem::path &folder)
{
    if (const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY); fd >= 0) {
        int flags = 0;
        if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_IMMUTABLE_FL)) {
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        ::close(fd);
    }
    ::chmod(folder.c_str(), 0755);
}

class SavingSafely : public DocumentFiles {
public:
    void SetUp() override
    {
        DocumentFiles::SetUp();
        text().setText(std::string(20000, 'n'));
        writeFile(file("notes.rtf"), oldContent);
    }

    // Saves through the menu and through the editing toolbar, which each report
    // the failure with its number; then straight through the text box, which raises it.
    void expectSaveFails(const std::string &path, int number)
    {
        save(path);
        dialogs().answer(path);
        form<frmMain>().tbToolBar().Buttons("Save").click();
        processEvents();
        EXPECT_EQ(reportedNumbers(), (std::vector<int>{number, number}));
        reports().clear();
        try {
            text().SaveFile(path, rt::rtfRTF);
            ADD_FAILURE() << "the save succeeded";
        } catch (const rt::RuntimeError &e) {
            EXPECT_EQ(e.number(), number);
        }
    }

    const std::string oldContent = "{\\rtf1 the notes that were there}";
};

TEST_F(SavingSafely, AWriteThatFailsHalfwayKeepsTheOldFile)
{
    // The file system takes no file longer than 4 KiB: the new document is larger.
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    expectSaveFails(file("notes.rtf"), 61); // "Disk full"
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(readFile(file("notes.rtf")), oldContent);
    EXPECT_EQ(namesIn(files_), std::vector<std::string>{"notes.rtf"});
}

TEST_F(SavingSafely, AFolderThatTakesNoNewFileKeepsTheOldFile)
{
    if (!lockFolder(files_)) {
        unlockFolder(files_);
        GTEST_SKIP() << "this file system cannot refuse new files to this user";
    }
    expectSaveFails(file("notes.rtf"), 70); // "Permission denied"
    unlockFolder(files_);
    EXPECT_EQ(readFile(file("notes.rtf")), oldContent);
    EXPECT_EQ(namesIn(files_), std::vector<std::string>{"notes.rtf"});
}

TEST_F(SavingSafely, AReadOnlyFileIsNotReplaced)
{
    ::chmod(file("notes.rtf").c_str(), 0444);
    expectSaveFails(file("notes.rtf"), 70);
    EXPECT_EQ(readFile(file("notes.rtf")), oldContent);
    EXPECT_EQ(namesIn(files_), std::vector<std::string>{"notes.rtf"});
}

TEST_F(SavingSafely, AFolderOfTheChosenNameIsNotReplaced)
{
    std::filesystem::create_directory(files_ / "folder.rtf");
    writeFile(files_ / "folder.rtf" / "inside.txt", "inside");
    expectSaveFails(file("folder.rtf"), rt::err::PathFileAccess);
    EXPECT_EQ(readFile(files_ / "folder.rtf" / "inside.txt"), "inside");
    EXPECT_EQ(namesIn(files_), (std::vector<std::string>{"folder.rtf", "notes.rtf"}));
}

TEST_F(SavingSafely, AMissingFolderFailsAndCreatesNothing)
{
    expectSaveFails(file("no such folder/notes.rtf"), 76); // "Path not found"
    EXPECT_EQ(namesIn(files_), std::vector<std::string>{"notes.rtf"});
}

TEST_F(SavingSafely, TheLongestNameTheFolderTakesSaves)
{
    const std::string name = std::string(251, 'n') + ".rtf";
    save(file(name));
    EXPECT_EQ(readFile(file(name)).rfind("{\\rtf", 0), 0u);
    EXPECT_EQ(namesIn(files_), (std::vector<std::string>{name, "notes.rtf"}));
}

TEST_F(SavingSafely, AReplacedFileKeepsItsPermissionsAndALinkStaysALink)
{
    ::chmod(file("notes.rtf").c_str(), 0600);
    std::filesystem::create_symlink("notes.rtf", files_ / "link.rtf");
    save(file("link.rtf"));
    EXPECT_TRUE(std::filesystem::is_symlink(files_ / "link.rtf"));
    EXPECT_NE(readFile(file("notes.rtf")), oldContent);
    EXPECT_EQ(std::filesystem::status(files_ / "notes.rtf").permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(namesIn(files_), (std::vector<std::string>{"link.rtf", "notes.rtf"}));

    text().setText("again");
    save(file("notes.rtf"));
    text().setText("");
    open(file("link.rtf"));
    EXPECT_EQ(text().Text(), "again");
}

TEST_F(SavingSafely, ALinkToNothingYetMakesTheFileItNames)
{
    std::filesystem::create_directory(files_ / "elsewhere");
    std::filesystem::create_symlink("elsewhere/new.rtf", files_ / "link.rtf");
    std::filesystem::create_symlink("link.rtf", files_ / "link to link.rtf");
    text().setText("through the links");
    save(file("link to link.rtf"));
    EXPECT_TRUE(std::filesystem::is_symlink(files_ / "link.rtf"));
    EXPECT_TRUE(std::filesystem::is_symlink(files_ / "link to link.rtf"));
    EXPECT_EQ(namesIn(files_ / "elsewhere"), std::vector<std::string>{"new.rtf"});
    text().setText("");
    open(file("link.rtf"));
    EXPECT_EQ(text().Text(), "through the links");
}

TEST_F(SavingSafely, ALinkThatLoopsOrLeadsNowhereIsReportedAndStays)
{
    std::filesystem::create_symlink("b.rtf", files_ / "a.rtf");
    std::filesystem::create_symlink("a.rtf", files_ / "b.rtf");
    std::filesystem::create_symlink("no such folder/x.rtf", files_ / "nowhere.rtf");
    expectSaveFails(file("a.rtf"), rt::err::PathFileAccess);
    expectSaveFails(file("nowhere.rtf"), 76); // "Path not found"
    for (const char *name : {"a.rtf", "b.rtf", "nowhere.rtf"})
        EXPECT_TRUE(std::filesystem::is_symlink(files_ / name)) << name;
    EXPECT_EQ(namesIn(files_), (std::vector<std::string>{"a.rtf", "b.rtf", "notes.rtf", "nowhere.rtf"}));
}

// --- Large documents ----------------------------------------------------------

std::string repeated(const std::string &piece, std::size_t times)
{
    std::string text;
    text.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

std::string words(std::size_t characters)
{
    std::string text = repeated("word ", characters / 5 + 1);
    text.resize(characters);
    return text;
}

// A document too large to lay out in time is refused with a report, and the
// document that was open stays as it was.
class LargeDocuments : public DocumentFiles {
public:
    void SetUp() override
    {
        DocumentFiles::SetUp();
        // Against a hang: the process ends after two minutes.
        ::alarm(120);
        text().setText(kOpen);
    }
    void TearDown() override
    {
        ::alarm(0);
        DocumentFiles::TearDown();
    }

    void expectRefusedAndKept(const char *what)
    {
        EXPECT_EQ(reportedNumbers(), std::vector<int>{7}) << what; // "Out of memory"
        reports().clear();
        const std::string now = text().Text();
        EXPECT_TRUE(now == kOpen) << what << ": " << now.substr(0, 80);
    }

    void expectRefused(const std::string &name)
    {
        open(file(name));
        expectRefusedAndKept(name.c_str());
    }

    static constexpr const char *kOpen = "the notes that were open";
};

// The height of a line of `points` type in the default family.
double lineHeight(rt::RichTextBox &box, double points)
{
    QFont font = box.editor()->document()->defaultFont();
    font.setPointSizeF(points);
    return QFontMetricsF(font).height();
}

struct Limit {
    const char *name;
    // The largest document of its kind that opens, and one just beyond; both RTF.
    std::function<std::string(rt::RichTextBox &)> taken, refused;
};

void PrintTo(const Limit &limit, std::ostream *out) { *out << limit.name; }

class LimitTable : public LargeDocuments, public ::testing::WithParamInterface<Limit> {};

// At the limit the document opens, saves and opens again the same; just
// beyond it, it is refused and the open document stays.
TEST_P(LimitTable, TheLargestDocumentOpensAgainAsSavedAndOneMoreIsRefused)
{
    writeFile(file("taken.rtf"), GetParam().taken(text()));
    open(file("taken.rtf"));
    ASSERT_TRUE(reportedNumbers().empty()) << reports().entries().front().description;
    const std::string plain = text().Text();
    const std::string rtf = text().TextRTF();
    ASSERT_NE(plain, kOpen);

    save(file("saved.rtf"));
    form<frmDocument>().outer()->close();
    processEvents();
    open(file("saved.rtf"));
    ASSERT_TRUE(reportedNumbers().empty()) << reports().entries().front().description;
    EXPECT_TRUE(text().Text() == plain);
    EXPECT_TRUE(text().TextRTF() == rtf);

    text().setText(kOpen);
    writeFile(file("refused.rtf"), GetParam().refused(text()));
    expectRefused("refused.rtf");
}

INSTANTIATE_TEST_SUITE_P(
    Documents, LimitTable,
    ::testing::Values(
        Limit{"Characters", [](auto &) { return "{\\rtf1 " + words(1'999'999) + "\\par}"; },
              [](auto &) { return "{\\rtf1 " + words(2'000'000) + "\\par}"; }},
        Limit{"Paragraphs", [](auto &) { return "{\\rtf1 " + repeated("p\\par ", 99'999) + "end}"; },
              [](auto &) { return "{\\rtf1 " + repeated("p\\par ", 100'000) + "end}"; }},
        Limit{"LineBreaks", [](auto &) { return "{\\rtf1 " + repeated("l\\line ", 100'000) + "}"; },
              [](auto &) { return "{\\rtf1 " + repeated("l\\line ", 100'001) + "}"; }},
        // A pasted link, as a note holds it.
        Limit{"ALink", [](auto &) { return "{\\rtf1 see http://" + std::string(1520, 'k') + " there}"; },
              [](auto &) { return "{\\rtf1 " + std::string(44'722, 'k') + "}"; }},
        Limit{"OneLongWord", [](auto &) { return "{\\rtf1 a " + std::string(44'721, 'w') + " b}"; },
              [](auto &) { return "{\\rtf1 a " + std::string(44'722, 'w') + " b}"; }},
        // 100 words of 4472 letters: their squared lengths sum to just under 2e9.
        Limit{"ManyLongWords", [](auto &) { return "{\\rtf1 " + repeated(std::string(4472, 'm') + " ", 100) + "}"; },
              [](auto &) { return "{\\rtf1 " + repeated(std::string(4472, 'm') + " ", 101) + "}"; }},
        // Paragraphs of 100-point type: their height within a tenth of the
        // limit of four million pixels at the window's width, or beyond it.
        Limit{"Height",
              [](rt::RichTextBox &b) {
                  const auto n = std::size_t(4e6 / lineHeight(b, 100) * 0.9);
                  return "{\\rtf1\\fs200 " + repeated("x\\par ", n) + "}";
              },
              [](rt::RichTextBox &b) {
                  const auto n = std::size_t(4e6 / lineHeight(b, 100) * 1.1);
                  return "{\\rtf1\\fs200 " + repeated("x\\par ", n) + "}";
              }}),
    [](const ::testing::TestParamInfo<Limit> &info) { return info.param.name; });

TEST_F(LargeDocuments, AFileOfAtMost128MBOpensAndALargerOneIsRefusedUnread)
{
    // The rest of the file is bytes that stand for no text.
    writeFile(file("large.rtf"), "{\\rtf1 the text ");
    std::filesystem::resize_file(files_ / "large.rtf", 128 * 1024 * 1024);
    open(file("large.rtf"));
    EXPECT_EQ(text().Text(), "the text ");
    text().setText(kOpen);
    std::filesystem::resize_file(files_ / "large.rtf", 128 * 1024 * 1024 + 1);
    expectRefused("large.rtf");
}

TEST_F(LargeDocuments, WhatTheBoxCanHoldSavesToAFileItOpens)
{
    // Every character in a format of its own, each written in full: the
    // writer's longest form of a character. Two million of them stay within
    // the 128 MB that a file may have.
    std::string rtf = "{\\rtf1{\\fonttbl{\\f0 Limon S1;}{\\f1 Limon R1;}}"
                      "{\\colortbl;\\red1\\green2\\blue3;\\red4\\green5\\blue6;}";
    constexpr int kCharacters = 4000;
    for (int i = 0; i < kCharacters; ++i)
        rtf += i % 2 ? "\\f1\\fs3\\b\\i\\ul\\strike\\cf2\\u-4096?"
                     : "\\f0\\fs2\\b0\\i0\\ulnone\\strike0\\cf1\\u-4095?";
    text().setTextRTF(rtf + "}");
    save(file("dense.rtf"));
    const double perCharacter = double(readFile(file("dense.rtf")).size()) / kCharacters;
    // The font, size and colour numbers here have three digits fewer than the largest.
    EXPECT_LE((perCharacter + 9) * 2'000'000, 128 * 1024 * 1024) << perCharacter;
}

TEST_F(LargeDocuments, TwoMillionLineOrParagraphBreaksAreRefused)
{
    writeFile(file("lines.rtf"), "{\\rtf1 " + repeated("\\line ", 2'000'000) + "}");
    expectRefused("lines.rtf");
    writeFile(file("paragraphs.rtf"), "{\\rtf1 " + repeated("\\par ", 2'000'000) + "}");
    expectRefused("paragraphs.rtf");
}

// Text too large for the box is refused wherever it comes in: the document
// stays as it was and the refusal is reported.
TEST_F(LargeDocuments, PasteAndAssignedTextOverTheLimitsAreRefused)
{
    const std::string tooMany = "{\\rtf1 " + repeated("p\\par ", 100'000) + "}";
    const std::string tooLong = words(2'000'001);
    text().setSelStart(4);
    text().setSelLength(5);

    program().clipboard().SetText(tooMany);
    form<frmMain>().tbToolBar().Buttons("Paste").click();
    processEvents();
    expectRefusedAndKept("the editing toolbar's Paste");
    EXPECT_EQ(text().SelText(), "notes");

    QGuiApplication::clipboard()->setText(QString::fromLatin1(tooLong));
    text().editor()->paste();
    expectRefusedAndKept("a paste in the text box");

    for (const auto &[what, assign] :
         std::vector<std::pair<const char *, std::function<void()>>>{
             {"Text", [&] { text().setText(tooLong); }},
             {"TextRTF", [&] { text().setTextRTF(tooMany); }},
             {"TextRTF as text", [&] { text().setTextRTF(tooLong); }},
             {"SelRTF", [&] { text().setSelRTF(tooMany); }},
             {"SelRTF as text", [&] { text().setSelRTF(tooLong); }}}) {
        program().run(assign);
        expectRefusedAndKept(what);
    }
}

// What a paste adds counts together with the text it lands in.
TEST_F(LargeDocuments, APasteCountsWithTheDocumentAroundIt)
{
    text().setText(std::string(30'000, 'x') + " " + std::string(30'000, 'y'));
    const std::string before = text().Text();
    text().setSelStart(30'000);
    // Without the space, the two halves make one word too long to lay out in time.
    program().clipboard().SetText("{\\rtf1 z}");
    text().setSelLength(1);
    form<frmMain>().tbToolBar().Buttons("Paste").click();
    processEvents();
    EXPECT_EQ(reportedNumbers(), std::vector<int>{7});
    reports().clear();
    EXPECT_TRUE(text().Text() == before);
    // Beside the space, the same paste is taken.
    text().setSelStart(30'001);
    text().setSelLength(0);
    form<frmMain>().tbToolBar().Buttons("Paste").click();
    processEvents();
    EXPECT_TRUE(reportedNumbers().empty());
    EXPECT_EQ(text().Text().size(), before.size() + 1);

    // A paragraph more than the box takes, made of a document just within the limit and a paste.
    text().setTextRTF("{\\rtf1 " + repeated("p\\par ", 99'998) + "end}");
    text().setSelStart(0);
    program().clipboard().SetText("{\\rtf1 a\\par b}");
    form<frmMain>().tbToolBar().Buttons("Paste").click();
    processEvents();
    EXPECT_TRUE(reportedNumbers().empty());
    program().clipboard().SetText("{\\rtf1 c\\par d}");
    form<frmMain>().tbToolBar().Buttons("Paste").click();
    processEvents();
    EXPECT_EQ(reportedNumbers(), std::vector<int>{7});
    reports().clear();
    EXPECT_EQ(text().editor()->document()->blockCount(), 100'000);
}

// Typing can take a document past what Open takes, here by deleting the
// space between two long words: Save refuses it rather than write a file
// that would not open again, and the document stays to be shortened.
TEST_F(LargeDocuments, ADocumentTypedPastTheLimitsIsNotSavedAndStays)
{
    text().setText(std::string(30'000, 'x') + " " + std::string(30'000, 'y'));
    QTextCursor cursor(text().editor()->document());
    cursor.setPosition(30'000);
    cursor.deleteChar();
    const std::string joined = text().Text();
    ASSERT_EQ(joined.size(), 60'000u);

    save(file("joined.rtf"));
    EXPECT_EQ(reportedNumbers(), std::vector<int>{7});
    reports().clear();
    EXPECT_FALSE(std::filesystem::exists(files_ / "joined.rtf"));
    EXPECT_TRUE(text().Text() == joined);

    // Shortened again, it saves and opens as it was.
    cursor.setPosition(30'000);
    cursor.insertText(" ");
    save(file("joined.rtf"));
    const std::string shortened = text().Text();
    text().setText(kOpen);
    open(file("joined.rtf"));
    EXPECT_TRUE(reportedNumbers().empty());
    EXPECT_TRUE(text().Text() == shortened);
}

TEST_F(LargeDocuments, TheBoxKeepsAWrapWidthAtWhichTheTextWouldGrowTooTall)
{
    // Large type: it fits at the window's width, but at a much narrower one
    // its lines could outgrow what the layout takes.
    writeFile(file("large type.rtf"), "{\\rtf1\\fs200 " + words(60'000) + "}");
    open(file("large type.rtf"));
    ASSERT_TRUE(reportedNumbers().empty());
    const float margin = text().RightMargin();
    form<frmDocument>().setWindowState(rt::vbNormal);
    form<frmDocument>().setWidth(900);
    processEvents();
    EXPECT_EQ(text().RightMargin(), margin);
    EXPECT_LT(text().editor()->document()->size().height(), 8'000'000);
    try {
        text().setRightMargin(100);
        ADD_FAILURE() << "the narrow wrap width was taken";
    } catch (const rt::RuntimeError &e) {
        EXPECT_EQ(e.number(), rt::err::InvalidPropertyValue);
    }
}

} // namespace
