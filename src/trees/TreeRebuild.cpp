#include "trees/TreeRebuild.h"

#include "browse/FileList.h"
#include "shared/FileKind.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"
#include "trees/NodeScheme.h"
#include "trees/TreeCommands.h"
#include "trees/TreeContext.h"

void BuildNameList(FileList& state, const Settings& settings)
{
    state.rebuildTree([&state, &settings](NodeTree& tree) {
        const ListBoy& names = state.listedNames();
        const NodeTree::Id root = AddFileListRoot(tree, names.list(0));
        nodescheme::ImageCache images(settings);
        const QString& folder = state.setup().currentFolder;
        const int count = names.ListCount();
        tree.reserve(count);
        // The names of one folder are unique; the basket's paths may repeat.
        const auto unique =
            folder.isEmpty() ? NodeTree::KeyCheck::Checked : NodeTree::KeyCheck::KnownUnique;
        for (int i = 1; i < count; ++i) {
            const QString& entry = names.textAt(i);
            tree.addPrefixed(root, folder, entry, images.imageOf(entry), unique);
        }
        tree.makeVisible(root);
    });
    state.showFileCount(state.tree().count() - 1);
    state.setShownSort({});
}

void RebuildCurrentTree(FileList& state, const Settings& settings)
{
    switch (state.setup().treeType) {
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
