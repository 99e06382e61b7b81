#include "runtime/system/helper_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <thread>

namespace rt {

namespace {

using Clock = std::chrono::steady_clock;

HelperEnd ended(int status)
{
    if (WIFEXITED(status))
        return {HelperEnd::How::Exited, WEXITSTATUS(status)};
    return {HelperEnd::How::Signalled, WIFSIGNALED(status) ? WTERMSIG(status) : 0};
}

// Whether the child ended before `deadline`: waits on a process file
// descriptor where the kernel has them, else looks every millisecond. A
// child that something else reaped counts as killed.
bool waitUntil(pid_t pid, Clock::time_point deadline, int &status)
{
    const int pidfd = int(syscall(SYS_pidfd_open, pid, 0));
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            break;
        if (done < 0 && errno != EINTR) {
            status = SIGKILL; // as WIFSIGNALED reads it
            break;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            if (pidfd >= 0)
                close(pidfd);
            return false;
        }
        if (pidfd >= 0) {
            pollfd ready = {pidfd, POLLIN, 0};
            poll(&ready, 1, int(std::min<long long>(left.count(), 1000)) + 1);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    if (pidfd >= 0)
        close(pidfd);
    return true;
}

} // namespace

HelperEnd runHelper(const std::filesystem::path &program, const std::vector<std::string> &arguments,
                    std::chrono::milliseconds limit)
{
    const std::string path = program.string();
    std::vector<char *> argv{const_cast<char *>(path.c_str())};
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<std::string> settings;
    for (const char *name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"})
        if (const char *value = std::getenv(name))
            settings.push_back(std::string(name) + '=' + value);
    std::vector<char *> environment;
    for (std::string &setting : settings)
        environment.push_back(setting.data());
    environment.push_back(nullptr);

    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&files, 1, 2);
    posix_spawn_file_actions_addclosefrom_np(&files, 3);
    // Signals as a fresh program has them, whatever the caller blocks or ignores.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = 0;
    const int failed = posix_spawn(&pid, path.c_str(), &files, &attributes, argv.data(), environment.data());
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attributes);
    if (failed)
        return {HelperEnd::How::NotStarted, failed};

    int status = 0;
    if (waitUntil(pid, Clock::now() + limit, status))
        return ended(status);
    kill(pid, SIGKILL);
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return {HelperEnd::How::TimedOut, 0};
}

} // namespace rt
