#include "trees/Statistics.h"

#include "browse/FolderListing.h"
#include "browse/QtPrinters.h"
#include "common/TempTree.h"
#include "controls/Grid.h"
#include "platform/FileNames.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "shared/SizeSum.h"
#include "trees/PlainSort.h"
#include "trees/TreeContext.h"
#include "trees/TreeRebuild.h"

#include <gtest/gtest.h>

namespace {

QStringList row(const Grid& g, int r)
{
    QStringList cells;
    for (int c = 0; c < g.cols(); ++c)
        cells << g.textMatrix(r, c);
    return cells;
}

struct StatsFixture : ::testing::Test {
    TempTree tree;
    Settings settings;
    FileList state;
    Grid grid;

    void list(TreeType treeType)
    {
        settings.extensionNames = 0; // groups by extension, not by type name
        state.setTreeType(treeType);
        ASSERT_GT(ListFolder(state, settings, tree.root(), "*.*"), 0);
        RefreshFileList(state, settings, GroupedTrees());
    }
};

} // namespace

TEST(PercentText, AlwaysShowsThePoint)
{
    const std::pair<double, const char*> cases[] = {
        {25, "25. "},     {40, "40. "}, {100, "100. "}, {33.3333, "33.3 "},
        {66.66, "66.7 "}, {0, ". "},    {0.04, ". "},   {0.5, ".5 "},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(PercentText(value), text) << value;
}

TEST_F(StatsFixture, ExtensionStatisticsAggregateAndPercentages)
{
    tree.file("a.txt", 100);
    tree.file("b.txt", 200);
    tree.file("c.txt", 300);
    tree.file("d.doc", 400);
    list(TreeType::Extension);
    const SizeTableResult r = ShowSizeTable(state, grid, state.tree().root());
    ASSERT_TRUE(r.shown);
    EXPECT_TRUE(r.statistics);
    ASSERT_EQ(grid.rows(), 3);
    EXPECT_EQ(row(grid, 0),
              QStringList({"Count", "Ext", "Total", "Min", "Max", "%Count", "%Size"}));
    EXPECT_EQ(grid.colAlignment(1), Grid::Alignment::Right);
    EXPECT_EQ(grid.colWidth(1), 650);
    EXPECT_EQ(row(grid, 1), QStringList({"1", "DOC", "400", "400", "400", "25. ", "40. "}));
    EXPECT_EQ(row(grid, 2), QStringList({"3", "TXT", "600", "100", "300", "75. ", "60. "}));
    EXPECT_EQ(r.grandTotal, 1000);
    EXPECT_EQ(r.viewMessage, "FileSizes: " + tree.root() + "/");
    EXPECT_EQ(r.gridTag, "[" + tree.root() + "/]");
}

TEST_F(StatsFixture, AdjacentGroupsOfOneNameShareTheirRow)
{
    tree.file("a.txt", 100);
    tree.file("b.txt", 50);
    tree.file("d.doc", 400);
    list(TreeType::Extension);
    // A group whose text differs only in its first character has the same name: after
    // ".TXT" it adds to that row; an empty group between them changes nothing.
    const NodeTree::Id root = state.tree().root();
    {
        FileList::Edit edit(state);
        edit.tree().add(root, "empty", "xTXT");
        const NodeTree::Id twin = edit.tree().add(root, "twin", "_TXT");
        edit.tree().add(twin, "twin-a", "a.txt");
        const NodeTree::Id after = edit.tree().add(root, "after", "_DOC");
        edit.tree().add(after, "after-d", "d.doc");
    }
    ShowSizeTable(state, grid, root);
    ASSERT_EQ(grid.rows(), 4);
    EXPECT_EQ(row(grid, 1), QStringList({"1", "DOC", "400", "400", "400", "20. ", "38.1 "}));
    EXPECT_EQ(row(grid, 2), QStringList({"3", "TXT", "250", "50", "100", "60. ", "23.8 "}));
    EXPECT_EQ(row(grid, 3), QStringList({"1", "DOC", "400", "400", "400", "20. ", "38.1 "}));
}

TEST_F(StatsFixture, EntriesUnderArchivesAndEmptyFilesCountRight)
{
    tree.file("e1.dat", 0);
    tree.file("e2.dat", 0);
    list(TreeType::Extension);
    // an archive's inner entry hangs under the group with a "|" text: never counted
    const NodeTree::Id group = state.tree().children(state.tree().root()).front();
    FileList::Edit(state).tree().add(group, "inner", "|inner.txt");
    ShowSizeTable(state, grid, state.tree().root());
    ASSERT_EQ(grid.rows(), 2);
    EXPECT_EQ(row(grid, 1), QStringList({"2", "DAT", "0", "0", "0", "100. ", ". "}));
}

TEST_F(StatsFixture, FileTableOfRootAndOfAGroup)
{
    tree.file("a.txt", 100);
    tree.file("b.doc", 7);
    list(TreeType::PlainList);
    SizeTableResult r = ShowSizeTable(state, grid, state.tree().root());
    EXPECT_FALSE(r.statistics);
    EXPECT_EQ(row(grid, 0), QStringList({"#", "Name", "Size"}));
    EXPECT_EQ(grid.colWidth(1), 2000);
    EXPECT_EQ(grid.colAlignment(1), Grid::Alignment::Left);
    EXPECT_EQ(row(grid, 1), QStringList({"1", "a.txt", "100"}));
    EXPECT_EQ(row(grid, 2), QStringList({"2", "b.doc", "7"}));

    list(TreeType::Extension); // a group node: its files with their real lengths
    const NodeTree::Id txt = state.tree().children(state.tree().root()).back();
    r = ShowSizeTable(state, grid, txt);
    EXPECT_FALSE(r.statistics);
    ASSERT_EQ(grid.rows(), 2);
    EXPECT_EQ(row(grid, 1), QStringList({"1", "a.txt", "100"}));
}

/// The rows a size table hands out, as the grid would take them.
struct RowTexts {
    QStringList texts;
    SizeTableRows take()
    {
        return [this](const Grid& header, const SizeTableRow& r) {
            // The header is in place when a row arrives, and the rows stay out of the grid.
            EXPECT_EQ(row(header, 0), QStringList({"#", "Name", "Size"}));
            EXPECT_EQ(header.rows(), 1);
            texts << SizeTableRowText(r);
        };
    }
};

TEST_F(StatsFixture, FileRowsHandedOutOneByOneAfterTheHeader)
{
    tree.file("a.txt", 100);
    tree.file("b.doc", 7);
    list(TreeType::PlainList);
    RowTexts rows;
    SizeTableResult r = ShowSizeTable(state, grid, state.tree().root(), rows.take());
    EXPECT_TRUE(r.shown);
    EXPECT_EQ(r.grandTotal, 107);
    EXPECT_EQ(rows.texts, QStringList({"1\ta.txt\t100", "2\tb.doc\t7"}));

    // Group statistics are a few rows: they still go to the grid.
    rows.texts.clear();
    list(TreeType::Extension);
    r = ShowSizeTable(state, grid, state.tree().root(), rows.take());
    EXPECT_TRUE(r.statistics);
    EXPECT_TRUE(rows.texts.isEmpty());
    EXPECT_EQ(grid.rows(), 3);
}

TEST_F(StatsFixture, PlainListWithoutNodesGivesTheRowsOfItsNodes)
{
    settings.showSystemHidden = true;
    const std::pair<QString, qint64> files[] = {
        {"Twin.txt", 1},
        {"twin.TXT", 22},
        {"noext", 333},
        {".dotfirst", 4},
        {"dotlast.", 55},
        {"tab\there", 6},
        {"a b ", 7},
        {"\xc3\xa9t\xc3\xa9.doc", 8},
        {platform::decodeFileName("caf\xe9.txt"), 9}, // Latin-1, not UTF-8
    };
    for (const auto& [name, size] : files)
        tree.file(name, size);
    list(TreeType::PlainList);
    RowTexts fromNodes, fromNames;
    const SizeTableResult byNodes =
        ShowSizeTable(state, grid, state.tree().root(), fromNodes.take());
    const SizeTableResult byNames = PlainListSizeTable(state, grid, fromNames.take());
    ASSERT_EQ(fromNodes.texts.size(), std::size(files));
    EXPECT_EQ(fromNames.texts, fromNodes.texts);
    EXPECT_EQ(byNames.grandTotal, byNodes.grandTotal);
    EXPECT_EQ(byNames.viewMessage, byNodes.viewMessage);
    EXPECT_EQ(byNames.gridTag, byNodes.gridTag);

    // Sorted by size the list leaves the read's order: each row keeps its own length.
    state.setPlainSortKey(SortKey::Size);
    PlainSort(state, TreeContext::live(settings), SortDirection::Descending);
    fromNodes.texts.clear();
    ShowSizeTable(state, grid, state.tree().root(), fromNodes.take());
    ASSERT_EQ(fromNodes.texts.size(), std::size(files));
    EXPECT_EQ(fromNodes.texts.first(), "1\tnoext\t333");
    EXPECT_EQ(fromNodes.texts.last(), QString::number(std::size(files)) + "\tTwin.txt\t1");
}

TEST_F(StatsFixture, RootAloneShowsNothing)
{
    FileList::Edit(state).tree().add(NodeTree::None, "R", "/nowhere");
    grid.reset(2);
    EXPECT_FALSE(ShowSizeTable(state, grid, state.tree().root()).shown);
    EXPECT_EQ(grid.cols(), 2); // untouched
}

TEST_F(StatsFixture, FolderSizeTableRowsStopWhereAskedAndAnEmptyFolderSaysSo)
{
    tree.file("one", 1);
    tree.file("two", 22);
    tree.file("three", 333);
    tree.folder("sub");
    ScriptedPrompts prompts;
    SizeTableResult r = FolderSizeTable(tree.root() + "/", settings, grid, prompts);
    ASSERT_TRUE(r.shown);
    EXPECT_EQ(r.viewMessage, tree.root());
    EXPECT_EQ(grid.colWidth(0), 400);
    ASSERT_EQ(grid.rows(), 4); // folders are not files
    QStringList names;
    qint64 total = 0;
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(grid.textMatrix(i, 0), QString::number(i));
        names << grid.textMatrix(i, 1);
        total += grid.textMatrix(i, 2).toLongLong();
    }
    names.sort();
    EXPECT_EQ(names, QStringList({"one", "three", "two"}));
    EXPECT_EQ(total, 356);
    EXPECT_EQ(r.grandTotal, total);

    // Stopped before the third row: two rows, and a total that is theirs.
    QString error;
    const std::vector<platform::FileEntry> files = platform::listFiles(tree.root(), false, &error);
    int asked = 0;
    const FolderSizeRows two = FolderSizeRowTexts(files, [&asked] { return ++asked == 3; });
    r = ShowFolderSizeRows(tree.root() + "/", two, error, grid, prompts);
    ASSERT_EQ(grid.rows(), 3);
    EXPECT_EQ(grid.textMatrix(2, 0), "2");
    EXPECT_EQ(r.grandTotal,
              grid.textMatrix(1, 2).toLongLong() + grid.textMatrix(2, 2).toLongLong());
    EXPECT_TRUE(prompts.shown.isEmpty());

    const QString empty = tree.folder("empty") + "/";
    r = FolderSizeTable(empty, settings, grid, prompts);
    EXPECT_FALSE(r.shown);
    EXPECT_EQ(prompts.shownTexts(), QStringList({"no files found"}));
}

TEST_F(StatsFixture, SizesBeyondFourGigabytesAddUpAndAnUnreadableFolderSaysWhy)
{
    tree.sparseFile("disk1.img", qint64(5) << 30);
    tree.sparseFile("disk2.img", qint64(6) << 30);
    tree.file("note.txt", 10);
    list(TreeType::Extension);
    const SizeTableResult r = ShowSizeTable(state, grid, state.tree().root());
    EXPECT_EQ(r.grandTotal, (qint64(11) << 30) + 10);
    EXPECT_EQ(row(grid, 1), QStringList({"2", "IMG", "11811160064", "5368709120", "6442450944",
                                         "66.7 ", "100. "}));

    ScriptedPrompts prompts;
    const SizeTableResult missing =
        FolderSizeTable(tree.path("gone") + "/", settings, grid, prompts);
    EXPECT_FALSE(missing.shown);
    EXPECT_EQ(prompts.shownTexts(),
              QStringList{"cannot read " + tree.path("gone") + "/: No such file or directory"});
}

TEST(SizeSum, ATotalBeyondWhatAQint64HoldsStaysAtTheTop)
{
    const qint64 fiveExbibytes = qint64(5) << 60;
    EXPECT_EQ(AddSize(fiveExbibytes, fiveExbibytes), std::numeric_limits<qint64>::max());
    EXPECT_EQ(AddSize(AddSize(0, fiveExbibytes), 1), fiveExbibytes + 1);
    EXPECT_EQ(AddSize(std::numeric_limits<qint64>::max(), 1), std::numeric_limits<qint64>::max());
}
