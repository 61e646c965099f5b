#include "controls/gui/NodeTreeView.h"

#include <QApplication>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

/// A list as the window shows a folder: one root, its files below, opened.
class NodeTreeViewTest : public ::testing::Test {
protected:
    NodeTreeViewTest() : model(tree)
    {
        root = tree.add(NodeTree::None, QStringLiteral("R"), QStringLiteral("/data/"));
        for (const char* name : {"a.txt", "b.zip", "c.txt"})
            files.push_back(tree.add(root, QString(), QString::fromLatin1(name)));
        tree.setExpanded(root, true);
        view.setNodeModel(&model);
        view.resize(300, 400);
        view.show();
        QApplication::processEvents();
    }

    NodeTree tree;
    NodeTreeModel model;
    NodeTreeView view;
    NodeTree::Id root = NodeTree::None;
    std::vector<NodeTree::Id> files;
};

} // namespace

TEST_F(NodeTreeViewTest, LeavesSaySoAndAFileThatGainsEntriesOpensLikeAnyNode)
{
    // Leaves tell the view at once that they hold nothing; the root does not.
    EXPECT_FALSE(model.flags(model.indexOf(root)) & Qt::ItemNeverHasChildren);
    for (const NodeTree::Id file : files)
        EXPECT_TRUE(model.flags(model.indexOf(file)) & Qt::ItemNeverHasChildren);
    EXPECT_TRUE(view.visualRect(model.indexOf(files.back())).isValid());

    // An archive opened below its file: its entries show once it is expanded.
    const NodeTree::Id archive = files[1];
    const NodeTree::Id entry = tree.add(archive, QString(), QStringLiteral("inside.txt"));
    tree.setExpanded(archive, true);
    QApplication::processEvents();
    EXPECT_FALSE(model.flags(model.indexOf(archive)) & Qt::ItemNeverHasChildren);
    EXPECT_TRUE(view.isExpanded(model.indexOf(archive)));
    const QRect entryRect = view.visualRect(model.indexOf(entry));
    ASSERT_TRUE(entryRect.isValid());
    EXPECT_GT(entryRect.top(), view.visualRect(model.indexOf(archive)).top());
    EXPECT_LT(entryRect.top(), view.visualRect(model.indexOf(files[2])).top());
}

TEST(NodeTreeModelPages, AHugeListIsToldToTheViewAsItScrollsAndStaysConsistent)
{
    NodeTree tree;
    NodeTreeModel model(tree);
    constexpr int Files = 20000;
    tree.lock();
    const NodeTree::Id root =
        tree.add(NodeTree::None, QStringLiteral("R"), QStringLiteral("/big/"));
    for (int i = 0; i < Files; ++i)
        tree.add(root, QString(), QStringLiteral("f%1.txt").arg(i, 5, 10, QLatin1Char('0')));
    tree.setExpanded(root, true);
    tree.unlock();
    NodeTreeView view;
    view.setNodeModel(&model);
    view.resize(300, 400);
    view.show();
    QApplication::processEvents();

    const QModelIndex top = model.indexOf(root);
    const int firstPage = model.rowCount(top);
    EXPECT_GT(firstPage, view.height() / view.sizeHintForRow(0)) << "the first page fills the view";
    EXPECT_LT(firstPage, Files);

    // Scrolling to the end shows more, until every file is there.
    for (int i = 0; i < 20 && model.canFetchMore(top); ++i) {
        view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
        QApplication::processEvents();
    }
    EXPECT_EQ(model.rowCount(top), Files);

    // After a rebuild a file far down is shown on request, as selecting it does.
    tree.lock();
    tree.removeChildren(root);
    for (int i = 0; i < Files; ++i)
        tree.add(root, QString(), QStringLiteral("g%1.txt").arg(i, 5, 10, QLatin1Char('0')));
    tree.unlock();
    QApplication::processEvents();
    const NodeTree::Id far = tree.children(root)[5000];
    const QModelIndex farIndex = model.revealIndex(far);
    ASSERT_TRUE(farIndex.isValid());
    EXPECT_TRUE(model.shown(far));
    view.scrollTo(farIndex);
    QApplication::processEvents();
    EXPECT_TRUE(view.viewport()->rect().intersects(view.visualRect(farIndex)));
    EXPECT_EQ(farIndex.data().toString(), QStringLiteral("g05000.txt"));

    // Files added past the shown rows wait for the view to reach them; removals too.
    const int told = model.rowCount(top);
    ASSERT_LT(told, Files);
    tree.add(root, QString(), QStringLiteral("late.txt"));
    EXPECT_EQ(model.rowCount(top), told);
    tree.removeChildren(root);
    EXPECT_EQ(model.rowCount(top), 0);
    tree.add(root, QString(), QStringLiteral("one.txt"));
    EXPECT_EQ(model.rowCount(top), 1);
}
