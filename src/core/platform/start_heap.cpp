#include "start_heap.h"

#include <cstdint>
#include <cstdlib>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {
constexpr std::uintptr_t kLargePage = 2u << 20;
constexpr int kStartHeap = 16 << 20;
constexpr int kDefaultTopPad = 128 << 10;  // glibc's own, as is the threshold
constexpr int kDefaultTrimThreshold = 128 << 10;

std::uintptr_t roundDown(std::uintptr_t at)
{
    return at & ~(kLargePage - 1);
}
}  // namespace

void prepareStartHeap()
{
    // Where glibc's own thresholds move once a large block has been freed: blocks up to 32 MiB
    // come from the heap, and the heap keeps its free top until 64 MiB of it lie free.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);

    // A block just larger than the free top of the heap makes it grow, by the block and the
    // padding; nothing touches the new range before it is advised, so its faults can take
    // large pages.
    mallopt(M_TOP_PAD, kStartHeap);
    const std::size_t size = mallinfo2().keepcost + 64;
    void* grow = std::malloc(size);
    if (grow) {
        // The first large page after the block: the heap's own bookkeeping writes at the block's end.
        const std::uintptr_t from = roundDown(reinterpret_cast<std::uintptr_t>(grow) + size + kLargePage);
        const std::uintptr_t to = roundDown(reinterpret_cast<std::uintptr_t>(::sbrk(0)));
        if (to > from)
            ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
        std::free(grow);
    }
    mallopt(M_TOP_PAD, kDefaultTopPad);
}

void settleStartHeap()
{
    mallopt(M_TRIM_THRESHOLD, kDefaultTrimThreshold);
}
