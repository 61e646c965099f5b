#include "trees/gui/TreeButtons.h"

#include "browse/gui/FileListPanel.h"
#include "common/TempTree.h"
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
        ASSERT_EQ(panel->openFolder(tree.root()), 3);
    }
    QStringList groups() const
    {
        QStringList texts;
        const NodeTree& t = panel->state().fileTree;
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
}

TEST_F(TreeButtonsWindow, TreeMenuEntriesBuildTheirTreesAndWithholdThemselves)
{
    menus->treeformat.sizeTree->trigger();
    buttons->chooseTree(QString());
    EXPECT_EQ(groups(),
              QStringList({".Kb 0001 and below", ".Kb 0001 to 0100", ".Mb 0001 to 0010"}));
    EXPECT_FALSE(menus->treeformat.sizeTree->isVisible());
    EXPECT_TRUE(menus->treeformat.nameTree->isVisible());
    EXPECT_EQ(buttons->sortButton()->toolTip(), QLatin1String("Sorted by Size - Ascending"));
    EXPECT_TRUE(panel->statusLabel()->text().startsWith(QLatin1String("3")));

    menus->treeformat.ageByLastUpdated->trigger();
    buttons->chooseTree(QString());
    EXPECT_EQ(groups(), QStringList({".. today"}));
    EXPECT_EQ(buttons->treeButton()->toolTip(),
              QLatin1String("Tree display by file Last Update Age"));
    EXPECT_FALSE(menus->treeformat.dateTree->menuAction()->isVisible());

    // A folder opened later is shown in the same tree.
    tree.file("sub/one.txt", 1);
    panel->openFolder(tree.path("sub"));
    EXPECT_EQ(groups(), QStringList({".. today"}));
}

TEST_F(TreeButtonsWindow, SortChoicesSortThePlainListAndFlipTheGroupedOrder)
{
    EXPECT_FALSE(menus->sort.descending->isVisible());
    buttons->chooseSort(SortChoice::BySize);
    const NodeTree& t = panel->state().fileTree;
    EXPECT_EQ(t.node(t.children(t.root()).front()).text, QLatin1String("small.txt"));
    EXPECT_EQ(buttons->sortButton()->toolTip(), QLatin1String("Sorted by Size - Ascending"));

    buttons->chooseTree(QStringLiteral("1"));
    ASSERT_TRUE(buttons->prepareSortMenu());
    EXPECT_EQ(menus->sort.descending->text(), QLatin1String("Sort Ascending"));
    EXPECT_TRUE(menus->sort.descending->isVisible());
    EXPECT_FALSE(menus->sort.byName->isVisible());
    buttons->chooseSort(SortChoice::None); // dismissed: the flip stays
    ASSERT_TRUE(buttons->prepareSortMenu());
    EXPECT_EQ(menus->sort.descending->text(), QLatin1String("Sort Descending"));
    buttons->chooseSort(SortChoice::Direction);
    EXPECT_EQ(buttons->sortButton()->toolTip(), QLatin1String("Sorted by Extensions - Descending"));
}

TEST_F(TreeButtonsWindow, ExpandAndCollapseAll)
{
    buttons->chooseTree(QStringLiteral("1"));
    const NodeTree& t = panel->state().fileTree;
    buttons->expandAll();
    for (const auto id : t.children(t.root()))
        EXPECT_TRUE(t.node(id).expanded);
    buttons->collapseAll();
    for (const auto id : t.children(t.root()))
        EXPECT_FALSE(t.node(id).expanded);
}

} // namespace
