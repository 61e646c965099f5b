#include "trees/PlainSort.h"

#include "browse/FileListState.h"
#include "shared/TextHelpers.h"
#include "trees/NodeScheme.h"
#include "trees/TreeContext.h"

namespace {

const QString ExtensionlessPrefix = QStringLiteral(". \t");

QString sortKey(const FileListState& state, const QString& text)
{
    const SortKey key = state.plainSortKey;
    if (key == SortKey::Extension) {
        const QString extension = ExtensionOf(text);
        // ". " sorts before every real extension, so extensionless files come first.
        if (extension == QLatin1String(" "))
            return ExtensionlessPrefix + text;
        return extension + QLatin1Char('|') + text;
    }
    if (key == SortKey::Size) {
        return QStringLiteral("%1").arg(nodescheme::entryLength(state, text), 14, 10,
                                        QLatin1Char('0')) +
               QLatin1Char('|') + text;
    }
    return QLatin1Char('|') + text;
}

/// The file name a sort-key line was made for.
QString nameOfLine(const QString& line)
{
    if (line.startsWith(ExtensionlessPrefix))
        return line.mid(ExtensionlessPrefix.length());
    const int bar = line.indexOf(QLatin1Char('|'));
    return bar < 0 ? line.mid(3) : line.mid(bar + 1);
}

} // namespace

void CollectSortKeys(FileListState& state, NodeTree::Id node)
{
    const NodeTree& tree = state.fileTree;
    const NodeTree::Id root = tree.root();
    for (NodeTree::Id n = node; n != NodeTree::None; n = tree.nextSibling(n)) {
        const NodeTree::Node& item = tree.node(n);
        if (n != root)
            state.sortLines.Additem(sortKey(state, item.text));
        state.listedNames.Additem(item.text);
        const std::vector<NodeTree::Id>& children = tree.children(n);
        if ((!item.expanded || n == root) && !children.empty())
            CollectSortKeys(state, children.front());
    }
}

int PlainSort(FileListState& state, const TreeContext& context, SortDirection direction)
{
    if (state.fileTree.count() < 3)
        return 0;
    NodeTreeLock hold(state.fileTree);
    const bool basket = state.fileTree.node(state.fileTree.root()).text == BasketHeader;
    state.sortLines.Clear();
    state.listedNames.Clear();
    CollectSortKeys(state, state.fileTree.root());
    state.sortLines.SortAscending();

    const QString keyPrefix = basket ? QString() : state.currentFolder;
    const QString header = state.listedNames.list(0);
    state.fileTree.clear();
    // listedNames takes the sorted order, so a later plain rebuild keeps it.
    state.listedNames.Clear();
    state.listedNames.Additem(header);
    const int n = state.sortLines.ListCount();
    if (n > 0) {
        const NodeTree::Id root =
            AddFileListRoot(state.fileTree, basket ? BasketHeader : state.currentFolder);
        const bool descending = direction == SortDirection::Descending;
        nodescheme::ImageCache images(context.settings);
        // The names of one folder are unique; the basket's paths may repeat.
        const auto check = basket ? NodeTree::KeyCheck::Checked : NodeTree::KeyCheck::KnownUnique;
        for (int step = 0; step < n; ++step) {
            const QString name = nameOfLine(state.sortLines.list(descending ? n - 1 - step : step));
            state.fileTree.addPrefixed(root, keyPrefix, name, images.imageOf(name), check);
            state.listedNames.Additem(name);
        }
        state.fileTree.makeVisible(root);
    }
    // A sort without a key is by name.
    const SortKey shown = state.plainSortKey == SortKey::None ? SortKey::Name : state.plainSortKey;
    state.shownSort.set(SortKeyName(shown), direction == SortDirection::Descending);
    return state.fileTree.count() - 1;
}
