#pragma once

#include "browse/FileList.h"

struct TreeContext;

/// Sorts the plain list (the root's children, and the children of collapsed nodes) by
/// the running plain-sort key in `direction` (Unset is ascending), rewriting listedNames
/// in the new order. Returns the number of file nodes (0 when the list has fewer than 3 nodes and
/// nothing is done).
int PlainSort(FileList& state, const TreeContext& context, SortDirection direction);
