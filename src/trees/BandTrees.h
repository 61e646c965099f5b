#pragma once

#include "browse/FileList.h"

struct TreeContext;

/// Rebuilds fileTree grouped by size band (SizeBandText), smallest first unless the
/// tree direction is descending. Returns the file count, or -1 when the list has no node.
int BuildSizeTree(FileList& state, const TreeContext& context);

/// Rebuilds fileTree grouped by calendar day of the creation or last-write time (the
/// date basis), oldest first unless the tree direction is descending. Returns the file count.
int BuildDateTree(FileList& state, const TreeContext& context);

/// Rebuilds fileTree grouped by age (" today", "03 days old", ...), oldest first unless
/// the tree direction is ascending. Returns the file count, or -1 when the list has no node.
int BuildAgeTree(FileList& state, const TreeContext& context);
