#include "trees/gui/TreeButtons.h"

#include "browse/gui/FileListPanel.h"
#include "common/ListingWait.h"
#include "common/TempTree.h"
#include "controls/gui/NodeTreeModel.h"
#include "controls/gui/NodeTreeView.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "trees/TreeRebuild.h"
#include "trees/gui/TreeMenus.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class TreeButtonsWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings.extensionNames = 0;
        tree.file("small.txt", 10);
        tree.file("mid.txt", 5000);
        tree.file("big.bin", 2'000'000);
        panel = std::make_unique<FileListPanel>(settings, prompts, GroupedTrees());
        buttons = new TreeButtons(panel->state(), *panel->fileList(), settings, panel.get());
        panel->buttonSlot()->addWidget(buttons->sortButton());
        panel->buttonSlot()->addWidget(buttons->treeButton());
        QObject::connect(panel.get(), &FileListPanel::listed, buttons, &TreeButtons::refreshFaces);
        QObject::connect(buttons, &TreeButtons::listChanged, panel.get(),
                         &FileListPanel::showStatus);
        menus = &buttons->menus();
        ASSERT_EQ(OpenAndWait(*panel, tree.root()), 3);
    }
    QStringList groups() const
    {
        QStringList texts;
        const NodeTree& t = panel->state().tree();
        for (const auto id : t.children(t.root()))
            texts << t.node(id).text;
        return texts;
    }

    TempTree tree;
    Settings settings;
    ScriptedPrompts prompts;
    std::unique_ptr<FileListPanel> panel;
    TreeMenus* menus = nullptr;
    TreeButtons* buttons = nullptr;
};

TEST_F(TreeButtonsWindow, ButtonsSitBesideTheListWithTheirTips)
{
    EXPECT_EQ(buttons->sortButton()->objectName(), QLatin1String("SortList"));
    EXPECT_EQ(buttons->treeButton()->objectName(), QLatin1String("SwapExtTree"));
    EXPECT_GE(panel->buttonSlot()->indexOf(buttons->sortButton()), 0);
    EXPECT_EQ(buttons->sortButton()->toolTip(), QLatin1String("Not sorted"));
    EXPECT_EQ(buttons->treeButton()->toolTip(), QLatin1String("Tree display by file name"));

    // The tips and the status label follow the list's own changes, whoever makes them.
    panel->state().setShownSort({"Size", true});
    EXPECT_EQ(buttons->sortButton()->toolTip(), QLatin1String("Sorted by Size - Descending"));
    panel->state().setTreeButtonTip("Tree display by file extension");
    EXPECT_EQ(buttons->treeButton()->toolTip(), QLatin1String("Tree display by file extension"));
    panel->state().showFileCount(7);
    EXPECT_EQ(panel->statusLabel()->text(), QLatin1String("7 [ALL] files"));
}

TEST_F(TreeButtonsWindow, TreeMenuEntriesBuildTheirTreesAndWithholdThemselves)
{
    menus->treeformat.sizeTree->trigger();
    buttons->applyTreeChoice();
    EXPECT_EQ(groups(),
              QStringList({".Kb 0001 and below", ".Kb 0001 to 0100", ".Mb 0001 to 0010"}));
    EXPECT_FALSE(menus->treeformat.sizeTree->isVisible());
    EXPECT_TRUE(menus->treeformat.nameTree->isVisible());
    EXPECT_EQ(buttons->sortButton()->toolTip(), QLatin1String("Sorted by Size - Ascending"));
    EXPECT_TRUE(panel->statusLabel()->text().startsWith(QLatin1String("3")));

    menus->treeformat.ageByLastUpdated->trigger();
    buttons->applyTreeChoice();
    EXPECT_EQ(groups(), QStringList({".. today"}));
    EXPECT_EQ(buttons->treeButton()->toolTip(),
              QLatin1String("Tree display by file Last Update Age"));
    EXPECT_FALSE(menus->treeformat.dateTree->menuAction()->isVisible());

    // A folder opened later is shown in the same tree.
    tree.file("sub/one.txt", 1);
    OpenAndWait(*panel, tree.path("sub"));
    EXPECT_EQ(groups(), QStringList({".. today"}));
}

TEST_F(TreeButtonsWindow, SortChoicesSortThePlainListAndFlipTheGroupedOrder)
{
    EXPECT_FALSE(menus->sort.descending->isVisible());
    buttons->chooseSort(SortChoice::BySize);
    const NodeTree& t = panel->state().tree();
    EXPECT_EQ(t.node(t.children(t.root()).front()).text, QLatin1String("small.txt"));
    EXPECT_EQ(buttons->sortButton()->toolTip(), QLatin1String("Sorted by Size - Ascending"));

    buttons->chooseTree(TreeType::Extension);
    ASSERT_TRUE(buttons->prepareSortMenu());
    EXPECT_EQ(menus->sort.descending->text(), QLatin1String("Sort Ascending"));
    EXPECT_TRUE(menus->sort.descending->isVisible());
    EXPECT_FALSE(menus->sort.byName->isVisible());
    buttons->chooseSort(SortChoice::None); // dismissed: the flip stays
    ASSERT_TRUE(buttons->prepareSortMenu());
    EXPECT_EQ(menus->sort.descending->text(), QLatin1String("Sort Descending"));
    buttons->chooseSort(SortChoice::Direction);
    EXPECT_EQ(buttons->sortButton()->toolTip(), QLatin1String("Sorted by Extensions - Descending"));
    const NodeTree::Id firstGroup = t.children(t.root()).front();
    buttons->expandAll();
    EXPECT_TRUE(t.node(firstGroup).expanded);
    buttons->collapseAll();
    EXPECT_FALSE(t.node(firstGroup).expanded);

    // The menu ends with "Cancel", which chooses nothing.
    ASSERT_NE(menus->sort.cancel, nullptr);
    EXPECT_EQ(menus->sort.menu->actions().last(), menus->sort.cancel);
    EXPECT_EQ(menus->sort.cancel->text(), QLatin1String("Cancel"));
    ASSERT_TRUE(buttons->prepareSortMenu());
    menus->sort.cancel->trigger();
    EXPECT_EQ(buttons->sortButton()->toolTip(), QLatin1String("Sorted by Extensions - Descending"));
}

/// Every node in tree order, indented by depth, then the status caption.
QStringList shape(FileList& state)
{
    QStringList lines;
    for (const auto id : state.tree().preorder())
        lines << QString(state.tree().depth(id), u' ') + state.tree().node(id).text;
    lines << state.setup().statusCaption << state.setup().shownSort.tip();
    return lines;
}

TEST_F(TreeButtonsWindow, RebuildsOnAnotherThreadEqualThoseInPlace)
{
    // A second list of the same folder rebuilds through its panel, on another thread.
    FileListPanel other(settings, prompts, GroupedTrees());
    TreeButtons& away = *new TreeButtons(other.state(), *other.fileList(), settings, &other);
    away.setRebuilder(&other);
    ASSERT_EQ(OpenAndWait(other, tree.root()), 3);

    const auto both = [&](const auto& step) {
        step(*buttons);
        step(away);
        ASSERT_TRUE(WaitForListing(other));
        EXPECT_EQ(shape(other.state()), shape(panel->state()));
    };
    both([](TreeButtons& b) { b.chooseSort(SortChoice::BySize); });
    both([](TreeButtons& b) { b.chooseSort(SortChoice::BySize); });
    both([](TreeButtons& b) { b.chooseTree(TreeType::Size); });
    EXPECT_EQ(groups().size(), 3);
    both([](TreeButtons& b) { b.chooseTree(TreeType::Extension); });
    both([](TreeButtons& b) {
        ASSERT_TRUE(b.prepareSortMenu());
        b.chooseSort(SortChoice::Direction);
    });
    both([](TreeButtons& b) { b.chooseTree(TreeType::PlainList); });
    both([](TreeButtons& b) { b.chooseSort(SortChoice::ByExtension); });
    EXPECT_EQ(away.menus().treeformat.nameTree->isVisible(),
              menus->treeformat.nameTree->isVisible());
    // The view shows the list taken over: its root expanded with every file below it.
    const NodeTreeModel& model = *other.fileListModel();
    const QModelIndex root = model.index(0, 0);
    EXPECT_TRUE(other.fileList()->isExpanded(root));
    EXPECT_EQ(model.rowCount(root), 3);
    EXPECT_FALSE(model.hasChildren(model.index(0, 0, root)));
}

} // namespace
