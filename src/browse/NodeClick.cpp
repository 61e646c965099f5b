#include "browse/NodeClick.h"

#include "browse/NodeImages.h"
#include "shared/FileKind.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"

namespace {

void unmark(FileList& state, const Settings& settings, NodeTree::Id id)
{
    FileList::Edit edit(state);
    const QString extension = ExtensionOf(edit.tree().node(id).text);
    edit.tree().setImage(id, QString::number(FileListIconIndex(extension, settings)));
    edit.tree().setMark(id, NodeMark::None);
}

} // namespace

FileNodeKind ClassifyFileNode(const FileList& state, NodeTree::Id id)
{
    const NodeTree& tree = state.tree();
    if (!tree.contains(id))
        return FileNodeKind::None;
    const NodeTree::Id parent = tree.node(id).parent;
    if (parent == NodeTree::None)
        return FileNodeKind::Root;
    if (state.setup().treeType != TreeType::PlainList && tree.node(parent).parent == NodeTree::None)
        return FileNodeKind::Group;
    return FileNodeKind::File;
}

NodeMenu NodeClickMenu(const FileList& state, NodeTree::Id id, NodeClick click)
{
    if (state.setup().showsPlaceholder || click != NodeClick::Menu)
        return NodeMenu::None;
    switch (ClassifyFileNode(state, id)) {
    case FileNodeKind::Root:
        return NodeMenu::FilesForList;
    case FileNodeKind::Group:
        return NodeMenu::FilesForGroup;
    case FileNodeKind::File:
        return NodeMenu::FileNode;
    case FileNodeKind::None:
        break;
    }
    return NodeMenu::None;
}

NodeAction NodeClickAction(const FileList& state, NodeTree::Id id, NodeActionKind kind)
{
    NodeAction action;
    if (state.setup().showsPlaceholder || kind == NodeActionKind::None)
        return action;
    if (kind == NodeActionKind::ExpandArchives || kind == NodeActionKind::CollapseArchives) {
        action.kind = kind;
        return action;
    }
    if (ClassifyFileNode(state, id) != FileNodeKind::File)
        return action;

    // The key is the folder followed by the entry (a full path in the basket).
    const QString key = state.tree().key(id);
    const qsizetype slash = key.lastIndexOf(u'/');
    action.kind = kind;
    action.folder = key.left(slash + 1);
    action.name = key.mid(slash + 1);
    return action;
}

bool ToggleFileMark(FileList& state, const Settings& settings, NodeTree::Id id)
{
    if (state.setup().showsPlaceholder || ClassifyFileNode(state, id) != FileNodeKind::File)
        return false;
    FileList::Edit edit(state);
    NodeTree& tree = edit.tree();
    if (tree.mark(id) == NodeMark::Marked) {
        unmark(state, settings, id);
        return false;
    }
    if (!settings.multiSelect) {
        for (const NodeTree::Id other : tree.preorder()) {
            if (tree.mark(other) == NodeMark::Marked)
                unmark(state, settings, other);
        }
    }
    tree.setImage(id, listimage::Ticked);
    tree.setMark(id, NodeMark::Marked);
    return true;
}

QStringList MarkedEntries(const FileList& state)
{
    QStringList entries;
    const NodeTree& tree = state.tree();
    for (const NodeTree::Id id : tree.preorder()) {
        if (tree.mark(id) == NodeMark::Marked && ClassifyFileNode(state, id) == FileNodeKind::File)
            entries.append(tree.node(id).text);
    }
    return entries;
}
