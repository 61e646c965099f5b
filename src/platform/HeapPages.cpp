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

} // namespace

void preferLargeHeapPages()
{
    // Grow the heap in one large step and keep freed memory for reuse, so the whole
    // working heap is one region that can be advised once.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TOP_PAD, int(HeapReserve));
    mallopt(M_TRIM_THRESHOLD, int(HeapReserve) * 2);
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
    if (end <= alignedStart || end - start > HeapReserve + (std::uintptr_t(64) << 20))
        return;
    ::madvise(reinterpret_cast<void*>(alignedStart), end - alignedStart, MADV_HUGEPAGE);
}

} // namespace platform
