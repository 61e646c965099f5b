#pragma once

#include <QString>

class NodeTree;

/// The tree below and including the node "R" (the first root when there is none) as
/// text: one line per node in tree order, eight spaces per level of depth before the
/// node's text, each line ending in CR LF. Empty for an empty tree.
[[nodiscard]] QString TreeToText(const NodeTree& tree);
