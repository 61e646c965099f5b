#pragma once

#include "browse/ArchiveNodes.h"
#include "browse/FileList.h"
#include "browse/ListingHandover.h"
#include "browse/NodeClick.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class CancelKey;
class FileListMenus;
class FileTreeBuilder;
class NodeTreeModel;
class NodeTreeView;
class Prompts;
class QBoxLayout;
class QHBoxLayout;
class QLabel;
class WorkerThread;
class QTimer;
class QToolButton;
struct Settings;

namespace platform {
struct ReadWatch;
}

/// The file list beside the folder tree: the list `fileTree` over the state's NodeTree,
/// the status label `FileTypeText`, a refresh button and places for the sort and tree
/// buttons and the filter tab strip, and the list's pop-up menus. Commands the main
/// window carries out leave through command(). Listing a folder rebuilds the list
/// through the tree builder the owner hands in.
class FileListPanel : public QWidget, public ListRebuilder {
    Q_OBJECT
public:
    FileListPanel(Settings& settings, Prompts& prompts, const FileTreeBuilder& trees,
                  QWidget* parent = nullptr);
    ~FileListPanel() override;

    /// What a folder listing hands on once its list is shown: the file count, or nothing
    /// for openFolderWithFiles() on a folder without files.
    using ListingDone = std::function<void(std::optional<int> count)>;

    /// Lists `path` with listPattern and rebuilds the list. The folder is read on
    /// another thread: the call returns at once, and `done` follows with the file count
    /// once the new list is shown (loading() tells the count as it grows; Escape asks
    /// "cancel?"). A newer folder listing takes the place of one still reading: the
    /// dropped one's `done` never comes. While a rebuild runs the open waits for it.
    void openFolder(const QString& path, ListingDone done = {});
    /// Opens `path` as openFolder() does when it holds at least one file, from one
    /// directory read; a folder without files leaves the list as it was (`done` gets
    /// nothing).
    void openFolderWithFiles(const QString& path, ListingDone done = {});
    /// The key a listing polls for Escape; none: listings run to their end.
    void setCancelKey(CancelKey* key) { cancel_ = key; }
    /// True while a folder is being read, the list rebuilt or worked on in steps (holdList).
    [[nodiscard]] bool listing() const { return !running_.empty() || holds_ > 0; }
    /// The last listing was ended by Escape: the list holds the files read until then.
    [[nodiscard]] bool listingCancelled() const { return cancelled_; }
    /// Runs a rebuild of the list (a filter tab, a tree, a sort) on a copy of the state on
    /// another thread, and takes the result over when it ends.
    void rebuildList(const ListRebuild& rebuild, bool readsFolder, RebuildDone done) override;
    /// Input that would change the list while a listing runs waits for its end.
    bool deferWhileBusy(std::function<void()> action) override;
    /// Reads the current folder again and rebuilds the list (the refresh button).
    void refresh();
    /// Shows the list's status caption in the label again; the label follows each change
    /// of the caption by itself, so this is only for after it showed something else.
    void showStatus();

    [[nodiscard]] FileList& state() { return state_; }
    [[nodiscard]] const FileTreeBuilder& trees() const { return trees_; }
    /// The "File1view", "Files" and "Allview" menus. "Allview" opens with the middle
    /// button or the menu key on the list.
    [[nodiscard]] FileListMenus& menus() const { return *menus_; }
    [[nodiscard]] NodeTreeView* fileList() const { return view_; }
    [[nodiscard]] NodeTreeModel* fileListModel() const { return model_.get(); }
    [[nodiscard]] QLabel* statusLabel() const { return fileTypeText_; }
    /// Where the sort and tree buttons go (right of the refresh button).
    [[nodiscard]] QHBoxLayout* buttonSlot() const { return buttonSlot_; }
    /// Where the filter tab strip goes (above the list).
    [[nodiscard]] QBoxLayout* tabSlot() const { return tabSlot_; }
    /// Where a tab strip standing on its side goes: left of the list.
    [[nodiscard]] QBoxLayout* sideTabSlot() const { return sideTabSlot_; }

    /// The "Copy List" command: the list's text on the clipboard, then a message.
    void copyListToClipboard();
    /// The node-click handler for `id` with what the click left; `globalPos` places the
    /// menu that NodeClick::Menu opens.
    void handleNodeClick(NodeTree::Id id, NodeClick click, const QPoint& globalPos);
    /// Acts on what a node's menu item (or a click) asks of `id`.
    void runNodeCode(NodeTree::Id id, NodeActionKind kind);

    /// Acts on an item of the "Allview" menu (expanding or collapsing the archives) as
    /// when the menu left it; nothing on an empty list.
    void runAllviewCode(NodeActionKind kind);
    /// "Show all zipped files" over the whole list, one archive per turn of the event
    /// loop; `cancel` is checked before each from the presses delivered, and `done` gets
    /// the number expanded. Input that would change the list meanwhile waits for its end.
    /// While a listing runs it is kept for the list that listing shows.
    void showAllZippedFiles(CancelKey& cancel, std::function<void(int expanded)> done = {});
    /// A command works on the list in steps from the event loop: until release, input that
    /// would change the list (opens, rebuilds, deferWhileBusy()) waits, as during a listing.
    void holdList() { ++holds_; }
    void releaseList();
    /// "Collapse all zipped files"; while a listing runs, after it.
    void collapseZippedFiles();
    /// The file on disk behind a node: its own path, or for an entry of an archive (an
    /// archive inside another one too) its copy extracted to the working folder ("" when
    /// that fails).
    QString archivePathOf(NodeTree::Id id);

    /// The picture of a file-list image key ("14" to "21" the categories, "27" a basket
    /// file, "28" a missing file, "3" any file; "k" + a number as the number); a null
    /// icon for "".
    [[nodiscard]] QIcon imageIcon(const QString& image) const;

Q_SIGNALS:
    /// An action for the main window, with the file's folder (ending in "/") and entry.
    void command(NodeActionKind kind, const QString& folder, const QString& name);
    /// The list was rebuilt from a folder read.
    void listed(int count);
    /// A folder is being read: `filesRead` so far.
    void loading(qint64 filesRead);
    /// The reads that sent loading() have all ended: shown, cancelled or given up.
    void loadingFinished();
    /// A listing or rebuild ended and nothing runs any more: the list shown is final
    /// until the next input.
    void listingIdle();
    /// "AB" on an entry shown below its archive: the basket resolves and extracts it.
    void archiveEntryToBasket(NodeTree::Id id);
    /// "P" on an entry shown below its archive: the entry's details are wanted.
    void archiveEntryProperties(const QString& archivePath, const QString& entryName);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// A listing into a state of its own; nothing when there was nothing to list.
    using ListingJob =
        std::function<std::optional<int>(FileList&, const Settings&, platform::ReadWatch&)>;
    struct ListingData;
    struct RunningListing;
    /// What a job starts from: the listing's setup alone, or the whole state but its tree.
    enum class JobStart { Setup, WholeState };
    /// Starts `job` on another thread and returns; when it ends its state is taken over
    /// and `done` called with its count. A job that a newer one took the place of is
    /// dropped without `done`. Escape is looked at only for a job that reads a folder.
    void runListing(const ListingJob& job, JobStart start, bool escapable, ListingDone done);
    /// The worker of `run` has ended: takes its list over, or drops it.
    void finishListing(const std::shared_ptr<RunningListing>& run);
    /// Starts a folder listing now when nothing runs or a folder read may be dropped for
    /// it; else keeps it for after the running rebuild (a newer open replaces it).
    void startOrQueueOpen(std::function<void()> open);
    /// Runs the inputs kept while listings ran, until one starts a listing again.
    void runDeferred();
    /// Polls the newest listing: its count, and Escape.
    void pollListing();
    /// Ends every listing under way without taking anything over (the panel closes).
    void stopListings();
    /// The cancel check while a listing runs: Escape, then Yes to "cancel?", stops it.
    void pollEscape(platform::ReadWatch& watch);
    /// Frees a state no longer shown (a huge listing takes a while) away from the window.
    void dispose(std::shared_ptr<ListingData> data);
    void waitForDisposer();
    /// After a listing was taken over: status, read error, listed().
    void finishOpen(const QString& path, int count);
    void buildLayout();
    QIcon iconFor(NodeTree::Id id, const QString& image) const;
    bool mouseEvent(QEvent* event);
    bool keyEvent(QEvent* event);
    bool toolTipEvent(QEvent* event);
    NodeActionKind runNodeMenu(NodeMenu menu, const QPoint& globalPos);
    /// "Allview" (middle button or the menu key on the list); false on an empty list.
    bool runAllviewMenu(const QPoint& globalPos);
    QString tipFor(NodeTree::Id id) const;
    /// Acts on archives and their entries; true when the action was handled here.
    bool archiveAction(NodeTree::Id id, const NodeAction& action);
    /// Shows the entries of the archive node with `key`; while a listing runs, in the
    /// list it shows.
    void expandArchive(const QString& key);
    struct ZippedRun;
    /// One archive of "Show all zipped files", then the next in a later turn.
    void zippedStep(const std::shared_ptr<ZippedRun>& run);

    Settings& settings_;
    Prompts& prompts_;
    const FileTreeBuilder& trees_;
    FileList state_;
    std::unique_ptr<NodeTreeModel> model_;
    NodeTreeView* view_ = nullptr;
    QLabel* fileTypeText_ = nullptr;
    QToolButton* refreshButton_ = nullptr;
    QHBoxLayout* buttonSlot_ = nullptr;
    QBoxLayout* tabSlot_ = nullptr;
    QBoxLayout* sideTabSlot_ = nullptr;
    FileListMenus* menus_ = nullptr;
    NodeClick click_ = NodeClick::None;             ///< what the last press or key left
    NodeTree::Id clickedFileNode_ = NodeTree::None; ///< ClickedFileNode
    mutable QHash<QString, QIcon> icons_;
    CancelKey* cancel_ = nullptr;
    std::vector<std::shared_ptr<RunningListing>> running_; ///< oldest first
    int readDepth_ = 0;                                    ///< the running jobs that read a folder
    quint64 listingGeneration_ = 0;
    /// Inputs kept while a listing ran, in order; `isOpen` marks a folder open.
    struct DeferredInput {
        std::function<void()> action;
        bool isOpen = false;
    };
    std::vector<DeferredInput> deferred_;
    QTimer* poll_ = nullptr;
    bool asking_ = false;
    bool cancelled_ = false;
    int holds_ = 0; ///< commands at work on the list in steps
    WorkerThread* disposer_ = nullptr;
};
