// Archives in the file list: their entries as child nodes, and entries extracted to the
// working folder before a command acts on them.
#include "browse/gui/FileListPanel.h"
#include "controls/gui/WindowGuards.h"
#include "platform/CancelKey.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"

#include <QTimer>

QString FileListPanel::archivePathOf(NodeTree::Id id)
{
    return FileOnDiskOf(state_, settings_, id, prompts_);
}

bool FileListPanel::archiveAction(NodeTree::Id id, const NodeAction& action)
{
    const auto pathOf = [this](NodeTree::Id node) { return archivePathOf(node); };
    if (action.kind == NodeActionKind::View && IsArchiveNode(state_, settings_, id) &&
        state_.tree().children(id).empty()) {
        expandArchive(state_.tree().key(id));
        return true;
    }
    const NodeTree::Id parent =
        state_.tree().contains(id) ? state_.tree().node(id).parent : NodeTree::None;
    if (parent == NodeTree::None || !IsArchiveNode(state_, settings_, parent))
        return false;
    switch (action.kind) {
    case NodeActionKind::Properties:
    case NodeActionKind::AddToBasket:
    case NodeActionKind::View:
    case NodeActionKind::ViewIcons:
    case NodeActionKind::Run:
    case NodeActionKind::Copy:
        break;
    default:
        return false;
    }
    const std::optional<ArchiveMember> member = ArchiveMemberOf(state_, settings_, id, pathOf);
    if (!member)
        return true; // its archive could not be had, which was said
    if (action.kind == NodeActionKind::Properties) {
        Q_EMIT archiveEntryProperties(member->archivePath, member->entryName);
    } else if (action.kind == NodeActionKind::AddToBasket) {
        Q_EMIT archiveEntryToBasket(id);
    } else if (const QString extracted = archivePathOf(id); !extracted.isEmpty()) {
        const qsizetype slash = extracted.lastIndexOf(u'/');
        Q_EMIT command(action.kind, extracted.left(slash + 1), extracted.mid(slash + 1));
    }
    return true;
}

void FileListPanel::expandArchive(const QString& key)
{
    // The list a running listing hands over would drop the entries: expand in that one.
    if (deferWhileBusy([this, key] { expandArchive(key); }))
        return;
    const NodeTree::Id id = state_.tree().find(key);
    if (id == NodeTree::None || !state_.tree().children(id).empty())
        return;
    BusyPointer busy;
    const QString path = archivePathOf(id);
    if (!path.isEmpty() && ExpandArchiveNode(state_, settings_, id, path, prompts_) > 0) {
        FileList::Edit edit(state_);
        edit.tree().setExpanded(id, true);
        edit.tree().makeVisible(id);
    }
}

struct FileListPanel::ZippedRun {
    ZippedRun(CancelKey& key, std::function<void(int)> whenDone)
        : cancel(key), done(std::move(whenDone))
    {}
    CancelKey& cancel;
    std::function<void(int)> done;
    ZippedFilesWalk walk;
    BusyPointer busy;
};

void FileListPanel::showAllZippedFiles(CancelKey& cancel, std::function<void(int expanded)> done)
{
    if (deferWhileBusy([this, &cancel, done] { showAllZippedFiles(cancel, done); }))
        return;
    cancel.clear();
    holdList();
    zippedStep(std::make_shared<ZippedRun>(cancel, std::move(done)));
}

void FileListPanel::zippedStep(const std::shared_ptr<ZippedRun>& run)
{
    const auto pathOf = [this](NodeTree::Id node) { return archivePathOf(node); };
    if (!EscapeDelivered(run->cancel, prompts_) &&
        run->walk.step(state_, settings_, pathOf, prompts_)) {
        QTimer::singleShot(0, this, [this, run] { zippedStep(run); });
        return;
    }
    const int count = run->walk.finish(state_, prompts_);
    releaseList();
    if (run->done)
        run->done(count);
}

void FileListPanel::collapseZippedFiles()
{
    if (deferWhileBusy([this] { collapseZippedFiles(); }))
        return;
    CollapseZippedFiles(state_, settings_);
}
