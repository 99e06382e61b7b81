#include "support/test_support.h"

#include <cstdlib>
#include <string>

namespace testing_support {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "velumir-test-XXXXXX").string();
    if (char *made = mkdtemp(pattern.data()))
        path_ = made;
}

TempDir::~TempDir()
{
    std::error_code ec;
    if (!path_.empty())
        std::filesystem::remove_all(path_, ec);
}

} // namespace testing_support
