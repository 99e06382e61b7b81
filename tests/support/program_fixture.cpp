#include "support/program_fixture.h"

#include "app.h"
#include "browser/catalogues/new_testament.h"
#include "runtime/system/drive.h"
#include "sample_data.h"
#include "shell/frm_log_on.h"
#include "shell/frm_main.h"

#include <QApplication>
#include <QTest>

namespace testing_support {

void ProgramTest::SetUp()
{
    dir_ = std::make_unique<TempDir>();
    drive_ = dir_->path() / "drive_c";
    config_ = dir_->path() / "config";
    std::filesystem::create_directories(system32());
    std::filesystem::create_directories(drive_ / "Program Files" / "Velumir");
    std::filesystem::create_directories(config_);
    cache_ = std::make_unique<CacheHome>(dir_->path() / "cache");

    auto reports = std::make_unique<rt::RecordedReports>();
    auto dialogs = std::make_unique<rt::ScriptedDialogs>();
    reports_ = reports.get();
    dialogs_ = dialogs.get();
    rt::Program::Options options;
    options.driveRoot = drive_;
    if (driveThroughDefaultLink) {
        const std::filesystem::path data = dir_->path() / "data";
        dataHome_ = std::make_unique<ScopedVariable>("XDG_DATA_HOME", data.string());
        driveVariable_ = std::make_unique<ScopedVariable>("VELUMIR_DRIVE_C", std::nullopt);
        std::filesystem::create_directories(data / "velumir");
        std::filesystem::create_directory_symlink(drive_, data / "velumir" / "drive_c");
        options.driveRoot = rt::Drive::defaultRoot();
        EXPECT_EQ(options.driveRoot, data / "velumir" / "drive_c");
    }
    options.configRoot = config_;
    options.report = std::move(reports);
    if (realDialogs)
        dialogs_ = nullptr;
    else
        options.dialogs = std::move(dialogs);
    program_ = std::make_unique<rt::Program>(std::move(options));
    velumir::initResources();
    program_->setMdiParentClass<velumir::frmMain>();

    newTestamentRows = sample::testamentRows({velumir::newTestament()}, 1);
    oldTestamentRows = sample::testamentRows(sample::oldTestamentReadingOrder(), 2);
}

void ProgramTest::TearDown()
{
    program_.reset();
    processEvents();
    cache_.reset();
    driveVariable_.reset();
    dataHome_.reset();
    dir_.reset();
}

void ProgramTest::makeTestament(const std::string &udl, const std::string &table,
                                const std::vector<std::pair<std::string, std::string>> &rows)
{
    const std::string db = udl + ".db";
    sample::makeChapterTable(system32() / db, table, rows);
    sample::writeDataLink(system32() / udl,
                          "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\WINDOWS\\system32\\" + db +
                              ";Persist Security Info=False");
}

void ProgramTest::makeNewTestament(int rows)
{
    makeTestament("tormin.udl", "mattew", {newTestamentRows.begin(), newTestamentRows.begin() + rows});
}

void ProgramTest::makeOldTestament(int rows)
{
    makeTestament("tormio.udl", "Bible", {oldTestamentRows.begin(), oldTestamentRows.begin() + rows});
}

std::vector<int> ProgramTest::reportedNumbers() const
{
    std::vector<int> numbers;
    for (const auto &entry : reports_->entries())
        numbers.push_back(entry.number);
    return numbers;
}

void ProgramTest::processEvents()
{
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

void ProgramTest::startToMainWindow()
{
    velumir::start(*program_);
    QTest::keyClick(form<velumir::frmLogOn>().outer(), Qt::Key_Return);
    processEvents();
}

} // namespace testing_support
