#include "view/report/TreeToText.h"

#include "controls/NodeTree.h"
#include "controls/TreeText.h"

QString TreeToText(const NodeTree& tree)
{
    const NodeTree::Id start = tree.find(QStringLiteral("R"));
    return TreeText(tree, start != NodeTree::None ? start : tree.root());
}
