#pragma once

#include "tools/FindCriteria.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

/// Searches the contents of a list of files on worker threads of its own, a little ahead
/// of a loop that takes the results one by one, in the list's order. Stopping (or
/// destroying) it leaves the files not yet taken unsearched.
class ContentReadAhead {
public:
    /// `paths[i]` empty: file i is not searched here (the caller tests it itself).
    ContentReadAhead(const ContentCriteria& criteria, std::vector<QString> paths);
    ~ContentReadAhead();
    ContentReadAhead(const ContentReadAhead&) = delete;
    ContentReadAhead& operator=(const ContentReadAhead&) = delete;

    /// Which patterns file `i` holds, as ScanContent tells it (nothing: unreadable, or
    /// stopped before it was searched). Waits for it; `waiting` (when set) runs now and
    /// then meanwhile. Each file is taken once, in increasing order.
    [[nodiscard]] std::optional<std::vector<bool>> take(size_t i,
                                                        const std::function<void()>& waiting);
    /// Ends the searches: running ones stop at their next read; returns once none runs.
    void stop();

private:
    struct Shared;
    std::unique_ptr<Shared> shared_;
    // Threads of its own rather than a pool's: starting and joining them orders every
    // access to the shared state in a way the thread sanitizer can check.
    std::vector<std::jthread> workers_;
};
