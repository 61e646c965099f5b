#include "basket/ListDrops.h"

#include "basket/Basket.h"
#include "basket/BasketFile.h"
#include "basket/BasketFileList.h"
#include "browse/FolderTree.h"
#include "browse/NodeClick.h"
#include "browse/NodePaths.h"
#include "browse/ResolveFileNode.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"

bool ListShowsBasket(const FileList& state)
{
    const NodeTree& tree = state.tree();
    return tree.root() != NodeTree::None && tree.node(tree.root()).text == BasketHeader;
}

bool FolderTreeTakes(bool basketDrag, const DropItems& items)
{
    return basketDrag || items.kind == DropItems::Kind::Paths ||
           (items.kind == DropItems::Kind::OwnNode && items.source == DragList::FileList);
}

QString FolderDropTarget(const NodeTree& folders, NodeTree::Id target)
{
    if (target == NodeTree::None || !folders.contains(target))
        return {};
    const QString key = folders.key(target);
    if (IsSystemFolderKey(key) || folders.mark(target) == NodeMark::Unloaded)
        return {};
    return WithSlash(key);
}

FilesDrop PathsDropOnFolder(const DropItems& items)
{
    const DraggedSet set = items.set == DraggedSet::Folder ? DraggedSet::Files : items.set;
    return {set, FilesAmong(items.paths), items.listedFolder};
}

bool AddResolvedListNode(Basket& basket, const FileList& state, NodeTree::Id id,
                         const QString& listed, const Settings& settings, Prompts& prompts)
{
    ResolvedFileNode file = ResolveFileNode(state, id, listed, settings.workFolder, settings);
    if (!PrepareResolvedFile(file, state, id, settings, prompts))
        return false;
    basket.AddFileToBasket(file.folder, file.name, file.source, file.entryRef,
                           Basket::Notice::Announce);
    return true;
}

bool DropListNodeOnBasket(Basket& basket, const FileList& state, NodeTree::Id id,
                          const QString& listed, const Settings& settings, Prompts& prompts)
{
    const NodeTree& tree = state.tree();
    if (!tree.contains(id) || ListShowsBasket(state) || IsBasketFile(tree.key(id), settings))
        return false;
    const FileNodeKind kind = ClassifyFileNode(state, id);
    if (kind == FileNodeKind::Root || kind == FileNodeKind::Group)
        return AddNodeToBasket(basket, state, id, listed) > 0;
    return AddResolvedListNode(basket, state, id, listed, settings, prompts);
}

bool DropListNodeOnFolder(const FileList& state, NodeTree::Id id, const QString& folder,
                          const QString& listed, const Settings& settings, Prompts& prompts,
                          DropCopier& copier)
{
    if (ListShowsBasket(state)) {
        RefuseListedBasketDrop(prompts);
        return false;
    }
    const bool nextVersion = settings.nextVersionOnOverwrite;
    const FileNodeKind kind = ClassifyFileNode(state, id);
    if (kind == FileNodeKind::Root || kind == FileNodeKind::Group)
        return DropFilesOnFolder(
            {kind == FileNodeKind::Root ? DraggedSet::WholeList : DraggedSet::Group,
             ListedFilesUnder(state, id, listed), listed},
            folder, nextVersion, prompts, copier);
    if (kind != FileNodeKind::File)
        return false;
    ResolvedFileNode file = ResolveFileNode(state, id, listed, settings.workFolder, settings);
    if (!PrepareResolvedFile(file, state, id, settings, prompts))
        return false;
    return DropFilesOnFolder({DraggedSet::Files, {file.folder + file.name}, listed}, folder,
                             nextVersion, prompts, copier);
}
