#pragma once

namespace platform {

/// Lets the heap be backed by large (2 MB) pages where the kernel offers them on request.
/// A listing of 100,000 files touches tens of megabytes at random; with 4 KB pages most
/// of that time goes to page faults and address translation. Call once, early in main;
/// it does nothing where large pages are unavailable.
void preferLargeHeapPages();

} // namespace platform
