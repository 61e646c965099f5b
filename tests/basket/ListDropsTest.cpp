#include "basket/ListDrops.h"

#include "basket/Basket.h"
#include "basket/BasketFileList.h"
#include "basket/BasketHost.h"
#include "browse/FolderListing.h"
#include "common/TempTree.h"
#include "controls/Grid.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "trees/TreeRebuild.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

struct NoCopier : DropCopier {
    QStringList calls;
    void copyBasketRows(const QString& folder, int, int) override { calls << folder; }
    void copyFiles(const QStringList& sources, const QString& folder) override
    {
        calls << sources.join(',') + " to " + folder;
    }
};

/// A folder of two files listed as the window lists it, and an empty basket.
struct ListedFolder {
    ListedFolder()
    {
        folder = t.folder("src") + "/";
        t.file("src/a.txt", 10);
        t.file("src/b.txt", 20);
        dst = t.folder("dst") + "/";
        settings.workFolder = t.folder("work") + "/";
        if (ListFolder(state, settings, folder, state.setup().listPattern) > 0)
            RefreshFileList(state, settings, GroupedTrees());
    }
    NodeTree::Id fileNamed(const QString& name) const
    {
        const NodeTree& tree = state.tree();
        for (const NodeTree::Id id : tree.children(tree.root()))
            if (tree.node(id).text == name)
                return id;
        return NodeTree::None;
    }

    TempTree t;
    QString folder, dst;
    Settings settings;
    FileList state;
    ScriptedPrompts prompts;
    BasketHost host;
    Grid grid;
    Basket basket{grid, prompts, host};
    NoCopier copier;
};

} // namespace

TEST(ListDrops, NodesOfTheListDroppedOnAFolderCopyWhatTheyHoldButNotTheListedBasket)
{
    ListedFolder f;
    ASSERT_FALSE(ListShowsBasket(f.state));
    const NodeTree::Id root = f.state.tree().root();
    f.prompts.answers = {Prompts::Answer::Yes};
    EXPECT_TRUE(
        DropListNodeOnFolder(f.state, root, f.dst, f.folder, f.settings, f.prompts, f.copier));
    EXPECT_EQ(f.prompts.shownTexts().last(),
              "copy 2 files shown in folder:\r\n" + f.folder + "\r\nto\r\n" + f.dst);
    EXPECT_EQ(f.copier.calls, QStringList{f.folder + "a.txt," + f.folder + "b.txt to " + f.dst});

    // One file goes at once and says so.
    EXPECT_TRUE(DropListNodeOnFolder(f.state, f.fileNamed("b.txt"), f.dst, f.folder, f.settings,
                                     f.prompts, f.copier));
    EXPECT_EQ(f.prompts.shownTexts().last(),
              "copied: " + f.folder + "b.txt\r\nto: " + f.dst + "b.txt");
    EXPECT_TRUE(QFile::exists(f.dst + "b.txt"));

    // The listed basket's entries are refused with their message.
    f.basket.addLoadedEntry(f.folder + "a.txt");
    ShowBasketInFileList(f.basket, f.state, "*", f.settings);
    ASSERT_TRUE(ListShowsBasket(f.state));
    const qsizetype asked = f.prompts.shown.size();
    EXPECT_FALSE(DropListNodeOnFolder(f.state, f.state.tree().root(), f.dst, "", f.settings,
                                      f.prompts, f.copier));
    ASSERT_EQ(f.prompts.shown.size(), asked + 1);
    EXPECT_EQ(f.prompts.shown.last().text,
              "In order to copy RadeZazeda, drag-drop RadeZazeda icon to Folder Tree");
    EXPECT_EQ(f.prompts.shown.last().title, "Copy");
    EXPECT_EQ(f.copier.calls.size(), 1);
}

TEST(ListDrops, NodesOfTheListDroppedOnTheBasketAddTheirFilesButNeverTheBasketItself)
{
    ListedFolder f;
    EXPECT_TRUE(DropListNodeOnBasket(f.basket, f.state, f.fileNamed("a.txt"), f.folder, f.settings,
                                     f.prompts));
    EXPECT_EQ(f.basket.entries(), 1);
    EXPECT_EQ(f.prompts.shownTexts().last(),
              "file added:\r\n" + f.folder + "a.txt\r\n1 files in the basket");
    EXPECT_TRUE(DropListNodeOnBasket(f.basket, f.state, f.state.tree().root(), f.folder, f.settings,
                                     f.prompts));
    EXPECT_EQ(f.basket.entries(), 2) << "the root adds the file not yet there";
    EXPECT_FALSE(DropListNodeOnBasket(f.basket, f.state, NodeTree::Id(9999), f.folder, f.settings,
                                      f.prompts))
        << "a node that is gone";

    ShowBasketInFileList(f.basket, f.state, "*", f.settings);
    const qsizetype said = f.prompts.shown.size();
    EXPECT_FALSE(
        DropListNodeOnBasket(f.basket, f.state, f.state.tree().root(), "", f.settings, f.prompts));
    EXPECT_EQ(f.basket.entries(), 2);
    EXPECT_EQ(f.prompts.shown.size(), said) << "the listed basket on itself says nothing";
}

TEST(ListDrops, TheFolderTreeTakesFilesAndTheBasketOnFoldersThatWereRead)
{
    DropItems own;
    own.kind = DropItems::Kind::OwnNode;
    EXPECT_TRUE(FolderTreeTakes(false, own));
    own.source = DragList::FolderTree;
    EXPECT_FALSE(FolderTreeTakes(false, own)) << "its own folders";
    EXPECT_TRUE(FolderTreeTakes(true, own)) << "the basket";
    DropItems stale;
    stale.kind = DropItems::Kind::Stale;
    EXPECT_FALSE(FolderTreeTakes(false, stale));

    NodeTree folders;
    const NodeTree::Id desk = folders.add(NodeTree::None, "desk", "Desktop");
    const NodeTree::Id data = folders.add(desk, "/data", "data");
    const NodeTree::Id unread = folders.add(desk, "/unread", "unread");
    folders.setMark(unread, NodeMark::Unloaded);
    EXPECT_EQ(FolderDropTarget(folders, data), "/data/");
    EXPECT_EQ(FolderDropTarget(folders, desk), "");
    EXPECT_EQ(FolderDropTarget(folders, unread), "");
    EXPECT_EQ(FolderDropTarget(folders, NodeTree::None), "");

    TempTree t;
    DropItems paths;
    paths.kind = DropItems::Kind::Paths;
    paths.set = DraggedSet::Folder;
    paths.paths = {t.folder("sub"), t.file("one.txt", 1)};
    const FilesDrop drop = PathsDropOnFolder(paths);
    EXPECT_EQ(drop.set, DraggedSet::Files);
    EXPECT_EQ(drop.sources, QStringList{t.path("one.txt")});
}
