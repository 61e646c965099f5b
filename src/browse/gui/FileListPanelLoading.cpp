#include "browse/FolderListing.h"
#include "browse/ListingHandover.h"
#include "browse/gui/FileListPanel.h"
#include "controls/gui/WindowGuards.h"
#include "platform/CancelKey.h"
#include "platform/FileSystem.h"
#include "platform/HeapPages.h"
#include "platform/Logging.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"

#include <QEventLoop>
#include <QThread>
#include <QTimer>

namespace {

// How often the count is shown and Escape looked at while a folder is read.
constexpr int PollMs = 100;

} // namespace

/// What one listing works on: its own state and settings, so nothing the window shows
/// is written from the other thread.
struct FileListPanel::ListingData {
    FileListState state;
    Settings settings;
    platform::ReadWatch watch;
    std::optional<int> count;
};

int FileListPanel::openFolder(const QString& path)
{
    const FileTreeBuilder* trees = &trees_;
    const QString pattern = state_.listPattern;
    const std::optional<int> count =
        runListing([=](FileListState& state, const Settings& settings, platform::ReadWatch& watch) {
            return std::optional<int>(OpenFolder(state, settings, path, pattern, *trees, &watch));
        });
    if (!count)
        return -1;
    finishOpen(path, *count);
    return *count;
}

std::optional<int> FileListPanel::openFolderWithFiles(const QString& path)
{
    const FileTreeBuilder* trees = &trees_;
    const QString pattern = state_.listPattern;
    const std::optional<int> count =
        runListing([=](FileListState& state, const Settings& settings, platform::ReadWatch& watch) {
            return OpenFolderWithFiles(state, settings, path, pattern, *trees, &watch);
        });
    if (count)
        finishOpen(path, *count);
    return count;
}

void FileListPanel::finishOpen(const QString& path, int count)
{
    clickedFileNode_ = NodeTree::None;
    showStatus();
    if (!state_.readError.isEmpty())
        prompts_.message(QStringLiteral("cannot read ") + path + QStringLiteral(": ") +
                         state_.readError);
    Q_EMIT listed(count);
}

std::optional<int> FileListPanel::rebuildList(const ListRebuild& rebuild, bool readsFolder)
{
    const bool wasCancelled = cancelled_;
    const std::optional<int> count = runListing(
        [rebuild](FileListState& state, const Settings& settings, platform::ReadWatch& watch) {
            return std::optional<int>(rebuild(state, settings, &watch));
        },
        JobStart::WholeState, readsFolder);
    // Only a listing's end tells whether a folder listing was cut short.
    if (!readsFolder)
        cancelled_ = wasCancelled;
    return count;
}

std::optional<int> FileListPanel::runListing(const ListingJob& job, JobStart start, bool escapable)
{
    BusyPointer busy;
    // A listing still running was asked for before this one: it is no longer wanted.
    if (activeWatch_)
        activeWatch_->stop = true;
    const quint64 generation = ++listingGeneration_;
    auto data = std::make_shared<ListingData>();
    if (start == JobStart::WholeState)
        CopyFileListState(state_, data->state);
    else
        CopyListingSetup(state_, data->state);
    data->settings = settings_;
    activeWatch_ = &data->watch;
    cancelled_ = false;
    superseded_ = false;
    if (cancel_)
        cancel_->clear();

    QEventLoop loop;
    QThread* worker = QThread::create(
        [data, job] { data->count = job(data->state, data->settings, data->watch); });
    connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    QTimer poll;
    poll.setInterval(PollMs);
    // Only the worker and `data` own the listing, so it is freed where dispose() says.
    platform::ReadWatch& watch = data->watch;
    // A rebuild shows the busy pointer alone: the window's "Loading" belongs to a listing.
    const bool listing = start == JobStart::Setup;
    connect(&poll, &QTimer::timeout, this, [this, &watch, escapable, listing] {
        if (listing)
            Q_EMIT loading(watch.filesRead.load());
        if (escapable)
            pollEscape(watch);
    });
    ++listingDepth_;
    if (listing) {
        ++readDepth_;
        Q_EMIT loading(0);
    }
    worker->start();
    poll.start();
    loop.exec();
    poll.stop();
    worker->wait();
    delete worker;
    --listingDepth_;
    if (listing && --readDepth_ == 0)
        Q_EMIT loadingFinished();
    if (activeWatch_ == &data->watch)
        activeWatch_ = nullptr;

    if (generation != listingGeneration_) {
        qCDebug(lcBrowse) << "listing" << generation << "superseded";
        superseded_ = true;
        dispose(std::move(data));
        return std::nullopt;
    }
    const std::optional<int> count = data->count;
    qCDebug(lcBrowse) << "listing" << generation << "ended with" << count.value_or(-1) << "files";
    if (count) {
        cancelled_ = data->watch.stop.load();
        SwapFileListStates(state_, data->state);
    }
    // The list replaced goes, and what it held goes back to the system.
    dispose(std::move(data));
    return count;
}

void FileListPanel::pollEscape(platform::ReadWatch& watch)
{
    if (!cancel_ || asking_ || watch.stop.load())
        return;
    asking_ = true;
    if (cancel_->pressed() && EscapePressed(*cancel_, prompts_))
        watch.stop = true;
    asking_ = false;
}

void FileListPanel::dispose(std::shared_ptr<ListingData> data)
{
    waitForDisposer();
    disposer_ = QThread::create([data = std::move(data)]() mutable {
        data.reset();
        platform::returnFreedHeap();
    });
    disposer_->start();
}

void FileListPanel::waitForDisposer()
{
    if (!disposer_)
        return;
    disposer_->wait();
    delete disposer_;
    disposer_ = nullptr;
}
