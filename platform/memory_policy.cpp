#include "platform/memory_policy.h"

#include <malloc.h>

namespace platform {

void KeepFreedMemory() {
    // Up to this much free memory at the top of the heap stays with the process.
    constexpr int kKeptBytes = 64 << 20;
    // Blocks below this size come from the heap, so their pages are reused;
    // the allocator's own limit for it is 32 MB.
    constexpr int kHeapBlockLimit = 32 << 20;
    mallopt(M_TRIM_THRESHOLD, kKeptBytes);
    mallopt(M_MMAP_THRESHOLD, kHeapBlockLimit);
}

}  // namespace platform
