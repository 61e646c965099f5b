#pragma once

namespace platform {

/// How long the process runs: a command that prints and exits keeps every freed block for
/// reuse; a window that runs for hours hands freed memory back to the system.
enum class HeapUse { ShortRun, LongRun };

/// Lets the heap be backed by large (2 MB) pages where the kernel offers them on request.
/// A listing of 100,000 files touches tens of megabytes at random; with 4 KB pages most
/// of that time goes to page faults and address translation. Call once, early in main;
/// it does nothing where large pages are unavailable. With HeapUse::LongRun only the
/// first LongRunReserve bytes of the heap are advised, and free memory beyond that at the
/// heap's top goes back to the system.
void preferLargeHeapPages(HeapUse use = HeapUse::ShortRun);

/// Hands the free memory inside the heap back to the system, keeping a reserve at its
/// top. A long-running window calls it after big work (a large listing replaced):
/// trimming at the top alone cannot release blocks below one that is still in use.
void returnFreedHeap();

} // namespace platform
