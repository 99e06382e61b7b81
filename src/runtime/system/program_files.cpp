#include "runtime/system/program_files.h"

#include "runtime/system/program_files_config.h"

#include <system_error>

namespace rt {

namespace {

namespace fs = std::filesystem;

// The installed prefix when the running program lies in one ("<prefix>/bin"),
// else the build folder's layout of the same files.
fs::path findInPrefix(const fs::path &relative)
{
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const fs::path installed = self.parent_path().parent_path() / relative;
        if (fs::exists(installed, ec))
            return installed;
    }
    return fs::path(VELUMIR_BUILD_PREFIX) / relative;
}

} // namespace

std::filesystem::path helperProgram(std::string_view name)
{
    return findInPrefix(fs::path(VELUMIR_LIBEXEC_DIR) / "velumir" / name);
}

std::filesystem::path programData(std::string_view name)
{
    return findInPrefix(fs::path(VELUMIR_DATA_DIR) / "velumir" / name);
}

} // namespace rt
