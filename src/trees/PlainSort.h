#pragma once

#include "browse/FileListState.h"

struct TreeContext;

/// Adds a sort-key line to sortLines for `node` and each following sibling (the root adds
/// none) under the running plain-sort key, appends each text to
/// listedNames, and descends into children of the root and of collapsed nodes.
void CollectSortKeys(FileListState& state, NodeTree::Id node);

/// Sorts the plain list by the running plain-sort key in `direction` (Unset is
/// ascending), rewriting listedNames in the new order. Returns the number of file
/// nodes (0 when the list has fewer than 3 nodes and nothing is done).
int PlainSort(FileListState& state, const TreeContext& context, SortDirection direction);
