#pragma once

// Windows paths of the program ("C:\WINDOWS\system32\tormin.udl") live on a
// folder of the host that stands for drive C. Names resolve without regard
// to case, as on Windows; a name in the Windows code page (not UTF-8) is
// taken as its Windows-1252 characters.

#include <filesystem>
#include <string>
#include <string_view>

namespace rt {

class Drive {
public:
    explicit Drive(std::filesystem::path root);

    // $VELUMIR_DRIVE_C when set, else velumir/drive_c under the XDG data folder.
    static std::filesystem::path defaultRoot();

    const std::filesystem::path &root() const { return root_; }

    // The host path for a Windows path. "C:\..." (either slash, any case of the
    // drive letter) resolves below the root, another letter below the folder
    // beside it ("drive_d"), ".." never climbing above either; an absolute host path ("/...")
    // stands as it is; a relative path resolves against `base`, a Windows path.
    // Each existing component is matched without regard to case; the first
    // missing one and those after it are kept as written.
    std::filesystem::path hostPath(std::string_view windowsPath,
                                   std::string_view base = "C:\\") const;

private:
    std::filesystem::path root_;
};

} // namespace rt
