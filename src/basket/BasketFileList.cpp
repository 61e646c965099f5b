#include "basket/BasketFileList.h"

#include "basket/Basket.h"
#include "basket/FileCopy.h"
#include "browse/ArchiveNodes.h"
#include "browse/FileList.h"
#include "browse/Wildcard.h"
#include "platform/FileAccess.h"
#include "platform/FileSystem.h"
#include "platform/Prompts.h"
#include "shared/FileKind.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"

#include <algorithm>

namespace {

void reportAdded(Basket& basket, int added)
{
    basket.prompts().message(NumText(added) + QStringLiteral(" files added to RadeZazeda"),
                             Basket::Title);
}

void clearMessageWhenHidden(Basket& basket)
{
    if (!basket.host().gridVisible())
        basket.host().setViewMessage(QString());
}

} // namespace

int AddFolderToBasket(Basket& basket, const QString& folder, const Settings& settings)
{
    const int before = basket.entries();
    const QString path = WithSlash(folder);
    std::vector<platform::FileEntry> files = platform::listFiles(path, settings.showSystemHidden);
    std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    {
        BasketBatch batch(basket);
        for (const platform::FileEntry& file : files)
            basket.AddFileToBasket(path, file.name, NodeSource::File, QString(),
                                   Basket::Notice::Silent, file.size);
    }
    clearMessageWhenHidden(basket);
    const int added = basket.entries() - before;
    if (added == 0) {
        basket.prompts().message(QStringLiteral("no files added to RadeZazeda") + LineBreak +
                                 QStringLiteral("Directory is empty, or files already exist in "
                                                "the basket"));
        basket.host().setViewMessage(QStringLiteral("RadeZazeda:") + NumText(qint64(files.size())) +
                                     QStringLiteral(" files"));
    } else {
        reportAdded(basket, added);
    }
    return added;
}

int AddNodeToBasket(Basket& basket, const FileList& state, NodeTree::Id id,
                    const QString& currentFolder)
{
    const NodeTree& tree = state.tree();
    if (!tree.contains(id))
        return 0;
    const int before = basket.entries();
    const NodeTree::Id root = tree.root();
    const bool grouped = state.setup().treeType != TreeType::PlainList;
    std::optional<BasketBatch> batch(std::in_place, basket);
    const auto add = [&basket](const QString& folder, const QString& name) {
        basket.AddFileToBasket(folder, name, NodeSource::File, QString(), Basket::Notice::Silent);
    };
    if (grouped) {
        QString folder = WithSlash(tree.node(root).text);
        if (folder == u"RadeZazeda/")
            folder.clear();
        if (id != root) {
            if (tree.mark(id) == NodeMark::None)
                for (const NodeTree::Id child : tree.children(id))
                    add(folder, tree.node(child).text);
        } else {
            for (const NodeTree::Id group : tree.children(root))
                for (const NodeTree::Id file : tree.children(group))
                    if (!tree.node(file).text.startsWith(u'.'))
                        add(folder, tree.node(file).text);
        }
    } else if (id == root) {
        for (const NodeTree::Id child : tree.children(root))
            add(currentFolder, tree.node(child).text);
    }
    batch.reset();
    clearMessageWhenHidden(basket);
    const int added = basket.entries() - before;
    if (added > 0)
        reportAdded(basket, added);
    return added;
}

bool PrepareResolvedFile(ResolvedFileNode& file, const FileList& state, NodeTree::Id id,
                         const Settings& settings, Prompts& prompts)
{
    const NodeTree& tree = state.tree();
    const NodeTree::Id parent = tree.contains(id) ? tree.node(id).parent : NodeTree::None;
    if (parent != NodeTree::None && IsArchiveNode(state, settings, parent)) {
        const QString extracted = FileOnDiskOf(state, settings, id, prompts);
        if (extracted.isEmpty())
            return false;
        const qsizetype slash = extracted.lastIndexOf(u'/');
        file.folder = extracted.left(slash + 1);
        file.name = extracted.mid(slash + 1);
        return true;
    }
    const bool hasChildren = tree.contains(id) && !tree.children(id).empty();
    if (ClassifyFileKind(ExtensionOf(file.name), settings) == FileKind::Zip && !hasChildren &&
        !settings.workFolder.isEmpty()) {
        const QString copy = settings.workFolder + file.name;
        if (copy != file.folder + file.name) {
            platform::removeFile(copy);
            (void)CopyFileSafely(file.folder + file.name, copy);
        }
    }
    return true;
}

int AddSelectedToBasket(Basket& basket, const FileList& state, const QString& currentFolder,
                        const Settings& settings)
{
    const NodeTree& tree = state.tree();
    const int before = basket.entries();
    std::optional<BasketBatch> batch(std::in_place, basket);
    for (const NodeTree::Id id : tree.preorder()) {
        if (tree.mark(id) != NodeMark::Marked)
            continue;
        ResolvedFileNode file =
            ResolveFileNode(state, id, currentFolder, settings.workFolder, settings);
        if (!PrepareResolvedFile(file, state, id, settings, basket.prompts()))
            continue;
        basket.AddFileToBasket(file.folder, file.name, file.source, file.entryRef,
                               Basket::Notice::Silent);
    }
    batch.reset();
    const int added = basket.entries() - before;
    basket.prompts().message(added > 0 ? NumText(added) + QStringLiteral(" files added")
                                       : QStringLiteral("no selected files"));
    return added;
}

namespace {

/// The "no files" placeholder of the basket: the root shows the empty basket, the line
/// the missing file.
void ShowEmptyBasket(FileList& state)
{
    state.showNoFiles();
    state.rebuildTree([](NodeTree& tree) {
        tree.setImage(tree.root(), QStringLiteral("2"));
        if (!tree.children(tree.root()).empty())
            tree.setImage(tree.children(tree.root()).front(), QStringLiteral("28"));
    });
}

} // namespace

int ShowBasketInFileList(const Basket& basket, FileList& state, const QString& filter,
                         const Settings& settings)
{
    state.setSource(QString());
    ListContents contents;
    ListBoy& listed = contents.listedNames;
    listed.Additem(BasketHeader);
    int shown = 0;
    state.rebuildTree([&](NodeTree& tree) {
        const NodeTree::Id root = AddFileListRoot(tree, BasketHeader);
        const bool all = filter == u"*" || filter == u"*.*" || filter.isEmpty();
        const NamePatternList patterns(all ? QStringLiteral("*") : filter);
        const Grid& grid = basket.grid();
        tree.reserve(grid.rows());
        NodeTree::Id last = root;
        for (int row = 1; row < grid.rows(); ++row) {
            const QString entry = basket.shown(row);
            if (!all && !patterns.matches(NameAfterLastBackslash(entry)))
                continue;
            // A file gone since it was added shows the missing-file image, as under an
            // opened basket file.
            const QString image =
                platform::pathExists(basket.path(row))
                    ? QString::number(FileListIconIndex(ExtensionOf(entry), settings))
                    : QStringLiteral("28");
            const NodeTree::Id node = tree.add(root, entry, entry, image);
            if (node == NodeTree::None)
                continue;
            last = node;
            listed.Additem(entry);
            ++shown;
        }
        tree.makeVisible(last);
    });
    // The basket's entries are read afresh by path: none of a folder's read stays.
    contents.readNames = listed;
    state.setContents(contents);
    state.showFiles();
    if (shown == 0)
        ShowEmptyBasket(state);
    state.setShownSort({});
    state.showFileCount(shown);
    return shown;
}
