#include "basket/Basket.h"

#include "basket/BasketCopy.h"
#include "basket/BasketFileList.h"
#include "basket/OverwritePairs.h"
#include "browse/ArchiveNodes.h"
#include "browse/FilterTabs.h"
#include "browse/FolderListing.h"
#include "browse/NodeClick.h"
#include "common/TempTree.h"
#include "common/ZipFixtures.h"
#include "platform/Prompts.h"
#include "shared/FileKind.h"
#include "shared/Settings.h"
#include "trees/TreeRebuild.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

constexpr Basket::Notice Silent = Basket::Notice::Silent;

/// A host that remembers what the basket told the view window.
struct RecordingHost : BasketHost {
    bool visible = false;
    QString folder;
    QString message;
    [[nodiscard]] QString currentFolderPath() const override { return folder; }
    [[nodiscard]] bool gridVisible() const override { return visible; }
    void setViewMessage(const QString& text) override { message = text; }
};

struct BasketFixture {
    ScriptedPrompts prompts;
    RecordingHost host;
    Grid grid;
    Basket basket{grid, prompts, host};

    bool add(const QString& name)
    {
        return basket.AddFileToBasket("/f/", name, NodeSource::File, {}, Silent);
    }
    QStringList names() const
    {
        QStringList all;
        for (int row = 1; row < grid.rows(); ++row)
            all << grid.textMatrix(row, Basket::NameColumn);
        return all;
    }
    QStringList row(int r) const
    {
        QStringList cells;
        for (int c = 0; c < grid.cols(); ++c)
            cells << grid.textMatrix(r, c);
        return cells;
    }
};

} // namespace

TEST(Basket, AddsRowsWithTheirFieldsAndSkipsAPathPresentInAnotherCase)
{
    TempTree t;
    BasketFixture f;
    const QString file = t.file("Report.TXT", 7);
    const QString folder = t.root() + "/";
    EXPECT_TRUE(f.basket.empty());
    EXPECT_TRUE(f.basket.AddFileToBasket(folder, "Report.TXT", NodeSource::File, {}, Silent));
    EXPECT_EQ(f.row(0), QStringList({"", "", "File", "Size"}));
    EXPECT_EQ(f.row(1), QStringList({file, "Report.TXT", file, "7"}));
    EXPECT_FALSE(f.basket.AddFileToBasket(folder, "report.txt", NodeSource::File, {}, Silent));
    EXPECT_FALSE(
        f.basket.AddFileToBasket(folder.toUpper(), "REPORT.TXT", NodeSource::File, {}, Silent));
    EXPECT_EQ(f.basket.entries(), 1);
    EXPECT_EQ(f.host.message, "RadeZazeda: 1 files");
    EXPECT_FALSE(f.basket.AddFileToBasket("/g/", "x", NodeSource::BasketGroup, {}, Silent))
        << "a basket group's file adds nothing";

    // An archive entry is shown as the listed folder followed by its reference.
    f.host.folder = "/list/";
    EXPECT_TRUE(f.basket.AddFileToBasket("/tmp/w/", "in.txt", NodeSource::ArchiveEntry,
                                         "|a.zip|in.txt", Silent));
    EXPECT_EQ(f.row(1).mid(2), QStringList({"/list/|a.zip|in.txt", "0"}))
        << "a missing file has size 0";

    // Deleting a row forgets its path, so it can come back.
    ASSERT_TRUE(f.basket.deleteRow(2));
    EXPECT_FALSE(f.basket.IsInBasket(file));
    EXPECT_TRUE(f.basket.AddFileToBasket(folder, "Report.TXT", NodeSource::File, {}, Silent));
}

TEST(Basket, InsertionRowArithmetic)
{
    BasketFixture f;
    f.add("a");
    f.add("b"); // appending to one entry puts the new one first
    EXPECT_EQ(f.names(), QStringList({"b", "a"}));
    f.add("c");
    EXPECT_EQ(f.names(), QStringList({"b", "a", "c"}));

    f.basket.insertionRow = 2; // a drop on row 2 lands at row 3
    f.add("d");
    f.add("e"); // several files after the same row end up reversed
    EXPECT_EQ(f.names(), QStringList({"b", "a", "e", "d", "c"}));
    f.basket.insertionRow = 1; // a drop on row 1 lands at row 1
    f.add("g");
    EXPECT_EQ(f.names().first(), "g");
    f.basket.insertionRow = 99; // past the end appends
    f.add("h");
    EXPECT_EQ(f.names().last(), "h");
}

TEST(Basket, MessageOnlyWhileHiddenAndAskedFor)
{
    BasketFixture f;
    f.add("a");
    EXPECT_TRUE(f.prompts.shown.isEmpty());
    f.basket.AddFileToBasket("/f/", "b", NodeSource::File, {}, Basket::Notice::Announce);
    ASSERT_EQ(f.prompts.shown.size(), 1);
    EXPECT_EQ(f.prompts.shown[0].text, "file added:\r\n/f/b\r\n1 files in the basket");
    EXPECT_EQ(f.prompts.shown[0].title, "Varnex");
    f.host.visible = true;
    f.basket.AddFileToBasket("/f/", "c", NodeSource::File, {}, Basket::Notice::Announce);
    EXPECT_EQ(f.prompts.shown.size(), 1);
}

TEST(Basket, RowMovesLandBelowTheDropRow)
{
    BasketFixture f;
    for (const char* n : {"a", "b", "c", "d"})
        f.basket.addLoadedEntry(QString("/f/") + n);
    ASSERT_EQ(f.names(), QStringList({"a", "b", "c", "d"}));
    EXPECT_TRUE(f.basket.moveRow(3, 1)); // c onto a
    EXPECT_EQ(f.names(), QStringList({"a", "c", "b", "d"}));
    EXPECT_TRUE(f.basket.moveRow(1, 3)); // a onto b
    EXPECT_EQ(f.names(), QStringList({"c", "b", "a", "d"}));
    EXPECT_EQ(f.grid.row(), 3) << "the moved row stays current";
    EXPECT_TRUE(f.basket.moveRow(4, 0)); // d onto the header: to row 1
    EXPECT_EQ(f.names(), QStringList({"d", "c", "b", "a"}));
    EXPECT_FALSE(f.basket.moveRow(2, 2)) << "onto itself nothing happens";
    EXPECT_FALSE(f.basket.moveRow(0, 2)) << "the header does not move";
    EXPECT_FALSE(f.basket.moveRow(2, 9));
    EXPECT_TRUE(f.basket.moveRow(1, 4)); // the top row onto the last
    EXPECT_EQ(f.names(), QStringList({"c", "b", "a", "d"}));
    EXPECT_TRUE(f.basket.IsInBasket("/F/D")) << "moves keep the index";
}

TEST(Basket, DeleteClearSortAndSummary)
{
    TempTree t;
    BasketFixture f;
    f.basket.addLoadedEntry(t.file("b.txt", 2048));
    f.basket.addLoadedEntry(t.file("a.txt", 1024));
    EXPECT_EQ(f.basket.summaryText(), " 2 files, 3 Kb");
    f.basket.sortByHeader(2);
    EXPECT_EQ(f.grid.tag, "1");
    EXPECT_EQ(f.names(), QStringList({"a.txt", "b.txt"}));
    f.basket.sortByHeader(3);
    EXPECT_EQ(f.grid.tag, "2");
    EXPECT_EQ(f.names(), QStringList({"b.txt", "a.txt"}));

    EXPECT_TRUE(f.basket.deleteRow(1));
    EXPECT_EQ(f.host.message, "RadeZazeda: 1 files");
    EXPECT_TRUE(f.basket.deleteRow(1)) << "the only entry resets the grid";
    EXPECT_TRUE(f.basket.empty());
    EXPECT_EQ(f.host.message, "");
    EXPECT_FALSE(f.basket.deleteRow(1));

    EXPECT_FALSE(f.basket.clearAsked()) << "nothing asked for an empty basket";
    EXPECT_TRUE(f.prompts.shown.isEmpty());
    f.basket.addLoadedEntry("/x");
    EXPECT_FALSE(f.basket.clearAsked());
    EXPECT_EQ(f.prompts.shown.last().text, "clear RadeZazeda?");
    EXPECT_EQ(f.prompts.shown.last().title, "RadeZazeda");
    f.prompts.answers = {Prompts::Answer::Yes};
    EXPECT_TRUE(f.basket.clearAsked());
    EXPECT_TRUE(f.basket.empty());
    EXPECT_FALSE(f.basket.IsInBasket("/x"));
}

TEST(BasketFolders, AddFolderCountsAndSaysWhenNothingIsNew)
{
    TempTree t;
    BasketFixture f;
    Settings settings;
    t.file("d/b.txt", 1);
    t.file("d/A.txt", 1);
    t.file("d/sub/deep.txt", 1);
    EXPECT_EQ(AddFolderToBasket(f.basket, t.path("d"), settings), 2);
    EXPECT_EQ(f.prompts.shown.last().text, " 2 files added to RadeZazeda");
    EXPECT_EQ(f.prompts.shown.last().title, "RadeZazeda");
    EXPECT_EQ(f.names(), QStringList({"b.txt", "A.txt"})) << "A first, then b before it";

    EXPECT_EQ(AddFolderToBasket(f.basket, t.path("d") + "/", settings), 0);
    EXPECT_EQ(f.prompts.shown.last().text,
              "no files added to RadeZazeda\r\nDirectory is empty, or files already exist in "
              "the basket");
    EXPECT_EQ(f.host.message, "RadeZazeda: 2 files");
}

TEST(BasketFolders, ShowInFileListFiltersAndFallsBackToThePlaceholder)
{
    BasketFixture f;
    Settings settings;
    FileList state;
    f.basket.addLoadedEntry("/a/one.txt");
    f.basket.addLoadedEntry("/b/two.doc");
    EXPECT_EQ(ShowBasketInFileList(f.basket, state, "*", settings), 2);
    const NodeTree& tree = state.tree();
    EXPECT_EQ(tree.node(tree.root()).text, "RadeZazeda");
    ASSERT_EQ(tree.children(tree.root()).size(), 2u);
    EXPECT_EQ(tree.key(tree.children(tree.root())[1]), "/b/two.doc");
    EXPECT_EQ(state.listedNames().list(0), "RadeZazeda");
    EXPECT_EQ(state.listedNames().ListCount(), 3);
    EXPECT_FALSE(state.setup().showsPlaceholder);
    EXPECT_EQ(state.setup().shownSort.tip(), "Not sorted");

    EXPECT_EQ(ShowBasketInFileList(f.basket, state, "*.doc", settings), 1);
    EXPECT_EQ(tree.node(tree.children(tree.root())[0]).text, "/b/two.doc");

    state.setFilterTag("Picture");
    EXPECT_EQ(ShowBasketInFileList(f.basket, state, "*.png;*.jpg", settings), 0);
    EXPECT_TRUE(state.setup().showsPlaceholder);
    ASSERT_EQ(tree.children(tree.root()).size(), 1u);
    EXPECT_EQ(tree.node(tree.children(tree.root())[0]).text, "no [Picture] files");
    EXPECT_EQ(tree.node(tree.root()).text, "RadeZazeda");
    // The empty basket's image on the root, the missing file's on the line.
    EXPECT_EQ(tree.image(tree.root()), "2");
    EXPECT_EQ(tree.image(tree.children(tree.root())[0]), "28");
    EXPECT_TRUE(state.contents().readNames.sharesItemsWith(state.listedNames()));
}

TEST(BasketFolders, AddNodeTakesGroupsOrTheRootsChildren)
{
    BasketFixture f;
    FileList state;
    FileList::Edit treeEdit(state);
    NodeTree& tree = treeEdit.tree();
    const NodeTree::Id root = AddFileListRoot(tree, "/data/");
    tree.add(root, "/data/x.txt", "x.txt");
    tree.add(root, "/data/y.txt", "y.txt");
    EXPECT_EQ(AddNodeToBasket(f.basket, state, root, "/data/"), 2);
    EXPECT_TRUE(f.basket.IsInBasket("/data/x.txt"));
    EXPECT_EQ(f.prompts.shown.last().text, " 2 files added to RadeZazeda");

    // A grouped tree over the basket: entries are full paths already.
    BasketFixture g;
    state.setTreeType(TreeType::Extension);
    const NodeTree::Id broot = AddFileListRoot(tree, "RadeZazeda");
    const NodeTree::Id group = tree.add(broot, "G1", ".TXT");
    tree.add(group, "k1", "/p/a.txt");
    tree.add(group, "k2", "/p/.hidden.txt");
    const NodeTree::Id other = tree.add(broot, "G2", ".DOC");
    const NodeTree::Id leaf = tree.add(other, "k3", "/q/b.doc");
    EXPECT_EQ(AddNodeToBasket(g.basket, state, leaf, ""), 0) << "a leaf adds nothing";
    EXPECT_TRUE(g.prompts.shown.isEmpty());
    EXPECT_EQ(AddNodeToBasket(g.basket, state, group, ""), 2);
    EXPECT_EQ(AddNodeToBasket(g.basket, state, broot, ""), 1)
        << "the root skips dot names and what is there already";
    EXPECT_TRUE(g.basket.IsInBasket("/q/b.doc"));
}

TEST(BasketFolders, SelectedZipEntriesAreExtractedAndCopyByteForByte)
{
    TempTree t;
    const QByteArray first = "first entry\r\n\x01\x02 bytes";
    const QByteArray second = QByteArray(70000, 'z') + "end";
    t.file("src/inner1.txt", first);
    t.file("src/sub/inner2.txt", second);
    if (!ZipWithTool(t.path("src"), t.path("list/docs.zip"), {"inner1.txt", "sub"}))
        GTEST_SKIP() << "Debian's zip is missing (scripts/setup.sh test installs it)";
    Settings settings;
    settings.multiSelect = 1;
    settings.tempFolder = t.folder("temp") + "/";
    settings.workFolder = t.folder("temp/Lumara-run001") + "/";
    FileList state;
    ScriptedPrompts listPrompts;
    OpenFolder(state, settings, t.path("list"), "*.*", GroupedTrees());
    const QString zipPath = t.path("list/docs.zip");
    const NodeTree::Id zip = state.tree().find(zipPath);
    ASSERT_GT(ExpandArchiveNode(state, settings, zip, zipPath, listPrompts), 0);
    for (const char* entry : {"/inner1.txt", "/sub/inner2.txt"})
        ASSERT_TRUE(ToggleFileMark(state, settings, state.tree().find(zipPath + entry)));

    BasketFixture f;
    f.host.folder = t.path("list") + "/";
    EXPECT_EQ(AddSelectedToBasket(f.basket, state, f.host.folder, settings), 2);
    ASSERT_EQ(f.basket.entries(), 2);
    QStringList sizes;
    for (int row = 1; row <= 2; ++row)
        sizes << f.grid.textMatrix(row, Basket::SizeColumn);
    sizes.sort();
    EXPECT_EQ(sizes, (QStringList{QString::number(first.size()), QString::number(second.size())}));

    OverwritePairs pairs;
    CopyContext context{f.prompts, pairs};
    const CopyOutcome copied = CopyBasketRows(f.basket, t.folder("out"), 1, 2, context);
    EXPECT_EQ(copied.copied, 2) << f.prompts.shownTexts().join(" | ").toStdString();
    QFile one(t.path("out/inner1.txt"));
    QFile two(t.path("out/inner2.txt"));
    ASSERT_TRUE(one.open(QIODevice::ReadOnly));
    ASSERT_TRUE(two.open(QIODevice::ReadOnly));
    EXPECT_EQ(one.readAll(), first);
    EXPECT_EQ(two.readAll(), second);
}

TEST(BasketFolders, ShownEntriesWhoseFileIsGoneHaveTheMissingImage)
{
    TempTree t;
    BasketFixture f;
    Settings settings;
    FileList state;
    const QString here = t.file("here.txt", 5);
    const QString gone = t.file("gone.txt", 5);
    f.basket.addLoadedEntry(here);
    f.basket.addLoadedEntry(gone);
    f.basket.addLoadedEntry(t.path("never.txt"));
    ASSERT_TRUE(QFile::remove(gone));
    ASSERT_EQ(ShowBasketInFileList(f.basket, state, "*", settings), 3);
    const NodeTree& tree = state.tree();
    const auto& rows = tree.children(tree.root());
    EXPECT_EQ(tree.image(rows[0]), QString::number(FileListIconIndex(".TXT", settings)));
    EXPECT_NE(tree.image(rows[0]), "28");
    EXPECT_EQ(tree.image(rows[1]), "28") << "removed after it was added";
    EXPECT_EQ(tree.image(rows[2]), "28") << "missing when added";
}

TEST(BasketFolders, FilterTabsOverTheListedBasketCountOnlyWhatTheyKeep)
{
    TempTree t;
    BasketFixture f;
    Settings settings;
    FileList state;
    ScriptedPrompts prompts;
    FilterTabs tabs(settings, state, GroupedTrees(), nullptr, prompts);
    tabs.setupTabs();
    for (const char* name : {"one.jpg", "two.jpg", "three.jpg", "song.mp3"})
        f.basket.addLoadedEntry(t.file(QString("pics/") + name, 10));
    ASSERT_EQ(ShowBasketInFileList(f.basket, state, "*", settings), 4);

    constexpr int Picture = 1, Sound = 4;
    EXPECT_EQ(tabs.SelectCategory(Sound), 1);
    EXPECT_EQ(state.setup().statusCaption, "1 [Sound] files");
    EXPECT_EQ(state.listedNames().texts().mid(1), QStringList({t.path("pics/song.mp3")}));
    EXPECT_EQ(tabs.SelectCategory(Picture), 3) << "narrows the whole basket again";
    EXPECT_EQ(state.setup().statusCaption, "3 [Picture] files");
    EXPECT_EQ(tabs.SelectCategory(tabs.allTab()), 4);

    // A tab that keeps nothing shows the placeholder and counts nothing.
    f.basket.ResetBasketGrid();
    f.basket.addLoadedEntry(t.path("pics/one.jpg"));
    ASSERT_EQ(ShowBasketInFileList(f.basket, state, "*", settings), 1);
    EXPECT_EQ(tabs.SelectCategory(Sound), 0);
    EXPECT_FALSE(state.setup().statusCaption.startsWith("1"))
        << state.setup().statusCaption.toStdString();
}
