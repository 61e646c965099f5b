#include "browse/ArchiveNodes.h"

#include "archive/ExamineArchive.h"
#include "archive/ExtractZipEntry.h"
#include "browse/FileList.h"
#include "browse/NodeClick.h"
#include "platform/CancelKey.h"
#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/Prompts.h"
#include "shared/FileKind.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"

#include <QCryptographicHash>
#include <QSet>

namespace {

/// The entry of `member` extracted into its archive's work folder; an archive that is
/// itself an entry (`reuse`) is taken as it was extracted before, when its copy is there.
QString ExtractMember(const ArchiveMember& member, const QString& archiveKey,
                      const Settings& settings, bool reuse, Prompts& prompts)
{
    const QString folder = ArchiveWorkFolder(settings.workFolder, archiveKey, member.archiveText);
    const QString path = ExtractedEntryPath(folder, member.entryName);
    if (reuse && !settings.workFolder.isEmpty() && platform::isRegularFile(path))
        return path;
    // Without a working folder of its own the entry has nowhere to go.
    const ExtractOutcome outcome =
        settings.workFolder.isEmpty()
            ? ExtractOutcome::NotFound
            : ExtractZipEntry(member.archivePath, folder, member.entryName, prompts,
                              ExistingFile::Replace);
    switch (outcome) {
    case ExtractOutcome::Extracted:
        return path;
    case ExtractOutcome::NotFound:
        prompts.message(QStringLiteral("cannot extract ") + member.entryName +
                            QStringLiteral(" from ") + member.archiveText,
                        QStringLiteral("Unzip"));
        break;
    default:
        break; // the extraction said why, or the user cancelled
    }
    return {};
}

} // namespace

QString FileOnDiskOf(const FileList& state, const Settings& settings, NodeTree::Id id,
                     Prompts& prompts)
{
    const auto archiveOf = [&](NodeTree::Id node) {
        return FileOnDiskOf(state, settings, node, prompts);
    };
    const std::optional<ArchiveMember> member = ArchiveMemberOf(state, settings, id, archiveOf);
    if (!member) {
        const NodeTree::Id parent =
            state.tree().contains(id) ? state.tree().node(id).parent : NodeTree::None;
        // An entry whose archive could not be had is no file of the folder either.
        if (parent != NodeTree::None && IsArchiveNode(state, settings, parent))
            return {};
        return state.tree().key(id);
    }
    const QString archiveKey = state.tree().key(state.tree().node(id).parent);
    return ExtractMember(*member, archiveKey, settings, IsArchiveNode(state, settings, id),
                         prompts);
}

QString ArchiveWorkFolder(const QString& workFolder, const QString& archiveKey,
                          const QString& archiveText)
{
    const QByteArray id =
        QCryptographicHash::hash(platform::encodeFileName(archiveKey), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    return WithSlash(workFolder) + QString::fromLatin1(id) + u'/' +
           NameAfterLastBackslash(archiveText) + u'/';
}

bool IsArchiveNode(const FileList& state, const Settings& settings, NodeTree::Id id)
{
    if (ClassifyFileNode(state, id) != FileNodeKind::File)
        return false;
    const QString& text = state.tree().node(id).text;
    return ClassifyFileKind(ExtensionOf(text), settings) == FileKind::Zip;
}

std::optional<ArchiveMember> ArchiveMemberOf(const FileList& state, const Settings& settings,
                                             NodeTree::Id id, const ArchivePathOf& pathOf)
{
    if (!state.tree().contains(id))
        return std::nullopt;
    const NodeTree::Id parent = state.tree().node(id).parent;
    if (parent == NodeTree::None || !IsArchiveNode(state, settings, parent))
        return std::nullopt;
    const QString parentKey = state.tree().key(parent);
    const QString key = state.tree().key(id);
    ArchiveMember member;
    member.archivePath = pathOf(parent);
    member.archiveText = state.tree().node(parent).text;
    member.entryName = key.mid(parentKey.size() + 1);
    if (member.archivePath.isEmpty() || !key.startsWith(parentKey + u'/'))
        return std::nullopt;
    return member;
}

int ExpandArchiveNode(FileList& state, const Settings& settings, NodeTree::Id id,
                      const QString& archivePath, Prompts& prompts)
{
    if (!IsArchiveNode(state, settings, id) || !state.tree().children(id).empty())
        return -1;
    const QStringList names = ArchiveEntryNames(archivePath, prompts);
    FileList::Edit edit(state);
    NodeTree& tree = edit.tree();
    const QString prefix = tree.key(id) + u'/';
    NodeTreeLock lock(tree);
    for (const QString& name : names) {
        const QString image =
            QString::number(FileListIconIndex(ExtensionOf(NameAfterLastBackslash(name)), settings));
        tree.add(id, prefix + name, name, image);
    }
    return int(names.size());
}

bool ZippedFilesWalk::step(FileList& state, const Settings& settings, const ArchivePathOf& pathOf,
                           Prompts& prompts)
{
    for (;;) {
        if (next_ == walk_.size()) {
            if (!grew_)
                return false;
            grew_ = false;
            walk_ = state.tree().preorder();
            next_ = 0;
            continue;
        }
        const NodeTree::Id id = walk_[next_++];
        const NodeTree& tree = state.tree();
        if (!tree.contains(id) || tree.node(id).expanded || done_.contains(id) ||
            !IsArchiveNode(state, settings, id))
            continue;
        done_.insert(id);
        if (tree.children(id).empty()) {
            const QString path = pathOf(id);
            if (!path.isEmpty())
                ExpandArchiveNode(state, settings, id, path, prompts);
        }
        FileList::Edit edit(state);
        edit.tree().setExpanded(id, true);
        edit.tree().makeVisible(id);
        ++count_;
        grew_ = true;
        return true;
    }
}

int ZippedFilesWalk::finish(FileList& state, Prompts& prompts) const
{
    state.showFileCount(state.tree().count() - 1);
    prompts.message(count_ == 0 ? QStringLiteral("no files expanded")
                                : NumText(count_) + QStringLiteral(" files expanded"));
    return count_;
}

int ShowAllZippedFiles(FileList& state, const Settings& settings, const ArchivePathOf& pathOf,
                       CancelKey& cancel, Prompts& prompts)
{
    cancel.clear();
    ZippedFilesWalk walk;
    while (!EscapeDelivered(cancel, prompts) && walk.step(state, settings, pathOf, prompts)) {
    }
    return walk.finish(state, prompts);
}

void CollapseZippedFiles(FileList& state, const Settings& settings)
{
    FileList::Edit edit(state);
    NodeTree& tree = edit.tree();
    NodeTreeLock lock(tree);
    for (const NodeTree::Id id : tree.preorder()) {
        if (tree.node(id).expanded && IsArchiveNode(state, settings, id))
            tree.setExpanded(id, false);
    }
}
