#include "trees/TreeRebuild.h"

#include "browse/FileListState.h"
#include "shared/FileKind.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"
#include "trees/TreeCommands.h"
#include "trees/TreeContext.h"

#include <QHash>

void BuildNameList(FileListState& state, const Settings& settings)
{
    NodeTreeLock lock(state.fileTree);
    const NodeTree::Id root = AddFileListRoot(state.fileTree, state.listedNames.list(0));

    // Classifying an extension walks the category lists; a folder has few extensions,
    // and under most settings every file has the same image anyway.
    const bool byExtension = FileListIconsByExtension(settings);
    const QString sameImage = QString::number(FileListIconIndex(QString(), settings));
    QHash<QString, QString> imageOf;
    const QString& folder = state.currentFolder;
    const int count = state.listedNames.ListCount();
    state.fileTree.reserve(count);
    // The names of one folder are unique; the basket's paths may repeat.
    const auto unique =
        folder.isEmpty() ? NodeTree::KeyCheck::Checked : NodeTree::KeyCheck::KnownUnique;
    for (int i = 1; i < count; ++i) {
        const QString entry = state.listedNames.list(i);
        if (!byExtension) {
            state.fileTree.addPrefixed(root, folder, entry, sameImage, unique);
            continue;
        }
        const QString extension = ExtensionOf(entry);
        auto image = imageOf.constFind(extension);
        if (image == imageOf.constEnd())
            image =
                imageOf.insert(extension, QString::number(FileListIconIndex(extension, settings)));
        state.fileTree.addPrefixed(root, folder, entry, *image, unique);
    }
    state.fileTree.makeVisible(root);
    state.showFileCount(state.fileTree.count() - 1);
    state.shownSort.clear();
}

void RebuildCurrentTree(FileListState& state, const Settings& settings)
{
    switch (state.treeType) {
    case TreeType::Extension:
    case TreeType::Date:
    case TreeType::Size:
    case TreeType::Age:
        state.showFileCount(qMax(0, BuildGroupedTree(state, TreeContext::live(settings))));
        break;
    case TreeType::PlainList:
    default:
        BuildNameList(state, settings);
        break;
    }
}

const FileTreeBuilder& GroupedTrees()
{
    static const GroupedTreeBuilder builder;
    return builder;
}
