#include "tools/ContentReadAhead.h"

#include "tools/ContentSearch.h"

#include <QThreadPool>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

// Files started ahead of the one taken: enough to keep every core busy between takes,
// few enough that stopping wastes little.
constexpr size_t FilesAhead = 32;
constexpr auto WaitingTurn = std::chrono::milliseconds(40);

} // namespace

struct ContentReadAhead::Shared {
    std::vector<BytePattern> patterns;
    std::vector<QString> paths;
    std::atomic<bool> stopped{false};

    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::optional<std::vector<bool>>> results;
    std::vector<char> done;
    int running = 0;
};

ContentReadAhead::ContentReadAhead(const ContentCriteria& criteria, std::vector<QString> paths)
    : shared_(std::make_shared<Shared>())
{
    shared_->patterns = ContentPatterns(criteria);
    shared_->results.resize(paths.size());
    shared_->done.assign(paths.size(), 0);
    shared_->paths = std::move(paths);
}

ContentReadAhead::~ContentReadAhead()
{
    stop();
}

void ContentReadAhead::startUpTo(size_t end)
{
    end = std::min(end, shared_->paths.size());
    for (; started_ < end; ++started_) {
        if (shared_->paths[started_].isEmpty())
            continue;
        {
            const std::lock_guard lock(shared_->mutex);
            ++shared_->running;
        }
        // The task holds the shared state, so it may outlive nothing it reads.
        QThreadPool::globalInstance()->start([shared = shared_, i = started_] {
            std::optional<std::vector<bool>> found;
            if (!shared->stopped.load())
                found = ScanContent(shared->paths[i], shared->patterns, {}, &shared->stopped);
            const std::lock_guard lock(shared->mutex);
            shared->results[i] = std::move(found);
            shared->done[i] = 1;
            --shared->running;
            shared->changed.notify_all();
        });
    }
}

std::optional<std::vector<bool>> ContentReadAhead::take(size_t i,
                                                        const std::function<void()>& waiting)
{
    if (i >= shared_->paths.size() || shared_->paths[i].isEmpty())
        return std::nullopt; // never searched here
    startUpTo(i + 1 + FilesAhead);
    std::unique_lock lock(shared_->mutex);
    while (!shared_->done[i]) {
        if (!waiting) {
            shared_->changed.wait(lock);
            continue;
        }
        if (!shared_->changed.wait_for(lock, WaitingTurn, [&] { return shared_->done[i] != 0; })) {
            lock.unlock();
            waiting();
            lock.lock();
        }
    }
    return std::move(shared_->results[i]);
}

void ContentReadAhead::stop()
{
    shared_->stopped.store(true);
    std::unique_lock lock(shared_->mutex);
    shared_->changed.wait(lock, [&] { return shared_->running == 0; });
}
