#include "runtime/system/drive.h"

#include "runtime/text/legacy_bytes.h"

#include <QString>

#include <cctype>
#include <cstdlib>
#include <vector>

namespace rt {

namespace fs = std::filesystem;

namespace {

// A name as the host's file system spells it: UTF-8 stays as it is; a
// Windows program's name of its own code page (a picture's path stored in a
// database, "Caf\xE9.jpg") is read through the Windows-1252 table.
std::string hostName(std::string part)
{
    if (QString::fromUtf8(part).toUtf8().toStdString() == part)
        return part;
    return toUtf8(part);
}

std::vector<std::string> components(std::string_view path)
{
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!part.empty())
                parts.push_back(hostName(std::move(part)));
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(hostName(std::move(part)));
    return parts;
}

bool hasDrive(std::string_view path)
{
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

bool sameName(const std::string &a, const std::string &b)
{
    return QString::fromUtf8(a).compare(QString::fromUtf8(b), Qt::CaseInsensitive) == 0;
}

} // namespace

Drive::Drive(fs::path root) : root_(std::move(root)) {}

fs::path Drive::defaultRoot()
{
    if (const char *env = std::getenv("VELUMIR_DRIVE_C"); env && *env)
        return fs::path(env);
    fs::path data;
    if (const char *xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        data = xdg;
    else if (const char *home = std::getenv("HOME"); home && *home)
        data = fs::path(home) / ".local" / "share";
    else
        data = fs::temp_directory_path();
    return data / "velumir" / "drive_c";
}

fs::path Drive::hostPath(std::string_view windowsPath, std::string_view base) const
{
    if (!windowsPath.empty() && windowsPath.front() == '/')
        return fs::path(std::string(windowsPath));

    // Another drive letter stands for the folder beside drive C's
    // ("drive_d"), and its path resolves below that folder in the same way.
    fs::path top = root_;
    std::vector<std::string> parts;
    if (hasDrive(windowsPath)) {
        if (windowsPath[0] != 'C' && windowsPath[0] != 'c')
            top = root_.parent_path() / ("drive_" + std::string(1, char(std::tolower(windowsPath[0]))));
        parts = components(windowsPath.substr(2));
    } else {
        parts = components(hasDrive(base) ? base.substr(2) : base);
        for (auto &p : components(windowsPath))
            parts.push_back(std::move(p));
    }

    fs::path current = top;
    bool resolving = true;
    for (const auto &part : parts) {
        if (part == ".")
            continue;
        if (part == "..") {
            if (current != top)
                current = current.parent_path();
            continue;
        }
        fs::path next = current / part;
        if (resolving) {
            std::error_code ec;
            if (!fs::exists(next, ec)) {
                bool found = false;
                for (const auto &entry : fs::directory_iterator(current, ec)) {
                    if (sameName(entry.path().filename().string(), part)) {
                        next = entry.path();
                        found = true;
                        break;
                    }
                }
                resolving = found;
            }
        }
        current = next;
    }
    return current;
}

} // namespace rt
