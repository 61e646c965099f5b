#include "controls/NodeTree.h"

#include <gtest/gtest.h>

namespace {

struct RecordingObserver : NodeTreeObserver {
    int inserts = 0;
    int resets = 0;
    int removes = 0;
    void beginInsert(int, int) override {}
    void endInsert() override { ++inserts; }
    void beginRemove(int, int, int) override {}
    void endRemove() override { ++removes; }
    void beginReset() override {}
    void endReset() override { ++resets; }
    void nodeChanged(int) override {}
    void madeVisible(int) override {}
};

} // namespace

TEST(NodeTree, PreorderDepthSiblingsAndSorting)
{
    NodeTree tree;
    const auto root = tree.add(NodeTree::None, "R", "root");
    const auto b = tree.add(root, "b", "beta");
    const auto a = tree.add(root, "a", "Alpha");
    const auto b1 = tree.add(b, "b1", "b1");
    EXPECT_EQ(tree.preorder(), (std::vector<int>{root, b, b1, a}));
    EXPECT_EQ(tree.depth(b1), 2);
    EXPECT_EQ(tree.nextSibling(b), a);
    tree.sortChildren(root);
    EXPECT_EQ(tree.children(root), (std::vector<int>{a, b}));
    EXPECT_EQ(tree.nextSibling(a), b);
    EXPECT_EQ(tree.nextSibling(b), NodeTree::None);
}

TEST(NodeTree, RemovalFreesKeysAndMakeVisibleExpandsAncestors)
{
    NodeTree tree;
    const auto root = tree.add(NodeTree::None, "R", "root");
    const auto g = tree.add(root, "g", "group");
    const auto f = tree.add(g, "f", "file");
    tree.select(f);
    tree.makeVisible(f);
    EXPECT_TRUE(tree.node(g).expanded);
    EXPECT_TRUE(tree.node(root).expanded);
    EXPECT_TRUE(tree.hasChildren(root));
    EXPECT_TRUE(tree.hasChildren(g));
    EXPECT_FALSE(tree.hasChildren(f));
    tree.removeChildren(root);
    EXPECT_EQ(tree.count(), 1);
    EXPECT_EQ(tree.selected(), NodeTree::None);
    EXPECT_FALSE(tree.hasChildren(root)) << "the bit follows the children";
    EXPECT_FALSE(tree.hasChildren(g)) << "nor does a removed node keep it";
    EXPECT_NE(tree.add(root, "g", "group again"), NodeTree::None);
    EXPECT_TRUE(tree.hasChildren(root));
}

TEST(NodeTree, ChildListsAndImagesSurviveRemovalAndReuse)
{
    NodeTree tree;
    const auto root = tree.add(NodeTree::None, "R", "root", "1");
    const auto g = tree.add(root, "g", "g", "3");
    const auto h = tree.add(root, "h", "h", "3");
    tree.add(g, "g1", "g1", "5");
    tree.add(g, "g2", "g2");
    tree.removeChildren(g);
    // The freed child list goes to the next parent; g's own list starts afresh.
    const auto h1 = tree.add(h, "h1", "h1", "5");
    const auto g3 = tree.add(g, "g3", "g3");
    EXPECT_EQ(tree.children(h), (std::vector<int>{h1}));
    EXPECT_EQ(tree.children(g), (std::vector<int>{g3}));
    EXPECT_EQ(tree.node(g3).row, 0);
    EXPECT_TRUE(tree.children(h1).empty());
    EXPECT_EQ(tree.image(g), "3");
    EXPECT_EQ(tree.image(h1), "5");
    EXPECT_EQ(tree.image(g3), "");
    tree.setImage(g, "");
    tree.setImage(g3, "7");
    EXPECT_EQ(tree.image(g), "");
    EXPECT_EQ(tree.image(h), "3");
    EXPECT_EQ(tree.image(g3), "7");
    // A key equal to the text stays the key once the text changes.
    tree.setText(h, "renamed");
    EXPECT_EQ(tree.find("h"), h);
    EXPECT_EQ(tree.key(h), "h");
    EXPECT_EQ(tree.find("renamed"), NodeTree::None);
}

TEST(NodeTree, LockedBuildSendsOneReset)
{
    NodeTree tree;
    RecordingObserver observer;
    tree.setObserver(&observer);
    const auto root = tree.add(NodeTree::None, "R", "root");
    EXPECT_EQ(observer.inserts, 1);
    {
        NodeTreeLock lock(tree);
        for (int i = 0; i < 1000; ++i)
            tree.add(root, QString::number(i), QString::number(i));
    }
    EXPECT_EQ(observer.inserts, 1);
    EXPECT_EQ(observer.resets, 1);
    EXPECT_EQ(tree.count(), 1001);
}

TEST(NodeTree, SwappedTreesKeepTheirObserversAndFindTheirKeys)
{
    NodeTree shown;
    RecordingObserver observer;
    shown.setObserver(&observer);
    shown.add(NodeTree::None, "R", "old");
    NodeTree built;
    const auto root = built.add(NodeTree::None, "R", "new");
    built.addPrefixed(root, "/f/", "a.txt", "14");
    observer.resets = 0;

    shown.swapNodes(built);
    EXPECT_EQ(observer.resets, 1) << "the view sees one reset";
    EXPECT_EQ(shown.count(), 2);
    EXPECT_EQ(shown.node(shown.root()).text, "new");
    EXPECT_NE(shown.find("/f/a.txt"), NodeTree::None);
    EXPECT_EQ(built.count(), 1);
    EXPECT_EQ(built.node(built.root()).text, "old");
    EXPECT_EQ(built.find("/f/a.txt"), NodeTree::None);
    EXPECT_TRUE(shown.hasChildren(shown.root()));
    EXPECT_FALSE(built.hasChildren(built.root()));
    // Changes after the swap still reach the view.
    shown.add(shown.root(), "x", "x");
    EXPECT_EQ(observer.inserts, 2);
}

TEST(NodeTree, MarksStandApartFromTagsAndDieWithTheirNode)
{
    NodeTree tree;
    const auto root = tree.add(NodeTree::None, "R", "root");
    const auto named = tree.add(root, "X", "X"); // a file called X is no marked node
    const auto tagged = tree.add(root, "t", "t");
    tree.setTag(tagged, "X");
    const auto marked = tree.add(root, "m", "m");
    tree.setMark(marked, NodeMark::Marked);
    tree.setTag(marked, "data");
    EXPECT_EQ(tree.mark(named), NodeMark::None);
    EXPECT_EQ(tree.mark(tagged), NodeMark::None);
    EXPECT_EQ(tree.mark(marked), NodeMark::Marked);
    EXPECT_EQ(tree.tag(marked), "data");
    tree.setMark(marked, NodeMark::None);
    EXPECT_EQ(tree.mark(marked), NodeMark::None);
    EXPECT_EQ(tree.tag(marked), "data") << "unmarking keeps the tag's data";

    // A removed node's mark does not pass to the node that reuses its id.
    tree.setMark(marked, NodeMark::Unloaded);
    tree.removeChildren(root);
    const auto fresh = tree.add(root, "f", "f");
    EXPECT_EQ(tree.mark(fresh), NodeMark::None);
    EXPECT_EQ(tree.mark(NodeTree::None), NodeMark::None);
}
