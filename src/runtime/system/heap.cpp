#include "runtime/system/heap.h"

#include <malloc.h>

namespace rt {

void setHeapPolicy()
{
    // Every block of a quarter megabyte or more is mapped on its own and goes
    // back to the system as soon as it is freed: the large lists of a closed
    // window leave nothing behind. Set once, the threshold stays where it is
    // instead of rising with the largest block freed so far.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
}

} // namespace rt
