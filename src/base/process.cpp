#include "base/process.h"

#include <csignal>

#include <malloc.h>

namespace base {

void prepareProcess()
{
    std::signal(SIGXFSZ, SIG_IGN);
#ifdef __GLIBC__
    // Blocks under 4 MB come from the heap, and up to 32 MB of its free top are kept.
    mallopt(M_MMAP_THRESHOLD, 4 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 32 * 1024 * 1024);
#endif
}

} // namespace base
