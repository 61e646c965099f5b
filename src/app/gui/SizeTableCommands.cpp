#include "app/gui/SizeTableCommands.h"

#include "browse/gui/FileListMenus.h"
#include "browse/gui/FileListPanel.h"
#include "controls/gui/NodeTreeView.h"
#include "controls/gui/WindowGuards.h"
#include "platform/CancelKey.h"
#include "shared/Settings.h"
#include "trees/Statistics.h"
#include "view/window/gui/ViewWindow.h"

#include <QAction>
#include <atomic>
#include <mutex>
#include <thread>

/// One folder's read for its table, shared with the thread that reads it. The thread
/// hands the rows back only while its window part is alive.
struct SizeTableCommands::FolderJob {
    QString folder;
    QString error;
    FolderSizeRows table;
    platform::ReadWatch watch; ///< its stop ends the read
    std::atomic<bool> filling{false};
    std::atomic<bool> fillStop{false}; ///< ends the table, once the read is done
    std::atomic<bool> done{false};     ///< the rows are made: the reader's last write
    std::mutex mutex;
    SizeTableCommands* owner = nullptr;
};

SizeTableCommands::SizeTableCommands(Settings& settings, Prompts& prompts, CancelKey& cancel,
                                     FileListPanel& panel, std::function<ViewWindow*()> viewWindow,
                                     QObject* parent)
    : QObject(parent), settings_(settings), prompts_(prompts), cancel_(cancel), panel_(panel),
      viewWindow_(std::move(viewWindow))
{
    QAction* sizeTable = panel.menus().files.sizeTable;
    sizeTable->setEnabled(true);
    connect(sizeTable, &QAction::triggered, this, [this] { TriggerFileSizes(); });
    reader_ = [](const QString& folder, bool hidden, QString* error, platform::ReadWatch* watch) {
        return platform::listFiles(folder, hidden, error, watch);
    };
    escapePoll_.setInterval(100);
    connect(&escapePoll_, &QTimer::timeout, this, &SizeTableCommands::pollEscape);
    connect(this, &SizeTableCommands::folderReadEnded, this, &SizeTableCommands::folderRead,
            Qt::QueuedConnection);
}

SizeTableCommands::~SizeTableCommands()
{
    if (!job_)
        return;
    job_->watch.stop = true;
    std::lock_guard lock(job_->mutex);
    job_->owner = nullptr;
}

void SizeTableCommands::present(ViewWindow* view, const QString& message, qint64 total)
{
    view->showTable(message);
    grandTotal_ = total;
    Q_EMIT tableShown(total);
}

void SizeTableCommands::TriggerFileSizes()
{
    FileList& state = panel_.state();
    if (state.tree().count() < 2 || state.setup().showsPlaceholder)
        return;
    BusyPointer busy;
    NodeTree::Id current = panel_.fileList()->currentNode();
    if (current == NodeTree::None)
        current = state.tree().root();
    ViewWindow* view = viewWindow_();
    const SizeTableResult result = ShowSizeTable(state, view->beginTable(), current);
    if (result.shown)
        present(view, result.viewMessage, result.grandTotal);
}

void SizeTableCommands::FolderSizeTable(const QString& folder)
{
    if (job_)
        return;
    job_ = std::make_shared<FolderJob>();
    job_->folder = folder;
    job_->owner = this;
    // Escape pressed to close the menu that asked for the table does not cancel it.
    cancel_.clear();
    escapePoll_.start();
    // Detached: a read stuck on a dead server must not keep the window from closing.
    std::thread([job = job_, reader = reader_, hidden = settings_.showSystemHidden] {
        const std::vector<platform::FileEntry> files =
            reader(job->folder, hidden, &job->error, &job->watch);
        // The rows are made here too: a folder of a million files would hold the window.
        job->filling = true;
        job->table = FolderSizeRowTexts(files, [&job] { return job->fillStop.load(); });
        // The rows pass by the flag, not inside the signal, so that the thread sanitizer
        // sees the hand-over.
        job->done.store(true, std::memory_order_release);
        std::lock_guard lock(job->mutex);
        if (SizeTableCommands* owner = job->owner)
            Q_EMIT owner->folderReadEnded(QPrivateSignal());
    }).detach();
}

void SizeTableCommands::pollEscape()
{
    // The read may come back while the question is open; its job stays alive here.
    const std::shared_ptr<FolderJob> job = job_;
    if (!job || asking_ || job->watch.stop || job->fillStop)
        return;
    asking_ = true;
    if (EscapeDelivered(cancel_, prompts_)) {
        // A Yes during the read keeps the files read so far for the table.
        if (job->filling)
            job->fillStop = true;
        else
            job->watch.stop = true;
    }
    asking_ = false;
}

void SizeTableCommands::folderRead()
{
    if (!job_ || !job_->done.load(std::memory_order_acquire))
        return;
    const std::shared_ptr<FolderJob> job = std::move(job_);
    escapePoll_.stop();
    BusyPointer busy;
    ViewWindow* view = viewWindow_();
    const SizeTableResult result =
        ShowFolderSizeRows(job->folder, job->table, job->error, view->beginTable(), prompts_);
    if (result.shown)
        present(view, result.viewMessage, result.grandTotal);
}
