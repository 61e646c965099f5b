#include "TreeFixture.h"
#include "common/TempTree.h"
#include "trees/BandTrees.h"
#include "trees/ExtensionTree.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

class GroupedTrees : public ::testing::Test, public TreeFixture {
protected:
    void SetUp() override
    {
        settings.extensionNames = 0;
        header(QStringLiteral("/data/"));
    }
    const NodeTree::Node& nodeByKey(const QString& key)
    {
        const auto id = state.tree().find(key);
        EXPECT_NE(id, NodeTree::None) << key.toStdString();
        static const NodeTree::Node missing;
        return id == NodeTree::None ? missing : state.tree().node(id);
    }
};

TEST_F(GroupedTrees, SizeTreeGroupsByBandAndOrdersByLengthThenName)
{
    add("c.bin", 2000);
    add("a.txt", 100);
    add("big.iso", 5 * 1'048'576);
    add("b.txt", 2000);
    showPlain();

    EXPECT_EQ(BuildSizeTree(state, context()), 4);
    EXPECT_EQ(outline(),
              QStringList({"/data", "  .Kb 0001 and below", "    a.txt", "  .Kb 0001 to 0100",
                           "    b.txt", "    c.bin", "  .Mb 0001 to 0010", "    big.iso"}));
    EXPECT_EQ(state.tree().image(state.tree().find("/data/.Kb 0001 to 0100")), QLatin1String("24"));
    EXPECT_EQ(nodeByKey("/data/b.txt").text, QLatin1String("b.txt"));
    EXPECT_EQ(state.setup().treeFolderPath, QLatin1String("/data/"));
    EXPECT_EQ(state.setup().shownSort.tip(), QLatin1String("Sorted by Size - Ascending"));

    state.setTreeDirection(SortDirection::Descending);
    BuildSizeTree(state, context());
    EXPECT_EQ(outline(),
              QStringList({"/data", "  .Mb 0001 to 0010", "    big.iso", "  .Kb 0001 to 0100",
                           "    c.bin", "    b.txt", "  .Kb 0001 and below", "    a.txt"}));
    EXPECT_EQ(state.setup().shownSort.tip(), QLatin1String("Sorted by Size - Descending"));
    // The grouped trees read the listing but leave it as it was.
    EXPECT_EQ(state.listedNames().list(1), QLatin1String("c.bin"));
}

TEST_F(GroupedTrees, DateTreeFollowsTheDateBasis)
{
    add("new.txt", 1, {2005, 1, 5}, {2003, 2, 1});
    add("old.txt", 1, {2004, 12, 31}, {2004, 1, 9});
    add("same.txt", 1, {2005, 1, 5}, {2003, 2, 1});
    showPlain();

    state.setDateBasis(DateBasis::Modified);
    EXPECT_EQ(BuildDateTree(state, context()), 3);
    EXPECT_EQ(outline(), QStringList({"/data", "  .31 Dec 2004", "    old.txt", "  .05 Jan 2005",
                                      "    new.txt", "    same.txt"}));
    EXPECT_EQ(state.tree().image(state.tree().find("/data/.05 Jan 2005")), QLatin1String("22"));
    EXPECT_EQ(state.setup().shownSort.tip(), QLatin1String("Sorted by Date - Ascending"));

    state.setDateBasis(DateBasis::Created);
    state.setTreeDirection(SortDirection::Descending);
    BuildDateTree(state, context());
    EXPECT_EQ(outline(), QStringList({"/data", "  .09 Jan 2004", "    old.txt", "  .01 Feb 2003",
                                      "    same.txt", "    new.txt"}));
    EXPECT_EQ(state.setup().shownSort.tip(), QLatin1String("Sorted by Date - Descending"));
}

TEST_F(GroupedTrees, AgeTreeWalksOldestFirstUnlessAscending)
{
    add("today.txt", 1, {2005, 3, 10});
    add("yesterday.txt", 1, {2005, 3, 9});
    add("ancient.txt", 1, {2003, 12, 31});
    add("future.txt", 1, {2005, 3, 12});
    add("lastmonth.txt", 1, {2005, 2, 27});
    showPlain();
    state.setDateBasis(DateBasis::Modified);

    EXPECT_EQ(BuildAgeTree(state, context()), 5);
    EXPECT_EQ(outline(),
              QStringList({"/data", "  ..02 years old", "    ancient.txt", "  ..01 month old",
                           "    lastmonth.txt", "  ..01 day old", "    yesterday.txt", "  .. today",
                           "    today.txt", "  ..-02 days old", "    future.txt"}));
    EXPECT_EQ(state.setup().shownSort.tip(), QLatin1String("Sorted by Date - Descending"));

    state.setTreeDirection(SortDirection::Ascending);
    BuildAgeTree(state, context());
    EXPECT_EQ(outline().mid(0, 3), QStringList({"/data", "  ..-02 days old", "    future.txt"}));
    EXPECT_EQ(state.setup().shownSort.tip(), QLatin1String("Sorted by Date - Ascending"));
    EXPECT_NE(state.tree().find("/data/.. today"), NodeTree::None);
}

TEST_F(GroupedTrees, ExtensionTreeByExtension)
{
    add("readme", 1);
    add("b.TXT", 1);
    add("a.txt", 1);
    add("Makefile", 1);
    add("x.cpp", 1);
    showPlain();

    EXPECT_EQ(BuildExtensionTree(state, context()), 5);
    EXPECT_EQ(outline(), QStringList({"/data", "  .   ", "    Makefile", "    readme", "  .CPP",
                                      "    x.cpp", "  .TXT", "    a.txt", "    b.TXT"}));
    EXPECT_EQ(state.setup().shownSort.tip(), QLatin1String("Sorted by Extensions - Ascending"));
    EXPECT_NE(state.tree().find("/data/.TXT"), NodeTree::None);

    state.setTreeDirection(SortDirection::Descending);
    BuildExtensionTree(state, context());
    EXPECT_EQ(outline(), QStringList({"/data", "  .TXT", "    b.TXT", "    a.txt", "  .CPP",
                                      "    x.cpp", "  .   ", "    readme", "    Makefile"}));
    EXPECT_EQ(state.setup().shownSort.tip(), QLatin1String("Sorted by Extensions - Descending"));
}

TEST_F(GroupedTrees, ExtensionTreeByTypeNameMergesExtensionsOfOneType)
{
    settings.extensionNames = 1;
    typeNames = {{".htm", "HTML document"}, {".html", "HTML document"}, {".txt", "plain text"}};
    add("page.html", 1);
    add("notes.txt", 1);
    add("index.htm", 1);
    add("blob.xyz", 1);
    showPlain();

    EXPECT_EQ(BuildExtensionTree(state, context()), 4);
    EXPECT_EQ(outline(),
              QStringList({"/data", "  .HTML document", "    index.htm", "    page.html",
                           "  .plain text", "    notes.txt", "  .unknown", "    blob.xyz"}));
}

TEST_F(GroupedTrees, LiveTypeNamesComeFromTheExtensionNotFromTheFirstFile)
{
    settings.extensionNames = 1;
    // The group texts of a folder whose first file of each extension holds `first`.
    const auto groups = [this](const QByteArray& first, const QByteArray& second) {
        TempTree tree;
        tree.file("a.txt", first);
        tree.file("b.txt", second);
        tree.file("c.bin", first);
        tree.file("d.bin", second);
        header(tree.root() + "/");
        for (const char* name : {"a.txt", "b.txt", "c.bin", "d.bin"})
            add(QString::fromLatin1(name), QFileInfo(tree.path(name)).size());
        showPlain();
        EXPECT_EQ(BuildExtensionTree(state, TreeContext::live(settings)), 4);
        QStringList texts;
        for (const NodeTree::Id id : state.tree().children(state.tree().root()))
            texts << state.tree().node(id).text;
        return texts;
    };
    const QByteArray empty;
    const QByteArray words("some words\n");
    const QStringList emptyFirst = groups(empty, words);
    EXPECT_FALSE(emptyFirst.contains(".empty document")) << emptyFirst.join('|').toStdString();
    EXPECT_EQ(emptyFirst, groups(words, empty));
}

TEST_F(GroupedTrees, BasketRootAndFullPathKeys)
{
    header(QString());
    add("/b/x.txt", 10, {2005, 1, 5});
    add("/a/x.txt", 10, {2005, 1, 5});
    showPlain();
    state.setDateBasis(DateBasis::Modified);

    BuildDateTree(state, context());
    EXPECT_EQ(outline(),
              QStringList({"RadeZazeda", "  .05 Jan 2005", "    /a/x.txt", "    /b/x.txt"}));
    const auto root = state.tree().root();
    EXPECT_EQ(state.tree().image(root), QLatin1String("27"));
    EXPECT_EQ(state.setup().treeFolderPath, QString());
    EXPECT_NE(state.tree().find("/a/x.txt"), NodeTree::None);
    EXPECT_NE(state.tree().find(".05 Jan 2005"), NodeTree::None);
}

TEST_F(GroupedTrees, RootTextKeepsTheSlashOfTheTopFolderOnly)
{
    header(QStringLiteral("/"));
    add("f.txt", 1);
    showPlain();
    BuildSizeTree(state, context());
    EXPECT_EQ(state.tree().node(state.tree().root()).text, QLatin1String("/"));
    EXPECT_NE(state.tree().find("/f.txt"), NodeTree::None);
}

TEST_F(GroupedTrees, InnerEntriesAreFlattenedAndZipMembersSkipped)
{
    add("arc.zip", 1);
    add("/arc.zip/inner.zip", 1);
    add("/arc.zip/doc.txt", 1);
    showPlain();
    BuildExtensionTree(state, context());
    EXPECT_EQ(outline(),
              QStringList({"/data", "  .TXT", "    |arc.zip|doc.txt", "  .ZIP", "    arc.zip"}));
}

TEST_F(GroupedTrees, EmptyListBuildsNothing)
{
    FileList::Edit(state).tree().clear();
    EXPECT_EQ(BuildSizeTree(state, context()), -1);
    EXPECT_EQ(BuildExtensionTree(state, context()), -1);
    EXPECT_EQ(state.tree().count(), 0);
}

} // namespace

TEST_F(GroupedTrees, SizeTreePastFifteenDigitsSortsItsKeysAsText)
{
    // A length of sixteen digits no longer sorts as its number: its key begins "1", before
    // the fifteen-digit "9..." of a shorter length.
    add("small", 10);
    add("huge", 10'000'000'000'000'000);
    add("big", 999'999'999'999'999);
    showPlain();

    EXPECT_EQ(BuildSizeTree(state, context()), 3);
    QStringList files;
    for (const QString& line : outline()) {
        if (line.startsWith(QLatin1String("    ")))
            files << line.trimmed();
    }
    EXPECT_EQ(files, QStringList({"small", "huge", "big"}));
}

TEST(TreeImages, CachedImageIsTheOneEachNameWouldGetOnItsOwn)
{
    // Extensions as written in several cases, names without one or ending in a dot, more
    // extensions than the cache keeps as written, then the first ones again.
    QStringList names = {"a.txt",    "B.TXT", "c.Txt", "noext",         "trailing.",
                         "keep.bsk", "x.jpg", "y.JPG", "dir.zip/inner", "z.mp3"};
    for (int i = 0; i < 40; ++i)
        names << QStringLiteral("f%1.e%1").arg(i);
    names << "d.txt"
          << "E.TXT"
          << "more"
          << "again.jpg";
    for (const bool byExtension : {true, false}) {
        Settings settings;
        settings.tabColorSwap = byExtension;
        nodescheme::ImageCache images(settings);
        QSet<QString> seen;
        for (const QString& name : names) {
            const QString image = images.imageOf(name);
            EXPECT_EQ(image, nodescheme::fileImage(name, settings)) << name.toStdString();
            seen.insert(image);
        }
        EXPECT_EQ(seen.size() > 1, byExtension) << "the settings choose whether images differ";
    }
}
