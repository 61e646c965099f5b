#include "platform/HeapPages.h"

#include <cstdint>
#include <cstdlib>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr std::uintptr_t LargePage = std::uintptr_t(2) << 20;
// Address space the heap reserves ahead of use; pages are only backed once touched.
constexpr std::size_t HeapReserve = std::size_t(512) << 20;
// A long-running window keeps this much at the heap's top and gives back what is beyond.
constexpr std::size_t LongRunReserve = std::size_t(64) << 20;

} // namespace

void preferLargeHeapPages(HeapUse use)
{
    // Grow the heap in one large step and keep freed memory for reuse, so the whole
    // working heap is one region that can be advised once. A window that stays open
    // must not hold on to a big listing's memory after it is gone, so it reserves less
    // and trims what is free at the top beyond its reserve.
    const std::size_t reserve = use == HeapUse::LongRun ? LongRunReserve : HeapReserve;
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TOP_PAD, int(reserve));
    mallopt(M_TRIM_THRESHOLD, int(reserve) * 2);
    // A block larger than what is left at the heap's top makes it grow now, by the block
    // and the reserve; the heap from here on is then advised as one region.
    void* probe = std::malloc(std::size_t(16) << 20);
    if (!probe)
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(probe);
    const auto end = reinterpret_cast<std::uintptr_t>(::sbrk(0));
    std::free(probe);
    // Only advise what is plainly the heap just grown: where the allocator hands out
    // blocks from elsewhere (a checking build's allocator, say), leave everything as is.
    const std::uintptr_t alignedStart = (start + LargePage - 1) & ~(LargePage - 1);
    if (end <= alignedStart || end - start > reserve + (std::uintptr_t(64) << 20))
        return;
    ::madvise(reinterpret_cast<void*>(alignedStart), end - alignedStart, MADV_HUGEPAGE);
}

void returnFreedHeap()
{
    ::malloc_trim(LongRunReserve);
}

} // namespace platform
