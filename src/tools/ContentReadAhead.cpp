#include "tools/ContentReadAhead.h"

#include "tools/ContentSearch.h"

#include <QThread>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

// Files searched ahead of the one taken: enough to keep every core busy between takes,
// few enough that stopping wastes little.
constexpr size_t FilesAhead = 32;
// The taking loop, once it has to wait, sleeps until this many more files are done (or
// the workers run out of work): a wake-up per file costs more than a small file's search.
constexpr size_t FilesPerWake = 8;
constexpr auto WaitingTurn = std::chrono::milliseconds(40);

} // namespace

// Workers claim files in list order under the lock and search them outside it. The
// taking loop and the workers wake each other only when the other has to act: results
// it waits for, or room ahead once the workers reached the bound.
struct ContentReadAhead::Shared {
    std::vector<BytePattern> patterns;
    std::vector<QString> paths;
    std::atomic<bool> stopped{false};

    std::mutex mutex;
    std::condition_variable resultsReady;
    std::condition_variable roomAhead;
    std::vector<std::optional<std::vector<bool>>> results;
    std::vector<char> done;
    size_t nextClaim = 0;     ///< the first file no worker has claimed
    size_t taken = 0;         ///< the files before this one are taken
    size_t finished = 0;      ///< files searched so far
    size_t wakeAt = SIZE_MAX; ///< the `finished` count at which the taker wants waking
    int workersAtBound = 0;
    int running = 0;

    /// The next file to claim, past the ones not searched here; the list's size at the end.
    size_t nextSearched()
    {
        while (nextClaim < paths.size() && paths[nextClaim].isEmpty())
            ++nextClaim;
        return nextClaim;
    }
    void wakeTaker()
    {
        wakeAt = SIZE_MAX;
        resultsReady.notify_one();
    }
    void work();
};

void ContentReadAhead::Shared::work()
{
    std::unique_lock lock(mutex);
    for (;;) {
        const size_t i = nextSearched();
        if (stopped.load() || i >= paths.size())
            break;
        if (i >= taken + FilesAhead) {
            ++workersAtBound;
            wakeTaker(); // nothing more comes until it takes
            roomAhead.wait(lock);
            --workersAtBound;
            continue;
        }
        ++nextClaim;
        lock.unlock();
        std::optional<std::vector<bool>> found = ScanContent(paths[i], patterns, {}, &stopped);
        lock.lock();
        results[i] = std::move(found);
        done[i] = 1;
        ++finished;
        if (finished >= wakeAt)
            wakeTaker();
    }
    --running;
    wakeTaker();
}

ContentReadAhead::ContentReadAhead(const ContentCriteria& criteria, std::vector<QString> paths)
    : shared_(std::make_unique<Shared>())
{
    Shared& shared = *shared_;
    shared.patterns = ContentPatterns(criteria);
    shared.results.resize(paths.size());
    shared.done.assign(paths.size(), 0);
    shared.paths = std::move(paths);
    const auto searched = size_t(std::count_if(shared.paths.begin(), shared.paths.end(),
                                               [](const QString& p) { return !p.isEmpty(); }));
    const int count = int(std::min(size_t(std::max(1, QThread::idealThreadCount())), searched));
    shared.running = count;
    workers_.reserve(size_t(count));
    for (int w = 0; w < count; ++w)
        workers_.emplace_back([&shared] { shared.work(); });
}

ContentReadAhead::~ContentReadAhead()
{
    stop();
    workers_.clear(); // joins them before the state they read goes
}

std::optional<std::vector<bool>> ContentReadAhead::take(size_t i,
                                                        const std::function<void()>& waiting)
{
    Shared& shared = *shared_;
    if (i >= shared.paths.size() || shared.paths[i].isEmpty())
        return std::nullopt; // never searched here
    std::unique_lock lock(shared.mutex);
    shared.taken = std::max(shared.taken, i + 1);
    // Room enough ahead for a good run before the workers reach the bound again.
    if (shared.workersAtBound > 0 && shared.nextSearched() < shared.taken + FilesAhead / 2)
        shared.roomAhead.notify_all();
    while (!shared.done[i]) {
        if (shared.stopped.load() && shared.running == 0)
            return std::nullopt; // stopped before it was searched
        shared.wakeAt = shared.finished + FilesPerWake;
        if (!waiting) {
            shared.resultsReady.wait(lock);
        } else if (shared.resultsReady.wait_for(lock, WaitingTurn) == std::cv_status::timeout) {
            lock.unlock();
            waiting();
            lock.lock();
        }
    }
    return std::move(shared.results[i]);
}

void ContentReadAhead::stop()
{
    Shared& shared = *shared_;
    shared.stopped.store(true);
    std::unique_lock lock(shared.mutex);
    shared.roomAhead.notify_all();
    shared.resultsReady.wait(lock, [&] { return shared.running == 0; });
}
