#pragma once

#include "basket/FolderDrops.h"
#include "browse/FileList.h"

#include <QString>

class Basket;
class Prompts;
struct Settings;

// Where the nodes of the file list and of the folder tree may be dropped, and what a
// drop of each does. The window only reads the drop and hands it here.

/// Whether the file list shows the basket ("RadeZazeda" at its root).
[[nodiscard]] bool ListShowsBasket(const FileList& state);

/// The folder tree takes the basket, files by path and nodes of the file list; its own
/// folders, stale nodes and drops without files are refused.
[[nodiscard]] bool FolderTreeTakes(bool basketDrag, const DropItems& items);

/// The folder a drop on folder node `target` copies into, ending in "/"; "" where
/// nothing may be dropped: no node, a system node, a node whose folders were never read.
[[nodiscard]] QString FolderDropTarget(const NodeTree& folders, NodeTree::Id target);

/// Files dropped by path on a folder: folders among them are not copied, nor their
/// files, so a dragged folder counts as files.
[[nodiscard]] FilesDrop PathsDropOnFolder(const DropItems& items);

/// Adds the file node `id` resolves to (an archive's entry is extracted first, and what
/// went wrong is said). True when it was added.
bool AddResolvedListNode(Basket& basket, const FileList& state, NodeTree::Id id,
                         const QString& listed, const Settings& settings, Prompts& prompts);

/// A node of the file list dropped on the basket: the root or a group adds its files, a
/// file itself; nothing while the list shows the basket, for a basket file or a node that
/// is gone. True when something was added.
bool DropListNodeOnBasket(Basket& basket, const FileList& state, NodeTree::Id id,
                          const QString& listed, const Settings& settings, Prompts& prompts);

/// A node of the file list dropped on `folder` (ending in "/"): the root copies the whole
/// list, a group its files, a file itself, each asked as DropFilesOnFolder asks; entries
/// of the listed basket are refused with RefuseListedBasketDrop. True when a copy ran.
bool DropListNodeOnFolder(const FileList& state, NodeTree::Id id, const QString& folder,
                          const QString& listed, const Settings& settings, Prompts& prompts,
                          DropCopier& copier);
