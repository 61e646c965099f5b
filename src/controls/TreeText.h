#pragma once

#include "controls/NodeTree.h"

#include <QString>
#include <QStringView>
#include <QTextStream>

/// Writes the tree as text: one line per node in tree order, eight spaces per level of
/// depth before the node's text, each line ended by `lineEnd`. From `from` and its
/// subtree, or every root when `from` is None. Lines go out in large blocks, so a tree
/// of 100,000 nodes is never built as one string first. `escape`, when given, rewrites
/// each node's text before it is written (a text holding a line break, say).
void WriteTreeText(const NodeTree& tree, QTextStream& out, QStringView lineEnd,
                   NodeTree::Id from = NodeTree::None,
                   QString (*escape)(const QString& text) = nullptr);

/// The same text with CR LF line ends, as the clipboard takes it. Empty for an empty tree.
[[nodiscard]] QString TreeText(const NodeTree& tree, NodeTree::Id from = NodeTree::None);
