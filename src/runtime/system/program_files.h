#pragma once

// Where the program's own files are: the helper programs it runs and the data
// it loads (fonts). An installed program finds them under its prefix, the
// folder above its own bin/ ("libexec/velumir/...", "share/velumir/..."); a
// program run from its build tree finds them in the same layout under the
// build folder.

#include <filesystem>
#include <string_view>

namespace rt {

// <prefix>/libexec/velumir/<name>
std::filesystem::path helperProgram(std::string_view name);

// <prefix>/share/velumir/<name>
std::filesystem::path programData(std::string_view name);

} // namespace rt
