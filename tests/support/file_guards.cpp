#include "support/file_guards.h"

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <utility>

namespace testing_support {

namespace fs = std::filesystem;

std::map<std::string, std::string> listing(const fs::path &root)
{
    std::map<std::string, std::string> entries;
    for (const fs::directory_entry &entry : fs::recursive_directory_iterator(root)) {
        struct stat s = {};
        lstat(entry.path().c_str(), &s);
        entries[fs::relative(entry.path(), root).string()] =
            std::to_string(s.st_mode) + ' ' + std::to_string(s.st_size) + ' ' + std::to_string(s.st_mtim.tv_sec) +
            '.' + std::to_string(s.st_mtim.tv_nsec);
    }
    return entries;
}

namespace {

void setWritable(const fs::path &root, bool writable)
{
    const auto options = writable ? fs::perm_options::add : fs::perm_options::remove;
    const fs::perms write =
        writable ? fs::perms::owner_write : fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(root, write, options);
    for (const fs::directory_entry &entry : fs::recursive_directory_iterator(root))
        if (!entry.is_symlink())
            fs::permissions(entry.path(), write, options);
}

} // namespace

void makeReadOnly(const fs::path &root)
{
    setWritable(root, false);
}

void makeWritable(const fs::path &root)
{
    setWritable(root, true);
}

ScopedVariable::ScopedVariable(std::string name, const std::optional<std::string> &value) : name_(std::move(name))
{
    if (const char *old = std::getenv(name_.c_str()))
        saved_ = old;
    if (value)
        setenv(name_.c_str(), value->c_str(), 1);
    else
        unsetenv(name_.c_str());
}

ScopedVariable::~ScopedVariable()
{
    if (saved_)
        setenv(name_.c_str(), saved_->c_str(), 1);
    else
        unsetenv(name_.c_str());
}

HonourPermissions::HonourPermissions()
{
    __user_cap_header_struct header = {_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (syscall(SYS_capget, &header, data) != 0)
        return;
    effective_[0] = data[0].effective;
    effective_[1] = data[1].effective;
    data[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
    dropped_ = syscall(SYS_capset, &header, data) == 0;
}

HonourPermissions::~HonourPermissions()
{
    if (!dropped_)
        return;
    __user_cap_header_struct header = {_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    syscall(SYS_capget, &header, data);
    data[0].effective = effective_[0];
    data[1].effective = effective_[1];
    syscall(SYS_capset, &header, data);
}

CapturedOutput::CapturedOutput()
{
    char name[] = "/tmp/velumir-output-XXXXXX";
    const int fd = mkstemp(name);
    file_ = name;
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    for (int stream : {1, 2}) {
        saved_[stream - 1] = dup(stream);
        dup2(fd, stream);
    }
    close(fd);
}

CapturedOutput::~CapturedOutput()
{
    restore();
    std::error_code ec;
    fs::remove(file_, ec);
}

void CapturedOutput::restore()
{
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    for (int stream : {1, 2}) {
        if (saved_[stream - 1] < 0)
            continue;
        dup2(saved_[stream - 1], stream);
        close(saved_[stream - 1]);
        saved_[stream - 1] = -1;
    }
}

std::string CapturedOutput::text()
{
    restore();
    std::ifstream in(file_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

#ifdef VELUMIR_SANITIZED_BUILD
constexpr int Slowdown = 4;
#else
constexpr int Slowdown = 1;
#endif

Watchdog::Watchdog(std::chrono::seconds given, std::string what)
    : thread_([this, limit = given * Slowdown, what = std::move(what)] {
          std::unique_lock lock(mutex_);
          if (done_.wait_for(lock, limit, [this] { return finished_; }))
              return;
          const std::string message = "HANG: " + what + " took longer than " + std::to_string(limit.count()) + " s\n";
          (void)!write(2, message.data(), message.size());
          std::_Exit(1);
      })
{
}

Watchdog::~Watchdog()
{
    {
        std::lock_guard lock(mutex_);
        finished_ = true;
    }
    done_.notify_all();
    thread_.join();
}

} // namespace testing_support
