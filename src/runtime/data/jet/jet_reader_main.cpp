// velumir-jet-reader <Jet file> <SQLite file>
//
// Copies every user table of a Jet database into an SQLite file, whole or
// not at all (see jet_reader_status.h for how it ends). libmdb can loop
// for ever on a damaged file and prints to the terminal, so the data layer
// runs this in a process of its own, with a time limit and its output
// thrown away; the limits set here bound it even when nothing watches it.

#include "runtime/data/jet/jet_file.h"
#include "runtime/data/jet/jet_reader_status.h"
#include "runtime/data/jet/sqlite_copy.h"

#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define VELUMIR_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELUMIR_ADDRESS_SANITIZER 1
#endif
#endif

#ifdef VELUMIR_ADDRESS_SANITIZER
// AddressSanitizer reserves terabytes of address space for its shadow memory
// before main, so a bound on the address space would stop it at start. Its
// allocator bounds the memory instead: no allocation above 4 GB, none once
// the reader holds 4 GB, and a failed one returns nothing (as malloc does
// under the address-space bound) instead of ending the reader with a report.
// The caller's ASAN_OPTIONS come on top of these.
extern "C" const char *__asan_default_options()
{
    return "allocator_may_return_null=1:max_allocation_size_mb=4096:soft_rss_limit_mb=4096";
}
#endif

namespace {

void limit(int resource, rlim_t value)
{
    const struct rlimit bound = {value, value};
    setrlimit(resource, &bound);
}

// Ends with the program that ran it, stays within CPU time, memory and the
// size of file a whole copy can need, and leaves no core file.
void limitResources(const char *source)
{
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    struct stat status = {};
    const rlim_t size = stat(source, &status) == 0 ? rlim_t(status.st_size) : 0;
    limit(RLIMIT_CORE, 0);
    limit(RLIMIT_CPU, 30);
#ifndef VELUMIR_ADDRESS_SANITIZER
    limit(RLIMIT_AS, rlim_t(4) << 30);
#endif
    limit(RLIMIT_FSIZE, 4 * size + (rlim_t(64) << 20));
}

} // namespace

int main(int argc, char **argv)
{
    using namespace rt::jet;
    if (argc != 3)
        return ReaderUsage;
    limitResources(argv[1]);
    try {
        JetFile file(argv[1]);
        SqliteCopy copy(argv[2]);
        file.readTables(copy);
        copy.finish();
        return ReaderCopied;
    } catch (const NotJet &) {
        return ReaderNotJet;
    } catch (const JetCutShort &) {
        return ReaderCutShort;
    } catch (const JetDamaged &) {
        return ReaderDamaged;
    } catch (const CannotWrite &) {
        return ReaderCannotWrite;
    } catch (const std::bad_alloc &) {
        return ReaderDamaged; // a length no whole file gives
    }
}
