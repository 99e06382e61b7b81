#pragma once

// SQLite copies of databases that cannot be read where they lie: Jet files
// (copied by the helper program velumir-jet-reader, see jet/) and SQLite
// files whose write-ahead log holds part of their content. The data layer
// opens the copy in their place, so that nothing is ever written, created
// or locked beside the original, and a read-only drive works.
//
// The copies live in the user's cache folder ($XDG_CACHE_HOME, else
// ~/.cache, then velumir/databases), each named by its source's absolute
// path, device, inode, size and times: an unchanged file is read from its
// copy again, a changed one is copied anew. A file changed moments ago is
// copied but its copy not kept: file systems keep times only so finely (a
// few milliseconds, FAT two seconds), and a second change within the same
// tick, to the same size, would otherwise go unseen. A copy is written
// under a temporary name and renamed when whole, so programs running at the
// same time never see half a copy. The folder is kept within a size (the
// copies used longest ago go first) and may be deleted at any time.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct stat;

namespace rt::detail {

// What tells one version of a file from another, from its status: device,
// inode, size, modification and change times; part of a copy's name. The
// size counts on its own where times are coarse or not kept (FAT keeps no
// change time, and a copy restored with its old times looks unchanged).
std::string fileVersion(const struct stat &status);

struct DatabaseCopy {
    enum class Outcome {
        Ready,       // `file` is the copy
        NotJet,      // the file is no Jet database libmdb can open
        Damaged,     // the file contradicts itself or could not be read in time
        Failed,      // no copy could be made: the cache folder or the helper failed
    };
    Outcome outcome = Outcome::Failed;
    std::filesystem::path file;
    std::string message;             // what went wrong, for the report
    std::filesystem::path discard;   // a copy not kept: remove this folder once `file` is open
};

class DatabaseCache {
public:
    static constexpr std::uintmax_t DefaultLimit = std::uintmax_t(512) << 20;
    static constexpr std::chrono::milliseconds JetTimeLimit{8000};
    // How long a file must have stood unchanged for its copy to be kept.
    static constexpr std::chrono::milliseconds DefaultSettle{2500};

    static std::filesystem::path defaultFolder();

    explicit DatabaseCache(std::filesystem::path folder = defaultFolder(), std::uintmax_t limit = DefaultLimit,
                           std::chrono::milliseconds settle = DefaultSettle);

    // The copy of a Jet file. The helper reads it within `timeLimit` or
    // is stopped.
    DatabaseCopy jetCopy(const std::filesystem::path &source,
                         std::chrono::milliseconds timeLimit = JetTimeLimit);

    // The copy of an SQLite database in write-ahead-log mode together with
    // its "-wal" file, as one file in rollback mode.
    DatabaseCopy walCopy(const std::filesystem::path &source);

    // Removes a copy that would not open, so that the next use makes it anew.
    void forget(const std::filesystem::path &copy);

    const std::filesystem::path &folder() const { return folder_; }

private:
    template <class Make>
    DatabaseCopy copy(const char *kind, const std::vector<std::filesystem::path> &sources, Make make);
    void keepWithinLimit(const std::filesystem::path &keep);

    std::filesystem::path folder_;
    std::uintmax_t limit_;
    std::chrono::milliseconds settle_;
};

} // namespace rt::detail
