#include "browse/NodeClick.h"

#include "shared/FileKind.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"

namespace {

const QString TickedImage = QStringLiteral("Ticked");

void unmark(FileListState& state, const Settings& settings, NodeTree::Id id)
{
    const QString extension = ExtensionOf(state.fileTree.node(id).text);
    state.fileTree.setImage(id, QString::number(FileListIconIndex(extension, settings)));
    state.fileTree.setMark(id, NodeMark::None);
}

} // namespace

FileNodeKind ClassifyFileNode(const FileListState& state, NodeTree::Id id)
{
    const NodeTree& tree = state.fileTree;
    if (!tree.contains(id))
        return FileNodeKind::None;
    const NodeTree::Id parent = tree.node(id).parent;
    if (parent == NodeTree::None)
        return FileNodeKind::Root;
    if (state.treeType != TreeType::PlainList && tree.node(parent).parent == NodeTree::None)
        return FileNodeKind::Group;
    return FileNodeKind::File;
}

NodeMenu NodeClickMenu(const FileListState& state, NodeTree::Id id, NodeClick click)
{
    if (state.showsPlaceholder || click != NodeClick::Menu)
        return NodeMenu::None;
    switch (ClassifyFileNode(state, id)) {
    case FileNodeKind::Root:
        return NodeMenu::FilesForList;
    case FileNodeKind::Group:
        return NodeMenu::FilesForGroup;
    case FileNodeKind::File:
        return NodeMenu::File1view;
    case FileNodeKind::None:
        break;
    }
    return NodeMenu::None;
}

NodeAction NodeClickAction(const FileListState& state, NodeTree::Id id, const QString& code)
{
    NodeAction action;
    action.code = code;
    if (state.showsPlaceholder || code.isEmpty())
        return action;
    if (code == u"ZE" || code == u"ZC") {
        action.kind =
            code == u"ZE" ? NodeActionKind::ExpandArchives : NodeActionKind::CollapseArchives;
        return action;
    }
    if (ClassifyFileNode(state, id) != FileNodeKind::File)
        return action;

    // The key is the folder followed by the entry (a full path in the basket).
    const QString key = state.fileTree.key(id);
    const qsizetype slash = key.lastIndexOf(u'/');
    action.folder = key.left(slash + 1);
    action.name = key.mid(slash + 1);

    if (code == u"V")
        action.kind = NodeActionKind::View;
    else if (code == u"VI")
        action.kind = NodeActionKind::ViewIcons;
    else if (code == u"R")
        action.kind = NodeActionKind::Run;
    else if (code == u"P")
        action.kind = NodeActionKind::Properties;
    else if (code == u"AB")
        action.kind = NodeActionKind::AddToBasket;
    else if (code == u"Z")
        action.kind = NodeActionKind::Zip;
    else if (code.startsWith(u'C')) {
        action.kind = NodeActionKind::Copy;
        action.target = code.mid(1);
    }
    return action;
}

bool ToggleFileMark(FileListState& state, const Settings& settings, NodeTree::Id id)
{
    if (state.showsPlaceholder || ClassifyFileNode(state, id) != FileNodeKind::File)
        return false;
    NodeTree& tree = state.fileTree;
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
    tree.setImage(id, TickedImage);
    tree.setMark(id, NodeMark::Marked);
    return true;
}

QStringList MarkedEntries(const FileListState& state)
{
    QStringList entries;
    const NodeTree& tree = state.fileTree;
    for (const NodeTree::Id id : tree.preorder()) {
        if (tree.mark(id) == NodeMark::Marked && ClassifyFileNode(state, id) == FileNodeKind::File)
            entries.append(tree.node(id).text);
    }
    return entries;
}
