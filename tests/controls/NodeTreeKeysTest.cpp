#include "controls/NodeTree.h"

#include <gtest/gtest.h>

// Keys given whole (add) and as prefix + text (addPrefixed) must be one key space.
TEST(NodeTreeKeys, PlainAndPrefixedKeysAgreeWhicheverWayTheyWereAdded)
{
    struct Split {
        const char* prefix;
        const char* text;
    };
    const Split splits[] = {{"", "ab/c"}, {"a", "b/c"}, {"ab/", "c"}, {"ab/c", ""}};
    for (const Split& first : splits) {
        for (const Split& second : splits) {
            SCOPED_TRACE(std::string(first.prefix) + "|" + first.text + " then " + second.prefix +
                         "|" + second.text);
            NodeTree tree;
            const auto root = tree.add(NodeTree::None, "R", "root");
            const auto id = tree.addPrefixed(root, first.prefix, first.text);
            ASSERT_NE(id, NodeTree::None);
            EXPECT_EQ(tree.find("ab/c"), id);
            EXPECT_EQ(tree.key(id), "ab/c");
            EXPECT_EQ(tree.node(id).text, first.text);
            EXPECT_EQ(tree.addPrefixed(root, second.prefix, second.text), NodeTree::None);
            EXPECT_EQ(tree.add(root, "ab/c", "plain"), NodeTree::None);
            // Near misses are other keys.
            EXPECT_EQ(tree.find("ab/"), NodeTree::None);
            EXPECT_EQ(tree.find("ab/cd"), NodeTree::None);
            EXPECT_NE(tree.addPrefixed(root, second.prefix, QString(second.text) + "d"),
                      NodeTree::None);
            EXPECT_EQ(tree.count(), 3);
        }
    }
    NodeTree tree;
    const auto plain = tree.add(NodeTree::None, "/srv/x", "x");
    EXPECT_EQ(tree.addPrefixed(NodeTree::None, "/srv/", "x"), NodeTree::None);
    EXPECT_EQ(tree.addPrefixed(12345, "/srv/", "y"), NodeTree::None); // no such parent
    EXPECT_EQ(tree.find("/srv/y"), NodeTree::None);
    EXPECT_EQ(tree.find("/srv/x"), plain);
}

TEST(NodeTreeKeys, KeyJoinsPrefixAndTextAndOutlivesTextChanges)
{
    NodeTree tree;
    const auto root = tree.add(NodeTree::None, "R", "root");
    QString folder = QStringLiteral("/home/u/");
    const auto a = tree.addPrefixed(root, folder, "a.txt", "3");
    // Same contents in another string: the same prefix.
    const auto b = tree.addPrefixed(root, QString(folder.data(), folder.size()), "b.txt");
    folder = QStringLiteral("/tmp/"); // the caller's string changes; stored keys do not
    const auto c = tree.addPrefixed(root, folder, "a.txt");
    EXPECT_EQ(tree.key(root), "R");
    EXPECT_EQ(tree.key(a), "/home/u/a.txt");
    EXPECT_EQ(tree.key(b), "/home/u/b.txt");
    EXPECT_EQ(tree.key(c), "/tmp/a.txt");
    EXPECT_EQ(tree.image(a), "3");
    EXPECT_EQ(tree.find("/home/u/b.txt"), b);

    tree.setText(a, "renamed");
    EXPECT_EQ(tree.key(a), "/home/u/a.txt");
    EXPECT_EQ(tree.find("/home/u/a.txt"), a);
    EXPECT_EQ(tree.key(NodeTree::None), QString());
    EXPECT_EQ(tree.key(999), QString());

    // Empty keys are never indexed, so they may repeat.
    EXPECT_NE(tree.add(root, "", "one"), NodeTree::None);
    EXPECT_NE(tree.add(root, "", "two"), NodeTree::None);
    EXPECT_NE(tree.addPrefixed(root, "", ""), NodeTree::None);
    EXPECT_EQ(tree.find(""), NodeTree::None);
}

TEST(NodeTreeKeys, RemovalLeavesOtherKeysFindableAndFreesItsOwn)
{
    NodeTree tree;
    const auto root = tree.add(NodeTree::None, "R", "root");
    std::vector<NodeTree::Id> groups;
    for (int g = 0; g < 40; ++g)
        groups.push_back(tree.addPrefixed(root, "/g/", QString::number(g)));
    // Files of all groups interleave in the table, so removals leave holes amid runs.
    for (int f = 0; f < 60; ++f)
        for (int g = 0; g < 40; ++g)
            tree.addPrefixed(groups[size_t(g)], QStringLiteral("/g/%1/").arg(g),
                             QString::number(f));
    for (int g = 0; g < 40; g += 2)
        tree.removeChildren(groups[size_t(g)]);
    EXPECT_EQ(tree.count(), 1 + 40 + 20 * 60);
    for (int g = 0; g < 40; ++g) {
        for (int f = 0; f < 60; ++f) {
            const QString key = QStringLiteral("/g/%1/%2").arg(g).arg(f);
            const auto id = tree.find(key);
            if (g % 2 == 0) {
                ASSERT_EQ(id, NodeTree::None) << key.toStdString();
            } else {
                ASSERT_NE(id, NodeTree::None) << key.toStdString();
                ASSERT_EQ(tree.key(id), key);
            }
        }
    }
    // The freed keys can be taken again, plainly or prefixed.
    EXPECT_NE(tree.add(groups[0], "/g/0/0", "0"), NodeTree::None);
    EXPECT_NE(tree.addPrefixed(groups[0], "/g/0/", "1"), NodeTree::None);
    EXPECT_EQ(tree.addPrefixed(groups[0], "/g/0/", "0"), NodeTree::None);
    EXPECT_EQ(tree.add(groups[0], "/g/0/1", "1"), NodeTree::None);

    tree.clear();
    EXPECT_EQ(tree.find("/g/1/1"), NodeTree::None);
    const auto again = tree.addPrefixed(NodeTree::None, "/g/1/", "1");
    EXPECT_EQ(tree.find("/g/1/1"), again);
    EXPECT_EQ(tree.key(again), "/g/1/1");
}

TEST(NodeTreeKeys, ManyNodesStayFindableThroughRehashesAndReserve)
{
    for (const bool reserved : {false, true}) {
        SCOPED_TRACE(reserved ? "reserved" : "grown");
        NodeTree tree;
        if (reserved)
            tree.reserve(1000); // too small: the table still grows past it
        const auto root = tree.add(NodeTree::None, "R", "root");
        const QString prefixes[] = {"/a/", "/b/", "/a/b/"};
        const int n = 30000;
        for (int i = 0; i < n; ++i) // alternating prefixes, not only the last one used
            ASSERT_NE(tree.addPrefixed(root, prefixes[i % 3], QString::number(i)), NodeTree::None);
        EXPECT_EQ(tree.count(), n + 1);
        for (int i = 0; i < n; ++i) {
            const QString key = prefixes[i % 3] + QString::number(i);
            const auto id = tree.find(key);
            ASSERT_NE(id, NodeTree::None) << key.toStdString();
            ASSERT_EQ(tree.key(id), key);
            ASSERT_EQ(tree.find(prefixes[(i + 1) % 3] + QString::number(i)), NodeTree::None);
        }
    }
}

TEST(NodeTreeKeys, MorePrefixesThanCanBeInternedStillMakeKeys)
{
    NodeTree tree;
    const auto root = tree.add(NodeTree::None, "R", "root");
    const int n = 70000; // past the 65,535 prefixes that get a number
    for (int i = 0; i < n; ++i)
        ASSERT_NE(tree.addPrefixed(root, QStringLiteral("/d%1/").arg(i), "f"), NodeTree::None);
    for (const int i : {0, 65534, 65535, 65536, n - 1}) {
        const QString key = QStringLiteral("/d%1/f").arg(i);
        const auto id = tree.find(key);
        ASSERT_NE(id, NodeTree::None) << i;
        EXPECT_EQ(tree.key(id), key);
        EXPECT_EQ(tree.node(id).text, "f");
        EXPECT_EQ(tree.addPrefixed(root, QStringLiteral("/d%1/").arg(i), "f"), NodeTree::None);
    }
}

TEST(NodeTreeKeys, UncheckedNodesAreFoundOnceALookupIndexesThem)
{
    NodeTree tree;
    const auto root = tree.add(NodeTree::None, "R", "root");
    const QString folder = QStringLiteral("/big/");
    constexpr auto unique = NodeTree::KeyCheck::KnownUnique;
    std::vector<NodeTree::Id> files;
    for (int i = 0; i < 100; ++i)
        files.push_back(tree.addPrefixed(root, folder, QString::number(i), {}, unique));
    // A checked add sees the pending keys.
    EXPECT_EQ(tree.addPrefixed(root, folder, "7"), NodeTree::None);
    const auto group = tree.addPrefixed(root, folder, ".group");
    const auto late = tree.addPrefixed(group, folder, "late", {}, unique);
    EXPECT_EQ(tree.find("/big/99"), files[99]);
    EXPECT_EQ(tree.find("/big/late"), late);
    EXPECT_EQ(tree.find("/big/.group"), group);

    // Pending nodes removed before any lookup leave no key behind.
    const auto gone = tree.addPrefixed(group, folder, "gone", {}, unique);
    tree.removeChildren(group);
    EXPECT_EQ(tree.find("/big/gone"), NodeTree::None);
    EXPECT_EQ(tree.find("/big/late"), NodeTree::None);
    EXPECT_NE(tree.addPrefixed(group, folder, "gone"), NodeTree::None);
    EXPECT_NE(gone, NodeTree::None);

    // Swapping hands the pending state over with the nodes.
    NodeTree built;
    const auto builtRoot = built.add(NodeTree::None, "R", "root");
    const auto one = built.addPrefixed(builtRoot, folder, "one", {}, unique);
    tree.swapNodes(built);
    EXPECT_EQ(tree.find("/big/one"), one);
    EXPECT_EQ(built.find("/big/0"), files[0]);
}
