#include "browse/FolderListing.h"
#include "browse/ListingHandover.h"
#include "browse/gui/FileListPanel.h"
#include "controls/gui/WindowGuards.h"
#include "platform/CancelKey.h"
#include "platform/FileSystem.h"
#include "platform/HeapPages.h"
#include "platform/Logging.h"
#include "platform/Prompts.h"
#include "platform/WorkerThread.h"
#include "shared/Settings.h"

#include <QTimer>
#include <algorithm>

namespace {

// How often the count is shown and Escape looked at while a folder is read.
constexpr int PollMs = 100;

} // namespace

/// What one listing works on: its own state and settings, so nothing the window shows
/// is written from the other thread.
struct FileListPanel::ListingData {
    FileList state;
    Settings settings;
    platform::ReadWatch watch;
    std::optional<int> count;
};

/// A listing under way: its worker, and what follows its end.
struct FileListPanel::RunningListing {
    std::shared_ptr<ListingData> data;
    WorkerThread* worker = nullptr;
    quint64 generation = 0;
    bool readsFolder = false; ///< a folder read, shown as "Loading"
    bool escapable = true;
    ListingDone done;
    BusyPointer busy;
};

void FileListPanel::openFolder(const QString& path, ListingDone done)
{
    startOrQueueOpen([this, path, done = std::move(done)] {
        const FileTreeBuilder* trees = &trees_;
        const QString pattern = state_.setup().listPattern;
        runListing(
            [=](FileList& state, const Settings& settings, platform::ReadWatch& watch) {
                return std::optional<int>(
                    OpenFolder(state, settings, path, pattern, *trees, &watch));
            },
            JobStart::Setup, true,
            [this, path, done](std::optional<int> count) {
                finishOpen(path, count.value_or(0));
                if (done)
                    done(count);
            });
    });
}

void FileListPanel::openFolderWithFiles(const QString& path, ListingDone done)
{
    startOrQueueOpen([this, path, done = std::move(done)] {
        const FileTreeBuilder* trees = &trees_;
        const QString pattern = state_.setup().listPattern;
        runListing(
            [=](FileList& state, const Settings& settings, platform::ReadWatch& watch) {
                return OpenFolderWithFiles(state, settings, path, pattern, *trees, &watch);
            },
            JobStart::Setup, true,
            [this, path, done](std::optional<int> count) {
                if (count)
                    finishOpen(path, *count);
                if (done)
                    done(count);
            });
    });
}

void FileListPanel::startOrQueueOpen(std::function<void()> open)
{
    // A folder still being read is dropped for the newer one; a rebuild (a tab, a sort)
    // ends first, so the folder opens with what it set.
    const bool rebuilding = std::any_of(running_.begin(), running_.end(),
                                        [](const auto& run) { return !run->readsFolder; });
    if (!rebuilding && holds_ == 0) {
        open();
        return;
    }
    std::erase_if(deferred_, [](const DeferredInput& input) { return input.isOpen; });
    deferred_.push_back({std::move(open), true});
}

void FileListPanel::finishOpen(const QString& path, int count)
{
    clickedFileNode_ = NodeTree::None;
    showStatus();
    if (!state_.setup().readError.isEmpty())
        prompts_.message(QStringLiteral("cannot read ") + path + QStringLiteral(": ") +
                         state_.setup().readError);
    Q_EMIT listed(count);
}

void FileListPanel::rebuildList(const ListRebuild& rebuild, bool readsFolder, RebuildDone done)
{
    // A command working on the list in steps goes on with the list it started on.
    if (holds_ > 0) {
        deferred_.push_back({[this, rebuild, readsFolder, done = std::move(done)]() mutable {
                                 rebuildList(rebuild, readsFolder, std::move(done));
                             },
                             false});
        return;
    }
    const bool wasCancelled = cancelled_;
    runListing(
        [rebuild](FileList& state, const Settings& settings, platform::ReadWatch& watch) {
            return std::optional<int>(rebuild(state, settings, &watch));
        },
        JobStart::WholeState, readsFolder,
        [this, readsFolder, wasCancelled, done = std::move(done)](std::optional<int> count) {
            // Only a listing's end tells whether a folder listing was cut short.
            if (!readsFolder)
                cancelled_ = wasCancelled;
            if (done)
                done(count.value_or(0));
        });
}

bool FileListPanel::deferWhileBusy(std::function<void()> action)
{
    if (!listing())
        return false;
    deferred_.push_back({std::move(action), false});
    return true;
}

void FileListPanel::runListing(const ListingJob& job, JobStart start, bool escapable,
                               ListingDone done)
{
    // A listing still running was asked for before this one: it is no longer wanted.
    for (const auto& running : running_)
        running->data->watch.stop = true;
    auto run = std::make_shared<RunningListing>();
    run->generation = ++listingGeneration_;
    run->data = std::make_shared<ListingData>();
    if (start == JobStart::WholeState)
        CopyFileList(state_, run->data->state);
    else
        CopyListingSetup(state_, run->data->state);
    run->data->settings = settings_;
    // A rebuild shows the busy pointer alone: the window's "Loading" belongs to a listing.
    run->readsFolder = start == JobStart::Setup;
    run->escapable = escapable;
    run->done = std::move(done);
    cancelled_ = false;
    if (cancel_)
        cancel_->clear();

    run->worker = new WorkerThread(
        [data = run->data, job] { data->count = job(data->state, data->settings, data->watch); });
    // Sent from the worker's thread: the window takes the list over in its own turn.
    connect(run->worker, &WorkerThread::finished, this, [this, run] { finishListing(run); });
    running_.push_back(run);
    if (run->readsFolder) {
        ++readDepth_;
        Q_EMIT loading(0);
    }
    if (!poll_) {
        poll_ = new QTimer(this);
        poll_->setInterval(PollMs);
        connect(poll_, &QTimer::timeout, this, &FileListPanel::pollListing);
    }
    poll_->start();
    run->worker->start();
}

void FileListPanel::pollListing()
{
    if (running_.empty())
        return;
    RunningListing& newest = *running_.back();
    if (newest.readsFolder)
        Q_EMIT loading(newest.data->watch.filesRead.load());
    if (newest.escapable)
        pollEscape(newest.data->watch);
}

void FileListPanel::finishListing(const std::shared_ptr<RunningListing>& run)
{
    run->worker->join(); // the list it built is ours from here
    delete run->worker;
    run->worker = nullptr;
    std::erase(running_, run);
    if (running_.empty())
        poll_->stop();
    if (run->readsFolder && --readDepth_ == 0)
        Q_EMIT loadingFinished();

    std::optional<int> count;
    const bool current = run->generation == listingGeneration_;
    if (current) {
        count = run->data->count;
        qCDebug(lcBrowse) << "listing" << run->generation << "ended with" << count.value_or(-1)
                          << "files";
        if (count) {
            cancelled_ = run->data->watch.stop.load();
            SwapFileLists(state_, run->data->state);
        }
    } else {
        qCDebug(lcBrowse) << "listing" << run->generation << "superseded";
    }
    // The list replaced goes, and what it held goes back to the system.
    dispose(std::move(run->data));
    if (current && run->done)
        run->done(count);
    if (running_.empty()) {
        runDeferred();
        if (!listing())
            Q_EMIT listingIdle();
    }
}

void FileListPanel::runDeferred()
{
    while (!listing() && !deferred_.empty()) {
        DeferredInput input = std::move(deferred_.front());
        deferred_.erase(deferred_.begin());
        input.action();
    }
}

void FileListPanel::releaseList()
{
    if (--holds_ > 0 || !running_.empty())
        return;
    runDeferred();
    if (!listing())
        Q_EMIT listingIdle();
}

void FileListPanel::stopListings()
{
    deferred_.clear();
    for (const auto& run : running_) {
        run->data->watch.stop = true;
        run->done = nullptr;
    }
    for (const auto& run : running_) {
        run->worker->disconnect(this);
        run->worker->join();
        delete run->worker;
        run->worker = nullptr;
    }
    running_.clear();
}
void FileListPanel::pollEscape(platform::ReadWatch& watch)
{
    if (!cancel_ || asking_ || watch.stop.load())
        return;
    asking_ = true;
    if (EscapeDelivered(*cancel_, prompts_))
        watch.stop = true;
    asking_ = false;
}

void FileListPanel::dispose(std::shared_ptr<ListingData> data)
{
    waitForDisposer();
    disposer_ = new WorkerThread([data = std::move(data)]() mutable {
        data.reset();
        platform::returnFreedHeap();
    });
    disposer_->start();
}

void FileListPanel::waitForDisposer()
{
    if (!disposer_)
        return;
    disposer_->join();
    delete disposer_;
    disposer_ = nullptr;
}
