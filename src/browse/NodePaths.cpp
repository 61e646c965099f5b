#include "browse/NodePaths.h"

#include "browse/NodeClick.h"
#include "browse/ResolveFileNode.h"

QStringList ListedFilesUnder(const FileList& state, NodeTree::Id id, const QString& listedFolder)
{
    const NodeTree& tree = state.tree();
    QStringList files;
    if (!tree.contains(id) || state.setup().showsPlaceholder)
        return files;
    const auto addFile = [&](NodeTree::Id file) {
        const QString& text = tree.node(file).text;
        if (!text.contains(u'|'))
            files << (text.startsWith(u'/') ? text : listedFolder + text);
    };
    const bool groupedRoot = id == tree.root() && state.setup().treeType != TreeType::PlainList;
    for (const NodeTree::Id child : tree.children(id)) {
        if (!groupedRoot) {
            addFile(child);
            continue;
        }
        for (const NodeTree::Id file : tree.children(child))
            addFile(file);
    }
    return files;
}

DraggedPaths DraggedPathsOf(const FileList& state, NodeTree::Id id, const QString& listedFolder,
                            const Settings& settings)
{
    switch (ClassifyFileNode(state, id)) {
    case FileNodeKind::None:
        return {};
    case FileNodeKind::Root:
        return {DraggedSet::WholeList, ListedFilesUnder(state, id, listedFolder)};
    case FileNodeKind::Group:
        return {DraggedSet::Group, ListedFilesUnder(state, id, listedFolder)};
    case FileNodeKind::File:
        break;
    }
    if (state.setup().showsPlaceholder)
        return {};
    // The working folder is never handed out: an entry of an archive is only a file once
    // it has been extracted there.
    const ResolvedFileNode file = ResolveFileNode(state, id, listedFolder, QString(), settings);
    const QString path = file.folder + file.name;
    if (file.source == NodeSource::ArchiveEntry || !path.startsWith(u'/'))
        return {};
    return {DraggedSet::Files, {path}};
}
