#include "runtime/system/file_access.h"

#include "runtime/errors/runtime_error.h"

#include <cerrno>
#include <charconv>
#include <csignal>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rt {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxLinks = 40; // as the system follows them

// Gives up the descriptor when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return fd_; }
    void reset(int fd)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }
    // Closes now, for the error that closing may report.
    int close()
    {
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int fd_;
};

// The file that `path` names once its symbolic links are followed, also to a
// name where nothing is yet. Returns 0 or the errno.
int followLinks(fs::path &path)
{
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0)
            return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(st.st_mode))
            return 0;
        std::error_code ec;
        const fs::path next = fs::read_symlink(path, ec);
        if (ec)
            return ec.value();
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return ELOOP;
}

fs::path savingName(const fs::path &folder, int attempt)
{
    return folder / (std::string(kSavingPrefix) + std::to_string(::getpid()) + "-" + std::to_string(attempt));
}

// A new file under a hidden name in `folder`; sets `name`. Returns the descriptor, or -1 with errno.
int createHidden(const fs::path &folder, fs::path &name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = savingName(folder, attempt);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            if (fd < 0)
                name.clear();
            return fd;
        }
    }
    name.clear();
    errno = EEXIST;
    return -1;
}

// Gives the unnamed file `fd` the name `name`. Returns 0 or the errno.
int linkUnnamed(int fd, const fs::path &name)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return 0;
    const int error = errno;
    if (error == ENOENT && ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0)
        return 0; // no /proc: the privileged way, where the user has it
    return error;
}

// Names the complete unnamed file: `file` itself when it is new, else a hidden
// name that `hidden` receives, to be renamed over the old file.
int nameUnnamed(int fd, const fs::path &file, const fs::path &folder, bool replacing, fs::path &hidden)
{
    if (!replacing) {
        const int error = linkUnnamed(fd, file);
        if (error != EEXIST)
            return error;
        // Someone made the file in the meantime: it is replaced as any other.
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path name = savingName(folder, attempt);
        const int error = linkUnnamed(fd, name);
        if (error == 0)
            hidden = name;
        if (error != EEXIST)
            return error;
    }
    return EEXIST;
}

int writeAll(int fd, std::string_view content)
{
    for (std::size_t done = 0; done < content.size();) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        done += std::size_t(n);
    }
    return 0;
}

// The new name itself lasts only once the folder is on the disk.
void syncFolder(const fs::path &folder)
{
    if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
}

// The process id in a hidden name ("<prefix><pid>-<n>"), or 0.
pid_t saverOf(std::string_view name)
{
    if (name.substr(0, kSavingPrefix.size()) != kSavingPrefix)
        return 0;
    name.remove_prefix(kSavingPrefix.size());
    const std::size_t dash = name.find('-');
    if (dash == std::string_view::npos || dash == 0 || dash + 1 == name.size())
        return 0;
    for (char c : name.substr(dash + 1))
        if (c < '0' || c > '9')
            return 0;
    pid_t pid = 0;
    const auto [end, ec] = std::from_chars(name.data(), name.data() + dash, pid);
    return ec == std::errc() && end == name.data() + dash && pid > 0 ? pid : 0;
}

} // namespace

void raiseFileError(int systemError, FileAction action)
{
    switch (systemError) {
    case ENOENT:
        if (action == FileAction::Read)
            raise(err::FileNotFound);
        raise(76, "Path not found");
    case ENOTDIR: raise(76, "Path not found");
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY: raise(70, "Permission denied");
    case ENOSPC:
    case EDQUOT:
    case EFBIG: raise(61, "Disk full");
    case EIO: raise(57, "Device I/O error");
    default: raise(err::PathFileAccess);
    }
}

std::string readWholeFile(const fs::path &file, std::size_t maxBytes)
{
    // Not waiting for a writer, should the name be a pipe's.
    Descriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0)
        raiseFileError(errno, FileAction::Read);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        raiseFileError(errno, FileAction::Read);
    if (!S_ISREG(st.st_mode))
        raise(err::PathFileAccess);
    auto tooLarge = [maxBytes] {
        raise(7, "The file is too large to open: it holds more than " + std::to_string(maxBytes / (1024 * 1024)) +
                     " MB.");
    };
    if (std::size_t(st.st_size) > maxBytes)
        tooLarge();
    std::string content(std::size_t(st.st_size), '\0');
    std::size_t done = 0;
    for (;;) {
        if (done == content.size()) {
            if (content.size() > maxBytes)
                tooLarge();
            // The file may have grown: room for one byte beyond the limit shows it.
            content.resize(content.size() + std::min<std::size_t>(65536, maxBytes - content.size()) + 1);
        }
        const ssize_t n = ::read(fd.get(), content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            raiseFileError(errno, FileAction::Read);
        if (n == 0)
            break;
        done += std::size_t(n);
    }
    content.resize(done);
    return content;
}

int replaceFile(const fs::path &target, std::string_view content)
{
    fs::path file = target;
    if (const int error = followLinks(file))
        return error;
    struct stat old {};
    const bool replacing = ::stat(file.c_str(), &old) == 0;
    if (replacing) {
        if (S_ISDIR(old.st_mode))
            return EISDIR;
        if (!S_ISREG(old.st_mode))
            return EINVAL;
        if ((old.st_mode & 0222) == 0 || ::access(file.c_str(), W_OK) != 0)
            return EACCES;
    }
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    removeLeftoverSaves(folder);

    fs::path hidden;
    Descriptor fd(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    const bool unnamed = fd.get() >= 0;
    if (!unnamed) {
        // EOPNOTSUPP: a file system without unnamed files; EISDIR or EINVAL: a system without them.
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return errno;
        fd.reset(createHidden(folder, hidden));
        if (fd.get() < 0)
            return errno;
    }

    int error = 0;
    if (replacing) {
        (void)!::fchown(fd.get(), old.st_uid, old.st_gid);
        if (::fchmod(fd.get(), old.st_mode & 07777) != 0)
            error = errno;
    }
    if (!error)
        error = writeAll(fd.get(), content);
    if (!error && ::fsync(fd.get()) != 0)
        error = errno;
    if (!error && unnamed)
        error = nameUnnamed(fd.get(), file, folder, replacing, hidden);
    if (const int closed = fd.close(); !error)
        error = closed;
    if (!error && !hidden.empty() && ::rename(hidden.c_str(), file.c_str()) != 0)
        error = errno;
    if (error) {
        if (!hidden.empty())
            ::unlink(hidden.c_str());
        return error;
    }
    syncFolder(folder);
    return 0;
}

void removeLeftoverSaves(const fs::path &folder)
{
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const pid_t pid = saverOf(name);
        if (pid == 0)
            continue;
        const bool gone = pid == ::getpid() || (::kill(pid, 0) != 0 && errno == ESRCH);
        struct stat st {};
        if (gone && ::lstat(it->path().c_str(), &st) == 0 && S_ISREG(st.st_mode))
            ::unlink(it->path().c_str());
    }
}

} // namespace rt
