#pragma once

#include "browse/FileList.h"

struct TreeContext;

/// Whether the file tree is a folder's root and, below it, listedNames's entries in their
/// order, none carrying a mark or tag of its own (no archive opened below a file, nothing
/// ticked).
[[nodiscard]] bool IsFlatNameList(const FileList& state);

/// Sorts the plain list (the root's children, and the children of collapsed nodes) by
/// the running plain-sort key in `direction` (Unset is ascending), rewriting listedNames
/// in the new order. A flat list's rows change places; any other tree is built anew.
/// Returns the number of file nodes (0 when the list has fewer than 3 nodes and nothing
/// is done).
int PlainSort(FileList& state, const TreeContext& context, SortDirection direction);

/// The same sort for a copy of a list, holding no tree, whose shown tree is a flat list
/// (IsFlatNameList) with the root text `rootText`: listedNames is rewritten, and the rows'
/// new order is kept for the shown list to apply when it takes the copy over. Returns the
/// number of files, 0 when there are fewer than 2 and nothing is done.
int PlainSortForShownTree(FileList& state, SortDirection direction, const QString& rootText);
