// Archives in the file list: their entries as child nodes, and entries extracted to the
// working folder before a command acts on them.
#include "archive/ExtractZipEntry.h"
#include "browse/gui/FileListPanel.h"
#include "controls/gui/WindowGuards.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"

QString FileListPanel::archivePathOf(NodeTree::Id id)
{
    const auto pathOf = [this](NodeTree::Id node) { return archivePathOf(node); };
    if (const std::optional<ArchiveMember> member = ArchiveMemberOf(state_, settings_, id, pathOf))
        return extractMember(*member);
    return state_.fileTree.key(id);
}

QString FileListPanel::extractMember(const ArchiveMember& member)
{
    const QString folder = settings_.tempFolder + member.archiveText + u'/';
    switch (ExtractZipEntry(member.archivePath, folder, member.entryName, prompts_)) {
    case ExtractOutcome::Extracted:
    case ExtractOutcome::Skipped:
        return folder + member.entryName;
    case ExtractOutcome::NotFound:
        prompts_.message(QStringLiteral("cannot extract ") + member.entryName +
                             QStringLiteral(" from ") + member.archiveText,
                         QStringLiteral("Unzip"));
        break;
    default:
        break; // the extraction said why, or the user cancelled
    }
    return {};
}

bool FileListPanel::archiveAction(NodeTree::Id id, const NodeAction& action)
{
    const auto pathOf = [this](NodeTree::Id node) { return archivePathOf(node); };
    if (action.kind == NodeActionKind::View && IsArchiveNode(state_, settings_, id) &&
        state_.fileTree.children(id).empty()) {
        BusyPointer busy;
        const QString path = archivePathOf(id);
        if (!path.isEmpty() && ExpandArchiveNode(state_, settings_, id, path, prompts_) > 0) {
            state_.fileTree.setExpanded(id, true);
            state_.fileTree.makeVisible(id);
        }
        return true;
    }
    const std::optional<ArchiveMember> member = ArchiveMemberOf(state_, settings_, id, pathOf);
    if (!member)
        return false;
    switch (action.kind) {
    case NodeActionKind::Properties:
        Q_EMIT archiveEntryProperties(member->archivePath, member->entryName);
        return true;
    case NodeActionKind::View:
    case NodeActionKind::ViewIcons:
    case NodeActionKind::Run:
    case NodeActionKind::Copy: {
        const QString extracted = extractMember(*member);
        if (!extracted.isEmpty()) {
            const qsizetype slash = extracted.lastIndexOf(u'/');
            Q_EMIT command(action.code, extracted.left(slash + 1), extracted.mid(slash + 1));
        }
        return true;
    }
    default:
        return false;
    }
}

int FileListPanel::showAllZippedFiles(CancelKey& cancel)
{
    BusyPointer busy;
    const int count = ShowAllZippedFiles(
        state_, settings_, [this](NodeTree::Id node) { return archivePathOf(node); }, cancel,
        prompts_);
    showStatus();
    return count;
}

void FileListPanel::collapseZippedFiles()
{
    CollapseZippedFiles(state_, settings_);
}
