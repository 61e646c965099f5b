#include "browse/FileDrag.h"

#include "browse/FileList.h"
#include "browse/FolderTree.h"
#include "browse/NodePaths.h"
#include "platform/FileNames.h"
#include "shared/Settings.h"

#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr qint64 Here = 4242;

DragOrigin Origin(quint64 list, quint64 generation, DraggedSet set = DraggedSet::Files)
{
    return {Here, list, generation, DragList::FileList, 17, set, "/listed/"};
}

} // namespace

TEST(FileDrag, UriListsOfOtherProgramsGiveTheirLocalFilesByteForByte)
{
    // As a GTK or Qt program writes it: comments, CR LF, escapes, another host's file,
    // a web address, and a name that is not UTF-8.
    const QString odd = platform::decodeFileName("/tmp/bad\xff name #1?.txt");
    QByteArray list = "# dragged from another program\r\n";
    list += QUrl::fromLocalFile("/home/me/Report 100%.pdf").toEncoded() + "\r\n";
    list += "file:///tmp/bad%FF%20name%20%231%3F.txt\r\n";
    list += "file://otherhost/etc/passwd\r\n";
    list += "https://example.org/a.txt\r\n";
    list += "file://localhost/srv/%C3%A9t%C3%A9.txt\n\n";
    auto data = std::make_unique<QMimeData>();
    data->setData(UriListFormat, list);

    const DropItems items = ReadDrop(data.get(), Here, {{DragList::FileList, 1, 0}});
    EXPECT_EQ(items.kind, DropItems::Kind::Paths);
    EXPECT_EQ(items.set, DraggedSet::Files);
    EXPECT_EQ(items.paths,
              (QStringList{"/home/me/Report 100%.pdf", odd, QString::fromUtf8("/srv/été.txt")}));
    EXPECT_EQ(platform::encodeFileName(items.paths[1]), "/tmp/bad\xff name #1?.txt");

    auto empty = std::make_unique<QMimeData>();
    empty->setData(UriListFormat, "https://example.org/\r\n");
    EXPECT_EQ(ReadDrop(empty.get(), Here, {}).kind, DropItems::Kind::Nothing);
    // While a drag only moves, its list is not read: that waits for the drop.
    EXPECT_EQ(PeekDrop(empty.get(), Here, {}).kind, DropItems::Kind::Paths);
    EXPECT_TRUE(PeekDrop(data.get(), Here, {}).paths.isEmpty());
    EXPECT_EQ(ReadDrop(nullptr, Here, {}).kind, DropItems::Kind::Nothing);
}

TEST(FileDrag, OurDragsKeepEveryByteForOtherPrograms)
{
    const QStringList paths{platform::decodeFileName("/d/\xfe\xff.bin"), "/d/a b%.txt",
                            QString::fromUtf8("/d/日本.txt")};
    std::unique_ptr<QMimeData> data(MakeFileDrag(paths, Origin(3, 9)));
    ASSERT_TRUE(data->hasUrls());
    const QList<QUrl> urls = data->urls(); // what a Qt program gets
    ASSERT_EQ(urls.size(), 3);
    EXPECT_EQ(urls[0].toEncoded(), "file:///d/%FE%FF.bin");
    EXPECT_EQ(urls[1].toLocalFile(), "/d/a b%.txt");
    EXPECT_EQ(urls[2].toLocalFile(), QString::fromUtf8("/d/日本.txt"));
    EXPECT_EQ(PathsOfUriList(data->data(UriListFormat)), paths);
    EXPECT_TRUE(data->data(UriListFormat).endsWith("\r\n"));
}

TEST(FileDrag, ANodeIsTakenByIdOnlyFromThisListAsItWasElseByPathOrRefused)
{
    std::unique_ptr<QMimeData> data(MakeFileDrag({"/listed/a.txt"}, Origin(3, 9)));
    const std::vector<OwnList> lists{{DragList::FolderTree, 3, 9}, {DragList::FileList, 3, 9}};

    DropItems same = ReadDrop(data.get(), Here, lists);
    EXPECT_EQ(same.kind, DropItems::Kind::OwnNode);
    EXPECT_EQ(same.source, DragList::FileList);
    EXPECT_EQ(same.node, 17);

    // The list was rebuilt since the drag began: node 17 may be another file now.
    EXPECT_EQ(ReadDrop(data.get(), Here, {{DragList::FileList, 3, 10}}).kind,
              DropItems::Kind::Stale);
    EXPECT_EQ(PeekDrop(data.get(), Here, {{DragList::FileList, 3, 10}}).kind,
              DropItems::Kind::Stale);

    // Another Lumara (another process), or another window's list: by path.
    for (const DropItems& other : {ReadDrop(data.get(), Here + 1, lists),
                                   ReadDrop(data.get(), Here, {{DragList::FileList, 4, 9}})}) {
        EXPECT_EQ(other.kind, DropItems::Kind::Paths);
        EXPECT_EQ(other.paths, QStringList{"/listed/a.txt"});
        EXPECT_EQ(other.node, NodeTree::None);
    }

    // The whole list keeps its set and listed folder when taken by path.
    std::unique_ptr<QMimeData> whole(
        MakeFileDrag({"/listed/a.txt", "/listed/b.txt"}, Origin(3, 9, DraggedSet::WholeList)));
    const DropItems byPath = ReadDrop(whole.get(), Here + 1, lists);
    EXPECT_EQ(byPath.set, DraggedSet::WholeList);
    EXPECT_EQ(byPath.listedFolder, "/listed/");
    EXPECT_EQ(byPath.paths.size(), 2);

    // A node of an archive carries no path: from another Lumara it brings nothing.
    std::unique_ptr<QMimeData> entry(MakeFileDrag({}, Origin(3, 9)));
    EXPECT_EQ(ReadDrop(entry.get(), Here + 1, lists).kind, DropItems::Kind::Nothing);
    EXPECT_TRUE(MayCarryFiles(entry.get()));
}

TEST(FileDrag, ADamagedOriginIsReadAsNone)
{
    auto data = std::make_unique<QMimeData>();
    data->setData(UriListFormat, "file:///x/y.txt\r\n");
    for (const QByteArray& bad : {QByteArray("4242 3 9 0 17\n"), QByteArray("4242 3 9 7 17 0\n"),
                                  QByteArray("4242 3 9 0 17 9\n"), QByteArray("4242 3 9 0 x 0\n"),
                                  QByteArray("4242 3 9 0 17 0")}) {
        data->setData(DragOriginFormat, bad);
        EXPECT_FALSE(DragOriginOf(data.get())) << bad.constData();
        const DropItems items = ReadDrop(data.get(), Here, {{DragList::FileList, 3, 9}});
        EXPECT_EQ(items.kind, DropItems::Kind::Paths) << "the uri-list still counts";
    }
    const QString folder = platform::decodeFileName("/raw\xff/");
    data->setData(DragOriginFormat, "4242 3 9 1 5 3\n" + platform::fileUrl(folder).toEncoded());
    const std::optional<DragOrigin> origin = DragOriginOf(data.get());
    ASSERT_TRUE(origin);
    EXPECT_EQ(origin->source, DragList::FolderTree);
    EXPECT_EQ(origin->set, DraggedSet::Folder);
    EXPECT_EQ(platform::encodeFileName(origin->listedFolder), "/raw\xff/");
}

TEST(FileDrag, ADraggedNodeHandsOutTheFilesItStandsFor)
{
    Settings settings;
    FileList state;
    FileList::Edit treeEdit(state);
    NodeTree& tree = treeEdit.tree();
    const NodeTree::Id root = AddFileListRoot(tree, "/list/");
    const NodeTree::Id a = tree.add(root, "/list/a.txt", "a.txt");
    tree.add(root, "/list/b.txt", "b.txt");
    const NodeTree::Id line = tree.add(root, "l1", "x|pack.zip|in.txt");
    const NodeTree::Id archive = tree.add(root, "/list/pack.zip", "pack.zip");
    const NodeTree::Id entry = tree.add(archive, "e1", "in.txt");

    const DraggedPaths whole = DraggedPathsOf(state, root, "/list/", settings);
    EXPECT_EQ(whole.set, DraggedSet::WholeList);
    EXPECT_EQ(whole.paths, (QStringList{"/list/a.txt", "/list/b.txt", "/list/pack.zip"}))
        << "an archive's line is no file of the folder";
    EXPECT_EQ(DraggedPathsOf(state, a, "/list/", settings).paths, QStringList{"/list/a.txt"});
    EXPECT_TRUE(DraggedPathsOf(state, entry, "/list/", settings).paths.isEmpty());
    EXPECT_TRUE(DraggedPathsOf(state, line, "/list/", settings).paths.isEmpty());
    EXPECT_TRUE(DraggedPathsOf(state, 999, "/list/", settings).paths.isEmpty());

    // A grouped tree: the root gives every group's files, a group its own.
    FileList grouped;
    grouped.setTreeType(TreeType::Extension);
    FileList::Edit gEdit(grouped);
    NodeTree& g = gEdit.tree();
    const NodeTree::Id groot = AddFileListRoot(g, "/list/");
    const NodeTree::Id txt = g.add(groot, "G1", ".TXT");
    g.add(txt, "/list/a.txt", "a.txt");
    const NodeTree::Id doc = g.add(groot, "G2", ".DOC");
    g.add(doc, "/list/c.doc", "c.doc");
    EXPECT_EQ(DraggedPathsOf(grouped, groot, "/list/", settings).paths,
              (QStringList{"/list/a.txt", "/list/c.doc"}));
    const DraggedPaths group = DraggedPathsOf(grouped, doc, "/list/", settings);
    EXPECT_EQ(group.set, DraggedSet::Group);
    EXPECT_EQ(group.paths, QStringList{"/list/c.doc"});

    // The "no files" placeholder hands out nothing.
    FileList::Edit(grouped).setup().showsPlaceholder = true;
    EXPECT_TRUE(ListedFilesUnder(grouped, groot, "/list/").isEmpty());
}

TEST(FolderTree, SystemKeysAreNoFoldersToDropOn)
{
    for (const char* key : {"root", "rootC", "desk", "desktop1", "SpecialFolders",
                            "SpecialFolders3", "", "relative/path"})
        EXPECT_TRUE(IsSystemFolderKey(key)) << key;
    for (const char* key : {"/", "/home/me", "/media/usb"})
        EXPECT_FALSE(IsSystemFolderKey(key)) << key;
}
