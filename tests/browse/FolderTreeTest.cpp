#include "browse/FolderTree.h"

#include "common/TempTree.h"
#include "platform/FileSystem.h"

#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QStringList childTexts(const NodeTree& tree, NodeTree::Id id)
{
    QStringList texts;
    for (NodeTree::Id c : tree.children(id))
        texts << tree.node(c).text;
    return texts;
}

class FolderTreeFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        fixture.folder("vol/zeta/inner/deep");
        fixture.folder("vol/alpha");
        fixture.folder("vol/Mid/one");
        fixture.file("vol/file.txt", 5);
        fixture.folder("stick/sub");
        fixture.folder("desktop/Projects/src");
        fixture.folder("docs/a/b/c");
        fixture.folder("docs/x");

        sources.hostName = QString();
        sources.volumes = {
            {fixture.path("vol"), "/dev/sda1", "ext4", platform::VolumeKind::Fixed},
            {fixture.path("stick"), "/dev/sdb1", "vfat", platform::VolumeKind::Removable},
            {fixture.path("nowhere"), "srv:/x", "nfs", platform::VolumeKind::Remote, "srv", "/x"}};
        sources.label = [this](const QString& path) {
            return path == fixture.path("vol") ? QStringLiteral("DATA") : QString();
        };
        sources.desktopFolder = fixture.path("desktop");
        sources.specialFolders = {fixture.path("docs")};
        BuildFolderTree(tree, sources);
    }

    NodeTree::Id id(const QString& relative) const { return tree.find(fixture.path(relative)); }

    TempTree fixture;
    FolderTreeSources sources;
    NodeTree tree;
    FolderTreeState state;
};

} // namespace

TEST_F(FolderTreeFixture, InitialTreeHasDesktopComputerVolumesAndSpecialFolders)
{
    const NodeTree::Id desk = tree.find("desk");
    ASSERT_NE(desk, NodeTree::None);
    EXPECT_EQ(tree.node(desk).text, QStringLiteral("Desktop"));
    const NodeTree::Id root = tree.find("root");
    EXPECT_EQ(tree.node(root).text, QStringLiteral("My Computer"));
    EXPECT_EQ(tree.node(root).parent, desk);
    EXPECT_TRUE(tree.node(root).expanded);

    // The network share sits under "Network", not beside the disks.
    EXPECT_EQ(childTexts(tree, root), (QStringList{"DATA (" + fixture.path("vol") + ")",
                                                   "Floppy (" + fixture.path("stick") + ")"}));
    EXPECT_EQ(childTexts(tree, desk).mid(0, 2), (QStringList{"My Computer", "Network"}));
    EXPECT_EQ(childTexts(tree, tree.find(NetworkKey)), QStringList{"srv: /x"});
    EXPECT_EQ(tree.image(id("vol")), QStringLiteral("hard"));
    EXPECT_EQ(tree.image(id("stick")), QStringLiteral("floppy"));
    // One look-ahead child on a readable volume; a removable volume is not read.
    EXPECT_EQ(tree.children(id("vol")).size(), 1u);
    EXPECT_TRUE(tree.children(id("stick")).empty());

    EXPECT_NE(id("desktop/Projects/"), NodeTree::None);
    EXPECT_EQ(tree.node(id("desktop/Projects/")).parent, desk);

    const NodeTree::Id special = tree.find(fixture.path("docs") + "/");
    ASSERT_NE(special, NodeTree::None);
    EXPECT_EQ(tree.node(special).text, QStringLiteral("docs"));
    EXPECT_EQ(tree.mark(special), NodeMark::Unloaded);
    EXPECT_EQ(tree.key(tree.node(special).parent), QStringLiteral("SpecialFolders"));
    // Two levels below each special folder, all tagged.
    ASSERT_NE(id("docs/a/b/"), NodeTree::None);
    EXPECT_EQ(tree.mark(id("docs/a/b/")), NodeMark::Unloaded);
    EXPECT_EQ(id("docs/a/b/c/"), NodeTree::None);
}

TEST_F(FolderTreeFixture, ExpandLoadsOnceSortedWithLookAhead)
{
    const NodeTree::Id vol = id("vol");
    ASSERT_TRUE(ExpandFolderNode(tree, state, vol));
    EXPECT_EQ(childTexts(tree, vol), (QStringList{"alpha", "Mid", "zeta"}));
    // Expand marks only where subfolders exist.
    EXPECT_TRUE(tree.children(id("vol/alpha")).empty());
    EXPECT_EQ(childTexts(tree, id("vol/zeta")), QStringList{"inner"});
    EXPECT_TRUE(tree.children(id("vol/zeta/inner")).empty());
    EXPECT_EQ(state.ExpandedKeys, QStringList{fixture.path("vol")});

    // A second expand, and a click that reloads, add nothing.
    EXPECT_FALSE(ExpandFolderNode(tree, state, vol));
    EXPECT_TRUE(OpenFolderNode(tree, state, vol).has_value());
    EXPECT_EQ(childTexts(tree, vol), (QStringList{"alpha", "Mid", "zeta"}));
    EXPECT_EQ(LoadSubfolders(tree, fixture.path("vol")), 0);
    EXPECT_EQ(state.ExpandedKeys.size(), 1);

    // A folder without children is not expanded (nothing to show).
    EXPECT_FALSE(ExpandFolderNode(tree, state, id("vol/alpha")));
    EXPECT_FALSE(ExpandFolderNode(tree, state, tree.find("root")));
    EXPECT_EQ(LoadSubfolders(tree, QString()), 0);
}

TEST_F(FolderTreeFixture, OpeningFoldersSetsTheCurrentFolder)
{
    EXPECT_FALSE(OpenFolderNode(tree, state, tree.find("desk")).has_value());
    EXPECT_FALSE(OpenFolderNode(tree, state, tree.find("SpecialFolders")).has_value());
    EXPECT_EQ(state.CurrentFolderNode, NodeTree::None);
    EXPECT_EQ(CurrentFolderPath(state, "RadeZazeda"), QString());
    EXPECT_EQ(CurrentFolderPath(state, "/srv/list"), QStringLiteral("/srv/list/"));

    // Clicking a volume loads its folders, so that its subfolders can be clicked.
    EXPECT_EQ(OpenFolderNode(tree, state, id("vol")), fixture.path("vol/"));
    const auto path = OpenFolderNode(tree, state, id("vol/zeta"));
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(*path, fixture.path("vol/zeta/"));
    EXPECT_EQ(state.CurrentFolderNode, id("vol/zeta"));
    EXPECT_EQ(CurrentFolderPath(state, "RadeZazeda"), fixture.path("vol/zeta/"));
    EXPECT_EQ(childTexts(tree, id("vol/zeta")), QStringList{"inner"});
    EXPECT_EQ(childTexts(tree, id("vol/zeta/inner")), QStringList{"deep"});

    // A removable volume lists its files but its folders are not read.
    const auto stick = OpenFolderNode(tree, state, id("stick"));
    ASSERT_TRUE(stick.has_value());
    EXPECT_TRUE(tree.children(id("stick")).empty());
}

TEST(FolderTree, FoldersShownTwiceStayBrowsableUnderTheirVolume)
{
    // The home folder is a special folder and lies on a volume; its subfolders must
    // still show (and expand) under the volume.
    TempTree fixture;
    fixture.folder("vol/home/Desktop/demo/deep");
    fixture.folder("vol/home/music/old");
    FolderTreeSources sources;
    sources.volumes = {{fixture.path("vol"), "/dev/sda1", "ext4", platform::VolumeKind::Fixed}};
    sources.desktopFolder = fixture.path("vol/home/Desktop");
    sources.specialFolders = {fixture.path("vol/home")};
    NodeTree tree;
    FolderTreeState state;
    BuildFolderTree(tree, sources);

    ASSERT_TRUE(OpenFolderNode(tree, state, tree.find(fixture.path("vol"))).has_value());
    const NodeTree::Id home = tree.find(fixture.path("vol/home"));
    ASSERT_NE(home, NodeTree::None);
    EXPECT_FALSE(tree.children(home).empty()) << "home keeps its expand mark";
    ASSERT_TRUE(ExpandFolderNode(tree, state, home));
    EXPECT_EQ(childTexts(tree, home), (QStringList{"Desktop", "music"}));
    const NodeTree::Id desktop = tree.find(fixture.path("vol/home/Desktop"));
    ASSERT_TRUE(ExpandFolderNode(tree, state, desktop));
    EXPECT_EQ(childTexts(tree, desktop), QStringList{"demo"});

    // The same folders under the special branch open on the same paths, and what they
    // load stays in that branch.
    const NodeTree::Id special = tree.find(fixture.path("vol/home/music/"));
    ASSERT_NE(special, NodeTree::None);
    EXPECT_EQ(OpenFolderNode(tree, state, special), fixture.path("vol/home/music/"));
    const NodeTree::Id demo = tree.find(fixture.path("vol/home/Desktop/demo/"));
    ASSERT_NE(demo, NodeTree::None);
    EXPECT_EQ(tree.node(demo).parent, tree.find("desk"));
    ASSERT_TRUE(OpenFolderNode(tree, state, demo).has_value());
    EXPECT_EQ(tree.node(tree.find(fixture.path("vol/home/Desktop/demo/deep/"))).parent, demo);
}

TEST(FolderTree, ManySubfoldersAreLoadedInOneLockedRebuild)
{
    TempTree fixture;
    for (int i = 0; i < 300; ++i)
        fixture.folder(QStringLiteral("big/d%1").arg(i, 3, 10, QLatin1Char('0')));
    fixture.folder("big/d007/x");

    struct CountingObserver : NodeTreeObserver {
        int inserts = 0, resets = 0;
        void beginInsert(int, int) override { ++inserts; }
        void endInsert() override {}
        void beginRemove(int, int, int) override {}
        void endRemove() override {}
        void beginReset() override { ++resets; }
        void endReset() override {}
        void nodeChanged(int) override {}
        void madeVisible(int) override {}
    } observer;

    NodeTree tree;
    FolderTreeSources sources;
    sources.volumes = {{fixture.path("big"), "/dev/x", "ext4", platform::VolumeKind::Fixed}};
    BuildFolderTree(tree, sources);
    tree.setObserver(&observer);
    FolderTreeState state;
    ASSERT_TRUE(ExpandFolderNode(tree, state, tree.find(fixture.path("big"))));
    EXPECT_EQ(tree.children(tree.find(fixture.path("big"))).size(), 300u);
    EXPECT_EQ(observer.inserts, 0);
    EXPECT_EQ(observer.resets, 1);
    EXPECT_EQ(tree.children(tree.find(fixture.path("big/d007"))).size(), 1u);
}

// Reading a folder's entries updates its access time (relatime: when it is older than
// the last change). The expand mark of a folder of files only must not read them.
TEST(FolderTree, ExpandMarkOfAFolderOfFilesDoesNotReadItsEntries)
{
    TempTree fixture;
    fixture.folder("vol/files");
    for (int i = 0; i < 50; ++i)
        fixture.file(QStringLiteral("vol/files/f%1.txt").arg(i), 1);
    fixture.folder("vol/probe");
    fixture.file("vol/probe/p.txt", 1);
    const QDateTime past = QDateTime::currentDateTime().addSecs(-3600);
    const auto setAccessed = [&](const QString& relative) {
        const timespec times[2] = {{time_t(past.toSecsSinceEpoch()), 0}, {0, UTIME_OMIT}};
        return ::utimensat(AT_FDCWD, QFile::encodeName(fixture.path(relative)).constData(), times,
                           0) == 0;
    };
    const auto accessed = [&](const QString& relative) {
        return QFileInfo(fixture.path(relative)).fileTime(QFileDevice::FileAccessTime);
    };
    ASSERT_TRUE(setAccessed("vol/files"));
    ASSERT_TRUE(setAccessed("vol/probe"));
    // Where reading a folder leaves its access time alone, nothing can be seen here.
    (void)platform::listSubfolders(fixture.path("vol/probe"));
    if (accessed("vol/probe").secsTo(past) == 0)
        GTEST_SKIP() << "this file system does not record reads";

    FolderTreeSources sources;
    sources.volumes = {{fixture.path("vol"), "/dev/sda1", "ext4", platform::VolumeKind::Fixed}};
    NodeTree tree;
    BuildFolderTree(tree, sources);
    FolderTreeState state;
    ExpandFolderNode(tree, state, tree.find(fixture.path("vol")));
    EXPECT_NE(tree.find(fixture.path("vol/files")), NodeTree::None);
    EXPECT_TRUE(tree.children(tree.find(fixture.path("vol/files"))).empty());
    EXPECT_EQ(accessed("vol/files").secsTo(past), 0);
}

TEST(FolderTree, NetworkSharesAreReadOnlyOffTheWindowThread)
{
    TempTree fixture;
    fixture.folder("share/b");
    fixture.folder("share/a/inner");
    fixture.folder("share/C");
    fixture.folder("disk/sub");
    FolderTreeSources sources;
    sources.volumes = {{fixture.path("disk"), "/dev/sda1", "ext4", platform::VolumeKind::Fixed},
                       {fixture.path("share"), "ann@host:/srv", "fuse.sshfs",
                        platform::VolumeKind::Remote, "host", "/srv"}};
    QStringList labelled;
    sources.label = [&](const QString& path) {
        labelled << path;
        return QString();
    };
    NodeTree tree;
    FolderTreeState state;
    BuildFolderTree(tree, sources);

    // Building asks nothing of the share: no label, no look-ahead, though it has folders.
    EXPECT_EQ(labelled, QStringList{fixture.path("disk")});
    const NodeTree::Id network = tree.find(NetworkKey);
    const NodeTree::Id share = tree.find(fixture.path("share"));
    ASSERT_NE(share, NodeTree::None);
    EXPECT_EQ(tree.node(share).parent, network);
    EXPECT_TRUE(tree.node(network).expanded);
    EXPECT_EQ(tree.image(share), QStringLiteral("net"));
    EXPECT_EQ(tree.toolTip(share), fixture.path("share"));
    EXPECT_EQ(childTexts(tree, share), QStringList{"Loading ..."});
    EXPECT_TRUE(OnNetworkShare(tree, share));
    EXPECT_FALSE(OnNetworkShare(tree, network));
    EXPECT_FALSE(OnNetworkShare(tree, tree.find(fixture.path("disk"))));

    // Neither a click nor an expand reads it on this thread; the click still lists it.
    EXPECT_FALSE(ExpandFolderNode(tree, state, share));
    EXPECT_EQ(OpenFolderNode(tree, state, share), fixture.path("share/"));
    EXPECT_EQ(childTexts(tree, share), QStringList{"Loading ..."});
    // "Network" and the stand-in are no folders.
    EXPECT_FALSE(OpenFolderNode(tree, state, network).has_value());
    EXPECT_FALSE(OpenFolderNode(tree, state, tree.children(share).front()).has_value());
    EXPECT_FALSE(ExpandFolderNode(tree, state, network));

    // The read, handed back, replaces the stand-in with the sorted folders.
    EXPECT_EQ(AddReadSubfolders(tree, state, ReadSubfolders(fixture.path("share"))), 3);
    EXPECT_EQ(childTexts(tree, share), (QStringList{"a", "b", "C"}));
    EXPECT_EQ(childTexts(tree, tree.find(fixture.path("share/a"))), QStringList{"inner"});
    EXPECT_TRUE(state.wasExpanded(fixture.path("share")));
    const NodeTree::Id a = tree.find(fixture.path("share/a"));
    EXPECT_TRUE(OnNetworkShare(tree, a));
    EXPECT_FALSE(ExpandFolderNode(tree, state, a));

    // Read again, it adds nothing; a read for a node that is not there does nothing.
    EXPECT_EQ(AddReadSubfolders(tree, state, ReadSubfolders(fixture.path("share"))), 0);
    EXPECT_EQ(childTexts(tree, share), (QStringList{"a", "b", "C"}));
    EXPECT_EQ(AddReadSubfolders(tree, state, ReadSubfolders(fixture.path("share/gone"))), 0);
    EXPECT_EQ(AddReadSubfolders(tree, state, SubfolderRead{}), 0);
}
