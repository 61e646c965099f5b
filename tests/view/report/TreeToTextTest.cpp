#include "view/report/TreeToText.h"

#include "controls/NodeTree.h"

#include <gtest/gtest.h>

namespace {

TEST(TreeToText, IndentsEightSpacesPerLevelFromTheNodeR)
{
    NodeTree tree;
    EXPECT_EQ(TreeToText(tree), QString());

    const NodeTree::Id other = tree.add(NodeTree::None, QStringLiteral("A"), QStringLiteral("a"));
    tree.add(other, QStringLiteral("A1"), QStringLiteral("not shown"));
    EXPECT_EQ(TreeToText(tree), QStringLiteral("a\r\n        not shown\r\n"));

    const NodeTree::Id r = tree.add(NodeTree::None, QStringLiteral("R"), QStringLiteral("PC"));
    const NodeTree::Id drives = tree.add(r, QStringLiteral("R1"), QStringLiteral("Drives"));
    tree.add(drives, QStringLiteral("R11"), QStringLiteral("Disk /"));
    tree.add(r, QStringLiteral("R2"), QStringLiteral("Memory"));
    EXPECT_EQ(TreeToText(tree), QStringLiteral("PC\r\n        Drives\r\n                Disk /\r\n"
                                               "        Memory\r\n"));
}

} // namespace
