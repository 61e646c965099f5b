#include "view/TreeToText.h"

#include "controls/NodeTree.h"
#include "shared/Settings.h"

namespace {

void appendSubtree(const NodeTree& tree, NodeTree::Id id, int depth, QString& out)
{
    out += QString(depth * 8, QLatin1Char(' ')) + tree.node(id).text + LineBreak;
    for (const NodeTree::Id child : tree.children(id))
        appendSubtree(tree, child, depth + 1, out);
}

} // namespace

QString TreeToText(const NodeTree& tree)
{
    NodeTree::Id start = tree.find(QStringLiteral("R"));
    if (start == NodeTree::None)
        start = tree.root();
    QString text;
    if (start != NodeTree::None)
        appendSubtree(tree, start, 0, text);
    return text;
}
